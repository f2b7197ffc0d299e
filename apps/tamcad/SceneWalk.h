// Depth-first walk over a host scene graph with accumulated placements, shared by the summary, the
// info printer and the glTF and picture writers.
#pragma once

#include <tamsg/sglMat4.h>
#include <tamsg/sglVec4.h>

#include <string>
#include <vector>

class sglNode;
class sglGeode;
class sglGeoSet;

namespace tam {

// Receives the nodes of a walk. toWorld maps the node's own coordinates to the root's (row
// vectors, p' = p x M), the node's own matrix included for transform nodes.
class SceneVisitor {
public:
    virtual ~SceneVisitor() = default;
    // Called before the node's children; depth 0 is the root.
    virtual void enterNode(const sglNode& node, const sglMat4<float>& toWorld,
                           unsigned int depth) = 0;
    // Called after the node's children.
    virtual void leaveNode(const sglNode& /*node*/) {}
};

// Which children of a level-of-detail node the walk visits.
enum class LevelChoice { Finest, All };

// Visits root and everything below it, children in order. With LevelChoice::Finest only the first
// child (the finest level) of each sglLOD node is visited. Nothing for a null root.
void walkScene(const sglNode* root, SceneVisitor& visitor, LevelChoice levels);

// The drawables of the geode's finest level of detail: those whose level record is the lowest in
// the geode (a drawable without a record counts as level 0), in the geode's order.
std::vector<const sglGeoSet*> finestDrawables(const sglGeode& geode);

// Number of distinct level records among the geode's drawables (1 when there are none).
unsigned int levelCount(const sglGeode& geode);

// False only when the node carries a host record that marks it hidden.
bool isVisible(const sglNode& node);

// The color a drawable is shown in: its overall color, else the front diffuse color of its
// material, else the kernel's default (0.8, 0.8, 0.9). Per-vertex colors are read separately.
sglVec4<float> baseColor(const sglGeoSet& drawable);

// Kind of node for display: "group", "transform", "lod", "geode" or "node".
const char* nodeKind(const sglNode& node);

// The node's name as UTF-8.
std::string utf8Name(const sglNode& node);

}  // namespace tam
