// The entity base class, type tests, and what bodies and collections report about themselves.
#include "ApiFrame.h"
#include "EntityData.h"
#include "ShapeProps.h"

#include <orik/BODY.h>
#include <orik/ENTITY.h>
#include <orik/KVXCOLLECTION.h>
#include <orik/WCS.h>

#include <TopExp_Explorer.hxx>

ENTITY::ENTITY(orik::EntityData* data) : data_(data) {}

ENTITY::~ENTITY() {
    delete data_;
}

ENTITY* ENTITY::owner() const {
    return data_->owner;
}

ENTITY* ENTITY::root() const {
    return data_->owner ? data_->owner : const_cast<ENTITY*>(this);
}

int ENTITY::attribute_count() const {
    return int(data_->attributes.size());
}

ATTRIB_GEN_NAME* ENTITY::attribute(int i) const {
    if (i < 0 || i >= attribute_count())
        return nullptr;
    return data_->attributes[size_t(i)].get();
}

namespace {

logical isType(const ENTITY* entity, int type) {
    return entity != nullptr && entity->identity() == type ? TRUE : FALSE;
}

}  // namespace

// The type test is_<TYPE> for one entity type.
#define ORIK_TYPE_TEST(name, type)            \
    logical is_##name(const ENTITY* entity) { \
        return isType(entity, type);          \
    }

ORIK_TYPE_TEST(BODY, ORIK_BODY_TYPE)
ORIK_TYPE_TEST(FACE, ORIK_FACE_TYPE)
ORIK_TYPE_TEST(EDGE, ORIK_EDGE_TYPE)
ORIK_TYPE_TEST(WIRE, ORIK_WIRE_TYPE)
ORIK_TYPE_TEST(VERTEX, ORIK_VERTEX_TYPE)
ORIK_TYPE_TEST(WCS, ORIK_WCS_TYPE)
ORIK_TYPE_TEST(KVXCOLLECTION, ORIK_COLLECTION_TYPE)

#undef ORIK_TYPE_TEST

const KVXtransf* BODY::transform() const {
    return data().transform.get();
}

logical is_closed_solid_body(const BODY* body) {
    if (!orik::EntityStore::instance().alive(body))
        return FALSE;
    return orik::guarded<logical>(FALSE, [body]() -> logical {
        const TopoDS_Shape& shape = body->data().shape;
        // Faces outside shells are open sheets.
        if (TopExp_Explorer(shape, TopAbs_FACE, TopAbs_SHELL).More())
            return FALSE;
        bool anyShell = false;
        for (TopExp_Explorer it(shape, TopAbs_SHELL); it.More(); it.Next()) {
            if (!orik::isClosedShell(it.Current()))  // by edges, or by triangles
                return FALSE;
            anyShell = true;
        }
        return anyShell ? TRUE : FALSE;
    });
}

int KVXCOLLECTION::member_count() const {
    return int(data().members.size());
}

ENTITY* KVXCOLLECTION::member(int i) const {
    if (i < 0 || i >= member_count())
        return nullptr;
    return data().members[size_t(i)].entity;
}

logical KVXCOLLECTION::owns_member(int i) const {
    if (i < 0 || i >= member_count())
        return FALSE;
    return data().members[size_t(i)].owned ? TRUE : FALSE;
}

namespace {

SPAunit_vector toVector(const gp_Dir& direction) {
    return SPAunit_vector(direction.X(), direction.Y(), direction.Z());
}

}  // namespace

SPAposition WCS::origin() const {
    const gp_Pnt& p = data().axes.Location();
    return SPAposition(p.X(), p.Y(), p.Z());
}

SPAunit_vector WCS::x_axis() const {
    return toVector(data().axes.XDirection());
}
SPAunit_vector WCS::y_axis() const {
    return toVector(data().axes.YDirection());
}
SPAunit_vector WCS::z_axis() const {
    return toVector(data().axes.Direction());
}
