#include "Picture.h"

#include "SceneWalk.h"
#include "Srgb.h"

#include <tamsg/sglGeoSet.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglLineStripSet.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsg/sglPointSet.h>

#include <platform/AtomicFile.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tam {
namespace {

// Rendering at twice the size and shrinking gives smooth edges.
constexpr int kSupersampling = 2;
constexpr float kMargin = 0.06f;
constexpr int kLineWidth = 3;
constexpr int kPointSize = 9;

struct WorldVertex {
    sglVec3<float> position;
    sglVec3<float> normal;  // zero when the drawable has none
    sglVec4<float> color;
};

// The visible geometry of a scene in world coordinates.
struct WorldGeometry {
    std::vector<WorldVertex> triangles;  // three per triangle
    std::vector<WorldVertex> lines;      // two per segment
    std::vector<WorldVertex> points;
};

sglVec3<float> normalized(const sglVec3<float>& v) {
    const float length = v.length();
    return length > 0.0f ? v * (1.0f / length) : sglVec3<float>();
}

class GeometryCollector : public SceneVisitor {
public:
    explicit GeometryCollector(WorldGeometry& geometry) : m_geometry(geometry) {}

    void enterNode(const sglNode& node, const sglMat4<float>& toWorld, unsigned int) override {
        const auto* geode = dynamic_cast<const sglGeode*>(&node);
        if (geode == nullptr || !isVisible(*geode))
            return;
        for (const sglGeoSet* drawable : finestDrawables(*geode)) {
            if (drawable->isValid())
                addDrawable(*drawable, toWorld);
        }
    }

private:
    void addDrawable(const sglGeoSet& drawable, const sglMat4<float>& toWorld) {
        if (const auto* strips = dynamic_cast<const sglMonoIndexedTriangleStripSet*>(&drawable)) {
            for (unsigned int index : strips->getTriangles(true))
                m_geometry.triangles.push_back(vertex(drawable, index, toWorld));
        } else if (dynamic_cast<const sglLineStripSet*>(&drawable) != nullptr) {
            addLineStrips(drawable, toWorld);
        } else if (dynamic_cast<const sglPointSet*>(&drawable) != nullptr) {
            for (unsigned int i = 0; i < drawable.getNumCoords(); ++i)
                m_geometry.points.push_back(vertex(drawable, i, toWorld));
        }
    }

    void addLineStrips(const sglGeoSet& drawable, const sglMat4<float>& toWorld) {
        const unsigned int* lengths = drawable.getPrimLengths();
        unsigned int start = 0;
        for (unsigned int strip = 0; lengths != nullptr && strip < drawable.getNumPrimLengths();
             ++strip) {
            for (unsigned int i = 1; i < lengths[strip]; ++i) {
                m_geometry.lines.push_back(vertex(drawable, start + i - 1, toWorld));
                m_geometry.lines.push_back(vertex(drawable, start + i, toWorld));
            }
            start += lengths[strip];
        }
    }

    static WorldVertex vertex(const sglGeoSet& drawable, unsigned int index,
                              const sglMat4<float>& toWorld) {
        WorldVertex v;
        v.position = toWorld.transformPoint(drawable.getCoord(index));
        if (drawable.getNormalBinding() == SGL_BIND_PER_VERTEX &&
            index < drawable.getNumNormals()) {
            const float* n = drawable.getNormals() + 3 * index;
            v.normal = normalized(toWorld.transformVector(sglVec3<float>(n[0], n[1], n[2])));
        }
        const bool perVertex =
            drawable.getColorBinding() == SGL_BIND_PER_VERTEX && index < drawable.getNumColors();
        v.color = perVertex ? drawable.getColor(index) : baseColor(drawable);
        return v;
    }

    WorldGeometry& m_geometry;
};

// An isometric parallel view from the front (-y), right (+x) and above (+z), fitted to the image.
class Camera {
public:
    Camera(const WorldGeometry& geometry, int width, int height) {
        const sglVec3<float> forward = normalized(sglVec3<float>(-1.0f, 1.0f, -1.0f));
        m_right = normalized(forward.cross(sglVec3<float>(0.0f, 0.0f, 1.0f)));
        m_up = m_right.cross(forward);
        m_forward = forward;
        fit(geometry, width, height);
    }

    ScreenVertex project(const WorldVertex& v, float shade) const {
        ScreenVertex s;
        s.x = m_centerX + (v.position.dot(m_right) - m_midRight) * m_scale;
        s.y = m_centerY - (v.position.dot(m_up) - m_midUp) * m_scale;
        s.depth = v.position.dot(m_forward);
        s.r = linearToSrgb(srgbToLinear(v.color[0]) * shade);
        s.g = linearToSrgb(srgbToLinear(v.color[1]) * shade);
        s.b = linearToSrgb(srgbToLinear(v.color[2]) * shade);
        return s;
    }

