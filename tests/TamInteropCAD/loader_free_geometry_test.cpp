// Free points, edges, wires and faces, and their per-color geodes in body mode.
#include <tamsg/sglLineStripSet.h>
#include <tamsg/sglLineWidth.h>
#include <tamsg/sglPointSet.h>
#include <tamsg/sglPointSize.h>
#include <tamsgdb/sglModelLoader.h>

#include "loader_test_support.h"

namespace tamtest {
namespace {

VERTEX* FreePoint(double x, double y, double z) {
    return orik_make_free_vertex(BRepBuilderAPI_MakeVertex(gp_Pnt(x, y, z)).Shape());
}

EDGE* FreeSegment(const gp_Pnt& from, const gp_Pnt& to) {
    return orik_make_free_edge(Segment(from, to));
}

template <class Statelet>
const Statelet* StateletOf(const sglGeoSet* set) {
    for (sglStatelet* statelet : set->getState(0)) {
        if (auto* found = dynamic_cast<const Statelet*>(statelet))
            return found;
    }
    return nullptr;
}

}  // namespace

using LoaderFreeGeometry = LoaderTest;

TEST_F(LoaderFreeGeometry, FreeVertexEdgeAndWireBecomePointsAndLineStripsUnlessNotImported) {
    VERTEX* vertex = FreePoint(1, 2, 3);
    Color(vertex, 1, 0, 0);
    const TopoDS_Shape wire =
        BRepBuilderAPI_MakeWire(TopoDS::Edge(Segment(gp_Pnt(0, 0, 0), gp_Pnt(1, 0, 0))),
                                TopoDS::Edge(Segment(gp_Pnt(1, 0, 0), gp_Pnt(1, 5, 0))))
            .Shape();
    GroupPtr group =
        Parse({vertex, FreeSegment(gp_Pnt(0, 0, 0), gp_Pnt(4, 0, 0)), orik_make_free_wire(wire)});
    const std::vector<sglGeode*> geodes = Geodes(group.get());
    ASSERT_EQ(geodes.size(), 3u);
    const auto* points = dynamic_cast<const sglPointSet*>(geodes[0]->getGeometry(0));
    ASSERT_NE(points, nullptr);
    EXPECT_EQ(points->getNumPrims(), 1u);
    EXPECT_EQ(points->getCoord(0), sglVec3<float>(1, 2, 3));
    EXPECT_EQ(points->getColorBinding(), SGL_BIND_OVERALL);
    EXPECT_EQ(points->getColor(0), sglVec4<float>(1, 0, 0, 1));
    ASSERT_NE(StateletOf<sglPointSize>(points), nullptr);
    EXPECT_EQ(StateletOf<sglPointSize>(points)->getSize(), 5.0f);
    EXPECT_EQ(Record(geodes[0]).GetEntityKind(), 4u);
    EXPECT_EQ(Record(geodes[0]).GetFacetingTolerance(), CTamUserData::kToleranceUnset);
    // A straight edge is a line strip of two points in the default color.
    const auto* strip = dynamic_cast<const sglLineStripSet*>(geodes[1]->getGeometry(0));
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->getNumPrims(), 1u);
    ASSERT_EQ(strip->getNumPrimLengths(), 1u);
    EXPECT_EQ(strip->getPrimLengths()[0], 2u);
    EXPECT_EQ(strip->getCoord(1), sglVec3<float>(4, 0, 0));
    EXPECT_EQ(strip->getColor(0), sglVec4<float>(0.8f, 0.8f, 0.9f, 1.0f));
    EXPECT_EQ(StateletOf<sglLineWidth>(strip)->getWidth(), 1.0f);
    EXPECT_EQ(Record(geodes[1]).GetEntityKind(), 5u);
    // A free wire shows its first edge.
    ASSERT_EQ(geodes[2]->getNumGeometries(), 1u);
    EXPECT_EQ(geodes[2]->getGeometry(0)->getNumCoords(), 2u);

    sglModelLoader::m_sbImportCurves = false;
    sglModelLoader::m_sbImportPoints = false;
    group = Parse({FreePoint(0, 0, 0), FreeSegment(gp_Pnt(), gp_Pnt(1, 1, 1))});
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->getNumChildren(), 0u);
}

