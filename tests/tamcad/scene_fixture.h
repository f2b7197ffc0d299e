// A small scene graph built by hand for the tests of tamcad's scene writers: a red square, a
// green copy placed 20 mm to the right, a blue polyline, a point, a hidden geode and a two-level
// level-of-detail node.
#pragma once

#include <tamsg/tamsg.h>
#include <tamsgdb/CTamUserData.h>
#include <tamsgdb/CTamUserDataGeoset.h>

#include "scene_builders.h"

namespace tamtest {

// A 10 x 10 square in the plane z = 0 with its corner at (x, y), as one strip of four
// vertices, normals +z.
inline sglMonoIndexedTriangleStripSet* square(float r, float g, float b, float x = 0, float y = 0,
                                              int level = 0) {
    return MakeQuad(x, r, g, b, level, 10, y);
}

inline sglLineStripSet* polyline() {
    auto* lines = new sglLineStripSet();
    lines->setNumPrims(1);
    lines->setCoordList(new sglArrayDataPtr<float>({0, -5, 0, 10, -5, 0, 20, -5, 0}), SGL_FLOAT, 3);
    lines->setPrimLengths(new sglArrayDataPtr<unsigned int>({3}));
    lines->setColorList(SGL_BIND_OVERALL, new sglArrayDataPtr<float>({0, 0, 1}), SGL_FLOAT, 3);
    return lines;
}

inline sglPointSet* point() {
    auto* points = new sglPointSet();
    points->setNumPrims(1);
    points->setCoordList(new sglArrayDataPtr<float>({5, 15, 0}), SGL_FLOAT, 3);
    points->setColorList(SGL_BIND_OVERALL, new sglArrayDataPtr<float>({0, 0, 0}), SGL_FLOAT, 3);
    return points;
}

inline sglGeode* geode(const wchar_t* name, sglGeoSet* drawable, bool visible = true) {
    auto* node = new sglGeode();
    node->setName(name);
    node->addGeometry(drawable);
    auto* record = new CTamUserData();
    record->SetVisible(visible);
    record->SetEntityKind(2);
    record->SetLayer(12);
    record->SetArea(100.0f);
    node->setUserData(record);
    return node;
}

// Root "Part" (group) with, in order: geode "Red" at the origin, transform "Moved" holding geode
// "Green" (20 mm to the right), geode "Line", geode "Dot", hidden geode "Hidden" (left of Red),
// LOD "Levels" with geodes "Fine" (blue, above Red) and "Coarse" (its coarser level, magenta).
// 10 nodes; the caller owns the root (count 0).
inline sglGroup* buildScene() {
    auto* root = new sglGroup();
    root->setName(L"Part");
    root->addMetaProperty(L"Material", L"Steel");
    root->addChild(geode(L"Red", square(1, 0, 0)));
    auto* moved = new sglTransform<float>();
    moved->setName(L"Moved");
    moved->setMatrix(sglMat4<float>::translation(sglVec3<float>(20, 0, 0)));
    moved->addChild(geode(L"Green", square(0, 1, 0)));
    root->addChild(moved);
    root->addChild(geode(L"Line", polyline()));
    root->addChild(geode(L"Dot", point()));
    root->addChild(geode(L"Hidden", square(1, 1, 0, -20, 0), false));
    auto* levels = new sglLOD();
    levels->setName(L"Levels");
    auto* fine = geode(L"Fine", square(0, 0, 1, 0, 20));
    auto* coarse = geode(L"Coarse", square(1, 0, 1, 0, 20, 1));
    levels->addChild(fine);
    levels->addChild(coarse);
    root->addChild(levels);
    return root;
}

// Keeps a scene alive for one test.
class SceneHolder {
public:
    explicit SceneHolder(sglNode* root) : m_root(root) { m_root->ref(); }
    ~SceneHolder() { m_root->unref(); }
    SceneHolder(const SceneHolder&) = delete;
    SceneHolder& operator=(const SceneHolder&) = delete;
    sglNode* get() const { return m_root; }

private:
    sglNode* m_root;
};

}  // namespace tamtest
