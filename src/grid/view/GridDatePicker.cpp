// The grid's date editors: opened by the factory for edDateEdit, edDateEditUpDown and
// edTimeEdit on the value of the cell's text, committed as the picker's text; and the
// date-and-time editor of edDateTimeEdit, committed in the locale's short date and time.
#include "GridDatePicker.h"

#include <cmath>

#include "ExtUtil.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

// Hours and minutes, and seconds when given, separated by the locale's time separator.
bool ParseTime(const String& Text, plat::TDateTime& Value) {
    const String t = plat::Trim(Text);
    int parts[3] = {0, 0, 0};
    int n = 0;
    std::size_t i = 0;
    while (i < t.size()) {
        if (n == 3) return false;
        std::size_t j = i;
        while (j < t.size() && t[j] >= u'0' && t[j] <= u'9') ++j;
        if (j == i || j - i > 2) return false;
        parts[n++] = plat::StrToInt(t.substr(i, j - i));
        if (j == t.size()) break;
        if (t[j] != plat::FormatSettings.TimeSeparator) return false;
        i = j + 1;
        if (i == t.size()) return false;
    }
    if (n < 2) return false;
    return plat::TryEncodeTime(parts[0], parts[1], parts[2], 0, Value);
}

bool IsSpecialKey(std::uint16_t Key) {
    switch (Key) {
    case plat::VK_TAB: case plat::VK_RETURN: case plat::VK_ESCAPE: case plat::VK_PRIOR: case plat::VK_NEXT:
    case plat::VK_END:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---- TGridDatePicker --------------------------------------------------------------------------

TGridDatePicker::TGridDatePicker(TExtStringGrid* AOwner) : TEsgDateTimePicker(AOwner), FGrid(AOwner) {
    SetVisible(false);
    SetEnabled(false);
}

void TGridDatePicker::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    // The open calendar has the keys (Enter picks, Escape closes it).
    if (!FGrid || !IsSpecialKey(Key) || DroppedDown()) {
        TEsgDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
    case plat::VK_ESCAPE:
        // The picker takes the cell's value back; the commit writes nothing.
        SetDateTime(FGrid->DateEditorValue(FGrid->CellCache(), Kind() == plat::dtkTime));
        FGrid->RestoreCellCache();
        FGrid->EditControl = edNone;
        FGrid->DoneInplaceEdit(Key, Shift);
        Key = 0;
        return;
    case plat::VK_TAB:
        if (!FGrid->Options().Contains(plat::goTabs)) {
            TEsgDateTimePicker::KeyDown(Key, Shift);
            return;
        }
        [[fallthrough]];
    case plat::VK_RETURN:
        FGrid->DoneInplaceEdit(Key, Shift);
        if (FGrid->EditMode && Visible()) {
            // Refused: the picker shows the value validation settled on.
            SetDateTime(FGrid->DateEditorValue(FGrid->NewCellText(), Kind() == plat::dtkTime));
            Invalidate();
        }
        Key = 0;
        return;
    default:
        // Page Up, Page Down and End end the edit and go on to the grid.
        FGrid->DoneInplaceEdit(Key, Shift);
        Key = 0;
        return;
    }
}

void TGridDatePicker::KeyPress(char16_t& Key) {
    if (Key == u'\r' || Key == 27 || Key == u'\t') {
        Key = 0;
        return;
    }
    const char16_t typed = Key;
    if (Key >= u'0' && Key <= u'9') {
        const plat::TDateTime v = DateTime();
        plat::DecodeDate(v, Fy, Fm, Fd);
        plat::DecodeTime(v, Fth, Ftm, Fts, Ftms);
        TEsgDateTimePicker::KeyPress(Key);
        if (HandleAllocated() && GridRegistrations().DTPShiftFocus != 0)
            plat::PostMessage(Handle(), GridRegistrations().DTPShiftFocus, 0, 0);
    } else {
        TEsgDateTimePicker::KeyPress(Key);
    }
    if (FGrid && FGrid->OnKeyPress) {
        char16_t k = typed;
        FGrid->OnKeyPress(FGrid, k);
    }
}

void TGridDatePicker::DoExit() {
    if (FGrid && FGrid->EditMode && Visible()) FGrid->HideInplaceEdit();
    TEsgDateTimePicker::DoExit();
}

void TGridDatePicker::WndProc(plat::TMessage& Message) {
    if (Message.Msg == GridRegistrations().DTPShiftFocus && Message.Msg != 0) {
        ShiftFocus();
        Message.Result = 0;
        return;
    }
    TEsgDateTimePicker::WndProc(Message);
}

void TGridDatePicker::ShiftFocus() {
    // A first digit that another may follow stays in its field.
    if (!FieldTyped()) return;
    const plat::TDateTime v = DateTime();
    if (Kind() == plat::dtkTime) {
        int h = 0, m = 0, s = 0, ms = 0;
        plat::DecodeTime(v, h, m, s, ms);
        if (h != Fth || m != Ftm || s != Fts) plat::PostMessage(Handle(), plat::WM_KEYDOWN, plat::VK_RIGHT, 0);
        return;
    }
    int y = 0, m = 0, d = 0;
    plat::DecodeDate(v, y, m, d);
    const bool dayChanged = d != Fd, monthChanged = m != Fm, yearChanged = y != Fy;
    bool next;
    if (!Format().empty()) {
        // The format's last field keeps the caret.
        const char16_t c = Format().back();
        const bool last = (dayChanged && (c == u'D' || c == u'd')) || (monthChanged && (c == u'M' || c == u'm')) ||
                          (yearChanged && (c == u'Y' || c == u'y'));
        next = !last && (dayChanged || monthChanged || yearChanged);
    } else {
        next = dayChanged || monthChanged;
    }
    if (next) plat::PostMessage(Handle(), plat::WM_KEYDOWN, plat::VK_RIGHT, 0);
}

void TGridDatePicker::DropDown() {
    FOldDropped = true;
    TEsgDateTimePicker::DropDown();
}

void TGridDatePicker::CloseUp() {
    FOldDropped = false;
    TEsgDateTimePicker::CloseUp();
}

void TGridDatePicker::Change() {
    TEsgDateTimePicker::Change();
    if (FGrid && Visible()) {
        FGrid->EditorChanged(Text());
        FGrid->DateEditorChanged(ShowCheckbox() && !Checked() ? 0 : DateTime());
    }
}

// ---- TGridDateTimePicker ----------------------------------------------------------------------

TGridDateTimePicker::TGridDateTimePicker(TExtStringGrid* AOwner) : TExtDateTimePicker(AOwner), FGrid(AOwner) {
    SetVisible(false);
    SetEnabled(false);
    SetAutoTab(true);
    OnTimeChange = [this](plat::TObject*) { AnnounceChange(); };
}

void TGridDateTimePicker::Change() {
    TExtDateTimePicker::Change();
    AnnounceChange();
}

void TGridDateTimePicker::AnnounceChange() {
    if (FGrid && Visible()) FGrid->DateEditorChanged(ShowCheckbox() && !Checked() ? 0 : DateTime());
}

bool TGridDateTimePicker::HasFocusWithin() const {
    plat::TControl* f = plat::FindControl(plat::GetFocus());
    return f && (f == this || f == TimePicker());
}

bool TGridDateTimePicker::EndKey(std::uint16_t Key, plat::TShiftState Shift) {
    if (!FGrid || DroppedDown()) return false;
    switch (Key) {
    case plat::VK_ESCAPE:
        // The date the cell had comes back; the time of day shown stays.
        SetDatePart(FGrid->OriginalDateTime());
        FGrid->HideInplaceEdit();
        if (FGrid->CanFocus()) FGrid->SetFocus();
        return true;
    case plat::VK_RETURN: {
        FGrid->HideInplaceEdit();
        if (FGrid->CanFocus()) FGrid->SetFocus();
        if (FGrid->Navigation()->AdvanceOnEnter)
            FGrid->AdvanceCell(FGrid->Col(), FGrid->Row(), true, false, true, true, false);
        return true;
    }
    case plat::VK_TAB: {
        if (!FGrid->EditorWantsTab()) return false;
        const String text = Text();
        FGrid->HideInplaceEdit();
        if (FGrid->CanFocus()) FGrid->SetFocus();
        FGrid->SetCurrentCell(text);
        FGrid->EditorKeyNavigation((Shift & plat::ssShift) != 0);
        return true;
    }
    default:
        return false;
    }
}

void TGridDateTimePicker::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    if (EndKey(Key, Shift)) {
        Key = 0;
        return;
    }
    TExtDateTimePicker::KeyDown(Key, Shift);
}

