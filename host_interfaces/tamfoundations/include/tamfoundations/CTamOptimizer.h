// Scene-graph optimizer of the host: merging a part into one actor, baking placements.
#pragma once

#include <platform/CString.h>
#include <tamsg/sglMat4.h>

class sglGeode;
class sglGroup;
class sglNode;

// Merges and transforms geometry. Holds no state between calls; the host makes a fresh one per
// call.
class CTamOptimizer {
public:
    // A fresh optimizer; it keeps nothing between calls.
    CTamOptimizer() = default;
    virtual ~CTamOptimizer() = default;

    // Merges everything below `node` into one actor: a group holding one geode per look
    // (material, lighting, line width, point size, overall color), each holding one drawable per
    // kind and level with the placements of all source geodes baked in; geodes with several
    // levels become level-of-detail nodes. The group is `node` itself, emptied and refilled, when
    // `node` is a plain sglGroup (its metadata kept); otherwise a new group (count 0, owned by the
    // caller; `node` untouched) carrying `node`'s metadata. The group is named `name`, or keeps
    // `node`'s name when `name` is empty. Invalid drawables are dropped. Null for null.
    sglGroup* FactorizeGraph(sglNode* node, const CString& name);

    // Bakes `matrix` into the positions and normals of the geode's drawables, and into the
    // centre of gravity and inertia axes of its CTamUserData. A drawable that other owners also
    // hold is replaced by a transformed copy unless `inPlace` is set (then every holder sees
    // the change). False for a null geode.
    bool TransformGeode(sglGeode* geode, const sglMat4<float>& matrix, bool inPlace);
};
