#include <tamgeometry/CTamBBox.h>

bool CTamBBox::contains(const sglVec3<float>& point, float tolerance) const {
    if (isEmpty()) {
        return false;
    }
    for (unsigned int axis = 0; axis < 3; ++axis) {
        if (!(point[axis] >= getMin()[axis] - tolerance &&
              point[axis] <= getMax()[axis] + tolerance)) {
            return false;  // written so that a NaN coordinate counts as outside
        }
    }
    return true;
}
