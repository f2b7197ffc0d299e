#include <gtest/gtest.h>

#include <tamsg/tamsg.h>

#include <cmath>

#include "tracking.h"

using namespace tamtest;

TEST(BoxBound, EmptyZeroExpandedAndTransformedBoxes) {
    sglBoxBound box;
    EXPECT_TRUE(box.isEmpty());
    EXPECT_EQ(box.getDiagonalLength(), 0.0f);
    EXPECT_TRUE(box.transformed(sglMat4<float>()).isEmpty());
    sglBoxBound zero;
    zero.setMin(sglVec3<float>(0, 0, 0));
    zero.setMax(sglVec3<float>(0, 0, 0));
    EXPECT_FALSE(zero.isEmpty());
    EXPECT_NE(box, zero);
    EXPECT_EQ(box, sglBoxBound());

    box.expandToInclude(sglVec3<float>(1, 2, 3));
    EXPECT_EQ(box, sglBoxBound(sglVec3<float>(1, 2, 3), sglVec3<float>(1, 2, 3)));
    box.expandToInclude(sglVec3<float>(-1, 5, 0));
    EXPECT_EQ(box, sglBoxBound(sglVec3<float>(-1, 2, 0), sglVec3<float>(1, 5, 3)));
    box.expandToInclude(sglBoxBound());                  // empty box: no change
    box.expandToInclude(sglVec3<float>(NAN, 100, 100));  // non-finite point: ignored
    EXPECT_EQ(box.getMax(), sglVec3<float>(1, 5, 3));
    box.expandToInclude(sglBoxBound(sglVec3<float>(0, 0, 0), sglVec3<float>(10, 1, 1)));
    EXPECT_EQ(box.getMax(), sglVec3<float>(10, 5, 3));
    EXPECT_TRUE(box.contains(sglVec3<float>(10, 5, 3)));
    EXPECT_FALSE(box.contains(sglVec3<float>(10.5f, 5, 3)));
    const sglBoxBound moved = box.transformed(sglMat4<float>::translation(sglVec3<float>(1, 1, 1)));
    EXPECT_EQ(moved, sglBoxBound(sglVec3<float>(0, 1, 1), sglVec3<float>(11, 6, 4)));
}

TEST(SubtreeBound, NestedTransformsApplyInnerFirstRotationsExactlyEmptySubtreesAddNothing) {
    // root -> T1 (scale x by 2) -> T2 (translate x by 1) -> geode with point (1, 0, 0):
    // inner first gives (1 + 1) * 2 = 4.
    auto* root = new sglGroup;
    EXPECT_TRUE(root->getBound().isEmpty());
    root->addChild(new sglGeode, true);
    EXPECT_TRUE(root->getBound().isEmpty());
    auto* outer = new sglTransform<float>;
    sglMat4<float> scale;
    scale(0, 0) = 2.0f;
    outer->setMatrix(scale);
    auto* inner = new sglTransform<float>;
    inner->setMatrix(sglMat4<float>::translation(sglVec3<float>(1, 0, 0)));
    auto* geode = new sglGeode;
    geode->addGeometry(MakePoints({1, 0, 0}));
    inner->addChild(geode, true);
    outer->addChild(inner, true);
    root->addChild(outer, true);
    auto* loose = new sglGeode;
    loose->addGeometry(MakePoints({-1, -1, -1}));
    root->addChild(loose, true);

    EXPECT_EQ(root->getBound(), sglBoxBound(sglVec3<float>(-1, -1, -1), sglVec3<float>(4, 0, 0)));
    EXPECT_EQ(geode->getBound().getMax(), sglVec3<float>(1, 0, 0));
    root->unref();
    // Points on a circle rotated by 45 degrees: the exact box stays within radius 1.
    auto* transform = new sglTransform<float>;
    sglMat4<float> rotation;
    const float c = std::cos(0.7853982f);
    rotation(0, 0) = c;
    rotation(0, 1) = c;
    rotation(1, 0) = -c;
    rotation(1, 1) = c;
    transform->setMatrix(rotation);
    auto* circle = new sglGeode;
    circle->addGeometry(MakePoints({1, 0, 0, 0, 1, 0, -1, 0, 0, 0, -1, 0}));
    transform->addChild(circle, true);
    const sglBoxBound box = transform->getBound();
    EXPECT_NEAR(box.getMax()[0], c, 1e-6);
    EXPECT_NEAR(box.getMax()[1], c, 1e-6);
    transform->unref();
}
