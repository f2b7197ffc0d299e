#include "EdgeLengthLimiter.h"

#include <BRepAdaptor_Surface.hxx>
#include <Standard_Failure.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace orik {
namespace facet {

namespace {

constexpr size_t kTriangleLimit = 4000000;
constexpr int kRoundLimit = 24;

// A triangulation being refined: plain arrays, 0-based, nodes in the face's own coordinates.
struct Mesh {
    std::vector<gp_Pnt> nodes;
    std::vector<gp_Pnt2d> uv;  // empty when the triangulation has no parameters
    std::vector<std::array<uint32_t, 3>> triangles;
};

uint64_t edgeKey(uint32_t a, uint32_t b) {
    return a < b ? (uint64_t(a) << 32 | b) : (uint64_t(b) << 32 | a);
}

Mesh readMesh(const Poly_Triangulation& triangulation) {
    Mesh mesh;
    for (Standard_Integer i = 1; i <= triangulation.NbNodes(); ++i) {
        mesh.nodes.push_back(triangulation.Node(i));
        if (triangulation.HasUVNodes())
            mesh.uv.push_back(triangulation.UVNode(i));
    }
    for (Standard_Integer t = 1; t <= triangulation.NbTriangles(); ++t) {
        Standard_Integer a, b, c;
        triangulation.Triangle(t).Get(a, b, c);
        mesh.triangles.push_back({uint32_t(a - 1), uint32_t(b - 1), uint32_t(c - 1)});
    }
    return mesh;
}

Handle(Poly_Triangulation) writeMesh(const Mesh& mesh, double deflection) {
    Handle(Poly_Triangulation) result =
        new Poly_Triangulation(Standard_Integer(mesh.nodes.size()),
                               Standard_Integer(mesh.triangles.size()), !mesh.uv.empty());
    for (size_t i = 0; i < mesh.nodes.size(); ++i) {
        result->SetNode(Standard_Integer(i + 1), mesh.nodes[i]);
        if (!mesh.uv.empty())
            result->SetUVNode(Standard_Integer(i + 1), mesh.uv[i]);
    }
    for (size_t t = 0; t < mesh.triangles.size(); ++t) {
        const auto& v = mesh.triangles[t];
        result->SetTriangle(Standard_Integer(t + 1),
                            Poly_Triangle(Standard_Integer(v[0] + 1), Standard_Integer(v[1] + 1),
                                          Standard_Integer(v[2] + 1)));
    }
    result->Deflection(deflection);
    return result;
}

class Refiner {
public:
    Refiner(Mesh& mesh, const TopoDS_Face& face, double maxLength)
        : mesh_(mesh), face_(face), maxSquare_(maxLength * maxLength) {}

    // One round: halves every edge longer than the limit. False when there was none.
    bool round() {
        countEdgeUses();
        midpoints_.clear();
        for (const auto& v : mesh_.triangles) {
            for (int e = 0; e < 3; ++e) {
                const uint32_t a = v[e], b = v[(e + 1) % 3];
                if (mesh_.nodes[a].SquareDistance(mesh_.nodes[b]) > maxSquare_ &&
                    midpoints_.count(edgeKey(a, b)) == 0) {
                    midpoints_[edgeKey(a, b)] = addMidpoint(a, b);
                }
            }
        }
        if (midpoints_.empty())
            return false;
        std::vector<std::array<uint32_t, 3>> refined;
        refined.reserve(mesh_.triangles.size() * 2);
        for (const auto& v : mesh_.triangles)
            split(v, refined);
        mesh_.triangles.swap(refined);
        return true;
    }

private:
    void countEdgeUses() {
        uses_.clear();
        for (const auto& v : mesh_.triangles) {
            for (int e = 0; e < 3; ++e)
                ++uses_[edgeKey(v[e], v[(e + 1) % 3])];
        }
    }

    // Boundary edges are halved on the chord, inner ones on the surface.
    uint32_t addMidpoint(uint32_t a, uint32_t b) {
        gp_Pnt position((mesh_.nodes[a].XYZ() + mesh_.nodes[b].XYZ()) / 2.0);
        if (!mesh_.uv.empty()) {
            const gp_Pnt2d uv((mesh_.uv[a].XY() + mesh_.uv[b].XY()) / 2.0);
            mesh_.uv.push_back(uv);
            if (uses_[edgeKey(a, b)] > 1)
                position = onSurface(uv, position);
        }
        mesh_.nodes.push_back(position);
        return uint32_t(mesh_.nodes.size() - 1);
    }

