// Group that places its children with a 4x4 matrix.
#pragma once

#include <tamsg/sglGroup.h>
#include <tamsg/sglMat4.h>

// A group whose children are placed by a matrix (row vectors: p' = p x M). The node keeps an
// identity flag, set when the matrix given is exactly the identity. Instantiated for float.
template <class T>
class sglTransform : public sglGroup {
public:
    // The identity placement.
    sglTransform() = default;

    // Copies the matrix and updates the identity flag.
    void setMatrix(const sglMat4<T>& matrix) {
        m_matrix = matrix;
        m_identity = matrix.isIdentity();
    }
    const sglMat4<T>& getMatrix() const { return m_matrix; }
    // True when the matrix is exactly the identity.
    bool isIdentity() const { return m_identity; }

    sglNode* clone(unsigned int mode) const override;
    void expandBound(sglBoxBound& box, const sglMat4<float>& toWorld) const override;

protected:
    const char* className() const override { return "sglTransform"; }

private:
    sglMat4<T> m_matrix;
    bool m_identity = true;
};

extern template class sglTransform<float>;
