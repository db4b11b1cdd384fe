# Helpers shared by the subsystem folders.

# The subsystem folders in building order; a folder takes part once it has a CMakeLists.txt.
set(CONFIGURATOR_SUBSYSTEMS
  platform shell settings image
  controls/button controls/pagecontrol controls/dropdown
  grid/base grid/model grid/view grid/io
  vtree mbus fieldbus building)

# Adds every subsystem folder below `root` that exists.
function(configurator_add_subsystems root)
  foreach(dir IN LISTS CONFIGURATOR_SUBSYSTEMS)
    if(EXISTS "${root}/${dir}/CMakeLists.txt")
      string(REPLACE "/" "_" bin "${dir}")
      add_subdirectory("${root}/${dir}" "${CMAKE_CURRENT_BINARY_DIR}/${bin}")
    endif()
  endforeach()
endfunction()

# configurator_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable; its cases are discovered when the tests run, and
# every case runs headless (offscreen Qt platform, fixed DPI).
function(configurator_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  if(NOT "platform_testing" IN_LIST T_LIBS AND NOT "GTest::gtest_main" IN_LIST T_LIBS)
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
function(configurator_bench)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark)
  set_property(GLOBAL APPEND PROPERTY CONFIGURATOR_BENCHES ${B_NAME})
endfunction()
