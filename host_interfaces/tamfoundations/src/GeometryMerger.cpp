#include "GeometryMerger.h"

#include <tamfoundations/CTamIO.h>

#include <tamsg/sglDataPtr.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglLighting.h>
#include <tamsg/sglLineStripSet.h>
#include <tamsg/sglLineWidth.h>
#include <tamsg/sglMaterial.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsg/sglPointSet.h>
#include <tamsg/sglPointSize.h>
#include <tamsgdb/CTamUserDataGeoset.h>

#include <algorithm>
#include <tuple>

namespace {

enum Kind { kStrips, kLines, kPoints };

// What makes two drawables look alike: their statelet values and overall color or normal.
struct LookKey {
    std::vector<float> values;
    std::vector<const sglStatelet*> others;  // statelets of kinds not known here, by identity
    bool operator==(const LookKey& o) const { return values == o.values && others == o.others; }
};

struct LayoutKey {
    int kind;
    unsigned int level;
    unsigned int normalBinding;
    unsigned int colorBinding;
    unsigned int colorComponents;
    bool operator<(const LayoutKey& o) const {
        return std::tie(kind, level, normalBinding, colorBinding, colorComponents) <
               std::tie(o.kind, o.level, o.normalBinding, o.colorBinding, o.colorComponents);
    }
};

int KindOf(const sglGeoSet& set) {
    if (dynamic_cast<const sglMonoIndexedTriangleStripSet*>(&set)) {
        return kStrips;
    }
    if (dynamic_cast<const sglLineStripSet*>(&set)) {
        return kLines;
    }
    return dynamic_cast<const sglPointSet*>(&set) ? kPoints : -1;
}

void AppendVec4(std::vector<float>& values, const sglVec4<float>& v) {
    values.insert(values.end(), v.getPtr(), v.getPtr() + 4);
}

LookKey LookOf(const sglGeoSet& set) {
    LookKey key;
    for (const sglStatelet* statelet : set.getState(0)) {
        if (const auto* material = dynamic_cast<const sglMaterial*>(statelet)) {
            key.values.push_back(1.0f);
            for (unsigned int side : {SGL_FRONT, SGL_BACK}) {
                AppendVec4(key.values, material->getDiffuse(side));
                AppendVec4(key.values, material->getSpecular(side));
                key.values.push_back(material->getShininess(side));
            }
        } else if (const auto* lighting = dynamic_cast<const sglLighting*>(statelet)) {
            key.values.insert(key.values.end(), {2.0f, lighting->isEnabled() ? 1.0f : 0.0f});
        } else if (const auto* width = dynamic_cast<const sglLineWidth*>(statelet)) {
            key.values.insert(key.values.end(), {3.0f, width->getWidth()});
        } else if (const auto* size = dynamic_cast<const sglPointSize*>(statelet)) {
            key.values.insert(key.values.end(), {4.0f, size->getSize()});
        } else {
            key.others.push_back(statelet);
        }
    }
    if (set.getColorBinding() == SGL_BIND_OVERALL) {
        key.values.push_back(5.0f);
        AppendVec4(key.values, set.getColor(0));
    }
    return key;
}

unsigned int LevelOf(const sglGeoSet& set, unsigned int fallback) {
    const auto* pass = dynamic_cast<const CTamUserDataGeoset*>(set.getUserData());
    return pass ? pass->GetLevel() : fallback;
}

// Positions a drawable actually uses: all (strips index them), the strip lengths' sum (lines),
// one per primitive (points).
unsigned int UsedCoords(const sglGeoSet& set, int kind) {
    if (kind == kStrips) {
        return set.getNumCoords();
    }
    if (kind == kPoints) {
        return set.getNumPrims();
    }
    unsigned int sum = 0;
    for (unsigned int i = 0; i < set.getNumPrims(); ++i) {
        sum += set.getPrimLengths()[i];
    }
    return sum;
}

// Elements a bound list contributes: per vertex, per primitive, or the single overall one
// (taken from the first drawable only).
unsigned int BoundCount(unsigned int binding, unsigned int vertices, unsigned int prims,
                        bool first) {
    switch (binding) {
        case SGL_BIND_PER_VERTEX:
            return vertices;
        case SGL_BIND_PER_PRIM:
            return prims;
        case SGL_BIND_OVERALL:
            return first ? 1 : 0;
        default:
            return 0;
    }
}

// One merged drawable under construction.
struct MergedDrawable {
    LayoutKey layout;
    std::vector<sglStatelet*> state;
    bool hasLevelRecord = false;
    unsigned int prims = 0;
    unsigned int vertices = 0;
    std::vector<float> coords, normals, colors;
    std::vector<unsigned int> indices, lengths;

    void append(const sglGeoSet& set) {  // `set` already carries the placement
        const int kind = layout.kind;
        const unsigned int used = UsedCoords(set, kind);
        const unsigned int numPrims = set.getNumPrims();
        const bool first = prims == 0 && vertices == 0;
        for (unsigned int i = 0; i < used; ++i) {
            const sglVec3<float> p = set.getCoord(i);
            coords.insert(coords.end(), p.getPtr(), p.getPtr() + 3);
        }
        const unsigned int numNormals = BoundCount(layout.normalBinding, used, numPrims, first);
        normals.insert(normals.end(), set.getNormals(), set.getNormals() + 3 * numNormals);
        const unsigned int numColors = BoundCount(layout.colorBinding, used, numPrims, first);
        colors.insert(colors.end(), set.getColors(),
                      set.getColors() + layout.colorComponents * numColors);
        if (kind != kPoints) {
            lengths.insert(lengths.end(), set.getPrimLengths(), set.getPrimLengths() + numPrims);
        }
        if (kind == kStrips) {
            const auto& strips = static_cast<const sglMonoIndexedTriangleStripSet&>(set);
            unsigned int needed = 0;
            for (unsigned int i = 0; i < numPrims; ++i) {
                needed += set.getPrimLengths()[i];
            }
            for (unsigned int i = 0; i < needed; ++i) {
                indices.push_back(strips.getIndices()[i] + vertices);
            }
        }
        prims += numPrims;
        vertices += used;
    }

