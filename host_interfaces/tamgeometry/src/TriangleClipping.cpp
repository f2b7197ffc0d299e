// Removing the triangles of a strip set that leave a box.
#include <tamgeometry/CTamBBox.h>
#include <tamgeometry/CTamGeomTools.h>

#include <tamsg/sglConstants.h>
#include <tamsg/sglDataPtr.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsg/sglUserData.h>

#include <algorithm>
#include <vector>

namespace {

// The strips that remain, as runs of the source strips, with the source strip of each.
struct ClippedStrips {
    std::vector<unsigned int> indices;
    std::vector<unsigned int> lengths;
    std::vector<unsigned int> sourceStrip;
    bool removedAny = false;

    void add(const unsigned int* first, unsigned int count, unsigned int source) {
        indices.insert(indices.end(), first, first + count);
        lengths.push_back(count);
        sourceStrip.push_back(source);
    }
};

class VertexTest {
public:
    VertexTest(const sglMonoIndexedTriangleStripSet& set, const CTamBBox& box)
        : m_set(set),
          m_box(box),
          m_tolerance(box.getDiagonalLength() * 1.0e-3f),
          m_state(set.getNumCoords(), kUnknown) {}

    bool inside(unsigned int vertex) {
        if (vertex >= m_state.size()) {
            return false;
        }
        if (m_state[vertex] == kUnknown) {
            m_state[vertex] = m_box.contains(m_set.getCoord(vertex), m_tolerance) ? kIn : kOut;
        }
        return m_state[vertex] == kIn;
    }

private:
    enum : unsigned char { kUnknown, kIn, kOut };
    const sglMonoIndexedTriangleStripSet& m_set;
    const CTamBBox& m_box;
    float m_tolerance;
    std::vector<unsigned char> m_state;
};

// Splits one strip into runs of kept triangles. A run may only start on an even triangle
// (odd ones have the reversed winding), so a run starting on an odd triangle first emits that
// triangle alone, in its proper orientation.
void ClipStrip(const unsigned int* strip, unsigned int length, unsigned int source,
               VertexTest& test, ClippedStrips& result) {
    if (length < 3) {
        return;
    }
    const unsigned int triangles = length - 2;
    std::vector<bool> keep(triangles);
    for (unsigned int t = 0; t < triangles; ++t) {
        keep[t] = test.inside(strip[t]) && test.inside(strip[t + 1]) && test.inside(strip[t + 2]);
        result.removedAny = result.removedAny || !keep[t];
    }
    unsigned int t = 0;
    while (t < triangles) {
        if (!keep[t]) {
            ++t;
        } else if (t % 2 == 1) {
            const unsigned int single[3] = {strip[t + 1], strip[t], strip[t + 2]};
            result.add(single, 3, source);
            ++t;
        } else {
            unsigned int end = t;
            while (end < triangles && keep[end]) {
                ++end;
            }
            result.add(strip + t, end - t + 2, source);
            t = end;
        }
    }
}

ClippedStrips ClipStrips(const sglMonoIndexedTriangleStripSet& set, const CTamBBox& box) {
    ClippedStrips result;
    VertexTest test(set, box);
    const unsigned int* indices = set.getIndices();
    const unsigned int* lengths = set.getPrimLengths();
    const unsigned int numIndices = set.getNumIndices();
    const unsigned int numStrips = std::min(set.getNumPrims(), set.getNumPrimLengths());
    unsigned int offset = 0;
    for (unsigned int k = 0; k < numStrips && offset < numIndices; ++k) {
        const unsigned int length = std::min(lengths[k], numIndices - offset);
        ClipStrip(indices + offset, length, k, test, result);
        offset += length;
    }
    return result;
}

// Copies the per-element values of `source` picked by `picks` (components floats each).
std::vector<float> Pick(const float* source, unsigned int components,
                        const std::vector<unsigned int>& picks) {
    std::vector<float> values;
    values.reserve(picks.size() * components);
    for (unsigned int pick : picks) {
        values.insert(values.end(), source + static_cast<size_t>(pick) * components,
                      source + static_cast<size_t>(pick + 1) * components);
    }
    return values;
}

// Which source elements a bound list keeps: one per kept vertex, per kept strip, or the one.
const std::vector<unsigned int>& PicksFor(unsigned int binding,
                                          const std::vector<unsigned int>& vertices,
                                          const std::vector<unsigned int>& strips,
                                          const std::vector<unsigned int>& overall) {
    if (binding == SGL_BIND_PER_VERTEX) {
        return vertices;
    }
    return binding == SGL_BIND_PER_PRIM ? strips : overall;
}

sglMonoIndexedTriangleStripSet* BuildClippedSet(const sglMonoIndexedTriangleStripSet& set,
                                                ClippedStrips& clipped) {
    // Renumber the vertices still used, in order of first use.
    std::vector<unsigned int> newIndex(set.getNumCoords(), ~0u);
    std::vector<unsigned int> keptVertices;
    for (unsigned int& index : clipped.indices) {
        if (newIndex[index] == ~0u) {
            newIndex[index] = static_cast<unsigned int>(keptVertices.size());
            keptVertices.push_back(index);
        }
        index = newIndex[index];
    }
    const std::vector<unsigned int> overall{0};
    auto* out = new sglMonoIndexedTriangleStripSet;
    out->setNumPrims(static_cast<unsigned int>(clipped.lengths.size()));
    const unsigned int components = set.getCoordComponents();
    out->setCoordList(new sglArrayDataPtr<float>(Pick(set.getCoords(), components, keptVertices)),
                      SGL_FLOAT, components);
    if (set.getNormals() != nullptr) {
        const auto& picks =
            PicksFor(set.getNormalBinding(), keptVertices, clipped.sourceStrip, overall);
        out->setNormalList(set.getNormalBinding(),
                           new sglArrayDataPtr<float>(Pick(set.getNormals(), 3, picks)), SGL_FLOAT);
    }
    if (set.getColors() != nullptr) {
        const auto& picks =
            PicksFor(set.getColorBinding(), keptVertices, clipped.sourceStrip, overall);
        out->setColorList(
            set.getColorBinding(),
            new sglArrayDataPtr<float>(Pick(set.getColors(), set.getColorComponents(), picks)),
            SGL_FLOAT, set.getColorComponents());
    }
    out->setIndexList(new sglArrayDataPtr<unsigned int>(std::move(clipped.indices)));
    out->setPrimLengths(new sglArrayDataPtr<unsigned int>(std::move(clipped.lengths)));
    for (unsigned int slot = 0; slot < set.getNumStates(); ++slot) {
        out->setState(slot, set.getState(slot));
    }
    out->setName(set.getName());
    out->setUserData(set.getUserData() ? set.getUserData()->clone() : nullptr);
    return out;
}

}  // namespace

bool CTamGeomTools::RemoveTrianglesOutOfBox(const sglMonoIndexedTriangleStripSet* set,
                                            sglMonoIndexedTriangleStripSet*& out,
                                            const CTamBBox& box) {
    if (set == nullptr || box.isEmpty() || !set->isValid() || set->getIndices() == nullptr) {
        return false;
    }
    ClippedStrips clipped = ClipStrips(*set, box);
    if (!clipped.removedAny) {
        return false;
    }
    out = BuildClippedSet(*set, clipped);
    return true;
}
