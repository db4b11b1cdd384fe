configurator_test(NAME mbus_net_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MBusNetworkTest.cpp ${CMAKE_CURRENT_LIST_DIR}/ScanResultTest.cpp
  LIBS mbus_net)
