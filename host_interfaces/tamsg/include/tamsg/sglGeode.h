// Leaf node holding drawables.
#pragma once

#include <tamsg/sglNode.h>

#include <vector>

class sglGeoSet;

// A leaf node that owns its drawables (one reference each, released when removed or destroyed).
class sglGeode : public sglNode {
public:
    sglGeode() = default;
    ~sglGeode() override;

    // Appends a drawable and takes a reference; null is ignored.
    void addGeometry(sglGeoSet* geometry);
    // Removes the first occurrence and releases it; false when absent.
    bool removeGeometry(sglGeoSet* geometry);
    // Removes and releases every drawable.
    void removeAllGeometries();

    unsigned int getNumGeometries() const { return static_cast<unsigned int>(m_geometries.size()); }
    // The drawable at index, or null when out of range.
    sglGeoSet* getGeometry(unsigned int index) const;

    // A new geode sharing this geode's drawables.
    sglNode* clone(unsigned int mode) const override;
    void expandBound(sglBoxBound& box, const sglMat4<float>& toWorld) const override;

protected:
    const char* className() const override { return "sglGeode"; }

private:
    std::vector<sglGeoSet*> m_geometries;
};
