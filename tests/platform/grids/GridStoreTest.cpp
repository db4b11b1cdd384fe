#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <vector>

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

// Long texts copied within their own row until the row's block must grow under the copy.
TEST(GridCellStore, WritingALongViewOfItsOwnRow) {
    TGridCellStore s;
    const String text = u"192.168.2.205 and more";
    s.SetCell(0, 0, text);
    for (int c = 1; c < 40; ++c) s.SetCell(c, 0, s.CellView(c - 1, 0));
    s.SetCell(3, 0, s.CellView(3, 0));
    s.SetCell(2000, 0, s.CellView(39, 0));  // the row turns sparse under the copy
    s.SetCell(7, 0, s.CellView(2000, 0).substr(1));
    for (int c = 0; c < 40; ++c) EXPECT_EQ(s.Cell(c, 0), c == 7 ? text.substr(1) : text) << c;
    EXPECT_EQ(s.Cell(2000, 0), text);
}

// A grid of many columns with a few cells per row, or a cell a million columns out, costs
// about what its cells hold, not what its width would.
TEST(GridCellStore, WideGridsWithFewCellsStaySmall) {
    struct Case {
        const char* name;
        int hint;
        int cols[3];
    };
    const Case cases[] = {
        {"one cell per row of 100000 columns", 100000, {0, -1, -1}},
        {"first and last of 100000 columns", 100000, {0, 99999, -1}},
        {"a million columns out, width unknown", 0, {1000000, 3, 2000000}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        TGridCellStore s;
        s.SetColCountHint(tc.hint);
        for (int r = 0; r < 200; ++r)
            for (int c : tc.cols)
                if (c >= 0) s.SetCell(c, r, u"x");
        EXPECT_LT(s.MemoryUsage(), 200u * 1024u);
        for (int c : tc.cols) {
            if (c >= 0) {
                EXPECT_EQ(s.Cell(c, 199), u"x") << c;
            }
        }
    }
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

namespace {

// Block row operations on a 4 x 6 store whose cell (c, r) holds "cr" and an object; each
// case lists the source row of every row after the operation (-1 = empty).
struct BlockCase {
    const char* name;
    void (*op)(TGridCellStore&);
    int source[9];
    int extent;
};

const BlockCase kBlockCases[] = {
    {"InsertRows1x2", [](TGridCellStore& s) { s.InsertRows(1, 2); }, {0, -1, -1, 1, 2, 3, 4, 5, -1}, 8},
    {"InsertRowsAt0", [](TGridCellStore& s) { s.InsertRows(0, 1); }, {-1, 0, 1, 2, 3, 4, 5, -1, -1}, 7},
    {"InsertRowsAtExtentChangesNothing", [](TGridCellStore& s) { s.InsertRows(6, 3); },
     {0, 1, 2, 3, 4, 5, -1, -1, -1}, 6},
    {"InsertRowsZeroCount", [](TGridCellStore& s) { s.InsertRows(2, 0); }, {0, 1, 2, 3, 4, 5, -1, -1, -1}, 6},
    {"RemoveRows1x2", [](TGridCellStore& s) { s.RemoveRows(1, 2); }, {0, 3, 4, 5, -1, -1, -1, -1, -1}, 4},
    {"RemoveRowsPastTheEnd", [](TGridCellStore& s) { s.RemoveRows(4, 100); }, {0, 1, 2, 3, -1, -1, -1, -1, -1}, 4},
    {"RemoveRowsNegative", [](TGridCellStore& s) { s.RemoveRows(-1, 2); s.RemoveRows(1, -2); },
     {0, 1, 2, 3, 4, 5, -1, -1, -1}, 6},
    {"MoveRows2To4x2", [](TGridCellStore& s) { s.MoveRows(2, 4, 2); }, {0, 1, 4, 5, 2, 3, -1, -1, -1}, 6},
    {"MoveRows4To1x2", [](TGridCellStore& s) { s.MoveRows(4, 1, 2); }, {0, 4, 5, 1, 2, 3, -1, -1, -1}, 6},
    {"MoveRowsOverlapping", [](TGridCellStore& s) { s.MoveRows(1, 2, 3); }, {0, 4, 1, 2, 3, 5, -1, -1, -1}, 6},
    {"MoveRowsPastTheExtent", [](TGridCellStore& s) { s.MoveRows(4, 6, 2); }, {0, 1, 2, 3, -1, -1, 4, 5, -1}, 8},
    {"MoveRowsFromBeyondTheExtent", [](TGridCellStore& s) { s.MoveRows(7, 1, 2); },
     {0, -1, -1, 1, 2, 3, 4, 5, -1}, 8},
    {"MoveRowsOntoItself", [](TGridCellStore& s) { s.MoveRows(3, 3, 2); }, {0, 1, 2, 3, 4, 5, -1, -1, -1}, 6},
    {"SwapRows", [](TGridCellStore& s) { s.SwapRows(5, 1); }, {0, 5, 2, 3, 4, 1, -1, -1, -1}, 6},
    {"SwapRowsWithAnEmptyRow", [](TGridCellStore& s) { s.SwapRows(1, 7); }, {0, -1, 2, 3, 4, 5, -1, 1, -1}, 8},
    {"SwapWithTheLastRow", [](TGridCellStore& s) { s.RemoveRows(1, 1); s.SwapRows(4, 0); },
     {5, 2, 3, 4, 0, -1, -1, -1, -1}, 5},
    {"SwapAnEmptyRowToTheEndShrinksTheExtent", [](TGridCellStore& s) { s.ClearRow(1); s.SwapRows(1, 5); },
     {0, 5, 2, 3, 4, -1, -1, -1, -1}, 5},
    {"GatherRows", [](TGridCellStore& s) { EXPECT_TRUE(s.GatherRows(1, std::vector<int>{2, 0, 3, 1})); },
     {0, 3, 1, 4, 2, 5, -1, -1, -1}, 6},
    {"GatherRowsPastTheExtent", [](TGridCellStore& s) { EXPECT_TRUE(s.GatherRows(3, std::vector<int>{3, 4, 5, 0, 1, 2})); },
     {0, 1, 2, -1, -1, -1, 3, 4, 5}, 9},
    {"GatherAnEmptyRowToTheEndShrinksTheExtent",
     [](TGridCellStore& s) { s.ClearRow(4); EXPECT_TRUE(s.GatherRows(4, std::vector<int>{1, 0})); },
     {0, 1, 2, 3, 5, -1, -1, -1, -1}, 5},
    {"GatherRowsBeyondTheExtent", [](TGridCellStore& s) { EXPECT_TRUE(s.GatherRows(7, std::vector<int>{1, 0})); },
     {0, 1, 2, 3, 4, 5, -1, -1, -1}, 6},
    {"GatherRowsRefusesWhatIsNoPermutation", [](TGridCellStore& s) {
         EXPECT_FALSE(s.GatherRows(1, std::vector<int>{0, 0, 2}));
         EXPECT_FALSE(s.GatherRows(1, std::vector<int>{0, 3}));
         EXPECT_FALSE(s.GatherRows(1, std::vector<int>{-1, 0}));
         EXPECT_FALSE(s.GatherRows(-1, std::vector<int>{1, 0}));
     },
     {0, 1, 2, 3, 4, 5, -1, -1, -1}, 6},
};

TEST(GridCellStore, BlockRowOperationsMoveWholeRows) {
    for (const auto& tc : kBlockCases) {
        SCOPED_TRACE(tc.name);
        TGridCellStore s;
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 4; ++c) {
                s.SetCell(c, r, Label(c, r));
                s.SetObject(c, r, Tag(static_cast<std::uintptr_t>(100 + c * 10 + r)));
            }
        tc.op(s);
        EXPECT_EQ(s.RowExtent(), tc.extent);
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 5; ++c) {
                const int src = c < 4 ? tc.source[r] : -1;
                EXPECT_EQ(s.Cell(c, r), src < 0 ? String() : Label(c, src)) << "cell " << c << "," << r;
                EXPECT_EQ(s.Object(c, r), src < 0 ? nullptr : Tag(static_cast<std::uintptr_t>(100 + c * 10 + src)))
                    << "object of " << c << "," << r;
            }
    }
}

// The operations hand rows over: a long text keeps its very storage wherever its row goes.
TEST(GridCellStore, BlockRowOperationsCopyNoText) {
    TGridCellStore s;
    for (int r = 0; r < 5; ++r) s.SetCell(1, r, u"a text too long to sit inline, row " + Label(1, r));
    std::vector<const char16_t*> at;
    for (int r = 0; r < 5; ++r) at.push_back(s.CellView(1, r).data());
    s.InsertRows(1, 3);    // 0 - - - 1 2 3 4
    s.SwapRows(0, 7);      // 4 - - - 1 2 3 0
    s.MoveRows(4, 1, 2);   // 4 1 2 - - - 3 0
    s.RemoveRows(3, 3);    // 4 1 2 3 0
    const int source[] = {4, 1, 2, 3, 0};
    for (int r = 0; r < 5; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(s.Cell(1, r), u"a text too long to sit inline, row " + Label(1, source[r]));
        EXPECT_EQ(s.CellView(1, r).data(), at[static_cast<std::size_t>(source[r])]);
    }
}

// Random row-structure edits, cell edits, column moves (also far beyond the others) and
// column-count changes, checked against a plain map.
TEST(GridCellStore, RandomRowBlocksMatchAPlainMap) {
    using Ref = std::map<std::pair<int, int>, std::pair<String, std::uintptr_t>>;  // (row, col)
    std::mt19937 rng(20261210);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const String texts[] = {u"", u"Y", u"abcdef", u"abcdefg", u"192.168.2.205", u"Topic/Sensor/Temperature"};
    for (int round = 0; round < 30; ++round) {
        TGridCellStore s;
        Ref ref;
        // Rebuilds the reference with every row mapped through f (-1 drops it).
        auto remap = [&](auto f) {
            Ref next;
            for (auto& [k, v] : ref)
                if (const int r = f(k.first); r >= 0) next[{r, k.second}] = v;
            ref.swap(next);
        };
        for (int step = 0; step < 400; ++step) {
            const int op = pick(16);
            const int a = pick(24), b = pick(24), n = pick(5) - 1;
            switch (op) {
            case 0: case 1: case 2: case 3: {
                const int col = pick(8) == 0 ? 1000 + pick(3) : pick(12);
                const String& t = texts[pick(6)];
                s.SetCell(col, a, t);
                ref[{a, col}].first = t;
                break;
            }
            case 4: {
                const int col = pick(12);
                const std::uintptr_t v = static_cast<std::uintptr_t>(pick(3)) * 8;
                s.SetObject(col, a, Tag(v));
                ref[{a, col}].second = v;
                break;
            }
            case 5:
                s.InsertRows(a, n);
                if (n > 0 && a < s.RowExtent()) remap([&](int r) { return r >= a ? r + n : r; });
                break;
            case 6:
                s.RemoveRows(a, n);
                if (n > 0) remap([&](int r) { return r < a ? r : r < a + n ? -1 : r - n; });
                break;
            case 7:
                s.MoveRows(a, b, n);
                if (n > 0 && a != b)
                    remap([&](int r) {
                        if (r >= a && r < a + n) return r - a + b;
                        if (a < b && r >= a + n && r < b + n) return r - n;
                        if (b < a && r >= b && r < a) return r + n;
                        return r;
                    });
                break;
            case 8:
                s.SwapRows(a, b);
                remap([&](int r) { return r == a ? b : r == b ? a : r; });
                break;
            case 9: {
                const int col = pick(12);
                s.DeleteColumn(col);
                Ref next;
                for (auto& [k, v] : ref)
                    if (k.second != col) next[{k.first, k.second > col ? k.second - 1 : k.second}] = v;
                ref.swap(next);
                break;
            }
            case 12: {
                // A cell written from a view of another cell of the store, often of its own row.
                const int col = pick(12), from = pick(12), fromRow = pick(3) ? a : b;
                const String want = s.Cell(from, fromRow);
                s.SetCell(col, a, s.CellView(from, fromRow));
                ref[{a, col}].first = want;
                break;
            }
            case 13: {
                // The grid's column count changes: rows laid out from now on follow it.
                s.SetColCountHint(pick(3) ? pick(16) : 0);
                const int from = pick(12), to = pick(4) ? pick(12) : 990 + pick(20);
                s.MoveColumn(from, to);
                Ref next;
                for (auto& [k, v] : ref) {
                    int c = k.second;
                    if (c == from) c = to;
                    else if (from < to && c > from && c <= to) --c;
                    else if (to < from && c >= to && c < from) ++c;
                    next[{k.first, c}] = v;
                }
                ref.swap(next);
                break;
            }
            case 14: {
                // A row taken out and put back elsewhere, through a second store half the time.
                TGridCellStore other;
                TGridCellStore::TRow taken = s.TakeRow(a);
                for (const auto& [k, v] : ref)
                    if (k.first == a) {
                        ASSERT_EQ(taken.CellView(k.second), v.first);
                    }
                if (pick(2)) {
                    other.PutRow(3, std::move(taken));
                    taken = other.TakeRow(3);
                    ASSERT_EQ(other.RowExtent(), 0);
                }
                s.PutRow(b, std::move(taken));
                ASSERT_TRUE(taken.Empty());
                remap([&](int r) { return r == a ? b : r == b ? -1 : r; });
                break;
            }
            case 15: {
                // Rows [a, a + size) permuted in one pass.
                std::vector<int> from(static_cast<std::size_t>(pick(9)));
                std::iota(from.begin(), from.end(), 0);
                std::shuffle(from.begin(), from.end(), rng);
                ASSERT_TRUE(s.GatherRows(a, from));
                remap([&](int r) {
                    if (r < a || r >= a + static_cast<int>(from.size())) return r;
                    return a + static_cast<int>(std::find(from.begin(), from.end(), r - a) - from.begin());
                });
                break;
            }
            case 10:
                s.ClearRow(a);
                remap([&](int r) { return r == a ? -1 : r; });
                break;
            default:
                s.TruncateRows(a);
                remap([&](int r) { return r < a ? r : -1; });
                break;
            }
            for (auto it = ref.begin(); it != ref.end();)
                it = (it->second.first.empty() && it->second.second == 0) ? ref.erase(it) : std::next(it);
            SCOPED_TRACE(testing::Message() << "round " << round << " step " << step << " op " << op << " a " << a
                                            << " b " << b << " n " << n);
            ASSERT_EQ(s.CellCount(), ref.size());
            ASSERT_EQ(s.RowExtent(), ref.empty() ? 0 : ref.rbegin()->first.first + 1);
            for (const auto& [k, v] : ref) {
                ASSERT_EQ(s.Cell(k.second, k.first), v.first) << "cell " << k.second << "," << k.first;
                ASSERT_EQ(s.Object(k.second, k.first), Tag(v.second)) << "cell " << k.second << "," << k.first;
            }
            std::vector<std::pair<int, int>> seen;
            for (int r = 0; r < s.RowExtent(); ++r)
                s.ForEachInRow(r, [&](int c, StringView, TObject*) { seen.emplace_back(r, c); });
            std::vector<std::pair<int, int>> want;
            for (const auto& kv : ref) want.push_back(kv.first);
            ASSERT_EQ(seen, want) << "every stored cell, in row and column order";
        }
    }
}

} // namespace
