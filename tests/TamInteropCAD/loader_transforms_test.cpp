// Entity bounds, geodes moved to world coordinates and the free-parts restructuring.
#include <tamsg/sglPointSet.h>
#include <tamsgdb/CTamDBRoot.h>

#include <TamInteropCAD/mesh_manager.h>

#include "loader_test_support.h"

namespace tamtest {
namespace {

// A geode holding one point at p.
sglGeode* PointGeode(const sglVec3<float>& p) {
    auto* position = new sglVec3<float>[1] { p };
    auto* points = new sglPointSet;
    points->setNumPrims(1);
    points->setCoordList(new sglDeleteableDataPtr<sglVec3<float>>(position), SGL_FLOAT, 3);
    auto* geode = new sglGeode;
    geode->addGeometry(points);
    return geode;
}

sglGroup* NamedGroup(const wchar_t* name) {
    auto* group = new sglGroup;
    group->setName(name);
    return group;
}

sglTransform<float>* Placement(const sglMat4<float>& matrix) {
    auto* transform = new sglTransform<float>;
    transform->setMatrix(matrix);
    return transform;
}

// "Assembly" / freePartsName / translation (10, 0, 0) / scale 2 / geode with the point (1, 0, 0).
std::unique_ptr<CTamDBRoot> FreePartsModel(const wchar_t* freePartsName, sglGeode*& geode) {
    sglMat4<float> scale;
    scale(0, 0) = scale(1, 1) = scale(2, 2) = 2.0f;
    sglTransform<float>* outer = Placement(sglMat4<float>::translation(sglVec3<float>(10, 0, 0)));
    sglTransform<float>* inner = Placement(scale);
    geode = PointGeode(sglVec3<float>(1, 0, 0));
    inner->addChild(geode, true);
    outer->addChild(inner, true);
    sglGroup* freeParts = NamedGroup(freePartsName);
    freeParts->addChild(outer, true);
    sglGroup* assembly = NamedGroup(L"Assembly");
    assembly->addChild(freeParts, true);
    std::unique_ptr<CTamDBRoot> root(new CTamDBRoot);
    root->SetSglRoot(assembly);
    return root;
}

}  // namespace

using LoaderTransforms = LoaderTest;

// The box of nothing is the zero box, not an empty one.
TEST_F(LoaderTransforms, BoxesGeodesToGlobalAndFreePartsAreInWorldCoordinatesOtherStructuresAlone) {
    ENTITY_LIST empty;
    const sglBoxBound zero = loader.GetBBox(empty);
    EXPECT_FALSE(zero.isEmpty());
    EXPECT_EQ(zero.getMax(), sglVec3<float>());
    gp_Trsf placement;
    placement.SetTranslation(gp_Vec(10, 20, 30));
    ENTITY_LIST entities;
    entities.add(BoxBody(1, 2, 3, placement));
    const sglBoxBound box = loader.GetBBox(entities);
    EXPECT_NEAR(box.getMin()[0], 10.0f, 1e-3f);
    EXPECT_NEAR(box.getMax()[1], 22.0f, 1e-3f);
    EXPECT_NEAR(box.getMax()[2], 33.0f, 1e-3f);
    GroupPtr target(new sglGroup);
    CTamCADLoader::TransformGeodeToGlobal(nullptr, target.get());
    GroupPtr source(new sglGroup);
    source->addChild(PointGeode(sglVec3<float>(1, 1, 1)), true);
    CTamCADLoader::TransformGeodeToGlobal(source.get(), nullptr);
    EXPECT_EQ(target->getNumChildren(), 0u);
    CTamCADLoader::TransformGeodeToGlobal(source.get(), target.get());
    EXPECT_EQ(target->getNumChildren(), 1u);
    sglGeode* geode = nullptr;
    std::unique_ptr<CTamDBRoot> root = FreePartsModel(L"assembly-FreeParts", geode);
    CTamCADLoader::ChangeFreePartsStructure(root.get());
    auto* flat = dynamic_cast<sglGroup*>(root->GetSglRoot());
    ASSERT_NE(flat, nullptr);
    ASSERT_EQ(flat->getNumChildren(), 1u);
    ASSERT_EQ(flat->getChild(0), geode);
    EXPECT_EQ(geode->getGeometry(0)->getCoord(0), sglVec3<float>(12, 0, 0));
    EXPECT_EQ(root->GetXMLDoc(), nullptr);

    for (const wchar_t* name : {L"Assembly-FreeParts", L"parts", L"assembly-FreeParts"}) {
        root = FreePartsModel(name, geode);
        if (name[0] == L'a')  // a second child under the assembly
            static_cast<sglGroup*>(root->GetSglRoot())->addChild(new sglGroup, true);
        sglNode* before = root->GetSglRoot();
        CTamCADLoader::ChangeFreePartsStructure(root.get());
        EXPECT_EQ(root->GetSglRoot(), before);
        EXPECT_EQ(geode->getGeometry(0)->getCoord(0), sglVec3<float>(1, 0, 0));
    }
    CTamCADLoader::ChangeFreePartsStructure(nullptr);
}

}  // namespace tamtest
