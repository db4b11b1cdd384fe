// Column sizes in an INI file and in the key store, and the column layout as one text.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../GridInvariants.h"
#include "ExtCGrid.h"
#include "ExtGrid.h"
#include "ExtGridSettings.h"
#include "ExtGridSortSettings.h"
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

// Python's configparser reading an INI file: section -> key -> value; rc 127 without python3.
using TIniValues = std::map<std::string, std::map<std::string, std::string>>;
TIniValues ReadIniWithPython(const String& File, int& rc) {
    const std::string cmd =
        "python3 " + std::string(TEST_SOURCE_DIR) + "/ini_oracle.py '" + U8(File) + "' 2>/dev/null";
    TIniValues values;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) {
        rc = -1;
        return values;
    }
    std::string out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int status = pclose(p);
    rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::size_t at = 0;
    while (at < out.size()) {
        std::size_t end = out.find('\n', at);
        if (end == std::string::npos) end = out.size();
        const std::string line = out.substr(at, end - at);
        at = end + 1;
        const std::size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1);
        if (t1 == std::string::npos || t2 == std::string::npos) continue;
        values[line.substr(0, t1)][line.substr(t1 + 1, t2 - t1 - 1)] = line.substr(t2 + 1);
    }
    return values;
}

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

    String File(const char* Name) const { return plat::Utf8ToString(dir + "/" + Name); }
    std::vector<String> Row1(TExtStringGrid& g) {
        std::vector<String> r;
        for (int c = 0; c < g.ColCount(); ++c) r.push_back(g.Cells(g.RealColIndex(c), 1));  // shown order
        return r;
    }
    std::vector<int> Order(TExtStringGrid& g) {
        std::vector<int> r;
        for (int i = 0; i < g.ColumnOrder()->Count(); ++i) r.push_back(g.ColumnOrder()->GetInteger(i));
        return r;
    }
    // A grid of four columns "c0" .. "c3" in row 1, order list filled as after loading.
    TExtStringGrid* FourColumns() {
        auto* g = new TExtStringGrid(form.get());
        g->SetParent(form.get());
        g->SetColCount(4);
        g->SetFixedCols(0);
        for (int c = 0; c < 4; ++c) g->SetCells(c, 1, u"c" + plat::IntToStr(c));
        g->SetColumnOrder();
        g->ColumnSize()->Key = u"Software\\Grid";
        g->ColumnSize()->Section = u"Positions";
        return g;
    }
};

