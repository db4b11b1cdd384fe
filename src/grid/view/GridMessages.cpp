// The grid's own messages: the grid timer (id 111, every 500 ms while the window exists), the
// dialog-code answer, the hint of a cell (CM_HINTSHOW) and the balloon text of a cell.
#include <algorithm>

#include "EsgHTMLE.h"
#include "ExtGrid.h"
#include "ExtUtil.h"
#include "plat/BalloonTip.h"
#include "plat/ComCtrls.h"
#include "plat/Forms.h"
#include "plat/Messages.h"

namespace grid {

namespace {

constexpr std::size_t kMaxBalloonText = 2048;
constexpr std::size_t kMaxBalloonTitle = 100;

// Keeps the first Keep characters and "..." when the text is longer than Max.
String Clip(String s, std::size_t Max, std::size_t Keep) {
    if (s.size() > Max) s = s.substr(0, Keep) + u"...";
    return s;
}

} // namespace

void TExtStringGrid::StartGridTimer() {
    if (HandleAllocated()) plat::SetTimer(Handle(), GridTimerID, 500);
}

bool TExtStringGrid::GridMessage(plat::TMessage& Message) {
    switch (Message.Msg) {
    case plat::WM_COMMAND: return EditorCommand(Message);
    case plat::WM_TIMER:
        if (Message.WParam != GridTimerID) return false;
        if (!FDestroying) GridTimer();
        Message.Result = 0;
        return true;
    case plat::WM_DESTROY:
        if (HandleAllocated()) plat::KillTimer(Handle(), GridTimerID);
        return false;
    case plat::CM_HINTSHOW: {
        auto* info = reinterpret_cast<plat::THintInfo*>(Message.LParam);
        if (!info) return false;
        GetCellHintInfo(info->HintStr, *info);
        Message.Result = 0;
        return true;
    }
    case plat::WM_GETDLGCODE:
        // Typing reaches the grid's search and lookup without goEditing, and with
        // AutoGotoWhenSorted.
        TBaseGrid::WndProc(Message);
        if (FNavigation->AutoGotoWhenSorted || !Options().Contains(plat::goEditing))
            Message.Result |= plat::DLGC_WANTCHARS;
        return true;
    default:
        return false;
    }
}

void TExtStringGrid::GridTimer() {
    ++FTickCount;
    if (FNavigation->AutoGotoIncremental) {
        if (SearchTics++ == 3) {
            SearchInc.clear();
            SearchTics = 0;
        }
    }
}

void TExtStringGrid::CellBalloonInfo(int ACol, int ARow, String& Title, String& Text, int& Icon) {
    const TPoint b = BaseCell(ACol, ARow);
    const String cell = GetGridCell(b.X, b.Y);
    String text;
    switch (DetectCellTextKind(cell, EnableHTML)) {
    case ctMarkup: text = MarkupToPlainText(cell); break;
    case ctRtf: {
        plat::TRichDocument d;
        d.Load(cell);
        text = d.PlainText();
        break;
    }
    case ctEscapedUnicode: text = DecodeEscapedUnicode(cell); break;
    default: text = cell; break;
    }
    std::replace(text.begin(), text.end(), u'\t', u' ');
    std::size_t start = 0;
    while (start < text.size() && (text[start] == u'\r' || text[start] == u'\n')) ++start;
    text.erase(0, start);
    Text = Clip(std::move(text), kMaxBalloonText, kMaxBalloonText - 3);
    Icon = 1;
    Title = u" ";
    String t, x;
    TBalloonIcon icon = biInfo;
    if (IsBalloon(b.X, b.Y, t, x, icon)) {
        Title = t;
        Text = x;
        Icon = static_cast<int>(icon);
    }
    if (OnCellBalloon) OnCellBalloon(this, b.X, b.Y, Title, Text, Icon);
    Title = Clip(std::move(Title), kMaxBalloonTitle, kMaxBalloonTitle - 3);
}

bool TExtStringGrid::ShowCellBalloon(int ACol, int ARow) {
    if (!FBalloon.Enable || FDestroying) return false;
    String title, text;
    int icon = 1;
    CellBalloonInfo(ACol, ARow, title, text, icon);
    FLastBalloonCell = BaseCell(ACol, ARow);
    if (!FBalloonWindow) FBalloonWindow = new plat::TBalloonWindow(this);
    FBalloonWindow->MaxWidth = 300;
    FBalloonWindow->TextColor = FBalloon.TextColor;
    FBalloonWindow->BackgroundColor = FBalloon.BackgroundColor;
    FBalloonWindow->SetContent(title, text, icon);
    const plat::TRect r = CellRect(DisplColIndex(FLastBalloonCell.X), FLastBalloonCell.Y);
    FBalloonWindow->ShowAt(ClientToScreen(plat::TPoint{(r.Left + r.Right) / 2, r.Bottom}));
    return true;
}

} // namespace grid
