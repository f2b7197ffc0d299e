# Tests of the library's toolbox classes CTamCADTools and CTamIOTools. The option sets are
# internal to the library, so their source is compiled into the test as well.
set(TAMINTEROPCAD_LIBRARY_DIR ${PROJECT_SOURCE_DIR}/Components/Interops/TamInteropCAD)
tam_add_gtest(taminteropcad_tools_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/io_tools_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/cad_tools_kernel_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/cad_tools_outcome_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/cad_tools_options_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/cad_tools_translate_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/cad_tools_attributes_test.cpp
        ${PROJECT_SOURCE_DIR}/tests/common/occt_sanitizer_defaults.cpp
        ${TAMINTEROPCAD_LIBRARY_DIR}/TamCADToolsOptions.cpp
    LIBS
        TamInteropCAD::TamInteropCAD
        TamInteropCAD::tamkernel
        TamInteropCAD::tamfoundations
        ${TAM_OCCT_KERNEL_LIBS})
target_link_libraries(taminteropcad_tools_tests PRIVATE orik_occt_bridge)
