# mbus_decode: wired RSP_UD frames, data records and wireless telegrams turned into scan results.
add_library(mbus_decode STATIC
  ${CMAKE_CURRENT_LIST_DIR}/UDecode_Records.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UDecode_Wireless.cpp)
target_include_directories(mbus_decode PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(mbus_decode PUBLIC mbus_vif mbus_aes)
