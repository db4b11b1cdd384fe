configurator_bench(NAME bench_mbus_aes SOURCES ${CMAKE_CURRENT_LIST_DIR}/BlockAESBench.cpp LIBS mbus_aes)
