// Helpers of the tamtools tests: scratch folders, files and XML text in every supported encoding.
#pragma once

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "scratch_folder.h"

#include <string>
#include <vector>

namespace tamtest {

using Bytes = std::vector<unsigned char>;

inline void AppendUnit(Bytes& bytes, unsigned int unit, bool bigEndian) {
    const auto high = static_cast<unsigned char>(unit >> 8);
    const auto low = static_cast<unsigned char>(unit & 0xFF);
    bytes.insert(bytes.end(), {bigEndian ? high : low, bigEndian ? low : high});
}

// UTF-16 code units of ASCII or BMP/astral text (wchar_t holds code points here).
inline Bytes Utf16(const std::wstring& text, bool bigEndian, bool withBom) {
    Bytes bytes;
    for (wchar_t c : (withBom ? L"\xFEFF" : L"") + text) {
        const auto point = static_cast<unsigned int>(c);
        if (point < 0x10000) {
            AppendUnit(bytes, point, bigEndian);
        } else {
            AppendUnit(bytes, 0xD800 + ((point - 0x10000) >> 10), bigEndian);
            AppendUnit(bytes, 0xDC00 + ((point - 0x10000) & 0x3FF), bigEndian);
        }
    }
    return bytes;
}

// UTF-8 bytes of a UTF-8 literal, optionally behind a byte-order mark.
inline Bytes Utf8(const std::string& text, bool withBom) {
    Bytes bytes;
    if (withBom)
        bytes = {0xEF, 0xBB, 0xBF};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

}  // namespace tamtest
