// The binary kernel file: magic, version, payload size and checksum, then the payload of
// little-endian fields around OCCT's binary B-rep (see docs/kernel-files.md).
#include "FileFormat.h"
#include "ShapeCodec.h"

#include <orik/ATTRIB_GEN_NAME.h>
#include <orik/ENTITY.h>
#include <orik/orik_exception.h>
#include <orik/outcome.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

namespace orik {
namespace files {

namespace {

[[noreturn]] void damaged() {
    throw orik_exception(ORIK_FILE_DAMAGED);
}

void writeLittleEndian(std::ostream& out, uint64_t value, int bytes) {
    char field[8];
    for (int i = 0; i < bytes; ++i)
        field[i] = char((value >> (8 * i)) & 0xff);
    out.write(field, bytes);
}

// FNV-1a (checksumOf) of the size bytes at `from`, read back from the stream.
uint64_t checksumOfStream(std::iostream& stream, std::streampos from, uint64_t size) {
    stream.seekg(from);
    uint64_t hash = kChecksumSeed;
    char chunk[1 << 16];
    while (size > 0 && stream) {
        const size_t take = size_t(std::min<uint64_t>(size, sizeof chunk));
        stream.read(chunk, std::streamsize(take));
        hash = checksumOf(chunk, take, hash);
        size -= take;
    }
    return hash;
}

uint64_t loadLittleEndian(const char* data, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= uint64_t(uint8_t(data[i])) << (8 * i);
    return value;
}

class BinaryWriter {
public:
    explicit BinaryWriter(std::iostream& out) : out_(out) {}

    void write(const KernelDocument& document) {
        u32(uint32_t(document.shapes.size()));
        const std::streampos sizeAt = out_.tellp();
        u64(0);  // the geometry's size, known once it is written
        const std::streampos geometryAt = out_.tellp();
        encodeShapes(document.shapes, true, !document.meshes.empty(), out_);
        const std::streampos geometryEnd = out_.tellp();
        out_.seekp(sizeAt);
        u64(uint64_t(geometryEnd - geometryAt));
        out_.seekp(geometryEnd);
        u32(uint32_t(document.entities.size()));
        for (const EntityRecord& record : document.entities)
            writeEntity(record);
        u32(uint32_t(document.list.size()));
        for (const EntityRef& ref : document.list)
            writeRef(ref);
        if (!document.meshes.empty()) {
            u32(uint32_t(document.meshes.size()));
            for (const MeshRecord& mesh : document.meshes) {
                u32(uint32_t(mesh.shape));
                f64(mesh.linearDeflection);
                f64(mesh.angularDeflectionDeg);
                f64(mesh.maxEdgeLength);
            }
        }
    }

private:
    void u8(uint8_t value) { out_.put(char(value)); }
    void u32(uint32_t value) { writeLittleEndian(out_, value, 4); }
    void u64(uint64_t value) { writeLittleEndian(out_, value, 8); }
    void f64(double value) {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        u64(bits);
    }

    void writeEntity(const EntityRecord& record) {
        u8(uint8_t(record.type));
        u32(uint32_t(record.shape));
        if (record.type == ORIK_WCS_TYPE) {
            for (const auto* triple : {&record.axes.origin, &record.axes.xDirection,
                                       &record.axes.yDirection, &record.axes.zDirection}) {
                for (double value : *triple)
                    f64(value);
            }
        } else if (record.type != ORIK_COLLECTION_TYPE) {
            u32(uint32_t(record.placement.form));
            f64(record.placement.scale);
            for (double value : record.placement.matrix)
                f64(value);
            for (double value : record.placement.translation)
                f64(value);
        }
        writeDecorations(record.decorations);
        u32(uint32_t(record.subEntities.size()));
        for (const SubEntityRecord& sub : record.subEntities) {
            u8(uint8_t(sub.kind));
            u32(sub.index);
            writeDecorations(sub.decorations);
        }
        u32(uint32_t(record.members.size()));
        for (const MemberRecord& member : record.members) {
            writeRef(member.entity);
            u8(member.owned ? 1 : 0);
        }
    }

