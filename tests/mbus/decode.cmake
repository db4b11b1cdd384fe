configurator_test(NAME mbus_decode_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DecodeRecordsTest.cpp ${CMAKE_CURRENT_LIST_DIR}/DecodeWirelessTest.cpp
  LIBS mbus_decode)
# The encrypted wireless fixtures come from an independent encryptor: regenerated and compared,
# and the mode 7 session key and plaintext checked with openssl.
add_test(NAME mbus_wmbus_fixtures COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/fixtures/check_wmbus_fixtures.sh)
set_tests_properties(mbus_wmbus_fixtures PROPERTIES SKIP_RETURN_CODE 77)
# Random-mutation run of the decoders' fuzz entry over the fixtures (part of every test run).
configurator_test(NAME mbus_decode_mutation_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DecodeMutationTest.cpp ${CMAKE_CURRENT_LIST_DIR}/fuzz/MBusDecodeFuzz.cpp
  LIBS mbus_decode)
target_include_directories(mbus_decode_mutation_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
# With clang the same entry is a libFuzzer target, run for a bounded number of inputs; the
# decoder sources are compiled into it so that the fuzzer sees their coverage.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  get_target_property(mbus_decode_sources mbus_decode SOURCES)
  get_target_property(mbus_vif_sources mbus_vif SOURCES)
  add_executable(mbus_decode_fuzzer ${CMAKE_CURRENT_LIST_DIR}/fuzz/MBusDecodeFuzz.cpp
    ${mbus_decode_sources} ${mbus_vif_sources})
  target_compile_definitions(mbus_decode_fuzzer PRIVATE MBUS_LIBFUZZER)
  target_compile_options(mbus_decode_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(mbus_decode_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
  target_include_directories(mbus_decode_fuzzer PRIVATE ${CMAKE_SOURCE_DIR}/src/mbus)
  target_link_libraries(mbus_decode_fuzzer PRIVATE mbus_aes mbus_net)
  add_test(NAME mbus_decode_fuzzer COMMAND mbus_decode_fuzzer -runs=50000 -seed=1 -max_len=512)
endif()
