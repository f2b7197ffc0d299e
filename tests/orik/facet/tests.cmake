# Tests of the kernel's faceting engine (the static library orik_facet).
tam_add_gtest(orik_facet_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/triangle_stripifier_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/face_tessellator_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/shape_mesher_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/level_tolerance_test.cpp
    LIBS orik_facet)

tam_add_gtest(orik_facet_corpus_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/facet_corpus_test.cpp
        ${PROJECT_SOURCE_DIR}/tests/common/occt_sanitizer_defaults.cpp
    LIBS orik_facet TKXSBase TKSTEP TKSTEPBase TKSTEPAttr TKSTEP209
    LABELS corpus sweep
    TIMEOUT 1800)