TEST_F(GridSettingsTest, DefaultColumnSizeTouchesNoStore) {
    grid->SetColumnOrder();
    grid->SaveColSizes();
    grid->LoadColSizes();
    grid->SaveColPositions();
    grid->LoadColPositions();
    grid->ColumnSize()->Key = u"Software\\Grid";  // still no section
    grid->SaveColSizes();
    grid->SaveColPositions();
    grid->ColumnSize()->Key.clear();
    grid->ColumnSize()->Section = u"Sizes";  // no key
    grid->ColumnSize()->Save = true;
    grid->SaveColPositions();
    grid->LoadColPositions();
    {
        // A grid created, loaded and destroyed with Save on but no key.
        struct TLoadedGrid : TExtStringGrid {
            using TExtStringGrid::Loaded;
            using TExtStringGrid::TExtStringGrid;
        };
        auto* g = new TLoadedGrid(form.get());
        g->ColumnSize()->Save = true;
        g->SetParent(form.get());
        g->Loaded();
        delete g;
    }
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

TEST_F(GridSettingsTest, ColumnPositionsRoundTripThroughTheKeyStore) {
    TExtStringGrid* a = FourColumns();
    a->MoveColumn(0, 2);
    ASSERT_EQ(Row1(*a), (std::vector<String>{u"c1", u"c2", u"c0", u"c3"}));
    ASSERT_EQ(Order(*a), (std::vector<int>{1, 2, 0, 3}));
    a->SaveColPositions();
    plat::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"Software\\Grid\\Positions", false));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(reg.GetDataType(u"Pos" + plat::IntToStr(i)), plat::rdInteger);
        EXPECT_EQ(reg.ReadInteger(u"Pos" + plat::IntToStr(i)), Order(*a)[static_cast<std::size_t>(i)]);
    }

    // A fresh grid with its last column hidden takes the order and keeps the column hidden.
    TExtStringGrid* b = FourColumns();
    b->HideColumn(3);
    b->LoadColPositions();
    EXPECT_EQ(Order(*b), (std::vector<int>{1, 2, 0, 3}));
    EXPECT_TRUE(b->IsHiddenColumn(3));
    EXPECT_EQ(b->ColCount(), 3);
    EXPECT_EQ(Row1(*b), (std::vector<String>{u"c1", u"c2", u"c0"}));
    const String err = grid::testing::CheckGridInvariants(*b);
    EXPECT_TRUE(err.empty()) << U8(err);

    // Stored orders that miss a column, name one twice or lie outside change nothing.
    struct Case {
        const char* what;
        std::vector<int> stored;  // -2: value missing
    };
    const Case cases[] = {
        {"no Pos0", {-2, 0, 1, 2}},
        {"a missing entry", {1, 2, -2, 3}},
        {"a column twice", {1, 1, 0, 3}},
        {"beyond the columns", {1, 2, 0, 7}},
        {"one entry short", {1, 0, -1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reg.DeleteKey(u"\\Software\\Grid\\Positions");
        ASSERT_TRUE(reg.OpenKey(u"Software\\Grid\\Positions", true));
        for (std::size_t i = 0; i < c.stored.size(); ++i)
            if (c.stored[i] != -2) reg.WriteInteger(u"Pos" + plat::IntToStr(static_cast<int>(i)), c.stored[i]);
        TExtStringGrid* g = FourColumns();
        g->HideColumn(1);
        g->LoadColPositions();
        EXPECT_EQ(Row1(*g), (std::vector<String>{u"c0", u"c2", u"c3"}));
        EXPECT_EQ(Order(*g), (std::vector<int>{0, 1, 2, 3}));
        EXPECT_TRUE(g->IsHiddenColumn(1));
    }
    // An empty order list saves no position.
    reg.DeleteKey(u"\\Software\\Grid\\Positions");
    TExtStringGrid* empty = FourColumns();
    empty->ColumnOrder()->Clear();
    empty->SaveColPositions();
    ASSERT_TRUE(reg.OpenKey(u"Software\\Grid\\Positions", true));
    EXPECT_FALSE(reg.ValueExists(u"Pos0"));
}

TEST_F(GridSettingsTest, ColumnGridPositionsFollowTheLocation) {
    auto g = std::make_unique<TExtColumnGrid>(form.get());
    g->SetParent(form.get());
    g->SetColCount(3);
    g->SetFixedCols(0);
    for (int i = 0; i < 3; ++i) g->Columns()->Items(i)->SetHeader(u"H" + plat::IntToStr(i));
    g->SetOrganization();
    g->SetColumnOrder();
    g->MoveColumn(0, 1);
    TColumnSize* size = g->ColumnSize();
    size->Key = File("cols.ini");
    size->Section = u"Cols";
    size->Location = clIniFile;
    g->SaveColPositions();
    const plat::TIniFile ini(size->Key);
    EXPECT_TRUE(ini.ValueExists(u"Cols", u"CP0"));
    EXPECT_FALSE(ini.ValueExists(u"Cols", u"Pos0"));
    EXPECT_FALSE(plat::FileExists(plat::RegistryFileName()));

    size->Key = u"Software\\Cols";
    size->Location = clRegistry;
    g->SaveColPositions();
    plat::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"Software\\Cols\\Cols", false));
    EXPECT_EQ(reg.ReadInteger(u"Pos0"), 1);
    EXPECT_EQ(reg.ReadInteger(u"Pos1"), 0);
    EXPECT_FALSE(reg.ValueExists(u"CP0"));
}

// ---- visual properties -----------------------------------------------------------------------

std::string ReadBytes(const String& File) {
    std::string b;
    EXPECT_TRUE(plat::ReadFileBytes(File, b)) << U8(File);
    return b;
}

String GoldenFile() { return plat::Utf8ToString(std::string(TEST_SOURCE_DIR) + "/visual_props.golden"); }

