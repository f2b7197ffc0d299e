// Test helpers for triangle strips: decoding and comparing triangle sets by winding.
#pragma once

#include "TriangleStripifier.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <vector>

namespace facettest {

using Triangle = std::array<uint32_t, 3>;

// The triangle rotated so that its smallest index comes first; the winding is kept.
inline Triangle canonical(Triangle t) {
    while (!(t[0] <= t[1] && t[0] <= t[2]))
        t = {t[1], t[2], t[0]};
    return t;
}

// Triangles of strips read with the alternating convention: (v0,v1,v2), (v2,v1,v3), ...
inline std::vector<Triangle> decodeStrips(const orik::facet::TriangleStrips& strips) {
    std::vector<Triangle> triangles;
    size_t offset = 0;
    for (uint32_t length : strips.lengths) {
        const uint32_t* v = strips.indices.data() + offset;
        for (uint32_t k = 0; k + 2 < length; ++k) {
            triangles.push_back(k % 2 == 0 ? Triangle{v[k], v[k + 1], v[k + 2]}
                                           : Triangle{v[k + 1], v[k], v[k + 2]});
        }
        offset += length;
    }
    return triangles;
}

inline std::multiset<Triangle> triangleSet(const std::vector<uint32_t>& flat) {
    std::multiset<Triangle> set;
    for (size_t i = 0; i + 2 < flat.size(); i += 3)
        set.insert(canonical({flat[i], flat[i + 1], flat[i + 2]}));
    return set;
}

inline std::multiset<Triangle> stripTriangleSet(const orik::facet::TriangleStrips& strips) {
    std::multiset<Triangle> set;
    for (const Triangle& t : decodeStrips(strips))
        set.insert(canonical(t));
    return set;
}

// Indices per triangle, the figure strips are judged by.
inline double indicesPerTriangle(const orik::facet::TriangleStrips& strips) {
    const size_t triangles = strips.TriangleCount();
    return triangles == 0 ? 0.0 : double(strips.indices.size()) / double(triangles);
}

}  // namespace facettest
