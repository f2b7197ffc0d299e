// Face meshes read from OCCT shapes: strips, normals and winding for planar, cylindrical, spline,
// reversed, holed and placed faces; quads flipped for strips are written back.
#include "FaceTessellator.h"
#include "ShapeMesher.h"
#include "facet_test_support.h"
#include "strip_check.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_NurbsConvert.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRep_Tool.hxx>
#include <Poly_Triangulation.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gp_Ax2.hxx>
#include <gp_Pln.hxx>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using facettest::tolerances;
using orik::facet::FaceMesh;
using orik::facet::FaceTessellator;
using orik::facet::MeshParameters;
using orik::facet::ShapeMesher;

namespace {

gp_XYZ nodePosition(const FaceMesh& mesh, uint32_t i) {
    return gp_XYZ(mesh.positions[3 * i], mesh.positions[3 * i + 1], mesh.positions[3 * i + 2]);
}

gp_XYZ nodeNormal(const FaceMesh& mesh, uint32_t i) {
    return gp_XYZ(mesh.normals[3 * i], mesh.normals[3 * i + 1], mesh.normals[3 * i + 2]);
}

gp_XYZ triangleNormal(const FaceMesh& mesh, size_t t) {
    const gp_XYZ a = nodePosition(mesh, mesh.triangles[3 * t]);
    const gp_XYZ b = nodePosition(mesh, mesh.triangles[3 * t + 1]);
    const gp_XYZ c = nodePosition(mesh, mesh.triangles[3 * t + 2]);
    return (b - a).Crossed(c - a);
}

gp_XYZ centroid(const FaceMesh& mesh, size_t t) {
    gp_XYZ sum(0, 0, 0);
    for (int k = 0; k < 3; ++k)
        sum += nodePosition(mesh, mesh.triangles[3 * t + k]);
    return sum / 3.0;
}

// The checks every face mesh must pass: strips stand for exactly its triangles, normals are
// unit vectors, and each triangle turns counter-clockwise around its nodes' normals.
void expectConsistent(const FaceMesh& mesh) {
    ASSERT_GT(mesh.TriangleCount(), 0u);
    EXPECT_EQ(mesh.normals.size(), mesh.positions.size());
    EXPECT_EQ(facettest::stripTriangleSet(mesh.strips), facettest::triangleSet(mesh.triangles));
    for (size_t i = 0; i < mesh.NodeCount(); ++i)
        EXPECT_NEAR(nodeNormal(mesh, uint32_t(i)).Modulus(), 1.0, 1e-6);
    for (size_t t = 0; t < mesh.TriangleCount(); ++t) {
        gp_XYZ normals(0, 0, 0);
        for (int k = 0; k < 3; ++k)
            normals += nodeNormal(mesh, mesh.triangles[3 * t + k]);
        const double turn = triangleNormal(mesh, t).Dot(normals);
        if (std::abs(turn) > 1e-12) {  // BRepMesh leaves flat triangles at poles
            EXPECT_GT(turn, 0.0) << "triangle " << t;
        }
    }
}

std::vector<FaceMesh> meshFaces(const TopoDS_Shape& shape, const MeshParameters& parameters,
                                bool flips = true) {
    ShapeMesher mesher;
    EXPECT_TRUE(mesher.Mesh(shape, parameters));
    FaceTessellator tessellator(flips);
    std::vector<FaceMesh> meshes;
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        meshes.emplace_back();
        EXPECT_TRUE(tessellator.Tessellate(TopoDS::Face(it.Current()), meshes.back()));
    }
    return meshes;
}

}  // namespace