// The golden file is what a grid with these settings writes.
void SetGoldenLook(TExtStringGrid& g) {
    g.SetColor(0x00123456);
    g.HintColor = plat::clInfoBk;
    g.URLShowInText = true;
    g.Font()->SetName(u"Courier New");
    g.Font()->SetSize(11);
    g.Font()->SetStyle({plat::fsBold, plat::fsStrikeOut});
    g.Font()->SetColor(plat::clWindowText);
    g.Balloon().Transparency = 40;
    g.Bands()->SetActive(true);
    g.ControlLook()->ControlStyle = csFlat;
    g.ControlLook()->CheckSize = 13;
    g.Grouping()->HeaderLineWidth = 3;
    g.BackGround()->SetDisplay(bdGradientVert);
    g.BackGround()->SetCells(bcAll);
    g.BackGround()->SetTop(-5);
}

TEST_F(GridSettingsTest, VisualPropertiesAgainstAGoldenFileAndBack) {
    SetGoldenLook(*grid);
    const String f = File("look.txt");
    grid->SaveVisualProps(f);
    const std::string golden = ReadBytes(GoldenFile());
    const std::string written = ReadBytes(f);
    EXPECT_EQ(written, golden) << written;

    // A grid of other settings takes every one of them back and writes the same file.
    auto* other = new TExtStringGrid(form.get());
    other->SetParent(form.get());
    other->LoadVisualProps(GoldenFile());
    EXPECT_EQ(other->Color(), 0x00123456);
    EXPECT_EQ(U8(other->Font()->Name()), "Courier New");
    EXPECT_EQ(other->Font()->Size(), 11);
    EXPECT_TRUE(other->Font()->Style() == (plat::TFontStyles{plat::fsBold, plat::fsStrikeOut}));
    EXPECT_TRUE(other->URLShowInText);
    EXPECT_EQ(other->ControlLook()->ControlStyle, csFlat);
    EXPECT_EQ(other->BackGround()->Display(), bdGradientVert);
    EXPECT_EQ(other->BackGround()->Top(), -5);
    const String again = File("again.txt");
    other->SaveVisualProps(again);
    EXPECT_EQ(ReadBytes(again), golden);
}

TEST_F(GridSettingsTest, VisualPropertiesReadingRules) {
    const String f = File("rules.txt");
    auto load = [&](const std::string& text) {
        ASSERT_TRUE(plat::WriteFileAtomic(f, text));
        grid->LoadVisualProps(f);
    };
    // Names in any case, the first line of a name wins, colours by name in any case or number;
    // a missing "Color" is "not set"; enumerations in any case, unknown ones change nothing.
    const std::string base = ReadBytes(GoldenFile());
    ASSERT_EQ(base.rfind("Color=$00123456\r\n", 0), 0u);
    load("hintcolor=clred\r\nSelectionColor=255\r\nURLShow=True\r\nControlLook.ControlStyle=CSZOD\r\n"
         "BackGround.Cells=bcNowhere\r\n" + base.substr(base.find("\r\n") + 2));
    EXPECT_EQ(grid->Color(), plat::clNone);
    EXPECT_EQ(grid->HintColor, plat::clRed);
    EXPECT_EQ(grid->SelectionColor(), 255);
    EXPECT_TRUE(grid->URLShow());
    EXPECT_EQ(grid->ControlLook()->ControlStyle, csZOD);
    EXPECT_EQ(grid->BackGround()->Cells(), bcNormal);  // "bcNowhere" came first and changed nothing

    // A bad "Font.Size" ends the load with the conversion error: the lines before it are
    // applied, the ones after are not.
    grid->SetActiveCellColor(0x000001);
    std::string bad = base;
    bad.replace(bad.find("Font.Size=11"), 12, "Font.Size=x1");
    bad.replace(bad.find("HintColor=clInfoBk"), 18, "HintColor=$00000777");
    ASSERT_TRUE(plat::WriteFileAtomic(f, bad));
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EConvertError>([&] { grid->LoadVisualProps(f); },
                                                           u"'x1' is not a valid integer value"));
    EXPECT_EQ(grid->HintColor, 0x777);
    EXPECT_EQ(grid->ActiveCellColor(), 0x000001);
    // Without the line at all the size is an empty number.
    std::string noSize = base;
    noSize.erase(noSize.find("Font.Size=11\r\n"), 14);
    ASSERT_TRUE(plat::WriteFileAtomic(f, noSize));
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EConvertError>([&] { grid->LoadVisualProps(f); },
                                                           u"'' is not a valid integer value"));

    // Files that cannot be opened or created change nothing.
    const TColor before = grid->Color();
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EFileError>([&] { grid->LoadVisualProps(File("none.txt")); },
                                                        u"Cannot open file " + File("none.txt")));
    ASSERT_TRUE(plat::CreateDir(File("adir")));
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EFileError>([&] { grid->SaveVisualProps(File("adir")); },
                                                        u"Cannot Create " + File("adir")));
    EXPECT_EQ(grid->Color(), before);
}

