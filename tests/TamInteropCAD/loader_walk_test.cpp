// The entity walk: the node tree, transform nodes, level-of-detail passes, host settings and
// progress.
#include <tamsg/sglLOD.h>
#include <tamsg/sglLineStripSet.h>
#include <tamsg/sglPointSet.h>
#include <tamsgdb/CTamUserDataGeoset.h>
#include <tamsgdb/sglModelLoader.h>

#include <gp_Trsf.hxx>

#include "loader_test_support.h"

namespace tamtest {
namespace {

gp_Trsf Translation(double x, double y, double z) {
    gp_Trsf placement;
    placement.SetTranslation(gp_Vec(x, y, z));
    return placement;
}

std::vector<float> ProgressFractions(const std::vector<HostProgress>& progress) {
    std::vector<float> fractions;
    for (const HostProgress& step : progress)
        fractions.push_back(step.fraction);
    return fractions;
}

template <class Set>
unsigned int CountSets(const std::vector<sglGeode*>& geodes) {
    unsigned int sets = 0;
    for (const sglGeode* geode : geodes) {
        for (unsigned int i = 0; i < geode->getNumGeometries(); ++i)
            sets += dynamic_cast<Set*>(geode->getGeometry(i)) != nullptr ? 1 : 0;
    }
    return sets;
}

}  // namespace

using LoaderWalk = LoaderTest;

TEST_F(LoaderWalk, FaceModeMakesOneGeodePerFaceUnderThePartGroupBodyModeOnePerSolid) {
    GroupPtr group = Parse({BoxBody(1, 2, 3)});
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->getNumChildren(), 6u);
    for (sglGeode* geode : Geodes(group.get())) {
        EXPECT_EQ(geode->getParent(0), group.get());
        EXPECT_EQ(geode->getNumGeometries(), 1u);
        EXPECT_EQ(TriangleCount(geode), 2u);
        EXPECT_EQ(Record(geode).GetEntityKind(), 2u);
    }
    // A body with faces never shows its edges or vertices.
    EXPECT_EQ(CountSets<sglLineStripSet>(Geodes(group.get())), 0u);
    EXPECT_EQ(CountSets<sglPointSet>(Geodes(group.get())), 0u);
    EXPECT_EQ(CountSets<sglMonoIndexedTriangleStripSet>(Geodes(group.get())), 6u);
    // Body mode makes one geode for a closed solid, and sends unplaced one-face bodies to the
    // free faces of their color.
    sglModelLoader::m_sbImportAsBodies = true;
    group = Parse({BoxBody(1, 2, 3), orik_make_body(RectangleFace(1, 1)),
                   orik_make_body(RectangleFace(2, 2, 5.0))});
    const std::vector<sglGeode*> geodes = Geodes(group.get());
    ASSERT_EQ(geodes.size(), 2u);
    EXPECT_EQ(geodes[0]->getNumGeometries(), 6u);
    EXPECT_EQ(Record(geodes[0]).GetEntityKind(), 1u);
    EXPECT_EQ(geodes[1]->getNumGeometries(), 2u);
    EXPECT_EQ(Record(geodes[1]).GetEntityKind(), 2u);
}

TEST_F(LoaderWalk, PlacedBodyGetsOneTransformNodePerGeodeWithTheBodyMatrix) {
    GroupPtr group = Parse({BoxBody(1, 1, 1, Translation(10, 20, 30))});
    ASSERT_EQ(group->getNumChildren(), 6u);
    for (unsigned int i = 0; i < group->getNumChildren(); ++i) {
        auto* transform = dynamic_cast<sglTransform<float>*>(group->getChild(i));
        ASSERT_NE(transform, nullptr);
        EXPECT_EQ(transform->getMatrix(), sglMat4<float>::translation(sglVec3<float>(10, 20, 30)));
        ASSERT_EQ(transform->getNumChildren(), 1u);
        EXPECT_NE(dynamic_cast<sglGeode*>(transform->getChild(0)), nullptr);
    }
    // The identity placement makes no transform node.
    group = Parse({BoxBody(1, 1, 1, Translation(0, 0, 0))});
    for (unsigned int i = 0; i < group->getNumChildren(); ++i)
        EXPECT_NE(dynamic_cast<sglGeode*>(group->getChild(i)), nullptr);
    // A scaled placement fills the diagonal and the last row.
    gp_Trsf placement;
    placement.SetScale(gp_Pnt(), 2.0);
    placement.SetTranslationPart(gp_Vec(1, 2, 3));
    sglModelLoader::m_sbImportAsBodies = true;
    group = Parse({BoxBody(1, 1, 1, placement)});
    auto* transform = dynamic_cast<sglTransform<float>*>(group->getChild(0));
    ASSERT_NE(transform, nullptr);
    const float expected[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1};
    EXPECT_EQ(transform->getMatrix(), sglMat4<float>(expected));
}

