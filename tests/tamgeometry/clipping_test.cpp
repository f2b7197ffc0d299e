// Removing the triangles of a strip set that leave a box.
#include <tamgeometry/CTamBBox.h>
#include <tamgeometry/CTamGeomTools.h>

#include <tamsg/sglMaterial.h>

#include "geometry_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

using tamtest::OrientedTriangles;

namespace {

// A strip of four triangles over x = 0..3: vertices (i/2 .. , i % 2) zig-zag.
sglMonoIndexedTriangleStripSet* MakeRibbon() {
    return tamtest::MakeStrips({0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0, 2, 0, 0, 2, 1, 0},
                               {0, 1, 2, 3, 4, 5}, {6});
}

CTamBBox Box(float x0, float x1) {
    return CTamBBox(sglVec3<float>(x0, -1, -1), sglVec3<float>(x1, 2, 1));
}

// The oriented triangles of `set` that lie within x0..x1 and y -1..2.
std::vector<tamtest::Triangle> TrianglesWithin(const sglMonoIndexedTriangleStripSet& set, float x0,
                                               float x1) {
    std::vector<tamtest::Triangle> kept;
    for (const tamtest::Triangle& tri : OrientedTriangles(set)) {
        bool inside = true;
        for (const auto& p : tri)
            inside = inside && p[0] >= x0 && p[0] <= x1 && p[1] >= -1 && p[1] <= 2;
        if (inside)
            kept.push_back(tri);
    }
    return kept;
}

}  // namespace

TEST(RemoveTrianglesOutOfBox, NothingRemovedLeavesTheOutputSlotAloneAllRemovedGivesNoPrimitives) {
    sglMonoIndexedTriangleStripSet* ribbon = MakeRibbon();
    ribbon->ref();
    auto* sentinel = reinterpret_cast<sglMonoIndexedTriangleStripSet*>(0x1);
    sglMonoIndexedTriangleStripSet* out = sentinel;
    EXPECT_FALSE(CTamGeomTools::RemoveTrianglesOutOfBox(ribbon, out, Box(-0.0005f, 2.0005f)));
    EXPECT_FALSE(CTamGeomTools::RemoveTrianglesOutOfBox(ribbon, out, CTamBBox()));
    EXPECT_FALSE(CTamGeomTools::RemoveTrianglesOutOfBox(nullptr, out, Box(0, 1)));
    EXPECT_EQ(out, sentinel);
    ASSERT_TRUE(CTamGeomTools::RemoveTrianglesOutOfBox(ribbon, out, Box(5, 6)));
    out->ref();
    EXPECT_EQ(out->getNumPrims(), 0u);
    EXPECT_EQ(out->getNumTriangles(), 0u);
    out->unref();
    ribbon->unref();
}

TEST(RemoveTrianglesOutOfBox, KeptTrianglesKeepPositionsWindingStateAndOnlyTheirVertices) {
    // Vertex 0 of the second ribbon lies below the box: a run starting on an odd triangle.
    sglMonoIndexedTriangleStripSet* ribbons[] = {
        MakeRibbon(), tamtest::MakeStrips({0, -5, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0, 2, 0, 0, 2, 1, 0},
                                          {0, 1, 2, 3, 4, 5}, {6})};
    // Each window keeps a different run: from the first, from an odd and from an even triangle.
    const struct {
        int ribbon;
        float x0, x1;
    } windows[] = {{0, 0, 1}, {0, 0, 1.5f}, {0, 0.5f, 2}, {0, 1, 2}, {0, 0.9f, 1.1f}, {1, 0, 2}};
    auto* material = new sglMaterial;
    for (sglMonoIndexedTriangleStripSet* ribbon : ribbons) {
        ribbon->ref();
        ribbon->setState(0, {material});
        ribbon->setName(L"face");
    }
    for (const auto& window : windows) {
        SCOPED_TRACE(testing::Message() << window.ribbon << " " << window.x0);
        const sglMonoIndexedTriangleStripSet& ribbon = *ribbons[window.ribbon];
        sglMonoIndexedTriangleStripSet* out = nullptr;
        ASSERT_TRUE(
            CTamGeomTools::RemoveTrianglesOutOfBox(&ribbon, out, Box(window.x0, window.x1)));
        ASSERT_NE(out, nullptr);
        out->ref();
        EXPECT_TRUE(out->isValid());
        EXPECT_EQ(OrientedTriangles(*out), TrianglesWithin(ribbon, window.x0, window.x1));
        EXPECT_EQ(out->getNumNormals(), out->getNumCoords());
        const std::vector<unsigned int> corners = out->getTriangles();
        EXPECT_EQ(std::set<unsigned int>(corners.begin(), corners.end()).size(),
                  out->getNumCoords());  // unused vertices are dropped
        ASSERT_EQ(out->getState(0).size(), 1u);
        EXPECT_EQ(out->getState(0)[0], material);
        EXPECT_EQ(out->getName(), L"face");
        out->unref();
    }
    for (sglMonoIndexedTriangleStripSet* ribbon : ribbons)
        ribbon->unref();
}

TEST(RemoveTrianglesOutOfBox, FlyingAndInvalidVerticesAreOutsideTheBoxWhichHasATolerance) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    sglMonoIndexedTriangleStripSet* set =
        tamtest::MakeStrips({0, 0, 0, 1, 0, 0, 0, 1, 0, 1000, 1000, 0, nan, 0, 0},
                            {0, 1, 2, 0, 1, 3, 0, 1, 4}, {3, 3, 3});
    set->ref();
    sglMonoIndexedTriangleStripSet* out = nullptr;
    ASSERT_TRUE(CTamGeomTools::RemoveTrianglesOutOfBox(
        set, out, CTamBBox(sglVec3<float>(0, 0, 0), sglVec3<float>(1, 1, 0))));
    out->ref();
    EXPECT_EQ(out->getNumTriangles(), 1u);
    EXPECT_EQ(out->getNumCoords(), 3u);
    out->unref();
    set->unref();
    const CTamBBox box(sglVec3<float>(0, 0, 0), sglVec3<float>(1, 1, 1));
    EXPECT_TRUE(box.contains(sglVec3<float>(1, 1, 1)));
    EXPECT_FALSE(box.contains(sglVec3<float>(1.01f, 0, 0)));
    EXPECT_TRUE(box.contains(sglVec3<float>(1.01f, 0, 0), 0.02f));
    EXPECT_FALSE(CTamBBox().contains(sglVec3<float>(0, 0, 0)));
    EXPECT_TRUE(CTamBBox(sglBoxBound()).isEmpty());
}
