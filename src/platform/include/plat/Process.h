#pragma once
// Starting other programs and opening documents or URLs with the desktop's default handler.
// Programs are never killed by this layer; their state is asked from the system
// (a program that ends with any exit code, 259 included, counts as ended).
#include <cstdint>
#include <functional>
#include <vector>

#include "plat/String.h"

namespace plat {

enum class TShowMode { Normal, Hidden };

struct TProcessHandle {
    int Pid = 0;
    explicit operator bool() const { return Pid > 0; }
};

// Starts Program with the parameter text, split into arguments at blanks outside double
// quotes ("a b" stays one argument, "" inside quotes is a quote). Hidden programs get their
// standard streams on /dev/null. On failure the handle is empty and Error (when given) holds
// the reason; nothing is thrown.
TProcessHandle StartProgram(const String& Program, const String& Parameters, TShowMode Show,
                            String* Error = nullptr);
std::vector<String> SplitParameters(StringView Parameters);

// True while the program runs. Once it has ended, it is reaped and false stays the answer.
bool IsRunning(TProcessHandle Handle);
// Exit code of an ended program (-1 while it runs or when it was killed by a signal).
int ExitCodeOf(TProcessHandle Handle);
// Polls every PollMs through the platform clock until the program ends or LimitMs have passed;
// true when it ended. No messages are processed meanwhile.
bool WaitForProgram(TProcessHandle Handle, std::uint32_t LimitMs, std::uint32_t PollMs = 10);

// Opens a URL or file with the default handler ("xdg-open" through StartProgram, hidden).
// Tests install a handler that records the target instead. Returns whether the start worked.
using ShellOpenHandler = std::function<bool(const String& Target)>;
bool ShellOpen(const String& Target);
// Installs a handler (an empty one restores the default) and returns the previous one.
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler Handler);

} // namespace plat