TEST_F(GridSettingsTest, LookIsAppliedInItsPlace) {
    // Look comes after the selection colours (which it overrides) and before the search footer
    // and grid line colours (which override it).
    std::string text = ReadBytes(GoldenFile());
    auto set = [&](const std::string& name, const std::string& value) {
        const std::size_t at = text.find("\r\n" + name + "=") + 2;
        ASSERT_NE(at, std::string::npos + 2) << name;
        const std::size_t end = text.find("\r\n", at);
        text.replace(at, end - at, name + "=" + value);
    };
    set("SelectionColor", "$00000011");
    set("Look", "glStandard");
    set("SearchFooter.Color", "$00000022");
    set("GridLineColor", "$00000033");
    set("GridFixedLineColor", "$00000044");
    const String f = File("look.txt");
    ASSERT_TRUE(plat::WriteFileAtomic(f, text));
    ASSERT_NE(grid->Look(), glStandard);
    grid->LoadVisualProps(f);
    EXPECT_EQ(grid->Look(), glStandard);
    EXPECT_EQ(grid->SelectionColor(), plat::clHighlight);
    EXPECT_EQ(grid->SearchFooter()->Color(), 0x22);
    EXPECT_EQ(grid->GridLineColor(), 0x33);
    EXPECT_EQ(grid->GridFixedLineColor(), 0x44);
}

// ---- print settings --------------------------------------------------------------------------

TEST_F(GridSettingsTest, PrintSettingsDefaultsAndAssign) {
    const TPrintSettings& p = *grid->PrintSettings();
    EXPECT_EQ(p.Borders, pbSingle);
    EXPECT_EQ(U8(p.PageNumSep), "/");
    EXPECT_EQ(U8(p.DateFormat), "dd/mm/yyyy");
    EXPECT_TRUE(p.Centered);
    EXPECT_TRUE(p.UseDisplayFont);
    EXPECT_EQ(p.Orientation, plat::poPortrait);
    EXPECT_EQ(p.FitToPage, fpNever);

    TPrintSettings src(nullptr);
    src.Time = ppBottomRight;
    src.TitleLines.Add(u"first");
    src.HeaderFont.SetName(u"Courier New");
    src.FitToPage = fpShrink;
    src.MaxPagesOffset = 4;
    src.FixedCellsAlways = true;
    src.BorderColor = plat::clRed;
    TPrintSettings dst(nullptr);
    dst.Assign(&src);
    EXPECT_EQ(dst.Time, ppBottomRight);
    EXPECT_EQ(dst.TitleLines.Count(), 1);
    EXPECT_EQ(U8(dst.HeaderFont.Name()), "Courier New");
    EXPECT_EQ(dst.FitToPage, fpShrink);
    EXPECT_EQ(dst.MaxPagesOffset, 4);
    EXPECT_EQ(dst.BorderColor, plat::clRed);
    EXPECT_FALSE(dst.FixedCellsAlways);  // not copied
    src.TitleLines.Add(u"second");  // by content: the copy keeps its own list
    EXPECT_EQ(dst.TitleLines.Count(), 1);
}

