configurator_test(NAME mbus_vif_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DecodeVIFTest.cpp
  LIBS mbus_vif)
