// A 128-bit hash of bytes as 32 hex digits: tells files and cache keys apart. Not cryptographic:
// it guards against accidents (a changed file, a changed option), not against forgery.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace tam {

// The hash of bytes that come in pieces; their total size is needed first, since it seeds the
// hash. After exactly that many bytes, text() gives what contentHash gives for them whole.
class ContentHasher {
public:
    explicit ContentHasher(std::uint64_t totalSize);

    void add(const char* data, std::size_t size);
    std::string text();

private:
    void take(std::uint64_t word);

    std::uint64_t a_;
    std::uint64_t b_;
    char pending_[8] = {};
    std::size_t pendingSize_ = 0;
};

std::string contentHash(const char* data, std::size_t size);
inline std::string contentHash(const std::string& bytes) {
    return contentHash(bytes.data(), bytes.size());
}

// The hash of the next size bytes of a stream, read in pieces; nothing when they cannot be read.
std::optional<std::string> streamContentHash(std::istream& in, std::uint64_t size);

// The hash of a file's bytes; nothing when it cannot be read.
std::optional<std::string> fileContentHash(const std::string& path);

}  // namespace tam
