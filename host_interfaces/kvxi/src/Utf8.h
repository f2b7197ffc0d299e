// UTF-8 conversion of wide strings (wchar_t holds UTF-32 on Linux).
#pragma once

#include <string>

namespace tam {

// Encodes a wide string as UTF-8; code points that are not valid become U+FFFD.
std::string WideToUtf8(const std::wstring& text);
// Decodes UTF-8 into a wide string; invalid bytes become U+FFFD.
std::wstring Utf8ToWide(const std::string& text);

}  // namespace tam
