// Makes and deletes the kernel's entities and knows which ones are alive.
#pragma once

#include "EntityData.h"

#include <orik/ENTITY.h>
#include <orik/KVXCOLLECTION.h>
#include <orik/WCS.h>

#include <functional>
#include <unordered_set>

namespace orik {

class EntityStore {
public:
    // The one store of the process.
    static EntityStore& instance();

    // A top-level entity of the class that fits the shape (type given) over the unlocated shape.
    ENTITY* makeTopLevel(OrikEntityType type, const TopoDS_Shape& shape, const gp_Trsf& placement);
    // A sub-entity of root over one of its sub-shapes.
    ENTITY* makeSub(SubKind kind, const TopoDS_Shape& subShape, ENTITY* root);
    KVXCOLLECTION* makeCollection();
    WCS* makeWcs(const gp_Ax3& axes);

    // True for an entity made here and not yet deleted (null is not alive).
    bool alive(const ENTITY* entity) const;
    // Deletes a top-level entity, its sub-entities and its owned collection members; collections
    // and entity attributes that refer to any of them forget them.
    void destroy(ENTITY* root);
    // Deletes every entity still alive.
    void destroyAll();
    // Remembers that the entity carries entity-reference attributes.
    void noteReferrer(ENTITY* entity) { referrers_.insert(entity); }
    // Called with each top-level entity about to be deleted (before anything is freed).
    void setDestroyHook(std::function<void(ENTITY*)> hook) { destroyHook_ = std::move(hook); }

private:
    EntityStore() = default;
    void collectDying(ENTITY* root, std::unordered_set<ENTITY*>& dying) const;
    void forget(const std::unordered_set<ENTITY*>& dying);
    void free(ENTITY* entity);

    std::unordered_set<const ENTITY*> alive_;
    std::unordered_set<ENTITY*> topLevel_;
    std::unordered_set<ENTITY*> collections_;
    std::unordered_set<ENTITY*> referrers_;
    std::function<void(ENTITY*)> destroyHook_;
};

}  // namespace orik
