# mbus_vif: a data record's VIF and VIFE chain turned into quantity, texts and scaled value.
add_library(mbus_vif STATIC
  ${CMAKE_CURRENT_LIST_DIR}/UDecode_VIF.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UDecode_VIF_Tables.cpp)
target_include_directories(mbus_vif PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(mbus_vif PUBLIC mbus_net)
