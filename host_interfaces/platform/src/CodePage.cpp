// Narrow/wide conversion. The ANSI code page of this platform is the process locale's encoding;
// under the plain C locale (ASCII only in the C library) it is taken to be UTF-8, the encoding of
// every file name and text this platform exchanges.
#include <platform/CodePage.h>

#include <langinfo.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>

namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

constexpr char32_t kReplacement = 0xFFFD;

// Reads one UTF-8 sequence at s[i]: false for a stray continuation byte, a truncated or overlong
// sequence, a surrogate or a value above U+10FFFF; else c holds the code point and i is past it.
bool NextUtf8CodePoint(const unsigned char* s, size_t len, size_t& i, char32_t& c) {
    const unsigned char lead = s[i];
    if (lead < 0x80) {
        c = lead;
        ++i;
        return true;
    }
    size_t extra;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
        return false;
    }
    if (len - i <= extra)
        return false;
    for (size_t k = 1; k <= extra; ++k) {
        if ((s[i + k] & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (s[i + k] & 0x3F);
    }
    if (c < minimum || c > kMaxCodePoint || IsSurrogate(c))
        return false;
    i += extra + 1;
    return true;
}

// Decodes UTF-8; a malformed sequence fails the whole text, or with replace becomes one U+FFFD
// for its first byte, decoding going on at the next byte.
bool DecodeUtf8(const char* src, size_t len, std::wstring& out, bool replace = false) {
    const auto* s = reinterpret_cast<const unsigned char*>(src);
    out.reserve(out.size() + len);
    size_t i = 0;
    while (i < len) {
        char32_t c = 0;
        if (!NextUtf8CodePoint(s, len, i, c)) {
            if (!replace)
                return false;
            c = kReplacement;
            ++i;
        }
        out.push_back(static_cast<wchar_t>(c));
    }
    return true;
}

void AppendEncodedUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Encodes as UTF-8; a surrogate or a value above U+10FFFF fails the whole text, or with replace
// becomes U+FFFD.
bool EncodeUtf8(const wchar_t* src, size_t len, std::string& out, bool replace = false) {
    out.reserve(out.size() + len);
    for (size_t i = 0; i < len; ++i) {
        auto c = static_cast<char32_t>(src[i]);
        if (c > kMaxCodePoint || IsSurrogate(c)) {
            if (!replace)
                return false;
            c = kReplacement;
        }
        AppendEncodedUtf8(out, c);
    }
    return true;
}

// True when the locale's own conversion should be used instead of UTF-8.
bool LocaleIsOtherEncoding() {
    const char* codeset = nl_langinfo(CODESET);
    if (codeset == nullptr)
        return false;
    return std::strcmp(codeset, "UTF-8") != 0 && std::strcmp(codeset, "ANSI_X3.4-1968") != 0;
}

bool DecodeLocale(const char* src, size_t len, std::wstring& out) {
    std::mbstate_t state{};
    size_t i = 0;
    while (i < len) {
        wchar_t wc = 0;
        const size_t used = std::mbrtowc(&wc, src + i, len - i, &state);
        if (used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2))
            return false;
        out.push_back(wc);
        i += used == 0 ? 1 : used;  // 0 means an embedded null byte was read
    }
    return true;
}

bool EncodeLocale(const wchar_t* src, size_t len, std::string& out) {
    std::mbstate_t state{};
    char buffer[MB_LEN_MAX];
    for (size_t i = 0; i < len; ++i) {
        const size_t used = std::wcrtomb(buffer, src[i], &state);
        if (used == static_cast<size_t>(-1))
            return false;
        out.append(buffer, used);
    }
    return true;
}

bool Decode(UINT codePage, const char* src, size_t len, std::wstring& out) {
    if (codePage == CP_UTF8)
        return DecodeUtf8(src, len, out);
    if (codePage != CP_ACP)
        return false;
    return LocaleIsOtherEncoding() ? DecodeLocale(src, len, out) : DecodeUtf8(src, len, out);
}

