#include "EntityStore.h"

#include <orik/BODY.h>
#include <orik/EDGE.h>
#include <orik/FACE.h>
#include <orik/VERTEX.h>
#include <orik/WIRE.h>

#include <vector>

namespace orik {

EntityStore& EntityStore::instance() {
    // Never destroyed: entities alive at exit stay reachable and are not freed after OCCT's own
    // statics are gone.
    static EntityStore* store = new EntityStore;
    return *store;
}

namespace {

ENTITY* newEntity(OrikEntityType type, EntityData* data) {
    switch (type) {
        case ORIK_BODY_TYPE:
            return new BODY(data);
        case ORIK_FACE_TYPE:
            return new FACE(data);
        case ORIK_EDGE_TYPE:
            return new EDGE(data);
        case ORIK_WIRE_TYPE:
            return new WIRE(data);
        case ORIK_VERTEX_TYPE:
            return new VERTEX(data);
        case ORIK_WCS_TYPE:
            return new WCS(data);
        case ORIK_COLLECTION_TYPE:
            return new KVXCOLLECTION(data);
    }
    return nullptr;
}

OrikEntityType entityTypeOf(SubKind kind) {
    switch (kind) {
        case SubKind::Face:
            return ORIK_FACE_TYPE;
        case SubKind::Edge:
            return ORIK_EDGE_TYPE;
        case SubKind::Wire:
            return ORIK_WIRE_TYPE;
        case SubKind::Vertex:
            break;
    }
    return ORIK_VERTEX_TYPE;
}

}  // namespace

ENTITY* EntityStore::makeTopLevel(OrikEntityType type, const TopoDS_Shape& shape,
                                  const gp_Trsf& placement) {
    auto data = std::make_unique<EntityData>(shape, placement);
    ENTITY* entity = newEntity(type, data.get());
    data.release();
    alive_.insert(entity);
    topLevel_.insert(entity);
    if (type == ORIK_COLLECTION_TYPE)
        collections_.insert(entity);
    return entity;
}

ENTITY* EntityStore::makeSub(SubKind kind, const TopoDS_Shape& subShape, ENTITY* root) {
    auto data = std::make_unique<EntityData>(subShape, root);
    ENTITY* entity = newEntity(entityTypeOf(kind), data.get());
    data.release();
    alive_.insert(entity);
    return entity;
}

KVXCOLLECTION* EntityStore::makeCollection() {
    return static_cast<KVXCOLLECTION*>(
        makeTopLevel(ORIK_COLLECTION_TYPE, TopoDS_Shape(), gp_Trsf()));
}

WCS* EntityStore::makeWcs(const gp_Ax3& axes) {
    ENTITY* entity = makeTopLevel(ORIK_WCS_TYPE, TopoDS_Shape(), gp_Trsf());
    entity->data().axes = axes;
    return static_cast<WCS*>(entity);
}

bool EntityStore::alive(const ENTITY* entity) const {
    return entity != nullptr && alive_.count(entity) != 0;
}

void EntityStore::collectDying(ENTITY* root, std::unordered_set<ENTITY*>& dying) const {
    if (!dying.insert(root).second)
        return;
    EntityData& data = root->data();
    for (const SubTable& table : data.subTables) {
        for (ENTITY* sub : table.entities)
            dying.insert(sub);
    }
    for (const Member& member : data.members) {
        if (member.owned && alive(member.entity) && member.entity->data().topLevel()) {
            collectDying(member.entity, dying);
        }
    }
}

void EntityStore::forget(const std::unordered_set<ENTITY*>& dying) {
    for (ENTITY* collection : collections_) {
        if (dying.count(collection))
            continue;
        auto& members = collection->data().members;
        for (size_t i = members.size(); i-- > 0;) {
            if (dying.count(members[i].entity))
                members.erase(members.begin() + long(i));
        }
    }
    for (ENTITY* referrer : referrers_) {
        if (dying.count(referrer))
            continue;
        for (auto& attrib : referrer->data().attributes) {
            if (attrib->identity() != ATTRIB_GEN_ENTITY_TYPE)
                continue;
            auto* reference = static_cast<ATTRIB_GEN_ENTITY*>(attrib.get());
            if (dying.count(reference->value()))
                reference->set_value(nullptr);
        }
    }
}

void EntityStore::destroy(ENTITY* root) {
    if (!alive(root) || !root->data().topLevel())
        return;
    std::unordered_set<ENTITY*> dying;
    collectDying(root, dying);
    if (destroyHook_) {
        for (ENTITY* entity : dying) {
            if (entity->data().topLevel())
                destroyHook_(entity);
        }
    }
    forget(dying);
    for (ENTITY* entity : dying) {
        alive_.erase(entity);
        topLevel_.erase(entity);
        collections_.erase(entity);
        referrers_.erase(entity);
    }
    for (ENTITY* entity : dying)
        free(entity);
}

void EntityStore::destroyAll() {
    while (!topLevel_.empty())
        destroy(*topLevel_.begin());
}

void EntityStore::free(ENTITY* entity) {
    delete entity;
}

}  // namespace orik
