// Strips from plain triangle lists: every triangle exactly once with its winding, long strips on
// regular meshes, odd inputs, and quad flips through a flip test.
#include "TriangleStripifier.h"
#include "strip_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

using orik::facet::QuadFlipTest;
using orik::facet::TriangleStripifier;
using orik::facet::TriangleStrips;

namespace {

// Nodes of a columns x rows grid of unit quads, row by row.
uint32_t gridNode(uint32_t columns, uint32_t column, uint32_t row) {
    return row * (columns + 1) + column;
}

// Two counter-clockwise triangles per quad; diagonal from lower left to upper right unless the
// generator (if any) says otherwise.
std::vector<uint32_t> gridTriangles(uint32_t columns, uint32_t rows, std::mt19937* random) {
    std::vector<uint32_t> triangles;
    for (uint32_t row = 0; row < rows; ++row) {
        for (uint32_t column = 0; column < columns; ++column) {
            const uint32_t a = gridNode(columns, column, row);
            const uint32_t b = gridNode(columns, column + 1, row);
            const uint32_t c = gridNode(columns, column + 1, row + 1);
            const uint32_t d = gridNode(columns, column, row + 1);
            if (random != nullptr && (*random)() % 2 == 1) {
                triangles.insert(triangles.end(), {a, b, d, b, c, d});
            } else {
                triangles.insert(triangles.end(), {a, b, c, a, c, d});
            }
        }
    }
    return triangles;
}

// Shuffles the triangle order and rotates each triangle (same windings, other reading).
void shuffle(std::vector<uint32_t>& triangles, std::mt19937& random) {
    std::vector<std::array<uint32_t, 3>> list;
    for (size_t i = 0; i < triangles.size(); i += 3)
        list.push_back({triangles[i], triangles[i + 1], triangles[i + 2]});
    std::shuffle(list.begin(), list.end(), random);
    triangles.clear();
    for (auto t : list) {
        const uint32_t r = random() % 3;
        triangles.insert(triangles.end(), {t[r], t[(r + 1) % 3], t[(r + 2) % 3]});
    }
}

void expectReproduces(const std::vector<uint32_t>& triangles, const TriangleStrips& strips) {
    for (uint32_t length : strips.lengths)
        EXPECT_GE(length, 3u);
    EXPECT_EQ(facettest::stripTriangleSet(strips), facettest::triangleSet(triangles));
}

TriangleStrips strip(const std::vector<uint32_t>& triangles, size_t nodeCount) {
    TriangleStrips strips;
    TriangleStripifier().Build(triangles.data(), triangles.size() / 3, nodeCount, strips);
    return strips;
}

// Flips on a flat grid: allowed wherever the quad is strictly convex.
class ConvexGridFlips : public QuadFlipTest {
public:
    explicit ConvexGridFlips(uint32_t columns) : columns_(columns) {}
    bool CanFlip(uint32_t p, uint32_t q, uint32_t r, uint32_t s) const override {
        ++asked;
        return area(r, p, s) > 1e-9 && area(s, q, r) > 1e-9;
    }
    mutable int asked = 0;

private:
    double area(uint32_t a, uint32_t b, uint32_t c) const {
        const double ax = a % (columns_ + 1), ay = a / (columns_ + 1);
        const double bx = b % (columns_ + 1), by = b / (columns_ + 1);
        const double cx = c % (columns_ + 1), cy = c / (columns_ + 1);
        return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
    }
    uint32_t columns_;
};

class NoFlips : public QuadFlipTest {
public:
    bool CanFlip(uint32_t, uint32_t, uint32_t, uint32_t) const override { return false; }
};

// Sum of the signed areas of grid triangles (all counter-clockwise: the grid's area).
double signedGridArea(const std::vector<uint32_t>& triangles, uint32_t columns, bool& allPositive) {
    double total = 0.0;
    allPositive = true;
    for (size_t i = 0; i < triangles.size(); i += 3) {
        double x[3], y[3];
        for (int k = 0; k < 3; ++k) {
            x[k] = triangles[i + k] % (columns + 1);
            y[k] = triangles[i + k] / (columns + 1);
        }
        const double area = ((x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0])) / 2;
        allPositive = allPositive && area > 0.0;
        total += area;
    }
    return total;
}

}  // namespace

TEST(TriangleStripifierTest, EmptyInputGivesNoStrips) {
    const TriangleStrips strips = strip({}, 0);
    EXPECT_TRUE(strips.indices.empty());
    EXPECT_TRUE(strips.lengths.empty());
}

TEST(TriangleStripifierTest, SingleTriangleKeepsItsWinding) {
    const std::vector<uint32_t> triangle{4, 1, 7};
    const TriangleStrips strips = strip(triangle, 8);
    ASSERT_EQ(strips.lengths, std::vector<uint32_t>{3});
    expectReproduces(triangle, strips);
}