void TGridDateTimePicker::TimePickerKeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    TExtDateTimePicker::TimePickerKeyDown(Key, Shift);
    if (Key != 0 && EndKey(Key, Shift)) Key = 0;
}

void TGridDateTimePicker::KeyPress(char16_t& Key) {
    if (Key == u'\r' || Key == 27 || Key == u'\t') {
        Key = 0;
        return;
    }
    TExtDateTimePicker::KeyPress(Key);
}

void TGridDateTimePicker::ExitIfFocusLeft() {
    // Moving between the date and the time keeps the edit open.
    if (!FGrid || HasFocusWithin() || !FGrid->EditMode || !Visible()) return;
    FGrid->HideInplaceEdit();
}

void TGridDateTimePicker::DoExit() {
    TExtDateTimePicker::DoExit();
    ExitIfFocusLeft();
}

void TGridDateTimePicker::TimePickerExit() { ExitIfFocusLeft(); }

// ---- the grid's side --------------------------------------------------------------------------

TGridDatePicker* TExtStringGrid::DateTimePicker() {
    if (!FDatePicker) {
        FDatePicker = new TGridDatePicker(this);
        FDatePicker->SetParent(this);
    }
    return FDatePicker;
}

TGridDateTimePicker* TExtStringGrid::DateAndTimePicker() {
    if (!FDateAndTimePicker) {
        FDateAndTimePicker = new TGridDateTimePicker(this);
        FDateAndTimePicker->SetParent(this);
    }
    return FDateAndTimePicker;
}