TEST_F(GridSettingsTest, PrintSettingsOnAMissingFile) {
    TPrintSettings& p = *grid->PrintSettings();
    p.Font.SetStyle({plat::fsItalic});
    p.Orientation = plat::poLandscape;
    const String f = File("print.ini");
    grid->LoadPrintSettings(f, u"Print");
    EXPECT_TRUE(plat::FileExists(f)) << "the load writes the file back";
    EXPECT_EQ(p.ColumnSpacing, 20);
    EXPECT_EQ(p.RowSpacing, 20);
    EXPECT_EQ(p.TitleSpacing, 20);
    EXPECT_EQ(p.FooterSize, 100);
    EXPECT_EQ(p.HeaderSize, 100);
    EXPECT_EQ(p.LeftSize, 100);
    EXPECT_EQ(p.RightSize, 100);
    for (const plat::TFont* font : {&p.Font, &p.HeaderFont, &p.FooterFont}) {
        EXPECT_EQ(U8(font->Name()), "Arial");
        EXPECT_EQ(font->Size(), 10);
        EXPECT_TRUE(font->Style() == plat::TFontStyles{});
    }
    EXPECT_TRUE(p.Centered);
    for (bool b : {p.NoAutoSize, p.UseFixedHeight, p.UseFixedWidth, p.RepeatFixedRows, p.RepeatFixedCols,
                   p.UseDisplayFont, p.UseDefaultOrientation, p.PrintGraphics})
        EXPECT_FALSE(b);
    EXPECT_TRUE(p.DateFormat.empty());
    EXPECT_TRUE(p.PageNumSep.empty());
    EXPECT_EQ(p.Borders, pbNoborder);
    EXPECT_EQ(p.Orientation, plat::poPortrait);
    EXPECT_EQ(p.TitleLines.Count(), 0);
}

