#include <gtest/gtest.h>

#include "ExtObj.h"
#include "plat/Exception.h"
#include "TestSupport.h"

using namespace grid;

namespace {

TEST(IntList, StrValueAndChangeEvents) {
    TIntList l(2, 5);
    std::vector<std::pair<int, int>> events;
    l.OnChange = [&](plat::TObject* s, int c, int r) {
        EXPECT_EQ(s, &l);
        events.push_back({c, r});
    };
    l.Add(1);
    l.Add(22);
    l.Add(333);
    EXPECT_EQ(l.StrValue(), u"1,22,333");
    events.clear();
    l.SetStrValue(u" 4, 5");
    EXPECT_EQ(l.StrValue(), u"4,5");
    EXPECT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], (std::pair<int, int>{2, 5}));
    events.clear();
    l.Insert(0, 9);
    EXPECT_TRUE(events.empty()) << "Insert is silent";
    l.DeleteValue(4);
    l.DeleteValue(77);
    EXPECT_EQ(l.StrValue(), u"9,5");
    EXPECT_EQ(events.size(), 1u);
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EConvertError>([&] { l.SetStrValue(u"1,x"); },
                                                             u"'x' is not a valid integer value"));
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EListError>([&] { l.GetInteger(5); }, u"List index out of bounds (5)"));
    TIntList empty(0, 0);
    EXPECT_EQ(empty.StrValue(), u"");
}

// One pass inserting at ascending indexes gives what inserting at each in turn gives, where
// an index at or past the count at its turn inserts nothing.
TEST(IntList, InsertEachMatchesInsertInTurn) {
    struct Case {
        std::vector<int> items, at;
    };
    const Case cases[] = {
        {{1, 2, 3}, {0, 2, 4}},        // front, middle, then last-before-end
        {{1, 2, 3}, {0, 1, 2}},        // a run of consecutive inserts
        {{1, 2, 3}, {3}},              // at the count: nothing
        {{1, 2, 3}, {1, 5, 6}},        // past the count after one insert
        {{1, 2, 3, 4, 5}, {1, 3, 5, 7}},
        {{}, {0, 1}},                  // an empty list stays empty
        {{7}, {}},
        {{7, 8}, {-1, 0}},             // a negative index inserts nothing
    };
    for (const Case& c : cases) {
        TIntList one(0, 0), turn(0, 0);
        for (int v : c.items) {
            one.Add(v);
            turn.Add(v);
        }
        int events = 0;
        one.OnChange = [&](plat::TObject*, int, int) { ++events; };
        one.InsertEach(c.at, 0);
        for (int at : c.at)
            if (at >= 0 && at < turn.Count()) turn.Insert(at, 0);
        EXPECT_EQ(one.StrValue(), turn.StrValue()) << "items " << c.items.size() << ", inserts " << c.at.size();
        EXPECT_EQ(events, 0) << "inserting is silent";
    }
}

TEST(SortIndexList, SaveLoadAndToggle) {
    TSortIndexList s;
    EXPECT_EQ(s.SaveToString(), u"");
    s.AddIndex(2, true);
    s.AddIndex(5, false);
    EXPECT_EQ(s.SaveToString(), u"u2;d5");
    s.ToggleIndex(2);
    s.ToggleIndex(9);  // absent: nothing
    EXPECT_EQ(s.SaveToString(), u"d2;d5");
    s.SetSortColumns(1, 7);
    EXPECT_FALSE(s.SortDirections(1));
    EXPECT_EQ(s.SortColumns(1), 7);

    struct Case { const char16_t* text; const char16_t* saved; };
    const Case cases[] = {
        {u"u2;d5;;x", u"u2;d5"},
        {u"u$1F;dx10;u0x2;u 7;u3z", u"u31;d16;u2;u7;u3"},
        {u"uq", u"u0"},
        {u"", u""},
    };
    for (const auto& c : cases) {
        s.LoadFromString(c.text);
        EXPECT_EQ(s.SaveToString(), c.saved) << plat::StringToUtf8(c.text);
    }
    s.LoadFromString(u"u2;d5");
    EXPECT_EQ(s.FindIndex(5), 1);
    EXPECT_EQ(s.FindIndex(6), -1);
}

TEST(FileStringList, WriteThenRead) {
    TFileStringList f;
    f.Reset();
    EXPECT_TRUE(f.Eof());
    f.Write(u"a");
    f.WriteLn(u"b");
    f.WriteLn(u"c");
    f.Reset();
    plat::String line;
    f.ReadLn(line);
    EXPECT_EQ(line, u"ab");
    f.ReadLn(line);
    EXPECT_EQ(line, u"c");
    EXPECT_TRUE(f.Eof());
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EListError>([&] { f.ReadLn(line); }, u"List index out of bounds (2)"));
}

TEST(ControlList, FindAndRemove) {
    TControlList l;
    l.AddControl(1, 2, nullptr);
    l.AddControl(3, 4, nullptr);
    EXPECT_EQ(l.ControlIndex(3, 4), 1);
    EXPECT_EQ(l.ControlIndex(4, 3), -1);
    l.RemoveControl(0);
    EXPECT_EQ(l.ControlIndex(3, 4), 0);
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EListError>([&] { l.GetControl(1); }, u"List index out of bounds (1)"));
}

} // namespace
