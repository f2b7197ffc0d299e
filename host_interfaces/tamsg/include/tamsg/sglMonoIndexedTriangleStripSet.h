// Indexed triangle strips: one index list shared by positions, normals and colors.
#pragma once

#include <tamsg/sglGeoSet.h>

#include <vector>

// Triangle strips over indexed vertices. The index list is the concatenation of all strips,
// strip k using the next primLengths[k] indices. Strip (v0, v1, v2, v3, ...) stands for the
// triangles (v0, v1, v2), (v2, v1, v3), (v2, v3, v4), ... (alternating winding).
// Without a coordinate count the number of positions is the largest index + 1.
class sglMonoIndexedTriangleStripSet : public sglGeoSet {
public:
    sglMonoIndexedTriangleStripSet() = default;
    ~sglMonoIndexedTriangleStripSet() override;

    // Indices (unsigned int each), owned from now on; count 0 means the sum of the strip lengths.
    bool setIndexList(sglDataPtr* data, unsigned int stride = 0, unsigned int count = 0);
    // The index array (null when absent), its length, and the holder (still owned).
    const unsigned int* getIndices() const;
    unsigned int getNumIndices() const;
    sglDataPtr* getIndexDataPtr() const { return m_indices.data; }

    // Number of triangles the strips stand for (a strip of n indices gives n - 2).
    unsigned int getNumTriangles() const;
    // Three vertex indices per triangle, in strip order with the alternating winding; with
    // skipDegenerate, triangles repeating an index are left out. Empty when the set is invalid.
    std::vector<unsigned int> getTriangles(bool skipDegenerate = false) const;
    // The same expansion on raw arrays; lengths beyond the index array are cut short.
    static std::vector<unsigned int> stripsToTriangles(const unsigned int* lengths,
                                                       unsigned int numStrips,
                                                       const unsigned int* indices,
                                                       unsigned int numIndices,
                                                       bool skipDegenerate = false);

    bool isValid() const override;
    sglGeoSet* deepCopy() const override;

protected:
    const char* className() const override { return "sglMonoIndexedTriangleStripSet"; }
    unsigned int derivedCoordCount() const override;

private:
    DataList m_indices;
};