TEST(FaceTessellatorTest, BoxFacesFaceOutwards) {
    const TopoDS_Shape box = BRepPrimAPI_MakeBox(10, 20, 30).Shape();
    const gp_XYZ centre(5, 10, 15);
    for (const FaceMesh& mesh : meshFaces(box, tolerances(0.1, 20))) {
        expectConsistent(mesh);
        for (size_t i = 0; i < mesh.NodeCount(); ++i) {
            const gp_XYZ outwards = nodePosition(mesh, uint32_t(i)) - centre;
            EXPECT_GT(nodeNormal(mesh, uint32_t(i)).Dot(outwards), 0.0);
        }
    }
}

TEST(FaceTessellatorTest, CylinderSideNormalsPointAwayFromTheAxis) {
    const TopoDS_Shape cylinder = BRepPrimAPI_MakeCylinder(5, 10).Shape();
    for (const FaceMesh& mesh : meshFaces(cylinder, tolerances(0.01, 10))) {
        expectConsistent(mesh);
        for (size_t i = 0; i < mesh.NodeCount(); ++i) {
            const gp_XYZ p = nodePosition(mesh, uint32_t(i)), n = nodeNormal(mesh, uint32_t(i));
            if (std::abs(n.Z()) < 1e-9) {  // the side
                EXPECT_NEAR(n.Dot(gp_XYZ(p.X(), p.Y(), 0) / 5.0), 1.0, 1e-6);
            }
        }
    }
}

TEST(FaceTessellatorTest, SplineFacesFollowTheirSurfaceNormals) {
    const TopoDS_Shape sphere =
        BRepBuilderAPI_NurbsConvert(BRepPrimAPI_MakeSphere(4).Shape()).Shape();
    ShapeMesher mesher;
    ASSERT_TRUE(mesher.Mesh(sphere, tolerances(0.01, 15)));
    FaceTessellator tessellator;
    for (TopExp_Explorer it(sphere, TopAbs_FACE); it.More(); it.Next()) {
        const TopoDS_Face face = TopoDS::Face(it.Current());
        EXPECT_EQ(BRepAdaptor_Surface(face).GetType(), GeomAbs_BSplineSurface);
        FaceMesh mesh;
        ASSERT_TRUE(tessellator.Tessellate(face, mesh));
        expectConsistent(mesh);
        for (size_t i = 0; i < mesh.NodeCount(); ++i) {  // a sphere's normals point outwards
            const gp_XYZ p = nodePosition(mesh, uint32_t(i));
            EXPECT_GT(nodeNormal(mesh, uint32_t(i)).Dot(p), 0.9 * p.Modulus());
        }
        EXPECT_LT(facettest::indicesPerTriangle(mesh.strips), 1.25);
    }
}

TEST(FaceTessellatorTest, HoleStaysOpen) {
    const TopoDS_Shape plate = BRepPrimAPI_MakeBox(gp_Pnt(-10, -10, 0), 20, 20, 2).Shape();
    const TopoDS_Shape drill = BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(0, 0, -1), gp::DZ()), 4, 4);
    const TopoDS_Shape holed = BRepAlgoAPI_Cut(plate, drill).Shape();
    for (const FaceMesh& mesh : meshFaces(holed, tolerances(0.05, 15))) {
        expectConsistent(mesh);
        for (size_t t = 0; t < mesh.TriangleCount(); ++t) {
            const gp_XYZ c = centroid(mesh, t);
            EXPECT_GE(std::hypot(c.X(), c.Y()), 4.0 - 0.05);
        }
    }
}

