# mbus_net: the M-Bus network model with its file M_Bus.xml, and the objects a scan fills.
add_library(mbus_net STATIC
  ${CMAKE_CURRENT_LIST_DIR}/UMBus_Network.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UScan_Results.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UScan_Save.cpp)
target_include_directories(mbus_net PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(mbus_net PUBLIC shell_core platform_xml)
