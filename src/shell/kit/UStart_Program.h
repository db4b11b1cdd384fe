#pragma once
// Starting an external program (the update tools) and waiting for it. The wait blocks the
// caller without processing messages, as the update window relies on; the runner can be
// replaced so that tests decide how long a program lives.
#include <cstdint>
#include <functional>

#include "plat/Process.h"
#include "plat/String.h"

// Runs a program and waits for it without processing messages: polls every 10 ms until it
// ends or 150000 ms have passed (the program is then left running). `hidden` starts it
// without a window. False when the program could not be started, with the reason in
// *error; the caller decides what to tell the user.
bool Start_Program(const plat::String& NomeSW, const plat::String& Parameter, bool tipo,
                   plat::String* error = nullptr);
constexpr std::uint32_t Start_Program_Limit_Ms = 150000;
constexpr std::uint32_t Start_Program_Poll_Ms = 10;

// How Start_Program starts a program and asks whether it still runs; tests put in programs
// whose life they decide. An empty runner restores the system's.
struct TProgram_Runner {
    std::function<plat::TProcessHandle(const plat::String& program, const plat::String& parameters,
                                       plat::TShowMode show, plat::String* error)>
        Start;
    std::function<bool(plat::TProcessHandle handle)> Running;
};
void Set_Program_Runner(TProgram_Runner runner);
