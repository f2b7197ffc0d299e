// Bodies of mesh-only faces (stored triangles, no surface), as the translator makes them from
// tessellated parts: strip sets with their triangles and colors (a face's own over its body's),
// areas, mass properties and levels of detail.
#include <tamsg/sglLOD.h>
#include <tamsg/sglMaterial.h>
#include <tamsgdb/CTamUserDataGeoset.h>
#include <tamsgdb/sglModelLoader.h>

#include "loader_test_support.h"
#include "mesh_only_shapes.h"

namespace tamtest {
namespace {

sglVec4<float> DiffuseOf(const sglGeoSet& set) {
    for (sglStatelet* statelet : set.getState(0)) {
        if (auto* material = dynamic_cast<const sglMaterial*>(statelet))
            return material->getDiffuse(SGL_FRONT);
    }
    return sglVec4<float>();
}

// A cube whose first face is red in a blue body.
BODY* ColoredMeshCube() {
    BODY* cube = orik_make_body(meshSolid(meshCubeFaces(2.0)));
    Color(cube, 0.0, 0.0, 1.0);
    Color(FaceOf(cube, 0), 1.0, 0.0, 0.0);
    return cube;
}

}  // namespace

using LoaderMeshFaces = LoaderTest;

TEST_F(LoaderMeshFaces, FaceWithoutSurfaceOrTrianglesGivesNothing) {
    TopoDS_Face bare;
    BRep_Builder().MakeFace(bare);
    FACE* face = orik_make_free_face(bare);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(loader.ParseFace(face, true, false, nullptr, 0), nullptr);
    sglModelLoader::m_sbImportMassProperties = true;
    EXPECT_TRUE(Geodes(Parse({orik_make_body(bare)}).get()).empty());
}

TEST_F(LoaderMeshFaces,
       FaceModeGivesAGeodePerFaceWithAreaColorAndTrianglesBodyModeSumsAndMeasures) {
    sglModelLoader::m_sbImportMassProperties = true;
    sglModelLoader::m_suiNbLOD = 3;
    GroupPtr group = Parse({ColoredMeshCube()});
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->getNumChildren(), 6u);
    for (unsigned int i = 0; i < group->getNumChildren(); ++i) {
        auto* lod = dynamic_cast<sglLOD*>(group->getChild(i));
        ASSERT_NE(lod, nullptr);
        ASSERT_EQ(lod->getNumChildren(), 3u);
        for (unsigned int level = 0; level < 3; ++level) {
            auto* geode = dynamic_cast<sglGeode*>(lod->getChild(level));
            ASSERT_NE(geode, nullptr);
            EXPECT_EQ(TriangleCount(geode), 2u);
            EXPECT_NEAR(Record(geode).GetArea(), 4.0f, 1e-5f);
            EXPECT_EQ(DiffuseOf(*geode->getGeometry(0)),
                      i == 0 ? sglVec4<float>(1, 0, 0, 1) : sglVec4<float>(0, 0, 1, 1));
            const auto* record =
                dynamic_cast<const CTamUserDataGeoset*>(geode->getGeometry(0)->getUserData());
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(record->GetLevel(), level);
        }
    }
    // Body mode sums the areas and measures the closed mesh.
    sglModelLoader::m_sbImportAsBodies = true;
    sglModelLoader::m_suiNbLOD = 1;
    group = Parse({ColoredMeshCube()});
    const std::vector<sglGeode*> geodes = Geodes(group.get());
    ASSERT_EQ(geodes.size(), 1u);
    EXPECT_EQ(geodes[0]->getNumGeometries(), 6u);
    EXPECT_EQ(TriangleCount(geodes[0]), 12u);
    const CTamUserData& record = Record(geodes[0]);
    EXPECT_EQ(record.GetEntityKind(), 1u);  // a closed solid
    EXPECT_NEAR(record.GetArea(), 24.0f, 1e-4f);
    EXPECT_NEAR(record.GetVolume(), 8.0f, 1e-4f);
    for (unsigned int i = 0; i < 3; ++i) {
        EXPECT_NEAR(record.GetCofG()[i], 1.0f, 1e-5f);
        EXPECT_NEAR(record.GetInertiaAxis(i).length(), 1.0f, 1e-4f);
    }
}

}  // namespace tamtest
