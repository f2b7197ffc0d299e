// Base of mesh managers that take polygons by node index.
#pragma once

#include <orik/MESH_MANAGER.h>

// A mesh manager that asks for indexed polygons (need_indexed_polygons() answers TRUE); all
// other operations behave as in MESH_MANAGER.
class INDEXED_MESH_MANAGER : public MESH_MANAGER {
public:
    INDEXED_MESH_MANAGER() = default;
    logical need_indexed_polygons() override;
};
