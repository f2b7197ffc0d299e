// Geode bookkeeping that every entity kind shares: the entity-to-geode record of a walk, the
// strips of a coarser pass hung onto the pass-0 geode, and one face's strips placed as a geode.
#include "TamCADLoader.h"

#include <orik/orik.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>

void CTamCADLoader::RecordGeode(ENTITY* entity, sglGeode* geode) {
    m_mapEntityGeodes[entity].push_back(geode);
}

void CTamCADLoader::AddStripsToFirstGeode(ENTITY* entity, sglGeoSet* strips) const {
    const auto found = m_mapEntityGeodes.find(entity);
    if (found != m_mapEntityGeodes.end() && !found->second.empty()) {
        found->second.front()->addGeometry(strips);
        return;
    }
    // No geode of pass 0 to receive the coarser strips: they are dropped.
    strips->ref();
    strips->unref();
}

sglGeode* CTamCADLoader::AddFaceStrips(FACE* face, sglMonoIndexedTriangleStripSet* strips,
                                       sglGeode* geode, sglGroup* parent, sglMat4<float>* matrix,
                                       unsigned int lod) {
    if (geode == nullptr && lod > 0) {
        AddStripsToFirstGeode(face, strips);
        return nullptr;
    }
    if (geode == nullptr) {
        geode = new sglGeode;
        AddGeodeToGroup(parent, geode, matrix, true);
    }
    geode->addGeometry(strips);
    RecordGeode(face, geode);
    return geode;
}
