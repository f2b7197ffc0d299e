// Drawable ownership of geodes.
#include <tamsg/sglGeoSet.h>
#include <tamsg/sglGeode.h>

#include <algorithm>

sglGeode::~sglGeode() {
    removeAllGeometries();
}

void sglGeode::addGeometry(sglGeoSet* geometry) {
    if (geometry == nullptr)
        return;
    geometry->ref();
    m_geometries.push_back(geometry);
}

bool sglGeode::removeGeometry(sglGeoSet* geometry) {
    auto it = std::find(m_geometries.begin(), m_geometries.end(), geometry);
    if (it == m_geometries.end())
        return false;
    m_geometries.erase(it);
    geometry->unref();
    return true;
}

void sglGeode::removeAllGeometries() {
    std::vector<sglGeoSet*> geometries;
    geometries.swap(m_geometries);
    for (sglGeoSet* geometry : geometries)
        geometry->unref();
}

sglGeoSet* sglGeode::getGeometry(unsigned int index) const {
    return index < m_geometries.size() ? m_geometries[index] : nullptr;
}

sglNode* sglGeode::clone(unsigned int mode) const {
    auto* geode = new sglGeode;
    copyAttributesTo(*geode, mode);
    for (sglGeoSet* geometry : m_geometries)
        geode->addGeometry(geometry);
    return geode;
}

void sglGeode::expandBound(sglBoxBound& box, const sglMat4<float>& toWorld) const {
    for (const sglGeoSet* geometry : m_geometries)
        geometry->expandBound(box, toWorld);
}
