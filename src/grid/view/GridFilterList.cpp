// The filter drop-down lists: the settings object, the plain list and the check list with
// their selection rules, and the grid's opening and closing of a column's list from its
// filter button.
#include "GridFilterList.h"

#include <algorithm>

#include "ExtGrid.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

namespace grid {

// ---- TFilterDropDown ------------------------------------------------------------------------

TFilterDropDown::TFilterDropDown()
    : FFont(std::make_unique<plat::TFont>()), FGlyph(std::make_unique<plat::TBitmap>()),
      FGlyphActive(std::make_unique<plat::TBitmap>()) {
    FGlyph->OnChange = [this](plat::TObject*) { Changed(); };
    FGlyphActive->OnChange = [this](plat::TObject*) { Changed(); };
}

TFilterDropDown::~TFilterDropDown() {
    FGlyph->OnChange = nullptr;
    FGlyphActive->OnChange = nullptr;
}

void TFilterDropDown::Changed() {
    if (OnChange) OnChange(this);
}

void TFilterDropDown::SetGlyph(const plat::TBitmap* Value) {
    if (Value) FGlyph->Assign(*Value);
}

void TFilterDropDown::SetGlyphActive(const plat::TBitmap* Value) {
    if (Value) FGlyphActive->Assign(*Value);
}

void TFilterDropDown::Assign(const plat::TPersistent* Source) {
    const auto* s = dynamic_cast<const TFilterDropDown*>(Source);
    if (!s) return;
    Color = s->Color;
    ColumnWidth = s->ColumnWidth;
    FFont->Assign(*s->FFont);
    Height = s->Height;
    Width = s->Width;
    FGlyph->Assign(*s->FGlyph);
    FGlyphActive->Assign(*s->FGlyphActive);
}

// ---- the lists ------------------------------------------------------------------------------

namespace {

// A cancelled mode or lost focus while the pointer is off the list closes it.
bool ClosesList(plat::TWinControl* List, const plat::TMessage& Message) {
    if (Message.Msg == plat::WM_KILLFOCUS) return true;
    if (Message.Msg != plat::WM_CANCELMODE) return false;
    const plat::TPoint p = List->ScreenToClient(plat::GetCursorPos());
    return !List->ClientRect().Contains(p);
}

} // namespace

void TDropList::WndProc(plat::TMessage& Message) {
    if (Visible() && ClosesList(this, Message) && FGrid) FGrid->CloseFilterList();
    plat::TCustomListBox::WndProc(Message);
}

void TDropList::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    plat::TCustomListBox::KeyDown(Key, Shift);
    if (Key == plat::VK_RETURN) {
        Key = 0;
        SetVisible(false);
        if (OnSelect) OnSelect(this, ItemIndex());
    } else if (Key == plat::VK_ESCAPE && FGrid) {
        Key = 0;
        FGrid->CloseFilterList();
    }
}

void TDropList::MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
    plat::TCustomListBox::MouseUp(Button, Shift, X, Y);
    if (Button != plat::mbLeft || !Visible()) return;
    SetVisible(false);
    if (OnSelect) OnSelect(this, ItemIndex());
}

void TDropCheckList::WndProc(plat::TMessage& Message) {
    if (Visible() && ClosesList(this, Message) && FGrid) FGrid->CloseFilterList();
    plat::TCheckListBox::WndProc(Message);
}

void TDropCheckList::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    plat::TCheckListBox::KeyDown(Key, Shift);
    if ((Key == plat::VK_ESCAPE || Key == plat::VK_RETURN) && FGrid) {
        Key = 0;
        FGrid->CloseFilterList();
    }
}

void TDropCheckList::ClickCheck() {
    plat::TCheckListBox::ClickCheck();
    if (OnSelect) OnSelect(this, -1);
}

// ---- the grid's side ------------------------------------------------------------------------

TFilterDropDown* TExtStringGrid::FilterDropDown() {
    if (!FFilterDropDown) {
        FFilterDropDown = std::make_shared<TFilterDropDown>();
        FFilterDropDown->OnChange = [this](plat::TObject*) { Invalidate(); };
    }
    return FFilterDropDown.get();
}

bool TExtStringGrid::FilterListOpen() const {
    return (FDropList && FDropList->Visible()) || (FDropCheckList && FDropCheckList->Visible());
}

plat::TCustomListBox* TExtStringGrid::OpenFilterList() const {
    if (FDropList && FDropList->Visible()) return FDropList;
    if (FDropCheckList && FDropCheckList->Visible()) return FDropCheckList;
    return nullptr;
}