bool Encode(UINT codePage, const wchar_t* src, size_t len, std::string& out) {
    if (codePage == CP_UTF8)
        return EncodeUtf8(src, len, out);
    if (codePage != CP_ACP)
        return false;
    return LocaleIsOtherEncoding() ? EncodeLocale(src, len, out) : EncodeUtf8(src, len, out);
}

// Copies a converted text into a caller's buffer the way the Windows functions do.
template <class Char, class Text>
int Deliver(const Text& text, Char* dst, int dstLen) {
    if (text.size() > static_cast<size_t>(0x7FFFFFFF))
        return 0;
    const int needed = static_cast<int>(text.size());
    if (dstLen == 0)
        return needed;
    if (dst == nullptr || dstLen < needed)
        return 0;
    std::copy(text.begin(), text.end(), dst);
    return needed;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD, const char* src, int srcLen, wchar_t* dst,
                        int dstLen) {
    if (src == nullptr || srcLen == 0 || srcLen < -1 || dstLen < 0)
        return 0;
    const size_t len = srcLen == -1 ? std::strlen(src) + 1 : static_cast<size_t>(srcLen);
    std::wstring text;
    if (!Decode(codePage, src, len, text))
        return 0;
    return Deliver(text, dst, dstLen);
}

int WideCharToMultiByte(UINT codePage, DWORD, const wchar_t* src, int srcLen, char* dst, int dstLen,
                        const char*, BOOL* usedDefault) {
    if (usedDefault)
        *usedDefault = FALSE;
    if (src == nullptr || srcLen == 0 || srcLen < -1 || dstLen < 0)
        return 0;
    const size_t len = srcLen == -1 ? std::wcslen(src) + 1 : static_cast<size_t>(srcLen);
    std::string text;
    if (!Encode(codePage, src, len, text))
        return 0;
    return Deliver(text, dst, dstLen);
}

namespace tam {

bool NarrowToWide(const std::string& narrow, std::wstring& out) {
    out.clear();
    if (Decode(CP_ACP, narrow.data(), narrow.size(), out))
        return true;
    out.clear();
    return false;
}

bool WideToNarrow(const std::wstring& wide, std::string& out) {
    out.clear();
    if (Encode(CP_ACP, wide.data(), wide.size(), out))
        return true;
    out.clear();
    return false;
}

bool Utf8ToWide(const std::string& utf8, std::wstring& out) {
    out.clear();
    if (DecodeUtf8(utf8.data(), utf8.size(), out))
        return true;
    out.clear();
    return false;
}

bool WideToUtf8(const std::wstring& wide, std::string& out) {
    out.clear();
    if (EncodeUtf8(wide.data(), wide.size(), out))
        return true;
    out.clear();
    return false;
}

std::wstring Utf8ToWideReplacing(const std::string& utf8) {
    std::wstring out;
    DecodeUtf8(utf8.data(), utf8.size(), out, true);
    return out;
}

std::string WideToUtf8Replacing(const std::wstring& wide) {
    std::string out;
    EncodeUtf8(wide.data(), wide.size(), out, true);
    return out;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    const bool valid = codePoint <= kMaxCodePoint && !IsSurrogate(codePoint);
    AppendEncodedUtf8(out, valid ? codePoint : kReplacement);
}

bool IsUtf8(const char* data, size_t size) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    size_t i = 0;
    char32_t c = 0;
    while (i < size) {
        if (!NextUtf8CodePoint(bytes, size, i, c))
            return false;
    }
    return true;
}

std::wstring ToWide(const std::string& narrow) {
    std::wstring out;
    NarrowToWide(narrow, out);
    return out;
}

std::string ToNarrow(const std::wstring& wide) {
    std::string out;
    WideToNarrow(wide, out);
    return out;
}

}  // namespace tam