TEST_F(LoaderWalk, SeveralPassesGiveOneLevelPerPassCoarserAfterFinerAlsoOnASecondWalk) {
    sglModelLoader::m_suiNbLOD = 3;
    BODY* body = CylinderBody(10, 20);
    Parse({body}).reset();  // the first walk's group is gone before the second walk
    GroupPtr group = Parse({body});
    ASSERT_NE(group, nullptr);
    ASSERT_GE(group->getNumChildren(), 1u);
    for (unsigned int i = 0; i < group->getNumChildren(); ++i) {
        auto* lod = dynamic_cast<sglLOD*>(group->getChild(i));
        ASSERT_NE(lod, nullptr);
        ASSERT_EQ(lod->getNumChildren(), 3u);
        unsigned int previous = ~0u;
        for (unsigned int level = 0; level < 3; ++level) {
            auto* geode = dynamic_cast<sglGeode*>(lod->getChild(level));
            ASSERT_NE(geode, nullptr);
            const auto* record =
                dynamic_cast<const CTamUserDataGeoset*>(geode->getGeometry(0)->getUserData());
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(record->GetLevel(), level);
            EXPECT_LE(TriangleCount(geode), previous);
            previous = TriangleCount(geode);
        }
    }
}

TEST_F(LoaderWalk, ProgressRisesToOneOverAllPassesWhoseCountIsClampedAndWrittenBack) {
    Parse({BoxBody(1, 1, 1), BoxBody(2, 2, 2), BoxBody(3, 3, 3), BoxBody(4, 4, 4)});
    EXPECT_EQ(ProgressFractions(Progress()), (std::vector<float>{0.25f, 0.5f, 0.75f, 1.0f}));
    for (const HostProgress& step : Progress())
        EXPECT_FALSE(step.hasText);
    for (const auto& [asked, used] : {std::pair<unsigned int, unsigned int>{0, 1}, {9, 5}}) {
        sglModelLoader::m_suiNbLOD = asked;
        Progress().clear();
        Parse({BoxBody(1, 1, 1), BoxBody(2, 2, 2)});
        EXPECT_EQ(sglModelLoader::m_suiNbLOD, used);
        const std::vector<float> fractions = ProgressFractions(Progress());
        ASSERT_EQ(fractions.size(), 2 * used);
        for (size_t i = 1; i < fractions.size(); ++i)
            EXPECT_GT(fractions[i], fractions[i - 1]);
        EXPECT_EQ(fractions.back(), 1.0f);
    }
}

