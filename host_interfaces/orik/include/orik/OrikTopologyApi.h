// Topology queries, copying and deleting entities, collections and coordinate systems.
#pragma once

#include <orik/ENTITY_LIST.h>
#include <orik/OrikOptions.h>
#include <orik/outcome.h>

class ENTITY;
class KVXCOLLECTION;
class WCS;

// Appends to `list` the faces (edges, wires, vertices) of the entity, each once, in a stable
// order (the same on every call while the entity lives). A face asked for its faces gives
// itself. pattern is reserved (pass 0). A null entity gives ORIK_NULL_ENTITY; entities without
// such sub-entities (a collection, a coordinate system) add nothing and succeed.
outcome api_get_faces(ENTITY* entity, ENTITY_LIST& list, int pattern = 0,
                      OrikOptions* options = nullptr);
outcome api_get_edges(ENTITY* entity, ENTITY_LIST& list, int pattern = 0,
                      OrikOptions* options = nullptr);
outcome api_get_wires(ENTITY* entity, ENTITY_LIST& list, int pattern = 0,
                      OrikOptions* options = nullptr);
outcome api_get_vertices(ENTITY* entity, ENTITY_LIST& list, int pattern = 0,
                         OrikOptions* options = nullptr);

// Copies an entity with everything below it into a new top-level entity that the caller owns
// (delete it with api_delent). The copy shares the geometry, and gets copies of the attributes
// and colors; a copied face or edge of a body keeps the body's coordinates.
outcome api_down_copy_entity(ENTITY* entity, ENTITY*& copy, OrikOptions* options = nullptr);
// Deletes a top-level entity with everything it owns. Sub-entities of a body cannot be deleted
// on their own (ORIK_NOT_TOP_LEVEL). Lists and collections that refer to it forget it.
outcome api_delent(ENTITY* entity, OrikOptions* options = nullptr);
// Deletes every top-level entity of the list (sub-entities listed are skipped) and empties the
// list; the list object stays the caller's.
outcome api_del_entity_list(ENTITY_LIST& list, OrikOptions* options = nullptr);

// Makes an empty collection owned by the caller (delete it with api_delent).
outcome api_make_collection(KVXCOLLECTION*& collection, OrikOptions* options = nullptr);
// Appends a member; with owned TRUE the collection deletes it with itself (an owned member
// must be a top-level entity owned by nobody else, and a collection that owns the collection,
// however deep, gives ORIK_BAD_ARGUMENT). Adding a member twice keeps one.
outcome api_add_to_collection(KVXCOLLECTION* collection, ENTITY* member, logical owned,
                              OrikOptions* options = nullptr);

// Makes a coordinate system at origin whose x axis points at x_point and whose xy plane holds
// y_point; degenerate input gives ORIK_BAD_ARGUMENT.
outcome api_wcs_create(const SPAposition& origin, const SPAposition& x_point,
                       const SPAposition& y_point, WCS*& wcs, OrikOptions* options = nullptr);
