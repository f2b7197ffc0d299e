# Strip quality of the kernel's face tessellation (indices per triangle) against a naive strip
# walk. The tessellation engine is private to the kernel, so its sources are compiled in.
if(OpenCASCADE_FOUND)
    set(orik_facet_dir ${CMAKE_CURRENT_LIST_DIR}/../host_interfaces/orik/src/facet)
    include(${orik_facet_dir}/sources.cmake)
    add_executable(strip_quality ${CMAKE_CURRENT_LIST_DIR}/strip_quality.cpp ${ORIK_FACET_SOURCES})
    target_include_directories(strip_quality PRIVATE ${orik_facet_dir})
    target_include_directories(strip_quality SYSTEM PRIVATE ${OpenCASCADE_INCLUDE_DIR})
    target_link_libraries(strip_quality PRIVATE ${TAM_OCCT_KERNEL_LIBS} TKXSBase TKSTEP TKSTEPBase
                                                TKSTEPAttr TKSTEP209)
    tam_set_warnings(strip_quality)
endif()
