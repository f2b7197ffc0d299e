// Base of the drawables: primitives with coordinate, normal and color lists and drawing state.
#pragma once

#include <tamsg/sglBoxBound.h>
#include <tamsg/sglConstants.h>
#include <tamsg/sglDataPtr.h>
#include <tamsg/sglMat4.h>
#include <tamsg/sglObject.h>
#include <tamsg/sglVec3.h>
#include <tamsg/sglVec4.h>

#include <vector>

class sglStatelet;

// A drawable: a number of primitives and the lists describing them. Every list is given as an
// sglDataPtr that the drawable owns from then on: it deletes it when the list is replaced or the
// drawable is destroyed (a data pointer must not be given to two drawables). Lists are packed
// floats (data type SGL_FLOAT); "stride" is the byte distance between elements (0, or exactly
// the packed size) and "count" the number of elements (0: derived from the primitives).
// A list given with an unsupported type, component count or stride is deleted and left empty
// (the setter returns false). A null data pointer clears the list.
class sglGeoSet : public sglObject {
public:
    ~sglGeoSet() override;

    void setNumPrims(unsigned int numPrims) { m_numPrims = numPrims; }
    unsigned int getNumPrims() const { return m_numPrims; }

    // Positions: components 2 to 4 floats per vertex (3 usually).
    bool setCoordList(sglDataPtr* data, unsigned int dataType, unsigned int components,
                      unsigned int stride = 0, unsigned int count = 0);
    // Normals: 3 floats each, their number following the binding (SGL_BIND_*).
    bool setNormalList(unsigned int binding, sglDataPtr* data, unsigned int dataType,
                       unsigned int stride = 0, unsigned int count = 0);
    // Colors: 3 or 4 floats each (RGB(A), 0..1), their number following the binding.
    bool setColorList(unsigned int binding, sglDataPtr* data, unsigned int dataType,
                      unsigned int components, unsigned int stride = 0, unsigned int count = 0);
    // Primitive lengths (unsigned int each) of strip drawables; count 0 means one per primitive.
    bool setPrimLengths(sglDataPtr* data, unsigned int stride = 0, unsigned int count = 0);

    // Read-back: the packed arrays (null when absent), their element counts and layouts.
    const float* getCoords() const;
    unsigned int getNumCoords() const;
    unsigned int getCoordComponents() const { return m_coords.components; }
    // Position i as a 3-vector (missing components 0); the zero vector when out of range.
    sglVec3<float> getCoord(unsigned int index) const;
    const float* getNormals() const;
    unsigned int getNumNormals() const;
    unsigned int getNormalBinding() const { return m_normalBinding; }
    const float* getColors() const;
    unsigned int getNumColors() const;
    unsigned int getColorComponents() const { return m_colors.components; }
    unsigned int getColorBinding() const { return m_colorBinding; }
    // Color i as RGBA (alpha 1 for 3-component lists); opaque white when out of range.
    sglVec4<float> getColor(unsigned int index) const;
    const unsigned int* getPrimLengths() const;
    unsigned int getNumPrimLengths() const;

    // The data pointers held (null when absent); still owned by the drawable.
    sglDataPtr* getCoordDataPtr() const { return m_coords.data; }
    sglDataPtr* getNormalDataPtr() const { return m_normals.data; }
    sglDataPtr* getColorDataPtr() const { return m_colors.data; }
    sglDataPtr* getPrimLengthsDataPtr() const { return m_primLengths.data; }

    // Sets the statelets of state slot index (0 is the one drawn); each non-null one gains a
    // reference, the slot's previous statelets lose theirs.
    void setState(unsigned int index, const std::vector<sglStatelet*>& statelets);
    // The statelets of slot index (empty when none); still held by the drawable.
    const std::vector<sglStatelet*>& getState(unsigned int index) const;
    unsigned int getNumStates() const { return static_cast<unsigned int>(m_states.size()); }

    // True when every list holds at least the elements the primitives and bindings need, every
    // index lies inside the coordinates, and no holder of known size is shorter than its count.
    virtual bool isValid() const;
    // Bounds of the positions; empty when there are none.
    sglBoxBound getBound() const;
    // Grows box by the positions mapped by matrix (p' = p x M).
    void expandBound(sglBoxBound& box, const sglMat4<float>& matrix) const;
    // Maps positions (as points) and normals (by the inverse transpose, renormalized) in place.
    void transform(const sglMat4<float>& matrix);
    // A new drawable of the same kind with copies of every list, the same statelets (shared),
    // the name and a clone of the user data; count 0, owned by the caller.
    virtual sglGeoSet* deepCopy() const = 0;

protected:
    struct DataList {
        sglDataPtr* data = nullptr;
        unsigned int components = 0;
        unsigned int count = 0;  // 0: derived from the primitives
    };

    sglGeoSet() = default;
    const char* className() const override { return "sglGeoSet"; }
    // Number of positions implied by the primitives when no count was given.
    virtual unsigned int derivedCoordCount() const = 0;
    // Copies numPrims, the base lists, states, name and user data into target.
    void copyBaseInto(sglGeoSet& target) const;
    // Replaces list with data of components 4-byte values per element; false (data released,
    // list empty) when valid is false or the stride is neither 0 nor the packed element size.
    static bool assignList(DataList& list, sglDataPtr* data, bool valid, unsigned int components,
                           unsigned int stride, unsigned int count);
    static void clearList(DataList& list);
    // False when the holder knows its size and it is smaller than count elements.
    static bool listHolds(const DataList& list, unsigned int count);
    // count, cut to what the holder can hold when it knows its size.
    static unsigned int readableCount(const DataList& list, unsigned int count);
    // Primitive lengths that may be read safely.
    unsigned int getReadablePrimLengths() const {
        return readableCount(m_primLengths, getNumPrimLengths());
    }
    static const void* listData(const DataList& list);
    unsigned int countForBinding(unsigned int binding, unsigned int given) const;

private:
    unsigned int m_numPrims = 0;
    DataList m_coords;
    DataList m_normals;
    DataList m_colors;
    DataList m_primLengths;
    unsigned int m_normalBinding = SGL_BIND_OFF;
    unsigned int m_colorBinding = SGL_BIND_OFF;
    std::vector<std::vector<sglStatelet*>> m_states;
};
