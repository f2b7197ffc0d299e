// Levels of detail made from the per-pass drawables of geodes.
#include <tamgeometry/CTamGeomTools.h>

#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglLOD.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamUserData.h>

#include "geometry_test_support.h"

#include <gtest/gtest.h>

#include <cfloat>

namespace {

sglGeode* MakeGeode(const wchar_t* name, std::vector<int> levels) {
    auto* geode = new sglGeode;
    geode->setName(name);
    auto* record = new CTamUserData;
    record->SetGuid(std::wstring(L"guid-") + name);
    geode->setUserData(record);
    for (int level : levels) {
        geode->addGeometry(tamtest::MakeTriangle(2.0f, level));
    }
    return geode;
}

}  // namespace

TEST(AddLODToSceneGraph, GeodeWithSeveralPassesBecomesALevelOfDetailNodeInItsPlaceWithDistances) {
    auto* group = new sglGroup;
    group->ref();
    group->addChild(MakeGeode(L"A", {0}), true);
    group->addChild(MakeGeode(L"B", {0, 1, 2}), true);
    group->addChild(MakeGeode(L"C", {0}), true);

    EXPECT_EQ(CTamGeomTools::AddLODToSceneGraph(group), 1u);
    ASSERT_EQ(group->getNumChildren(), 3u);
    EXPECT_EQ(group->getChild(0)->getName(), L"A");
    EXPECT_EQ(group->getChild(2)->getName(), L"C");
    auto* lod = dynamic_cast<sglLOD*>(group->getChild(1));
    ASSERT_NE(lod, nullptr);
    EXPECT_EQ(lod->getName(), L"B");
    ASSERT_EQ(lod->getNumChildren(), 3u);
    EXPECT_NE(dynamic_cast<CTamUserData*>(lod->getUserData()), nullptr);
    // Switch distances follow the bounds: level k from 10 k to 10 (k + 1) radii, the last on.
    const float radius = std::sqrt(8.0f) / 2.0f;  // the 2 x 2 x 0 box of the triangle
    for (unsigned int level = 0; level < 3; ++level) {
        auto* levelGeode = dynamic_cast<sglGeode*>(lod->getChild(level));
        ASSERT_NE(levelGeode, nullptr);
        EXPECT_EQ(levelGeode->getName(), L"B");
        auto* record = dynamic_cast<CTamUserData*>(levelGeode->getUserData());
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->GetGuid(), L"guid-B");
        ASSERT_EQ(levelGeode->getNumGeometries(), 1u);
        auto* pass = dynamic_cast<CTamUserDataGeoset*>(levelGeode->getGeometry(0)->getUserData());
        ASSERT_NE(pass, nullptr);
        EXPECT_EQ(pass->GetLevel(), level);
        float low = -1.0f;
        float high = -1.0f;
        ASSERT_TRUE(lod->getRange(level, low, high));
        EXPECT_FLOAT_EQ(low, 10.0f * radius * level);
        EXPECT_FLOAT_EQ(high, level < 2 ? 10.0f * radius * (level + 1) : FLT_MAX);
    }
    group->unref();

    EXPECT_FLOAT_EQ(CTamGeomTools::GetLODSwitchDistance(0.0f, 1), 10.0f);
    EXPECT_FLOAT_EQ(CTamGeomTools::GetLODSwitchDistance(3.0f, 4), 240.0f);
}

TEST(AddLODToSceneGraph, LevelsCompactedSharedGeodesOnceSecondRunsAndLoneGeodesChangeNothing) {
    auto* transform = new sglTransform<float>;
    transform->ref();
    auto* geode = MakeGeode(L"G", {2, -1, 4});
    transform->addChild(geode, true);
    EXPECT_EQ(CTamGeomTools::AddLODToSceneGraph(transform), 1u);
    auto* lod = dynamic_cast<sglLOD*>(transform->getChild(0));
    ASSERT_NE(lod, nullptr);
    ASSERT_EQ(lod->getNumChildren(), 3u);
    auto* finest = dynamic_cast<sglGeode*>(lod->getChild(0));
    EXPECT_EQ(finest->getGeometry(0)->getUserData(), nullptr);
    transform->unref();
    auto* root = new sglGroup;
    root->ref();
    auto* left = new sglGroup;
    auto* right = new sglGroup;
    root->addChild(left, true);
    root->addChild(right, true);
    sglGeode* shared = MakeGeode(L"S", {0, 1});
    left->addChild(shared, true);
    right->addChild(shared, true);

    EXPECT_EQ(CTamGeomTools::AddLODToSceneGraph(root), 1u);
    EXPECT_NE(dynamic_cast<sglLOD*>(left->getChild(0)), nullptr);
    EXPECT_EQ(left->getChild(0), right->getChild(0));
    EXPECT_EQ(CTamGeomTools::AddLODToSceneGraph(root), 0u);
    root->unref();
    // Nothing to do without a parent.
    EXPECT_EQ(CTamGeomTools::AddLODToSceneGraph(nullptr), 0u);
    sglGeode* lone = MakeGeode(L"L", {0, 1});
    lone->ref();
    EXPECT_EQ(CTamGeomTools::AddLODToSceneGraph(lone), 0u);
    EXPECT_EQ(lone->getNumGeometries(), 2u);
    lone->unref();
}
