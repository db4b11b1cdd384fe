// The check-box, button, edit-with-button, unit and rich-text editors through the real event
// path (clicks and keys on a shown form), on a column grid without goEditing. Every case runs
// once with real column 1 hidden, so that shown and real column indexes differ.
#include <gtest/gtest.h>

#include <vector>

#include "../GridFixture.h"
#include "ExtCGrid.h"
#include "GridEditors.h"
#include "GridEditors2.h"
#include "ExtUtil.h"
#include "plat/BalloonTip.h"
#include "plat/Clipbrd.h"
#include "plat/Messages.h"
#include "plat/RichText.h"
#include "plat/StdCtrls.h"
#include "plat/SystemInput.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

enum Real { kNum, kSpare, kBtn, kNumBtn, kFloatBtn, kUnit, kCheck, kButton, kRich, kText, kColCount };

const TEditorType kKinds[kColCount] = {edNormal,   edNormal,   edEditBtn, edNumericEditBtn, edFloatEditBtn,
                                       edUnitEditBtn, edCheckBox, edButton, edRichEdit,       edNormal};

class GridEditors2Test : public grid::testing::GridFixture<TExtColumnGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        savedFormat = plat::FormatSettings;
        plat::FormatSettings.DecimalSeparator = u',';
        plat::FormatSettings.ThousandSeparator = u'.';
        plat::SetBeepHandler([this](plat::UINT) { ++beeps; });
        other = new plat::TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(4, 440, 100, 24);
        grid->SetBounds(4, 4, 590, 420);
        grid->SetColCount(kColCount);
        grid->SetRowCount(6);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        for (int c = 0; c < kColCount; ++c) {
            grid->Columns()->Items(c)->SetEditor(kKinds[c]);
            grid->Columns()->Items(c)->SetWidth(60);
        }
        for (int r = 1; r < 6; ++r) {
            grid->SetCells(kNum, r, plat::IntToStr(r));
            grid->SetCells(kBtn, r, u"old");
            grid->SetCells(kNumBtn, r, u"7");
            grid->SetCells(kFloatBtn, r, u"");
            grid->SetCells(kUnit, r, u"5kg");
            grid->SetCells(kCheck, r, u"caption");
            grid->SetCells(kButton, r, u"press");
            grid->SetCells(kText, r, u"t");
        }
        grid->BtnUnitEdit()->Units()->Add(u"kg");
        grid->BtnUnitEdit()->Units()->Add(u"g");
        if (GetParam()) grid->HideColumn(kSpare);
        grid->OnEditingDone = [this](plat::TObject*) { ++editingDone; };
        grid->OnEditCellDone = [this](plat::TObject*, int c, int r) { cellDone.push_back({c, r}); };
        form->Show();
        pt::ProcessEvents();
    }
    void TearDown() override {
        plat::SetBeepHandler(nullptr);
        plat::FormatSettings = savedFormat;
        GridFixture::TearDown();
    }
    int D(int real) { return grid->DisplColIndex(real); }
    void ClickCell(int real, int row) {
        const plat::TRect r = grid->CellRect(D(real), row);
        pt::Click(grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        pt::ProcessEvents();
    }
    // Opens the cell's editor as a user does: a click on it, then F2.
    void Open(int real, int row) {
        ClickCell(real, row);
        pt::Key(plat::VK_F2);
        pt::ProcessEvents();
    }

    plat::TFormatSettings savedFormat;
    plat::TEdit* other = nullptr;
    int beeps = 0;
    int editingDone = 0;
    std::vector<TPoint> cellDone;
};

struct EditBtnCase {
    const char* name;
    int col;
    const char16_t* typed;
    std::uint16_t key;
    const char16_t* cell;
    int beeps;
};

