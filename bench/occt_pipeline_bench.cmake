# The raw Open CASCADE import pipeline (XCAF read, BRepMesh per part) that import_bench.sh times
# side by side with `tamcad import`.
add_executable(occt_pipeline_bench ${CMAKE_CURRENT_LIST_DIR}/occt_pipeline_bench.cpp)
target_link_libraries(occt_pipeline_bench PRIVATE tam_occt_headers)
target_link_libraries(occt_pipeline_bench PRIVATE ${TAM_OCCT_KERNEL_LIBS} ${TAM_OCCT_EXCHANGE_LIBS})
tam_set_warnings(occt_pipeline_bench)
