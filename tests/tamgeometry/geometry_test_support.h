// Small scene-graph builders shared by the tamgeometry tests.
#pragma once

#include <tamsg/sglConstants.h>
#include <tamsg/sglDataPtr.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsgdb/CTamUserDataGeoset.h>

#include <algorithm>
#include <array>
#include <vector>

namespace tamtest {

// A strip set over the given positions (x, y, z per vertex) with per-vertex normals
// (0, 0, 1) and, when level >= 0, a CTamUserDataGeoset of that level.
inline sglMonoIndexedTriangleStripSet* MakeStrips(const std::vector<float>& coords,
                                                  const std::vector<unsigned int>& indices,
                                                  const std::vector<unsigned int>& lengths,
                                                  int level = -1) {
    auto* set = new sglMonoIndexedTriangleStripSet;
    set->setNumPrims(static_cast<unsigned int>(lengths.size()));
    set->setCoordList(new sglArrayDataPtr<float>(coords), SGL_FLOAT, 3);
    std::vector<float> normals;
    for (size_t i = 0; i < coords.size() / 3; ++i) {
        normals.insert(normals.end(), {0.0f, 0.0f, 1.0f});
    }
    set->setNormalList(SGL_BIND_PER_VERTEX, new sglArrayDataPtr<float>(normals), SGL_FLOAT);
    set->setIndexList(new sglArrayDataPtr<unsigned int>(indices));
    set->setPrimLengths(new sglArrayDataPtr<unsigned int>(lengths));
    if (level >= 0) {
        set->setUserData(new CTamUserDataGeoset(static_cast<unsigned int>(level)));
    }
    return set;
}

// One triangle with the given level.
inline sglMonoIndexedTriangleStripSet* MakeTriangle(float size, int level) {
    return MakeStrips({0, 0, 0, size, 0, 0, 0, size, 0}, {0, 1, 2}, {3}, level);
}

using Triangle = std::array<std::array<float, 3>, 3>;

// The triangles of a strip set as positions, each rotated so its smallest vertex comes first
// (orientation kept), sorted; compares geometry independently of vertex numbering.
inline std::vector<Triangle> OrientedTriangles(const sglMonoIndexedTriangleStripSet& set) {
    std::vector<Triangle> triangles;
    const std::vector<unsigned int> corners = set.getTriangles();
    for (size_t t = 0; t + 2 < corners.size(); t += 3) {
        Triangle tri;
        for (int k = 0; k < 3; ++k) {
            const sglVec3<float> p = set.getCoord(corners[t + k]);
            tri[k] = {p[0], p[1], p[2]};
        }
        while (!(tri[0] <= tri[1] && tri[0] <= tri[2])) {
            std::rotate(tri.begin(), tri.begin() + 1, tri.end());
        }
        triangles.push_back(tri);
    }
    std::sort(triangles.begin(), triangles.end());
    return triangles;
}

}  // namespace tamtest