TEST_F(GridSettingsTest, PrintSettingsRoundTripAndPythonReadsEveryKey) {
    TPrintSettings& p = *grid->PrintSettings();
    p.ColumnSpacing = 7;
    p.RowSpacing = 8;
    p.TitleSpacing = 9;
    p.FixedHeight = 40;
    p.FixedWidth = 50;
    p.Centered = false;
    p.NoAutoSize = p.UseFixedHeight = p.UseFixedWidth = p.RepeatFixedRows = p.RepeatFixedCols = true;
    p.UseDisplayFont = p.UseDefaultOrientation = p.PrintGraphics = true;
    p.Borders = pbAroundHorizontal;
    p.BorderColor = plat::clBtnFace;  // a system colour is stored negative
    p.BorderStyle = plat::psDashDot;
    p.Date = ppTopLeft;
    p.PageNr = ppBottomCenter;
    p.Title = ppTopCenter;
    p.Time = ppTopRight;
    p.DateFormat = u"yyyy-mm-dd";
    p.TitleText = u"Übersicht";
    p.FooterSize = 11;
    p.HeaderSize = 12;
    p.LeftSize = 13;
    p.RightSize = 14;
    p.FitToPage = fpAlways;
    p.Font.SetName(u"Courier New");
    p.Font.SetSize(9);
    p.Font.SetStyle({plat::fsBold, plat::fsUnderline});
    p.Font.SetColor(0x00FF00);
    p.HeaderFont.SetStyle({plat::fsItalic, plat::fsStrikeOut});
    p.FooterFont.SetSize(14);
    p.PageNumSep = u" of ";
    p.PageSuffix = u")";
    p.PagePrefix = u"(";
    p.Orientation = plat::poLandscape;
    p.TitleLines.Add(u"Line A");
    p.TitleLines.Add(u"Line B");
    const String f = File("print.ini");
    grid->SavePrintSettings(f, u"Print");

    int rc = 0;
    const TIniValues ini = ReadIniWithPython(f, rc);
    if (rc == 127) GTEST_SKIP() << "python3 is not installed";
    ASSERT_EQ(rc, 0);
    ASSERT_EQ(ini.count("Print"), 1u);
    const std::map<std::string, std::string> expected = {
        {"ColumnSpacing", "7"}, {"RowSpacing", "8"}, {"TitleSpacing", "9"}, {"FixedHeight", "40"},
        {"FixedWidth", "50"}, {"Centered", "N"}, {"NoAutoSize", "Y"}, {"UseFixedHeight", "Y"},
        {"UseFixedWidth", "Y"}, {"RepeatFixedRows", "Y"}, {"RepeatFixedCols", "Y"}, {"UseDisplFont", "Y"},
        {"UseDefOrientation", "Y"}, {"Borders", "7"}, {"BorderColor", "-16777201"}, {"BorderStyle", "3"},
        {"Date", "1"}, {"PageNr", "6"}, {"Title", "3"}, {"Time", "2"}, {"DateFormat", "yyyy-mm-dd"},
        {"TitleText", "Übersicht"}, {"FooterSize", "11"}, {"HeaderSize", "12"}, {"LeftSize", "13"},
        {"RightSize", "14"}, {"FitToPage", "3"}, {"FontName", "Courier New"}, {"FontSize", "9"},
        {"FontStyle", "5"}, {"FontColor", "65280"}, {"HeaderFontName", U8(p.HeaderFont.Name())},
        {"HeaderFontSize", plat::StringToUtf8(plat::IntToStr(p.HeaderFont.Size()))}, {"HeaderFontStyle", "10"},
        {"HeaderFontColor", plat::StringToUtf8(plat::IntToStr(p.HeaderFont.Color()))},
        {"FooterFontName", U8(p.FooterFont.Name())}, {"FooterFontSize", "14"}, {"FooterFontStyle", "0"},
        {"FooterFontColor", plat::StringToUtf8(plat::IntToStr(p.FooterFont.Color()))}, {"PageNumSep", "of"},
        {"PageSuffix", ")"}, {"PagePrefix", "("}, {"Orientation", "1"}, {"TitleLines", "Line A\\nLine B"},
        {"PrintGraphics", "Y"}};
    EXPECT_EQ(ini.at("Print"), expected);

    // Back into a grid of default settings: every saved value returns.
    auto* other = new TExtStringGrid(form.get());
    other->SetParent(form.get());
    other->LoadPrintSettings(f, u"Print");
    const TPrintSettings& q = *other->PrintSettings();
    EXPECT_EQ(q.ColumnSpacing, 7);
    EXPECT_EQ(q.FixedWidth, 50);
    EXPECT_FALSE(q.Centered);
    EXPECT_TRUE(q.RepeatFixedCols && q.UseDisplayFont && q.UseDefaultOrientation && q.PrintGraphics);
    EXPECT_EQ(q.Borders, pbAroundHorizontal);
    EXPECT_EQ(q.BorderColor, plat::clBtnFace);
    EXPECT_EQ(q.BorderStyle, plat::psDashDot);
    EXPECT_EQ(q.Date, ppTopLeft);
    EXPECT_EQ(q.PageNr, ppBottomCenter);
    EXPECT_EQ(q.Title, ppTopCenter);
    EXPECT_EQ(q.Time, ppTopRight);
    EXPECT_EQ(U8(q.DateFormat), "yyyy-mm-dd");
    EXPECT_EQ(U8(q.TitleText), "Übersicht");
    EXPECT_EQ(q.RightSize, 14);
    EXPECT_EQ(q.FitToPage, fpAlways);
    EXPECT_EQ(U8(q.Font.Name()), "Courier New");
    EXPECT_EQ(q.Font.Size(), 9);
    EXPECT_TRUE(q.Font.Style() == (plat::TFontStyles{plat::fsBold, plat::fsUnderline}));
    EXPECT_EQ(q.Font.Color(), 0x00FF00);
    EXPECT_TRUE(q.HeaderFont.Style() == (plat::TFontStyles{plat::fsItalic, plat::fsStrikeOut}));
    EXPECT_EQ(q.FooterFont.Size(), 14);
    EXPECT_EQ(U8(q.PagePrefix), "(");
    EXPECT_EQ(q.Orientation, plat::poLandscape);
    ASSERT_EQ(q.TitleLines.Count(), 2);
    EXPECT_EQ(U8(q.TitleLines[0]), "Line A");
    EXPECT_EQ(U8(q.TitleLines[1]), "Line B");

    // Python finds every key of the column files too.
    TColumnSize* size = grid->ColumnSize();
    size->Location = clIniFile;
    size->Key = File("cols.ini");
    size->Section = u"Grid";
    grid->SetColumnOrder();
    grid->SaveColSizes();
    grid->SaveColPositions();
    const TIniValues cols = ReadIniWithPython(size->Key, rc);
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(cols.at("Grid"), (std::map<std::string, std::string>{{"Col0", "64"}, {"Col1", "80"}, {"Col2", "64"},
                                                                   {"Pos0", "0"}, {"Pos1", "1"}, {"Pos2", "2"}}));
}