TEST(TriangleStripifierTest, RegularGridBecomesOneStripPerRowOrFewer) {
    const std::vector<uint32_t> triangles = gridTriangles(8, 8, nullptr);
    const TriangleStrips strips = strip(triangles, 81);
    expectReproduces(triangles, strips);
    EXPECT_LE(strips.lengths.size(), 8u);
    EXPECT_EQ(strips.TriangleCount(), 128u);
}

TEST(TriangleStripifierTest, ShuffledRandomGridsAreReproducedWithTheirWinding) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        const uint32_t columns = 1 + random() % 12, rows = 1 + random() % 12;
        std::vector<uint32_t> triangles = gridTriangles(columns, rows, &random);
        shuffle(triangles, random);
        if (seed % 2 == 0) {  // the whole mesh wound the other way
            for (size_t i = 0; i < triangles.size(); i += 3)
                std::swap(triangles[i + 1], triangles[i + 2]);
        }
        SCOPED_TRACE(seed);
        expectReproduces(triangles, strip(triangles, (columns + 1) * (rows + 1)));
    }
}

TEST(TriangleStripifierTest, FanAroundOneNodeIsReproduced) {
    std::vector<uint32_t> fan;
    for (uint32_t i = 1; i <= 12; ++i)
        fan.insert(fan.end(), {0, i, i % 12 + 1});
    expectReproduces(fan, strip(fan, 13));
}

TEST(TriangleStripifierTest, OddTrianglesAreKeptAsTheyAre) {
    const std::vector<uint32_t> triangles{
        0, 1, 2,  2, 1, 3,   // a proper pair
        1, 0, 4,  0, 1, 5,   // edge 0-1 used by three triangles, one of them wound the other way
        3, 3, 6,             // a triangle with a repeated node
        6, 7, 8,  7, 6, 8,   // two triangles over the same nodes, opposite windings
        8, 9, 10, 8, 9, 10,  // the same triangle twice
    };
    expectReproduces(triangles, strip(triangles, 11));
}

TEST(TriangleStripifierTest, OneObjectServesMeshesOfAnySize) {
    TriangleStripifier stripifier;
    TriangleStrips strips;
    for (uint32_t size : {10u, 2u, 30u, 1u, 7u}) {
        std::mt19937 random(size);
        const std::vector<uint32_t> triangles = gridTriangles(size, size, &random);
        stripifier.Build(triangles.data(), triangles.size() / 3, (size + 1) * (size + 1), strips);
        SCOPED_TRACE(size);
        expectReproduces(triangles, strips);
    }
}

TEST(TriangleStripifierTest, FlipsLengthenStripsAndRewriteOnlyFlippedPairs) {
    const uint32_t columns = 20, rows = 20;
    std::mt19937 random(7);
    const std::vector<uint32_t> original = gridTriangles(columns, rows, &random);
    const TriangleStrips plain = strip(original, (columns + 1) * (rows + 1));

    std::vector<uint32_t> triangles = original;
    const ConvexGridFlips flips(columns);
    TriangleStrips flipped;
    const size_t pairs = TriangleStripifier().Build(triangles.data(), triangles.size() / 3,
                                                    (columns + 1) * (rows + 1), &flips, flipped);
    EXPECT_GT(pairs, 0u);
    expectReproduces(triangles, flipped);
    EXPECT_LT(flipped.lengths.size(), plain.lengths.size());
    // Still a triangulation of the same grid: same count, all counter-clockwise, same area.
    bool allPositive = false;
    EXPECT_EQ(triangles.size(), original.size());
    EXPECT_DOUBLE_EQ(signedGridArea(triangles, columns, allPositive), double(columns * rows));
    EXPECT_TRUE(allPositive);
    size_t changed = 0;
    for (size_t i = 0; i < triangles.size(); i += 3) {
        changed += facettest::canonical({triangles[i], triangles[i + 1], triangles[i + 2]}) !=
                   facettest::canonical({original[i], original[i + 1], original[i + 2]});
    }
    EXPECT_EQ(changed, 2 * pairs);
}

TEST(TriangleStripifierTest, RefusedFlipsLeaveTrianglesUntouched) {
    std::mt19937 random(3);
    const std::vector<uint32_t> original = gridTriangles(9, 9, &random);
    std::vector<uint32_t> triangles = original;
    const NoFlips flips;
    TriangleStrips strips;
    EXPECT_EQ(
        TriangleStripifier().Build(triangles.data(), triangles.size() / 3, 100, &flips, strips),
        0u);
    EXPECT_EQ(triangles, original);
    expectReproduces(triangles, strips);
}
