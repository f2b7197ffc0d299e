#include "ContentHash.h"

#include <cstdint>
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
std::string contentHash(const char* data, std::size_t size) {
    std::uint64_t a = 0x243F6A8885A308D3ull ^ size;
    std::uint64_t b = 0x13198A2E03707344ull ^ (size * kOdd1);
    auto take = [&a, &b](std::uint64_t word) {
        const std::uint64_t mixed = mix(word);
        a = rotate(a ^ mixed, 27) * kOdd1;
        b = rotate(b + (mixed ^ kOdd2), 31) * kOdd2;
    };
    std::size_t at = 0;
    for (; at + 8 <= size; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + at, 8);
        take(word);
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, data + at, size - at);
    take(tail ^ (std::uint64_t(size - at) << 56));
    char text[33];
    std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(mix(a + b)),
                  static_cast<unsigned long long>(mix(b ^ rotate(a, 17))));
    return text;
}

std::optional<std::string> fileContentHash(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return std::nullopt;
    const std::streamoff size = file.tellg();
    if (size < 0)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    file.seekg(0);
    if (!file.read(&bytes[0], size))
        return std::nullopt;
    return contentHash(bytes);
}

}  // namespace tam
