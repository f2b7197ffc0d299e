// Lists, drawing state, bounds and transforms shared by every drawable.
#include <tamsg/sglGeoSet.h>
#include <tamsg/sglStatelet.h>
#include <tamsg/sglUserData.h>

#include <algorithm>
#include <cmath>

namespace {

const std::vector<sglStatelet*> kNoState;

// A packed copy of count elements of components values each, or null when there is nothing.
template <class T>
sglDataPtr* CopyBlock(const void* data, unsigned int count, unsigned int components) {
    if (data == nullptr || count == 0)
        return nullptr;
    const T* values = static_cast<const T*>(data);
    return new sglArrayDataPtr<T>(
        std::vector<T>(values, values + static_cast<size_t>(count) * components));
}

}  // namespace

sglGeoSet::~sglGeoSet() {
    clearList(m_coords);
    clearList(m_normals);
    clearList(m_colors);
    clearList(m_primLengths);
    for (auto& slot : m_states) {
        for (sglStatelet* statelet : slot)
            statelet->unref();
    }
}

bool sglGeoSet::setCoordList(sglDataPtr* data, unsigned int dataType, unsigned int components,
                             unsigned int stride, unsigned int count) {
    const bool valid = dataType == SGL_FLOAT && components >= 2 && components <= 4;
    return assignList(m_coords, data, valid, components, stride, count);
}

bool sglGeoSet::setNormalList(unsigned int binding, sglDataPtr* data, unsigned int dataType,
                              unsigned int stride, unsigned int count) {
    const bool valid = dataType == SGL_FLOAT && binding <= SGL_BIND_PER_VERTEX;
    m_normalBinding = valid && data ? binding : SGL_BIND_OFF;
    return assignList(m_normals, data, valid, 3, stride, count);
}

bool sglGeoSet::setColorList(unsigned int binding, sglDataPtr* data, unsigned int dataType,
                             unsigned int components, unsigned int stride, unsigned int count) {
    const bool valid = dataType == SGL_FLOAT && binding <= SGL_BIND_PER_VERTEX &&
                       (components == 3 || components == 4);
    m_colorBinding = valid && data ? binding : SGL_BIND_OFF;
    return assignList(m_colors, data, valid, components, stride, count);
}

bool sglGeoSet::setPrimLengths(sglDataPtr* data, unsigned int stride, unsigned int count) {
    return assignList(m_primLengths, data, true, 1, stride, count);
}

const float* sglGeoSet::getCoords() const {
    return static_cast<const float*>(listData(m_coords));
}

unsigned int sglGeoSet::getNumCoords() const {
    if (listData(m_coords) == nullptr)
        return 0;
    return m_coords.count ? m_coords.count : derivedCoordCount();
}

sglVec3<float> sglGeoSet::getCoord(unsigned int index) const {
    sglVec3<float> p;
    if (index >= readableCount(m_coords, getNumCoords()))
        return p;
    const float* v = getCoords() + static_cast<size_t>(index) * m_coords.components;
    for (unsigned int i = 0; i < 3 && i < m_coords.components; ++i)
        p[i] = v[i];
    return p;
}

const float* sglGeoSet::getNormals() const {
    return static_cast<const float*>(listData(m_normals));
}

unsigned int sglGeoSet::getNumNormals() const {
    if (listData(m_normals) == nullptr)
        return 0;
    return countForBinding(m_normalBinding, m_normals.count);
}

const float* sglGeoSet::getColors() const {
    return static_cast<const float*>(listData(m_colors));
}

unsigned int sglGeoSet::getNumColors() const {
    if (listData(m_colors) == nullptr)
        return 0;
    return countForBinding(m_colorBinding, m_colors.count);
}

sglVec4<float> sglGeoSet::getColor(unsigned int index) const {
    sglVec4<float> color(1.0f, 1.0f, 1.0f, 1.0f);
    if (index >= readableCount(m_colors, getNumColors()))
        return color;
    const float* v = getColors() + static_cast<size_t>(index) * m_colors.components;
    for (unsigned int i = 0; i < m_colors.components; ++i)
        color[i] = v[i];
    return color;
}

const unsigned int* sglGeoSet::getPrimLengths() const {
    return static_cast<const unsigned int*>(listData(m_primLengths));
}

unsigned int sglGeoSet::getNumPrimLengths() const {
    if (listData(m_primLengths) == nullptr)
        return 0;
    return m_primLengths.count ? m_primLengths.count : m_numPrims;
}

void sglGeoSet::setState(unsigned int index, const std::vector<sglStatelet*>& statelets) {
    if (index >= m_states.size())
        m_states.resize(index + 1);
    std::vector<sglStatelet*> kept;
    for (sglStatelet* statelet : statelets) {
        if (statelet == nullptr)
            continue;
        statelet->ref();
        kept.push_back(statelet);
    }
    // The new statelets are referenced before the old ones are released: a statelet present
    // in both lists survives.
    for (sglStatelet* statelet : m_states[index])
        statelet->unref();
    m_states[index] = std::move(kept);
}

const std::vector<sglStatelet*>& sglGeoSet::getState(unsigned int index) const {
    return index < m_states.size() ? m_states[index] : kNoState;
}

bool sglGeoSet::isValid() const {
    const unsigned int coords = getNumCoords();
    if (!listHolds(m_coords, coords) || !listHolds(m_normals, getNumNormals()) ||
        !listHolds(m_colors, getNumColors()) || !listHolds(m_primLengths, getNumPrimLengths())) {
        return false;
    }
    if (m_numPrims > 0 && coords == 0)
        return false;
    if (m_normalBinding != SGL_BIND_OFF && getNumNormals() < countForBinding(m_normalBinding, 0)) {
        return false;
    }
    if (m_colorBinding != SGL_BIND_OFF && getNumColors() < countForBinding(m_colorBinding, 0)) {
        return false;
    }
    return coords >= derivedCoordCount() || m_coords.count == 0;
}

