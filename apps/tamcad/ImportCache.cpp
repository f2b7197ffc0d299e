#include "ImportCache.h"

#include "ContentHash.h"
#include "LittleEndian.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace tam {
namespace {

namespace fs = std::filesystem;

// Entry layout: magic, then u64 sizes (little-endian) each followed by its bytes: the key, the
// payload's hash (32 hex digits), the payload.
constexpr char kMagic[] = "TAMCACH1";
constexpr std::size_t kMagicSize = 8;
constexpr std::size_t kHashDigits = 32;
constexpr char kEntryExtension[] = ".entry";
// Files being written carry this in their name until they are renamed into place; ones left
// behind by a process that died are removed once they are this old.
constexpr char kPartMarker[] = ".part.";
constexpr auto kAbandonedPartAge = std::chrono::minutes(10);

void writeSized(std::ostream& out, const std::string& bytes) {
    writeU64(out, bytes.size());
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

// Reads one sized field at `at`; false when the bytes end first.
bool readSized(const std::string& in, std::size_t& at, std::string& field) {
    std::uint64_t size = 0;
    if (!readU64(in, at, size) || size > in.size() - at)
        return false;
    field.assign(in, at, std::size_t(size));
    at += std::size_t(size);
    return true;
}

bool readWhole(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return false;
    const std::streamoff size = file.tellg();
    if (size < 0)
        return false;
    bytes.assign(std::size_t(size), '\0');
    file.seekg(0);
    return bool(file.read(&bytes[0], size));
}

// A name no other writer uses at the same time: process id and a per-process counter.
std::string partName(const std::string& entry) {
    static std::atomic<unsigned> counter{0};
    return entry + kPartMarker + std::to_string(::getpid()) + "." + std::to_string(counter++);
}

// The entry: the payload's hash and size are written as placeholders, filled in once the payload
// is written and hashed back from the file.
bool writeAside(const std::string& path, const std::string& key,
                const ImportCache::PayloadWriter& writePayload) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(kMagic, kMagicSize);
    writeSized(file, key);
    const std::streampos hashAt = file.tellp();
    writeSized(file, std::string(kHashDigits, '0'));
    writeU64(file, 0);
    const std::streampos payloadAt = file.tellp();
    if (!file || !writePayload(file))
        return false;
    file.seekp(0, std::ios::end);
    const std::uint64_t size = std::uint64_t(file.tellp() - payloadAt);
    file.seekg(payloadAt);
    const std::optional<std::string> hash = streamContentHash(file, size);
    if (!hash)
        return false;
    file.seekp(hashAt);
    writeSized(file, *hash);
    writeU64(file, size);
    file.close();
    return bool(file);
}

struct EntryFile {
    fs::path path;
    std::uint64_t size;
    fs::file_time_type used;
};

}  // namespace

ImportCache::ImportCache(std::string folder, std::uint64_t limitBytes)
    : folder_(std::move(folder)), limitBytes_(limitBytes) {}

std::string ImportCache::entryPath(const std::string& key) const {
    return (fs::path(folder_) / (contentHash(key) + kEntryExtension)).string();
}

std::optional<std::string> ImportCache::load(const std::string& key) const {
    const std::string path = entryPath(key);
    std::string bytes;
    if (!readWhole(path, bytes) || bytes.size() < kMagicSize ||
        std::memcmp(bytes.data(), kMagic, kMagicSize) != 0)
        return std::nullopt;
    std::size_t at = kMagicSize;
    std::string storedKey, payloadHash, payload;
    if (!readSized(bytes, at, storedKey) || storedKey != key ||
        !readSized(bytes, at, payloadHash) || !readSized(bytes, at, payload) ||
        at != bytes.size() || payloadHash != contentHash(payload))
        return std::nullopt;
    ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0);  // used now: last in line for eviction
    return payload;
}

bool ImportCache::store(const std::string& key, const PayloadWriter& writePayload) const {
    std::error_code error;
    fs::create_directories(folder_, error);
    const std::string path = entryPath(key);
    // Written aside and renamed: a reader meanwhile sees the old entry or the new one, whole.
    const std::string aside = partName(path);
    if (!writeAside(aside, key, writePayload) || std::rename(aside.c_str(), path.c_str()) != 0) {
        std::remove(aside.c_str());
        return false;
    }
    evict(path);
    return true;
}

void ImportCache::evict(const std::string& keep) const {
    std::error_code error;
    std::vector<EntryFile> entries;
    std::uint64_t total = 0;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        const std::string name = path.filename().string();
        std::error_code statError;
        const fs::file_time_type used = fs::last_write_time(path, statError);
        if (statError)
            continue;
        if (name.find(kPartMarker) != std::string::npos) {
            if (now - used > kAbandonedPartAge)
                fs::remove(path, statError);
            continue;
        }
        if (path.extension() != kEntryExtension)
            continue;
        const std::uint64_t size = fs::file_size(path, statError);
        if (statError)
            continue;
        total += size;
        if (path.string() != keep)
            entries.push_back({path, size, used});
    }
    std::sort(entries.begin(), entries.end(),
              [](const EntryFile& a, const EntryFile& b) { return a.used < b.used; });
    for (const EntryFile& entry : entries) {
        if (total <= limitBytes_)
            break;
        std::error_code removeError;
        if (fs::remove(entry.path, removeError))
            total -= entry.size;
    }
}

}  // namespace tam
