// The grid's spin editor: opened by the factory for the four spin kinds, committed as an
// integer, a float, a time text or a date.
#include <algorithm>

#include "ExtUtil.h"
#include "GridEditors.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

bool IsBlank(const String& s) {
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c == u' ' || c == u'\t'; });
}

} // namespace

// ---- TGridSpin --------------------------------------------------------------------------------

TGridSpin::TGridSpin(TExtStringGrid* AOwner) : TEsgSpinEdit(AOwner), FGrid(AOwner) {
    MaxValue = 100;
    MinValue = 0;
    Increment = 1;
    SetVisible(false);
    SetEnabled(false);
}

void TGridSpin::FireSpinClick(bool Up) {
    if (!FGrid) return;
    const int col = FGrid->RealColIndex(FGrid->Col()), row = FGrid->Row();
    switch (SpinType()) {
    case sptNormal:
        if (FGrid->OnSpinClick) FGrid->OnSpinClick(FGrid, col, row, Value(), Up);
        break;
    case sptFloat:
        if (FGrid->OnFloatSpinClick) FGrid->OnFloatSpinClick(FGrid, col, row, FloatValue(), Up);
        break;
    case sptDate:
        if (FGrid->OnDateSpinClick) FGrid->OnDateSpinClick(FGrid, col, row, DateValue(), Up);
        break;
    case sptTime:
        if (FGrid->OnTimeSpinClick) FGrid->OnTimeSpinClick(FGrid, col, row, TimeValue(), Up);
        break;
    }
}

void TGridSpin::SpinUp() {
    TEsgSpinEdit::SpinUp();
    FireSpinClick(true);
}

void TGridSpin::SpinDown() {
    TEsgSpinEdit::SpinDown();
    FireSpinClick(false);
}

void TGridSpin::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    if (!FGrid) {
        TEsgSpinEdit::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
    case plat::VK_HOME:
    case plat::VK_END: {
        const bool home = Key == plat::VK_HOME;
        if (SpinType() == sptNormal) SetValue(home ? MaxValue : MinValue);
        else if (SpinType() == sptFloat) SetFloatValue(home ? MaxFloatValue : MinFloatValue);
        if (FGrid->OnSpinClick)
            FGrid->OnSpinClick(FGrid, FGrid->RealColIndex(FGrid->Col()), FGrid->Row(), Value(), home);
        Key = 0;
        return;
    }
    case plat::VK_ESCAPE:
        // The value the cell had when the edit began goes back into the editor, and the
        // commit writes it.
        SetText(FGrid->CellCache());
        FGrid->DoneInplaceEdit(Key, Shift);
        Key = 0;
        return;
    case plat::VK_TAB:
        if (!FGrid->Options().Contains(plat::goTabs)) break;
        [[fallthrough]];
    case plat::VK_RETURN:
        FGrid->DoneInplaceEdit(Key, Shift);
        if (FGrid->EditMode && Visible()) {
            // Refused: the editor stays with the value validation settled on, caret at the end.
            SetText(FGrid->NewCellText());
            SetSelStart(static_cast<int>(Text().size()));
            SetSelLength(0);
        }
        Key = 0;
        return;
    default:
        break;
    }
    TEsgSpinEdit::KeyDown(Key, Shift);
}

void TGridSpin::KeyPress(char16_t& Key) {
    if (Key == u'\r' || Key == 27 || Key == u'\t') {
        Key = 0;
        return;
    }
    TEsgSpinEdit::KeyPress(Key);
}

void TGridSpin::DoExit() {
    if (FGrid && FGrid->EditMode && Visible()) FGrid->HideInplaceEdit();
    TEsgSpinEdit::DoExit();
}

void TGridSpin::Change() {
    TEsgSpinEdit::Change();
    if (FGrid) FGrid->EditorChanged(Text());
}

// ---- the grid's side --------------------------------------------------------------------------

TGridSpin* TExtStringGrid::SpinEdit() {
    if (!FSpin) {
        FSpin = new TGridSpin(this);
        FSpin->SetParent(this);
        FSpin->SetBorderStyle(plat::bsNone);
    }
    return FSpin;
}