    sglGeoSet* build() const {
        sglGeoSet* set = layout.kind == kStrips
                             ? static_cast<sglGeoSet*>(new sglMonoIndexedTriangleStripSet)
                         : layout.kind == kLines ? static_cast<sglGeoSet*>(new sglLineStripSet)
                                                 : static_cast<sglGeoSet*>(new sglPointSet);
        set->setNumPrims(prims);
        set->setCoordList(new sglArrayDataPtr<float>(coords), SGL_FLOAT, 3, 0, vertices);
        if (layout.normalBinding != SGL_BIND_OFF) {
            set->setNormalList(layout.normalBinding, new sglArrayDataPtr<float>(normals),
                               SGL_FLOAT);
        }
        if (layout.colorBinding != SGL_BIND_OFF) {
            set->setColorList(layout.colorBinding, new sglArrayDataPtr<float>(colors), SGL_FLOAT,
                              layout.colorComponents);
        }
        if (layout.kind != kPoints) {
            set->setPrimLengths(new sglArrayDataPtr<unsigned int>(lengths));
        }
        if (layout.kind == kStrips) {
            static_cast<sglMonoIndexedTriangleStripSet*>(set)->setIndexList(
                new sglArrayDataPtr<unsigned int>(indices));
        }
        set->setState(0, state);
        if (hasLevelRecord) {
            set->setUserData(new CTamUserDataGeoset(layout.level));
        }
        return set;
    }
};

}  // namespace

struct GeometryMerger::Look {
    LookKey key;
    std::map<LayoutKey, MergedDrawable> drawables;
    std::vector<LayoutKey> order;
    bool hasRecord = false;
    CTamUserData record;

    // The first source geode's record, with areas and volumes summed over all sources.
    void addRecord(const CTamUserData* source) {
        if (source == nullptr) {
            return;
        }
        if (!hasRecord) {
            record = *source;
            hasRecord = true;
            return;
        }
        auto sum = [](float total, float value) {
            return value < 0.0f ? total : (total < 0.0f ? value : total + value);
        };
        record.SetArea(sum(record.GetArea(), source->GetArea()));
        record.SetVolume(sum(record.GetVolume(), source->GetVolume()));
    }
};

GeometryMerger::GeometryMerger() = default;
GeometryMerger::~GeometryMerger() = default;

void GeometryMerger::AddGeode(const sglGeode& geode, const sglMat4<float>& placement,
                              unsigned int fallbackLevel) {
    std::vector<Look*> touched;
    for (unsigned int i = 0; i < geode.getNumGeometries(); ++i) {
        const sglGeoSet* source = geode.getGeometry(i);
        const int kind = KindOf(*source);
        if (kind < 0 || !source->isValid()) {
            continue;
        }
        LookKey key = LookOf(*source);
        auto found =
            std::find_if(m_looks.begin(), m_looks.end(),
                         [&](const std::unique_ptr<Look>& look) { return look->key == key; });
        if (found == m_looks.end()) {
            m_looks.push_back(std::make_unique<Look>());
            m_looks.back()->key = key;
            found = m_looks.end() - 1;
        }
        Look& look = **found;
        const LayoutKey layout{kind, LevelOf(*source, fallbackLevel), source->getNormalBinding(),
                               source->getColorBinding(), source->getColorComponents()};
        auto [entry, inserted] = look.drawables.try_emplace(layout);
        if (inserted) {
            entry->second.layout = layout;
            entry->second.state = source->getState(0);
            look.order.push_back(layout);
        }
        entry->second.hasLevelRecord |=
            fallbackLevel > 0 || dynamic_cast<const CTamUserDataGeoset*>(source->getUserData());
        sglGeoSet* placed = source->deepCopy();
        placed->ref();
        placed->transform(placement);
        entry->second.append(*placed);
        placed->unref();
        if (std::find(touched.begin(), touched.end(), &look) == touched.end()) {
            touched.push_back(&look);
        }
    }
    for (Look* look : touched) {
        look->addRecord(dynamic_cast<const CTamUserData*>(geode.getUserData()));
    }
}

std::vector<sglGeode*> GeometryMerger::BuildGeodes(const std::wstring& name,
                                                   bool& hasLevels) const {
    hasLevels = false;
    std::vector<sglGeode*> geodes;
    for (const std::unique_ptr<Look>& look : m_looks) {
        auto* geode = new sglGeode;
        geode->setName(name);
        if (look->hasRecord) {
            auto* record = new CTamUserData(look->record);
            record->SetGuid(CTamIO::CreateGuid(TAM_GUID_BRACES).str());
            geode->setUserData(record);
        }
        for (const LayoutKey& layout : look->order) {
            geode->addGeometry(look->drawables.at(layout).build());
            hasLevels = hasLevels || layout.level > 0;
        }
        geodes.push_back(geode);
    }
    return geodes;
}
