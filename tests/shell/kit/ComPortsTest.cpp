// Serial ports are listed from the kernel's tty classes, never by opening devices: a fake
// sysfs tree stands in for the machine.
#include <gtest/gtest.h>

#include <filesystem>

#include "ShellTestSupport.h"
#include "UComon.h"

using shelltest::TempDir;
using shelltest::WriteBytes;

namespace {

class ComPortsTest : public ::testing::Test {
protected:
    void TearDown() override { Set_COM_Port_Roots(u"", u""); }

    // One /sys/class/tty entry: a device link when bound to hardware, an optional UART type
    // and an optional driver name.
    void Tty(const std::string& name, bool device, const char* type = nullptr, const char* driver = nullptr)
    {
        const std::string dir = sys / ("tty/" + name);
        std::filesystem::create_directories(dir);
        if (device) {
            std::filesystem::create_directories(dir + "/device");
            if (driver) {
                std::filesystem::create_directories(sys / (std::string("drivers/") + driver));
                std::filesystem::create_symlink(sys / (std::string("drivers/") + driver), dir + "/device/driver");
            }
        }
        if (type)
            WriteBytes(dir + "/type", std::string(type) + "\n");
    }
    void Point() { Set_COM_Port_Roots(plat::Utf8ToString(sys / "tty"), u"/devices"); }

    TempDir sys;
};

TEST_F(ComPortsTest, OnlyPortsWithHardwareInStableOrder)
{
    Tty("ttyS0", true, "4");
    Tty("ttyS1", true, "0");              // 8250 slot without a UART
    Tty("ttyS2", false, "4");             // not bound to a device
    Tty("ttyS10", true, "4");
    Tty("ttyS3", true, nullptr, "serial8250");  // placeholder driver, no type attribute
    Tty("ttyS4", true, nullptr, "serial");
    Tty("ttyUSB1", true);
    Tty("ttyUSB0", true);
    Tty("ttyACM0", true);
    Tty("ttyACM1", false);
    Tty("tty0", true);
    Tty("ttyprintk", true);
    Tty("ttySx", true, "4");
    Point();

    const std::vector<plat::String> expected = {u"1", u"2", u"3", u"4", u"5", u"6"};
    EXPECT_EQ(List_COM_Ports(), expected);
    const char* devices[] = {"ttyS0", "ttyS4", "ttyS10", "ttyUSB0", "ttyUSB1", "ttyACM0"};
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(plat::StringToUtf8(COM_Port_Device(n)), std::string("/devices/") + devices[n - 1]) << n;
    EXPECT_TRUE(COM_Port_Device(0).empty());
    EXPECT_TRUE(COM_Port_Device(7).empty());
}

TEST_F(ComPortsTest, NoSerialPortsGiveAnEmptyList)
{
    Tty("ttyS0", true, "0");
    Tty("ttyS1", true, "0");
    Tty("tty1", true);
    Point();
    EXPECT_TRUE(List_COM_Ports().empty());

    Set_COM_Port_Roots(plat::Utf8ToString(sys / "missing"), u"/dev");
    EXPECT_TRUE(List_COM_Ports().empty());
}

} // namespace
