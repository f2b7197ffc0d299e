#include <gtest/gtest.h>

#include "tracking.h"

using namespace tamtest;

TEST(GeoSetData, DrawableDeletesItsDataPointersOnDestructionReplacingOrClearingOnTheSpot) {
    DeathCounter blocks;
    auto* strips = new sglMonoIndexedTriangleStripSet;
    strips->setNumPrims(1);
    strips->setCoordList(new TrackedDataPtr<float>(blocks, {0, 0, 0, 1, 0, 0, 0, 1, 0}), SGL_FLOAT,
                         3, 0, 0);
    strips->setNormalList(SGL_BIND_PER_VERTEX,
                          new TrackedDataPtr<float>(blocks, {0, 0, 1, 0, 0, 1, 0, 0, 1}), SGL_FLOAT,
                          0, 0);
    strips->setColorList(SGL_BIND_OVERALL, new TrackedDataPtr<float>(blocks, {1, 0, 0, 1}),
                         SGL_FLOAT, 4, 0, 0);
    strips->setIndexList(new TrackedDataPtr<unsigned int>(blocks, {0, 1, 2}), 0, 0);
    strips->setPrimLengths(new TrackedDataPtr<unsigned int>(blocks, {3}), 0, 0);
    auto* geode = new sglGeode;
    geode->addGeometry(strips);
    geode->unref();
    EXPECT_EQ(blocks.deaths, 5);

    sglPointSet points;
    points.setNumPrims(1);
    auto* first = new TrackedDataPtr<float>(blocks, {1, 2, 3});
    points.setCoordList(first, SGL_FLOAT, 3);
    points.setCoordList(first, SGL_FLOAT, 3);  // the same pointer again is kept
    EXPECT_EQ(blocks.deaths, 5);
    points.setCoordList(new TrackedDataPtr<float>(blocks, {4, 5, 6}), SGL_FLOAT, 3);
    EXPECT_EQ(blocks.deaths, 6);
    EXPECT_EQ(points.getCoord(0), sglVec3<float>(4, 5, 6));
    points.setCoordList(nullptr, SGL_FLOAT, 3);
    EXPECT_EQ(blocks.deaths, 7);
    EXPECT_EQ(points.getCoords(), nullptr);
    EXPECT_EQ(points.getNumCoords(), 0u);
}

TEST(GeoSetData, UnsupportedLayoutsAreRejectedAndDeleted) {
    struct Case {
        unsigned int dataType;
        unsigned int components;
        unsigned int stride;
    };
    const Case cases[] = {{10, 3, 0}, {SGL_FLOAT, 1, 0}, {SGL_FLOAT, 5, 0}, {SGL_FLOAT, 3, 7}};
    for (const Case& c : cases) {
        DeathCounter blocks;
        sglPointSet points;
        points.setNumPrims(1);
        EXPECT_FALSE(points.setCoordList(new TrackedDataPtr<float>(blocks, {1, 2, 3}), c.dataType,
                                         c.components, c.stride));
        EXPECT_EQ(blocks.deaths, 1);
        EXPECT_EQ(points.getCoordDataPtr(), nullptr);
    }
    DeathCounter blocks;
    sglPointSet points;
    EXPECT_TRUE(
        points.setCoordList(new TrackedDataPtr<float>(blocks, {1, 2, 3}), SGL_FLOAT, 3, 12));
    EXPECT_FALSE(points.setColorList(SGL_BIND_OVERALL, new TrackedDataPtr<float>(blocks, {1, 2}),
                                     SGL_FLOAT, 2));
    EXPECT_EQ(points.getColorBinding(), SGL_BIND_OFF);
    EXPECT_FALSE(points.setNormalList(9, new TrackedDataPtr<float>(blocks, {0, 0, 1}), SGL_FLOAT));
    EXPECT_EQ(blocks.deaths, 2);
}

