// Meshing whole shapes: tolerances remembered, meshes cleared for coarser passes, normals made,
// long edges halved without opening the seams between faces.
#include "FaceTessellator.h"
#include "ShapeMesher.h"
#include "facet_test_support.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <Poly_Triangulation.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using facettest::tolerances;
using orik::facet::FaceMesh;
using orik::facet::FaceTessellator;
using orik::facet::MeshParameters;
using orik::facet::ShapeMesher;

namespace {

int triangleCount(const TopoDS_Shape& shape) {
    int triangles = 0;
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        TopLoc_Location location;
        const auto mesh = BRep_Tool::Triangulation(TopoDS::Face(it.Current()), location);
        triangles += mesh.IsNull() ? 0 : mesh->NbTriangles();
    }
    return triangles;
}

// The cylinder's side: at 1e-4 on a radius of 10 its two circles have over a thousand nodes.
TopoDS_Face sideOf(const TopoDS_Shape& cylinder) {
    for (TopExp_Explorer it(cylinder, TopAbs_FACE); it.More(); it.Next()) {
        if (BRepAdaptor_Surface(TopoDS::Face(it.Current())).GetType() == GeomAbs_Cylinder)
            return TopoDS::Face(it.Current());
    }
    return TopoDS_Face();
}

Handle(Poly_Triangulation) meshOf(const TopoDS_Face& face) {
    TopLoc_Location location;
    return BRep_Tool::Triangulation(face, location);
}

Handle(Poly_Triangulation) firstFaceMesh(const TopoDS_Shape& shape) {
    return meshOf(TopoDS::Face(TopExp_Explorer(shape, TopAbs_FACE).Current()));
}

// Both shapes' faces, in exploration order, carry the same nodes and triangles.
void expectSameMeshes(const TopoDS_Shape& got, const TopoDS_Shape& expected) {
    TopExp_Explorer g(got, TopAbs_FACE), e(expected, TopAbs_FACE);
    for (; g.More() && e.More(); g.Next(), e.Next()) {
        const auto a = meshOf(TopoDS::Face(g.Current())), b = meshOf(TopoDS::Face(e.Current()));
        ASSERT_FALSE(a.IsNull() || b.IsNull());
        ASSERT_EQ(a->NbNodes(), b->NbNodes());
        ASSERT_EQ(a->NbTriangles(), b->NbTriangles());
        for (int i = 1; i <= a->NbNodes(); ++i)
            EXPECT_LT(a->Node(i).Distance(b->Node(i)), 1e-12);
        for (int t = 1; t <= a->NbTriangles(); ++t) {
            int n[3], m[3];
            a->Triangle(t).Get(n[0], n[1], n[2]);
            b->Triangle(t).Get(m[0], m[1], m[2]);
            EXPECT_TRUE(n[0] == m[0] && n[1] == m[1] && n[2] == m[2]);
        }
    }
    EXPECT_FALSE(g.More() || e.More());
}

}  // namespace

// Every face meshed with normals: the kernel's facet tests compare each face with its mesh.
TEST(ShapeMesherTest, SameTolerancesAreNotMeshedAgainAndClearingLetsCoarserPassesBeCoarser) {
    const TopoDS_Shape cylinder = BRepPrimAPI_MakeCylinder(5, 10).Shape();
    ShapeMesher mesher;
    ASSERT_TRUE(mesher.Mesh(cylinder, tolerances(0.01, 10)));
    const Handle(Poly_Triangulation) first = firstFaceMesh(cylinder);
    ASSERT_TRUE(mesher.Mesh(cylinder, tolerances(0.01, 10)));
    EXPECT_EQ(firstFaceMesh(cylinder), first);
    EXPECT_FALSE(mesher.IsMeshed(cylinder, tolerances(0.02, 10)));
    EXPECT_FALSE(mesher.IsMeshed(cylinder, tolerances(0.01, 10, 2.0)));
    mesher.Forget(cylinder);
    EXPECT_FALSE(mesher.IsMeshed(cylinder, tolerances(0.01, 10)));
    // Clearing lets a coarser pass be coarser.
    ASSERT_TRUE(mesher.Mesh(cylinder, tolerances(0.001, 5)));
    const int fine = triangleCount(cylinder);
    mesher.Clear(cylinder);
    EXPECT_EQ(triangleCount(cylinder), 0);
    EXPECT_FALSE(mesher.IsMeshed(cylinder, tolerances(0.001, 5)));
    ASSERT_TRUE(mesher.Mesh(cylinder, tolerances(0.5, 60)));
    EXPECT_LT(triangleCount(cylinder), fine);
    // Clearing a shape forgets its faces too.
    const TopoDS_Shape box = BRepPrimAPI_MakeBox(1, 2, 3).Shape();
    const TopoDS_Shape face = TopExp_Explorer(box, TopAbs_FACE).Current();
    ASSERT_TRUE(mesher.Mesh(face, tolerances(0.01, 10)));
    mesher.Clear(box);
    EXPECT_FALSE(mesher.IsMeshed(face, tolerances(0.01, 10)));
    ASSERT_TRUE(mesher.Mesh(face, tolerances(0.01, 10)));
    EXPECT_FALSE(firstFaceMesh(face).IsNull());
}

TEST(ShapeMesherTest, UnusableRequestsFail) {
    const TopoDS_Shape box = BRepPrimAPI_MakeBox(1, 2, 3).Shape();
    ShapeMesher mesher;
    EXPECT_FALSE(mesher.Mesh(TopoDS_Shape(), tolerances(0.1, 10)));
    EXPECT_FALSE(mesher.Mesh(box, tolerances(0.0, 10)));
    EXPECT_FALSE(mesher.Mesh(box, tolerances(-1.0, 10)));
    EXPECT_FALSE(mesher.Mesh(box, tolerances(std::nan(""), 10)));
    EXPECT_FALSE(mesher.Mesh(box, tolerances(0.1, 0)));
    EXPECT_EQ(triangleCount(box), 0);
}

