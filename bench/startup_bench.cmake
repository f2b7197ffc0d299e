# Start-up cost: `tamcad --help` against a program that links only the STEP reader, side by side.
add_executable(startup_reader_only ${CMAKE_CURRENT_LIST_DIR}/startup_reader_only.cpp)
target_link_libraries(startup_reader_only PRIVATE tam_occt_headers TKSTEP TKXSBase TKernel)
tam_set_warnings(startup_reader_only)

add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
tam_set_warnings(startup_bench)
