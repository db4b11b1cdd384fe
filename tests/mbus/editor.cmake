configurator_test(NAME mbus_editor_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MeterBusTest.cpp
  LIBS mbus platform_testing)
