# AES-128 block cipher, CBC stream decryption and CMAC for the wireless telegram decoder.
add_library(mbus_aes STATIC ${CMAKE_CURRENT_LIST_DIR}/BlockAES.cpp)
target_include_directories(mbus_aes PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(mbus_aes PUBLIC platform_rtl)
