# OpenSSL's EVP AES-128-CBC is the peer of the decryption benchmark; it is linked here only.
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
configurator_bench(NAME bench_mbus_aes SOURCES ${CMAKE_CURRENT_LIST_DIR}/BlockAESBench.cpp LIBS mbus_aes OpenSSL::Crypto)
