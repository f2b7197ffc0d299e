// Private: strict decoding of the bytes an XML document may come in.
#pragma once

#include <cstddef>
#include <string>

// Strict decoding of UTF-16 bytes in the given byte order into UTF-8: false (and `out` left
// empty) on an odd byte count, an unpaired surrogate or a NUL character.
bool TamDecodeUtf16ToUtf8(const unsigned char* data, std::size_t size, bool bigEndian,
                          std::string& out);

// True when the bytes are well-formed UTF-8 without NUL characters.
bool TamIsValidUtf8(const char* data, std::size_t size);