TEST_F(GridSettingsTest, PrintSettingsReadingRules) {
    const String f = File("print.ini");
    struct Case {
        const char* what;
        std::string lines;
        std::function<bool(const TPrintSettings&)> check;
    };
    // Each case starts from a grid whose settings differ from every default of the load.
    const Case cases[] = {
        {"borders beyond 0..8 stay", "Borders=9\r\n", [](const TPrintSettings& p) { return p.Borders == pbDouble; }},
        {"borders 8 taken", "Borders=8\r\n", [](const TPrintSettings& p) { return p.Borders == pbCustom; }},
        {"negative pen style stays", "BorderStyle=-1\r\n",
         [](const TPrintSettings& p) { return p.BorderStyle == plat::psDot; }},
        {"pen style 7 stays", "BorderStyle=7\r\n", [](const TPrintSettings& p) { return p.BorderStyle == plat::psDot; }},
        {"date beyond 1..6 is none", "Date=7\r\nTime=-3\r\nPageNr=6\r\n",
         [](const TPrintSettings& p) { return p.Date == ppNone && p.Time == ppNone && p.PageNr == ppBottomCenter; }},
        {"fit beyond 0..4 stays", "FitToPage=5\r\n", [](const TPrintSettings& p) { return p.FitToPage == fpGrow; }},
        {"orientation 2 stays", "Orientation=2\r\n",
         [](const TPrintSettings& p) { return p.Orientation == plat::poLandscape; }},
        {"Y/N only for an exact Y", "Centered=y\r\nNoAutoSize=Y\r\nUseFixedWidth=yes\r\n",
         [](const TPrintSettings& p) { return !p.Centered && p.NoAutoSize && !p.UseFixedWidth; }},
        {"a stored 0 clears bold", "FontStyle=0\r\nHeaderFontStyle=2\r\n",
         [](const TPrintSettings& p) {
             return p.Font.Style() == plat::TFontStyles{} && p.HeaderFont.Style() == plat::TFontStyles{plat::fsItalic};
         }},
        {"title lines split at every backslash n", "TitleLines=A\\nB\\\\nC\r\n",
         [](const TPrintSettings& p) {
             return p.TitleLines.Count() == 3 && p.TitleLines[0] == u"A" && p.TitleLines[1] == u"B\\" &&
                    p.TitleLines[2] == u"C";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* g = new TExtStringGrid(form.get());
        TPrintSettings& p = *g->PrintSettings();
        p.Borders = pbDouble;
        p.BorderStyle = plat::psDot;
        p.FitToPage = fpGrow;
        p.Orientation = plat::poLandscape;
        p.Font.SetStyle({plat::fsBold});
        p.HeaderFont.SetStyle({plat::fsBold});
        ASSERT_TRUE(plat::WriteFileAtomic(f, "[Print]\r\n" + c.lines));
        g->LoadPrintSettings(f, u"Print");
        EXPECT_TRUE(c.check(p));
        delete g;
    }

    // Title lines that hold CR LF inside one line are stored with "\n" and come back split.
    TPrintSettings& p = *grid->PrintSettings();
    p.TitleLines.Clear();
    p.TitleLines.Add(u"one\r\ntwo");
    p.TitleLines.Add(u"three");
    grid->SavePrintSettings(f, u"Print");
    EXPECT_EQ(U8(plat::TIniFile(f).ReadString(u"Print", u"TitleLines", u"")), "one\\ntwo\\nthree");
    grid->LoadPrintSettings(f, u"Print");
    ASSERT_EQ(p.TitleLines.Count(), 3);
    EXPECT_EQ(U8(p.TitleLines[1]), "two");
}

} // namespace
