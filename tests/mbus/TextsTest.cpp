// The M-Bus windows' built-in texts: every number of their ranges holds exactly the checked
// extraction in data/texts_mbus.tsv (one "number TAB text" line per number, a single blank
// where no text is given), so neither a later block nor a slip in this one changes them.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ULanguage.h"

namespace {

TEST(MBusTexts, BuiltInTableEqualsTheCheckedExtraction)
{
    std::ifstream in(std::string(TEST_SOURCE_DIR) + "/data/texts_mbus.tsv", std::ios::binary);
    ASSERT_TRUE(in) << "texts_mbus.tsv";
    Load_Default_Language();
    const auto& table = Lang_Table;
    int lines = 0, previous = 0;
    for (std::string line; std::getline(in, line);) {
        const auto tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        const int number = std::stoi(line.substr(0, tab));
        ASSERT_GT(number, previous) << "numbers ascend";
        previous = number;
        ++lines;
        EXPECT_EQ(plat::StringToUtf8(table.at(static_cast<std::size_t>(number))), line.substr(tab + 1))
            << "text " << number;
    }
    // 800-915, 1200-1210, 3000-3004, 3100-3110, 3200-3206, 3300-3343
    EXPECT_EQ(lines, 116 + 11 + 5 + 11 + 7 + 44);
}

TEST(MBusTexts, AddressRangesNameTheLimitThatIsAccepted)
{
    Load_Default_Language();
    const auto& table = Lang_Table;
    EXPECT_EQ(plat::StringToUtf8(table[897]), "Error!! Address must be between 0x00000000 and 0xFFFFFFFF");
    EXPECT_EQ(plat::StringToUtf8(table[1210]),
              "Error!! Address for a Node wM-Bus must be between 0x00000000 and 0xFFFFFFFF");
    EXPECT_EQ(plat::StringToUtf8(table[3343]), " ");
}

} // namespace
