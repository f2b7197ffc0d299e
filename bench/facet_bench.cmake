# The kernel's faceting through api_facet_entity, timed side by side with BRepMesh alone on the
# same shapes and tolerances.
# Skipped in developer builds (TAM_ONLY) that leave out what it links.
if(NOT TARGET TamInteropCAD::orik)
    return()
endif()
add_executable(facet_bench ${CMAKE_CURRENT_LIST_DIR}/facet_bench.cpp)
target_link_libraries(facet_bench PRIVATE orik_occt_bridge)
target_compile_definitions(facet_bench PRIVATE TAM_CORPUS_DIR="${TAM_CORPUS_DIR}")
target_link_libraries(facet_bench PRIVATE TamInteropCAD::orik ${TAM_OCCT_KERNEL_LIBS}
    TKXSBase TKSTEP TKSTEPBase TKSTEPAttr TKSTEP209)
tam_set_warnings(facet_bench)
