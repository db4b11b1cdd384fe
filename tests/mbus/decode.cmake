configurator_test(NAME mbus_decode_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DecodeRecordsTest.cpp ${CMAKE_CURRENT_LIST_DIR}/DecodeWirelessTest.cpp
  LIBS mbus_decode)
# The encrypted wireless fixtures come from an independent encryptor: regenerated and compared,
# and the mode 7 session key and plaintext checked with openssl.
add_test(NAME mbus_wmbus_fixtures COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/fixtures/check_wmbus_fixtures.sh)
set_tests_properties(mbus_wmbus_fixtures PROPERTIES SKIP_RETURN_CODE 77)
