#pragma once
// A lock object of the tree control's own units. It is unrelated to the serial port's
// lock of the same name.
#include "plat/Threads.h"

namespace vtree {

class TCriticalSection {
public:
    TCriticalSection() = default;
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Enter() { FSection.Enter(); }
    void Leave() { FSection.Leave(); }

private:
    plat::TCriticalSection FSection;
};

} // namespace vtree
