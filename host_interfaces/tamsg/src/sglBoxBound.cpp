// Empty-aware box arithmetic.
#include <tamsg/sglBoxBound.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

bool IsFinite(const sglVec3<float>& p) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

}  // namespace

sglBoxBound::sglBoxBound() {
    setEmpty();
}

sglBoxBound::sglBoxBound(const sglVec3<float>& min, const sglVec3<float>& max)
    : m_min(min), m_max(max) {}

bool sglBoxBound::isEmpty() const {
    return m_min[0] > m_max[0] || m_min[1] > m_max[1] || m_min[2] > m_max[2];
}

void sglBoxBound::setEmpty() {
    m_min.set(FLT_MAX, FLT_MAX, FLT_MAX);
    m_max.set(-FLT_MAX, -FLT_MAX, -FLT_MAX);
}

void sglBoxBound::expandToInclude(const sglVec3<float>& point) {
    // A point with NaN or infinite coordinates would poison the box; it is left out.
    if (!IsFinite(point))
        return;
    if (isEmpty()) {
        m_min = point;
        m_max = point;
        return;
    }
    for (unsigned int i = 0; i < 3; ++i) {
        m_min[i] = std::min(m_min[i], point[i]);
        m_max[i] = std::max(m_max[i], point[i]);
    }
}

void sglBoxBound::expandToInclude(const sglBoxBound& other) {
    if (other.isEmpty())
        return;
    expandToInclude(other.m_min);
    expandToInclude(other.m_max);
}

sglVec3<float> sglBoxBound::getCenter() const {
    if (isEmpty())
        return sglVec3<float>();
    return (m_min + m_max) * 0.5f;
}

sglVec3<float> sglBoxBound::getSize() const {
    if (isEmpty())
        return sglVec3<float>();
    return m_max - m_min;
}

float sglBoxBound::getDiagonalLength() const {
    return getSize().length();
}

bool sglBoxBound::contains(const sglVec3<float>& point) const {
    if (isEmpty())
        return false;
    for (unsigned int i = 0; i < 3; ++i) {
        if (point[i] < m_min[i] || point[i] > m_max[i])
            return false;
    }
    return true;
}

sglBoxBound sglBoxBound::transformed(const sglMat4<float>& matrix) const {
    sglBoxBound result;
    if (isEmpty())
        return result;
    for (unsigned int corner = 0; corner < 8; ++corner) {
        const sglVec3<float> p((corner & 1) ? m_max[0] : m_min[0],
                               (corner & 2) ? m_max[1] : m_min[1],
                               (corner & 4) ? m_max[2] : m_min[2]);
        result.expandToInclude(matrix.transformPoint(p));
    }
    return result;
}

bool sglBoxBound::operator==(const sglBoxBound& other) const {
    if (isEmpty() || other.isEmpty())
        return isEmpty() == other.isEmpty();
    return m_min == other.m_min && m_max == other.m_max;
}
