// A mesh manager for tests: packs announced strips exactly the way a strip-set builder does
// (strip starts bring three nodes, continuations the node at position 2) and records the
// polygons as announced, so tests can compare both with the OCCT mesh.
#pragma once

#include <orik/orik.h>

#include <array>
#include <set>
#include <vector>

namespace oriktest {

struct Vec3 {
    double x, y, z;
};

// A position rounded to 1e-6, so that the same node met twice compares equal.
using Corner = std::array<long long, 3>;
using CornerTriangle = std::array<Corner, 3>;
Corner cornerOf(double x, double y, double z);
// The triangle with its smallest corner first, winding kept.
CornerTriangle normalized(CornerTriangle t);

// One face as the manager received it.
struct RecordedFace {
    ENTITY* face = nullptr;
    ENTITY* owner = nullptr;
    int announcedPolygons = 0, announcedNodes = 0, announcedPolynodes = 0;
    std::vector<Vec3> positions, normals;
    std::vector<int> shares;                   // per polygon
    std::vector<std::array<int, 3>> polygons;  // node numbers per polygon, as announced
    std::vector<unsigned> stripIndices;        // packed like a strip-set builder
    std::vector<unsigned> stripLengths;
    bool ended = false, saved = false;

    // The triangles the packed strips stand for (standard strip alternation).
    std::vector<std::array<unsigned, 3>> stripTriangles() const;
    // The same triangles by their corners' positions, each normalized.
    std::multiset<CornerTriangle> cornerTriangles() const;
};

class RecordingMeshManager : public INDEXED_MESH_MANAGER {
public:
    explicit RecordingMeshManager(bool strips = true) : strips_(strips) {}

    std::vector<RecordedFace> faces;
    std::vector<ENTITY*> endedEntities;

    void begin_mesh_output(ENTITY* face, ENTITY* owner) override;
    void end_mesh_output(ENTITY*, ENTITY*) override;
    void save_mesh_output(ENTITY*, ENTITY*) override { faces.back().saved = true; }
    void announce_counts(int polygons, int nodes, int polynodes) override;
    void* announce_indexed_node(int node, const SPApar_pos& uv, const SPAposition& pos,
                                const SPAunit_vector& normal) override;
    void start_indexed_polygon(int polygon, int node_count, int share) override;
    void announce_indexed_polynode(int polygon, int position, void* handle) override;
    logical need_strip_polygons() override { return strips_ ? TRUE : FALSE; }
    void end_entity_output(ENTITY* entity) override { endedEntities.push_back(entity); }

    int triangleCount() const;

private:
    bool strips_;
    unsigned stripLength_ = 0;
};

}  // namespace oriktest
