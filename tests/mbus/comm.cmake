configurator_test(NAME mbus_comm_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/CommTest.cpp LIBS mbus_comm platform_testing)
