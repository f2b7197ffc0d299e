# Mesh-only faces (tessellated parts) through the loader: built bodies, and the tessellated STEP
# files of the shared corpus (label corpus).
set(TAM_MESH_FACE_TEST_LIBS
    TamInteropCAD::TamInteropCAD
    TamInteropCAD::orik
    TamInteropCAD::tamsg
    TamInteropCAD::tamsgdb
    TamInteropCAD::tamkernel
    ${TAM_OCCT_KERNEL_LIBS})

tam_add_gtest(taminteropcad_mesh_face_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/loader_mesh_faces_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_sanitizer_options.cpp
    LIBS ${TAM_MESH_FACE_TEST_LIBS})
target_include_directories(taminteropcad_mesh_face_tests SYSTEM PRIVATE ${OpenCASCADE_INCLUDE_DIR})

tam_add_gtest(taminteropcad_mesh_face_corpus_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/loader_mesh_faces_corpus_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_sanitizer_options.cpp
    LIBS ${TAM_MESH_FACE_TEST_LIBS}
    LABELS corpus
    TIMEOUT 900)
target_include_directories(taminteropcad_mesh_face_corpus_tests SYSTEM PRIVATE
    ${OpenCASCADE_INCLUDE_DIR})
