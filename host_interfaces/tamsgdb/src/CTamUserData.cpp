// Inertia axes of the geode record.
#include <tamsgdb/CTamUserData.h>

void CTamUserData::SetInertiaAxes(const sglVec3<float> axes[3]) {
    if (axes == nullptr)
        return;
    for (unsigned int i = 0; i < 3; ++i)
        m_inertiaAxes[i] = axes[i];
}

sglVec3<float> CTamUserData::GetInertiaAxis(unsigned int index) const {
    return index < 3 ? m_inertiaAxes[index] : sglVec3<float>();
}
