#include "TamTextCodec.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t cp) {
    return cp >= 0xD800 && cp <= 0xDFFF;
}

bool IsScalarValue(char32_t cp) {
    return cp <= 0x10FFFF && !IsSurrogate(cp);
}

void AppendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

// Next code point of a wide string; on 16-bit wchar_t platforms surrogate pairs are joined.
char32_t NextWideCodePoint(const std::wstring& text, std::size_t& i) {
    char32_t cp = static_cast<char32_t>(text[i++]);
    if constexpr (sizeof(wchar_t) == 2) {
        cp &= 0xFFFF;
        if (cp >= 0xD800 && cp <= 0xDBFF && i < text.size()) {
            const char32_t low = static_cast<char32_t>(text[i]) & 0xFFFF;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                ++i;
                return 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            }
        }
    }
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (!IsScalarValue(cp)) {
        cp = kReplacement;
    }
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Reads one UTF-8 sequence at data[i]; returns false for any malformed form.
// On success `cp` holds the code point and `i` is advanced past the sequence.
bool NextUtf8CodePoint(const unsigned char* data, std::size_t size, std::size_t& i, char32_t& cp) {
    const unsigned char lead = data[i];
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        cp = lead;
        ++i;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        return false;
    }
    if (size - i < length) {
        return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = data[i + k];
        if ((next & 0xC0) != 0x80) {
            return false;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || !IsScalarValue(cp)) {
        return false;
    }
    i += length;
    return true;
}

}  // namespace

std::string TamWideToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        AppendUtf8(out, NextWideCodePoint(text, i));
    }
    return out;
}

std::wstring TamUtf8ToWide(const std::string& text) {
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        if (!NextUtf8CodePoint(data, text.size(), i, cp)) {
            cp = kReplacement;
            ++i;  // resynchronise on the next byte
        }
        AppendCodePoint(out, cp);
    }
    return out;
}

bool TamDecodeUtf8(const char* data, std::size_t size, std::wstring& out) {
    out.clear();
    if (data == nullptr) {
        return size == 0;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    std::wstring decoded;
    decoded.reserve(size);
    for (std::size_t i = 0; i < size;) {
        char32_t cp = 0;
        if (!NextUtf8CodePoint(bytes, size, i, cp) || cp == 0) {
            return false;
        }
        AppendCodePoint(decoded, cp);
    }
    out.swap(decoded);
    return true;
}

bool TamDecodeUtf16ToUtf8(const unsigned char* data, std::size_t size, bool bigEndian,
                          std::string& out) {
    out.clear();
    if (size % 2 != 0 || (data == nullptr && size != 0)) {
        return false;
    }
    auto unitAt = [&](std::size_t k) -> char32_t {
        const unsigned char a = data[2 * k];
        const unsigned char b = data[2 * k + 1];
        return bigEndian ? static_cast<char32_t>((a << 8) | b)
                         : static_cast<char32_t>((b << 8) | a);
    };
    const std::size_t units = size / 2;
    std::string decoded;
    // Straight to UTF-8: a large document never passes through a wide string four times its
    // size.
    decoded.reserve(units);
    for (std::size_t k = 0; k < units; ++k) {
        char32_t cp = unitAt(k);
        if (cp == 0 || (cp >= 0xDC00 && cp <= 0xDFFF)) {
            return false;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            const char32_t low = k + 1 < units ? unitAt(k + 1) : 0;
            if (low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            ++k;
        }
        AppendUtf8(decoded, cp);
    }
    out.swap(decoded);
    return true;
}

bool TamIsValidUtf8(const char* data, std::size_t size) {
    if (data == nullptr) {
        return size == 0;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size;) {
        char32_t cp = 0;
        if (!NextUtf8CodePoint(bytes, size, i, cp) || cp == 0) {
            return false;
        }
    }
    return true;
}