TEST(GeoSetState, StateletsAreSharedByReferenceMaterialsKeepTheirSidesAndClone) {
    DeathCounter statelets;
    auto* lighting = new TrackedLighting(statelets);
    auto* a = new sglPointSet;
    auto* b = new sglPointSet;
    a->setState(0, {lighting, nullptr, new sglPointSize(5.0f)});
    b->setState(0, {lighting});
    EXPECT_EQ(a->getState(0).size(), 2u);
    EXPECT_EQ(lighting->getRefCount(), 2u);
    EXPECT_TRUE(a->getState(3).empty());
    a->setState(0, {lighting});  // re-setting the same statelet keeps it alive
    EXPECT_EQ(lighting->getRefCount(), 2u);
    a->unref();
    EXPECT_EQ(statelets.deaths, 0);
    b->setState(0, {});
    EXPECT_EQ(statelets.deaths, 1);
    b->unref();
    sglMaterial material;
    material.setDiffuse(SGL_FRONT_AND_BACK, 1.0f, 0.0f, 0.0f);
    material.setSpecular(SGL_BACK, 1.0f, 1.0f, 1.0f);
    material.setShininess(SGL_FRONT_AND_BACK, 64.0f);
    material.setShininess(12345, 1.0f);  // unknown side: ignored
    EXPECT_EQ(material.getDiffuse(SGL_FRONT), sglVec4<float>(1, 0, 0, 1));
    EXPECT_EQ(material.getDiffuse(SGL_BACK), sglVec4<float>(1, 0, 0, 1));
    EXPECT_EQ(material.getSpecular(SGL_FRONT), sglVec4<float>(0, 0, 0, 1));
    EXPECT_EQ(material.getSpecular(SGL_BACK), sglVec4<float>(1, 1, 1, 1));
    EXPECT_EQ(material.getShininess(SGL_FRONT_AND_BACK), 64.0f);
    sglStatelet* copy = material.clone();
    auto* copied = dynamic_cast<sglMaterial*>(copy);
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->getSpecular(SGL_BACK), sglVec4<float>(1, 1, 1, 1));
    copy->unref();
}

TEST(GeoSetReadBack, CountsFollowPrimitivesAndBindingsADeepCopyOwnsItsArraysAndMovesAlone) {
    auto* lines = new sglLineStripSet;
    lines->setNumPrims(2);
    lines->setPrimLengths(new sglArrayDataPtr<unsigned int>({2, 3}), 0, 0);
    lines->setCoordList(new sglArrayDataPtr<float>(std::vector<float>(15, 1.0f)), SGL_FLOAT, 3);
    lines->setColorList(SGL_BIND_PER_PRIM, new sglArrayDataPtr<float>({1, 0, 0, 0, 1, 0}),
                        SGL_FLOAT, 3);
    EXPECT_EQ(lines->getNumCoords(), 5u);
    EXPECT_EQ(lines->getNumPrimLengths(), 2u);
    EXPECT_EQ(lines->getNumColors(), 2u);
    EXPECT_EQ(lines->getColor(1), sglVec4<float>(0, 1, 0, 1));
    EXPECT_EQ(lines->getColor(2), sglVec4<float>(1, 1, 1, 1));
    EXPECT_TRUE(lines->isValid());
    // An explicit count shorter than the primitives need makes the set invalid.
    lines->setCoordList(new sglArrayDataPtr<float>(std::vector<float>(15, 0.0f)), SGL_FLOAT, 3, 0,
                        4);
    EXPECT_EQ(lines->getNumCoords(), 4u);
    EXPECT_FALSE(lines->isValid());
    lines->unref();
    // A deep copy owns its own arrays and moves alone.
    auto* points = MakePoints({1, 2, 3, 4, 5, 6});
    points->setColorList(SGL_BIND_OVERALL, new sglArrayDataPtr<float>({1, 0, 0, 1}), SGL_FLOAT, 4);
    points->setNormalList(SGL_BIND_PER_VERTEX, new sglArrayDataPtr<float>({1, 0, 0, 1, 0, 0}),
                          SGL_FLOAT);
    points->setState(0, {new sglPointSize(5.0f)});
    points->setName(L"pts");
    sglGeoSet* copy = points->deepCopy();
    ASSERT_NE(dynamic_cast<sglPointSet*>(copy), nullptr);
    EXPECT_NE(copy->getCoords(), points->getCoords());
    EXPECT_EQ(copy->getNumCoords(), 2u);
    EXPECT_EQ(copy->getColor(0), sglVec4<float>(1, 0, 0, 1));
    EXPECT_EQ(copy->getState(0)[0], points->getState(0)[0]);
    EXPECT_EQ(copy->getName(), L"pts");
    // Positions move, normals stay unit, the original stays where it was.
    sglMat4<float> scale;
    scale(0, 0) = 2.0f;
    scale(3, 2) = 7.0f;
    copy->transform(scale);
    EXPECT_EQ(copy->getCoord(1), sglVec3<float>(8, 5, 13));
    EXPECT_FLOAT_EQ(copy->getNormals()[0], 1.0f);
    EXPECT_EQ(points->getCoord(1), sglVec3<float>(4, 5, 6));
    points->unref();
    EXPECT_EQ(copy->getCoord(0), sglVec3<float>(2, 2, 10));
    copy->unref();
}
