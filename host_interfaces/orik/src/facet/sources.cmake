# Face tessellation engine of the kernel: meshing, node normals, strips.
set(ORIK_FACET_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/BudgetedMeshing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EdgeLengthLimiter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FaceTessellator.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FixedFaceMeshes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NodeNormals.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShapeMesher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SurfaceQuadFlips.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TriangleStripifier.cpp
)
