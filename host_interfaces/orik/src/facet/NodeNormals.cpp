#include "NodeNormals.h"

#include <BRep_Tool.hxx>
#include <GeomLib.hxx>
#include <Geom_Surface.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>

#include <vector>

namespace orik {
namespace facet {

namespace {

// Area-weighted mean of the triangle normals around each node (triangles as stored, that is
// wound with the surface's orientation). Nodes without a usable triangle get +Z.
std::vector<gp_XYZ> meanTriangleNormals(const Poly_Triangulation& triangulation) {
    std::vector<gp_XYZ> sums(size_t(triangulation.NbNodes()), gp_XYZ(0.0, 0.0, 0.0));
    for (Standard_Integer t = 1; t <= triangulation.NbTriangles(); ++t) {
        Standard_Integer n[3];
        triangulation.Triangle(t).Get(n[0], n[1], n[2]);
        const gp_XYZ p0 = triangulation.Node(n[0]).XYZ();
        const gp_XYZ cross =
            (triangulation.Node(n[1]).XYZ() - p0).Crossed(triangulation.Node(n[2]).XYZ() - p0);
        for (Standard_Integer k : n)
            sums[size_t(k - 1)] += cross;
    }
    for (gp_XYZ& sum : sums) {
        const double length = sum.Modulus();
        sum = length > gp::Resolution() ? sum / length : gp_XYZ(0.0, 0.0, 1.0);
    }
    return sums;
}

// The face's surface placed like the triangulation nodes: the face's own location left out.
Handle(Geom_Surface) surfaceOfUnlocatedFace(const TopoDS_Face& face) {
    const TopoDS_Face unlocated = TopoDS::Face(face.Located(TopLoc_Location()));
    return BRep_Tool::Surface(unlocated);
}

}  // namespace

void ComputeNodeNormals(const TopoDS_Face& face, const Handle(Poly_Triangulation) & triangulation) {
    if (triangulation.IsNull() || triangulation->HasNormals())
        return;
    const Standard_Integer nodeCount = triangulation->NbNodes();
    std::vector<gp_XYZ> normals(static_cast<size_t>(nodeCount));
    std::vector<bool> found(size_t(nodeCount), false);
    bool allFound = false;
    try {
        const Handle(Geom_Surface) surface =
            triangulation->HasUVNodes() ? surfaceOfUnlocatedFace(face) : Handle(Geom_Surface)();
        if (!surface.IsNull()) {
            allFound = true;
            for (Standard_Integer i = 1; i <= nodeCount; ++i) {
                gp_Dir normal;
                // 0: from first derivatives, 1: from second ones at a singular point, more: none.
                if (GeomLib::NormEstim(surface, triangulation->UVNode(i), Precision::Confusion(),
                                       normal) <= 1) {
                    normals[size_t(i - 1)] = normal.XYZ();
                    found[size_t(i - 1)] = true;
                } else {
                    allFound = false;
                }
            }
        }
    } catch (const Standard_Failure&) {
        allFound = false;
    }
    if (!allFound) {
        const std::vector<gp_XYZ> means = meanTriangleNormals(*triangulation);
        for (size_t i = 0; i < normals.size(); ++i) {
            if (!found[i])
                normals[i] = means[i];
        }
    }
    triangulation->AddNormals();
    for (Standard_Integer i = 1; i <= nodeCount; ++i) {
        triangulation->SetNormal(i, gp_Dir(normals[size_t(i - 1)]));
    }
}

}  // namespace facet
}  // namespace orik
