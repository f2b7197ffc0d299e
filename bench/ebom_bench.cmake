# The "EBOM" conversion of generated plate assemblies (one plate placed N times in sub-assemblies
# of ten), timed side by side with the raw Open CASCADE pipeline (occt_pipeline_bench) on the same files.
# Skipped in developer builds (TAM_ONLY) that leave out what it runs or links.
# occt_pipeline_bench.cmake, included after this file, always defines occt_pipeline_bench.
if(NOT TARGET TamInteropCAD::kvxi OR NOT TARGET TamInteropCAD::orik OR NOT TARGET make_plates)
    return()
endif()
add_executable(ebom_bench ${CMAKE_CURRENT_LIST_DIR}/ebom_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/child_run.cpp)
target_link_libraries(ebom_bench PRIVATE TamInteropCAD::kvxi TamInteropCAD::orik)
target_compile_definitions(ebom_bench PRIVATE
    TAM_MAKE_PLATES="$<TARGET_FILE:make_plates>"
    TAM_OCCT_PIPELINE="$<TARGET_FILE:occt_pipeline_bench>")
add_dependencies(ebom_bench make_plates occt_pipeline_bench)
tam_set_warnings(ebom_bench)
