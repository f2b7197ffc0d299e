// Index list, validation and strip expansion of indexed triangle strips.
#include <tamsg/sglMonoIndexedTriangleStripSet.h>

#include <algorithm>

namespace {

// Sum of the strip lengths, clamped so that it always fits an unsigned int.
unsigned int SumLengths(const unsigned int* lengths, unsigned int count) {
    unsigned long long sum = 0;
    for (unsigned int i = 0; i < count; ++i)
        sum += lengths[i];
    return static_cast<unsigned int>(std::min<unsigned long long>(sum, ~0u));
}

}  // namespace

sglMonoIndexedTriangleStripSet::~sglMonoIndexedTriangleStripSet() {
    clearList(m_indices);
}

bool sglMonoIndexedTriangleStripSet::setIndexList(sglDataPtr* data, unsigned int stride,
                                                  unsigned int count) {
    return assignList(m_indices, data, true, 1, stride, count);
}

const unsigned int* sglMonoIndexedTriangleStripSet::getIndices() const {
    return static_cast<const unsigned int*>(listData(m_indices));
}

unsigned int sglMonoIndexedTriangleStripSet::getNumIndices() const {
    if (listData(m_indices) == nullptr)
        return 0;
    if (m_indices.count)
        return m_indices.count;
    return getPrimLengths() ? SumLengths(getPrimLengths(), getReadablePrimLengths()) : 0;
}

unsigned int sglMonoIndexedTriangleStripSet::getNumTriangles() const {
    const unsigned int* lengths = getPrimLengths();
    unsigned int triangles = 0;
    for (unsigned int i = 0, n = std::min(getNumPrims(), getReadablePrimLengths()); i < n; ++i) {
        if (lengths[i] > 2)
            triangles += lengths[i] - 2;
    }
    return triangles;
}

std::vector<unsigned int> sglMonoIndexedTriangleStripSet::getTriangles(bool skipDegenerate) const {
    if (!isValid())
        return {};
    return stripsToTriangles(getPrimLengths(), std::min(getNumPrims(), getNumPrimLengths()),
                             getIndices(), getNumIndices(), skipDegenerate);
}

std::vector<unsigned int> sglMonoIndexedTriangleStripSet::stripsToTriangles(
    const unsigned int* lengths, unsigned int numStrips, const unsigned int* indices,
    unsigned int numIndices, bool skipDegenerate) {
    std::vector<unsigned int> triangles;
    if (lengths == nullptr || indices == nullptr)
        return triangles;
    size_t offset = 0;
    for (unsigned int strip = 0; strip < numStrips && offset < numIndices; ++strip) {
        const size_t length = std::min<size_t>(lengths[strip], numIndices - offset);
        const unsigned int* s = indices + offset;
        for (size_t j = 0; j + 2 < length; ++j) {
            // Odd triangles swap their first two corners to keep one winding along the strip.
            const unsigned int a = (j % 2) ? s[j + 1] : s[j];
            const unsigned int b = (j % 2) ? s[j] : s[j + 1];
            const unsigned int c = s[j + 2];
            if (skipDegenerate && (a == b || b == c || a == c))
                continue;
            triangles.insert(triangles.end(), {a, b, c});
        }
        offset += length;
    }
    return triangles;
}

bool sglMonoIndexedTriangleStripSet::isValid() const {
    if (getNumPrims() == 0)
        return true;
    // Checked in reading order: lengths before they are summed, indices before they are scanned.
    if (getPrimLengths() == nullptr || getNumPrimLengths() < getNumPrims() ||
        getReadablePrimLengths() < getNumPrimLengths()) {
        return false;
    }
    const unsigned int needed = SumLengths(getPrimLengths(), getNumPrims());
    if (getIndices() == nullptr || getNumIndices() < needed ||
        !listHolds(m_indices, getNumIndices())) {
        return false;
    }
    const unsigned int coords = getNumCoords();
    const unsigned int* indices = getIndices();
    for (unsigned int i = 0; i < needed; ++i) {
        if (indices[i] >= coords)
            return false;
    }
    return sglGeoSet::isValid();
}

sglGeoSet* sglMonoIndexedTriangleStripSet::deepCopy() const {
    auto* copy = new sglMonoIndexedTriangleStripSet;
    const unsigned int count = readableCount(m_indices, getNumIndices());
    if (getIndices() && count) {
        copy->setIndexList(new sglArrayDataPtr<unsigned int>(
                               std::vector<unsigned int>(getIndices(), getIndices() + count)),
                           0, m_indices.count);
    }
    // Indices first: the copied coordinate count may be derived from them.
    copyBaseInto(*copy);
    return copy;
}

unsigned int sglMonoIndexedTriangleStripSet::derivedCoordCount() const {
    const unsigned int* indices = getIndices();
    unsigned int count = 0;
    for (unsigned int i = 0, n = readableCount(m_indices, getNumIndices()); i < n; ++i) {
        count = std::max(count, indices[i] + 1);
    }
    return count;
}
