// Four-component vector (colors with alpha, homogeneous points).
#pragma once

// A vector of four T laid out as four consecutive T (arrays of it are packed color lists).
template <class T>
class sglVec4 {
public:
    // The zero vector.
    sglVec4() : m_v{T(0), T(0), T(0), T(0)} {}
    sglVec4(T x, T y, T z, T w) : m_v{x, y, z, w} {}

    // Component access, i in 0..3 (not checked).
    T& operator[](unsigned int i) { return m_v[i]; }
    const T& operator[](unsigned int i) const { return m_v[i]; }
    void set(T x, T y, T z, T w) {
        m_v[0] = x;
        m_v[1] = y;
        m_v[2] = z;
        m_v[3] = w;
    }
    // Pointer to the four components.
    T* getPtr() { return m_v; }
    const T* getPtr() const { return m_v; }

    bool operator==(const sglVec4& o) const {
        return m_v[0] == o.m_v[0] && m_v[1] == o.m_v[1] && m_v[2] == o.m_v[2] && m_v[3] == o.m_v[3];
    }
    bool operator!=(const sglVec4& o) const { return !(*this == o); }

private:
    T m_v[4];
};

static_assert(sizeof(sglVec4<float>) == 4 * sizeof(float), "sglVec4<float> must be packed");
