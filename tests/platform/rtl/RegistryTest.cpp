// The file-backed key store: typed values, key paths, the store file's place and its
// atomic rewrite, and bytes from elsewhere that do not parse.
#include <cstdlib>

#include "plat/Files.h"
#include "plat/Registry.h"
#include "TestUtil.h"

namespace plat {
namespace {

using test::ThrowsWith;

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old, hadOld_ = true;
        ::setenv("XDG_CONFIG_HOME", dir_.native().c_str(), 1);
    }
    void TearDown() override
    {
        if (hadOld_) ::setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
    }
    test::TempDir dir_;
    std::string saved_;
    bool hadOld_ = false;
};

TEST_F(RegistryTest, StoreLivesInTheUsersConfigurationFolder)
{
    EXPECT_EQ(RegistryFileName(), dir_ / u"Configurator/registry");
    ::setenv("XDG_CONFIG_HOME", "relative/path", 1);  // not absolute: ignored as the standard says
    const char* home = std::getenv("HOME");
    if (home) {
        EXPECT_EQ(RegistryFileName(), Utf8ToString(home) + u"/.config/Configurator/registry");
    }
}

TEST_F(RegistryTest, IntegersAndTextsKeepTheirTypeAcrossObjects)
{
    {
        TRegistry r;
        ASSERT_TRUE(r.OpenKey(u"\\Software\\Grid\\Sizes", true));
        r.WriteInteger(u"Col0", 64);
        r.WriteInteger(u"Col1", -5);
        r.WriteString(u"Name", u"a \"quoted\" \\ text\r\nwith è and \u4E2D");
        r.WriteString(u"Number", u"80");
    }
    TRegistry r;
    EXPECT_FALSE(r.OpenKey(u"Software\\Grid\\Missing", false));
    ASSERT_TRUE(r.OpenKey(u"software/grid/sizes", false));  // case and "/" do not matter
    EXPECT_EQ(r.GetDataType(u"Col0"), rdInteger);
    EXPECT_EQ(r.ReadInteger(u"col0"), 64);
    EXPECT_EQ(r.ReadInteger(u"Col1"), -5);
    EXPECT_EQ(r.GetDataType(u"Number"), rdString);
    EXPECT_EQ(r.ReadString(u"Number"), u"80");
    EXPECT_EQ(r.ReadString(u"Name"), u"a \"quoted\" \\ text\r\nwith è and \u4E2D");
    EXPECT_EQ(r.GetDataType(u"None"), rdUnknown);
    EXPECT_TRUE(ThrowsWith<ERegistryException>([&] { r.ReadInteger(u"Number"); },
                                               u"Invalid data type for 'Number'"));
    EXPECT_TRUE(ThrowsWith<ERegistryException>([&] { r.ReadInteger(u"None"); }, u"Invalid data type for 'None'"));
    EXPECT_TRUE(ThrowsWith<ERegistryException>([&] { r.ReadString(u"Col0"); }, u"Invalid data type for 'Col0'"));

    // A text rewritten as an integer changes type in place.
    r.WriteInteger(u"Number", 80);
    EXPECT_EQ(r.GetDataType(u"Number"), rdInteger);
    TStringList names;
    r.GetValueNames(names);
    EXPECT_EQ(names.Count(), 4);
    EXPECT_TRUE(r.DeleteValue(u"Name"));
    EXPECT_FALSE(r.ValueExists(u"Name"));

    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(RegistryFileName(), bytes));
    EXPECT_NE(bytes.find("\"Col0\"=dword:00000040"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\"Col1\"=dword:FFFFFFFB"), std::string::npos) << bytes;
}

TEST_F(RegistryTest, SubkeysAndDeletion)
{
    TRegistry r;
    ASSERT_TRUE(r.OpenKey(u"Software\\A\\B", true));
    r.WriteInteger(u"x", 1);
    ASSERT_TRUE(r.OpenKey(u"Software\\A\\C", true));
    ASSERT_TRUE(r.OpenKey(u"Software\\AB", true));
    EXPECT_TRUE(r.KeyExists(u"Software\\A"));
    ASSERT_TRUE(r.OpenKey(u"Software\\A", false));  // a parent of stored keys opens
    TStringList keys;
    r.GetKeyNames(keys);
    ASSERT_EQ(keys.Count(), 2);
    EXPECT_EQ(keys.Strings(0), u"B");
    EXPECT_EQ(keys.Strings(1), u"C");
    EXPECT_TRUE(r.DeleteKey(u"Software\\A"));
    EXPECT_FALSE(r.KeyExists(u"Software\\A\\B"));
    EXPECT_TRUE(r.KeyExists(u"Software\\AB"));  // a sibling with the same start stays
}

TEST_F(RegistryTest, ForeignAndDamagedLinesAreSkipped)
{
    ASSERT_TRUE(ForceDirectories(dir_ / u"Configurator"));
    const char* text =
        "junk before any key\n"
        "[Software\\K]\r\n"
        "\"Good\"=dword:0000000A\n"
        "\"Short\"=dword:0A\n"
        "\"Unterminated\"=\"abc\n"
        "\"Trailing\"=\"abc\"x\n"
        "\"Bad\\\n"
        "\"Text\"=\"t\"\n";
    ASSERT_TRUE(WriteFileAtomic(RegistryFileName(), text));
    TRegistry r;
    ASSERT_TRUE(r.OpenKey(u"Software\\K", false));
    TStringList names;
    r.GetValueNames(names);
    ASSERT_EQ(names.Count(), 2);
    EXPECT_EQ(r.ReadInteger(u"Good"), 10);
    EXPECT_EQ(r.ReadString(u"Text"), u"t");
}

TEST_F(RegistryTest, UnwritableStoreRaises)
{
    ASSERT_TRUE(WriteFileAtomic(dir_ / u"Configurator", "a file where the folder belongs"));
    TRegistry r;
    EXPECT_TRUE(ThrowsWith<ERegistryException>([&] { r.OpenKey(u"Software\\K", true); },
                                               u"Failed to set data for 'Software\\K'"));
}

} // namespace
} // namespace plat
