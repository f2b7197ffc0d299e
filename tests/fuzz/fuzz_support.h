// Shared by the fuzz targets: a private working folder for inputs that must be files, and the
// kernel's file header around a fuzzed payload.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tamfuzz {

// A fresh folder of this process under TMPDIR (or /tmp), made the working folder so that the
// relative paths a damaged document names stay inside it; removed at exit.
inline const std::filesystem::path& Scratch() {
    static const std::filesystem::path path = [] {
        const char* tmp = std::getenv("TMPDIR");
        const std::filesystem::path folder = std::filesystem::path(tmp && *tmp ? tmp : "/tmp") /
                                             ("tam_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(Scratch(), ignored);
        });
        return folder;
    }();
    return path;
}

// Writes the bytes as the file `name` of the scratch folder; its wide path.
inline std::wstring WriteFile(const std::string& name, const void* data, std::size_t size) {
    const std::filesystem::path path = Scratch() / name;
    std::ofstream(path, std::ios::binary).write(static_cast<const char*>(data), size);
    return path.wstring();
}

// The whole file at `path` (empty when it cannot be read).
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// 64-bit FNV-1a, the kernel files' checksum.
inline std::uint64_t Checksum(const std::string& payload) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : payload)
        hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

}  // namespace tamfuzz
