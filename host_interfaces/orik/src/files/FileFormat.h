// What the two kernel file formats share: their first bytes, version and checksum.
#pragma once

#include "KernelDocument.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace orik {
namespace files {

constexpr uint32_t kFormatVersion = 1;
// Binary files of documents with meshes: the geometry carries triangulations and the payload
// ends with the mesh records. Documents without meshes are still written as version 1.
constexpr uint32_t kBinaryMeshesVersion = 2;
// A text file starts with this line (then the version); a binary file with these 8 bytes.
constexpr char kTextMagic[] = "ORIK-TEXT ";
constexpr char kBinaryMagic[] = "ORIKBIN\x1a";
constexpr size_t kBinaryMagicSize = 8;

// 64-bit FNV-1a of the bytes: the files' guard against damage. Bytes that come in pieces carry
// on from the hash of the pieces before.
constexpr uint64_t kChecksumSeed = 14695981039346656037ull;
inline uint64_t checksumOf(const char* data, size_t size, uint64_t hash = kChecksumSeed) {
    for (size_t i = 0; i < size; ++i) {
        hash ^= uint8_t(data[i]);
        hash *= 1099511628211ull;
    }
    return hash;
}

// The file's bytes for a document.
std::string writeText(const KernelDocument& document);
std::string writeBinary(const KernelDocument& document);
// The binary form written to a stream from its current position, left at the end of what was
// written; the stream must be readable and seekable (the checksum is taken from it).
void writeBinary(const KernelDocument& document, std::iostream& out);

// The document in a file's bytes; throws orik_exception with ORIK_FILE_DAMAGED (not such a
// file, truncated, changed) or ORIK_FILE_VERSION (a later version of the format).
KernelDocument readText(const char* data, size_t size);
KernelDocument readBinary(const char* data, size_t size);

// True when the bytes begin like a text (binary) kernel file.
bool looksLikeText(const char* data, size_t size);
bool looksLikeBinary(const char* data, size_t size);

}  // namespace files
}  // namespace orik