TEST_F(LoaderFreeGeometry, EdgeIsSampledBeforeAnyRefinementAndBeyondAHundredPointsShowsItsStart) {
    GroupPtr group(new sglGroup);
    loader.ParseEntity(orik_make_free_edge(Circle(10.0)), group.get(), 0);
    ASSERT_EQ(Geodes(group.get()).size(), 1u);
    const auto* strip =
        dynamic_cast<const sglLineStripSet*>(Geodes(group.get())[0]->getGeometry(0));
    ASSERT_NE(strip, nullptr);
    EXPECT_GT(strip->getPrimLengths()[0], 8u);

    sglModelLoader::m_suiRefinementType = 1;
    sglModelLoader::m_sbSetChordalError = true;
    sglModelLoader::m_fChordalErrorValue = 1e-5f;
    group = Parse({orik_make_free_edge(Circle(1000.0))});
    const std::vector<sglGeode*> geodes = Geodes(group.get());
    ASSERT_EQ(geodes.size(), 1u);
    const auto* points = dynamic_cast<const sglPointSet*>(geodes[0]->getGeometry(0));
    ASSERT_NE(points, nullptr);
    EXPECT_EQ(points->getCoord(0), sglVec3<float>(1000, 0, 0));
    EXPECT_EQ(Record(geodes[0]).GetEntityKind(), 4u);
}

TEST_F(LoaderFreeGeometry, BodyModeGathersFreeFacesByColorLaterPassesIntoTheSameGeode) {
    sglModelLoader::m_sbImportAsBodies = true;
    sglModelLoader::m_sbImportMassProperties = true;
    FACE* faces[3] = {orik_make_free_face(RectangleFace(1, 1)),
                      orik_make_free_face(RectangleFace(2, 3, 1.0)),
                      orik_make_free_face(RectangleFace(1, 1, 2.0))};
    Color(faces[0], 1, 0, 0);
    Color(faces[1], 0, 0, 1);
    Color(faces[2], 1, 0, 0);
    Name(faces[0], L"First red");
    Name(faces[2], L"Second red");
    GroupPtr group = Parse({faces[0], faces[1], faces[2]});

    const std::vector<sglGeode*> geodes = Geodes(group.get());
    ASSERT_EQ(geodes.size(), 2u);
    EXPECT_EQ(geodes[0]->getName(), L"First red");
    EXPECT_EQ(geodes[0]->getNumGeometries(), 2u);
    EXPECT_NEAR(Record(geodes[0]).GetArea(), 2.0f, 1e-4f);
    EXPECT_NEAR(Record(geodes[1]).GetArea(), 6.0f, 1e-4f);
    EXPECT_EQ(Record(geodes[1]).GetEntityKind(), 2u);

    // Both passes of two faces of one color end in one geode, turned into two levels by the host.
    sglModelLoader::m_suiNbLOD = 2;
    loader.SetCreateLODForFaces(true);
    group = Parse(
        {orik_make_free_face(RectangleFace(1, 1)), orik_make_free_face(RectangleFace(1, 1, 3.0))});
    ASSERT_EQ(group->getNumChildren(), 1u);
    const std::vector<sglGeode*> levels = Geodes(group.get());
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0]->getNumGeometries(), 2u);
    EXPECT_EQ(levels[1]->getNumGeometries(), 2u);
}

TEST_F(LoaderFreeGeometry, BodyModeGathersFreeEdgesByColorApartFromPoints) {
    sglModelLoader::m_sbImportAsBodies = true;
    GroupPtr group = Parse({FreeSegment(gp_Pnt(0, 0, 0), gp_Pnt(1, 0, 0)), FreePoint(5, 5, 5),
                            FreeSegment(gp_Pnt(0, 1, 0), gp_Pnt(1, 1, 0))});
    const std::vector<sglGeode*> geodes = Geodes(group.get());
    ASSERT_EQ(geodes.size(), 2u);
    EXPECT_EQ(geodes[0]->getNumGeometries(), 2u);
    EXPECT_NE(dynamic_cast<const sglLineStripSet*>(geodes[0]->getGeometry(1)), nullptr);
    EXPECT_NE(dynamic_cast<const sglPointSet*>(geodes[1]->getGeometry(0)), nullptr);
}

}  // namespace tamtest
