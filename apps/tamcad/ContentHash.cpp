#include "ContentHash.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace tam {
namespace {

constexpr std::uint64_t kOdd1 = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kOdd2 = 0xC2B2AE3D27D4EB4Full;

// splitmix64's finaliser: every input bit reaches every output bit.
std::uint64_t mix(std::uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t rotate(std::uint64_t x, int bits) {
    return (x << bits) | (x >> (64 - bits));
}

}  // namespace

// Two lanes over 8-byte words, each word mixed before it enters a lane, so that the lanes stay
// independent; the size seeds both, so that inputs differing only in trailing zeros differ.
ContentHasher::ContentHasher(std::uint64_t totalSize)
    : a_(0x243F6A8885A308D3ull ^ totalSize), b_(0x13198A2E03707344ull ^ (totalSize * kOdd1)) {}

void ContentHasher::take(std::uint64_t word) {
    const std::uint64_t mixed = mix(word);
    a_ = rotate(a_ ^ mixed, 27) * kOdd1;
    b_ = rotate(b_ + (mixed ^ kOdd2), 31) * kOdd2;
}

void ContentHasher::add(const char* data, std::size_t size) {
    while (size > 0) {
        const std::size_t part = std::min(size, sizeof pending_ - pendingSize_);
        std::memcpy(pending_ + pendingSize_, data, part);
        pendingSize_ += part;
        data += part;
        size -= part;
        if (pendingSize_ == sizeof pending_) {
            std::uint64_t word;
            std::memcpy(&word, pending_, 8);
            take(word);
            pendingSize_ = 0;
        }
        for (; size >= 8 && pendingSize_ == 0; data += 8, size -= 8) {
            std::uint64_t word;
            std::memcpy(&word, data, 8);
            take(word);
        }
    }
}

std::string ContentHasher::text() {
    std::uint64_t tail = 0;
    std::memcpy(&tail, pending_, pendingSize_);
    take(tail ^ (std::uint64_t(pendingSize_) << 56));
    char digits[33];
    std::snprintf(digits, sizeof digits, "%016llx%016llx",
                  static_cast<unsigned long long>(mix(a_ + b_)),
                  static_cast<unsigned long long>(mix(b_ ^ rotate(a_, 17))));
    return digits;
}

std::string contentHash(const char* data, std::size_t size) {
    ContentHasher hasher(size);
    hasher.add(data, size);
    return hasher.text();
}

// Read in pieces: a large file is never held whole.
std::optional<std::string> streamContentHash(std::istream& in, std::uint64_t size) {
    ContentHasher hasher(size);
    char chunk[1 << 16];
    for (std::uint64_t left = size; left > 0;) {
        const std::size_t part = std::size_t(std::min<std::uint64_t>(left, sizeof chunk));
        if (!in.read(chunk, std::streamsize(part)))
            return std::nullopt;
        hasher.add(chunk, part);
        left -= part;
    }
    return hasher.text();
}

std::optional<std::string> fileContentHash(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return std::nullopt;
    const std::streamoff size = file.tellg();
    if (size < 0)
        return std::nullopt;
    file.seekg(0);
    return streamContentHash(file, static_cast<std::uint64_t>(size));
}

}  // namespace tam
