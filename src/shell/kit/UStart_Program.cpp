#include "UStart_Program.h"

#include <utility>

#include "plat/Clock.h"

using plat::String;
using plat::TProcessHandle;
using plat::TShowMode;

namespace {

TProgram_Runner& Runner()
{
    static TProgram_Runner runner;
    return runner;
}

} // namespace

void Set_Program_Runner(TProgram_Runner runner)
{
    Runner() = std::move(runner);
}

bool Start_Program(const String& NomeSW, const String& Parameter, bool tipo, String* error)
{
    const TProgram_Runner& r = Runner();
    const TShowMode show = tipo ? TShowMode::Hidden : TShowMode::Normal;
    const TProcessHandle handle = r.Start ? r.Start(NomeSW, Parameter, show, error)
                                          : plat::StartProgram(NomeSW, Parameter, show, error);
    if (!handle) return false;
    const std::uint32_t start = plat::GetTickCount();
    for (;;) {
        if (!(r.Running ? r.Running(handle) : plat::IsRunning(handle))) break;
        // Still running at the limit: it is left running and the launcher returns.
        if (plat::GetTickCount() - start >= Start_Program_Limit_Ms) break;
        plat::Sleep(Start_Program_Poll_Ms);
    }
    return true;
}
