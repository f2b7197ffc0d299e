// Levels of detail and accumulated placements.
#include <tamgeometry/CTamGeomTools.h>

#include <tamsg/sglGeoSet.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglLOD.h>
#include <tamsg/sglTransform.h>
#include <tamsg/sglUserData.h>
#include <tamsgdb/CTamUserDataGeoset.h>

#include <cfloat>
#include <cmath>
#include <map>
#include <set>
#include <vector>

namespace {

using DrawablesByLevel = std::map<unsigned int, std::vector<sglGeoSet*>>;

unsigned int LevelOf(const sglGeoSet* set) {
    const auto* record = dynamic_cast<const CTamUserDataGeoset*>(set->getUserData());
    return record ? record->GetLevel() : 0;
}

// Every geode below node (node included), each once even when the graph shares it.
std::vector<sglGeode*> CollectGeodes(sglNode* node) {
    std::vector<sglGeode*> geodes;
    std::set<const sglNode*> seen;
    std::vector<sglNode*> pending{node};
    while (!pending.empty()) {
        sglNode* current = pending.back();
        pending.pop_back();
        if (current == nullptr || !seen.insert(current).second) {
            continue;
        }
        if (auto* geode = dynamic_cast<sglGeode*>(current)) {
            geodes.push_back(geode);
        } else if (auto* group = dynamic_cast<sglGroup*>(current)) {
            for (unsigned int i = group->getNumChildren(); i > 0; --i) {
                pending.push_back(group->getChild(i - 1));
            }
        }
    }
    return geodes;
}

DrawablesByLevel GroupByLevel(const sglGeode& geode) {
    DrawablesByLevel byLevel;
    for (unsigned int i = 0; i < geode.getNumGeometries(); ++i) {
        sglGeoSet* set = geode.getGeometry(i);
        byLevel[LevelOf(set)].push_back(set);
    }
    return byLevel;
}

void CopyNameAndUserData(const sglNode& from, sglNode& to) {
    to.setName(from.getName());
    to.setUserData(from.getUserData() ? from.getUserData()->clone() : nullptr);
}

// A level-of-detail node holding one geode per level; the drawables change geode.
sglLOD* BuildLOD(sglGeode& geode, const DrawablesByLevel& byLevel) {
    auto* lod = new sglLOD;
    CopyNameAndUserData(geode, *lod);
    const float radius = geode.getBound().getDiagonalLength() * 0.5f;
    const auto levels = static_cast<unsigned int>(byLevel.size());
    unsigned int rank = 0;
    for (const auto& [level, drawables] : byLevel) {
        auto* levelGeode = new sglGeode;
        CopyNameAndUserData(geode, *levelGeode);
        for (sglGeoSet* drawable : drawables) {
            levelGeode->addGeometry(drawable);
        }
        lod->addChild(levelGeode, true);
        const float start = CTamGeomTools::GetLODSwitchDistance(radius, rank);
        const float end =
            rank + 1 < levels ? CTamGeomTools::GetLODSwitchDistance(radius, rank + 1) : FLT_MAX;
        lod->setRange(rank, start, end);
        ++rank;
    }
    geode.removeAllGeometries();
    return lod;
}

}  // namespace

unsigned int CTamGeomTools::AddLODToSceneGraph(sglNode* node) {
    unsigned int converted = 0;
    for (sglGeode* geode : CollectGeodes(node)) {
        const DrawablesByLevel byLevel = GroupByLevel(*geode);
        if (byLevel.size() < 2 || geode->getNumParents() == 0) {
            continue;
        }
        geode->ref();  // keeps the geode alive while its parents let go of it
        sglLOD* lod = BuildLOD(*geode, byLevel);
        lod->ref();
        while (geode->getNumParents() > 0 && geode->getParent(0)->replaceChild(geode, lod)) {
        }
        lod->unref();
        geode->unref();
        ++converted;
    }
    return converted;
}

float CTamGeomTools::GetLODSwitchDistance(float radius, unsigned int level) {
    if (level == 0) {
        return 0.0f;
    }
    const float size = radius > 0.0f && std::isfinite(radius) ? radius : 1.0f;
    return 10.0f * size * std::ldexp(1.0f, static_cast<int>(level) - 1);
}

sglMat4<float> CTamGeomTools::GetMatTransform(const sglNode* node) {
    sglMat4<float> placement;
    for (const sglNode* current = node; current != nullptr;
         current = current->getNumParents() > 0 ? current->getParent(0) : nullptr) {
        if (const auto* transform = dynamic_cast<const sglTransform<float>*>(current)) {
            placement = placement * transform->getMatrix();
        }
    }
    return placement;
}
