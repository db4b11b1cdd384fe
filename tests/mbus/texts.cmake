configurator_test(NAME mbus_texts_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TextsTest.cpp
  LIBS shell_core)
