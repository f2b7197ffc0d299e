// Coarsens a face's triangulation by collapsing nodes onto neighbours while the coarser surface
// stays within a distance of the finer one.
#pragma once

#include <GeomAdaptor_Surface.hxx>
#include <Geom_Surface.hxx>
#include <Poly_Triangulation.hxx>
#include <gp_XY.hxx>
#include <gp_XYZ.hxx>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace orik {
namespace facet {

// What may become of one node (0-based, as the triangulation's nodes 1..N).
struct NodeRole {
    enum Kind : uint8_t { Inner, Kept, Dropped };
    Kind kind = Inner;  // Inner: may go onto a neighbour; Kept: stays; Dropped: must go
    int previous = -1;  // for Dropped: its neighbours along its boundary polygon
    int next = -1;
};

class MeshDecimator {
public:
    // Removes every Dropped node (onto one of its polygon neighbours) and as many Inner nodes as
    // keep every new triangle within budget of the surface (the triangulation's own frame, its
    // UV nodes in the surface's parameters), with no triangle folded over or turned further than
    // maxTurnCos (cosine) from the nodes' normals. Returns the coarser triangulation (nodes, UV,
    // normals of the kept nodes), or null when a Dropped node cannot go (FailedNode names it) or
    // the triangulation has no UV nodes.
    Handle(Poly_Triangulation)
        Decimate(const Poly_Triangulation& fine, const Handle(Geom_Surface) & surface,
                 const std::vector<NodeRole>& roles, double budget, double maxTurnCos);
    // The node (0-based) the last Decimate failed to remove, or -1.
    int FailedNode() const { return failedNode_; }

private:
    void collapseInnerNodes();
    bool collapse(int node, int target);
    bool fits(int node, int target);
    bool staysNearSurface(int node, int target);
    double deviation(int a, int b, int c, double w) const;
    double uvArea(const std::array<int, 3>& t) const;
    bool linkHolds(int node, int target);
    int representative(int node) const;
    gp_XYZ triangleNormal(const std::array<int, 3>& t) const;
    Handle(Poly_Triangulation) result(const Poly_Triangulation& fine) const;

    std::vector<gp_XYZ> positions_;
    std::vector<gp_XYZ> normals_;
    std::vector<std::array<int, 3>> triangles_;
    std::vector<uint8_t> alive_;
    std::vector<gp_XY> uv_;
    GeomAdaptor_Surface surface_;
    double uvSign_ = 1.0;  // orientation of the triangles in the surface's parameters
    int failedNode_ = -1;
    std::vector<std::vector<int>> around_;
    std::vector<int> mergedInto_;
    std::vector<int> fan_;     // scratch: live triangles around the node being collapsed
    std::vector<int> shared_;  // scratch: those of them that hold the target too
    std::vector<int> seen_;    // per node: stamp_ when next to the target, -stamp_ once checked
    int stamp_ = 0;
    std::vector<std::pair<int, int>> counts_;
    const std::vector<NodeRole>* roles_ = nullptr;
    double budget_ = 0.0;
    double maxTurnCos_ = -1.0;
};

}  // namespace facet
}  // namespace orik
