# Tests of the kernel's own text and binary files.
tam_add_gtest(orik_files_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/kernel_files_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/kernel_files_damage_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/kernel_files_facets_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/../recording_mesh_manager.cpp
    LIBS TamInteropCAD::orik ${TAM_OCCT_KERNEL_LIBS})
target_link_libraries(orik_files_tests PRIVATE orik_occt_bridge)
target_include_directories(orik_files_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
