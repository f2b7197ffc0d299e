// Coarser meshes derived from finer ones: once BRepMesh has meshed a shape's faces, a later
// meshing at a coarser deflection (a further level of detail) coarsens those meshes instead of
// meshing again. Edge discretisations are thinned once per edge, the same way for every face
// along it, so that neighbouring faces still meet node for node.
#pragma once

#include "MeshParameters.h"

#include <Poly_Triangulation.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>
#include <TopoDS_TShape.hxx>

#include <unordered_map>
#include <vector>

namespace orik {
namespace facet {

class CoarseLevels {
public:
    // Remembers the triangulations the faces hold now, made at these parameters, with the node
    // numbers of their edges' discretisations. Faces without a surface or a triangulation are left
    // out. Forgets faces no one else holds any more.
    void Remember(const std::vector<TopoDS_Face>& faces, const MeshParameters& parameters);

    // Gives every face with a surface a coarser copy of its remembered triangulation when each
    // was made at a finer deflection and the same angle, without an edge length limit; every
    // new triangle stays within the difference of the deflections of the finer mesh. False, and
    // nothing changed, when a face has no such mesh or cannot be coarsened.
    bool Derive(const std::vector<TopoDS_Face>& faces, const MeshParameters& parameters) const;

    void Clear() { entries_.clear(); }

private:
    struct Polygon {
        const TopoDS_TShape* edge;
        std::vector<int> nodes;  // 1-based triangulation nodes, in the edge's direction
        bool degenerated;
    };
    struct Entry {
        TopoDS_Shape face;  // keeps the key alive
        Handle(Poly_Triangulation) mesh;
        std::vector<Polygon> boundary;
        MeshParameters parameters;
    };
    using EdgeChoices = std::unordered_map<const TopoDS_TShape*, std::vector<bool>>;

    const Entry* usableEntry(const TopoDS_Face& face, const MeshParameters& parameters) const;
    static bool keepEdgesWhole(const std::vector<const Entry*>& sources,
                               const std::vector<int>& failed, bool allEdges, EdgeChoices& choices,
                               std::vector<char>& pending);
    static void choose(const Entry& entry, double budget, EdgeChoices& choices);
    // The face's coarser mesh, or null with the node (0-based) that could not go.
    static Handle(Poly_Triangulation) coarsen(const Entry& entry, const EdgeChoices& choices,
                                              const MeshParameters& parameters, int& failedNode);

    std::unordered_map<const TopoDS_TShape*, Entry> entries_;
    size_t sizeAtLastSweep_ = 0;
};

}  // namespace facet
}  // namespace orik