TEST(ShapeMesherTest, LongEdgesAreHalvedOntoTheSurfaceAndFacesStillMeet) {
    const TopoDS_Shape box = BRepPrimAPI_MakeBox(10, 20, 30).Shape();
    ShapeMesher mesher;
    ASSERT_TRUE(mesher.Mesh(box, tolerances(1.0, 30, 4.0)));
    FaceTessellator tessellator;
    std::vector<FaceMesh> meshes;
    for (TopExp_Explorer it(box, TopAbs_FACE); it.More(); it.Next()) {
        meshes.emplace_back();
        ASSERT_TRUE(tessellator.Tessellate(TopoDS::Face(it.Current()), meshes.back()));
        const FaceMesh& mesh = meshes.back();
        for (size_t t = 0; t < mesh.TriangleCount(); ++t) {
            for (int k = 0; k < 3; ++k) {
                const double* a = &mesh.positions[3 * mesh.triangles[3 * t + k]];
                const double* b = &mesh.positions[3 * mesh.triangles[3 * t + (k + 1) % 3]];
                EXPECT_LE(std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]), 4.0 + 1e-9);
            }
        }
    }
    // The faces still meet node for node along the box's edges.
    EXPECT_EQ(facettest::unmatchedBorderNodes(meshes), 0u);
    // On curved faces the new nodes go onto the surface.
    const TopoDS_Shape cylinder = BRepPrimAPI_MakeCylinder(5, 40).Shape();
    ASSERT_TRUE(mesher.Mesh(cylinder, tolerances(0.05, 20, 3.0)));
    for (TopExp_Explorer it(cylinder, TopAbs_FACE); it.More(); it.Next()) {
        FaceMesh mesh;
        ASSERT_TRUE(tessellator.Tessellate(TopoDS::Face(it.Current()), mesh));
        for (size_t i = 0; i < mesh.NodeCount(); ++i) {
            const double* p = &mesh.positions[3 * i];
            const bool onSide = std::abs(mesh.normals[3 * i + 2]) < 1e-9;
            if (onSide) {  // nodes of the side lie on the cylinder, within the chord tolerance
                EXPECT_NEAR(std::hypot(p[0], p[1]), 5.0, 0.05);
            }
        }
    }
}

TEST(ShapeMesherTest, FacesPastTheTimeLimitAreAbandonedUntilCleared) {
    const TopoDS_Shape cylinder = BRepPrimAPI_MakeCylinder(10, 10).Shape();
    MeshParameters rushed = tolerances(1e-4, 5);
    rushed.timeLimit = 1e-9;
    ShapeMesher mesher;
    ASSERT_TRUE(mesher.Mesh(cylinder, rushed));
    const TopoDS_Face side = sideOf(cylinder);
    EXPECT_TRUE(mesher.Abandoned(side));
    EXPECT_TRUE(meshOf(side).IsNull());
    EXPECT_TRUE(mesher.IsMeshed(cylinder, rushed));  // not tried again at the same tolerances
    mesher.Clear(cylinder);
    EXPECT_FALSE(mesher.Abandoned(side));
    ASSERT_TRUE(mesher.Mesh(cylinder, tolerances(1e-4, 5)));
    EXPECT_FALSE(mesher.Abandoned(side));
    EXPECT_FALSE(meshOf(side).IsNull());
}

TEST(ShapeMesherTest, DenseFacesMeshedApartGetTheSameMesh) {
    const TopoDS_Shape inPlace = BRepPrimAPI_MakeCylinder(10, 10).Shape();
    const TopoDS_Shape apart = BRepPrimAPI_MakeCylinder(10, 10).Shape();
    MeshParameters limited = tolerances(1e-4, 5);
    limited.timeLimit = 600;
    ShapeMesher mesher;
    ASSERT_TRUE(mesher.Mesh(inPlace, tolerances(1e-4, 5)));
    ASSERT_TRUE(mesher.Mesh(apart, limited));
    EXPECT_FALSE(mesher.Abandoned(sideOf(apart)));
    ASSERT_FALSE(meshOf(sideOf(apart)).IsNull());
    EXPECT_TRUE(meshOf(sideOf(apart))->HasNormals());
    EXPECT_TRUE(meshOf(sideOf(apart))->HasUVNodes());
    expectSameMeshes(apart, inPlace);
}

TEST(ShapeMesherTest, FacesOfStraightEdgedPlanesComeBackAsAFreshMeshingWouldMakeThem) {
    // Half a cylinder: its two rectangular cut faces are planes with straight edges only, shared
    // with the curved side and the half discs, whose meshes change with the tolerances.
    const TopoDS_Shape half = BRepPrimAPI_MakeCylinder(5, 10, M_PI).Shape();
    ShapeMesher mesher;
    ASSERT_TRUE(mesher.Mesh(half, tolerances(0.001, 5)));
    const int fine = triangleCount(half);
    // A coarser pass, cleared first as the faceter does.
    BRepTools::Clean(half);
    mesher.Forget(half);
    ASSERT_TRUE(mesher.Mesh(half, tolerances(0.5, 60)));
    EXPECT_LT(triangleCount(half), fine);
    const TopoDS_Shape fresh = BRepPrimAPI_MakeCylinder(5, 10, M_PI).Shape();
    ShapeMesher other;
    ASSERT_TRUE(other.Mesh(fresh, tolerances(0.5, 60)));
    expectSameMeshes(half, fresh);
}
