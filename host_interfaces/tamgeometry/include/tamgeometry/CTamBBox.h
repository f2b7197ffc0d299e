// Axis-aligned box used by the geometry tools for clipping.
#pragma once

#include <tamsg/sglBoxBound.h>
#include <tamsg/sglVec3.h>

// An axis-aligned box; empty while any minimum coordinate exceeds the maximum one
// (a default-constructed box is empty).
class CTamBBox {
public:
    // The empty box.
    CTamBBox() = default;
    // The box with these corners (empty when min exceeds max somewhere).
    CTamBBox(const sglVec3<float>& min, const sglVec3<float>& max) : m_bound(min, max) {}
    // The same box as a scene-graph bound (empty stays empty).
    explicit CTamBBox(const sglBoxBound& bound) : m_bound(bound) {}

    // Emptiness, corners (empty markers for an empty box) and the box as a scene-graph bound.
    bool isEmpty() const { return m_bound.isEmpty(); }
    const sglVec3<float>& getMin() const { return m_bound.getMin(); }
    const sglVec3<float>& getMax() const { return m_bound.getMax(); }
    const sglBoxBound& getBound() const { return m_bound; }

    // Length of the diagonal; 0 for an empty box.
    float getDiagonalLength() const { return m_bound.getDiagonalLength(); }

    // True when the point lies inside the box grown by `tolerance` on every side; always
    // false for an empty box.
    bool contains(const sglVec3<float>& point, float tolerance = 0.0f) const;

private:
    sglBoxBound m_bound;
};
