// The language table: built-in texts, the .lng line format, encodings and the fallback.
#include <gtest/gtest.h>

#include <filesystem>

#include "ShellTestSupport.h"
#include "UComon.h"
#include "UConfiguration.h"
#include "ULanguage.h"

using plat::String;
using shelltest::TempDir;
using shelltest::WriteBytes;

namespace {

std::string U8(const String& s) { return plat::StringToUtf8(s); }

TEST(DefaultLanguage, BuiltInTexts)
{
    Lang_Table.assign(3, u"junk");
    Load_Default_Language();
    ASSERT_EQ(Lang_Table.size(), 5300u);
    EXPECT_EQ(Lang_Max_Index, 5100);
    const struct {
        int index;
        const char* text;
    } cases[] = {
        {0, "Begin"},
        {1, "Step 1"},
        {8, "Step 8"},
        {9, "None Configuration Opened "},  // the trailing blank is part of the text
        {10, "Use Step1 to open or create new configuration"},
        {11, "Opened Configuration of the Converter : "},
        {18, "Error! Project not Valid"},
        {100, "Create New Configuration"},
        {101, "Create New Configuration"},
        {105, "Error! Name project is not valid"},
        {106, "Error! Name project is not valid because directory already exists"},
        {107, "Error! Name Project is not valid"},
        {306, " / "},
        {805, "Nodes     "},
        {1100, "Row Already used. Do you want to overwrite the values?"},
        {1546, "!! [Modbus Read] Max Error must be between 0 and 100000000"},
        {4040, "!! OID string can contains only number and \".\""},
        {4155, "Error GSM / GPRS!! Length of PIN and APN must be lower or equal to 512 characters"},
        {5231, "Error WiFi - IP Address 2 !! Gateway 4 must be between 0 and 255"},
        {99, " "},    // slots without a text hold one blank
        {5299, " "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(U8(Lang_Table[c.index]), c.text) << "slot " << c.index;
    // Address-group texts made by rule: the four bytes differ only in their ordinal.
    EXPECT_EQ(U8(Lang_Table[576]), "Error Ethernet!! IP Address 1 must be between 0 and 255");
    EXPECT_EQ(U8(Lang_Table[579]), "Error Ethernet!! IP Address 4 must be between 0 and 255");
    EXPECT_EQ(U8(Lang_Table[457]), "Insert First byte of IP Address");
    EXPECT_EQ(U8(Lang_Table[460]), "Insert Fourth byte of IP Address");
}

TEST(DefaultLanguage, EveryCallStartsAgain)
{
    Load_Default_Language();
    const std::vector<String> builtin = Lang_Table;
    Lang_Table[12] = u"changed";
    Lang_Table.push_back(u"extra");
    Load_Default_Language();
    EXPECT_EQ(Lang_Table, builtin);
}

struct LineCase {
    const char* line;  // UTF-8
    int slot;          // the one slot that changes, -1 for none
    const char* text;
};

TEST(LanguageLine, FormatRules)
{
    const LineCase cases[] = {
        {"STR12 = Text", 12, "Text"},
        {"STR12=Text", 1, "Text"},  // the character before "=" never belongs to the index
        {"STR 12 = Text", 12, "Text"},
        {"STR12   =Text", 12, "Text"},
        {"   \tSTR12 = Text  \t", 12, "Text"},
        {"str12 = Text", -1, nullptr},
        {"Str12 = Text", -1, nullptr},
        {"STR1=Text", -1, nullptr},
        {"STR = Text", -1, nullptr},
        {"STRx = Text", -1, nullptr},
        {"STR 0x14 = Hex", -1, nullptr},
        {"STR12 Text", -1, nullptr},
        {"STR0 = Zero", 0, "Zero"},
        {"STR5099 = Last", 5099, "Last"},
        {"STR5100 = Beyond", -1, nullptr},
        {"STR5299 = Beyond", -1, nullptr},
        {"STR-1 = Negative", -1, nullptr},
        {"STR99999999999 = Huge", -1, nullptr},
        {"STR20 = Set Communication /#/ step 2 button", 20, "Set Communication"},
        {"STR20 = /#/ nothing", -1, nullptr},
        {"STR20 =", -1, nullptr},
        {"STR20 =   \t", -1, nullptr},
        {"STR20 = \xC2\xB6\xC2\xB6", 20, ""},
        {"STR20 = \xC2\xB6 A \xC2\xB6 B", 20, " A "},
        {"STR9 = \xC2\xB6None Configuration Opened \xC2\xB6", 9, "None Configuration Opened "},
        {"STR20 = Text\xC2\xB6 cut", 20, "Text"},
        {"STR20 = \xC2\xB6 lead", 20, " lead"},
        {"STR30 = a = b", 30, "a = b"},
        {"STR31 = http://host/#/x", 31, "http://host"},
        {"; STR12 = remark", -1, nullptr},
        {"[Italiano]", -1, nullptr},
        {"", -1, nullptr},
    };
    Load_Default_Language();
    const std::vector<String> builtin = Lang_Table;
    for (const LineCase& c : cases) {
        Lang_Table = builtin;
        Apply_Language_Line(plat::Utf8ToString(c.line));
        std::vector<String> expected = builtin;
        if (c.slot >= 0)
            expected[c.slot] = plat::Utf8ToString(c.text);
        ASSERT_EQ(Lang_Table.size(), expected.size()) << c.line;
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(U8(Lang_Table[i]), U8(expected[i])) << "line '" << c.line << "' slot " << i;
    }
}

class LanguageFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        Init_Program_Dirs(root.upath());
        Language_Name = u"English";
    }
    std::string Lng(const std::string& name) const { return root / ("LANGUAGE/" + name + ".lng"); }

    TempDir root;
};

// data/Citta_*.lng: the same three lines converted with iconv to UTF-8 (with and without a
// byte-order mark), UTF-16LE and UTF-16BE with a mark, and WINDOWS-1252.
TEST_F(LanguageFiles, EncodingsGiveTheSameTexts)
{
    const char* fixtures[] = {"Citta_utf8_bom", "Citta_utf16le_bom", "Citta_utf16be_bom", "Citta_cp1252",
                              "Citta_utf8"};
    for (const char* f : fixtures) {
        std::filesystem::copy_file(std::string(TEST_SOURCE_DIR) + "/data/" + f + ".lng", Lng("Italiano"),
                                   std::filesystem::copy_options::overwrite_existing);
        Language_Name = u"Italiano";
        Load_Language();
        EXPECT_EQ(U8(Language_Name), "Italiano") << f;
        EXPECT_EQ(U8(Lang_Table[0]), "Citt\xC3\xA0") << f;
        EXPECT_EQ(U8(Lang_Table[9]), "Nessuna configurazione aperta ") << f;
        EXPECT_EQ(U8(Lang_Table[18]), "Error! Project not Valid") << f;  // not in the file
        EXPECT_EQ(U8(Lang_Table[99]), " ") << f;
    }
}

TEST_F(LanguageFiles, LineEndsAndLaterLinesWin)
{
    WriteBytes(Lng("Mixed"), "STR12 = A\rSTR13 = B\r\nSTR14 = C\nSTR12 = D\n\nSTR15 = E");
    Language_Name = u"Mixed";
    Load_Language();
    EXPECT_EQ(U8(Lang_Table[12]), "D");
    EXPECT_EQ(U8(Lang_Table[13]), "B");
    EXPECT_EQ(U8(Lang_Table[14]), "C");
    EXPECT_EQ(U8(Lang_Table[15]), "E");
}

TEST_F(LanguageFiles, MissingLanguageFallsBackToEnglish)
{
    struct Case {
        const char16_t* name;
        bool english_file;
        const char* slot12;
    };
    const Case cases[] = {
        {u"Deutsch", false, "Information"},
        {u"Deutsch", true, "Info EN"},
        {u"", true, "Info EN"},  // no language file has an empty name
        {u"../LANGUAGE/Italiano", true, "Info EN"},
        {u"Italiano\n", true, "Info EN"},
    };
    WriteBytes(Lng("Italiano"), "STR12 = Informazioni\n");
    for (const Case& c : cases) {
        std::filesystem::remove(Lng("English"));
        if (c.english_file)
            WriteBytes(Lng("English"), "STR12 = Info EN\n");
        Language_Name = c.name;
        Load_Language();
        EXPECT_EQ(U8(Language_Name), "English") << U8(c.name);
        EXPECT_EQ(U8(Lang_Table[12]), c.slot12) << U8(c.name);
    }
}

TEST_F(LanguageFiles, SwitchingLanguageDropsThePreviousOne)
{
    WriteBytes(Lng("Italiano"), "STR12 = Informazioni\nSTR13 = Opzioni\n");
    WriteBytes(Lng("Sparse"), "STR13 = Options!\n");
    Language_Name = u"Italiano";
    Load_Language();
    EXPECT_EQ(U8(Lang_Table[12]), "Informazioni");
    Language_Name = u"Sparse";
    Load_Language();
    EXPECT_EQ(U8(Lang_Table[12]), "Information");
    EXPECT_EQ(U8(Lang_Table[13]), "Options!");
}

TEST_F(LanguageFiles, UnreadableFileKeepsBuiltInTexts)
{
    std::filesystem::create_directories(Lng("Folder"));  // a folder named like a language file
    Language_Name = u"Folder";
    Load_Language();
    EXPECT_EQ(U8(Lang_Table[12]), "Information");
    EXPECT_EQ(Lang_Table.size(), 5300u);
}

} // namespace

namespace {

// Language files come from anywhere: lines stitched from the format's own pieces must never
// change the table's size or reach the slots that always stay English.
TEST(LanguageLine, ArbitraryLinesKeepTheTableIntact)
{
    const char16_t* pieces[] = {u"STR", u"str", u"=", u" ", u"\t", u"\u00B6", u"/#/", u"-", u"0", u"1", u"5",
                                u"9", u"51", u"99", u"5099", u"5100", u"x", u"\r", u"\u00E0", u"\U0001F600", u"==", u""};
    Load_Default_Language();
    const std::vector<String> builtin = Lang_Table;
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (int round = 0; round < 20000; ++round) {
        String line;
        const int count = next() % 9;
        for (int k = 0; k < count; ++k)
            line += pieces[next() % std::size(pieces)];
        Apply_Language_Line(line);
        ASSERT_EQ(Lang_Table.size(), 5300u) << U8(line);
    }
    for (int i = 5100; i < 5300; ++i)
        EXPECT_EQ(Lang_Table[i], builtin[i]) << i;
}

} // namespace