void TExtStringGrid::PrepareSpinEditor(int ACol, int ARow) {
    FEditing = FSpecialEditor = FEditActive = true;
    const plat::TRect r = CellRect(ACol, ARow);
    const int realCol = RealColIndex(ACol);
    const TPoint b = BaseCell(realCol, ARow);
    const String text = GetEditText(ACol, ARow);
    TGridSpin* s = SpinEdit();
    s->ReCreate();
    {
        // The editor is filled by the grid: no change notification reaches the events.
        struct Quiet {
            bool& f;
            bool saved;
            ~Quiet() { f = saved; }
        } quiet{FNoEditChange, FNoEditChange};
        FNoEditChange = true;
        s->SetBounds(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1);
        s->SetColor(Color());
        s->ExcelStyleDecimalSeparator = ExcelStyleDecimalSeparator;
        if (FSpinLimits.Set) {
            s->MinValue = FSpinLimits.Min;
            s->MaxValue = FSpinLimits.Max;
            s->Increment = FSpinLimits.Step;
            s->MinFloatValue = FSpinLimits.Min;
            s->MaxFloatValue = FSpinLimits.Max;
        }
        GetEditorProp(realCol, ARow, nullptr);
        switch (EditControl) {
        case edFloatSpinEdit: {
            s->SetSpinType(sptFloat);
            double v = 0;
            const String num = ExtractNumericText(text);
            try {
                v = num.empty() ? 0.0 : plat::StrToFloat(num);
            } catch (...) {
                v = 0;
            }
            s->SetFloatValue(v);
            break;
        }
        case edTimeSpinEdit:
            s->SetSpinType(sptTime);
            s->SetText(text);
            break;
        case edDateSpinEdit: {
            s->SetSpinType(sptDate);
            plat::TDateTime d = 0;
            try {
                d = IsBlank(text) ? plat::Now() : Dates(b.X, b.Y);
            } catch (...) {
                d = plat::Now();
            }
            s->SetDateValue(d);
            break;
        }
        default: {
            s->SetSpinType(sptNormal);
            // The leading whole number of the text; anything else reads as 0.
            String t = text;
            while (!t.empty() && t.front() == u' ') t.erase(t.begin());
            std::size_t n = (!t.empty() && (t[0] == u'-' || t[0] == u'+')) ? 1 : 0;
            while (n < t.size() && t[n] >= u'0' && t[n] <= u'9') ++n;
            int v = 0;
            try {
                v = n > 0 ? plat::StrToInt(t.substr(0, n)) : 0;
            } catch (...) {
                v = 0;
            }
            s->SetValue(v);
            break;
        }
        }
    }
    s->SetEnabled(true);
    s->SetVisible(true);
    if (s->CanFocus()) s->SetFocus();
    if (FStartEditChar != 0) {
        const char16_t ch = FStartEditChar;
        FStartEditChar = 0;
        s->SelectAll();
        s->Perform(plat::WM_CHAR, ch, 0);
    }
}

void TExtStringGrid::CommitSpinEditor(int RealCol, int ARow) {
    TGridSpin* s = FSpin;
    if (!s || !s->Visible()) return;
    const TPoint b = BaseCell(RealCol, ARow);
    if (s->AllowEmptyValue && IsBlank(s->Text())) {
        SetEditCellText(b.X, b.Y, String());
    } else {
        switch (EditControl) {
        case edSpinEdit: SetInts(b.X, b.Y, s->Value()); break;
        case edFloatSpinEdit: SetFloats(b.X, b.Y, s->FloatValue()); break;
        case edTimeSpinEdit: SetEditCellText(b.X, b.Y, s->Text()); break;
        case edDateSpinEdit: SetDates(b.X, b.Y, s->DateValue()); break;
        default: break;
        }
    }
    s->SetEnabled(false);
    s->SetVisible(false);
    EditMode = false;
}

} // namespace grid
