#pragma once
// The whole program started headless in a temporary program folder: the 40 windows created
// as the program entry creates them, freed again at the end of each test.
#include <string>
#include <vector>

#include "ProgramWindows.h"
#include "ShellTestSupport.h"
#include "UComon.h"
#include "UTralvexeFirmWare.h"
#include "plat/Files.h"
#include "plat/Testing.h"

namespace mainwin_test {

namespace pt = plat::testing;

inline std::string Utf8(const plat::String& s)
{
    return plat::StringToUtf8(s);
}

// The values a previous test (or the program) may have left in the shared globals.
inline void Reset_Globals()
{
    Project_Name.clear();
    Project_Dir.clear();
    Language_Name = u"English";
    Enable_Internet = false;
    Enable_Update = false;
    Enable_Jump_Field_Tables = false;
    Double_Click_Auto_Size = false;
    Last_IP_Address = u"192.168.2.205";
}

class ProgramTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Reset_Globals();
        plat::SetProgramDirOverride(dir.upath());
    }
    void TearDown() override
    {
        Free_Program_Windows();
        plat::SetProgramDirOverride(plat::String());
        Set_Set_Lang_Observer(nullptr);
        pt::UiTest::TearDown();
    }
    // Starts the program: all windows, the main window first.
    TZEVorezudaReruDure& Start()
    {
        Create_Program_Windows();
        return *ZEVorezudaReruDure;
    }
    std::string Path(const std::string& rel) const { return dir / rel; }

    shelltest::TempDir dir;
};

} // namespace mainwin_test
