// Every level of detail stays within its own chordal tolerance of the surface: the shapes are
// meshed pass after pass at the deflections the loader derives for five levels (quality
// 0.5 / level, relative to the box diagonal), each pass after the previous one's mesh was
// cleared (so the coarser levels are coarsened from the first one's meshes), and every
// triangle's centre (after strip building flipped quads) is projected onto the face's surface;
// neighbouring faces still meet node for node. Surfaces without poles: near a sphere's poles
// BRepMesh itself leaves triangles up to 1.7 times the deflection away, at every level.
#include "FaceTessellator.h"
#include "ShapeMesher.h"
#include "facet_test_support.h"

#include <BRepBndLib.hxx>
#include <BRepPrimAPI_MakeCone.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <Geom_Surface.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using orik::facet::FaceMesh;
using orik::facet::FaceTessellator;
using orik::facet::ShapeMesher;

namespace {

// The loader's relative chordal tolerance for quality r on a model of the given diagonal.
double levelDeflection(int level, double diagonal) {
    const double quality = 0.5 / (level + 1);
    return (0.004 * std::pow(1.0 - quality, 4) + 0.00005) * diagonal;
}

double diagonalOf(const TopoDS_Shape& shape) {
    Bnd_Box box;
    BRepBndLib::Add(shape, box, Standard_False);
    return std::sqrt(box.SquareExtent());
}

// The largest distance between the surface and the centres of the face's triangles as the
// tessellator gives them (the face has no location).
double largestDeviation(const TopoDS_Face& face, const FaceMesh& mesh) {
    const Handle(Geom_Surface) surface = BRep_Tool::Surface(face);
    double largest = 0.0;
    for (size_t t = 0; t < mesh.TriangleCount(); ++t) {
        gp_XYZ centre(0, 0, 0);
        for (int k = 0; k < 3; ++k) {
            const double* p = &mesh.positions[3 * mesh.triangles[3 * t + k]];
            centre += gp_XYZ(p[0], p[1], p[2]) / 3.0;
        }
        GeomAPI_ProjectPointOnSurf projection(gp_Pnt(centre), surface);
        if (projection.NbPoints() > 0)
            largest = std::max(largest, projection.LowerDistance());
    }
    return largest;
}

struct Case {
    const char* name;
    TopoDS_Shape shape;
};

}  // namespace

TEST(LevelToleranceTest, EveryLevelKeepsToItsChordalTolerance) {
    const std::vector<Case> cases = {
        {"cone", BRepPrimAPI_MakeCone(30.0, 10.0, 60.0).Shape()},
        {"pointed cone", BRepPrimAPI_MakeCone(30.0, 0.0, 60.0).Shape()},
        {"torus", BRepPrimAPI_MakeTorus(50.0, 12.0).Shape()},
        {"cylinder", BRepPrimAPI_MakeCylinder(8.0, 120.0).Shape()},
    };
    for (const Case& c : cases) {
        ShapeMesher mesher;
        const double diagonal = diagonalOf(c.shape);
        size_t previousTriangles = 0;
        for (int level = 0; level < 5; ++level) {
            const double deflection = levelDeflection(level, diagonal);
            mesher.Clear(c.shape);
            ASSERT_TRUE(mesher.Mesh(c.shape, facettest::tolerances(deflection, 120.0)))
                << c.name << " level " << level;
            size_t triangles = 0;
            FaceTessellator tessellator;
            std::vector<FaceMesh> meshes;
            for (TopExp_Explorer it(c.shape, TopAbs_FACE); it.More(); it.Next()) {
                const TopoDS_Face& face = TopoDS::Face(it.Current());
                FaceMesh& mesh = meshes.emplace_back();
                ASSERT_TRUE(tessellator.Tessellate(face, mesh));
                triangles += mesh.TriangleCount();
                EXPECT_LE(largestDeviation(face, mesh), deflection * 1.001 + 1e-7)
                    << c.name << " level " << level << " deflection " << deflection;
            }
            EXPECT_EQ(facettest::unmatchedBorderNodes(meshes), 0u) << c.name << " level " << level;
            if (level > 0) {
                EXPECT_LE(triangles, previousTriangles) << c.name << " level " << level;
            }
            previousTriangles = triangles;
        }
    }
}
