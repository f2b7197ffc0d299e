# Tests of the kernel's faceting engine (the static library orik_facet).
tam_add_gtest(orik_facet_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/TriangleStripifier_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/FaceTessellator_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ShapeMesher_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/LevelTolerance_test.cpp
    LIBS orik_facet)

tam_add_gtest(orik_facet_corpus_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/facet_corpus_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SanitizerDefaults.cpp
    LIBS orik_facet TKXSBase TKSTEP TKSTEPBase TKSTEPAttr TKSTEP209
    LABELS corpus sweep
    TIMEOUT 1800)