TEST_P(GridEditors2Test, EditWithButtonFiltersByKindAndCommitsOnEnter) {
    const EditBtnCase cases[] = {
        {"free text", kBtn, u"abc", plat::VK_RETURN, u"oldabc", 0},
        {"numeric: '-' only first", kNumBtn, u"-1-2x", plat::VK_RETURN, u"712", 3},
        {"float: a second decimal separator and the thousands separator are dropped silently", kFloatBtn,
         u"1,2,3.4", plat::VK_RETURN, u"1,234", 0},
        {"float: '-' after the first character beeps", kFloatBtn, u"-5-", plat::VK_RETURN, u"-5", 1},
        {"Escape restores", kBtn, u"zzz", plat::VK_ESCAPE, u"old", 0},
        {"Down commits and moves", kBtn, u"d", plat::VK_DOWN, u"oldd", 0},
    };
    for (const EditBtnCase& c : cases) {
        SCOPED_TRACE(c.name);
        beeps = 0;
        editingDone = 0;
        Open(c.col, 2);
        ASSERT_TRUE(grid->BtnEdit()->Visible());
        EXPECT_EQ(grid->BtnEdit()->Text(), grid->Cells(c.col, 2));
        grid->BtnEdit()->SetSelStart(static_cast<int>(grid->BtnEdit()->Text().size()));
        pt::Type(c.typed);
        pt::Key(c.key);
        pt::ProcessEvents();
        EXPECT_FALSE(grid->BtnEdit()->Visible());
        EXPECT_EQ(grid->Cells(c.col, 2), c.cell);
        EXPECT_EQ(beeps, c.beeps);
        EXPECT_EQ(editingDone, 1);
        EXPECT_EQ(grid->Row(), c.key == plat::VK_DOWN ? 3 : 2);
        grid->SetCells(c.col, 2, c.col == kBtn ? u"old" : c.col == kNumBtn ? u"7" : u"");
    }
}

// edMaskEditBtn types through the column's edit mask (a refused character beeps); the other
// edit-with-button kinds open without one.
TEST_P(GridEditors2Test, MaskEditWithButtonTypesThroughTheColumnsMask) {
    grid->Columns()->Items(kBtn)->SetEditor(edMaskEditBtn);
    grid->Columns()->Items(kBtn)->EditMask = u"99-99;1;_";
    grid->SetCells(kBtn, 2, u"");
    Open(kBtn, 2);
    ASSERT_TRUE(grid->BtnEdit()->Visible());
    EXPECT_TRUE(grid->BtnEdit()->IsMasked());
    grid->BtnEdit()->SetSelStart(0);
    grid->BtnEdit()->SetSelLength(0);
    pt::Type(u"12a34");
    EXPECT_EQ(beeps, 1);
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_FALSE(grid->BtnEdit()->Visible());
    EXPECT_EQ(grid->Cells(kBtn, 2), u"12-34");

    grid->Columns()->Items(kBtn)->SetEditor(edEditBtn);
    Open(kBtn, 3);
    ASSERT_TRUE(grid->BtnEdit()->Visible());
    EXPECT_FALSE(grid->BtnEdit()->IsMasked());
    EXPECT_EQ(grid->BtnEdit()->Text(), u"old");
    pt::Key(plat::VK_ESCAPE);
}

TEST_P(GridEditors2Test, EnterSignalsTheEndOfTheEditAfterTheLoopTurns) {
    Open(kBtn, 2);
    pt::Type(u"x");
    pt::KeyDown(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kBtn, 2), u"oldx");
    EXPECT_EQ(editingDone, 1);
    EXPECT_TRUE(cellDone.empty());
    pt::KeyUp(plat::VK_RETURN);
    pt::ProcessEvents();
    ASSERT_EQ(cellDone.size(), 1u);
    EXPECT_EQ(cellDone[0].X, kBtn);
    EXPECT_EQ(cellDone[0].Y, 2);
}

