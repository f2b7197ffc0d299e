// Three-component vector (positions, normals, directions).
#pragma once

#include <cmath>

// A vector of three T laid out as three consecutive T (arrays of it are packed coordinate lists).
template <class T>
class sglVec3 {
public:
    // The zero vector.
    sglVec3() : m_v{T(0), T(0), T(0)} {}
    sglVec3(T x, T y, T z) : m_v{x, y, z} {}

    // Component access, i in 0..2 (not checked).
    T& operator[](unsigned int i) { return m_v[i]; }
    const T& operator[](unsigned int i) const { return m_v[i]; }
    T x() const { return m_v[0]; }
    T y() const { return m_v[1]; }
    T z() const { return m_v[2]; }
    void set(T x, T y, T z) {
        m_v[0] = x;
        m_v[1] = y;
        m_v[2] = z;
    }
    // Pointer to the three components.
    T* getPtr() { return m_v; }
    const T* getPtr() const { return m_v; }

    sglVec3 operator+(const sglVec3& o) const {
        return sglVec3(m_v[0] + o.m_v[0], m_v[1] + o.m_v[1], m_v[2] + o.m_v[2]);
    }
    sglVec3 operator-(const sglVec3& o) const {
        return sglVec3(m_v[0] - o.m_v[0], m_v[1] - o.m_v[1], m_v[2] - o.m_v[2]);
    }
    sglVec3 operator*(T s) const { return sglVec3(m_v[0] * s, m_v[1] * s, m_v[2] * s); }
    bool operator==(const sglVec3& o) const {
        return m_v[0] == o.m_v[0] && m_v[1] == o.m_v[1] && m_v[2] == o.m_v[2];
    }
    bool operator!=(const sglVec3& o) const { return !(*this == o); }

    // Dot and cross products, Euclidean length.
    T dot(const sglVec3& o) const {
        return m_v[0] * o.m_v[0] + m_v[1] * o.m_v[1] + m_v[2] * o.m_v[2];
    }
    sglVec3 cross(const sglVec3& o) const {
        return sglVec3(m_v[1] * o.m_v[2] - m_v[2] * o.m_v[1], m_v[2] * o.m_v[0] - m_v[0] * o.m_v[2],
                       m_v[0] * o.m_v[1] - m_v[1] * o.m_v[0]);
    }
    T length() const { return std::sqrt(dot(*this)); }

private:
    T m_v[3];
};

static_assert(sizeof(sglVec3<float>) == 3 * sizeof(float), "sglVec3<float> must be packed");
