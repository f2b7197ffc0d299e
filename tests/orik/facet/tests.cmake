# Tests of the kernel's tessellation engine. Its sources are private to orik (not exported by
# the shared library), so the tests build them into a static library of their own.
set(orik_facet_dir ${CMAKE_CURRENT_LIST_DIR}/../../../host_interfaces/orik/src/facet)
include(${orik_facet_dir}/sources.cmake)
add_library(orik_facet_engine STATIC ${ORIK_FACET_SOURCES})
target_include_directories(orik_facet_engine PUBLIC ${orik_facet_dir})
target_include_directories(orik_facet_engine SYSTEM PUBLIC ${OpenCASCADE_INCLUDE_DIR})
target_link_libraries(orik_facet_engine PUBLIC ${TAM_OCCT_KERNEL_LIBS})
tam_set_warnings(orik_facet_engine)

tam_add_gtest(orik_facet_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/TriangleStripifier_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/FaceTessellator_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ShapeMesher_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/LevelTolerance_test.cpp
    LIBS orik_facet_engine)

tam_add_gtest(orik_facet_corpus_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/facet_corpus_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SanitizerDefaults.cpp
    LIBS orik_facet_engine TKXSBase TKSTEP TKSTEPBase TKSTEPAttr TKSTEP209
    LABELS corpus sweep
    TIMEOUT 1800)
