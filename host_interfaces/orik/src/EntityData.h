// Kernel-internal state of an entity: the OCCT shape it wraps, its owner, attributes, color,
// refinement and, for top-level entities, the placement and the index of its sub-entities.
#pragma once

#include <orik/ATTRIB_GEN_NAME.h>
#include <orik/ENTITY.h>
#include <orik/KVXtransf.h>
#include <orik/OrikTypes.h>
#include <orik/REFINEMENT.h>
#include <orik/SURFACE.h>

#include <TopAbs_ShapeEnum.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS_Shape.hxx>
#include <gp_Ax3.hxx>
#include <gp_Trsf.hxx>

#include <memory>
#include <optional>
#include <vector>

namespace orik {

// Kinds of sub-entity a top-level entity indexes.
enum class SubKind { Face = 0, Edge = 1, Wire = 2, Vertex = 3 };
constexpr int kSubKindCount = 4;

// The OCCT shape type of a sub-entity kind.
TopAbs_ShapeEnum shapeTypeOf(SubKind kind);

// One kind's sub-shapes of a top-level entity in exploration order, and their entities.
struct SubTable {
    bool built = false;
    TopTools_IndexedMapOfShape shapes;
    std::vector<ENTITY*> entities;  // entities[i] wraps shapes(i + 1)
};

// A collection member and whether the collection deletes it.
struct Member {
    ENTITY* entity = nullptr;
    bool owned = false;
};

class EntityData {
public:
    // A top-level entity over an unlocated shape, reported through placement.
    EntityData(const TopoDS_Shape& shape, const gp_Trsf& placement);
    // A sub-entity of owner over a sub-shape of the owner's shape.
    EntityData(const TopoDS_Shape& subShape, ENTITY* owner);
    ~EntityData();

    bool topLevel() const { return owner == nullptr; }

    TopoDS_Shape shape;              // no top-level location
    ENTITY* owner = nullptr;         // the top-level entity, null for a top-level one
    gp_Trsf placement;               // top-level only: body transform or free location
    TopLoc_Location sourceLocation;  // top-level only: location the shape was given with
    std::vector<std::unique_ptr<ATTRIB_GEN_NAME>> attributes;
    std::optional<rgb_color> color;
    REFINEMENT* refinement = nullptr;

    SubTable subTables[kSubKindCount];  // top-level only, built on demand
    std::vector<ENTITY*> orderedEdges;  // wires: their edges, built on demand
    bool orderedEdgesBuilt = false;
    std::unique_ptr<SURFACE> surface;      // faces: built on demand
    std::unique_ptr<SPAbox> bound;         // faces: refreshed by FACE::bound
    std::unique_ptr<KVXtransf> transform;  // bodies with a non-identity placement
    std::vector<Member> members;           // collections
    gp_Ax3 axes;                           // coordinate systems
};

// The placement that positions, facets and samples of the entity are reported in: identity
// inside bodies (their own coordinates), the free entity's placement otherwise.
gp_Trsf outputTransform(const ENTITY* entity);

// The root's sub-entity table of a kind, built (and its entities made) on first use.
SubTable& subTable(ENTITY* root, SubKind kind);

// The root's entity wrapping a sub-shape (matched with IsSame), or null.
ENTITY* findSubEntity(ENTITY* root, SubKind kind, const TopoDS_Shape& subShape);

// Appends the sub-entities of a kind below an entity, in the root's order of exploration.
void collectSubEntities(ENTITY* entity, SubKind kind, std::vector<ENTITY*>& out);

}  // namespace orik
