// Whole files as byte strings, for tests that damage, copy or compare files.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tamtest {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace tamtest
