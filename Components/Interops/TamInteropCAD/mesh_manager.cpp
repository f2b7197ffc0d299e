// Packing of the kernel's strip output into strip-set arrays, and the data-pointer classes.
#include "mesh_manager.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Bytes of one node's position (or normal): three floats.
constexpr std::size_t kNodeBytes = 3 * sizeof(float);

// Resizes a C-heap block (a null block is allocated); false, block untouched, when the heap
// refuses. A zero size still gets a block so that every later realloc has one to grow.
bool ResizeBlock(void*& block, std::size_t bytes) {
    void* resized = std::realloc(block, bytes != 0 ? bytes : 1);
    if (resized == nullptr)
        return false;
    block = resized;
    return true;
}

template <class T>
bool ResizeArray(T*& array, std::size_t elements, std::size_t elementBytes) {
    void* block = array;
    const bool resized = ResizeBlock(block, elements * elementBytes);
    array = static_cast<T*>(block);
    return resized;
}

unsigned int NonNegative(int count) {
    return count > 0 ? static_cast<unsigned int>(count) : 0u;
}

}  // namespace

sglFreeableDataPtr::sglFreeableDataPtr(void* block) : sglDataPtr(block) {}

sglFreeableDataPtr::~sglFreeableDataPtr() {
    std::free(m_pData);
}

void* sglFreeableDataPtr::getData() const {
    return m_pData;
}

TAM_MESH_MANAGER::TAM_MESH_MANAGER()
    : m_uiIndexCount(0),
      m_uiNodeCount(0),
      m_uiStripCount(0),
      m_uiCurrentStripLength(0),
      m_iCurrentShareCode(0),
      m_bFirstPolygon(true),
      m_uiCountAnnouncements(0),
      m_uiPolygonsAnnounced(0),
      m_uiNodesAnnounced(0),
      m_uiPolynodesAnnounced(0),
      m_uiNodeBase(0),
      m_pPositions(nullptr),
      m_pNormals(nullptr),
      m_pIndices(nullptr),
      m_pStripLengths(nullptr) {}

TAM_MESH_MANAGER::~TAM_MESH_MANAGER() = default;

void TAM_MESH_MANAGER::announce_counts(int polygons, int nodes, int polynodes) {
    const unsigned int oldPolygons = m_uiPolygonsAnnounced;
    const unsigned int oldNodes = m_uiNodesAnnounced;
    const unsigned int oldPolynodes = m_uiPolynodesAnnounced;
    m_uiNodeBase = m_uiNodesAnnounced;
    m_uiPolygonsAnnounced += NonNegative(polygons);
    m_uiNodesAnnounced += NonNegative(nodes);
    m_uiPolynodesAnnounced += NonNegative(polynodes);
    ++m_uiCountAnnouncements;
    GrowBlocks(oldPolygons, oldNodes, oldPolynodes);
    if (m_uiCountAnnouncements > 1) {
        // A further face (or body part) starts: its first polygon opens a strip of its own.
        m_bFirstPolygon = true;
        m_uiCurrentStripLength = 0;
        m_iCurrentShareCode = 0;
    }
}

// Allocates (first announcement) or grows the four blocks to the announced sums. A block the heap
// refuses keeps its size and its sum goes back to the old value, so the bounds checks below drop
// what no longer fits.
void TAM_MESH_MANAGER::GrowBlocks(unsigned int oldPolygons, unsigned int oldNodes,
                                  unsigned int oldPolynodes) {
    if (!ResizeArray(m_pIndices, m_uiPolynodesAnnounced, sizeof(unsigned int)))
        m_uiPolynodesAnnounced = oldPolynodes;
    if (!ResizeArray(m_pStripLengths, m_uiPolygonsAnnounced, sizeof(unsigned int)))
        m_uiPolygonsAnnounced = oldPolygons;
    const bool positions = ResizeArray(m_pPositions, m_uiNodesAnnounced, kNodeBytes);
    const bool normals = ResizeArray(m_pNormals, m_uiNodesAnnounced, kNodeBytes);
    if (!positions || !normals)
        m_uiNodesAnnounced = oldNodes;
}

logical TAM_MESH_MANAGER::need_indexed_polygons() {
    return TRUE;
}

logical TAM_MESH_MANAGER::need_strip_polygons() {
    return need_indexed_polygons();
}

void* TAM_MESH_MANAGER::announce_indexed_node(int node, const SPApar_pos& /*uv*/,
                                              const SPAposition& pos,
                                              const SPAunit_vector& normal) {
    if (m_uiNodeCount < m_uiNodesAnnounced) {
        float* position = m_pPositions + 3 * static_cast<std::size_t>(m_uiNodeCount);
        float* direction = m_pNormals + 3 * static_cast<std::size_t>(m_uiNodeCount);
        for (int axis = 0; axis < 3; ++axis) {
            position[axis] = static_cast<float>(pos.coordinate(axis));
            direction[axis] = static_cast<float>(normal.component(axis));
        }
        ++m_uiNodeCount;
    }
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(NonNegative(node)));
}

void TAM_MESH_MANAGER::start_indexed_polygon(int /*polygon*/, int /*node_count*/, int share) {
    m_iCurrentShareCode = share;
    if (!m_bFirstPolygon && share == ORIK_SHARE_NONE && m_uiCurrentStripLength != 0) {
        CloseStrip();
        m_uiCurrentStripLength = 0;
    }
    m_bFirstPolygon = false;
}

void TAM_MESH_MANAGER::end_indexed_polygon(int /*polygon*/) {}

void TAM_MESH_MANAGER::announce_indexed_polynode(int /*polygon*/, int position, void* node_handle) {
    // A continuation shares its first two nodes with the previous triangle of the strip.
    if (m_iCurrentShareCode != ORIK_SHARE_NONE && position != 2)
        return;
    const auto handle = static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(node_handle));
    AppendIndex(m_uiNodeBase + handle);
}

void TAM_MESH_MANAGER::end_mesh_output(ENTITY* /*face*/, ENTITY* /*owner*/) {
    if (m_uiCurrentStripLength != 0)
        CloseStrip();
}

void TAM_MESH_MANAGER::end_entity_output(ENTITY* /*entity*/) {}

void TAM_MESH_MANAGER::CloseStrip() {
    if (m_uiStripCount < m_uiPolygonsAnnounced)
        m_pStripLengths[m_uiStripCount++] = m_uiCurrentStripLength;
}

// Indices of nodes that were never stored would lead the strip set outside its positions;
// they are dropped (only a kernel breaking its own counts can produce them).
void TAM_MESH_MANAGER::AppendIndex(unsigned int index) {
    if (m_uiIndexCount >= m_uiPolynodesAnnounced || index >= m_uiNodeCount)
        return;
    m_pIndices[m_uiIndexCount++] = index;
    ++m_uiCurrentStripLength;
}
