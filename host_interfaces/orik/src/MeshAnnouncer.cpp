#include "MeshAnnouncer.h"

#include <array>
#include <vector>

namespace orik {

namespace {

using Triangle = std::array<uint32_t, 3>;

struct Polygon {
    Triangle nodes;
    int share;
};

// The triangles in strip order: a strip's first triangle starts it, each further triangle
// continues it with its new node at position 2 and the winding the strip alternation gives.
std::vector<Polygon> stripPolygons(const facet::TriangleStrips& strips) {
    std::vector<Polygon> polygons;
    polygons.reserve(strips.TriangleCount());
    size_t offset = 0;
    for (uint32_t length : strips.lengths) {
        const uint32_t* s = strips.indices.data() + offset;
        for (uint32_t t = 0; t + 2 < length; ++t) {
            const Triangle nodes = t % 2 == 0 ? Triangle{s[t], s[t + 1], s[t + 2]}
                                              : Triangle{s[t + 1], s[t], s[t + 2]};
            polygons.push_back({nodes, t == 0 ? ORIK_SHARE_NONE : ORIK_SHARE_PREVIOUS});
        }
        offset += length;
    }
    return polygons;
}

// Every triangle on its own; a mirroring placement turns each one over.
std::vector<Polygon> singlePolygons(const std::vector<uint32_t>& triangles, bool flip) {
    std::vector<Polygon> polygons;
    polygons.reserve(triangles.size() / 3);
    for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
        const uint32_t a = triangles[i], b = triangles[i + 1], c = triangles[i + 2];
        polygons.push_back({flip ? Triangle{a, c, b} : Triangle{a, b, c}, ORIK_SHARE_NONE});
    }
    return polygons;
}

// Node positions and normals with the placement applied.
struct PlacedNodes {
    std::vector<SPAposition> positions;
    std::vector<SPAunit_vector> normals;
};

PlacedNodes placeNodes(const facet::FaceMesh& mesh, const gp_Trsf& placement) {
    PlacedNodes placed;
    const size_t count = mesh.NodeCount();
    placed.positions.reserve(count);
    placed.normals.reserve(count);
    const bool moved = placement.Form() != gp_Identity;
    for (size_t i = 0; i < count; ++i) {
        gp_XYZ p(mesh.positions[3 * i], mesh.positions[3 * i + 1], mesh.positions[3 * i + 2]);
        gp_XYZ n(mesh.normals[3 * i], mesh.normals[3 * i + 1], mesh.normals[3 * i + 2]);
        if (moved) {
            placement.Transforms(p);
            n = placement.VectorialPart() * n;
            if (n.Modulus() > 0.0)
                n.Normalize();
        }
        placed.positions.emplace_back(p.X(), p.Y(), p.Z());
        placed.normals.emplace_back(n.X(), n.Y(), n.Z());
    }
    return placed;
}

void announceIndexed(MESH_MANAGER& manager, const facet::FaceMesh& mesh, const PlacedNodes& nodes,
                     const std::vector<Polygon>& polygons) {
    const bool withUv = manager.need_internal_data() && !mesh.parameters.empty();
    std::vector<void*> handles(nodes.positions.size());
    for (size_t i = 0; i < handles.size(); ++i) {
        const SPApar_pos uv =
            withUv ? SPApar_pos(mesh.parameters[2 * i], mesh.parameters[2 * i + 1]) : SPApar_pos();
        handles[i] =
            manager.announce_indexed_node(int(i), uv, nodes.positions[i], nodes.normals[i]);
    }
    for (size_t p = 0; p < polygons.size(); ++p) {
        manager.start_shareable_indexed_polygon(int(p), 3, polygons[p].share);
        manager.end_indexed_polygon(int(p));
        for (int i = 0; i < 3; ++i) {
            manager.announce_indexed_polynode(int(p), i, handles[polygons[p].nodes[size_t(i)]]);
        }
    }
}

void announceCoordinates(MESH_MANAGER& manager, const PlacedNodes& nodes,
                         const std::vector<Polygon>& polygons) {
    for (size_t p = 0; p < polygons.size(); ++p) {
        manager.start_coordinate_polygon(int(p), 3);
        for (int i = 0; i < 3; ++i) {
            const uint32_t node = polygons[p].nodes[size_t(i)];
            manager.announce_coordinate_polynode(int(p), i, nodes.positions[node],
                                                 nodes.normals[node]);
        }
        manager.end_coordinate_polygon(int(p));
    }
}

}  // namespace

void announceFaceMesh(MESH_MANAGER& manager, ENTITY* face, ENTITY* owner,
                      const facet::FaceMesh& mesh, const gp_Trsf& placement) {
    const bool mirrored = placement.VectorialPart().Determinant() < 0.0;
    const std::vector<Polygon> polygons = manager.need_strip_polygons() && !mirrored
                                              ? stripPolygons(mesh.strips)
                                              : singlePolygons(mesh.triangles, mirrored);
    const PlacedNodes nodes = placeNodes(mesh, placement);
    manager.begin_mesh_output(face, owner);
    if (manager.need_approx_counts()) {
        const int polygonCount = int(polygons.size());
        manager.announce_counts(polygonCount, int(nodes.positions.size()), 3 * polygonCount);
    }
    if (manager.need_indexed_polygons()) {
        announceIndexed(manager, mesh, nodes, polygons);
    } else {
        announceCoordinates(manager, nodes, polygons);
    }
    manager.end_mesh_output(face, owner);
    manager.save_mesh_output(face, owner);
}

}  // namespace orik
