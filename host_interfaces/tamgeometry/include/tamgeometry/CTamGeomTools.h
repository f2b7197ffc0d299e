// Geometry services of the host: levels of detail, accumulated placements, box clipping.
#pragma once

#include <tamsg/sglMat4.h>

class CTamBBox;
class sglMonoIndexedTriangleStripSet;
class sglNode;

// Static operations on scene graphs and drawables.
class CTamGeomTools {
public:
    // Turns every geode below `node` whose drawables belong to several levels (the level of a
    // drawable is its CTamUserDataGeoset level, 0 when it has none) into an sglLOD put in the
    // geode's place: child k holds the drawables of the k-th smallest level, 0 the finest.
    // The LOD node and each level geode take the geode's name and a copy of its user data.
    // Switch distances follow the geode's bounds (GetLODSwitchDistance). A geode without
    // parent is left alone. Returns how many geodes were converted; null gives 0.
    static unsigned int AddLODToSceneGraph(sglNode* node);

    // Distance at which level `level` (1 and up) of a node of bounding radius `radius` starts:
    // 10 x radius x 2^(level - 1); level 0 starts at 0. A radius of 0 or less counts as 1.
    static float GetLODSwitchDistance(float radius, unsigned int level);

    // The placement of `node` in its root's frame: its own matrix when it is a transform, then
    // those of the transforms above it, following each node's first parent (p' = p x M).
    // The identity for null or an unplaced node.
    static sglMat4<float> GetMatTransform(const sglNode* node);

    // Drops the triangles of `set` having a vertex outside `box` (grown by 1/1000 of its
    // diagonal). When at least one is dropped, `out` receives a new strip set (count 0, owned
    // by the caller, with its own copies of the remaining vertices, the same statelets, name and
    // a copy of the user data; no primitives when none remain) and true is returned. Otherwise
    // `out` is left untouched and false returned: nothing dropped, null or invalid `set`,
    // empty box.
    static bool RemoveTrianglesOutOfBox(const sglMonoIndexedTriangleStripSet* set,
                                        sglMonoIndexedTriangleStripSet*& out, const CTamBBox& box);
};
