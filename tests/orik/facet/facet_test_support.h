// Helpers of the faceting engine's tests: mesh parameters, and where cracks would open between
// the meshes of neighbouring faces.
#pragma once

#include "FaceTessellator.h"
#include "MeshParameters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace facettest {

// Mesh parameters of the given deflections and edge length limit (none when negative).
inline orik::facet::MeshParameters tolerances(double linear, double angularDeg,
                                              double maxEdge = -1.0) {
    orik::facet::MeshParameters parameters;
    parameters.linearDeflection = linear;
    parameters.angularDeflectionDeg = angularDeg;
    parameters.maxEdgeLength = maxEdge;
    return parameters;
}

// Nodes on the border of a face's mesh (a side of one triangle only) that are no node of another
// face nor, across a seam, of the same face: where a crack would open between faces.
inline size_t unmatchedBorderNodes(const std::vector<orik::facet::FaceMesh>& meshes) {
    using Key = std::array<long long, 3>;
    auto key = [](const orik::facet::FaceMesh& mesh, uint32_t node) {
        const double* p = &mesh.positions[3 * node];
        return Key{std::llround(p[0] * 1e6), std::llround(p[1] * 1e6), std::llround(p[2] * 1e6)};
    };
    std::map<Key, int> nodes;
    for (const orik::facet::FaceMesh& mesh : meshes)
        for (uint32_t i = 0; i < mesh.NodeCount(); ++i)
            ++nodes[key(mesh, i)];
    size_t unmatched = 0;
    for (const orik::facet::FaceMesh& mesh : meshes) {
        std::map<std::pair<uint32_t, uint32_t>, int> sides;
        for (size_t i = 0; i < mesh.triangles.size(); ++i) {
            const uint32_t a = mesh.triangles[i], b = mesh.triangles[i % 3 == 2 ? i - 2 : i + 1];
            ++sides[{std::min(a, b), std::max(a, b)}];
        }
        for (const auto& side : sides)
            unmatched += side.second == 1 && (nodes[key(mesh, side.first.first)] < 2 ||
                                              nodes[key(mesh, side.first.second)] < 2);
    }
    return unmatched;
}

}  // namespace facettest