TEST_F(LoaderWalk, HostFacetingSettingsAreRestoredAfterThePassesLaterOnesScaleTheNormalDeviation) {
    sglModelLoader::m_suiNbLOD = 4;
    sglModelLoader::m_sbSetChordalError = sglModelLoader::m_sbSetNormalDeviation = true;
    sglModelLoader::m_sbSetEdgeLength = true;
    const std::pair<float*, float> settings[] = {{&sglModelLoader::m_fRefinement, 0.7f},
                                                 {&sglModelLoader::m_fChordalErrorValue, 0.3f},
                                                 {&sglModelLoader::m_fNormalDeviationValue, 25.0f},
                                                 {&sglModelLoader::m_fEdgeLengthValue, 4.0f}};
    for (const auto& [setting, value] : settings)
        *setting = value;
    Parse({CylinderBody(3, 3)});
    for (const auto& [setting, value] : settings)
        EXPECT_EQ(*setting, value);
    // Later passes scale the normal deviation.
    sglModelLoader::m_suiRefinementType = 1;
    sglModelLoader::m_sbSetNormalDeviation = true;
    struct Case {
        unsigned int passes;
        float deviation;
        double lastPassDeviation;
    };
    // Pass 2 of 3 from 30 degrees: 30 + 2 x (60 - 30) / 2; pass 1 of 2 from 50: min(2 x 50, 180).
    for (const Case& c : {Case{3, 30.0f, 60.0}, Case{2, 50.0f, 100.0}, Case{2, 120.0f, 180.0}}) {
        sglModelLoader::m_suiNbLOD = c.passes;
        sglModelLoader::m_fNormalDeviationValue = c.deviation;
        BODY* body = BoxBody(1, 1, 1);
        Parse({body});
        REFINEMENT* refinement = nullptr;
        api_get_entity_refinement(body, refinement).ignore();
        ASSERT_NE(refinement, nullptr);
        EXPECT_DOUBLE_EQ(refinement->get_normal_tol(), c.lastPassDeviation);
    }
}

TEST_F(LoaderWalk, WireBodyShowsItsEdgesAsLineStripsBodyOfPointsEachVertex) {
    const TopoDS_Shape wire =
        BRepBuilderAPI_MakeWire(TopoDS::Edge(Segment(gp_Pnt(0, 0, 0), gp_Pnt(1, 0, 0))),
                                TopoDS::Edge(Segment(gp_Pnt(1, 0, 0), gp_Pnt(1, 1, 0))))
            .Shape();
    const TopoDS_Shape points = Compound({BRepBuilderAPI_MakeVertex(gp_Pnt(1, 2, 3)).Shape(),
                                          BRepBuilderAPI_MakeVertex(gp_Pnt(4, 5, 6)).Shape()});
    GroupPtr group = Parse({orik_make_body(wire), orik_make_body(points)});
    std::vector<sglGeode*> geodes = Geodes(group.get());
    ASSERT_EQ(geodes.size(), 4u);
    EXPECT_EQ(CountSets<sglLineStripSet>(geodes), 2u);
    EXPECT_EQ(CountSets<sglPointSet>(geodes), 2u);
    EXPECT_EQ(Record(geodes[2]).GetEntityKind(), 4u);

    sglModelLoader::m_sbImportPoints = false;
    sglModelLoader::m_sbImportAsBodies = true;
    group = Parse({orik_make_body(wire), orik_make_body(points)});
    geodes = Geodes(group.get());
    ASSERT_EQ(geodes.size(), 1u);
    EXPECT_EQ(geodes[0]->getNumGeometries(), 2u);
    EXPECT_EQ(Record(geodes[0]).GetEntityKind(), 5u);
}

TEST_F(LoaderWalk, MergingIntoOneActorReturnsTheFactorizedGraphNoEntitiesOrACancelNothing) {
    sglModelLoader::m_sbMergeFileInOneActor = true;
    GroupPtr group = Parse({BoxBody(1, 1, 1), BoxBody(2, 2, 2)});
    ASSERT_NE(group, nullptr);
    unsigned int triangles = 0;
    for (sglGeode* geode : Geodes(group.get()))
        triangles += TriangleCount(geode);
    EXPECT_EQ(triangles, 24u);
    // An empty list gives no group but logs the count; a cancelled import builds nothing.
    EXPECT_EQ(Parse({}), nullptr);
    const std::vector<std::wstring> lines = gTamLog.GetLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find(L"ParseEntities() Number of read entities 0"), std::wstring::npos);
    Progress().clear();
    sglModelLoader::m_sbCancelImport = true;
    EXPECT_EQ(Parse({BoxBody(1, 1, 1)}), nullptr);
    EXPECT_TRUE(Progress().empty());
}

}  // namespace tamtest
