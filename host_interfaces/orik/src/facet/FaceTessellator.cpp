#include "FaceTessellator.h"

#include "NodeNormals.h"
#include "SurfaceQuadFlips.h"

#include <BRep_Tool.hxx>
#include <Poly_Triangulation.hxx>
#include <Standard_Failure.hxx>
#include <TopLoc_Location.hxx>
#include <gp_Trsf.hxx>

#include <cstdint>
#include <mutex>

namespace orik {
namespace facet {

namespace {

void readNodes(const Poly_Triangulation& triangulation, const gp_Trsf& placement, bool flipNormals,
               FaceMesh& out) {
    const Standard_Integer nodeCount = triangulation.NbNodes();
    out.positions.resize(3 * size_t(nodeCount));
    out.normals.resize(3 * size_t(nodeCount));
    if (triangulation.HasUVNodes())
        out.parameters.resize(2 * size_t(nodeCount));
    const bool placed = placement.Form() != gp_Identity;
    for (Standard_Integer i = 1; i <= nodeCount; ++i) {
        gp_Pnt position = triangulation.Node(i);
        gp_Dir normal = triangulation.Normal(i);
        if (flipNormals)
            normal.Reverse();
        if (placed) {
            position.Transform(placement);
            normal.Transform(placement);
        }
        double* p = &out.positions[3 * size_t(i - 1)];
        double* n = &out.normals[3 * size_t(i - 1)];
        p[0] = position.X(), p[1] = position.Y(), p[2] = position.Z();
        n[0] = normal.X(), n[1] = normal.Y(), n[2] = normal.Z();
        if (!out.parameters.empty()) {
            const gp_Pnt2d uv = triangulation.UVNode(i);
            out.parameters[2 * size_t(i - 1)] = uv.X();
            out.parameters[2 * size_t(i - 1) + 1] = uv.Y();
        }
    }
}

// Triangles are stored wound with the surface's orientation; flipWinding turns them over.
// Triangles that name nodes out of range are left out; returns false if there were any.
bool readTriangles(const Poly_Triangulation& triangulation, bool flipWinding, FaceMesh& out) {
    const Standard_Integer nodeCount = triangulation.NbNodes();
    out.triangles.reserve(3 * size_t(triangulation.NbTriangles()));
    bool valid = true;
    for (Standard_Integer t = 1; t <= triangulation.NbTriangles(); ++t) {
        Standard_Integer n0, n1, n2;
        triangulation.Triangle(t).Get(n0, n1, n2);
        if (n0 < 1 || n1 < 1 || n2 < 1 || n0 > nodeCount || n1 > nodeCount || n2 > nodeCount) {
            valid = false;
            continue;
        }
        if (flipWinding)
            std::swap(n1, n2);
        out.triangles.push_back(uint32_t(n0 - 1));
        out.triangles.push_back(uint32_t(n1 - 1));
        out.triangles.push_back(uint32_t(n2 - 1));
    }
    return valid;
}

// Stores the mesh's triangles (flipped quads included) back into the triangulation, so that
// every reader of the face's mesh sees the triangles the strips stand for.
void writeTriangles(const FaceMesh& mesh, bool flipWinding, Poly_Triangulation& triangulation) {
    for (size_t t = 0; t < mesh.TriangleCount(); ++t) {
        const uint32_t* v = &mesh.triangles[3 * t];
        const Standard_Integer n0 = Standard_Integer(v[0] + 1);
        const Standard_Integer n1 = Standard_Integer(v[flipWinding ? 2 : 1] + 1);
        const Standard_Integer n2 = Standard_Integer(v[flipWinding ? 1 : 2] + 1);
        triangulation.SetTriangle(Standard_Integer(t + 1), Poly_Triangle(n0, n1, n2));
    }
}

// Faces are tessellated in parallel, and a triangulation is changed when quads are flipped or
// normals added: one lock per triangulation (striped) keeps two faces over one TFace apart.
std::mutex& lockFor(const Poly_Triangulation* triangulation) {
    static std::mutex locks[64];
    return locks[(reinterpret_cast<uintptr_t>(triangulation) >> 4) % 64];
}

}  // namespace

void FaceMesh::Clear() {
    positions.clear();
    normals.clear();
    parameters.clear();
    triangles.clear();
    strips.Clear();
}

bool FaceTessellator::Tessellate(const TopoDS_Face& face, FaceMesh& out) {
    out.Clear();
    if (face.IsNull())
        return false;
    try {
        TopLoc_Location location;
        const Handle(Poly_Triangulation)& triangulation = BRep_Tool::Triangulation(face, location);
        if (triangulation.IsNull() || triangulation->NbTriangles() == 0)
            return false;
        const std::lock_guard<std::mutex> lock(lockFor(triangulation.get()));
        ComputeNodeNormals(face, triangulation);
        const gp_Trsf placement = location.Transformation();
        const bool reversed = face.Orientation() == TopAbs_REVERSED;
        const bool flipWinding = reversed != (placement.VectorialPart().Determinant() < 0.0);
        readNodes(*triangulation, placement, reversed, out);
        const bool complete = readTriangles(*triangulation, flipWinding, out);
        const SurfaceQuadFlips flips(out, face, *triangulation);
        const size_t flipped =
            stripifier_.Build(out.triangles.data(), out.TriangleCount(), out.NodeCount(),
                              flipQuads_ && complete ? &flips : nullptr, out.strips);
        if (flipped > 0)
            writeTriangles(out, flipWinding, *triangulation);
    } catch (const Standard_Failure&) {
        out.Clear();
        return false;
    }
    if (out.triangles.empty()) {
        out.Clear();
        return false;
    }
    return true;
}

}  // namespace facet
}  // namespace orik
