// What a kernel file holds, as plain data between entities and bytes: the geometry of the saved
// entities (each distinct shape once), one record per top-level entity with its attributes,
// color, transform, sub-entity attributes and collection members, and the saved list itself.
#pragma once

#include <TopoDS_Shape.hxx>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orik {
namespace files {

// Sub-entity kinds as written in files (the order of the kernel's SubKind).
enum class SubEntityKind : uint8_t { Face = 0, Edge = 1, Wire = 2, Vertex = 3 };
constexpr int kSubEntityKindCount = 4;

// An entity named in a file: a record, or a face/edge/wire/vertex of a record's entity by its
// position in that entity's stable order. A record below 0 names no entity.
struct EntityRef {
    int32_t record = -1;
    bool sub = false;
    SubEntityKind kind = SubEntityKind::Face;
    uint32_t index = 0;

    bool none() const { return record < 0; }
    bool operator==(const EntityRef& other) const;
};

// One generic named attribute; only the fields of its kind (an OrikAttribType) are used.
struct AttributeRecord {
    int32_t kind = 0;
    std::string name;
    int32_t integer = 0;
    double real = 0.0;
    std::array<double, 3> xyz{};  // position or vector
    std::string text;
    std::wstring wideText;
    EntityRef entity;
};

// What an entity carries besides its geometry.
struct Decorations {
    std::optional<std::array<double, 3>> color;  // red, green, blue
    std::vector<AttributeRecord> attributes;

    bool empty() const { return !color && attributes.empty(); }
};

// A sub-entity of a record that carries a color or attributes.
struct SubEntityRecord {
    SubEntityKind kind = SubEntityKind::Face;
    uint32_t index = 0;
    Decorations decorations;
};

// An OCCT transform as its exact fields.
struct TransformRecord {
    int32_t form = 0;  // gp_TrsfForm
    double scale = 1.0;
    std::array<double, 9> matrix{1, 0, 0, 0, 1, 0, 0, 0, 1};  // row by row, scale left out
    std::array<double, 3> translation{};
};

// A coordinate system: origin and the three axes' directions.
struct AxesRecord {
    std::array<double, 3> origin{};
    std::array<double, 3> xDirection{1, 0, 0};
    std::array<double, 3> yDirection{0, 1, 0};
    std::array<double, 3> zDirection{0, 0, 1};
};

struct MemberRecord {
    EntityRef entity;
    bool owned = false;
};

// One top-level entity; type is an OrikEntityType.
struct EntityRecord {
    int32_t type = 0;
    int32_t shape = -1;         // index into KernelDocument::shapes (geometric entities)
    TransformRecord placement;  // body transform or free entity's location
    AxesRecord axes;            // coordinate systems
    Decorations decorations;
    std::vector<SubEntityRecord> subEntities;
    std::vector<MemberRecord> members;  // collections, in order
};

// A shape whose faces all carry triangulations made at these tolerances (documents saved with
// facets): faceting it again at the same tolerances reuses them.
struct MeshRecord {
    int32_t shape = -1;  // index into KernelDocument::shapes
    double linearDeflection = 0.0;
    double angularDeflectionDeg = 0.0;
    double maxEdgeLength = -1.0;  // <= 0: no limit
};

struct KernelDocument {
    std::vector<TopoDS_Shape> shapes;  // without location; shared sub-shapes stay shared
    std::vector<EntityRecord> entities;
    std::vector<EntityRef> list;     // the saved list, in order
    std::vector<MeshRecord> meshes;  // empty: the shapes are saved without triangulations
};

}  // namespace files
}  // namespace orik
