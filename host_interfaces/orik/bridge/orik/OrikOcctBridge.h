// Bridge between kernel entities and Open CASCADE shapes, for the translator and the kernel's
// own sources only (it exposes OCCT types; the library and the host never include it).
// Every function requires a running modeller and returns null / an empty shape otherwise;
// none throws.
#pragma once

#include <orik/BODY.h>
#include <orik/EDGE.h>
#include <orik/FACE.h>
#include <orik/VERTEX.h>
#include <orik/WIRE.h>

#include <TopoDS_Shape.hxx>
#include <gp_Trsf.hxx>

// Makes a top-level body over a shape (solid, compsolid, shell, face, compound, wire, edge or
// vertex). The body's transform is placement * (the shape's own location); the geometry is kept
// without location, so bodies made from the same TopoDS_TShape share it and its facets. A
// placement with a non-uniform scale is refused. Null for a null shape. The kernel owns the
// body until it is deleted (api_delent, api_del_entity_list, api_stop_modeller).
BODY* orik_make_body(const TopoDS_Shape& shape, const gp_Trsf& placement = gp_Trsf());

// Free entities (no body) over a shape of the matching type; the shape's location is kept as the
// entity's placement and applied to everything the entity reports (positions, facets, samples).
// Null for a null shape or a shape of another type. Owned like bodies.
FACE* orik_make_free_face(const TopoDS_Shape& face);
EDGE* orik_make_free_edge(const TopoDS_Shape& edge);
WIRE* orik_make_free_wire(const TopoDS_Shape& wire);
VERTEX* orik_make_free_vertex(const TopoDS_Shape& vertex);

// The shape an entity wraps, without the top-level placement: for a body its geometry in the
// body's coordinates; for a face, edge, wire or vertex of a body the sub-shape as found in that
// geometry (with its inner location and its orientation in the body); for free entities the
// shape without its placement. Empty for null, coordinate systems and collections.
TopoDS_Shape orik_entity_shape(const ENTITY* entity);
// The placement of an entity's top-level entity (a body's transform, a free entity's
// location); identity for null and entities without one.
gp_Trsf orik_entity_placement(const ENTITY* entity);

// The face (edge, wire, vertex) entity of a body that wraps a sub-shape of its geometry. The
// sub-shape is matched by TopoDS_Shape::IsSame (orientation ignored) against the geometry of
// orik_entity_shape(body), or against the shape the body was made from (with its location).
// Null when the body has no such sub-shape.
ENTITY* orik_find_sub_entity(const BODY* body, const TopoDS_Shape& sub_shape);
