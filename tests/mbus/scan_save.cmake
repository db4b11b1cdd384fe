configurator_test(NAME mbus_scan_save_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ScanSaveTest.cpp
  LIBS mbus_net)