    gp_Pnt onSurface(const gp_Pnt2d& uv, const gp_Pnt& fallback) {
        try {
            if (!surface_) {
                const TopoDS_Face unlocated = TopoDS::Face(face_.Located(TopLoc_Location()));
                surface_.reset(new BRepAdaptor_Surface(unlocated, Standard_False));
            }
            return surface_->Value(uv.X(), uv.Y());
        } catch (const Standard_Failure&) {
            return fallback;
        }
    }

    uint32_t midpoint(uint32_t a, uint32_t b) const {
        const auto found = midpoints_.find(edgeKey(a, b));
        return found == midpoints_.end() ? UINT32_MAX : found->second;
    }

    // Rewrites one triangle after its halved edges, keeping its winding.
    void split(const std::array<uint32_t, 3>& v, std::vector<std::array<uint32_t, 3>>& out) const {
        const uint32_t m[3] = {midpoint(v[0], v[1]), midpoint(v[1], v[2]), midpoint(v[2], v[0])};
        const int splits = (m[0] != UINT32_MAX) + (m[1] != UINT32_MAX) + (m[2] != UINT32_MAX);
        if (splits == 0) {
            out.push_back(v);
        } else if (splits == 3) {
            out.push_back({v[0], m[0], m[2]});
            out.push_back({m[0], v[1], m[1]});
            out.push_back({m[2], m[1], v[2]});
            out.push_back({m[0], m[1], m[2]});
        } else {
            // Rotate so that edge 0 (v0-v1) is halved, and edge 1 too when two are.
            int r = 0;
            while (!(m[r] != UINT32_MAX && (splits == 1 || m[(r + 1) % 3] != UINT32_MAX)))
                ++r;
            const uint32_t a = v[r], b = v[(r + 1) % 3], c = v[(r + 2) % 3];
            const uint32_t ab = m[r];
            if (splits == 1) {
                out.push_back({a, ab, c});
                out.push_back({ab, b, c});
                return;
            }
            const uint32_t bc = m[(r + 1) % 3];
            out.push_back({ab, b, bc});
            // The quad a, ab, bc, c: cut along its shorter diagonal.
            if (mesh_.nodes[a].SquareDistance(mesh_.nodes[bc]) <=
                mesh_.nodes[ab].SquareDistance(mesh_.nodes[c])) {
                out.push_back({a, ab, bc});
                out.push_back({a, bc, c});
            } else {
                out.push_back({a, ab, c});
                out.push_back({ab, bc, c});
            }
        }
    }

    Mesh& mesh_;
    const TopoDS_Face& face_;
    double maxSquare_;
    std::unordered_map<uint64_t, uint32_t> uses_;
    std::unordered_map<uint64_t, uint32_t> midpoints_;
    std::unique_ptr<BRepAdaptor_Surface> surface_;
};

// BRepMesh's own parameters of the mesh, with the edge length limit added.
class LimitedParameters : public Poly_TriangulationParameters {
public:
    LimitedParameters(const Handle(Poly_TriangulationParameters) & base, double maxLength)
        : Poly_TriangulationParameters(base.IsNull() ? -1.0 : base->Deflection(),
                                       base.IsNull() ? -1.0 : base->Angle(),
                                       base.IsNull() ? -1.0 : base->MinSize()),
          maxLength_(maxLength) {}
    double MaxLength() const { return maxLength_; }
    DEFINE_STANDARD_RTTI_INLINE(LimitedParameters, Poly_TriangulationParameters)

private:
    double maxLength_;
};

}  // namespace

void RecordEdgeLengthLimit(Poly_Triangulation& triangulation, double maxLength) {
    triangulation.Parameters(new LimitedParameters(triangulation.Parameters(), maxLength));
}

double EdgeLengthLimitOf(const Poly_Triangulation& triangulation) {
    const Handle(LimitedParameters) limited =
        Handle(LimitedParameters)::DownCast(triangulation.Parameters());
    return limited.IsNull() ? -1.0 : limited->MaxLength();
}

Handle(Poly_Triangulation)
    LimitEdgeLength(const TopoDS_Face& face, const Handle(Poly_Triangulation) & triangulation,
                    double maxLength) {
    if (triangulation.IsNull() || !(maxLength > 0.0))
        return triangulation;
    try {
        Mesh mesh = readMesh(*triangulation);
        Refiner refiner(mesh, face, maxLength);
        bool changed = false;
        for (int round = 0; round < kRoundLimit && mesh.triangles.size() < kTriangleLimit;
             ++round) {
            if (!refiner.round())
                break;
            changed = true;
        }
        if (!changed)
            return triangulation;
        Handle(Poly_Triangulation) limited = writeMesh(mesh, triangulation->Deflection());
        limited->Parameters(triangulation->Parameters());
        return limited;
    } catch (const Standard_Failure&) {
        return triangulation;
    }
}

}  // namespace facet
}  // namespace orik
