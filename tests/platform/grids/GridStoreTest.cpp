#include <gtest/gtest.h>

#include <map>
#include <random>

#include "plat/Grids.h"

using namespace plat;

namespace {

TObject* Tag(std::uintptr_t v) { return reinterpret_cast<TObject*>(v); }

TEST(GridCellStore, NeverWrittenCellsAreEmptyAndCostNothing) {
    TGridCellStore s;
    EXPECT_EQ(s.Cell(0, 0), u"");
    EXPECT_EQ(s.Cell(1000000, 5), u"");
    EXPECT_EQ(s.Object(3, 3), nullptr);
    EXPECT_EQ(s.CellCount(), 0u);
    s.SetCell(4, 9, u"");
    s.SetObject(4, 9, nullptr);
    EXPECT_EQ(s.CellCount(), 0u);
    EXPECT_EQ(s.RowExtent(), 0);
}

TEST(GridCellStore, TextsOfEveryLengthRoundTrip) {
    const String texts[] = {u"a", u"abcd", u"abcde", u"a much longer text \u00e9\u4e2d", u"Y"};
    TGridCellStore s;
    int c = 0;
    for (const auto& t : texts) s.SetCell(c++, 2, t);
    c = 0;
    for (const auto& t : texts) EXPECT_EQ(s.Cell(c++, 2), t);
    // Overwrite long with short and short with long.
    s.SetCell(3, 2, u"x");
    s.SetCell(0, 2, u"now long enough");
    EXPECT_EQ(s.Cell(3, 2), u"x");
    EXPECT_EQ(s.Cell(0, 2), u"now long enough");
}

TEST(GridCellStore, WritingAViewOfTheStoreItself) {
    TGridCellStore s;
    s.SetCell(1, 0, u"ab");
    s.SetCell(5, 0, u"long text here");
    // Inserting before column 1 moves its entry; the source view must not dangle.
    s.SetCell(0, 0, s.CellView(1, 0));
    s.SetCell(2, 0, s.CellView(5, 0));
    s.SetCell(5, 0, s.CellView(5, 0));
    EXPECT_EQ(s.Cell(0, 0), u"ab");
    EXPECT_EQ(s.Cell(2, 0), u"long text here");
    EXPECT_EQ(s.Cell(5, 0), u"long text here");
}

TEST(GridCellStore, EmptyingACellDropsItsEntry) {
    TGridCellStore s;
    s.SetCell(3, 4, u"text");
    s.SetObject(3, 4, Tag(8));
    s.SetCell(3, 4, u"");
    EXPECT_EQ(s.CellCount(), 1u) << "the object keeps the entry alive";
    EXPECT_EQ(s.Object(3, 4), Tag(8));
    s.SetObject(3, 4, nullptr);
    EXPECT_EQ(s.CellCount(), 0u);
    EXPECT_EQ(s.RowExtent(), 0);
}

TEST(GridCellStore, NegativeCoordinatesAreIgnored) {
    TGridCellStore s;
    s.SetCell(-1, 0, u"x");
    s.SetCell(0, -1, u"x");
    s.SetObject(-5, 2, Tag(8));
    EXPECT_EQ(s.CellCount(), 0u);
    EXPECT_EQ(s.Cell(-1, 0), u"");
    EXPECT_EQ(s.Object(-5, 2), nullptr);
}

// Fills a 4 x 4 store with "cr" texts and checks what a structural operation leaves.
struct StructCase {
    const char* name;
    void (*op)(TGridCellStore&);
    // expected text of (col,row) for the 5 x 5 window; "" = empty
    const char16_t* expect[5][5];
};

String Label(int c, int r) { return String(1, u'0' + c) + String(1, u'0' + r); }

const StructCase kStructCases[] = {
    {"DeleteRow1", [](TGridCellStore& s) { s.DeleteRow(1); },
     {{u"00", u"10", u"20", u"30", u""}, {u"02", u"12", u"22", u"32", u""},
      {u"03", u"13", u"23", u"33", u""}, {u"", u"", u"", u"", u""}, {u"", u"", u"", u"", u""}}},
    {"DeleteColumn1", [](TGridCellStore& s) { s.DeleteColumn(1); },
     {{u"00", u"20", u"30", u"", u""}, {u"01", u"21", u"31", u"", u""},
      {u"02", u"22", u"32", u"", u""}, {u"03", u"23", u"33", u"", u""}, {u"", u"", u"", u"", u""}}},
    {"MoveColumn0To2", [](TGridCellStore& s) { s.MoveColumn(0, 2); },
     {{u"10", u"20", u"00", u"30", u""}, {u"11", u"21", u"01", u"31", u""},
      {u"12", u"22", u"02", u"32", u""}, {u"13", u"23", u"03", u"33", u""}, {u"", u"", u"", u"", u""}}},
    {"MoveColumn3To1", [](TGridCellStore& s) { s.MoveColumn(3, 1); },
     {{u"00", u"30", u"10", u"20", u""}, {u"01", u"31", u"11", u"21", u""},
      {u"02", u"32", u"12", u"22", u""}, {u"03", u"33", u"13", u"23", u""}, {u"", u"", u"", u"", u""}}},
    {"MoveRow3To0", [](TGridCellStore& s) { s.MoveRow(3, 0); },
     {{u"03", u"13", u"23", u"33", u""}, {u"00", u"10", u"20", u"30", u""},
      {u"01", u"11", u"21", u"31", u""}, {u"02", u"12", u"22", u"32", u""}, {u"", u"", u"", u"", u""}}},
    {"MoveRow0To4", [](TGridCellStore& s) { s.MoveRow(0, 4); },
     {{u"01", u"11", u"21", u"31", u""}, {u"02", u"12", u"22", u"32", u""},
      {u"03", u"13", u"23", u"33", u""}, {u"", u"", u"", u"", u""}, {u"00", u"10", u"20", u"30", u""}}},
    {"TruncateRows2", [](TGridCellStore& s) { s.TruncateRows(2); },
     {{u"00", u"10", u"20", u"30", u""}, {u"01", u"11", u"21", u"31", u""},
      {u"", u"", u"", u"", u""}, {u"", u"", u"", u"", u""}, {u"", u"", u"", u"", u""}}},
    {"ClearColumn2AndRow0", [](TGridCellStore& s) { s.ClearColumn(2); s.ClearRow(0); },
     {{u"", u"", u"", u"", u""}, {u"01", u"11", u"", u"31", u""},
      {u"02", u"12", u"", u"32", u""}, {u"03", u"13", u"", u"33", u""}, {u"", u"", u"", u"", u""}}},
};

TEST(GridCellStore, StructuralOperationsMoveTextsAndObjectsTogether) {
    for (const auto& tc : kStructCases) {
        SCOPED_TRACE(tc.name);
        TGridCellStore s;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                s.SetCell(c, r, Label(c, r));
                s.SetObject(c, r, Tag(static_cast<std::uintptr_t>(100 + c * 10 + r)));
            }
        tc.op(s);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 5; ++c) {
                const String want = tc.expect[r][c];
                EXPECT_EQ(s.Cell(c, r), want) << "cell " << c << "," << r;
                if (!want.empty()) {
                    const int oc = want[0] - u'0', orow = want[1] - u'0';
                    EXPECT_EQ(s.Object(c, r), Tag(static_cast<std::uintptr_t>(100 + oc * 10 + orow)))
                        << "object of " << c << "," << r;
                }
            }
    }
}

