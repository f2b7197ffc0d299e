// Topology queries, copies, deletion, collections and coordinate systems.
#include "ApiFrame.h"
#include "EntityData.h"
#include "EntityStore.h"

#include <orik/KVXCOLLECTION.h>
#include <orik/OrikTopologyApi.h>
#include <orik/WCS.h>

#include <gp_Ax3.hxx>
#include <gp_Vec.hxx>

#include <unordered_set>
#include <vector>

using orik::EntityStore;
using orik::require;
using orik::requireAlive;
using orik::runApi;
using orik::SubKind;

namespace {

outcome getSubEntities(const char* call, ENTITY* entity, ENTITY_LIST& list, SubKind kind) {
    return runApi(call, [entity, &list, kind] {
        requireAlive(entity);
        std::vector<ENTITY*> found;
        orik::collectSubEntities(entity, kind, found);
        for (ENTITY* sub : found)
            list.add(sub);
        return outcome();
    });
}

// True when owner is target or owns it through owned members, however deep.
bool ownsInTheEnd(ENTITY* owner, const ENTITY* target) {
    std::vector<ENTITY*> pending{owner};
    std::unordered_set<ENTITY*> seen;
    while (!pending.empty()) {
        ENTITY* entity = pending.back();
        pending.pop_back();
        if (entity == target)
            return true;
        if (!seen.insert(entity).second)
            continue;
        for (const orik::Member& member : entity->data().members) {
            if (member.owned)
                pending.push_back(member.entity);
        }
    }
    return false;
}

void copyOwnData(const ENTITY* from, ENTITY* to) {
    const orik::EntityData& source = from->data();
    orik::EntityData& target = to->data();
    for (const auto& attrib : source.attributes) {
        target.attributes.emplace_back(attrib->copy());
        if (attrib->identity() == ATTRIB_GEN_ENTITY_TYPE)
            EntityStore::instance().noteReferrer(to);
    }
    target.color = source.color;
    target.refinement = source.refinement;
}

// Sub-entities already indexed in the source get their attributes, colors and refinements
// carried over to the copy's sub-entities at the same index.
void copySubEntityData(ENTITY* from, ENTITY* to) {
    for (int k = 0; k < orik::kSubKindCount; ++k) {
        const orik::SubTable& source = from->data().subTables[k];
        if (!source.built)
            continue;
        const orik::SubTable& target = orik::subTable(to, SubKind(k));
        for (size_t i = 0; i < source.entities.size() && i < target.entities.size(); ++i) {
            if (source.entities[i] != from)
                copyOwnData(source.entities[i], target.entities[i]);
        }
    }
}

ENTITY* copyEntity(ENTITY* entity);

ENTITY* copyCollection(ENTITY* collection) {
    KVXCOLLECTION* copy = EntityStore::instance().makeCollection();
    for (const orik::Member& member : collection->data().members) {
        ENTITY* memberCopy = member.owned ? copyEntity(member.entity) : member.entity;
        copy->data().members.push_back({memberCopy, member.owned});
    }
    return copy;
}

ENTITY* copyEntity(ENTITY* entity) {
    const orik::EntityData& source = entity->data();
    ENTITY* copy = nullptr;
    if (entity->identity() == ORIK_COLLECTION_TYPE) {
        copy = copyCollection(entity);
    } else if (entity->identity() == ORIK_WCS_TYPE) {
        copy = EntityStore::instance().makeWcs(source.axes);
    } else if (source.topLevel()) {
        copy = EntityStore::instance().makeTopLevel(OrikEntityType(entity->identity()),
                                                    source.shape, source.placement);
        copy->data().sourceLocation = source.sourceLocation;
        if (source.transform)
            copy->data().transform = std::make_unique<KVXtransf>(*source.transform);
        copySubEntityData(entity, copy);
    } else {
        // A sub-entity becomes a free entity that keeps reporting in its body's coordinates.
        copy = EntityStore::instance().makeTopLevel(OrikEntityType(entity->identity()),
                                                    source.shape, orik::outputTransform(entity));
    }
    copyOwnData(entity, copy);
    return copy;
}

}  // namespace