TEST_P(GridEditors2Test, PasteIntoANumericEditWithButtonChecksTheNumber) {
    struct Case {
        const char* name;
        const char16_t* clip;
        const char16_t* cell;
    };
    const Case cases[] = {
        {"digits with a final CR LF", u"12\r\n", u"12"},
        {"letters refused", u"abc", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(kNumBtn, 3, u"");
        plat::Clipboard().SetAsText(c.clip);
        Open(kNumBtn, 3);
        pt::Key('V', plat::ssCtrl);
        EXPECT_EQ(grid->BtnEdit()->Text(), c.cell);
        pt::Key(plat::VK_RETURN);
        EXPECT_EQ(grid->Cells(kNumBtn, 3), c.cell);
        EXPECT_EQ(beeps, 0) << "the paste shortcut is no typed character";
    }
}

TEST_P(GridEditors2Test, RefusedValueKeepsTheEditWithButtonOpen) {
    struct Case {
        const char* name;
        const char16_t* replace;
        const char16_t* expected;
    };
    const Case cases[] = {{"old value back", nullptr, u"old"}, {"handler's value", u"fixed", u"fixed"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> cols;
        grid->OnCellValidate = [&](plat::TObject*, int col, int, String& v, bool& ok) {
            cols.push_back(col);
            if (c.replace) v = c.replace;
            ok = false;
        };
        Open(kBtn, 4);
        pt::Type(u"!");
        pt::Key(plat::VK_RETURN);
        pt::ProcessEvents();
        EXPECT_EQ(grid->Cells(kBtn, 4), c.expected);
        EXPECT_TRUE(grid->BtnEdit()->Visible());
        EXPECT_EQ(grid->BtnEdit()->Text(), c.expected);
        EXPECT_EQ(grid->Col(), D(kBtn));
        EXPECT_EQ(grid->Row(), 4);
        EXPECT_EQ(cols, std::vector<int>{kBtn});
        grid->OnCellValidate = nullptr;
        pt::Key(plat::VK_ESCAPE);
        pt::ProcessEvents();
        EXPECT_FALSE(grid->BtnEdit()->Visible());
        grid->SetCells(kBtn, 4, u"old");
    }
}

TEST_P(GridEditors2Test, EllipsisButtonAndButtonEditorPassTheTextThroughOnEllipsClick) {
    std::vector<int> cols;
    grid->OnEllipsClick = [&](plat::TObject*, int col, int, String& s) {
        cols.push_back(col);
        s += u"+";
    };
    Open(kBtn, 2);
    grid->BtnEdit()->StopEditAfterClick = true;
    grid->BtnEdit()->EllipsisButtonClick();
    pt::ProcessEvents();
    EXPECT_FALSE(grid->BtnEdit()->Visible());
    EXPECT_EQ(grid->Cells(kBtn, 2), u"old+");

    Open(kButton, 2);
    ASSERT_TRUE(grid->ButtonEditor()->Visible());
    EXPECT_EQ(grid->ButtonEditor()->Caption(), u"press");
    const plat::TRect r = grid->ButtonEditor()->ClientRect();
    pt::Click(grid->ButtonEditor(), r.Right / 2, r.Bottom / 2);
    pt::ProcessEvents();
    EXPECT_EQ(grid->ButtonEditor()->Caption(), u"press+");
    EXPECT_EQ(grid->Cells(kButton, 2), u"press+");
    EXPECT_EQ(cols, (std::vector<int>{kBtn, kButton}));
    // An arrow closes the button and moves the grid.
    pt::Key(plat::VK_DOWN);
    pt::ProcessEvents();
    EXPECT_FALSE(grid->ButtonEditor()->Visible());
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_FALSE(grid->EditMode);
}

TEST_P(GridEditors2Test, UnitEditorSplitsValueAndUnitAndKeepsTextsWithoutAUnit) {
    std::vector<String> units;
    grid->OnUnitChanged = [&](plat::TObject*, int, int, const String& u) { units.push_back(u); };
    Open(kUnit, 1);
    ASSERT_TRUE(grid->BtnUnitEdit()->Visible());
    EXPECT_EQ(grid->BtnUnitEdit()->Text(), u"5");
    EXPECT_EQ(grid->BtnUnitEdit()->UnitID(), u"kg");
    grid->BtnUnitEdit()->SetSelStart(1);
    pt::Type(u"0");
    pt::Key(plat::VK_RETURN);
    EXPECT_FALSE(grid->BtnUnitEdit()->Visible());
    EXPECT_EQ(grid->Cells(kUnit, 1), u"50kg");
    // A value without any known unit opens whole and comes back unchanged.
    grid->SetCells(kUnit, 2, u"12 m");
    Open(kUnit, 2);
    EXPECT_EQ(grid->BtnUnitEdit()->TextAndUnit(), u"12 m");
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kUnit, 2), u"12 m");
    // Escape brings back the cell's text.
    Open(kUnit, 3);
    pt::Type(u"9");
    pt::Key(plat::VK_ESCAPE);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(kUnit, 3), u"5kg");
}

TEST_P(GridEditors2Test, CheckBoxEditorWritesNothingAndEnterAdvances) {
    grid->Navigation()->AdvanceOnEnter = true;
    grid->Navigation()->SetAdvanceDirection(adTopBottom);
    Open(kCheck, 2);
    ASSERT_TRUE(grid->CheckBoxEditor()->Visible());
    EXPECT_EQ(grid->CheckBoxEditor()->Caption(), u"caption");
    EXPECT_FALSE(grid->CheckBoxEditor()->Checked());
    pt::Key(plat::VK_SPACE);
    EXPECT_TRUE(grid->CheckBoxEditor()->Checked());
    grid->SetCells(kCheck, 3, u"next");
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(kCheck, 2), u"caption");
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), D(kCheck));
    // AdvanceAutoEdit opens the next cell's editor.
    ASSERT_TRUE(grid->CheckBoxEditor()->Visible());
    EXPECT_EQ(grid->CheckBoxEditor()->Caption(), u"next");
    EXPECT_FALSE(grid->CheckBoxEditor()->Checked());
    // An arrow closes it and moves.
    pt::Key(plat::VK_UP);
    pt::ProcessEvents();
    EXPECT_FALSE(grid->CheckBoxEditor()->Visible());
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Cells(kCheck, 3), u"next");
}

