// Placements accumulated from the root of a scene graph.
#include <tamgeometry/CTamGeomTools.h>

#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglTransform.h>

#include <gtest/gtest.h>

namespace {

sglTransform<float>* MakeTransform(const float values[16]) {
    auto* transform = new sglTransform<float>;
    transform->setMatrix(sglMat4<float>(values));
    return transform;
}

void ExpectPoint(const sglVec3<float>& p, float x, float y, float z) {
    EXPECT_NEAR(p[0], x, 1e-6f);
    EXPECT_NEAR(p[1], y, 1e-6f);
    EXPECT_NEAR(p[2], z, 1e-6f);
}

}  // namespace

TEST(GetMatTransform, InnerPlacementFirstThenOuterOnesAlongTheFirstParentUnplacedGiveIdentity) {
    const float outerValues[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1};
    const float turnValues[16] = {0, 1, 0, 0, -1, 0, 0, 0,
                                  0, 0, 1, 0, 0,  0, 0, 1};  // 90 deg about z
    auto* root = new sglGroup;
    root->ref();
    auto* outer = MakeTransform(outerValues);
    auto* turn = MakeTransform(turnValues);
    auto* geode = new sglGeode;
    root->addChild(outer, true);
    outer->addChild(turn, true);
    turn->addChild(geode, true);
    const float elsewhere[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 7, 7, 1};
    auto* second = MakeTransform(elsewhere);
    second->ref();
    second->addChild(geode, true);  // a later parent is not followed

    const sglMat4<float> placement = CTamGeomTools::GetMatTransform(geode);
    ExpectPoint(placement.transformPoint(sglVec3<float>(1, 0, 0)), 10, 1, 0);
    EXPECT_EQ(CTamGeomTools::GetMatTransform(turn), placement);
    EXPECT_EQ(CTamGeomTools::GetMatTransform(outer), sglMat4<float>(outerValues));
    EXPECT_TRUE(CTamGeomTools::GetMatTransform(root).isIdentity());
    EXPECT_TRUE(CTamGeomTools::GetMatTransform(nullptr).isIdentity());
    root->unref();
    second->unref();
}
