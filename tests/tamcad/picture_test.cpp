// The rasterizer and the shaded picture of a scene.
#include "Picture.h"
#include "Rasterizer.h"
#include "scene_fixture.h"

#include <gtest/gtest.h>

namespace {

const tam::Rgb kBlack{0, 0, 0};

tam::ScreenVertex at(float x, float y, float depth, float r, float g, float b) {
    return {x, y, depth, r, g, b};
}

template <class Match>
size_t countPixels(const tam::Image& image, Match match) {
    size_t count = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x)
            count += match(image.pixel(x, y)) ? 1 : 0;
    }
    return count;
}

bool isBackground(tam::Rgb c) {
    return c == tam::kPictureBackground;
}

// Bright in the channel (0 red, 1 green, 2 blue) and over three times each other channel.
bool dominates(tam::Rgb c, int channel) {
    const int v[3] = {c.r, c.g, c.b};
    return v[channel] > 100 && v[channel] > 3 * v[(channel + 1) % 3] &&
           v[channel] > 3 * v[(channel + 2) % 3];
}

TEST(RasterizerTest, FillsATriangleAndLeavesTheRestAlone) {
    tam::Rasterizer raster(10, 10, kBlack);
    raster.drawTriangle(at(0, 0, 1, 1, 0, 0), at(10, 0, 1, 1, 0, 0), at(0, 10, 1, 1, 0, 0));
    EXPECT_EQ(raster.image().pixel(1, 1), (tam::Rgb{255, 0, 0}));
    EXPECT_EQ(raster.image().pixel(9, 9), kBlack);
    // Either winding fills the same pixels.
    tam::Rasterizer reversed(10, 10, kBlack);
    reversed.drawTriangle(at(0, 0, 1, 1, 0, 0), at(0, 10, 1, 1, 0, 0), at(10, 0, 1, 1, 0, 0));
    EXPECT_EQ(reversed.image().rgb, raster.image().rgb);
}

TEST(RasterizerTest, NearerFragmentsWinWhateverTheOrder) {
    // A green triangle at depth 1 and a red one at depth 5, drawn in both orders.
    const auto draw = [](tam::Rasterizer& raster, bool isNear) {
        const float depth = isNear ? 1 : 5, r = isNear ? 0 : 1, g = isNear ? 1 : 0;
        raster.drawTriangle(at(-1, -1, depth, r, g, 0), at(9, -1, depth, r, g, 0),
                            at(-1, 9, depth, r, g, 0));
    };
    for (bool nearFirst : {true, false}) {
        tam::Rasterizer raster(4, 4, kBlack);
        draw(raster, nearFirst);
        draw(raster, !nearFirst);
        EXPECT_EQ(raster.image().pixel(0, 0), (tam::Rgb{0, 255, 0}));
    }
}

TEST(RasterizerTest, DrawsLinesAndPointsClippedToTheImage) {
    tam::Rasterizer raster(8, 8, kBlack);
    raster.drawLine(at(-5, 3, 0, 1, 1, 1), at(20, 3, 0, 1, 1, 1), 1);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(raster.image().pixel(x, 3), (tam::Rgb{255, 255, 255}));
    raster.drawPoint(at(6, 6, 0, 0, 0, 1), 3);
    EXPECT_EQ(raster.image().pixel(7, 7), (tam::Rgb{0, 0, 255}));
    EXPECT_EQ(raster.image().pixel(0, 0), kBlack);
}

TEST(RasterizerTest, DownsamplingAveragesBlocks) {
    tam::Rasterizer raster(4, 2, kBlack);
    raster.drawPoint(at(0.5f, 0.5f, 0, 1, 1, 1), 1);
    const tam::Image small = raster.downsampled(2);
    ASSERT_EQ(small.width, 2);
    ASSERT_EQ(small.height, 1);
    EXPECT_EQ(small.pixel(0, 0), (tam::Rgb{64, 64, 64}));
    EXPECT_EQ(small.pixel(1, 0), kBlack);
}

TEST(PictureTest, ShowsTheVisibleModelInItsColors) {
    tamtest::SceneHolder scene(tamtest::buildScene());
    const tam::Image image = tam::renderPicture(scene.get(), tam::PictureOptions{320, 240});
    ASSERT_EQ(image.width, 320);
    ASSERT_EQ(image.height, 240);
    const size_t total = static_cast<size_t>(image.width) * image.height;
    EXPECT_GT(total - countPixels(image, isBackground), total / 20);
    for (int channel : {0, 1, 2})
        EXPECT_GT(countPixels(image, [channel](tam::Rgb c) { return dominates(c, channel); }),
                  100u);
    // The hidden yellow square lies under the others' level: it must not show at all.
    EXPECT_EQ(countPixels(image, [](tam::Rgb c) { return c.r > 100 && c.g > 100 && c.b < 40; }),
              0u);
    // No scene gives plain background.
    const tam::Image empty = tam::renderPicture(nullptr, tam::PictureOptions{64, 48});
    EXPECT_EQ(countPixels(empty, isBackground), 64u * 48u);
}

// The PNG itself is read back by the CLI test; here only the failure.
TEST(PictureTest, UnwritablePathFails) {
    tamtest::SceneHolder scene(tamtest::buildScene());
    std::string error;
    EXPECT_FALSE(
        tam::writePicture(scene.get(), "/no/such/folder/x.png", tam::PictureOptions{}, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
