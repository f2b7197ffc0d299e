# Tests of the scene-graph building of CTamCADLoader and its mesh manager. The bodies are built
# from OCCT primitives through the kernel's OCCT bridge, so the tests see OCCT headers.
set(TAM_LOADER_TEST_LIBS
    TamInteropCAD::TamInteropCAD
    TamInteropCAD::orik
    TamInteropCAD::tamsg
    TamInteropCAD::tamsgdb
    TamInteropCAD::tamkernel
    ${TAM_OCCT_KERNEL_LIBS})

tam_add_gtest(taminteropcad_loader_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/loader_mesh_manager_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_faces_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_walk_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_attributes_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_refinement_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_free_geometry_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_transforms_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_mesh_faces_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_sanitizer_options.cpp
    LIBS ${TAM_LOADER_TEST_LIBS})
target_link_libraries(taminteropcad_loader_tests PRIVATE orik_occt_bridge)

# Every STEP file of the shared corpus (each file is its own test), and the tessellated ones in
# detail.
tam_add_gtest(taminteropcad_loader_corpus_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/loader_corpus_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_mesh_faces_corpus_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_sanitizer_options.cpp
    LIBS ${TAM_LOADER_TEST_LIBS}
    LABELS corpus
    TIMEOUT 900)
target_link_libraries(taminteropcad_loader_corpus_tests PRIVATE orik_occt_bridge)
