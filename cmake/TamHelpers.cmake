# Helpers shared by every target of the project.

# Every shared library of the build goes to one folder: a program run from the build tree then
# finds all of them through one search-path entry, instead of the loader probing one folder per
# library (several failed file lookups for each of the many libraries loaded at start-up).
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/lib)

# Warnings and language level for one of our own targets.
function(tam_set_warnings target)
    target_compile_features(${target} PUBLIC cxx_std_17)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(TAM_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# Code where little of a run's time goes (glue, translation set-up, scene walks, the host): optimized
# for size in optimized builds. Every run maps its pages: a quarter less code is 0.3 to 0.8 MB less
# resident memory per import at the same CPU time, since the kernel (meshing, strips), where the
# time goes, stays optimized for speed.
function(tam_optimize_for_size target)
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo>:-Os>)
endfunction()

# At start-up the loader resolves every symbol reference of every library by searching the loaded
# libraries in order: the program, its own direct dependencies, then theirs. Nearly all references
# are to Open CASCADE's foundation toolkits, which a program over our components reaches only
# through them, behind a dozen other libraries. Naming the toolkits as the program's first
# dependencies puts them at the head of that search and shortens every lookup.
function(tam_occt_first_in_lookup target)
    tam_toolkits_first_in_lookup(${target} TKernel TKMath TKG2d TKG3d TKGeomBase TKBRep TKGeomAlgo
        TKTopAlgo)
endfunction()

# A library opened at run time is searched after everything loaded at start-up, then in its own
# dependency order: each of its references to a toolkit that start-up did not load first misses
# every start-up library, then walks its own dependencies until that toolkit. Naming the toolkits
# it brings first, the most referenced first, shortens those walks (for the data-exchange module
# a quarter of the loader's lookups when it is opened).
function(tam_toolkits_first_in_lookup target)
    set(files)
    foreach(toolkit ${ARGN})
        list(APPEND files "$<TARGET_FILE:${toolkit}>")
    endforeach()
    list(JOIN files "," files)
    target_link_options(${target} PRIVATE "LINKER:--push-state,--no-as-needed,${files},--pop-state")
endfunction()

# One host component: a shared library with its public headers in include/<name>/,
# an ALIAS TamInteropCAD::<name>, and install rules in the exported package; optimized for size
# unless SPEED.
#   tam_add_component(<name> [SPEED] SOURCES ... [PUBLIC_DEPS ...] [PRIVATE_DEPS ...])
function(tam_add_component name)
    cmake_parse_arguments(A "SPEED" "" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(${name} SHARED ${A_SOURCES})
    add_library(TamInteropCAD::${name} ALIAS ${name})
    set_target_properties(${name} PROPERTIES OUTPUT_NAME "Tam_${name}" EXPORT_NAME ${name})
    target_include_directories(${name} PUBLIC
        $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
        $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/TamInteropCAD>)
    target_link_libraries(${name} PUBLIC ${A_PUBLIC_DEPS} PRIVATE ${A_PRIVATE_DEPS})
    tam_set_warnings(${name})
    if(NOT A_SPEED)
        tam_optimize_for_size(${name})
    endif()
    install(TARGETS ${name} EXPORT TamInteropCADTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/TamInteropCAD)
endfunction()

# One GoogleTest executable registered with CTest, test by test.
#   tam_add_gtest(<name> SOURCES ... LIBS ... [LABELS ...] [TIMEOUT seconds])
function(tam_add_gtest name)
    cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${A_SOURCES})
    target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
    target_compile_definitions(${name} PRIVATE
        TAM_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
        TAM_CORPUS_DIR="${TAM_CORPUS_DIR}")
    tam_set_warnings(${name})
    if(NOT A_TIMEOUT)
        set(A_TIMEOUT 300)
    endif()
    set(labels ${A_LABELS})
    if(NOT labels)
        set(labels unit)
    endif()
    list(GET labels 0 first_label)
    # A fresh checkout has no test times for CTest to start the longest tests first: the corpus
    # tests, the longest, start first, so that no long test runs alone at the end.
    set(cost 0)
    if("corpus" IN_LIST labels)
        set(cost 10)
    endif()
    # Programs that cache per user (tamcad's re-import cache) keep to the build folder in tests.
    gtest_discover_tests(${name}
        PROPERTIES LABELS ${first_label} TIMEOUT ${A_TIMEOUT} COST ${cost}
            ENVIRONMENT "XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-cache"
        DISCOVERY_TIMEOUT 120)
    list(LENGTH labels label_count)
    if(label_count GREATER 1)
        # The discovery script flattens a list of labels into separate properties; the full list
        # is set on the discovered tests (listed in ${name}_TESTS) by a script CTest reads after it.
        set(label_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
        file(WRITE ${label_script}
            "if(${name}_TESTS)\n"
            "    set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${labels}\")\n"
            "endif()\n")
        set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${label_script})
    endif()
endfunction()
