# The translator's STEP read into kernel entities, timed side by side with Open CASCADE's own
# XCAF read and transfer of the same file.
# Skipped in developer builds (TAM_ONLY) that leave out what it links.
if(NOT TARGET TamInteropCAD::kvxi OR NOT TARGET TamInteropCAD::orik)
    return()
endif()
add_executable(translate_bench ${CMAKE_CURRENT_LIST_DIR}/translate_bench.cpp)
target_link_libraries(translate_bench PRIVATE tam_occt_headers)
target_link_libraries(translate_bench PRIVATE TamInteropCAD::kvxi TamInteropCAD::orik
    ${TAM_OCCT_EXCHANGE_LIBS} ${TAM_OCCT_KERNEL_LIBS})
tam_set_warnings(translate_bench)
