// Scene builders shared by the scene-graph tests (tamfoundations, tamcad): lit quads, a line and
// named geodes.
#pragma once

#include <tamsg/sglConstants.h>
#include <tamsg/sglDataPtr.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglLighting.h>
#include <tamsg/sglLineStripSet.h>
#include <tamsg/sglLineWidth.h>
#include <tamsg/sglMaterial.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsgdb/CTamUserDataGeoset.h>

#include <string>
#include <vector>

namespace tamtest {

// A material of the given diffuse color with the loader's specular and shininess.
inline sglMaterial* MakeMaterial(float r, float g, float b) {
    auto* material = new sglMaterial;
    material->setDiffuse(SGL_FRONT_AND_BACK, r, g, b);
    material->setSpecular(SGL_FRONT_AND_BACK, 1.0f, 1.0f, 1.0f);
    material->setShininess(SGL_FRONT_AND_BACK, 64.0f);
    return material;
}

// One lit triangle strip over the square of the given size in the plane z = 0 with its corner at
// (dx, dy), normals (0,0,1), in the given color and pass (no level record when level < 0).
inline sglMonoIndexedTriangleStripSet* MakeQuad(float dx, float r, float g, float b, int level = 0,
                                                float size = 1, float dy = 0) {
    auto* set = new sglMonoIndexedTriangleStripSet;
    set->setNumPrims(1);
    set->setCoordList(new sglArrayDataPtr<float>(
                          {dx, dy, 0, dx + size, dy, 0, dx, dy + size, 0, dx + size, dy + size, 0}),
                      SGL_FLOAT, 3);
    set->setNormalList(SGL_BIND_PER_VERTEX,
                       new sglArrayDataPtr<float>({0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}), SGL_FLOAT);
    set->setIndexList(new sglArrayDataPtr<unsigned int>({0, 1, 2, 3}));
    set->setPrimLengths(new sglArrayDataPtr<unsigned int>({4}));
    set->setState(0, {MakeMaterial(r, g, b), new sglLighting(true)});
    if (level >= 0) {
        set->setUserData(new CTamUserDataGeoset(static_cast<unsigned int>(level)));
    }
    return set;
}

// A red polyline of two points with width 1.
inline sglLineStripSet* MakeLine() {
    auto* set = new sglLineStripSet;
    set->setNumPrims(1);
    set->setCoordList(new sglArrayDataPtr<float>({0, 0, 0, 2, 0, 0}), SGL_FLOAT, 3);
    set->setPrimLengths(new sglArrayDataPtr<unsigned int>({2}));
    set->setColorList(SGL_BIND_OVERALL, new sglArrayDataPtr<float>({1, 0, 0, 1}), SGL_FLOAT, 4);
    set->setState(0, {new sglLineWidth(1.0f)});
    return set;
}

inline sglGeode* MakeGeode(const std::wstring& name, std::vector<sglGeoSet*> drawables) {
    auto* geode = new sglGeode;
    geode->setName(name);
    for (sglGeoSet* drawable : drawables)
        geode->addGeometry(drawable);
    return geode;
}

}  // namespace tamtest