    // Head light plus a weaker key light from the upper left; both sides of a face are lit.
    float shade(const sglVec3<float>& normal) const {
        const sglVec3<float> key = normalized(m_up * 0.8f - m_right * 0.5f - m_forward * 0.4f);
        return std::min(1.0f, 0.3f + 0.55f * std::fabs(normal.dot(m_forward)) +
                                  0.25f * std::fabs(normal.dot(key)));
    }

private:
    void fit(const WorldGeometry& geometry, int width, int height) {
        float minRight = std::numeric_limits<float>::max(), maxRight = -minRight;
        float minUp = minRight, maxUp = -minRight;
        for (const auto* list : {&geometry.triangles, &geometry.lines, &geometry.points}) {
            for (const WorldVertex& v : *list) {
                minRight = std::min(minRight, v.position.dot(m_right));
                maxRight = std::max(maxRight, v.position.dot(m_right));
                minUp = std::min(minUp, v.position.dot(m_up));
                maxUp = std::max(maxUp, v.position.dot(m_up));
            }
        }
        m_midRight = 0.5f * (minRight + maxRight);
        m_midUp = 0.5f * (minUp + maxUp);
        m_centerX = 0.5f * width;
        m_centerY = 0.5f * height;
        const float spanX = std::max(maxRight - minRight, 1e-6f);
        const float spanY = std::max(maxUp - minUp, 1e-6f);
        m_scale = (1.0f - 2.0f * kMargin) * std::min(width / spanX, height / spanY);
    }

    sglVec3<float> m_forward, m_right, m_up;
    float m_midRight = 0.0f, m_midUp = 0.0f;
    float m_centerX = 0.0f, m_centerY = 0.0f, m_scale = 1.0f;
};

sglVec3<float> faceNormal(const WorldVertex* corner) {
    return normalized(
        (corner[1].position - corner[0].position).cross(corner[2].position - corner[0].position));
}

void drawTriangles(const WorldGeometry& geometry, const Camera& camera, Rasterizer& raster) {
    for (size_t i = 0; i + 2 < geometry.triangles.size(); i += 3) {
        const WorldVertex* corner = &geometry.triangles[i];
        const sglVec3<float> flat = faceNormal(corner);
        ScreenVertex screen[3];
        for (int k = 0; k < 3; ++k) {
            const bool hasNormal = corner[k].normal.dot(corner[k].normal) > 0.0f;
            screen[k] =
                camera.project(corner[k], camera.shade(hasNormal ? corner[k].normal : flat));
        }
        raster.drawTriangle(screen[0], screen[1], screen[2]);
    }
}

// Curves and points sit on or near faces: a small pull towards the viewer keeps them on top.
void drawCurvesAndPoints(const WorldGeometry& geometry, const Camera& camera, Rasterizer& raster) {
    const float pull = 1e-3f;
    for (size_t i = 0; i + 1 < geometry.lines.size(); i += 2) {
        ScreenVertex a = camera.project(geometry.lines[i], 1.0f);
        ScreenVertex b = camera.project(geometry.lines[i + 1], 1.0f);
        a.depth -= pull * std::fabs(a.depth) + pull;
        b.depth -= pull * std::fabs(b.depth) + pull;
        raster.drawLine(a, b, kLineWidth);
    }
    for (const WorldVertex& point : geometry.points) {
        ScreenVertex p = camera.project(point, 1.0f);
        p.depth -= pull * std::fabs(p.depth) + pull;
        raster.drawPoint(p, kPointSize);
    }
}

}  // namespace

Image renderPicture(const sglNode* root, const PictureOptions& options) {
    const int width = std::max(1, options.width) * kSupersampling;
    const int height = std::max(1, options.height) * kSupersampling;
    WorldGeometry geometry;
    GeometryCollector collector(geometry);
    walkScene(root, collector, LevelChoice::Finest);
    Rasterizer raster(width, height, kPictureBackground);
    const Camera camera(geometry, width, height);
    drawTriangles(geometry, camera, raster);
    drawCurvesAndPoints(geometry, camera, raster);
    return raster.downsampled(kSupersampling);
}

bool writePicture(const sglNode* root, const std::string& path, const PictureOptions& options,
                  std::string& error) {
    const Image image = renderPicture(root, options);
    std::string reason;
    const bool written = WriteFileAtomically(
        path,
        [&](const std::string& temporary) {
            return stbi_write_png(temporary.c_str(), image.width, image.height, 3, image.rgb.data(),
                                  image.width * 3) != 0;
        },
        reason);
    if (!written) {
        error = "cannot write " + path + ": " + reason;
        return false;
    }
    return true;
}

}  // namespace tam
