# Helpers shared by the folders' CMake files.

# configurator_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable; its cases are discovered when the tests run, and every case
# runs headless (offscreen Qt platform, fixed DPI). GUI tests link platform_testing, whose
# main() sets the headless application up; the others get GoogleTest's main().
function(configurator_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} test_support GTest::gtest)
  if(NOT "platform_testing" IN_LIST T_LIBS)
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${T_NAME} PRIVATE
    TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
    TEST_BINARY_DIR="${CMAKE_CURRENT_BINARY_DIR}")
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_ENABLE_HIGHDPI_SCALING=0;QT_FONT_DPI=96"
               TIMEOUT 300)
endfunction()

# configurator_bench(NAME <name> SOURCES <files...> LIBS <targets...>)
# Benchmarks build with everything else, so that they keep compiling as the code changes.
function(configurator_bench)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} test_support benchmark::benchmark)
  set_property(GLOBAL APPEND PROPERTY CONFIGURATOR_BENCHES ${B_NAME})
endfunction()

# Every target defined in `dir` and the folders below it.
function(configurator_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    configurator_targets_below(${sub} sub_targets)
    list(APPEND targets ${sub_targets})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Writes, for tools/check-graph.cmake, one line per target: name|folder|linked targets|own
# include folders (the lists joined with ",").
function(configurator_write_target_graph file)
  configurator_targets_below(${CMAKE_SOURCE_DIR} targets)
  set(lines "")
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "UTILITY")
      continue()
    endif()
    get_target_property(dir ${t} SOURCE_DIR)
    file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${dir})
    get_target_property(links ${t} LINK_LIBRARIES)
    get_target_property(incs ${t} INCLUDE_DIRECTORIES)
    if(NOT links)
      set(links "")
    endif()
    if(NOT incs)
      set(incs "")
    endif()
    list(JOIN links "," links)
    list(JOIN incs "," incs)
    string(APPEND lines "${t}|${folder}|${links}|${incs}\n")
  endforeach()
  file(WRITE ${file} "${lines}")
endfunction()
