# pugixml writing the same document directly is the peer of the network writer here.
configurator_bench(NAME bench_mbus_scan_save SOURCES ${CMAKE_CURRENT_LIST_DIR}/ScanSaveBench.cpp
  LIBS mbus_net pugixml::pugixml)
