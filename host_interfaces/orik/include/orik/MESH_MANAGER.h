// The receiver of faceting output. api_facet_entity announces each face's mesh to the installed
// manager (api_set_mesh_manager) through these virtual operations.
#pragma once

#include <orik/ORIK_OBJECT.h>
#include <orik/OrikTypes.h>

class ENTITY;

// Share codes of start_indexed_polygon.
enum OrikPolygonShare {
    ORIK_SHARE_NONE = -1,     // the polygon starts a new triangle strip
    ORIK_SHARE_PREVIOUS = 1,  // the polygon continues the strip of the previous polygon
};

// Base mesh manager: every operation does nothing, every query answers FALSE except
// need_approx_counts. Managers derive from it and override what they need.
//
// Protocol of api_facet_entity, for each face of the entity in order:
//   begin_mesh_output(face, owner)
//   announce_counts(P, N, Q)                 if need_approx_counts(); exact counts
//   if need_indexed_polygons():
//     announce_indexed_node(n, uv, pos, normal) for n = 0 .. N-1
//     for each polygon p = 0 .. P-1:
//       start_shareable_indexed_polygon(p, 3, share)  (passes on to start_indexed_polygon)
//       end_indexed_polygon(p)
//       announce_indexed_polynode(p, i, handle of its node) for i = 0, 1, 2
//   else for each polygon p:
//       start_coordinate_polygon(p, 3); announce_coordinate_polynode(p, i, pos, normal) for
//       i = 0, 1, 2; end_coordinate_polygon(p)
//   end_mesh_output(face, owner)
//   save_mesh_output(face, owner)
// and end_entity_output(entity) once after the last face.
//
// Polygons are triangles. With need_strip_polygons() TRUE they come as triangle strips: a strip
// starts with a polygon of share code ORIK_SHARE_NONE and its three nodes; each continuation has
// share code ORIK_SHARE_PREVIOUS, repeats the two nodes it shares with the previous triangle at
// positions 0 and 1 and brings its one new node at position 2. The three polynodes of every
// polygon are in the triangle's own counter-clockwise order seen from outside the face, so the
// standard strip alternation reproduces each triangle's winding. With need_strip_polygons()
// FALSE every triangle is a strip start. Positions and normals are in the coordinates of the
// face's body (model coordinates for free faces); normals point out of the material.
class MESH_MANAGER : public ORIK_OBJECT {
public:
    MESH_MANAGER() = default;
    ~MESH_MANAGER() override;

    // A face's output begins; owner is its body (null for a free face).
    virtual void begin_mesh_output(ENTITY* face, ENTITY* owner);
    // The face's output is complete (after its last polygon).
    virtual void end_mesh_output(ENTITY* face, ENTITY* owner);
    // Lets the manager keep the face's output (after end_mesh_output).
    virtual void save_mesh_output(ENTITY* face, ENTITY* owner);

    // Exact numbers of polygons, nodes and polynodes of the face about to be announced.
    virtual void announce_counts(int polygons, int nodes, int polynodes);
    // Whether announce_counts is wanted; TRUE by default.
    virtual logical need_approx_counts();
    // Whether polygons are announced by node index (TRUE) or by coordinates (FALSE).
    virtual logical need_indexed_polygons();
    // Whether nodes at surface singularities (cone apex, sphere pole) should be duplicated per
    // triangle; the mesher keeps one node per point and asks only to report it (FALSE default).
    virtual logical need_duplicate_indexed_nodes_at_singularities();
    // A node of the face: its index (0-based in the face), surface parameters, position and
    // unit normal. Returns the handle later passed to announce_indexed_polynode.
    virtual void* announce_indexed_node(int node, const SPApar_pos& uv, const SPAposition& pos,
                                        const SPAunit_vector& normal);
    // A polygon of polynodes node_count starts; share is an OrikPolygonShare value.
    virtual void start_indexed_polygon(int polygon, int node_count, int share);
    // The kernel's entry for a polygon start; passes it on to start_indexed_polygon.
    virtual void start_shareable_indexed_polygon(int polygon, int node_count, int share);
    // Closes the polygon's header; its polynodes follow.
    virtual void end_indexed_polygon(int polygon);
    // Polynode at position (0..2) of a polygon refers to the node with this handle.
    virtual void announce_indexed_polynode(int polygon, int position, void* node_handle);

    // Coordinate form, used when need_indexed_polygons() is FALSE.
    virtual void start_coordinate_polygon(int polygon, int node_count);
    virtual void announce_coordinate_polynode(int polygon, int position, const SPAposition& pos,
                                              const SPAunit_vector& normal);
    virtual void end_coordinate_polygon(int polygon);
    // Whether triangles are announced as strips (see above); FALSE by default.
    virtual logical need_strip_polygons();
    // Whether node announcements carry surface parameters; when FALSE uv is (0, 0).
    virtual logical need_internal_data();
    // api_facet_entity has announced every face of the entity.
    virtual void end_entity_output(ENTITY* entity);
};