sglBoxBound sglGeoSet::getBound() const {
    sglBoxBound box;
    expandBound(box, sglMat4<float>());
    return box;
}

void sglGeoSet::expandBound(sglBoxBound& box, const sglMat4<float>& matrix) const {
    const float* coords = getCoords();
    const unsigned int components = m_coords.components;
    const unsigned int count = readableCount(m_coords, getNumCoords());
    const bool identity = matrix.isIdentity();
    for (unsigned int i = 0; i < count; ++i) {
        const float* v = coords + static_cast<size_t>(i) * components;
        const sglVec3<float> p(v[0], v[1], components > 2 ? v[2] : 0.0f);
        box.expandToInclude(identity ? p : matrix.transformPoint(p));
    }
}

void sglGeoSet::transform(const sglMat4<float>& matrix) {
    float* coords = static_cast<float*>(const_cast<void*>(listData(m_coords)));
    const unsigned int components = m_coords.components;
    for (unsigned int i = 0, n = readableCount(m_coords, getNumCoords()); i < n; ++i) {
        float* v = coords + static_cast<size_t>(i) * components;
        const sglVec3<float> p =
            matrix.transformPoint(sglVec3<float>(v[0], v[1], components > 2 ? v[2] : 0.0f));
        for (unsigned int c = 0; c < 3 && c < components; ++c)
            v[c] = p[c];
    }
    // Normals follow the inverse transpose so they stay perpendicular to sheared surfaces.
    sglMat4<float> inverse;
    if (!matrix.invert(inverse))
        inverse = matrix;
    sglMat4<float> normalMatrix;
    for (unsigned int r = 0; r < 3; ++r) {
        for (unsigned int c = 0; c < 3; ++c)
            normalMatrix(r, c) = inverse(c, r);
    }
    float* normals = static_cast<float*>(const_cast<void*>(listData(m_normals)));
    for (unsigned int i = 0, n = readableCount(m_normals, getNumNormals()); i < n; ++i) {
        float* v = normals + static_cast<size_t>(i) * 3;
        sglVec3<float> q = normalMatrix.transformVector(sglVec3<float>(v[0], v[1], v[2]));
        const float length = q.length();
        if (length > 0.0f && std::isfinite(length))
            q = q * (1.0f / length);
        v[0] = q[0];
        v[1] = q[1];
        v[2] = q[2];
    }
}

void sglGeoSet::copyBaseInto(sglGeoSet& target) const {
    const unsigned int coords = readableCount(m_coords, getNumCoords());
    const unsigned int normals = readableCount(m_normals, getNumNormals());
    const unsigned int colors = readableCount(m_colors, getNumColors());
    target.setNumPrims(m_numPrims);
    target.setCoordList(CopyBlock<float>(listData(m_coords), coords, m_coords.components),
                        SGL_FLOAT, m_coords.components, 0, m_coords.count);
    target.setNormalList(m_normalBinding, CopyBlock<float>(listData(m_normals), normals, 3),
                         SGL_FLOAT, 0, m_normals.count);
    target.setColorList(m_colorBinding,
                        CopyBlock<float>(listData(m_colors), colors, m_colors.components),
                        SGL_FLOAT, m_colors.components, 0, m_colors.count);
    target.setPrimLengths(
        CopyBlock<unsigned int>(listData(m_primLengths), getReadablePrimLengths(), 1), 0,
        m_primLengths.count);
    for (unsigned int i = 0; i < m_states.size(); ++i)
        target.setState(i, m_states[i]);
    target.setName(getName());
    target.setUserData(getUserData() ? getUserData()->clone() : nullptr);
}

bool sglGeoSet::assignList(DataList& list, sglDataPtr* data, bool valid, unsigned int components,
                           unsigned int stride, unsigned int count) {
    if (data != list.data)
        clearList(list);
    list = DataList();
    if (data == nullptr)
        return true;
    if (!valid || (stride != 0 && stride != components * 4u)) {
        data->unref();
        return false;
    }
    list.data = data;
    list.components = components;
    list.count = count;
    return true;
}

void sglGeoSet::clearList(DataList& list) {
    if (list.data)
        list.data->unref();
    list = DataList();
}

bool sglGeoSet::listHolds(const DataList& list, unsigned int count) {
    if (list.data == nullptr || list.data->getSizeInBytes() == 0)
        return true;
    return list.data->getSizeInBytes() >= static_cast<size_t>(count) * list.components * 4u;
}

unsigned int sglGeoSet::readableCount(const DataList& list, unsigned int count) {
    if (list.data == nullptr || list.data->getSizeInBytes() == 0)
        return count;
    const size_t fits = list.data->getSizeInBytes() / (list.components * 4u);
    return static_cast<unsigned int>(std::min<size_t>(count, fits));
}

const void* sglGeoSet::listData(const DataList& list) {
    return list.data ? list.data->getData() : nullptr;
}

unsigned int sglGeoSet::countForBinding(unsigned int binding, unsigned int given) const {
    if (given)
        return given;
    switch (binding) {
        case SGL_BIND_OVERALL:
            return 1;
        case SGL_BIND_PER_PRIM:
            return m_numPrims;
        case SGL_BIND_PER_VERTEX:
            return getNumCoords();
        default:
            return 0;
    }
}
