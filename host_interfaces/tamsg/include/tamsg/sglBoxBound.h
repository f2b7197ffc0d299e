// Axis-aligned bounding box with an empty state distinct from a zero box.
#pragma once

#include <tamsg/sglMat4.h>
#include <tamsg/sglVec3.h>

// A box is empty while any minimum coordinate exceeds the maximum one; a default-constructed box
// is empty. A box with min == max (for example the zero box) holds one point and is not empty.
class sglBoxBound {
public:
    // The empty box.
    sglBoxBound();
    // The box with the given corners (empty if min exceeds max in some coordinate).
    sglBoxBound(const sglVec3<float>& min, const sglVec3<float>& max);

    bool isEmpty() const;
    // Makes the box empty again.
    void setEmpty();

    // Corners; for an empty box they hold the empty markers (+max float, -max float).
    const sglVec3<float>& getMin() const { return m_min; }
    const sglVec3<float>& getMax() const { return m_max; }
    void setMin(const sglVec3<float>& min) { m_min = min; }
    void setMax(const sglVec3<float>& max) { m_max = max; }

    // Grows the box to hold the point; an empty box becomes that point.
    void expandToInclude(const sglVec3<float>& point);
    // Grows the box to hold the other box; an empty other box changes nothing.
    void expandToInclude(const sglBoxBound& other);

    // Center and size (max - min); the zero vector for an empty box.
    sglVec3<float> getCenter() const;
    sglVec3<float> getSize() const;
    // Length of the diagonal; 0 for an empty box.
    float getDiagonalLength() const;
    // True when the point lies inside or on the box; false for an empty box.
    bool contains(const sglVec3<float>& point) const;
    // The box holding the eight transformed corners (p x M); empty stays empty.
    sglBoxBound transformed(const sglMat4<float>& matrix) const;

    bool operator==(const sglBoxBound& other) const;
    bool operator!=(const sglBoxBound& other) const { return !(*this == other); }

private:
    sglVec3<float> m_min;
    sglVec3<float> m_max;
};
