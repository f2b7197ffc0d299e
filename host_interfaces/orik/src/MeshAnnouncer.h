// Announces one face's mesh to a mesh manager in the manager protocol (see MESH_MANAGER.h).
#pragma once

#include "facet/FaceTessellator.h"

#include <orik/MESH_MANAGER.h>

#include <gp_Trsf.hxx>

namespace orik {

// Announces the face's mesh: nodes (placed by placement, which is the identity inside bodies),
// then its triangles as strips or single triangles as the manager asks, between
// begin_mesh_output and save_mesh_output.
void announceFaceMesh(MESH_MANAGER& manager, ENTITY* face, ENTITY* owner,
                      const facet::FaceMesh& mesh, const gp_Trsf& placement);

}  // namespace orik
