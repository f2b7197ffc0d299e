// Unsigned 64-bit fields as the import cache's files keep them: eight bytes, least significant
// first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

namespace tam {

inline void writeU64(std::ostream& out, std::uint64_t value) {
    char field[8];
    for (int i = 0; i < 8; ++i)
        field[i] = char((value >> (8 * i)) & 0xff);
    out.write(field, 8);
}

// Reads the field at `at` and moves past it; false when the bytes end first.
inline bool readU64(const std::string& in, std::size_t& at, std::uint64_t& value) {
    if (in.size() - at < 8)
        return false;
    value = 0;
    for (int i = 0; i < 8; ++i)
        value |= std::uint64_t(std::uint8_t(in[at + std::size_t(i)])) << (8 * i);
    at += 8;
    return true;
}

}  // namespace tam
