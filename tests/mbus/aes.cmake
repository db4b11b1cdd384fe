configurator_test(NAME mbus_aes_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/BlockAESTest.cpp LIBS mbus_aes)
