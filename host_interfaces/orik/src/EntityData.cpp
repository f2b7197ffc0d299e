#include "EntityData.h"

#include "EntityStore.h"

#include <TopExp.hxx>

namespace orik {

EntityData::EntityData(const TopoDS_Shape& topShape, const gp_Trsf& topPlacement)
    : shape(topShape), placement(topPlacement) {}

EntityData::EntityData(const TopoDS_Shape& subShape, ENTITY* ownerEntity)
    : shape(subShape), owner(ownerEntity) {}

EntityData::~EntityData() = default;

TopAbs_ShapeEnum shapeTypeOf(SubKind kind) {
    switch (kind) {
        case SubKind::Face:
            return TopAbs_FACE;
        case SubKind::Edge:
            return TopAbs_EDGE;
        case SubKind::Wire:
            return TopAbs_WIRE;
        case SubKind::Vertex:
            break;
    }
    return TopAbs_VERTEX;
}

gp_Trsf outputTransform(const ENTITY* entity) {
    const ENTITY* root = entity->root();
    if (root->identity() == ORIK_BODY_TYPE)
        return gp_Trsf();
    return root->data().placement;
}

namespace {

bool wrapsItself(const ENTITY* root, SubKind kind) {
    switch (kind) {
        case SubKind::Face:
            return root->identity() == ORIK_FACE_TYPE;
        case SubKind::Edge:
            return root->identity() == ORIK_EDGE_TYPE;
        case SubKind::Wire:
            return root->identity() == ORIK_WIRE_TYPE;
        case SubKind::Vertex:
            break;
    }
    return root->identity() == ORIK_VERTEX_TYPE;
}

}  // namespace

SubTable& subTable(ENTITY* root, SubKind kind) {
    EntityData& data = root->data();
    SubTable& table = data.subTables[int(kind)];
    if (table.built)
        return table;
    table.built = true;
    if (data.shape.IsNull())
        return table;
    TopExp::MapShapes(data.shape, shapeTypeOf(kind), table.shapes);
    table.entities.reserve(size_t(table.shapes.Extent()));
    const bool self = wrapsItself(root, kind);
    for (int i = 1; i <= table.shapes.Extent(); ++i) {
        const TopoDS_Shape& sub = table.shapes(i);
        if (self && sub.IsSame(data.shape)) {
            table.entities.push_back(root);
        } else {
            table.entities.push_back(EntityStore::instance().makeSub(kind, sub, root));
        }
    }
    return table;
}

ENTITY* findSubEntity(ENTITY* root, SubKind kind, const TopoDS_Shape& subShape) {
    if (subShape.IsNull())
        return nullptr;
    SubTable& table = subTable(root, kind);
    const int index = table.shapes.FindIndex(subShape);
    return index > 0 ? table.entities[size_t(index - 1)] : nullptr;
}

void collectSubEntities(ENTITY* entity, SubKind kind, std::vector<ENTITY*>& out) {
    ENTITY* root = entity->root();
    if (entity == root) {
        const SubTable& table = subTable(root, kind);
        out.insert(out.end(), table.entities.begin(), table.entities.end());
        return;
    }
    TopTools_IndexedMapOfShape below;
    TopExp::MapShapes(entity->data().shape, shapeTypeOf(kind), below);
    for (int i = 1; i <= below.Extent(); ++i) {
        if (ENTITY* sub = findSubEntity(root, kind, below(i)))
            out.push_back(sub);
    }
}

}  // namespace orik