TEST_P(GridEditors2Test, RichEditorKeepsAnUnchangedCellAndWritesUnicodeRichText) {
    // Up and Down leave a rich editor only in a grid without word wrap.
    grid->SetWordWrap(false);
    const String rtf = u"{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 a{\\b B}c}";
    grid->SetCells(kRich, 1, rtf);
    Open(kRich, 1);
    ASSERT_TRUE(grid->InplaceRichEdit()->Visible());
    EXPECT_EQ(grid->InplaceRichEdit()->Text(), u"aBc");
    pt::Key(plat::VK_UP);
    pt::ProcessEvents();
    EXPECT_FALSE(grid->InplaceRichEdit()->Visible());
    EXPECT_EQ(grid->Cells(kRich, 1), rtf) << "an unchanged edit keeps the stored text";

    grid->SetCells(kRich, 2, u"");
    Open(kRich, 2);
    grid->InplaceRichEdit()->SetText(u"\u041F\u0440\u0438 \u4E2D");
    pt::Key(plat::VK_DOWN);
    pt::ProcessEvents();
    const String stored = grid->Cells(kRich, 2);
    ASSERT_EQ(stored.substr(0, 5), u"{\\rtf");
    plat::TRichDocument d;
    EXPECT_TRUE(d.Load(stored));
    EXPECT_EQ(d.PlainText(), u"\u041F\u0440\u0438 \u4E2D");

    // Escape leaves the cell as it was.
    Open(kRich, 3);
    grid->SetCells(kRich, 3, u"keep");
    grid->InplaceRichEdit()->SetText(u"changed");
    pt::Key(plat::VK_ESCAPE);
    pt::ProcessEvents();
    EXPECT_FALSE(grid->InplaceRichEdit()->Visible());
}

TEST_P(GridEditors2Test, RichToStringIsEmptyWithoutAnEditor) {
    EXPECT_EQ(grid->RichToString(nullptr), u"");
    plat::TRichEdit re(nullptr);
    re.LoadRichText(u"{\\rtf1 \\u1055?x}");
    plat::TRichDocument d;
    EXPECT_TRUE(d.Load(grid->RichToString(&re)));
    EXPECT_EQ(d.PlainText(), u"\u041Fx");
}

TEST_P(GridEditors2Test, RefusedValueShowsTheInvalidEntryBalloonOnTheOpenEditor) {
    struct Case {
        const char* name;
        int col;
        const char16_t* title;
        const char16_t* text;
        TInvalidEntryIcon icon;
        bool shown;
    };
    const Case cases[] = {
        {"text editor", kText, u"Invalid entry", u"A number, please", ieError, true},
        {"edit with button", kBtn, u"", u"Only the text", ieInfo, true},
        {"unit editor", kUnit, u"Title only", u"", ieWarning, true},
        {"neither title nor text", kText, u"", u"", ieError, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plat::HideBalloonTip();
        grid->InvalidEntryTitle = c.title;
        grid->InvalidEntryText = c.text;
        grid->InvalidEntryIcon = c.icon;
        grid->OnCellValidate = [](plat::TObject*, int, int, String&, bool& ok) { ok = false; };
        Open(c.col, 3);
        pt::Type(u"9");
        pt::Key(plat::VK_RETURN);
        pt::ProcessEvents();
        plat::TBalloonWindow* b = plat::ActiveBalloonTip();
        if (!c.shown) {
            EXPECT_EQ(b, nullptr);
        } else {
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->Title(), c.title);
            EXPECT_EQ(b->Text(), c.text);
            EXPECT_EQ(b->Icon(), static_cast<int>(c.icon));
            EXPECT_EQ(plat::BalloonTipControl(), grid->OpenEditorControl());
            EXPECT_NE(plat::BalloonTipControl(), nullptr);
        }
        grid->OnCellValidate = nullptr;
        pt::Key(plat::VK_ESCAPE);
        pt::ProcessEvents();
    }
    plat::HideBalloonTip();
}

