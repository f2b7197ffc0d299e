// Wide printf-style formatting with the Windows meaning of %s and %c.
#pragma once

#include <cstdarg>
#include <string>

namespace tam {

// Formats like swprintf, where %s and %c take wide text/characters (as in the Windows runtime)
// and %S and %C narrow ones; %ls, %hs and the other conversions keep their C meaning.
// Returns an empty string for a null format or when formatting fails.
std::wstring FormatWide(const wchar_t* format, ...);
// The same with a va_list.
std::wstring FormatWideV(const wchar_t* format, va_list args);
// The format with %s/%c/%S/%C rewritten for the C library's wide printf.
std::wstring PortableWideFormat(const wchar_t* format);

}  // namespace tam
