# The raw Open CASCADE import pipeline (XCAF read, BRepMesh per part) that import_bench.sh times
# side by side with `tamcad import`.
add_executable(occt_pipeline ${CMAKE_CURRENT_LIST_DIR}/occt_pipeline.cpp)
target_include_directories(occt_pipeline SYSTEM PRIVATE ${OpenCASCADE_INCLUDE_DIR})
target_link_libraries(occt_pipeline PRIVATE ${TAM_OCCT_KERNEL_LIBS} ${TAM_OCCT_EXCHANGE_LIBS})
tam_set_warnings(occt_pipeline)