outcome api_get_faces(ENTITY* entity, ENTITY_LIST& list, int, OrikOptions*) {
    return getSubEntities("api_get_faces", entity, list, SubKind::Face);
}

outcome api_get_edges(ENTITY* entity, ENTITY_LIST& list, int, OrikOptions*) {
    return getSubEntities("api_get_edges", entity, list, SubKind::Edge);
}

outcome api_get_wires(ENTITY* entity, ENTITY_LIST& list, int, OrikOptions*) {
    return getSubEntities("api_get_wires", entity, list, SubKind::Wire);
}

outcome api_get_vertices(ENTITY* entity, ENTITY_LIST& list, int, OrikOptions*) {
    return getSubEntities("api_get_vertices", entity, list, SubKind::Vertex);
}

outcome api_down_copy_entity(ENTITY* entity, ENTITY*& copy, OrikOptions*) {
    copy = nullptr;
    return runApi("api_down_copy_entity", [entity, &copy] {
        requireAlive(entity);
        copy = copyEntity(entity);
        return outcome();
    });
}

outcome api_delent(ENTITY* entity, OrikOptions*) {
    return runApi("api_delent", [entity] {
        requireAlive(entity);
        require(entity->data().topLevel(), ORIK_NOT_TOP_LEVEL);
        EntityStore::instance().destroy(entity);
        return outcome();
    });
}

outcome api_del_entity_list(ENTITY_LIST& list, OrikOptions*) {
    return runApi("api_del_entity_list", [&list] {
        EntityStore& store = EntityStore::instance();
        for (int i = 0; i < list.count(); ++i) {
            ENTITY* entity = list[i];
            // An entry may already be gone with an owner deleted before it.
            if (store.alive(entity) && entity->data().topLevel())
                store.destroy(entity);
        }
        list.clear();
        return outcome();
    });
}

outcome api_make_collection(KVXCOLLECTION*& collection, OrikOptions*) {
    collection = nullptr;
    return runApi("api_make_collection", [&collection] {
        collection = EntityStore::instance().makeCollection();
        return outcome();
    });
}

outcome api_add_to_collection(KVXCOLLECTION* collection, ENTITY* member, logical owned,
                              OrikOptions*) {
    return runApi("api_add_to_collection", [collection, member, owned] {
        requireAlive(collection);
        requireAlive(member);
        require(member != collection, ORIK_BAD_ARGUMENT);
        require(!owned || member->data().topLevel(), ORIK_NOT_TOP_LEVEL);
        // Owned members are deleted and copied with their owner, so ownership may not loop.
        require(!owned || !ownsInTheEnd(member, collection), ORIK_BAD_ARGUMENT);
        auto& members = collection->data().members;
        for (const orik::Member& existing : members) {
            if (existing.entity == member)
                return outcome();
        }
        members.push_back({member, owned != FALSE});
        return outcome();
    });
}

outcome api_wcs_create(const SPAposition& origin, const SPAposition& x_point,
                       const SPAposition& y_point, WCS*& wcs, OrikOptions*) {
    wcs = nullptr;
    return runApi("api_wcs_create", [&] {
        const gp_Pnt o(origin.x(), origin.y(), origin.z());
        const gp_Vec x(o, gp_Pnt(x_point.x(), x_point.y(), x_point.z()));
        const gp_Vec y(o, gp_Pnt(y_point.x(), y_point.y(), y_point.z()));
        const gp_Vec z = x.Crossed(y);
        require(x.Magnitude() > 1e-12 && z.Magnitude() > 1e-12, ORIK_BAD_ARGUMENT);
        wcs = EntityStore::instance().makeWcs(gp_Ax3(o, gp_Dir(z), gp_Dir(x)));
        return outcome();
    });
}
