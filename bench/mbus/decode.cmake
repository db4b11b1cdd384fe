# OpenSSL's AES is the peer of the decoder's decryption in this benchmark only.
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
configurator_bench(NAME bench_mbus_decode SOURCES ${CMAKE_CURRENT_LIST_DIR}/DecodeFrameBench.cpp
  LIBS mbus_decode OpenSSL::Crypto)
