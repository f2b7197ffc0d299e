// 4x4 matrix for row vectors: element (row, column) at index 4 * row + column.
#pragma once

#include <tamsg/sglVec3.h>

#include <cmath>
#include <utility>

// Points are row vectors multiplied from the left (p' = p x M); the translation is row 3.
// A default-constructed matrix is the identity.
template <class T>
class sglMat4 {
public:
    sglMat4() { makeIdentity(); }
    // From 16 values in index order (row by row).
    explicit sglMat4(const T values[16]) {
        for (int i = 0; i < 16; ++i)
            m_m[i] = values[i];
    }

    // Element by index 0..15, and by (row, column) each 0..3 (not checked).
    T& operator[](unsigned int i) { return m_m[i]; }
    const T& operator[](unsigned int i) const { return m_m[i]; }
    T& operator()(unsigned int row, unsigned int col) { return m_m[4 * row + col]; }
    const T& operator()(unsigned int row, unsigned int col) const { return m_m[4 * row + col]; }
    // Pointer to the 16 elements.
    T* getPtr() { return m_m; }
    const T* getPtr() const { return m_m; }

    void makeIdentity() {
        for (int i = 0; i < 16; ++i)
            m_m[i] = (i % 5 == 0) ? T(1) : T(0);
    }
    // True when every element equals the identity's exactly.
    bool isIdentity() const {
        for (int i = 0; i < 16; ++i) {
            if (m_m[i] != ((i % 5 == 0) ? T(1) : T(0)))
                return false;
        }
        return true;
    }
    // The identity with translation t in row 3.
    static sglMat4 translation(const sglVec3<T>& t) {
        sglMat4 m;
        m(3, 0) = t[0];
        m(3, 1) = t[1];
        m(3, 2) = t[2];
        return m;
    }
    sglVec3<T> getTranslation() const { return sglVec3<T>(m_m[12], m_m[13], m_m[14]); }

    // Product this x o: applying the result equals applying this first, then o.
    sglMat4 operator*(const sglMat4& o) const {
        sglMat4 r;
        for (int row = 0; row < 4; ++row) {
            for (int col = 0; col < 4; ++col) {
                T sum = T(0);
                for (int k = 0; k < 4; ++k)
                    sum += (*this)(row, k) * o(k, col);
                r(row, col) = sum;
            }
        }
        return r;
    }
    bool operator==(const sglMat4& o) const {
        for (int i = 0; i < 16; ++i) {
            if (m_m[i] != o.m_m[i])
                return false;
        }
        return true;
    }
    bool operator!=(const sglMat4& o) const { return !(*this == o); }

    // p x M for the point (x, y, z, 1), divided by w when w is neither 0 nor 1.
    sglVec3<T> transformPoint(const sglVec3<T>& p) const {
        T out[4];
        for (int col = 0; col < 4; ++col) {
            out[col] = p[0] * (*this)(0, col) + p[1] * (*this)(1, col) + p[2] * (*this)(2, col) +
                       (*this)(3, col);
        }
        if (out[3] != T(0) && out[3] != T(1)) {
            return sglVec3<T>(out[0] / out[3], out[1] / out[3], out[2] / out[3]);
        }
        return sglVec3<T>(out[0], out[1], out[2]);
    }
    // v x M for the direction (x, y, z, 0): rows 0..2 only, no translation.
    sglVec3<T> transformVector(const sglVec3<T>& v) const {
        return sglVec3<T>(v[0] * m_m[0] + v[1] * m_m[4] + v[2] * m_m[8],
                          v[0] * m_m[1] + v[1] * m_m[5] + v[2] * m_m[9],
                          v[0] * m_m[2] + v[1] * m_m[6] + v[2] * m_m[10]);
    }

    // Writes the inverse into result; false (result untouched) when the matrix is singular.
    bool invert(sglMat4& result) const;

private:
    T m_m[16];
};

template <class T>
bool sglMat4<T>::invert(sglMat4& result) const {
    // Gauss-Jordan elimination with partial pivoting, on a copy augmented by the identity.
    T a[4][8];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            a[r][c] = (*this)(r, c);
            a[r][c + 4] = (r == c) ? T(1) : T(0);
        }
    }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r) {
            if (std::abs(a[r][col]) > std::abs(a[pivot][col]))
                pivot = r;
        }
        if (a[pivot][col] == T(0))
            return false;
        for (int c = 0; c < 8; ++c)
            std::swap(a[col][c], a[pivot][c]);
        const T scale = a[col][col];
        for (int c = 0; c < 8; ++c)
            a[col][c] /= scale;
        for (int r = 0; r < 4; ++r) {
            if (r == col)
                continue;
            const T factor = a[r][col];
            for (int c = 0; c < 8; ++c)
                a[r][c] -= factor * a[col][c];
        }
    }
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            result(r, c) = a[r][c + 4];
    }
    return true;
}