plat::TDateTime TExtStringGrid::DateEditorValue(const String& Text, bool TimeKind) {
    plat::TDateTime v = 0;
    bool ok = false;
    try {
        ok = TimeKind ? ParseTime(Text, v) : TextToDateByFormat(plat::Trim(Text), v);
    } catch (...) {
        ok = false;
    }
    if (!ok) return plat::Now();
    if (TimeKind) return std::floor(plat::Now()) + v;
    if (FDatePicker) {
        // A date past a bound opens a day inside it.
        const plat::TDateTime lo = FDatePicker->MinDate(), hi = FDatePicker->MaxDate();
        if (hi != 0 && v > hi) v = std::floor(hi) - 1;
        if (lo != 0 && v <= lo) v = std::floor(lo) + 1;
    }
    return v;
}

void TExtStringGrid::PrepareDateEditor(int ACol, int ARow) {
    FEditing = FSpecialEditor = FEditActive = true;
    const plat::TRect r = CellRect(ACol, ARow);
    const int realCol = RealColIndex(ACol);
    const String text = GetEditText(ACol, ARow);
    if (EditControl == edDateTimeEdit) {
        TGridDateTimePicker* p = DateAndTimePicker();
        {
            struct Quiet {
                bool& f;
                bool saved;
                ~Quiet() { f = saved; }
            } quiet{FNoEditChange, FNoEditChange};
            FNoEditChange = true;
            FOriginalDateTime = DateTimeEditorValue(text);
            p->SetExtKind(dkDateTime);
            p->SetBorderStyle(plat::bsNone);
            p->SetBounds(r.Left, r.Top, r.Right - r.Left - 1, std::max(r.Bottom - r.Top - 1, p->Height()));
            GetEditorProp(realCol, ARow, nullptr);
            p->SetDateTime(FOriginalDateTime);
            p->SetCurrentField(0);
            FDateOpenValue = p->DateTime();
            FDateOpenChecked = p->Checked();
        }
        p->SetEnabled(true);
        p->SetVisible(true);
        p->SetColor(Color());
        if (p->CanFocus()) p->SetFocus();
        FStartEditChar = 0;
        return;
    }
    TGridDatePicker* p = DateTimePicker();
    p->ReCreate();
    const bool time = EditControl == edTimeEdit;
    {
        // The editor is filled by the grid: no change notification reaches the events.
        struct Quiet {
            bool& f;
            bool saved;
            ~Quiet() { f = saved; }
        } quiet{FNoEditChange, FNoEditChange};
        FNoEditChange = true;
        p->SetKind(time ? plat::dtkTime : plat::dtkDate);
        p->SetDateMode(EditControl == edDateEditUpDown ? plat::dmUpDown : plat::dmComboBox);
        GetEditorProp(realCol, ARow, nullptr);
        p->SetDateTime(DateEditorValue(text, time));
        p->SetBounds(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1);
        p->SetColor(Color());
        p->SetCurrentField(0);
        FDateOpenValue = p->DateTime();
        FDateOpenChecked = p->Checked();
    }
    p->SetEnabled(true);
    p->SetVisible(true);
    if (p->CanFocus()) p->SetFocus();
    if (!time && FMouseActions->DirectDateDrop) {
        std::uint16_t f4 = plat::VK_F4;
        p->Perform(plat::WM_KEYDOWN, f4, 0);
    }
    if (FStartEditChar != 0 && !time) {
        const char16_t ch = FStartEditChar;
        FStartEditChar = 0;
        p->Perform(plat::WM_CHAR, ch, 0);
    }
    FStartEditChar = 0;
}

