// Merging a part into one actor and baking placements into geodes.
#include <tamfoundations/CTamOptimizer.h>

#include "GeometryMerger.h"

#include <tamgeometry/CTamGeomTools.h>
#include <tamsg/sglGeoSet.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglLOD.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamUserData.h>

#include <typeinfo>
#include <vector>

namespace {

// Feeds every geode below `node` to the merger with its placement; the children of a
// level-of-detail node count as its levels.
void Gather(const sglNode& node, const sglMat4<float>& placement, unsigned int level,
            GeometryMerger& merger) {
    if (const auto* geode = dynamic_cast<const sglGeode*>(&node)) {
        merger.AddGeode(*geode, placement, level);
        return;
    }
    const auto* group = dynamic_cast<const sglGroup*>(&node);
    if (group == nullptr) {
        return;
    }
    const bool isLOD = dynamic_cast<const sglLOD*>(group) != nullptr;
    for (unsigned int i = 0; i < group->getNumChildren(); ++i) {
        const sglNode* child = group->getChild(i);
        const auto* transform = dynamic_cast<const sglTransform<float>*>(child);
        Gather(*child, transform ? transform->getMatrix() * placement : placement,
               isLOD ? i : level, merger);
    }
}

void TransformRecord(CTamUserData& record, const sglMat4<float>& matrix) {
    record.SetCofG(matrix.transformPoint(record.GetCofG()));
    sglVec3<float> axes[3];
    for (unsigned int i = 0; i < 3; ++i) {
        axes[i] = matrix.transformVector(record.GetInertiaAxis(i));
        const float length = axes[i].length();
        if (length > 0.0f) {
            axes[i] = axes[i] * (1.0f / length);
        }
    }
    record.SetInertiaAxes(axes);
}

}  // namespace

sglGroup* CTamOptimizer::FactorizeGraph(sglNode* node, const CString& name) {
    if (node == nullptr) {
        return nullptr;
    }
    GeometryMerger merger;
    const auto* transform = dynamic_cast<const sglTransform<float>*>(node);
    Gather(*node, transform ? transform->getMatrix() : sglMat4<float>(), 0, merger);

    const std::wstring actorName = name.IsEmpty() ? node->getName() : name.str();
    bool hasLevels = false;
    const std::vector<sglGeode*> geodes = merger.BuildGeodes(actorName, hasLevels);

    sglGroup* result = nullptr;
    auto* group = dynamic_cast<sglGroup*>(node);
    if (group != nullptr && typeid(*group) == typeid(sglGroup)) {
        result = group;
        result->removeAllChildren();
    } else {
        result = new sglGroup;
        if (group != nullptr) {
            for (const auto& [key, value] : group->getMetaProperties()) {
                result->addMetaProperty(key, value);
            }
        }
    }
    result->setName(actorName);
    for (sglGeode* geode : geodes) {
        result->addChild(geode, true);
    }
    if (hasLevels) {
        CTamGeomTools::AddLODToSceneGraph(result);
    }
    return result;
}

bool CTamOptimizer::TransformGeode(sglGeode* geode, const sglMat4<float>& matrix, bool inPlace) {
    if (geode == nullptr) {
        return false;
    }
    // Drawables are taken off and put back in order, shared ones replaced by private copies.
    std::vector<sglGeoSet*> drawables;
    for (unsigned int i = 0; i < geode->getNumGeometries(); ++i) {
        sglGeoSet* drawable = geode->getGeometry(i);
        drawable->ref();
        drawables.push_back(drawable);
    }
    geode->removeAllGeometries();
    for (sglGeoSet* drawable : drawables) {
        sglGeoSet* target = drawable;
        if (!inPlace && drawable->getRefCount() > 1) {
            target = drawable->deepCopy();
        }
        target->transform(matrix);
        geode->addGeometry(target);
        drawable->unref();
    }
    if (auto* record = dynamic_cast<CTamUserData*>(geode->getUserData())) {
        TransformRecord(*record, matrix);
    }
    return true;
}
