configurator_bench(NAME bench_mbus_net SOURCES ${CMAKE_CURRENT_LIST_DIR}/MBusNetworkBench.cpp LIBS mbus_net)