TEST(FaceTessellatorTest, ReversedPlacedAndMirroredFacesKeepWindingWithNormals) {
    const TopoDS_Shape box = BRepPrimAPI_MakeBox(10, 20, 30).Shape();
    ShapeMesher mesher;
    ASSERT_TRUE(mesher.Mesh(box, tolerances(0.1, 20)));
    const TopoDS_Face face = TopoDS::Face(TopExp_Explorer(box, TopAbs_FACE).Current());
    FaceTessellator tessellator(false);
    FaceMesh plain, reversed;
    ASSERT_TRUE(tessellator.Tessellate(face, plain));
    // A reversed face turns normals and winding.
    ASSERT_TRUE(tessellator.Tessellate(TopoDS::Face(face.Reversed()), reversed));
    expectConsistent(reversed);
    EXPECT_EQ(reversed.positions, plain.positions);
    for (size_t i = 0; i < plain.normals.size(); ++i)
        EXPECT_DOUBLE_EQ(reversed.normals[i], -plain.normals[i]);
    std::vector<uint32_t> turned = plain.triangles;
    for (size_t i = 0; i < turned.size(); i += 3)
        std::swap(turned[i + 1], turned[i + 2]);
    EXPECT_EQ(facettest::triangleSet(reversed.triangles), facettest::triangleSet(turned));
    // A location places the nodes; a mirror keeps the winding with the normals.
    gp_Trsf move;
    move.SetRotation(gp_Ax1(gp_Pnt(1, 2, 3), gp_Dir(1, 1, 0)), 0.7);
    move.SetTranslationPart(gp_Vec(5, -3, 8));
    gp_Trsf mirror;
    mirror.SetMirror(gp_Ax2(gp_Pnt(0, 0, 0), gp::DX()));
    for (const gp_Trsf& placement : {move, mirror}) {
        FaceMesh placed;
        // OCCT refuses mirroring locations unless asked not to check; meshes may still meet them.
        const TopoDS_Face moved = TopoDS::Face(face.Moved(placement, Standard_False));
        ASSERT_TRUE(tessellator.Tessellate(moved, placed));
        expectConsistent(placed);
        for (size_t i = 0; i < plain.NodeCount(); ++i) {
            gp_Pnt expected(nodePosition(plain, uint32_t(i)));
            expected.Transform(placement);
            EXPECT_LT(expected.XYZ().Subtracted(nodePosition(placed, uint32_t(i))).Modulus(), 1e-9);
        }
    }
}

TEST(FaceTessellatorTest, FlippedQuadsAreWrittenBackToTheFace) {
    const TopoDS_Shape cylinder = BRepPrimAPI_MakeCylinder(5, 10).Shape();
    ShapeMesher mesher;
    ASSERT_TRUE(mesher.Mesh(cylinder, tolerances(0.001, 5)));
    FaceTessellator tessellator;
    for (TopExp_Explorer it(cylinder, TopAbs_FACE); it.More(); it.Next()) {
        const TopoDS_Face face = TopoDS::Face(it.Current());
        FaceMesh mesh;
        ASSERT_TRUE(tessellator.Tessellate(face, mesh));
        TopLoc_Location location;
        const Handle(Poly_Triangulation) stored = BRep_Tool::Triangulation(face, location);
        ASSERT_EQ(size_t(stored->NbTriangles()), mesh.TriangleCount());
        std::vector<uint32_t> storedTriangles;
        for (Standard_Integer t = 1; t <= stored->NbTriangles(); ++t) {
            Standard_Integer a, b, c;
            stored->Triangle(t).Get(a, b, c);
            if (face.Orientation() == TopAbs_REVERSED)
                std::swap(b, c);
            storedTriangles.insert(storedTriangles.end(),
                                   {uint32_t(a - 1), uint32_t(b - 1), uint32_t(c - 1)});
        }
        EXPECT_EQ(facettest::triangleSet(storedTriangles), facettest::triangleSet(mesh.triangles));
    }
}

TEST(FaceTessellatorTest, FaceWithoutMeshGivesNothing) {
    const TopoDS_Face face = BRepBuilderAPI_MakeFace(gp_Pln(), -1, 1, -1, 1).Face();
    FaceMesh mesh;
    mesh.positions = {1, 2, 3};
    EXPECT_FALSE(FaceTessellator().Tessellate(face, mesh));
    EXPECT_TRUE(mesh.positions.empty());
    EXPECT_EQ(mesh.TriangleCount(), 0u);
    EXPECT_FALSE(FaceTessellator().Tessellate(TopoDS_Face(), mesh));
}
