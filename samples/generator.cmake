# make_sample: writes samples/sample_assembly.step (the assembly the README demo imports); then
# tamcad translates it into samples/sample_assembly.okt, hidden component included.
# Run `cmake --build <dir> --target sample_assembly` to write both again.
add_executable(make_sample ${CMAKE_CURRENT_LIST_DIR}/generator/make_sample.cpp)
target_link_libraries(make_sample PRIVATE tam_occt_headers)
target_link_libraries(make_sample PRIVATE ${TAM_OCCT_KERNEL_LIBS} ${TAM_OCCT_EXCHANGE_LIBS})
tam_set_warnings(make_sample)
set(sample_step ${CMAKE_CURRENT_LIST_DIR}/sample_assembly.step)
set(sample_okt ${CMAKE_CURRENT_LIST_DIR}/sample_assembly.okt)
add_custom_target(sample_assembly
    COMMAND make_sample ${sample_step}
    COMMAND tamcad convert -q --hidden ${sample_step} -o ${sample_okt}
    COMMENT "Writing samples/sample_assembly.step and samples/sample_assembly.okt"
    VERBATIM)

# make_plates: one plate placed N times in sub-assemblies of ten (optionally nested deeper), the
# STEP files the assembly benchmarks generate at run time (see its header for the layout).
add_executable(make_plates ${CMAKE_CURRENT_LIST_DIR}/generator/make_plates.cpp)
tam_set_warnings(make_plates)
