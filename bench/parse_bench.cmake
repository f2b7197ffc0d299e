# The loader's entity walk over translated STEP files, timed side by side with the kernel's
# faceting of the same faces alone; also the peak memory per million triangles.
# Skipped in developer builds (TAM_ONLY) that leave out what it links.
if(NOT TARGET TamInteropCAD::TamInteropCAD OR NOT TARGET TamInteropCAD::orik
   OR NOT TARGET TamInteropCAD::tamsg OR NOT TARGET TamInteropCAD::tamsgdb)
    return()
endif()
add_executable(parse_bench ${CMAKE_CURRENT_LIST_DIR}/parse_bench.cpp)
target_link_libraries(parse_bench PRIVATE TamInteropCAD::TamInteropCAD TamInteropCAD::orik
    TamInteropCAD::tamsg TamInteropCAD::tamsgdb)
tam_set_warnings(parse_bench)
