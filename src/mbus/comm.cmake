# The serial port component on the platform's terminal layer; "COMn" names come from the
# shell's port numbering.
add_library(mbus_comm STATIC ${CMAKE_CURRENT_LIST_DIR}/CommInt.cpp)
target_include_directories(mbus_comm PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(mbus_comm PUBLIC platform_serial platform_rtl shell_core)
