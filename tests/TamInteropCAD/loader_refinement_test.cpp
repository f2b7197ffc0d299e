// Faceting tolerances from the model size or explicit settings, and mass properties of sheets.
#include <tamsgdb/sglModelLoader.h>

#include "loader_test_support.h"

namespace tamtest {
namespace {

// A box whose diagonal is exactly 100 (36^2 + 48^2 + 80^2 = 100^2).
sglBoxBound DiagonalHundred() {
    return sglBoxBound(sglVec3<float>(), sglVec3<float>(36, 48, 80));
}

}  // namespace

class LoaderRefinement : public LoaderTest {
protected:
    // The refinement the loader attaches to an entity it converts.
    const REFINEMENT* RefinementAfterUpdate(const sglBoxBound& box) {
        loader.UpdateRefinement(box);
        BODY* body = BoxBody(1, 1, 1);
        GroupPtr group(new sglGroup);
        loader.ParseEntity(body, group.get(), 0);
        return RefinementOf(body);
    }
    static REFINEMENT* RefinementOf(ENTITY* entity) {
        REFINEMENT* refinement = nullptr;
        api_get_entity_refinement(entity, refinement).ignore();
        return refinement;
    }
};

TEST_F(LoaderRefinement, SizeRuleFollowsTheDiagonalSliderAndHostSceneAngleRuleTheNormalDeviation) {
    sglModelLoader::m_fRefinement = 0.0f;
    const REFINEMENT* coarse = RefinementAfterUpdate(DiagonalHundred());
    ASSERT_NE(coarse, nullptr);
    EXPECT_NEAR(coarse->get_surface_tol(), 0.405, 1e-6);
    EXPECT_EQ(coarse->get_normal_tol(), 120.0);
    EXPECT_EQ(coarse->get_max_grid_lines(), 2048);
    EXPECT_EQ(coarse->get_max_edge_length(), -1.0);
    EXPECT_EQ(coarse->get_grid_mode(), AF_GRID_TO_EDGES);
    EXPECT_EQ(coarse->get_adjust_mode(), AF_ADJUST_NONE);
    EXPECT_EQ(coarse->get_surf_mode(), AF_SURF_ALL);

    sglModelLoader::m_fRefinement = 1.0f;
    EXPECT_NEAR(RefinementAfterUpdate(DiagonalHundred())->get_surface_tol(), 0.005, 1e-7);
    // The host's scene box enlarges the model's, unless it is a point.
    sglModelLoader::m_fRefinement = 0.0f;
    sglModelLoader::SetBBox(sglBoxBound(sglVec3<float>(5, 5, 5), sglVec3<float>(5, 5, 5)));
    EXPECT_NEAR(RefinementAfterUpdate(DiagonalHundred())->get_surface_tol(), 0.405, 1e-6);
    sglModelLoader::SetBBox(sglBoxBound(sglVec3<float>(), sglVec3<float>(72, 96, 160)));
    EXPECT_NEAR(RefinementAfterUpdate(DiagonalHundred())->get_surface_tol(), 0.81, 1e-5);
    // The angle-based rule drives the normal deviation.
    sglModelLoader::SetBBox(sglBoxBound(sglVec3<float>(), sglVec3<float>()));
    sglModelLoader::m_suiRelativeRefinementFunction = 1;
    const REFINEMENT* angular = RefinementAfterUpdate(DiagonalHundred());
    EXPECT_NEAR(angular->get_normal_tol(), 60.0, 1e-5);
    EXPECT_NEAR(angular->get_surface_tol(), 10.0, 1e-5);
    sglModelLoader::m_fRefinement = 0.9f;
    EXPECT_EQ(RefinementAfterUpdate(DiagonalHundred())->get_normal_tol(), 5.0);
}

TEST_F(LoaderRefinement, ExplicitToleranceOfZeroFallsBackAndIsNotRecorded) {
    sglModelLoader::m_suiRefinementType = 1;
    sglModelLoader::m_sbSetChordalError = true;
    sglModelLoader::m_fChordalErrorValue = 0.0f;
    const REFINEMENT* refinement = RefinementAfterUpdate(DiagonalHundred());
    EXPECT_EQ(refinement->get_surface_tol(), 100.0);
    EXPECT_EQ(refinement->get_normal_tol(), 120.0);
    GroupPtr group = Parse({BoxBody(1, 1, 1)});
    EXPECT_EQ(Record(Geodes(group.get())[0]).GetFacetingTolerance(), CTamUserData::kToleranceUnset);

    sglModelLoader::m_fChordalErrorValue = 0.25f;
    sglModelLoader::m_sbSetEdgeLength = true;
    sglModelLoader::m_fEdgeLengthValue = 3.0f;
    group = Parse({BoxBody(1, 1, 1)});
    EXPECT_EQ(Record(Geodes(group.get())[0]).GetFacetingTolerance(), 0.25f);
}

TEST_F(LoaderRefinement, VerticesAloneLeaveTheRefinementUncreatedCopiesShareOne) {
    VERTEX* vertex = orik_make_free_vertex(BRepBuilderAPI_MakeVertex(gp_Pnt(1, 1, 1)).Shape());
    GroupPtr group = Parse({vertex});
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(Geodes(group.get()).size(), 1u);
    EXPECT_EQ(RefinementOf(vertex), nullptr);

    RefinementAfterUpdate(DiagonalHundred());
    CTamCADLoader copy(loader);
    CTamCADLoader assigned;
    assigned = loader;
    BODY* first = BoxBody(1, 1, 1);
    BODY* second = BoxBody(1, 1, 1);
    copy.ParseEntity(first, group.get(), 0);
    assigned.ParseEntity(second, group.get(), 0);
    ASSERT_NE(RefinementOf(first), nullptr);
    EXPECT_EQ(RefinementOf(first), RefinementOf(second));
}

TEST_F(LoaderRefinement, SheetBodyGetsAVolumeThroughTheOneSidedSheetOptionAndPassesWhenAsked) {
    sglModelLoader::m_sbImportAsBodies = true;
    sglModelLoader::m_sbImportMassProperties = true;
    const TopoDS_Shape sheet = Compound({RectangleFace(2, 2), RectangleFace(2, 2, 1.0)});
    GroupPtr group = Parse({orik_make_body(sheet)});
    const std::vector<sglGeode*> geodes = Geodes(group.get());
    ASSERT_EQ(geodes.size(), 1u);
    const CTamUserData& record = Record(geodes[0]);
    EXPECT_EQ(record.GetEntityKind(), 2u);
    EXPECT_EQ(record.GetVolume(), 0.0f);
    EXPECT_NEAR(record.GetCofG()[0], 1.0f, 1e-4f);
    EXPECT_NEAR(record.GetCofG()[2], 0.5f, 1e-4f);
    EXPECT_NEAR(record.GetArea(), 8.0f, 1e-4f);
    // Sheet bodies get further passes only when asked.
    sglModelLoader::m_suiNbLOD = 2;
    loader.SetCreateLODForFaces(false);
    group = Parse({orik_make_body(sheet)});
    ASSERT_EQ(Geodes(group.get()).size(), 1u);
    EXPECT_EQ(Geodes(group.get())[0]->getNumGeometries(), 2u);

    loader.SetCreateLODForFaces(true);
    group = Parse({orik_make_body(sheet)});
    EXPECT_EQ(Geodes(group.get()).size(), 2u);  // two levels of one body geode
}

}  // namespace tamtest
