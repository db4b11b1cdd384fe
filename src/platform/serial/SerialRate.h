#pragma once
// Arbitrary line rates go through the kernel's second terminal structure, whose header cannot
// share a translation unit with <termios.h>.
#include <cstdint>

namespace plat::serial_detail {

// 0 or errno.
int SetArbitraryRate(int fd, std::uint32_t rate);

} // namespace plat::serial_detail