    void writeDecorations(const Decorations& decorations) {
        u8(decorations.color ? 1 : 0);
        if (decorations.color) {
            for (double value : *decorations.color)
                f64(value);
        }
        u32(uint32_t(decorations.attributes.size()));
        for (const AttributeRecord& a : decorations.attributes) {
            u8(uint8_t(a.kind - ATTRIB_GEN_NAME_TYPE));
            text(a.name);
            switch (a.kind) {
                case ATTRIB_GEN_ENTITY_TYPE:
                    writeRef(a.entity);
                    break;
                case ATTRIB_GEN_INTEGER_TYPE:
                    u32(uint32_t(a.integer));
                    break;
                case ATTRIB_GEN_REAL_TYPE:
                    f64(a.real);
                    break;
                case ATTRIB_GEN_POSITION_TYPE:
                case ATTRIB_GEN_VECTOR_TYPE:
                    for (double value : a.xyz)
                        f64(value);
                    break;
                case ATTRIB_GEN_STRING_TYPE:
                    text(a.text);
                    break;
                case ATTRIB_GEN_WSTRING_TYPE:
                    u32(uint32_t(a.wideText.size()));
                    for (wchar_t c : a.wideText)
                        u32(uint32_t(c));
                    break;
                default:
                    break;
            }
        }
    }

    void writeRef(const EntityRef& ref) {
        u32(uint32_t(ref.record));
        u8(ref.sub ? 1 : 0);
        u8(uint8_t(ref.kind));
        u32(ref.index);
    }

    void text(const std::string& value) {
        u32(uint32_t(value.size()));
        out_.write(value.data(), std::streamsize(value.size()));
    }

    std::iostream& out_;
};

class BinaryReader {
public:
    BinaryReader(const char* data, size_t size, uint32_t version)
        : data_(data), size_(size), version_(version) {}

    KernelDocument read() {
        KernelDocument document;
        const uint32_t shapeCount = u32();
        const uint64_t geometrySize = u64();
        need(geometrySize);
        const std::string geometry(data_ + pos_, size_t(geometrySize));
        pos_ += size_t(geometrySize);
        document.shapes = decodeShapes(geometry, shapeCount, true);
        for (uint32_t i = 0, n = count(); i < n; ++i)
            document.entities.push_back(readEntity());
        for (uint32_t i = 0, n = count(); i < n; ++i)
            document.list.push_back(readRef());
        if (version_ >= kBinaryMeshesVersion)
            readMeshes(document);
        if (pos_ != size_)
            damaged();
        return document;
    }

private:
    // Mesh records name saved shapes, once each, with usable tolerances.
    void readMeshes(KernelDocument& document) {
        std::vector<char> named(document.shapes.size(), 0);
        for (uint32_t i = 0, n = count(4 + 3 * 8); i < n; ++i) {
            MeshRecord mesh;
            mesh.shape = int32_t(u32());
            mesh.linearDeflection = f64();
            mesh.angularDeflectionDeg = f64();
            mesh.maxEdgeLength = f64();
            if (mesh.shape < 0 || size_t(mesh.shape) >= named.size() || named[size_t(mesh.shape)] ||
                !(mesh.linearDeflection > 0.0) || !std::isfinite(mesh.linearDeflection) ||
                !(mesh.angularDeflectionDeg > 0.0) || !std::isfinite(mesh.angularDeflectionDeg) ||
                std::isnan(mesh.maxEdgeLength))
                damaged();
            named[size_t(mesh.shape)] = 1;
            document.meshes.push_back(mesh);
        }
        if (document.meshes.empty())
            damaged();
    }

    EntityRecord readEntity() {
        EntityRecord record;
        record.type = u8();
        record.shape = int32_t(u32());
        if (record.type == ORIK_WCS_TYPE) {
            for (auto* triple : {&record.axes.origin, &record.axes.xDirection,
                                 &record.axes.yDirection, &record.axes.zDirection}) {
                for (double& value : *triple)
                    value = f64();
            }
        } else if (record.type != ORIK_COLLECTION_TYPE) {
            record.placement.form = int32_t(u32());
            record.placement.scale = f64();
            for (double& value : record.placement.matrix)
                value = f64();
            for (double& value : record.placement.translation)
                value = f64();
        }
        record.decorations = readDecorations();
        for (uint32_t i = 0, n = count(); i < n; ++i) {
            SubEntityRecord sub;
            sub.kind = kind();
            sub.index = u32();
            sub.decorations = readDecorations();
            record.subEntities.push_back(std::move(sub));
        }
        for (uint32_t i = 0, n = count(); i < n; ++i) {
            MemberRecord member;
            member.entity = readRef();
            member.owned = flag();
            record.members.push_back(member);
        }
        return record;
    }