TEST(GridCellStore, RowIterationIsInColumnOrder) {
    TGridCellStore s;
    s.SetCell(9, 1, u"c");
    s.SetCell(0, 1, u"a");
    s.SetCell(4, 1, u"b");
    String seen;
    std::vector<int> cols;
    s.ForEachInRow(1, [&](int c, StringView t, TObject*) { cols.push_back(c); seen += t; });
    EXPECT_EQ(seen, u"abc");
    EXPECT_EQ(cols, (std::vector<int>{0, 4, 9}));
}

} // namespace

namespace {

// Random edits checked against a plain map of (column, row) to (text, object).
TEST(GridCellStore, RandomEditsMatchAPlainMap) {
    std::mt19937 rng(12345);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const plat::String texts[] = {u"", u"a", u"abcd", u"abcde", u"a longer text"};
    for (int round = 0; round < 20; ++round) {
        TGridCellStore s;
        std::map<std::pair<int, int>, std::pair<plat::String, std::uintptr_t>> ref;
        auto clean = [&] {
            for (auto it = ref.begin(); it != ref.end();)
                it = (it->second.first.empty() && it->second.second == 0) ? ref.erase(it) : std::next(it);
        };
        for (int step = 0; step < 300; ++step) {
            const int op = pick(10);
            const int a = pick(12), b = pick(12);
            std::map<std::pair<int, int>, std::pair<plat::String, std::uintptr_t>> next;
            switch (op) {
            case 0: case 1: case 2:
                s.SetCell(a, b, texts[pick(5)]);
                ref[{a, b}].first = s.Cell(a, b);
                break;
            case 3: {
                const std::uintptr_t v = static_cast<std::uintptr_t>(pick(3)) * 8;
                s.SetObject(a, b, Tag(v));
                ref[{a, b}].second = v;
                break;
            }
            case 4:
                s.DeleteRow(a);
                for (auto& [k, v] : ref)
                    if (k.second != a) next[{k.first, k.second > a ? k.second - 1 : k.second}] = v;
                ref.swap(next);
                break;
            case 5:
                s.DeleteColumn(a);
                for (auto& [k, v] : ref)
                    if (k.first != a) next[{k.first > a ? k.first - 1 : k.first, k.second}] = v;
                ref.swap(next);
                break;
            case 6:
            case 7: {
                const bool rows = op == 6;
                rows ? s.MoveRow(a, b) : s.MoveColumn(a, b);
                auto moved = [&](int i) {
                    if (i == a) return b;
                    if (a < b && i > a && i <= b) return i - 1;
                    if (b < a && i >= b && i < a) return i + 1;
                    return i;
                };
                for (auto& [k, v] : ref)
                    next[rows ? std::pair{k.first, moved(k.second)} : std::pair{moved(k.first), k.second}] = v;
                ref.swap(next);
                break;
            }
            case 8:
                s.TruncateRows(a);
                for (auto& [k, v] : ref)
                    if (k.second < a) next[k] = v;
                ref.swap(next);
                break;
            default:
                s.ClearColumn(a);
                for (auto& [k, v] : ref)
                    if (k.first != a) next[k] = v;
                ref.swap(next);
                break;
            }
            clean();
            ASSERT_EQ(s.CellCount(), ref.size()) << "round " << round << " step " << step << " op " << op;
            for (const auto& [k, v] : ref) {
                ASSERT_EQ(s.Cell(k.first, k.second), v.first) << "cell " << k.first << "," << k.second;
                ASSERT_EQ(s.Object(k.first, k.second), Tag(v.second));
            }
        }
    }
}

} // namespace
