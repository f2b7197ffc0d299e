// Face tessellation: strip sets, their state and level, face colors and the tessellation check.
#include <tamsg/sglLighting.h>
#include <tamsg/sglMaterial.h>
#include <tamsgdb/CTamUserDataGeoset.h>
#include <tamsgdb/sglModelLoader.h>

#include <cmath>

#include "loader_test_support.h"

namespace tamtest {
namespace {

using StripSetPtr = std::unique_ptr<sglMonoIndexedTriangleStripSet, NodeRelease>;

const sglMaterial* MaterialOf(const sglGeoSet& set) {
    for (sglStatelet* statelet : set.getState(0)) {
        if (auto* material = dynamic_cast<const sglMaterial*>(statelet))
            return material;
    }
    return nullptr;
}

bool LightingOn(const sglGeoSet& set) {
    for (sglStatelet* statelet : set.getState(0)) {
        if (auto* lighting = dynamic_cast<const sglLighting*>(statelet))
            return lighting->isEnabled();
    }
    return false;
}

}  // namespace

class LoaderFaces : public LoaderTest {
protected:
    void SetUp() override {
        LoaderTest::SetUp();
        loader.UpdateRefinement(sglBoxBound(sglVec3<float>(), sglVec3<float>(10, 10, 10)));
    }
};

TEST_F(LoaderFaces, PlanarFaceGivesALitValidStripSetInTheFaceColorOrTheDefaultColor) {
    MESH_MANAGER* before = nullptr;
    api_get_mesh_manager(before).ignore();
    BODY* body = BoxBody(10, 10, 10);
    FACE* face = FaceOf(body);
    Color(face, 0.0, 0.0, 1.0);
    unsigned long packed = 0;
    StripSetPtr strips(loader.ParseFace(face, true, false, &packed, 0));

    ASSERT_NE(strips, nullptr);
    EXPECT_TRUE(strips->isValid());
    EXPECT_EQ(strips->getNumTriangles(), 2u);
    EXPECT_EQ(strips->getNumNormals(), strips->getNumCoords());
    EXPECT_EQ(strips->getNormalBinding(), SGL_BIND_PER_VERTEX);
    EXPECT_EQ(packed, 0xFF0000ul);
    const sglMaterial* material = MaterialOf(*strips);
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->getDiffuse(SGL_FRONT), sglVec4<float>(0, 0, 1, 1));
    EXPECT_EQ(material->getDiffuse(SGL_BACK), sglVec4<float>(0, 0, 1, 1));
    EXPECT_EQ(material->getSpecular(SGL_FRONT), sglVec4<float>(1, 1, 1, 1));
    EXPECT_FLOAT_EQ(material->getShininess(SGL_BACK), 64.0f);
    EXPECT_TRUE(LightingOn(*strips));
    // An uncolored face packs the default color; the kernel's mesh manager is put back.
    ASSERT_NE(StripSetPtr(loader.ParseFace(FaceOf(body, 1), true, false, &packed, 0)), nullptr);
    EXPECT_EQ(packed, 15060172ul);
    MESH_MANAGER* after = nullptr;
    api_get_mesh_manager(after).ignore();
    EXPECT_EQ(after, before);
    EXPECT_EQ(loader.ParseFace(nullptr, true, true, nullptr, 0), nullptr);  // a null face
}

TEST_F(LoaderFaces, ReadingTheFaceNameNamesTheFreeFaceGeode) {
    FACE* face = orik_make_free_face(RectangleFace(4, 2));
    Name(face, L"Lid");
    GroupPtr group = Parse({face});
    ASSERT_EQ(Geodes(group.get()).size(), 1u);
    EXPECT_EQ(Geodes(group.get())[0]->getName(), L"Lid");
}

TEST_F(LoaderFaces, CurvedFaceHasUnitNormalsAndItsLevelTheTessellationCheckKeepsItsTriangles) {
    FACE* side = FaceOf(CylinderBody(5, 10));
    StripSetPtr unchecked(loader.ParseFace(side, false, false, nullptr, 3));
    ASSERT_NE(unchecked, nullptr);
    EXPECT_TRUE(unchecked->isValid());
    EXPECT_GT(unchecked->getNumTriangles(), 8u);
    const float* normals = unchecked->getNormals();
    for (unsigned int i = 0; i < unchecked->getNumNormals(); ++i) {
        const sglVec3<float> n(normals[3 * i], normals[3 * i + 1], normals[3 * i + 2]);
        EXPECT_NEAR(n.length(), 1.0f, 1e-4f);
    }
    const auto* level = dynamic_cast<const CTamUserDataGeoset*>(unchecked->getUserData());
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->GetLevel(), 3u);
    GetTamPreferences()->SetIOCheckTesselation(true);
    api_delete_entity_facets(side, TRUE).ignore();
    StripSetPtr checked(loader.ParseFace(side, false, false, nullptr, 0));
    ASSERT_NE(checked, nullptr);
    EXPECT_EQ(checked->getNumTriangles(), unchecked->getNumTriangles());

    sglModelLoader::m_sbFennelUseORIKmodeler = true;  // version-pinned faceting still meshes
    StripSetPtr strips(loader.ParseFace(FaceOf(BoxBody(2, 2, 2)), true, true, nullptr, 0));
    ASSERT_NE(strips, nullptr);
    EXPECT_EQ(strips->getNumTriangles(), 2u);
}

}  // namespace tamtest
