#include <gtest/gtest.h>

#include "TestUtil.h"
#include "plat/Files.h"
#include "plat/IniFiles.h"

namespace plat {
namespace {

using test::TempDir;
using test::ThrowsWith;

TEST(IniFile, ReadsWhatOtherToolsWrite)
{
    TempDir dir;
    const String file = dir / u"grid.ini";
    ASSERT_TRUE(WriteFileAtomic(file, "; comment\r\n[Columns]\r\n CP0 = 2 \r\nCP1=\"  0\"\r\nname=caf\xE8\r\n"
                                      "[other]\nCP0=9\n"));
    TIniFile ini(file);
    struct Case {
        String section, ident, expected;
    };
    const Case cases[] = {
        {u"Columns", u"CP0", u"2"},
        {u"columns", u"cp0", u"2"},     // names are case-insensitive
        {u"Columns", u"CP1", u"  0"},   // one pair of quotes removed, inside kept
        {u"Columns", u"name", u"caf\u00E8"},  // not UTF-8: Windows-1252
        {u"other", u"CP0", u"9"},
        {u"Columns", u"CP9", u"def"},
        {u"missing", u"CP0", u"def"},
        {u"Columns", u"; comment", u"def"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.ident, u"def"), c.expected) << test::U8(c.section + u"/" + c.ident);
    EXPECT_EQ(ini.ReadInteger(u"Columns", u"CP0", -1), 2);
    EXPECT_EQ(ini.ReadInteger(u"Columns", u"name", -1), -1);
    EXPECT_TRUE(ini.SectionExists(u"OTHER"));
    EXPECT_FALSE(ini.ValueExists(u"other", u"CP1"));
    TStringList keys;
    ini.ReadSection(u"Columns", keys);
    EXPECT_EQ(keys.CommaText(), u"CP0,CP1,name");
    ini.ReadSections(keys);
    EXPECT_EQ(keys.CommaText(), u"Columns,other");
}

TEST(IniFile, WritesInPlaceAndKeepsTheRest)
{
    TempDir dir;
    const String file = dir / u"grid.ini";
    ASSERT_TRUE(WriteFileAtomic(file, "; keep me\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n"));
    TIniFile ini(file);
    ini.WriteInteger(u"a", u"X", 5);   // existing key keeps its spelling and place
    ini.WriteString(u"A", u"z", u"new");  // new key at the end of its section
    ini.WriteBool(u"C", u"on", true);   // new section at the end
    ini.DeleteKey(u"B", u"y");
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(file, bytes));
    EXPECT_EQ(bytes, "; keep me\r\n[A]\r\nx=5\r\nz=new\r\n\r\n[B]\r\n\r\n[C]\r\non=1\r\n");
    ini.EraseSection(u"b");
    EXPECT_FALSE(ini.SectionExists(u"B"));
    EXPECT_TRUE(ini.ReadBool(u"C", u"on", false));
    EXPECT_EQ(ini.ReadString(u"A", u"z", u""), u"new");
}

TEST(IniFile, NewFileAndWriteFailure)
{
    TempDir dir;
    TIniFile fresh(dir / u"new.ini");
    EXPECT_EQ(fresh.ReadInteger(u"S", u"CP0", -1), -1);
    fresh.WriteInteger(u"S", u"CP0", 3);
    EXPECT_EQ(fresh.ReadInteger(u"S", u"CP0", -1), 3);

    ASSERT_TRUE(CreateDir(dir / u"adir"));
    TIniFile broken(dir / u"adir");  // a folder cannot be replaced by the file
    EXPECT_TRUE(ThrowsWith<EIniFileException>([&] { broken.WriteInteger(u"S", u"CP0", 1); },
                                              u"Unable to write to " + (dir / u"adir")));
}

TEST(MemIniFile, ChangesReachTheFileOnlyWhole)
{
    TempDir dir;
    const String file = dir / u"print.ini";
    ASSERT_TRUE(WriteFileAtomic(file, "; keep me\r\n[A]\r\nx=1\r\n"));
    TMemIniFile ini(file);
    ini.WriteInteger(u"a", u"X", 5);
    ini.WriteString(u"B", u"t", u"caf\u00E8");
    EXPECT_EQ(ini.ReadInteger(u"A", u"x", 0), 5);
    EXPECT_TRUE(ini.ValueExists(u"b", u"T"));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(file, bytes));
    EXPECT_EQ(bytes, "; keep me\r\n[A]\r\nx=1\r\n") << "nothing written before UpdateFile";
    ini.UpdateFile();
    EXPECT_EQ(TIniFile(file).ReadString(u"B", u"t", u""), u"caf\u00E8");
    EXPECT_EQ(TIniFile(file).ReadInteger(u"A", u"X", 0), 5);
    // A missing file reads as empty and is created by UpdateFile.
    TMemIniFile fresh(dir / u"new.ini");
    EXPECT_EQ(fresh.ReadString(u"A", u"x", u"def"), u"def");
    fresh.UpdateFile();
    EXPECT_TRUE(FileExists(dir / u"new.ini"));
    ASSERT_TRUE(CreateDir(dir / u"adir"));
    TMemIniFile bad(dir / u"adir");  // a folder cannot be replaced by the file
    EXPECT_TRUE(ThrowsWith<EIniFileException>([&] { bad.UpdateFile(); }, u"Unable to write to " + (dir / u"adir")));
}

} // namespace
} // namespace plat
