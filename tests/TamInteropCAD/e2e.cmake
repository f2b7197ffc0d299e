# End-to-end tests through the library's exported functions: flags, routing, translations,
# kernel-file loads, and the names the shared object exports.
tam_add_gtest(taminteropcad_e2e_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/e2e_exports_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/e2e_routing_test.cpp
        ${PROJECT_SOURCE_DIR}/tests/common/occt_sanitizer_defaults.cpp
    LIBS
        TamInteropCAD::TamInteropCAD)
target_compile_definitions(taminteropcad_e2e_tests PRIVATE
    TAM_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples"
    TAMINTEROPCAD_LIBRARY_FILE="$<TARGET_FILE:TamInteropCAD>")
