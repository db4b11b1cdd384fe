#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "plat/Files.h"
#include "plat/Serial.h"
#include "plat/String.h"

namespace plat {

namespace {

namespace fs = std::filesystem;

std::string g_sys_class_tty = "/sys/class/tty";
std::string g_dev_dir = "/dev";

struct Tty {
    int kind;    // 0 ttyS, 1 ttyUSB, 2 ttyACM: the on-board ports come first, as COM1 does
    long number;
    std::string name;
};

bool Parse_Tty_Name(const std::string& name, Tty& tty)
{
    static const char* const prefixes[] = {"ttyS", "ttyUSB", "ttyACM"};
    for (int k = 0; k < 3; ++k) {
        const std::string prefix = prefixes[k];
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
            const std::string digits = name.substr(prefix.size());
            if (digits.size() > 6 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
                return false;
            tty = {k, std::stol(digits), name};
            return true;
        }
    }
    return false;
}

std::string Read_Small_File(const fs::path& p)
{
    std::string bytes;
    if (!ReadFileBytes(Utf8ToString(p.string()), bytes))
        return {};
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == ' '))
        bytes.pop_back();
    return bytes;
}

// A tty has hardware behind it when the kernel bound it to a device. On-board 8250 ports are
// registered whether or not a UART exists; those without one report UART type 0 (unknown).
bool Has_Hardware(const fs::path& entry, const Tty& tty)
{
    std::error_code ec;
    if (!fs::exists(entry / "device", ec))
        return false;
    if (tty.kind != 0)
        return true;
    const std::string type = Read_Small_File(entry / "type");
    if (!type.empty())
        return type != "0";
    // No type attribute: the 8250 platform placeholder driver stands for no UART.
    const fs::path driver = fs::read_symlink(entry / "device" / "driver", ec);
    return ec || driver.filename() != "serial8250";
}

std::vector<Tty> Scan_Ttys()
{
    std::vector<Tty> found;
    std::error_code ec;
    for (fs::directory_iterator it(g_sys_class_tty, ec), end; !ec && it != end; it.increment(ec)) {
        Tty tty;
        if (Parse_Tty_Name(it->path().filename().string(), tty) && Has_Hardware(it->path(), tty))
            found.push_back(tty);
    }
    std::sort(found.begin(), found.end(), [](const Tty& a, const Tty& b) {
        return a.kind != b.kind ? a.kind < b.kind : a.number < b.number;
    });
    return found;
}

} // namespace

std::vector<std::string> ListSerialDevices()
{
    std::vector<std::string> devices;
    for (const Tty& tty : Scan_Ttys())
        devices.push_back(g_dev_dir + "/" + tty.name);
    return devices;
}

void SetSerialScanRoots(const std::string& SysClassTty, const std::string& DevDir)
{
    g_sys_class_tty = SysClassTty.empty() ? "/sys/class/tty" : SysClassTty;
    g_dev_dir = DevDir.empty() ? "/dev" : DevDir;
}

} // namespace plat
