// Default behaviour of mesh managers: ignore everything, ask for counts only.
#include <orik/INDEXED_MESH_MANAGER.h>

#include <cstdint>

MESH_MANAGER::~MESH_MANAGER() = default;

void MESH_MANAGER::begin_mesh_output(ENTITY*, ENTITY*) {}
void MESH_MANAGER::end_mesh_output(ENTITY*, ENTITY*) {}
void MESH_MANAGER::save_mesh_output(ENTITY*, ENTITY*) {}
void MESH_MANAGER::announce_counts(int, int, int) {}
logical MESH_MANAGER::need_approx_counts() {
    return TRUE;
}
logical MESH_MANAGER::need_indexed_polygons() {
    return FALSE;
}
logical MESH_MANAGER::need_duplicate_indexed_nodes_at_singularities() {
    return FALSE;
}

void* MESH_MANAGER::announce_indexed_node(int node, const SPApar_pos&, const SPAposition&,
                                          const SPAunit_vector&) {
    // The node's index, as a handle that needs no storage.
    return reinterpret_cast<void*>(static_cast<intptr_t>(node));
}

void MESH_MANAGER::start_indexed_polygon(int, int, int) {}

void MESH_MANAGER::start_shareable_indexed_polygon(int polygon, int node_count, int share) {
    start_indexed_polygon(polygon, node_count, share);
}

void MESH_MANAGER::end_indexed_polygon(int) {}
void MESH_MANAGER::announce_indexed_polynode(int, int, void*) {}
void MESH_MANAGER::start_coordinate_polygon(int, int) {}
void MESH_MANAGER::announce_coordinate_polynode(int, int, const SPAposition&,
                                                const SPAunit_vector&) {}
void MESH_MANAGER::end_coordinate_polygon(int) {}
logical MESH_MANAGER::need_strip_polygons() {
    return FALSE;
}
logical MESH_MANAGER::need_internal_data() {
    return FALSE;
}
void MESH_MANAGER::end_entity_output(ENTITY*) {}

logical INDEXED_MESH_MANAGER::need_indexed_polygons() {
    return TRUE;
}
