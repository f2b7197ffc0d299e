# Tests of the assembly import through the EBOM (CTamEBOMParser, CTamMetaCollector). Part files
# are written with the kernel at test time from OCCT primitives, so the tests see OCCT headers.
tam_add_gtest(taminteropcad_ebom_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/ebom_parser_parse_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ebom_parser_matrices_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ebom_parser_entities_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ebom_parser_assy_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/loader_sanitizer_options.cpp
    LIBS
        TamInteropCAD::TamInteropCAD
        TamInteropCAD::orik
        TamInteropCAD::tamsg
        TamInteropCAD::tamsgdb
        TamInteropCAD::tamkernel
        TamInteropCAD::tamfoundations
        ${TAM_OCCT_KERNEL_LIBS})
target_link_libraries(taminteropcad_ebom_tests PRIVATE orik_occt_bridge)