void TExtStringGrid::CloseFilterList() {
    FFilterCol = -1;
    if (FDropList) FDropList->SetVisible(false);
    if (FDropCheckList) FDropCheckList->SetVisible(false);
}

bool TExtStringGrid::FilterButtonRelease(int ACol, int ARow, int X, int Y) {
    const int real = ACol >= 0 ? RealColIndex(ACol) : -1;
    bool onButton = false;
    if (ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount() && ARow == FFilterRow) {
        const plat::TRect r = CellRect(ACol, ARow);
        onButton = X >= r.Right - 16 && X <= r.Right - 3 && Y >= r.Top && Y < r.Top + 19 && GetColumnFilter(real);
    }
    // The list loses the focus to the press, so whether it was open is read at the press.
    const bool wasOpenHere = FFilterOpenAtPress >= 0 && FFilterOpenAtPress == real;
    FFilterOpenAtPress = -1;
    if (FilterListOpen()) CloseFilterList();
    if (!onButton) return false;
    if (!wasOpenHere) ShowFilterList(ACol, ARow);
    return true;
}

void TExtStringGrid::ShowFilterList(int ACol, int ARow) {
    const int real = RealColIndex(ACol);
    if (!GetColumnFilter(real)) return;
    FFilterCol = real;
    TFilterDropDown& dd = *FilterDropDown();
    plat::TCustomListBox* list = nullptr;
    if (FilterDropDownCheck) {
        if (!FDropCheckList) {
            FDropCheckList = new TDropCheckList(this, this);
            FDropCheckList->SetVisible(false);
            FDropCheckList->SetParent(this);
            FDropCheckList->OnSelect = [this](plat::TObject*, int) {
                std::vector<int> checked;
                for (int i = 0; i < FDropCheckList->Count(); ++i)
                    if (FDropCheckList->Checked(i)) checked.push_back(i);
                FilterCheck(checked);
            };
        }
        list = FDropCheckList;
    } else {
        if (!FDropList) {
            FDropList = new TDropList(this, this);
            FDropList->SetVisible(false);
            FDropList->SetParent(this);
            FDropList->OnSelect = [this](plat::TObject*, int ItemIndex) { FilterSelect(ItemIndex); };
        }
        list = FDropList;
    }
    list->Items()->Clear();
    for (int i = 0; i < FilterList()->Count(); ++i) {
        const String& entry = FilterList()->Strings(i);
        const auto eq = entry.find(u'=');
        list->Items()->Add(eq == String::npos ? entry : entry.substr(0, eq));
    }
    if (FilterDropDownCheck) {
        for (int i = 0; i < list->Count(); ++i) {
            const String& item = list->Items()->Strings(i);
            const String quoted = item.find(u' ') != String::npos ? u"\"" + item + u"\"" : item;
            bool on = false;
            for (int f = 0; f < FFilter->Count() && !on; ++f) {
                const TFilterData* d = FFilter->Items(f);
                on = d->Column == real && (d->Condition == quoted || d->Condition == item);
            }
            FDropCheckList->SetChecked(i, on);
        }
    } else {
        list->SetItemIndex(list->Count() > 0 ? 0 : -1);
    }
    list->SetColor(dd.Color);
    list->Font()->Assign(*dd.Font());
    const plat::TRect cell = CellRect(ACol, ARow);
    int w = dd.Width, h = dd.Height;
    if (dd.AutoSize) {
        plat::TCanvas* c = Canvas();
        c->Font()->Assign(*dd.Font());
        int widest = 0;
        for (int i = 0; i < list->Count(); ++i) widest = std::max(widest, c->TextWidth(list->Items()->Strings(i)));
        const int edgeX = plat::GetSystemMetrics(plat::SM_CXEDGE), edgeY = plat::GetSystemMetrics(plat::SM_CYEDGE);
        w = widest + 8 + 2 * edgeX + (FilterDropDownCheck ? plat::TCheckListBox::CheckWidth : 0);
        h = list->Count() * list->ItemHeight() + 2 * edgeY;
    }
    int left = cell.Right - 16;
    if (dd.ColumnWidth) {
        w = cell.Width();
        left = cell.Left;
    }
    if (left + w > ClientWidth()) left = std::max(0, cell.Right - w);
    list->SetBounds(left, cell.Top + 16, w, h);
    list->SetVisible(true);
    list->BringToFront();
    if (list->CanFocus()) list->SetFocus();
}

} // namespace grid
