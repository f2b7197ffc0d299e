// Entities made from OCCT shapes, and the shapes and placements behind entities.
#include "ApiFrame.h"
#include "EntityData.h"
#include "EntityStore.h"
#include "Kernel.h"

#include <orik/OrikOcctBridge.h>

#include <cmath>

using orik::EntityStore;
using orik::guarded;
using orik::Kernel;

namespace {

// The kernel's form of an OCCT transform (row vectors, scale kept apart).
KVXtransf toTransf(const gp_Trsf& trsf) {
    const gp_Mat rotation = trsf.HVectorialPart();
    KVXmatrix affine;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            // OCCT maps column vectors; the kernel's rows are OCCT's columns.
            affine.set_element(row, column, rotation.Value(column + 1, row + 1));
        }
    }
    const gp_XYZ& t = trsf.TranslationPart();
    return KVXtransf(affine, trsf.ScaleFactor(), SPAvector(t.X(), t.Y(), t.Z()));
}

ENTITY* makeFree(OrikEntityType type, TopAbs_ShapeEnum shapeType, const TopoDS_Shape& shape) {
    if (!Kernel::instance().running() || shape.IsNull() || shape.ShapeType() != shapeType) {
        return nullptr;
    }
    return guarded<ENTITY*>(nullptr, [type, &shape]() -> ENTITY* {
        ENTITY* entity = EntityStore::instance().makeTopLevel(
            type, shape.Located(TopLoc_Location()), shape.Location().Transformation());
        entity->data().sourceLocation = shape.Location();
        return entity;
    });
}

}  // namespace

BODY* orik_make_body(const TopoDS_Shape& shape, const gp_Trsf& placement) {
    if (!Kernel::instance().running() || shape.IsNull())
        return nullptr;
    if (placement.Form() == gp_Other)
        return nullptr;  // non-uniform scale or shear
    return guarded<BODY*>(nullptr, [&shape, &placement]() -> BODY* {
        const gp_Trsf transform = placement * shape.Location().Transformation();
        ENTITY* body = EntityStore::instance().makeTopLevel(
            ORIK_BODY_TYPE, shape.Located(TopLoc_Location()), transform);
        orik::EntityData& data = body->data();
        data.sourceLocation = shape.Location();
        if (transform.Form() != gp_Identity) {
            data.transform = std::make_unique<KVXtransf>(toTransf(transform));
            if (data.transform->identity())
                data.transform.reset();
        }
        return static_cast<BODY*>(body);
    });
}

FACE* orik_make_free_face(const TopoDS_Shape& face) {
    return static_cast<FACE*>(makeFree(ORIK_FACE_TYPE, TopAbs_FACE, face));
}

EDGE* orik_make_free_edge(const TopoDS_Shape& edge) {
    return static_cast<EDGE*>(makeFree(ORIK_EDGE_TYPE, TopAbs_EDGE, edge));
}

WIRE* orik_make_free_wire(const TopoDS_Shape& wire) {
    return static_cast<WIRE*>(makeFree(ORIK_WIRE_TYPE, TopAbs_WIRE, wire));
}

VERTEX* orik_make_free_vertex(const TopoDS_Shape& vertex) {
    return static_cast<VERTEX*>(makeFree(ORIK_VERTEX_TYPE, TopAbs_VERTEX, vertex));
}

TopoDS_Shape orik_entity_shape(const ENTITY* entity) {
    if (!EntityStore::instance().alive(entity))
        return TopoDS_Shape();
    return entity->data().shape;
}

gp_Trsf orik_entity_placement(const ENTITY* entity) {
    if (!EntityStore::instance().alive(entity))
        return gp_Trsf();
    return entity->root()->data().placement;
}

ENTITY* orik_find_sub_entity(const BODY* body, const TopoDS_Shape& sub_shape) {
    if (!EntityStore::instance().alive(body) || sub_shape.IsNull())
        return nullptr;
    return guarded<ENTITY*>(nullptr, [body, &sub_shape]() -> ENTITY* {
        orik::SubKind kind;
        switch (sub_shape.ShapeType()) {
            case TopAbs_FACE:
                kind = orik::SubKind::Face;
                break;
            case TopAbs_EDGE:
                kind = orik::SubKind::Edge;
                break;
            case TopAbs_WIRE:
                kind = orik::SubKind::Wire;
                break;
            case TopAbs_VERTEX:
                kind = orik::SubKind::Vertex;
                break;
            default:
                return nullptr;
        }
        BODY* self = const_cast<BODY*>(body);
        if (ENTITY* found = orik::findSubEntity(self, kind, sub_shape))
            return found;
        // A sub-shape taken from the shape the body was made from still carries its location.
        const TopLoc_Location& source = body->data().sourceLocation;
        if (source.IsIdentity())
            return nullptr;
        return orik::findSubEntity(self, kind, sub_shape.Moved(source.Inverted()));
    });
}
