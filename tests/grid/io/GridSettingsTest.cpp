// Column sizes in an INI file and in the key store, and the column layout as one text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "../GridInvariants.h"
#include "ExtGrid.h"
#include "plat/Files.h"
#include "plat/Forms.h"
#include "plat/IniFiles.h"
#include "plat/Registry.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "TestSupport.h"

using namespace grid;
using plat::String;
namespace pt = plat::testing;

namespace {

std::string U8(const String& s) { return plat::StringToUtf8(s); }

class GridSettingsTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        const char* old = std::getenv("XDG_CONFIG_HOME");
        hadConfig = old != nullptr;
        if (old) oldConfig = old;
        ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        form = std::make_unique<plat::TForm>(nullptr);
        grid = new TExtStringGrid(form.get());
        grid->SetParent(form.get());
        grid->SetColCount(3);
        grid->SetFixedCols(0);
        for (int c = 0; c < 3; ++c) grid->SetColWidths(c, 64 + 16 * (c == 1));
    }
    void TearDown() override {
        form.reset();
        if (hadConfig) ::setenv("XDG_CONFIG_HOME", oldConfig.c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        pt::UiTest::TearDown();
    }
    void Check() {
        const String err = grid::testing::CheckGridInvariants(*grid);
        EXPECT_TRUE(err.empty()) << U8(err);
    }
    testsupport::TempDir tmp;
    const std::string dir = tmp.native();
    std::string oldConfig;
    bool hadConfig = false;
    std::unique_ptr<plat::TForm> form;
    TExtStringGrid* grid = nullptr;
};

TEST_F(GridSettingsTest, DefaultColumnSizeTouchesNoStore) {
    grid->SaveColSizes();
    grid->LoadColSizes();
    grid->ColumnSize()->Key = u"Software\\Grid";  // still no section
    grid->SaveColSizes();
    EXPECT_FALSE(plat::FileExists(plat::RegistryFileName()));
    EXPECT_FALSE(plat::DirectoryExists(plat::Utf8ToString(dir + "/config")));
}

TEST_F(GridSettingsTest, ColumnSizesInTheKeyStoreStayIntegers) {
    TColumnSize* size = grid->ColumnSize();
    size->Key = u"Software\\Grid";
    size->Section = u"Sizes";
    grid->SaveColSizes();
    plat::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"Software\\Grid\\Sizes", false));
    EXPECT_EQ(reg.GetDataType(u"Col1"), plat::rdInteger);
    EXPECT_EQ(reg.ReadInteger(u"Col1"), 80);
    // A value kept as text is read when it is a number and stays text when written.
    reg.WriteString(u"Col0", u"90");
    reg.WriteString(u"Col2", u"wide");
    grid->LoadColSizes();
    EXPECT_EQ(grid->ColWidths(0), 90);
    EXPECT_EQ(grid->ColWidths(1), 80);
    EXPECT_EQ(grid->ColWidths(2), 64);
    grid->SetColWidths(0, 70);
    grid->SaveColSizes();
    EXPECT_EQ(reg.GetDataType(u"Col0"), plat::rdString);
    EXPECT_EQ(reg.ReadString(u"Col0"), u"70");
}

TEST_F(GridSettingsTest, ColumnSizesInAnIniFile) {
    TColumnSize* size = grid->ColumnSize();
    size->Location = clIniFile;
    size->Key = plat::Utf8ToString(dir + "/sizes.ini");
    size->Section = u"Grid";
    grid->LoadColSizes();
    EXPECT_TRUE(plat::FileExists(size->Key)) << "a load writes the file back, creating it";
    EXPECT_EQ(grid->ColWidths(1), 80);
    grid->SetColWidths(2, 33);
    grid->SaveColSizes();
    EXPECT_EQ(plat::TIniFile(size->Key).ReadInteger(u"Grid", u"Col2", 0), 33);
    grid->SetColWidths(2, 10);
    grid->LoadColSizes();
    EXPECT_EQ(grid->ColWidths(2), 33);
}

TEST_F(GridSettingsTest, ColumnStatesText) {
    EXPECT_EQ(U8(grid->ColumnStatesToString()), "3#64,80,64#0,1,2#1,1,1");
    for (int c = 0; c < 3; ++c) grid->SetCells(c, 1, u"c" + plat::IntToStr(c));
    grid->HideColumn(1);
    const String hidden = grid->ColumnStatesToString();
    EXPECT_EQ(U8(hidden), "3#64,64,64#0,1,2#1,0,1");
    grid->UnHideColumnsAll();
    grid->StringToColumnStates(hidden);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_TRUE(grid->IsHiddenColumn(1));
    EXPECT_EQ(grid->Cells(grid->RealColIndex(1), 1), u"c2");  // display column 1
    Check();
    // A stored order moves the columns: position i shows the column order[i].
    grid->UnHideColumnsAll();
    grid->StringToColumnStates(u"3#10,20,30#2,0,1#1,1,1");
    EXPECT_EQ(grid->Cells(0, 1), u"c2");
    EXPECT_EQ(grid->Cells(1, 1), u"c0");
    EXPECT_EQ(grid->Cells(2, 1), u"c1");
    EXPECT_EQ(grid->ColWidths(1), 20);
    Check();
    // Texts that are not complete layouts change nothing.
    const String before = grid->ColumnStatesToString();
    for (const char16_t* bad : {u"", u"abc", u"3#64,80#0,1,2#1,1,1", u"3#64,80,64#0,1#1,1", u"3#64,80,64#0,0,1#1,1,1",
                                u"3#64,80,64#0,1,2#1,2,1", u"x#1#2#3", u"3#64,80,64#0,1,2#0,0,0"}) {
        SCOPED_TRACE(U8(bad));
        grid->StringToColumnStates(bad);
        EXPECT_EQ(U8(grid->ColumnStatesToString()), U8(before));
    }
    Check();
}

} // namespace
