// A 128-bit hash of bytes as 32 hex digits: tells files and cache keys apart. Not cryptographic:
// it guards against accidents (a changed file, a changed option), not against forgery.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tam {

std::string contentHash(const char* data, std::size_t size);
inline std::string contentHash(const std::string& bytes) {
    return contentHash(bytes.data(), bytes.size());
}

// The hash of a file's bytes; nothing when it cannot be read.
std::optional<std::string> fileContentHash(const std::string& path);

}  // namespace tam
