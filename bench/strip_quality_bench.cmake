# Strip quality of the kernel's face tessellation (indices per triangle) against a naive strip
# walk, over the kernel's faceting engine.
if(TARGET orik_facet)
    add_executable(strip_quality_bench ${CMAKE_CURRENT_LIST_DIR}/strip_quality_bench.cpp)
    target_link_libraries(strip_quality_bench PRIVATE orik_facet TKXSBase TKSTEP TKSTEPBase TKSTEPAttr
                                                TKSTEP209)
    tam_set_warnings(strip_quality_bench)
endif()
