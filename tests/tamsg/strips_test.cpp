#include <gtest/gtest.h>

#include <tamsg/tamsg.h>

namespace {

sglMonoIndexedTriangleStripSet* MakeStrips(std::vector<unsigned int> lengths,
                                           std::vector<unsigned int> indices,
                                           unsigned int numCoords) {
    auto* strips = new sglMonoIndexedTriangleStripSet;
    strips->setNumPrims(static_cast<unsigned int>(lengths.size()));
    strips->setPrimLengths(new sglArrayDataPtr<unsigned int>(std::move(lengths)), 0, 0);
    strips->setIndexList(new sglArrayDataPtr<unsigned int>(std::move(indices)), 0, 0);
    std::vector<float> xyz;
    for (unsigned int i = 0; i < numCoords; ++i)
        xyz.insert(xyz.end(), {float(i), 0.0f, 0.0f});
    strips->setCoordList(new sglArrayDataPtr<float>(xyz), SGL_FLOAT, 3, 0, 0);
    return strips;
}

using Tris = std::vector<unsigned int>;

}  // namespace

TEST(TriangleStrips, StripsExpandToTrianglesOfAlternatingWindingMissingOrBadListsAreInvalid) {
    struct Case {
        std::vector<unsigned int> lengths;
        Tris indices;
        unsigned int coords;
        bool skipDegenerate;
        Tris triangles;
    };
    const Case cases[] = {
        {{6}, {0, 1, 2, 3, 4, 5}, 6, false, {0, 1, 2, 2, 1, 3, 2, 3, 4, 4, 3, 5}},
        // Separate triangles; strips shorter than three give nothing.
        {{3, 3, 2, 0}, {0, 1, 2, 2, 1, 3, 4, 5}, 6, false, {0, 1, 2, 2, 1, 3}},
        {{6}, {0, 1, 2, 2, 3, 4}, 5, false, {0, 1, 2, 2, 1, 2, 2, 2, 3, 3, 2, 4}},
        {{6}, {0, 1, 2, 2, 3, 4}, 5, true, {0, 1, 2, 3, 2, 4}},
    };
    for (const Case& c : cases) {
        auto* strips = MakeStrips(c.lengths, c.indices, c.coords);
        EXPECT_EQ(strips->getNumIndices(), c.indices.size());
        EXPECT_EQ(strips->getNumCoords(), c.coords);
        EXPECT_EQ(strips->getTriangles(c.skipDegenerate), c.triangles);
        if (!c.skipDegenerate) {
            EXPECT_EQ(strips->getNumTriangles(), c.triangles.size() / 3);
        }
        strips->unref();
    }
    sglMonoIndexedTriangleStripSet empty;
    EXPECT_TRUE(empty.isValid());
    EXPECT_EQ(empty.getNumTriangles(), 0u);
    empty.setNumPrims(2);
    EXPECT_FALSE(empty.isValid());
    EXPECT_TRUE(empty.getTriangles().empty());

    auto* strips = MakeStrips({3}, {0, 1, 2}, 3);
    EXPECT_TRUE(strips->isValid());
    strips->setNumPrims(2);  // one length for two strips
    EXPECT_FALSE(strips->isValid());
    strips->setNumPrims(1);
    strips->setIndexList(new sglArrayDataPtr<unsigned int>({0, 1}), 0, 3);
    EXPECT_FALSE(strips->isValid());
    // The holder knows its size: 3 positions cannot serve index 9.
    strips->setIndexList(new sglArrayDataPtr<unsigned int>({0, 1, 9}), 0, 0);
    EXPECT_FALSE(strips->isValid());
    EXPECT_TRUE(strips->getTriangles().empty());
    // An explicit count exposes the bad index as well.
    strips->setCoordList(new sglArrayDataPtr<float>(std::vector<float>(30, 0.0f)), SGL_FLOAT, 3, 0,
                         3);
    EXPECT_FALSE(strips->isValid());
    strips->unref();
}

TEST(TriangleStrips, RawExpansionCutsLengthsBeyondIndicesDeepCopyKeepsIndices) {
    const unsigned int lengths[] = {5};
    const unsigned int indices[] = {0, 1, 2, 3};
    EXPECT_EQ(sglMonoIndexedTriangleStripSet::stripsToTriangles(lengths, 1, indices, 4),
              (Tris{0, 1, 2, 2, 1, 3}));
    EXPECT_TRUE(sglMonoIndexedTriangleStripSet::stripsToTriangles(nullptr, 1, indices, 4).empty());
    auto* strips = MakeStrips({4}, {0, 1, 2, 3}, 4);
    sglGeoSet* copy = strips->deepCopy();
    auto* copied = dynamic_cast<sglMonoIndexedTriangleStripSet*>(copy);
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied->getIndices(), strips->getIndices());
    EXPECT_EQ(copied->getTriangles(), strips->getTriangles());
    strips->unref();
    copy->unref();
}
