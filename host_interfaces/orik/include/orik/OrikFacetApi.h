// Faceting: refinements, mesh managers and the faceting calls.
#pragma once

#include <orik/INDEXED_MESH_MANAGER.h>
#include <orik/MESH_MANAGER.h>
#include <orik/OrikOptions.h>
#include <orik/REFINEMENT.h>
#include <orik/facet_options.h>
#include <orik/outcome.h>

class ENTITY;

// Creates a refinement with default values. The kernel owns it (deleted at api_stop_modeller).
outcome api_create_refinement(REFINEMENT*& refinement, OrikOptions* options = nullptr);
// Attaches the refinement to the entity and, with apply_to_children TRUE, to its faces and
// edges; null detaches it. Faceting reads the refinement's values at the time it runs.
outcome api_set_entity_refinement(ENTITY* entity, REFINEMENT* refinement, logical apply_to_children,
                                  OrikOptions* options = nullptr);
// The refinement attached to the entity itself (null when none).
outcome api_get_entity_refinement(const ENTITY* entity, REFINEMENT*& refinement,
                                  OrikOptions* options = nullptr);

// The installed mesh manager (null when none).
outcome api_get_mesh_manager(MESH_MANAGER*& manager);
// Installs a mesh manager (null: none). The kernel does not own it; the caller keeps it alive
// while installed and deletes it after installing another.
outcome api_set_mesh_manager(MESH_MANAGER* manager, OrikOptions* options = nullptr);

// Facets a face, or every face of a body (or of any entity with faces), under the refinement
// attached to the face (else to its owner, else defaults; see REFINEMENT), and announces each
// face to the installed mesh manager (protocol in <orik/MESH_MANAGER.h>). Facets are cached with
// the geometry until api_delete_entity_facets; a geometry shared by several bodies is faceted
// once per tolerance. An entity without faces succeeds and announces nothing.
outcome api_facet_entity(ENTITY* entity, facet_options* fo = nullptr,
                         OrikOptions* options = nullptr);
// Drops the facets cached for the entity's geometry (the whole body's for a face of a body), so
// that the next faceting starts afresh. with_children is accepted for compatibility (facets
// always go with their body).
outcome api_delete_entity_facets(ENTITY* entity, logical with_children,
                                 OrikOptions* options = nullptr);
