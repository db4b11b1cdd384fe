#include "plat/Process.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "plat/Clock.h"
#include "plat/Files.h"

extern char** environ;

namespace plat {

namespace {

std::mutex g_processMutex;
// Exit status of the programs started here that have been reaped (pid -> wait status).
std::map<int, int> g_ended;

int Spawn(const std::string& program, const std::vector<std::string>& args, TShowMode show, String* error)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (show == TShowMode::Hidden) {
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // The child starts with default signal handling whatever this process set up.
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attr, &all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    pid_t pid = 0;
    const int rc = program.find('/') == std::string::npos
                       ? posix_spawnp(&pid, program.c_str(), &actions, &attr, argv.data(), environ)
                       : posix_spawn(&pid, program.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        if (error)
            *error = Utf8ToString(std::strerror(rc));
        return 0;
    }
    return pid;
}

} // namespace

std::vector<String> SplitParameters(StringView p)
{
    std::vector<String> out;
    std::size_t i = 0;
    while (i < p.size()) {
        while (i < p.size() && (p[i] == u' ' || p[i] == u'\t'))
            ++i;
        if (i >= p.size())
            break;
        String arg;
        bool quoted = false;
        while (i < p.size() && (quoted || (p[i] != u' ' && p[i] != u'\t'))) {
            if (p[i] == u'"') {
                if (quoted && i + 1 < p.size() && p[i + 1] == u'"') {
                    arg += u'"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg += p[i++];
        }
        out.push_back(std::move(arg));
    }
    return out;
}

TProcessHandle StartProgram(const String& Program, const String& Parameters, TShowMode Show, String* Error)
{
    if (Program.empty()) {
        if (Error)
            *Error = u"No program given";
        return {};
    }
    std::vector<std::string> args;
    for (const String& a : SplitParameters(Parameters))
        args.push_back(NativePath(a));
    std::lock_guard lock(g_processMutex);
    const int pid = Spawn(NativePath(Program), args, Show, Error);
    if (pid > 0)
        g_ended.erase(pid);  // a reused id of an earlier program
    return TProcessHandle{pid};
}

bool IsRunning(TProcessHandle Handle)
{
    if (!Handle)
        return false;
    std::lock_guard lock(g_processMutex);
    if (g_ended.count(Handle.Pid))
        return false;
    int status = 0;
    pid_t r;
    do {
        r = ::waitpid(Handle.Pid, &status, WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == 0)
        return true;
    // Ended now, or not a child of ours (then it is not running as far as we can tell).
    g_ended[Handle.Pid] = r == Handle.Pid ? status : -1;
    return false;
}

int ExitCodeOf(TProcessHandle Handle)
{
    if (!Handle || IsRunning(Handle))
        return -1;
    std::lock_guard lock(g_processMutex);
    const auto it = g_ended.find(Handle.Pid);
    if (it == g_ended.end() || it->second < 0 || !WIFEXITED(it->second))
        return -1;
    return WEXITSTATUS(it->second);
}

bool WaitForProgram(TProcessHandle Handle, std::uint32_t LimitMs, std::uint32_t PollMs)
{
    const std::uint32_t start = GetTickCount();
    while (IsRunning(Handle)) {
        if (GetTickCount() - start >= LimitMs)
            return false;
        Sleep(PollMs);
    }
    return true;
}

namespace {

std::mutex g_shellMutex;
ShellOpenHandler g_shellHandler;

bool DefaultShellOpen(const String& target)
{
    String error;
    const int pid = Spawn("xdg-open", {NativePath(target)}, TShowMode::Hidden, &error);
    if (pid <= 0)
        return false;
    // Nobody polls the opener: reap it in the background so it does not stay a zombie.
    std::thread([pid] {
        int status;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

} // namespace

bool ShellOpen(const String& Target)
{
    ShellOpenHandler handler;
    {
        std::lock_guard lock(g_shellMutex);
        handler = g_shellHandler;
    }
    return handler ? handler(Target) : DefaultShellOpen(Target);
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler Handler)
{
    std::lock_guard lock(g_shellMutex);
    ShellOpenHandler prev = std::move(g_shellHandler);
    g_shellHandler = std::move(Handler);
    return prev;
}

} // namespace plat
