// The import summary figures and the `tamcad info` tree.
#include "InfoPrinter.h"
#include "SceneStats.h"
#include "scene_fixture.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(SceneStatsTest, CountsNodesOfEveryLevelAndPrimitivesOfTheFinest) {
    tamtest::SceneHolder scene(tamtest::buildScene());
    const tam::SceneStats stats = tam::collectStats(scene.get());
    EXPECT_EQ(stats.nodes, 10u);
    EXPECT_EQ(stats.geodes, 7u);
    // Red, Green, Hidden and Fine: two triangles each from one strip of four indices.
    EXPECT_EQ(stats.triangles, 8u);
    EXPECT_EQ(stats.strips, 4u);
    EXPECT_EQ(stats.indices, 16u);
    EXPECT_DOUBLE_EQ(stats.indicesPerTriangle(), 2.0);
    EXPECT_EQ(stats.lineStrips, 1u);
    EXPECT_EQ(stats.points, 1u);
    EXPECT_EQ(stats.levels, 2u);
    const tam::SceneStats empty = tam::collectStats(nullptr);
    EXPECT_EQ(empty.nodes, 0u);
    EXPECT_EQ(empty.levels, 0u);
    EXPECT_DOUBLE_EQ(empty.indicesPerTriangle(), 0.0);
}

TEST(InfoPrinterTest, PrintsAnIndentedTreeWithRecords) {
    tamtest::SceneHolder scene(tamtest::buildScene());
    std::ostringstream out;
    tam::printSceneTree(out, scene.get());
    const std::string text = out.str();
    EXPECT_EQ(text.rfind("group \"Part\"\n", 0), 0u);
    EXPECT_NE(text.find("  meta Material = Steel\n"), std::string::npos);
    EXPECT_NE(text.find("  transform \"Moved\"  at (20, 0, 0)\n"), std::string::npos);
    EXPECT_NE(
        text.find("    geode \"Green\"  kind face  layer 12  visible  area 100  triangles 2\n"),
        std::string::npos);
    EXPECT_NE(text.find("geode \"Hidden\"  kind face  layer 12  hidden"), std::string::npos);
    EXPECT_NE(text.find("geode \"Line\"  kind face  layer 12  visible  area 100  line strips 1"),
              std::string::npos);
    EXPECT_NE(text.find("    geode \"Coarse\""), std::string::npos);
    std::ostringstream empty;
    tam::printSceneTree(empty, nullptr);
    EXPECT_EQ(empty.str(), "(empty scene)\n");
}

}  // namespace
