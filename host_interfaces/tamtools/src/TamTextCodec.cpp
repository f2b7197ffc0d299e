#include "TamTextCodec.h"

#include <platform/CodePage.h>

#include <cstring>

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
        tam::AppendUtf8(decoded, cp);
    }
    out.swap(decoded);
    return true;
}

bool TamIsValidUtf8(const char* data, std::size_t size) {
    if (data == nullptr) {
        return size == 0;
    }
    return std::memchr(data, 0, size) == nullptr && tam::IsUtf8(data, size);
}
