// Distance ranges of level-of-detail groups.
#include <tamsg/sglLOD.h>

#include <cfloat>

void sglLOD::setRange(unsigned int index, float minDistance, float maxDistance) {
    if (index >= m_ranges.size())
        m_ranges.resize(index + 1, Range{0.0f, FLT_MAX, false});
    m_ranges[index] = Range{minDistance, maxDistance, true};
}

bool sglLOD::getRange(unsigned int index, float& minDistance, float& maxDistance) const {
    if (index >= m_ranges.size() || !m_ranges[index].set)
        return false;
    minDistance = m_ranges[index].min;
    maxDistance = m_ranges[index].max;
    return true;
}

sglNode* sglLOD::clone(unsigned int mode) const {
    auto* lod = new sglLOD;
    lod->m_ranges = m_ranges;
    cloneInto(*lod, mode);
    return lod;
}
