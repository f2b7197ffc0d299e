#include "SceneWalk.h"

#include <platform/CodePage.h>
#include <tamsg/sglGeoSet.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglLOD.h>
#include <tamsg/sglMaterial.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamUserData.h>
#include <tamsgdb/CTamUserDataGeoset.h>

#include <algorithm>
#include <set>

namespace tam {
namespace {

void walkNode(const sglNode& node, const sglMat4<float>& parentToWorld, unsigned int depth,
              SceneVisitor& visitor, LevelChoice levels) {
    sglMat4<float> toWorld = parentToWorld;
    if (const auto* transform = dynamic_cast<const sglTransform<float>*>(&node)) {
        // Row vectors: the child's own matrix applies first, then its parents'.
        if (!transform->isIdentity())
            toWorld = transform->getMatrix() * parentToWorld;
    }
    visitor.enterNode(node, toWorld, depth);
    if (const auto* group = dynamic_cast<const sglGroup*>(&node)) {
        unsigned int count = group->getNumChildren();
        if (levels == LevelChoice::Finest && dynamic_cast<const sglLOD*>(&node) != nullptr)
            count = std::min(count, 1u);
        for (unsigned int i = 0; i < count; ++i) {
            if (const sglNode* child = group->getChild(i))
                walkNode(*child, toWorld, depth + 1, visitor, levels);
        }
    }
    visitor.leaveNode(node);
}

unsigned int levelOf(const sglGeoSet& drawable) {
    const auto* record = dynamic_cast<const CTamUserDataGeoset*>(drawable.getUserData());
    return record != nullptr ? record->GetLevel() : 0;
}

}  // namespace

void walkScene(const sglNode* root, SceneVisitor& visitor, LevelChoice levels) {
    if (root == nullptr)
        return;
    walkNode(*root, sglMat4<float>(), 0, visitor, levels);
}

std::vector<const sglGeoSet*> finestDrawables(const sglGeode& geode) {
    unsigned int finest = ~0u;
    for (unsigned int i = 0; i < geode.getNumGeometries(); ++i) {
        if (const sglGeoSet* drawable = geode.getGeometry(i))
            finest = std::min(finest, levelOf(*drawable));
    }
    std::vector<const sglGeoSet*> drawables;
    for (unsigned int i = 0; i < geode.getNumGeometries(); ++i) {
        const sglGeoSet* drawable = geode.getGeometry(i);
        if (drawable != nullptr && levelOf(*drawable) == finest)
            drawables.push_back(drawable);
    }
    return drawables;
}

unsigned int levelCount(const sglGeode& geode) {
    std::set<unsigned int> levels;
    for (unsigned int i = 0; i < geode.getNumGeometries(); ++i) {
        if (const sglGeoSet* drawable = geode.getGeometry(i))
            levels.insert(levelOf(*drawable));
    }
    return levels.empty() ? 1u : static_cast<unsigned int>(levels.size());
}

bool isVisible(const sglNode& node) {
    const auto* record = dynamic_cast<const CTamUserData*>(node.getUserData());
    return record == nullptr || record->GetVisible();
}

sglVec4<float> baseColor(const sglGeoSet& drawable) {
    if (drawable.getColorBinding() == SGL_BIND_OVERALL && drawable.getNumColors() > 0)
        return drawable.getColor(0);
    for (const sglStatelet* statelet : drawable.getState(0)) {
        if (const auto* material = dynamic_cast<const sglMaterial*>(statelet))
            return material->getDiffuse(SGL_FRONT);
    }
    return sglVec4<float>(0.8f, 0.8f, 0.9f, 1.0f);
}

const char* nodeKind(const sglNode& node) {
    if (dynamic_cast<const sglTransform<float>*>(&node) != nullptr)
        return "transform";
    if (dynamic_cast<const sglLOD*>(&node) != nullptr)
        return "lod";
    if (dynamic_cast<const sglGroup*>(&node) != nullptr)
        return "group";
    if (dynamic_cast<const sglGeode*>(&node) != nullptr)
        return "geode";
    return "node";
}

std::string utf8Name(const sglNode& node) {
    return WideToUtf8Replacing(node.getName());
}

}  // namespace tam
