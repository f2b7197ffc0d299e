// The faceting mesh manager of the library and the data pointers that hand vertex blocks to
// host drawables.
#pragma once

#include <orik/INDEXED_MESH_MANAGER.h>
#include <tamsg/sglBoxBound.h>
#include <tamsg/sglDataPtr.h>

#include "TamInteropCADExport.h"

// Holds one C-heap block (malloc/realloc) and releases it with free when destroyed. A null
// block is allowed. Once given to a drawable, the drawable owns the holder.
class TAMINTEROPCAD_API sglFreeableDataPtr : public sglDataPtr {
public:
    // Takes ownership of block (may be null).
    explicit sglFreeableDataPtr(void* block);
    // Releases the block with free.
    ~sglFreeableDataPtr() override;
    // The held block, or null.
    void* getData() const override;

protected:
    const char* className() const override { return "sglFreeableDataPtr"; }
};

// Holds an array made with new T[n] and releases it with delete[] when destroyed. Instantiated
// for unsigned int, sglVec3<float> and sglVec4<float>.
template <class T>
class TAMINTEROPCAD_API sglDeleteableDataPtr : public sglDataPtr {
public:
    // Takes ownership of array (may be null).
    explicit sglDeleteableDataPtr(T* array) : sglDataPtr(array) {}
    // Releases the array with delete[].
    ~sglDeleteableDataPtr() override { delete[] static_cast<T*>(m_pData); }
    // The held array, or null.
    void* getData() const override { return m_pData; }

protected:
    const char* className() const override { return "sglDeleteableDataPtr"; }
};

// Receives one face's faceting from the kernel and packs it straight into the four C-heap
// blocks a triangle strip set takes over: positions and normals (3 floats per node, converted
// on arrival), node indices (the concatenated strips) and strip lengths. The manager never
// frees the blocks: whoever builds the strip set takes them over (see the accessors).
// Allocated through the kernel's allocator; one manager per face.
class TAMINTEROPCAD_API TAM_MESH_MANAGER : public INDEXED_MESH_MANAGER {
public:
    // Empty arrays, zero counters, empty clip box.
    TAM_MESH_MANAGER();
    // Leaves the four blocks alone (they belong to the strip set built from them).
    ~TAM_MESH_MANAGER() override;

    // Closes the strip being built at the end of a face's output.
    void end_mesh_output(ENTITY* face, ENTITY* owner) override;
    // Grows the four blocks for the polygons, nodes and polynodes about to come.
    void announce_counts(int polygons, int nodes, int polynodes) override;
    // Indexed polygons are wanted.
    logical need_indexed_polygons() override;
    // Stores a node's position and normal; the handle returned is the node number.
    void* announce_indexed_node(int node, const SPApar_pos& uv, const SPAposition& pos,
                                const SPAunit_vector& normal) override;
    // A polygon with share code -1 starts a new strip (closing the previous one).
    void start_indexed_polygon(int polygon, int node_count, int share) override;
    // Nothing to do at the end of a polygon header.
    void end_indexed_polygon(int polygon) override;
    // Appends an index: all three of a strip start, only position 2 of a continuation.
    void announce_indexed_polynode(int polygon, int position, void* node_handle) override;
    // Triangles are wanted as strips.
    logical need_strip_polygons() override;
    // Nothing to do once the entity is done.
    void end_entity_output(ENTITY* entity) override;

    // Counts written so far.
    unsigned int GetIndexCount() const { return m_uiIndexCount; }
    unsigned int GetNodeCount() const { return m_uiNodeCount; }
    unsigned int GetStripCount() const { return m_uiStripCount; }
    // The blocks (null before the first count announcement). Still the manager's pointers; the
    // caller that wraps them in sglFreeableDataPtr takes them over.
    float* GetPositions() const { return m_pPositions; }
    float* GetNormals() const { return m_pNormals; }
    unsigned int* GetIndices() const { return m_pIndices; }
    unsigned int* GetStripLengths() const { return m_pStripLengths; }
    // Bounds of the face used by the tessellation check; empty unless set.
    const sglBoxBound& GetClipBox() const { return m_clipBox; }
    void SetClipBox(const sglBoxBound& box) { m_clipBox = box; }

private:
    void CloseStrip();
    void AppendIndex(unsigned int index);
    void GrowBlocks(unsigned int oldPolygons, unsigned int oldNodes, unsigned int oldPolynodes);

    unsigned int m_uiIndexCount;
    unsigned int m_uiNodeCount;
    unsigned int m_uiStripCount;
    unsigned int m_uiCurrentStripLength;
    int m_iCurrentShareCode;
    bool m_bFirstPolygon;
    unsigned int m_uiCountAnnouncements;
    unsigned int m_uiPolygonsAnnounced;
    unsigned int m_uiNodesAnnounced;
    unsigned int m_uiPolynodesAnnounced;
    unsigned int m_uiNodeBase;
    float* m_pPositions;
    float* m_pNormals;
    sglBoxBound m_clipBox;
    unsigned int* m_pIndices;
    unsigned int* m_pStripLengths;
};
