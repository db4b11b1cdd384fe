# The serial port component on the platform's terminal layer; "COMn" names the n-th port
# of the platform's port scan.
add_library(mbus_comm STATIC ${CMAKE_CURRENT_LIST_DIR}/CommInt.cpp)
target_include_directories(mbus_comm PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(mbus_comm PUBLIC platform_serial platform_rtl)
