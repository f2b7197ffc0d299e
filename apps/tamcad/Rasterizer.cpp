#include "Rasterizer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tam {
namespace {

std::uint8_t toByte(float channel) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f));
}

// Twice the signed area of (a, b, p): positive when p lies left of a->b in screen space.
float edge(const ScreenVertex& a, const ScreenVertex& b, float px, float py) {
    return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}

ScreenVertex mix(const ScreenVertex& a, const ScreenVertex& b, float t) {
    ScreenVertex v;
    v.x = a.x + (b.x - a.x) * t;
    v.y = a.y + (b.y - a.y) * t;
    v.depth = a.depth + (b.depth - a.depth) * t;
    v.r = a.r + (b.r - a.r) * t;
    v.g = a.g + (b.g - a.g) * t;
    v.b = a.b + (b.b - a.b) * t;
    return v;
}

}  // namespace

Rgb Image::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return Rgb();
    const size_t at = (static_cast<size_t>(y) * width + x) * 3;
    return Rgb{rgb[at], rgb[at + 1], rgb[at + 2]};
}

Rasterizer::Rasterizer(int width, int height, Rgb background) {
    m_image.width = std::max(width, 1);
    m_image.height = std::max(height, 1);
    const size_t pixels = static_cast<size_t>(m_image.width) * m_image.height;
    m_image.rgb.resize(pixels * 3);
    for (size_t i = 0; i < pixels; ++i) {
        m_image.rgb[3 * i] = background.r;
        m_image.rgb[3 * i + 1] = background.g;
        m_image.rgb[3 * i + 2] = background.b;
    }
    m_depth.assign(pixels, std::numeric_limits<float>::infinity());
}

void Rasterizer::plot(int x, int y, float depth, float r, float g, float b) {
    if (x < 0 || y < 0 || x >= m_image.width || y >= m_image.height)
        return;
    const size_t at = static_cast<size_t>(y) * m_image.width + x;
    if (!(depth < m_depth[at]))
        return;
    m_depth[at] = depth;
    m_image.rgb[3 * at] = toByte(r);
    m_image.rgb[3 * at + 1] = toByte(g);
    m_image.rgb[3 * at + 2] = toByte(b);
}

// Scans the triangle's bounding box and samples pixel centers with barycentric weights.
void Rasterizer::drawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c) {
    const float area = edge(a, b, c.x, c.y);
    if (area == 0.0f || !std::isfinite(area))
        return;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
    const int x1 =
        std::min(m_image.width - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
    const int y1 =
        std::min(m_image.height - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
    for (int y = y0; y <= y1; ++y) {
        const float py = y + 0.5f;
        for (int x = x0; x <= x1; ++x) {
            const float px = x + 0.5f;
            const float wa = edge(b, c, px, py) / area;
            const float wb = edge(c, a, px, py) / area;
            const float wc = 1.0f - wa - wb;
            if (wa < 0.0f || wb < 0.0f || wc < 0.0f)
                continue;
            plot(x, y, wa * a.depth + wb * b.depth + wc * c.depth, wa * a.r + wb * b.r + wc * c.r,
                 wa * a.g + wb * b.g + wc * c.g, wa * a.b + wb * b.b + wc * c.b);
        }
    }
}

// Steps along the longer axis one pixel at a time and stamps a square of the line's width.
void Rasterizer::drawLine(const ScreenVertex& a, const ScreenVertex& b, int widthPixels) {
    const float length = std::max(std::fabs(b.x - a.x), std::fabs(b.y - a.y));
    if (!std::isfinite(length))
        return;
    const int steps = std::max(1, static_cast<int>(std::ceil(length)));
    for (int i = 0; i <= steps; ++i)
        drawPoint(mix(a, b, float(i) / steps), widthPixels);
}

void Rasterizer::drawPoint(const ScreenVertex& p, int sizePixels) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return;
    const int size = std::max(1, sizePixels);
    const int left = static_cast<int>(std::floor(p.x - size / 2.0f + 0.5f));
    const int top = static_cast<int>(std::floor(p.y - size / 2.0f + 0.5f));
    for (int y = top; y < top + size; ++y) {
        for (int x = left; x < left + size; ++x)
            plot(x, y, p.depth, p.r, p.g, p.b);
    }
}

Image Rasterizer::downsampled(int factor) const {
    factor = std::max(1, factor);
    Image small;
    small.width = std::max(1, m_image.width / factor);
    small.height = std::max(1, m_image.height / factor);
    small.rgb.resize(static_cast<size_t>(small.width) * small.height * 3);
    for (int y = 0; y < small.height; ++y) {
        for (int x = 0; x < small.width; ++x) {
            for (int channel = 0; channel < 3; ++channel) {
                int sum = 0;
                for (int dy = 0; dy < factor; ++dy) {
                    for (int dx = 0; dx < factor; ++dx) {
                        const size_t at = (static_cast<size_t>(y * factor + dy) * m_image.width +
                                           x * factor + dx) *
                                          3;
                        sum += m_image.rgb[at + channel];
                    }
                }
                small.rgb[(static_cast<size_t>(y) * small.width + x) * 3 + channel] =
                    static_cast<std::uint8_t>((sum + factor * factor / 2) / (factor * factor));
            }
        }
    }
    return small;
}

}  // namespace tam
