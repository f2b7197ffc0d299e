// Placement of a transform's children and its clones.
#include <tamsg/sglTransform.h>

template <class T>
sglNode* sglTransform<T>::clone(unsigned int mode) const {
    auto* transform = new sglTransform<T>;
    transform->setMatrix(m_matrix);
    cloneInto(*transform, mode);
    return transform;
}

template <class T>
void sglTransform<T>::expandBound(sglBoxBound& box, const sglMat4<float>& toWorld) const {
    sglMat4<float> local;
    for (unsigned int i = 0; i < 16; ++i)
        local[i] = static_cast<float>(m_matrix[i]);
    // Row vectors: a child point goes through this matrix first, then through the outer ones.
    sglGroup::expandBound(box, local * toWorld);
}

template class sglTransform<float>;
