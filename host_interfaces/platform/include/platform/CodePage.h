// Narrow/wide text conversion: the process locale stands for the ANSI code page.
#pragma once

#include <platform/WinTypes.h>

#include <cstddef>
#include <string>

// Converts srcLen bytes of src (-1: up to and including the terminating 0) from code page
// codePage (CP_ACP: the process locale, UTF-8 when the locale is the plain C one; CP_UTF8) into
// dst. With dstLen 0 only the needed length is returned. Returns the characters written
// (or needed), 0 on invalid bytes, an unknown code page, null src or a too small dst.
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* src, int srcLen, wchar_t* dst,
                        int dstLen);

// Converts srcLen wide characters of src (-1: through the terminating 0) into codePage bytes.
// With dstLen 0 only the needed length is returned. Returns the bytes written (or needed), 0 on
// characters the code page cannot hold (surrogates, values above U+10FFFF), null src or a too
// small dst. defaultChar is ignored; usedDefault, when given, is set to FALSE.
int WideCharToMultiByte(UINT codePage, DWORD flags, const wchar_t* src, int srcLen, char* dst,
                        int dstLen, const char* defaultChar, BOOL* usedDefault);

namespace tam {

// Narrow text in the ANSI code page to wide; false (out emptied) on invalid bytes.
bool NarrowToWide(const std::string& narrow, std::wstring& out);
// Wide text to the ANSI code page; false (out emptied) when a character cannot be converted.
bool WideToNarrow(const std::wstring& wide, std::string& out);
// UTF-8 to wide and back, independent of the locale; false (out emptied) on invalid input:
// stray, truncated or overlong sequences, surrogates, values above U+10FFFF.
bool Utf8ToWide(const std::string& utf8, std::wstring& out);
bool WideToUtf8(const std::wstring& wide, std::string& out);
// The same for text that must get through whatever it holds: each byte that starts no valid
// sequence decodes to U+FFFD; surrogates and values above U+10FFFF encode as U+FFFD.
std::wstring Utf8ToWideReplacing(const std::string& utf8);
std::string WideToUtf8Replacing(const std::wstring& wide);
// Appends one code point as UTF-8 (U+FFFD for a surrogate or a value above U+10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);
// True when size bytes at data are UTF-8 that Utf8ToWide accepts (true for none).
bool IsUtf8(const char* data, std::size_t size);
// Convenience forms that return an empty string on failure.
std::wstring ToWide(const std::string& narrow);
std::string ToNarrow(const std::wstring& wide);

}  // namespace tam
