#include "SerialRate.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <cerrno>

#include "plat/Serial.h"

// <sys/ioctl.h> would pull the C library's terminal structures in beside the kernel's.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept;

namespace plat {

namespace serial_detail {

int SetArbitraryRate(int fd, std::uint32_t rate)
{
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) return errno;
    t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = rate;
    t.c_ospeed = rate;
    if (ioctl(fd, TCSETS2, &t) != 0) return errno;
    return 0;
}

} // namespace serial_detail

std::uint32_t SerialRateOf(int Fd)
{
    struct termios2 t {};
    if (ioctl(Fd, TCGETS2, &t) != 0) return 0;
    return t.c_ospeed;
}

} // namespace plat
