// Meshes of faces that come out the same at every tolerance: planar faces bounded by straight
// edges only (BRepMesh puts no node inside a plane and none inside a line). A later meshing at
// other tolerances gets a copy back instead of meshing the face again.
#pragma once

#include <Poly_Triangulation.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>
#include <TopoDS_TShape.hxx>

#include <unordered_map>
#include <vector>

namespace orik {
namespace facet {

class FixedFaceMeshes {
public:
    // True for a face whose BRepMesh mesh does not depend on the tolerances.
    static bool IsFixed(const TopoDS_Face& face);

    // Gives every listed face that has no triangulation a copy of its remembered mesh, if that
    // was made at a finer deflection (a later, coarser pass; the first pass always meshes).
    // BRepMesh keeps such a triangulation as it is at least as fine as asked.
    void Restore(const std::vector<TopoDS_Face>& faces, double deflection) const;

    // Remembers a copy of the triangulation of every listed fixed face not yet remembered
    // (before strips or normals change it), made at the deflection. Forgets faces no one else
    // holds any more.
    void Remember(const std::vector<TopoDS_Face>& faces, double deflection);

    // Forgets everything.
    void Clear() { meshes_.clear(); }

private:
    struct Entry {
        TopoDS_Shape face;  // keeps the key alive
        Handle(Poly_Triangulation) mesh;
        double deflection;
    };

    std::unordered_map<const TopoDS_TShape*, Entry> meshes_;
    size_t sizeAtLastSweep_ = 0;
};

}  // namespace facet
}  // namespace orik
