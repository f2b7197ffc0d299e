# `tamcad assembly` against the raw Open CASCADE pipeline and the flat `tamcad import`, on the as1
# corpus files and on generated plate assemblies (one plate placed N times, make_plates).
# Skipped in developer builds (TAM_ONLY) that leave out the host or the generator.
# occt_pipeline_bench.cmake, included after this file, always defines occt_pipeline_bench.
if(NOT TARGET tamcad_host OR NOT TARGET make_plates)
    return()
endif()
add_executable(assembly_bench ${CMAKE_CURRENT_LIST_DIR}/assembly_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/child_run.cpp)
target_link_libraries(assembly_bench PRIVATE tamcad_host)
target_compile_definitions(assembly_bench PRIVATE
    TAM_MAKE_PLATES="$<TARGET_FILE:make_plates>"
    TAM_OCCT_PIPELINE="$<TARGET_FILE:occt_pipeline_bench>"
    TAM_TAMCAD="$<TARGET_FILE:tamcad>"
    TAM_CORPUS_DIR="${TAM_CORPUS_DIR}")
add_dependencies(assembly_bench make_plates occt_pipeline_bench tamcad)
tam_set_warnings(assembly_bench)
