// Private: conversions between wide strings and UTF-8 / UTF-16 bytes, strict where input is
// untrusted.
#pragma once

#include <cstddef>
#include <string>

// UTF-8 bytes of a wide string. Code points that are not Unicode scalar values (lone
// surrogates, values above U+10FFFF) become U+FFFD. Never fails.
std::string TamWideToUtf8(const std::wstring& text);

// Wide string of UTF-8 bytes. Malformed sequences become U+FFFD. Never fails.
std::wstring TamUtf8ToWide(const std::string& text);

// Strict decoding of UTF-8 bytes: false (and `out` left empty) on any overlong form,
// surrogate, value above U+10FFFF, truncated sequence or NUL character.
bool TamDecodeUtf8(const char* data, std::size_t size, std::wstring& out);

// Strict decoding of UTF-16 bytes in the given byte order into UTF-8: false (and `out` left
// empty) on an odd byte count, an unpaired surrogate or a NUL character.
bool TamDecodeUtf16ToUtf8(const unsigned char* data, std::size_t size, bool bigEndian,
                          std::string& out);

// True when the bytes are well-formed UTF-8 without NUL characters (the rules of TamDecodeUtf8).
bool TamIsValidUtf8(const char* data, std::size_t size);