    Decorations readDecorations() {
        Decorations decorations;
        if (flag())
            decorations.color = std::array<double, 3>{f64(), f64(), f64()};
        for (uint32_t i = 0, n = count(); i < n; ++i) {
            AttributeRecord a;
            a.kind = ATTRIB_GEN_NAME_TYPE + u8();
            a.name = text();
            switch (a.kind) {
                case ATTRIB_GEN_NAME_TYPE:
                    break;
                case ATTRIB_GEN_ENTITY_TYPE:
                    a.entity = readRef();
                    break;
                case ATTRIB_GEN_INTEGER_TYPE:
                    a.integer = int32_t(u32());
                    break;
                case ATTRIB_GEN_REAL_TYPE:
                    a.real = f64();
                    break;
                case ATTRIB_GEN_POSITION_TYPE:
                case ATTRIB_GEN_VECTOR_TYPE:
                    for (double& value : a.xyz)
                        value = f64();
                    break;
                case ATTRIB_GEN_STRING_TYPE:
                    a.text = text();
                    break;
                case ATTRIB_GEN_WSTRING_TYPE:
                    for (uint32_t k = 0, units = count(4); k < units; ++k)
                        a.wideText += wchar_t(u32());
                    break;
                default:
                    damaged();
            }
            decorations.attributes.push_back(std::move(a));
        }
        return decorations;
    }

    EntityRef readRef() {
        EntityRef ref;
        ref.record = int32_t(u32());
        ref.sub = flag();
        ref.kind = kind();
        ref.index = u32();
        if (ref.none() && ref.sub)
            damaged();
        return ref;
    }

    SubEntityKind kind() {
        const uint8_t value = u8();
        if (value >= kSubEntityKindCount)
            damaged();
        return SubEntityKind(value);
    }

    bool flag() {
        const uint8_t value = u8();
        if (value > 1)
            damaged();
        return value == 1;
    }

    void need(uint64_t bytes) const {
        if (bytes > size_ - pos_)
            damaged();
    }

    // A count of items of at least `least` bytes each that must still fit in what is left.
    uint32_t count(uint64_t least = 1) {
        const uint32_t value = u32();
        need(uint64_t(value) * least);
        return value;
    }

    uint8_t u8() {
        need(1);
        return uint8_t(data_[pos_++]);
    }
    uint32_t u32() {
        need(4);
        pos_ += 4;
        return uint32_t(loadLittleEndian(data_ + pos_ - 4, 4));
    }
    uint64_t u64() {
        need(8);
        pos_ += 8;
        return loadLittleEndian(data_ + pos_ - 8, 8);
    }
    double f64() {
        const uint64_t bits = u64();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::string text() {
        const uint32_t length = count();
        std::string value(data_ + pos_, length);
        pos_ += length;
        return value;
    }

    const char* data_;
    size_t size_;
    uint32_t version_;
    size_t pos_ = 0;
};

constexpr size_t kHeaderSize = kBinaryMagicSize + 4 + 8 + 8;

}  // namespace

bool looksLikeBinary(const char* data, size_t size) {
    return size >= kBinaryMagicSize && std::memcmp(data, kBinaryMagic, kBinaryMagicSize) == 0;
}

// magic (8 bytes), version (u32), payload size (u64), payload checksum (u64), payload. The size
// and checksum are filled in once the payload is written.
void writeBinary(const KernelDocument& document, std::iostream& out) {
    out.write(kBinaryMagic, kBinaryMagicSize);
    writeLittleEndian(out, document.meshes.empty() ? kFormatVersion : kBinaryMeshesVersion, 4);
    const std::streampos sizeAt = out.tellp();
    writeLittleEndian(out, 0, 8);
    writeLittleEndian(out, 0, 8);
    const std::streampos payloadAt = out.tellp();
    BinaryWriter(out).write(document);
    const std::streampos end = out.tellp();
    const uint64_t payloadSize = uint64_t(end - payloadAt);
    const uint64_t checksum = checksumOfStream(out, payloadAt, payloadSize);
    out.seekp(sizeAt);
    writeLittleEndian(out, payloadSize, 8);
    writeLittleEndian(out, checksum, 8);
    out.seekp(end);
    if (!out)
        throw orik_exception(ORIK_FILE_WRITE_FAILED);
}

std::string writeBinary(const KernelDocument& document) {
    std::stringstream out(std::ios::in | std::ios::out | std::ios::binary);
    writeBinary(document, out);
    return out.str();
}

KernelDocument readBinary(const char* data, size_t size) {
    if (!looksLikeBinary(data, size) || size < kHeaderSize)
        damaged();
    const uint64_t version = loadLittleEndian(data + kBinaryMagicSize, 4);
    if (version > kBinaryMeshesVersion)
        throw orik_exception(ORIK_FILE_VERSION);
    const uint64_t payloadSize = loadLittleEndian(data + kBinaryMagicSize + 4, 8);
    const uint64_t checksum = loadLittleEndian(data + kBinaryMagicSize + 12, 8);
    const char* payload = data + kHeaderSize;
    if (version == 0 || payloadSize != size - kHeaderSize ||
        checksumOf(payload, size_t(payloadSize)) != checksum)
        damaged();
    return BinaryReader(payload, size_t(payloadSize), uint32_t(version)).read();
}

}  // namespace files
}  // namespace orik
