// A small software rasterizer: depth-tested triangles with interpolated colors, lines and points,
// into an RGB image.
#pragma once

#include <cstdint>
#include <vector>

namespace tam {

// An 8-bit RGB color.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

// A vertex in screen space: x to the right and y downwards in pixels, depth growing away from the
// viewer, and its color with channels 0..1.
struct ScreenVertex {
    float x = 0.0f;
    float y = 0.0f;
    float depth = 0.0f;
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

// An RGB image, row by row from the top, three bytes per pixel.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    Rgb pixel(int x, int y) const;
};

// Draws into a color and depth buffer of a fixed size. Everything outside the image is clipped;
// nearer fragments win.
class Rasterizer {
public:
    // A buffer of width x height pixels (at least 1 x 1) cleared to background.
    Rasterizer(int width, int height, Rgb background);

    // Fills the triangle (either winding), color and depth interpolated across it.
    void drawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c);
    // Draws a segment widthPixels wide (at least 1), color and depth interpolated.
    void drawLine(const ScreenVertex& a, const ScreenVertex& b, int widthPixels);
    // Draws a square point of sizePixels (at least 1) centered on the vertex.
    void drawPoint(const ScreenVertex& p, int sizePixels);

    // The image drawn so far.
    const Image& image() const { return m_image; }
    // The image shrunk by factor (box filter over factor x factor pixels); factor 1 copies.
    Image downsampled(int factor) const;

private:
    void plot(int x, int y, float depth, float r, float g, float b);

    Image m_image;
    std::vector<float> m_depth;
};

}  // namespace tam
