#include "recording_mesh_manager.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace oriktest {

Corner cornerOf(double x, double y, double z) {
    return {std::llround(x * 1e6), std::llround(y * 1e6), std::llround(z * 1e6)};
}

CornerTriangle normalized(CornerTriangle t) {
    std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
    return t;
}

std::vector<std::array<unsigned, 3>> RecordedFace::stripTriangles() const {
    std::vector<std::array<unsigned, 3>> triangles;
    size_t offset = 0;
    for (unsigned length : stripLengths) {
        const unsigned* s = stripIndices.data() + offset;
        for (unsigned t = 0; t + 2 < length; ++t) {
            triangles.push_back(t % 2 == 0 ? std::array<unsigned, 3>{s[t], s[t + 1], s[t + 2]}
                                           : std::array<unsigned, 3>{s[t + 1], s[t], s[t + 2]});
        }
        offset += length;
    }
    return triangles;
}

std::multiset<CornerTriangle> RecordedFace::cornerTriangles() const {
    std::multiset<CornerTriangle> triangles;
    for (const auto& t : stripTriangles()) {
        CornerTriangle corners;
        for (size_t i = 0; i < 3; ++i)
            corners[i] = cornerOf(positions[t[i]].x, positions[t[i]].y, positions[t[i]].z);
        triangles.insert(normalized(corners));
    }
    return triangles;
}

void RecordingMeshManager::begin_mesh_output(ENTITY* face, ENTITY* owner) {
    faces.emplace_back();
    faces.back().face = face;
    faces.back().owner = owner;
    stripLength_ = 0;
}

void RecordingMeshManager::end_mesh_output(ENTITY*, ENTITY*) {
    RecordedFace& face = faces.back();
    if (stripLength_ != 0)
        face.stripLengths.push_back(stripLength_);
    face.ended = true;
}

void RecordingMeshManager::announce_counts(int polygons, int nodes, int polynodes) {
    faces.back().announcedPolygons += polygons;
    faces.back().announcedNodes += nodes;
    faces.back().announcedPolynodes += polynodes;
}

void* RecordingMeshManager::announce_indexed_node(int node, const SPApar_pos&,
                                                  const SPAposition& pos,
                                                  const SPAunit_vector& normal) {
    faces.back().positions.push_back({pos.x(), pos.y(), pos.z()});
    faces.back().normals.push_back({normal.x(), normal.y(), normal.z()});
    return reinterpret_cast<void*>(static_cast<intptr_t>(node));
}

void RecordingMeshManager::start_indexed_polygon(int, int, int share) {
    RecordedFace& face = faces.back();
    if (share == ORIK_SHARE_NONE && stripLength_ != 0) {
        face.stripLengths.push_back(stripLength_);
        stripLength_ = 0;
    }
    face.shares.push_back(share);
    face.polygons.push_back({-1, -1, -1});
}

void RecordingMeshManager::announce_indexed_polynode(int, int position, void* handle) {
    RecordedFace& face = faces.back();
    const int node = int(reinterpret_cast<intptr_t>(handle));
    face.polygons.back()[size_t(position)] = node;
    if (face.shares.back() == ORIK_SHARE_NONE || position == 2) {
        face.stripIndices.push_back(unsigned(node));
        ++stripLength_;
    }
}

int RecordingMeshManager::triangleCount() const {
    int count = 0;
    for (const RecordedFace& face : faces)
        count += int(face.polygons.size());
    return count;
}

}  // namespace oriktest
