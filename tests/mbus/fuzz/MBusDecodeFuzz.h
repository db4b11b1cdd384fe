#pragma once
// One fuzz entry for both M-Bus decoders: the input is handed, as exact-size heap copies, to
// the wired frame decoder (as received and with its L fields, checksum and stop byte made to
// pass), to the record walk in both idle-filler modes, and to the wireless decoder for both
// radio modules, once as a new meter and once as a known meter with a key, so that the mode 5
// and 7 paths run. Every call must end with an outcome and store only records made of bytes of
// the input (as the decoder left it after decrypting in place).
#include <cstddef>
#include <cstdint>
#include <string>

// Empty when every call held to that; otherwise the first fault found.
std::string Fuzz_MBus_Decoders(const std::uint8_t* Data, std::size_t Size);
