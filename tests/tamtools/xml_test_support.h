// Helpers of the tamtools tests: scratch folders and XML text in every supported encoding.
#pragma once

#include <gtest/gtest.h>

#include "scratch_folder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tamtest {

using Bytes = std::vector<unsigned char>;

// UTF-16 code units of ASCII or BMP/astral text (wchar_t holds code points here).
inline Bytes Utf16(const std::wstring& text, bool bigEndian, bool withBom) {
    std::vector<unsigned int> units;
    if (withBom)
        units.push_back(0xFEFF);
    for (wchar_t c : text) {
        auto cp = static_cast<unsigned int>(c);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(0xD800 + (cp >> 10));
            units.push_back(0xDC00 + (cp & 0x3FF));
        } else {
            units.push_back(cp);
        }
    }
    Bytes bytes;
    for (unsigned int unit : units) {
        const auto hi = static_cast<unsigned char>(unit >> 8);
        const auto lo = static_cast<unsigned char>(unit & 0xFF);
        bytes.push_back(bigEndian ? hi : lo);
        bytes.push_back(bigEndian ? lo : hi);
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

inline void WriteBytes(const std::wstring& path, const Bytes& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tamtest
