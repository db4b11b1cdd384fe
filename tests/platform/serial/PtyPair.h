#pragma once
// A pseudo-terminal pair: the port under test opens the slave path, the test plays the
// device on the master descriptor.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <string>

struct PtyPair {
    int master = -1;
    std::string slave;

    PtyPair()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0) {
            char name[128] = {};
            if (::ptsname_r(master, name, sizeof name) == 0) slave = name;
        }
    }
    ~PtyPair()
    {
        if (master >= 0) ::close(master);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    void Send(const std::string& bytes) const { (void)!::write(master, bytes.data(), bytes.size()); }

    // What the port sent, waiting up to a second for Count bytes.
    std::string Receive(std::size_t count) const
    {
        std::string got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (got.size() < count && std::chrono::steady_clock::now() < end) {
            pollfd p {master, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            char buf[256];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0) got.append(buf, static_cast<std::size_t>(n));
        }
        return got;
    }
};
