// Refinements, mesh managers and the faceting calls.
#include "ApiFrame.h"
#include "EntityData.h"
#include "Faceter.h"
#include "Kernel.h"

#include <orik/OrikFacetApi.h>

using orik::Faceter;
using orik::Kernel;
using orik::require;
using orik::requireAlive;
using orik::runApi;
using orik::SubKind;

outcome api_create_refinement(REFINEMENT*& refinement, OrikOptions*) {
    refinement = nullptr;
    return runApi("api_create_refinement", [&refinement] {
        refinement = Kernel::instance().createRefinement();
        return outcome();
    });
}

outcome api_set_entity_refinement(ENTITY* entity, REFINEMENT* refinement, logical apply_to_children,
                                  OrikOptions*) {
    return runApi("api_set_entity_refinement", [entity, refinement, apply_to_children] {
        requireAlive(entity);
        require(refinement == nullptr || Kernel::instance().ownsRefinement(refinement),
                ORIK_BAD_ARGUMENT);
        entity->data().refinement = refinement;
        if (!apply_to_children)
            return outcome();
        for (SubKind kind : {SubKind::Face, SubKind::Edge}) {
            std::vector<ENTITY*> children;
            orik::collectSubEntities(entity, kind, children);
            for (ENTITY* child : children)
                child->data().refinement = refinement;
        }
        return outcome();
    });
}

outcome api_get_entity_refinement(const ENTITY* entity, REFINEMENT*& refinement, OrikOptions*) {
    refinement = nullptr;
    return runApi("api_get_entity_refinement", [entity, &refinement] {
        requireAlive(entity);
        refinement = entity->data().refinement;
        return outcome();
    });
}

outcome api_get_mesh_manager(MESH_MANAGER*& manager) {
    manager = nullptr;
    return runApi("api_get_mesh_manager", [&manager] {
        manager = Kernel::instance().meshManager;
        return outcome();
    });
}

outcome api_set_mesh_manager(MESH_MANAGER* manager, OrikOptions*) {
    return runApi("api_set_mesh_manager", [manager] {
        Kernel::instance().meshManager = manager;
        return outcome();
    });
}

outcome api_facet_entity(ENTITY* entity, facet_options* fo, OrikOptions*) {
    return runApi("api_facet_entity", [entity, fo] {
        requireAlive(entity);
        std::vector<ENTITY*> faces;
        orik::collectSubEntities(entity, SubKind::Face, faces);
        const facet_options defaults;
        const facet_options& options = fo != nullptr ? *fo : defaults;
        Faceter::instance().facet(entity, faces, Kernel::instance().meshManager,
                                  options.get_reuse_facets() != 0, options.get_time_limit());
        return outcome();
    });
}

outcome api_delete_entity_facets(ENTITY* entity, logical, OrikOptions*) {
    return runApi("api_delete_entity_facets", [entity] {
        requireAlive(entity);
        Faceter::instance().release(entity->root());
        return outcome();
    });
}