plat::TDateTime TExtStringGrid::DateTimeEditorValue(const String& Text) {
    // The locale's date, a blank and its time; the time may be missing.
    const String t = plat::Trim(Text);
    const std::size_t blank = t.find(u' ');
    plat::TDateTime date = 0, time = 0;
    bool ok = false;
    try {
        ok = TextToDateByFormat(t.substr(0, blank), date) &&
             (blank == String::npos || ParseTime(t.substr(blank + 1), time));
    } catch (...) {
        ok = false;
    }
    if (!ok) return plat::Now();
    return plat::ComposeDateTime(date, time);
}

bool TExtStringGrid::DateEditorUnchanged() const {
    if (EditControl == edDateTimeEdit)
        return FDateAndTimePicker && FDateAndTimePicker->DateTime() == FDateOpenValue &&
               FDateAndTimePicker->Checked() == FDateOpenChecked;
    return FDatePicker && FDatePicker->DateTime() == FDateOpenValue && FDatePicker->Checked() == FDateOpenChecked;
}

void TExtStringGrid::CommitDateEditor(int RealCol, int ARow) {
    if (EditControl == edDateTimeEdit) {
        TGridDateTimePicker* p = FDateAndTimePicker;
        if (!p || !p->Visible()) return;
        const TPoint b = BaseCell(RealCol, ARow);
        // A value the user did not change leaves the cell's own text (an empty or unparsable
        // text opened the editor on today).
        const String value =
            DateEditorUnchanged() ? GetGridCell(b.X, b.Y)
            : p->ShowCheckbox() && !p->Checked()
                ? String()
                : plat::FormatDateTime(plat::FormatSettings.ShortDateFormat + u" " + plat::FormatSettings.ShortTimeFormat,
                                       p->DateTime());
        p->SetEnabled(false);
        p->SetVisible(false);
        EditMode = false;
        SetEditCellText(b.X, b.Y, value);
        return;
    }
    TGridDatePicker* p = FDatePicker;
    if (!p || !p->Visible()) return;
    const TPoint b = BaseCell(RealCol, ARow);
    String value;
    if (DateEditorUnchanged()) {
        value = GetGridCell(b.X, b.Y);
    } else if (EditControl == edTimeEdit) {
        // The picker's text is read with the long time format set to the picker's format;
        // the process-wide setting is back before anything else runs, whatever happens.
        struct Restore {
            String saved;
            ~Restore() { plat::FormatSettings.LongTimeFormat = saved; }
        } restore{plat::FormatSettings.LongTimeFormat};
        if (!p->Format().empty()) plat::FormatSettings.LongTimeFormat = p->Format();
        value = p->Text();
    } else {
        value = p->ShowCheckbox() && !p->Checked() ? String() : p->Text();
    }
    p->SetEnabled(false);
    p->SetVisible(false);
    EditMode = false;
    SetEditCellText(b.X, b.Y, value);
}

} // namespace grid
