// Group that shows one of its children depending on the viewing distance.
#pragma once

#include <tamsg/sglGroup.h>

#include <vector>

// A level-of-detail group: child i is shown while the viewing distance lies in its range
// [min, max). Child 0 is the finest level. A child without a range set has [0, max float).
class sglLOD : public sglGroup {
public:
    sglLOD() = default;

    // Sets the range of child index (the range list grows as needed).
    void setRange(unsigned int index, float minDistance, float maxDistance);
    // The range of child index; false (outputs untouched) when none was set.
    bool getRange(unsigned int index, float& minDistance, float& maxDistance) const;
    unsigned int getNumRanges() const { return static_cast<unsigned int>(m_ranges.size()); }

    sglNode* clone(unsigned int mode) const override;

protected:
    const char* className() const override { return "sglLOD"; }

private:
    struct Range {
        float min;
        float max;
        bool set;
    };
    std::vector<Range> m_ranges;
};
