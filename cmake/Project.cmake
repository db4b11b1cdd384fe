# The folder list and the helpers shared by the folders' CMake files. Also read by
# tools/check-graph.cmake in script mode, so nothing here may need a project.

# The program's source folders, lowest layer first, each as <folder>=<layer>. A target links
# only targets of a lower layer or of its own group (the first part of its folder; shell/kit
# and grid/base are groups of their own); tools/check-graph.cmake checks it on the built graph.
#   0 platform          the layer over the operating system and Qt
#   1 grid/base         the grid foundation (a group of its own)
#   2 controls, vtree   the control libraries the grid's model and view build on
#   3 grid              the string grid's model, view and exchange
#   4 shell/kit         what every window of the program builds on
#   5 settings .. building    the subsystems' windows and data
#   6 shell             the main window, the program's windows created together, main()
# src/ and tests/ add every folder in this order, bench/ those that have benchmarks.
set(CONFIGURATOR_FOLDERS
  platform=0
  grid/base=1
  controls/button=2
  controls/pagecontrol=2
  controls/dropdown=2
  vtree=2
  grid/model=3
  grid/view=3
  grid/io=3
  shell/kit=4
  settings=5
  image=5
  mbus=5
  fieldbus=5
  building=5
  shell=6)

# The folders of CONFIGURATOR_FOLDERS without their layers, in order.
function(configurator_folders out)
  set(folders "")
  foreach(entry IN LISTS CONFIGURATOR_FOLDERS)
    string(REGEX REPLACE "=.*$" "" folder "${entry}")
    list(APPEND folders "${folder}")
  endforeach()
  set(${out} ${folders} PARENT_SCOPE)
endfunction()

# configurator_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable, run by CTest as one test of the same name: its cases run in one
# process, headless (offscreen Qt platform, fixed DPI). When it fails, CTest shows its output,
# which ends with the list of failed cases; `<executable> --gtest_filter=<Suite>.<Case>` runs
# one case alone. GUI tests link platform_testing, whose main() sets the headless application
# up; the others get GoogleTest's main(). The standard and GoogleTest headers come
# precompiled from test_support.
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
  target_precompile_headers(${T_NAME} REUSE_FROM test_support)
  # Through a precompiled header, GCC 12 no longer treats the standard library's inlined
  # string copies as system code and reports its known out-of-bounds false positives there.
  target_compile_options(${T_NAME} PRIVATE -Wno-array-bounds -Wno-stringop-overflow)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_ENABLE_HIGHDPI_SCALING=0;QT_FONT_DPI=96"
    TIMEOUT 600)
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

# The targets defined in `dir` itself (not below it).
function(configurator_targets_in dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# True in `out` when `target` links platform_ui, directly or through project targets.
function(configurator_reaches_ui target out)
  set(seen "")
  set(todo ${target})
  while(todo)
    list(POP_FRONT todo t)
    if(t IN_LIST seen OR NOT TARGET ${t})
      continue()
    endif()
    list(APPEND seen ${t})
    if(t STREQUAL "platform_ui")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    get_target_property(imported ${t} IMPORTED)
    if(imported)
      continue()
    endif()
    get_target_property(links ${t} LINK_LIBRARIES)
    if(links)
      list(APPEND todo ${links})
    endif()
  endwhile()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

# Compiles a program target with the platform's precompiled headers (src/platform/pch):
# the forms kind when it reaches the window layer, the core kind otherwise.
function(configurator_use_source_pch target)
  get_target_property(type ${target} TYPE)
  if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE|OBJECT_LIBRARY)$")
    return()
  endif()
  configurator_reaches_ui(${target} ui)
  if(ui)
    target_precompile_headers(${target} REUSE_FROM platform_pch_forms)
  else()
    target_precompile_headers(${target} REUSE_FROM platform_pch_core)
  endif()
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