TEST_P(GridEditors2Test, WideValidationStoresEncodedTextBeforeAnnouncingIt) {
    struct Case {
        const char* name;
        bool valid;
        const char16_t* replace;
        const char16_t* expected;
        bool marked;
    };
    const Case cases[] = {
        {"accepted", true, nullptr, u"\u041D\u043E\u0432\u044B\u0439", true},
        {"refused", false, nullptr, u"\u0421\u0442\u0430\u0440\u044B\u0439", false},
        {"refused with a new value", false, u"\u4E2D", u"\u4E2D", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(kText, 4, EncodeEscapedUnicode(u"\u0421\u0442\u0430\u0440\u044B\u0439"));
        grid->SetRowModified(4, false);
        std::vector<String> seen;
        grid->OnCellsChanged = [&](plat::TObject*, const plat::TRect& r) {
            seen.push_back(DecodeEscapedUnicode(grid->Cells(r.Left, r.Top)));
        };
        std::vector<int> cols;
        grid->OnCellValidateWide = [&](plat::TObject*, int col, int, String& v, bool& ok) {
            cols.push_back(col);
            if (c.replace) v = c.replace;
            ok = c.valid;
        };
        Open(kText, 4);
        ASSERT_TRUE(grid->Editing());
        EXPECT_EQ(grid->ValidateCellWide(u"\u041D\u043E\u0432\u044B\u0439"), c.valid);
        EXPECT_EQ(cols, std::vector<int>{kText});
        EXPECT_EQ(DecodeEscapedUnicode(grid->Cells(kText, 4)), c.expected);
        EXPECT_EQ(grid->RowModified(4), c.marked);
        if (c.valid) {
            EXPECT_EQ(seen, std::vector<String>{c.expected});
        } else {
            EXPECT_TRUE(seen.empty());
            EXPECT_TRUE(grid->NormalEdit()->Visible()) << "the editor reopens on the cell";
            EXPECT_EQ(grid->Row(), 4);
        }
        grid->OnCellValidateWide = nullptr;
        grid->OnCellsChanged = nullptr;
        pt::Key(plat::VK_ESCAPE);
        pt::ProcessEvents();
    }
}

INSTANTIATE_TEST_SUITE_P(Columns, GridEditors2Test, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "HiddenColumn" : "AllShown"; });

TEST(EditBtnAcceptChar, RulesOfTheNumericAndFloatKinds) {
    const plat::TFormatSettings saved = plat::FormatSettings;
    plat::FormatSettings.DecimalSeparator = u',';
    plat::FormatSettings.ThousandSeparator = u'.';
    struct Case {
        const char* name;
        int kind;
        const char16_t* text;
        int selStart, selLen;
        char16_t key;
        bool ctrl, accepted, beep;
    };
    const Case cases[] = {
        {"any text", 0, u"", 0, 0, u'x', false, true, false},
        {"numeric digit", 1, u"12", 2, 0, u'3', false, true, false},
        {"numeric '-' at 0", 1, u"12", 0, 0, u'-', false, true, false},
        {"numeric '-' later beeps", 1, u"12", 1, 0, u'-', false, false, true},
        {"numeric second '-' beeps", 1, u"-12", 0, 0, u'-', false, false, true},
        {"numeric letter beeps", 1, u"", 0, 0, u'a', false, false, true},
        {"float separator", 2, u"1", 1, 0, u',', false, true, false},
        {"float second separator silent", 2, u"1,5", 3, 0, u',', false, false, false},
        {"float separator replacing the selected one", 2, u"1,5", 1, 1, u',', false, true, false},
        {"float thousands silent", 2, u"1", 1, 0, u'.', false, false, false},
        {"float '-' replacing a selected '-'", 2, u"-1", 0, 1, u'-', false, true, false},
        {"float misplaced '-' beeps", 2, u"1", 1, 0, u'-', false, false, true},
        {"float letter silent", 2, u"1", 1, 0, u'a', false, false, false},
        {"float letter with Ctrl passes", 2, u"1", 1, 0, u'a', true, true, false},
        {"backspace", 1, u"1", 1, 0, u'\b', false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool beep = false;
        EXPECT_EQ(EditBtnAcceptChar(c.kind, c.text, c.selStart, c.selLen, c.key, c.ctrl, beep), c.accepted);
        EXPECT_EQ(beep, c.beep);
    }
    plat::FormatSettings = saved;
}

} // namespace
