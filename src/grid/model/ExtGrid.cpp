#include "ExtGrid.h"

#include <algorithm>

#include "ExtUtil.h"
#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Files.h"
#include "plat/IniFiles.h"
#include "plat/Registry.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

// Installed as a form's OnResize in front of whatever handler the form had. A grid that
// goes away leaves its link in the chain as a pass-through, so grids freed in any order
// never leave a handler pointing at a freed grid.
struct FormResizeLink {
    TExtStringGrid* Grid = nullptr;
    plat::TNotifyEvent Kept;
    int PrevSizeX = 0;
    int PrevSizeY = 0;
};

struct FormResizeThunk {
    std::shared_ptr<FormResizeLink> Link;
    void operator()(plat::TObject* Sender) const;
};

void FormResizeThunk::operator()(plat::TObject* Sender) const {
    auto link = Link;  // the handler may be replaced while it runs
    if (auto* g = link->Grid) {
        auto* form = dynamic_cast<plat::TControl*>(Sender);
        if (g->SizeWithForm && form && !g->IsDesigning()) {
            const int dx = form->Width() - link->PrevSizeX;
            const int dy = form->Height() - link->PrevSizeY;
            if (g->Width() + dx > 0 && g->Height() + dy > 0)
                g->SetBounds(g->Left(), g->Top(), g->Width() + dx, g->Height() + dy);
        }
        if (form) {
            link->PrevSizeX = form->Width();
            link->PrevSizeY = form->Height();
        }
    }
    // Every grid is sized before the form's own handler runs, so an error raised there
    // reaches the caller (the window's event boundary reports it) with the grids sized.
    if (link->Kept) link->Kept(Sender);
}

} // namespace

char16_t GetTimeSeparator() { return plat::FormatSettings.TimeSeparator; }
char16_t GetDateSeparator() { return plat::FormatSettings.DateSeparator; }
char16_t GetThousandSeparator() { return plat::FormatSettings.ThousandSeparator; }
char16_t GetDecimalSeparator() { return plat::FormatSettings.DecimalSeparator; }
String GetShortDateFormat() { return plat::FormatSettings.ShortDateFormat; }
String GetShortTimeFormat() { return plat::FormatSettings.ShortTimeFormat; }
String GetLongTimeFormat() { return plat::FormatSettings.LongTimeFormat; }

const TGridRegistrations& GridRegistrations() {
    // Registered on first use, once per process.
    static const TGridRegistrations r{plat::RegisterClipboardFormat(u"TExtStringGrid Cells"),
                                      plat::RegisterWindowMessage(u"GridEditDone"),
                                      plat::RegisterWindowMessage(u"DTPShiftFocus")};
    return r;
}

TExtStringGrid::TExtStringGrid(plat::TComponent* AOwner) : TBaseGrid(AOwner) {
    (void)GridRegistrations();
    cf = std::make_unique<plat::TFont>();
    FFocusHelper = std::make_unique<TFocusHelper>();
    const bool placedNew =
        IsDesigning() && AOwner && !AOwner->HasState(plat::csReading) && !AOwner->HasState(plat::csLoading);
    FSearchFooter = std::make_unique<TSearchFooter>(placedNew);
    FSearchFooter->OnChange = [this](plat::TObject*) { UpdateSearchPanel(); };
    FPrintSettings = std::make_unique<TPrintSettings>(this);
    FHTMLSettings = std::make_unique<THTMLSettings>();
    FControlLook = std::make_unique<TControlLook>(this);
    FShowModified = std::make_unique<TShowModified>();
    FShowModified->OnChange = [this](plat::TObject*) { InvalidateCol(0); };
    FProgressAppearance = std::make_unique<TGridProgressAppearance>();
    FProgressAppearance->OnChange = [this](plat::TObject* s) { OwnedChanged(s); };
    FNavigation = std::make_unique<TNavigation>();
    FMouseActions = std::make_unique<TMouseActions>();
    FMouseActions->OnIsDesigning = [this](plat::TObject*, bool& d) { d = IsDesigning(); };
    FMouseActions->OnInvalidate = [this](plat::TObject* s) { OwnedChanged(s); };
    FBands = std::make_unique<TBands>();
    FBands->OnChange = [this](plat::TObject* s) { OwnedChanged(s); };
    FSyncGrid = std::make_unique<TSyncGrid>(this);
    FGrouping = std::make_unique<TGrouping>();
    FSortSettings = std::make_unique<TSortSettings>(this);
    FFilter = std::make_unique<TFilter>(this);
    FColumnSize = std::make_unique<TColumnSize>(this);
    FCellNode->Owner = this;
    FCellNode->OnChange = [this] { Invalidate(); };
    FColumnHeaders = std::make_unique<plat::TStringList>();
    FColumnHeaders->OnChange = [this](plat::TObject*) { ColumnHeadersChanged(); };
    FRowHeaders = std::make_unique<plat::TStringList>();
    Sortlist = std::make_unique<plat::TStringList>();
    FLookupItems = std::make_unique<plat::TStringList>();
    FFilterList = std::make_unique<plat::TStringList>();
    FFilterList->SetSorted(true);
    FFilterList->SetDuplicates(plat::dupIgnore);
    FOrigColSizes = std::make_unique<TIntList>(0, 0);
    FIgnoreColumns = std::make_unique<TIntList>(0, 0);
    FColumnOrder = std::make_unique<TIntList>(0, 0);
    FSortIndexes = std::make_unique<TSortIndexList>();
    FSortRowXRef = std::make_unique<TGridIntList>();
    FUnSortRowXRef = std::make_unique<TGridIntList>();
    for (auto* l : {&FMergedColumns, &FSelectedCells, &FSelectedRows,
                    &FModifiedRows, &FEnabledRows})
        *l = std::make_unique<TIntList>(0, 0);
    FControlList = std::make_unique<TControlList>();
    FFixedFont = std::make_unique<plat::TFont>();
    FFixedFont->SetName(u"Tahoma");
    FFixedFont->SetStyle({plat::fsBold});
    FFixedFont->OnChange = [this](plat::TObject* s) { OwnedChanged(s); };
    FActiveCellFont = std::make_unique<plat::TFont>();
    FActiveCellFont->SetStyle({plat::fsBold});
    if (IsDesigning()) FActiveCellFont->SetName(u"Tahoma");
    FActiveCellFont->OnChange = [this](plat::TObject* s) { OwnedChanged(s); };

    ScrollWidth = plat::GetSystemMetrics(plat::SM_CXVSCROLL);
    ZODGradientTo = plat::ColorToRGB(plat::clBtnFace);
    SetDefaultRowHeight(22);
    // The fixed rows and columns the framework starts with are the ones kept.
    FFixedRowsMin = FixedRows();
    FFixedColsMin = FixedCols();
    SetRowCount(10);
    SetBounds(Left(), Top(), 400, 250);

    if (auto* form = dynamic_cast<plat::TCustomForm*>(AOwner); form && !IsDesigning()) {
        auto link = std::make_shared<FormResizeLink>();
        link->Grid = this;
        link->Kept = form->OnResize;
        link->PrevSizeX = form->Width();
        link->PrevSizeY = form->Height();
        form->OnResize = FormResizeThunk{link};
        FFormLink = link;
        FForm = form;
    }
}

TExtStringGrid::~TExtStringGrid() {
    FDestroying = true;
    // The frame's window moves with no grid that has gone.
    if (FocusHelperGrid() == this) HideFocusHelper();
    // Cell properties of hidden rows are the grid's like those of its shown rows.
    for (TGridItem& item : FGridItems.Items())
        item.ForEach([](int, StringView, plat::TObject* o) {
            if (o) FreeItemObject(o);
        });
    FGridItems.Clear();
    if (auto link = std::static_pointer_cast<FormResizeLink>(FFormLink)) {
        link->Grid = nullptr;
        // Give the form back its handler when this grid's link is still the first one.
        if (FForm) {
            const auto* thunk = FForm->OnResize.target<FormResizeThunk>();
            if (thunk && thunk->Link == link) FForm->OnResize = link->Kept;
        }
    }
    if (FColumnSize->Save) {
        try {
            SaveColSizes();
        } catch (...) {
            // A destructor cannot pass the error on: the application reports it (the widths
            // are not saved) and the program goes on.
            if (plat::Application) plat::Application->HandleException(this);
        }
    }
}


int TExtStringGrid::GetVersionNr() const { return (6 << 24) | (2 << 16) | (1 << 8) | 3; }

String TExtStringGrid::GetVersionString() const {
    const int v = GetVersionNr();
    return plat::IntToStr(v >> 24) + u"." + plat::IntToStr((v >> 16) & 0xFF) + u"." + plat::IntToStr((v >> 8) & 0xFF) +
           u"." + plat::IntToStr(v & 0xFF);
}

void TExtStringGrid::Loaded() {
    TBaseGrid::Loaded();
    // Header lists read from the layout go into the fixed row and column.
    ShowColumnHeaders();
    ShowRowHeaders();
    if (FColumnSize->Save) LoadColSizes();
    FFixedRowsMin = FixedRows();
    FFixedColsMin = FixedCols();
    MinRowHeight = DefaultRowHeight();
    MinColWidth = 10;
    FMaxRowCount = RowCount();
    FLoaded = true;
    if (Options().Contains(plat::goAlwaysShowEditor)) {
        FNavigation->AlwaysEdit = true;
        plat::TGridOptions o = Options();
        SetOptions(o.Exclude(plat::goAlwaysShowEditor));
    }
    FSearchFooter->SetAutoThemeAdapt(FAutoThemeAdapt);
    if (FAutoThemeAdapt) FollowOfficeTheme();
    UpdateSearchPanel();
    SetColumnOrder();
}

void TExtStringGrid::CreateWnd() {
    if (FDestroying) return;
    TBaseGrid::CreateWnd();
    if (!Parent()) return;
    // The window's bars take the colour and width; metro shows its slim indicators.
    ApplyFlatScrollColor();
    ApplyFlatScrollWidth();
    if (!IsDesigning() && FScrollType == ssMetro) CreateScrollControls();
    if (FColumnSize->Save) LoadColSizes();
    StartGridTimer();
}

void TExtStringGrid::Assign(const plat::TPersistent* Source) {
    auto* s = dynamic_cast<const TExtStringGrid*>(Source);
    if (!s) return;
    Font()->Assign(*s->Font());
    SetActiveCellColor(s->ActiveCellColor());
    SetActiveCellColorTo(s->ActiveCellColorTo());
    FActiveCellFont->Assign(*s->FActiveCellFont);
    SetActiveCellShow(s->ActiveCellShow());
    SetActiveRowShow(s->ActiveRowShow());
    SetAlign(s->Align());
    AutoNumAlign = s->AutoNumAlign;
    SetAutoThemeAdapt(s->AutoThemeAdapt());
    AutoFilterUpdate = s->AutoFilterUpdate;
    FMouseActions->Assign(s->FMouseActions.get());
    FNavigation->Assign(s->FNavigation.get());
    FGrouping->Assign(s->FGrouping.get());
    FSortSettings->Assign(s->FSortSettings.get());
    FFilter->Assign(s->FFilter.get());
    FSearchFooter->Assign(s->FSearchFooter.get());
    FPrintSettings->Assign(s->FPrintSettings.get());
    FHTMLSettings->Assign(s->FHTMLSettings.get());
    FBands->Assign(s->FBands.get());
    FCellNode->Assign(s->FCellNode.get());
    FControlLook->Assign(s->FControlLook.get());
    FColumnSize->Assign(s->FColumnSize.get());
    FSyncGrid->Assign(s->FSyncGrid.get());
    FFocusHelper->Assign(s->FFocusHelper.get());
    FixedRowAlways = s->FixedRowAlways;
    SetColCount(s->ColCount());
    SetRowCount(s->RowCount());
    SetFixedRows(s->FixedRows());
    SetFixedCols(s->FixedCols());
    SetDefaultColWidth(s->DefaultColWidth());
    SetDefaultRowHeight(s->DefaultRowHeight());
    FixedRowHeight = s->FixedRowHeight;
    InvalidEntryTitle = s->InvalidEntryTitle;
    InvalidEntryIcon = s->InvalidEntryIcon;
    InvalidEntryText = s->InvalidEntryText;
    SetOptions(s->Options());
    for (int c = 0; c < s->ColCount(); ++c) SetColWidths(c, s->ColWidths(c));
    FColumnHeaders->Assign(s->FColumnHeaders.get());
    for (int r = 0; r < s->RowCount(); ++r) SetRowHeights(r, s->RowHeights(r));
    SetScrollProportional(s->ScrollProportional());
    ScrollSynch = s->ScrollSynch;
    ScrollWidth = s->ScrollWidth;
    ScrollHints = s->ScrollHints;
    ScrollBarAlways = s->ScrollBarAlways;
    SetScrollBars(s->ScrollBars);
    SetScrollColor(s->ScrollColor);
    SetScrollType(s->ScrollType());
    SetScrollWidth(s->ScrollWidth);
    AssignCells(Source);
}

void TExtStringGrid::Invalidate() {
    if (FEditChange) {
        // One repaint is swallowed after an editor change.
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
}

// ---- update locking ------------------------------------------------------------------------

void TExtStringGrid::BeginUpdate() {
    // The count is kept also while invisible, so a bracket that spans a visibility change
    // still ends with redrawing on.
    ++FUpdateCount;
    if (Visible()) Perform(plat::WM_SETREDRAW, 0);
}

void TExtStringGrid::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    if (!FDestroying && FUpdateCount == 0 && Visible()) {
        Perform(plat::WM_SETREDRAW, 1);
        Invalidate();
        PaintBorderColor();
    }
}

void TExtStringGrid::SetVisible(bool Value) {
    TBaseGrid::SetVisible(Value);
    if (!Value || FDestroying) return;
    // A grid shown inside an open bracket stays unpainted until the bracket ends; one shown
    // outside any bracket redraws, whatever an earlier bracket left behind.
    if (FUpdateCount > 0) {
        Perform(plat::WM_SETREDRAW, 0);
    } else {
        Perform(plat::WM_SETREDRAW, 1);
        Invalidate();
    }
}

void TExtStringGrid::RegisterNotifier(TGridChangeNotifier* Item) {
    if (std::find(FNotifierList.begin(), FNotifierList.end(), Item) == FNotifierList.end())
        FNotifierList.push_back(Item);
}

void TExtStringGrid::UnRegisterNotifier(TGridChangeNotifier* Item) {
    FNotifierList.erase(std::remove(FNotifierList.begin(), FNotifierList.end(), Item), FNotifierList.end());
}

plat::TFont* TExtStringGrid::GetCellFont(int ACol, int ARow) {
    const TCellProperties* p = Map().Props(ACol, ARow);
    if (!p) return Font();
    cf->Assign(*Font());
    if (!p->FontName.empty()) cf->SetName(p->FontName);
    if (p->FontSize != 0) cf->SetSize(p->FontSize);
    cf->SetStyle(p->FontStyle);
    if (p->FontColor != plat::clNone) cf->SetColor(p->FontColor);
    return cf.get();
}

void TExtStringGrid::SetBorderColor(TColor Value) {
    if (FBorderColor == Value) return;
    FBorderColor = Value;
    if (Parent()) PaintBorderColor();
}

// ---- column sizes --------------------------------------------------------------------------------

namespace {

// The store of the column sizes: the INI file named by Key, read whole and written back
// whole when the store closes (loads included, so a load creates a missing file), or the
// key store's key Key\Section (created when missing), whose values are 32-bit integers.
class TColumnStore {
public:
    explicit TColumnStore(const TColumnSize& Size) : size_(Size) {
        if (Size.Location == clIniFile) {
            // A missing file reads as empty; one that cannot be read is never written back.
            writeBack_ = plat::ReadFileBytes(Size.Key, iniBytes_) || !plat::FileExists(Size.Key);
        } else {
            String key = Size.Key;
            if (!key.empty() && key.back() != u'\\' && key.back() != u'/') key += u'\\';
            reg_.OpenKey(key + Size.Section, true);
        }
    }
    ~TColumnStore() {
        // The INI file is written back as read and changed; its writes went through TIniFile.
        if (size_.Location == clIniFile && !written_ && writeBack_) plat::WriteFileAtomic(size_.Key, iniBytes_);
    }
    TColumnStore(const TColumnStore&) = delete;
    TColumnStore& operator=(const TColumnStore&) = delete;
    int Read(const String& Name, int Default) {
        if (size_.Location == clIniFile) return plat::TIniFile(size_.Key).ReadInteger(size_.Section, Name, Default);
        switch (reg_.GetDataType(Name)) {
        case plat::rdInteger:
            return reg_.ReadInteger(Name);
        case plat::rdString: {
            int v = Default;
            return plat::TryStrToInt(reg_.ReadString(Name), v) ? v : Default;
        }
        default:
            return Default;
        }
    }
    void Write(const String& Name, int Value) {
        if (size_.Location == clIniFile) {
            plat::TIniFile(size_.Key).WriteInteger(size_.Section, Name, Value);
            written_ = true;
        } else if (reg_.GetDataType(Name) == plat::rdString) {
            reg_.WriteString(Name, plat::IntToStr(Value));
        } else {
            reg_.WriteInteger(Name, Value);
        }
    }

private:
    const TColumnSize& size_;
    plat::TRegistry reg_;
    std::string iniBytes_;
    bool writeBack_ = false;
    bool written_ = false;
};

} // namespace

void TExtStringGrid::SaveColSizes() {
    if (IsDesigning() || FColumnSize->Key.empty() || FColumnSize->Section.empty()) return;
    TColumnStore store(*FColumnSize);
    for (int c = 0; c < ColCount(); ++c) store.Write(u"Col" + plat::IntToStr(c), ColWidths(c));
}

void TExtStringGrid::LoadColSizes() {
    if (IsDesigning() || FColumnSize->Key.empty() || FColumnSize->Section.empty()) return;
    TColumnStore store(*FColumnSize);
    for (int c = 0; c < ColCount(); ++c) {
        const int w = store.Read(u"Col" + plat::IntToStr(c), ColWidths(c));
        if (w != ColWidths(c)) SetColWidths(c, w);
    }
}

void TExtStringGrid::SaveColPositions() {
    if (IsDesigning() || FColumnSize->Key.empty() || FColumnSize->Section.empty()) return;
    TColumnStore store(*FColumnSize);
    for (int i = 0; i < FColumnOrder->Count(); ++i) store.Write(u"Pos" + plat::IntToStr(i), FColumnOrder->GetInteger(i));
}

void TExtStringGrid::LoadColPositions() {
    if (IsDesigning() || FColumnSize->Key.empty() || FColumnSize->Section.empty()) return;
    TColumnStore store(*FColumnSize);
    if (store.Read(u"Pos0", -1) == -1) return;
    // The stored order is read and checked whole before anything changes: an order that
    // misses a column or names one twice would leave columns without a place.
    const int n = AllColCount();
    std::vector<int> order;
    for (int i = 0; i < n; ++i) {
        const int v = store.Read(u"Pos" + plat::IntToStr(i), -1);
        if (v != -1) order.push_back(v);
    }
    if (static_cast<int>(order.size()) != n) return;
    std::vector<int> inverse(static_cast<std::size_t>(n), -1);
    for (int i = 0; i < n; ++i) {
        const int p = order[static_cast<std::size_t>(i)];
        if (p < 0 || p >= n || inverse[static_cast<std::size_t>(p)] != -1) return;
        inverse[static_cast<std::size_t>(p)] = i;
    }
    std::vector<int> hidden;
    for (int c = 0; c < n; ++c)
        if (IsHiddenColumn(c)) hidden.push_back(c);
    // Moving the columns back from the inverse order leaves position i showing the column
    // now at order[i].
    FColumnOrder->Clear();
    for (int p : inverse) FColumnOrder->Add(p);
    ResetColumnOrder();
    for (auto it = hidden.rbegin(); it != hidden.rend(); ++it) HideColumn(*it);
    FColumnOrder->Clear();
    for (int p : order) FColumnOrder->Add(p);
}

int TExtStringGrid::MaxLinesInRow(int ARow) {
    if (ColCount() == 0 || !MultilineCells) return 1;
    int most = 1;
    for (int c = 0; c < ColCount(); ++c) {
        const String t = GetCellEx(c, ARow);
        int lines = 1;
        for (size_t i = 0; i < t.size(); ++i) {
            if (t[i] == u'\r') {
                ++lines;
                if (i + 1 < t.size() && t[i + 1] == u'\n') ++i;
            } else if (t[i] == u'\n') {
                ++lines;
            }
        }
        most = std::max(most, lines);
    }
    return most;
}

// ---- event hooks -----------------------------------------------------------------------------

String TExtStringGrid::GetFloatFormat(int) { return FloatFormat; }

void TExtStringGrid::CanEditCell(int ACol, int ARow, bool& CanEdit) {
    if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TExtStringGrid::ButtonClick(int ACol, int ARow) {
    if (OnButtonClick) OnButtonClick(this, ACol, ARow);
}

void TExtStringGrid::ComboCloseUp(int ARow, int ACol) {
    if (OnComboCloseUp) OnComboCloseUp(this, ARow, ACol);
}

void TExtStringGrid::ComboDropDown(int ARow, int ACol) {
    if (OnComboDropDown) OnComboDropDown(this, ARow, ACol);
}

void TExtStringGrid::GetCellCursor(int ACol, int ARow, int X, int Y) {
    if (!OnGetCellCursor) return;
    plat::TCursor cursor = Cursor();
    OnGetCellCursor(this, ACol, ARow, X, Y, cursor);
    plat::SetCursor(cursor);
}

void TExtStringGrid::GridHint(int ACol, int ARow, String& Hint, String& WideHint) {
    if (OnGridHint) OnGridHint(this, ARow, ACol, Hint);
    if (OnGridWideHint) {
        OnGridWideHint(this, ARow, ACol, WideHint);
        if (!WideHint.empty()) Hint = EncodeEscapedUnicode(WideHint);
    }
}

void TExtStringGrid::GetCellColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                                  plat::TFont* AFont) {
    if (ActiveCellShow()) {
        const int d = DisplColIndex(ACol);
        const bool rowHeader = ARow == Row() && FixedCols() > 0 && d == FixedCols() - 1;
        const bool colHeader = d == Col() && FixedRows() > 0 && ARow == FixedRows() - 1;
        if (rowHeader || colHeader) {
            AFont->Assign(*FActiveCellFont);
            ABrush->SetColor(ActiveCellColor());
        }
    }
    if (const TCellProperties* p = Map().Props(ACol, ARow)) {
        // Cells carrying a check box or another control take their colour from the column,
        // the row rules and the event only.
        if (!p->GraphicObject && p->BrushColor() != plat::clNone) ABrush->SetColor(p->BrushColor());
        if (p->FontColor != plat::clNone) AFont->SetColor(p->FontColor);
        if (!(p->FontStyle == plat::TFontStyles{})) AFont->SetStyle(p->FontStyle);
        if (p->FontSize != 0) AFont->SetSize(p->FontSize);
        if (!p->FontName.empty()) AFont->SetName(p->FontName);
    }
    if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TExtStringGrid::GetCellPrintColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                                       plat::TFont* AFont) {
    if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TExtStringGrid::GetCellBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) {
    if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TExtStringGrid::GetCellPrintBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) {
    if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TExtStringGrid::GetCellAlignment(int ACol, int ARow, plat::TAlignment& HAlign, TVAlignment& VAlign) {
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) HAlign = plat::taCenter;
    if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TExtStringGrid::GetCellFormat(int ACol, TSortStyle& AStyle, String& Prefix, String& Suffix) {
    if (OnGetFormat) OnGetFormat(this, ACol, AStyle, Prefix, Suffix);
}

void TExtStringGrid::GetEditorTypeEvent(int ACol, int ARow, TEditorType& AEditor) {
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

void TExtStringGrid::GetCellEditorType(int ACol, int ARow, TEditorType& AEditor) {
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TExtStringGrid::HasNoEditor(int ACol, int ARow) {
    if (!OnGetEditorType) return false;
    TEditorType e = edNormal;
    OnGetEditorType(this, ACol, ARow, e);
    return e == edNone;
}

void TExtStringGrid::IsFixedCell(int ACol, int ARow, bool& IsFixed) {
    IsFixed = IsFixed || (FixedRowAlways && ARow <= FFixedRowsMin && RowCount() == FFixedRowsMin) ||
              (FixedColAlways && ACol < FFixedColsMin && ColCount() == FFixedColsMin) || ACol < FixedCols() ||
              ARow < FixedRows();
    if (!IsFixed && OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, IsFixed);
}

bool TExtStringGrid::IsFixed(int ACol, int ARow) {
    bool f = false;
    IsFixedCell(ACol, ARow, f);
    return f;
}

void TExtStringGrid::CheckCanEdit(int ACol, int ARow, bool& CanEdit) {
    const TPoint b = BaseCell(ACol, ARow);
    if (CanEdit) {
        if (const TCellProperties* p = Map().Props(b.X, b.Y)) CanEdit = !p->ReadOnly;
    }
    if (!(Options().Contains(plat::goEditing) || FEditDisable || FMouseActions->RangeSelectAndEdit)) CanEdit = false;
    if (b.X < TotalColCount())
        CanEditCell(b.X, b.Y, CanEdit);
    else
        CanEdit = true;
}

void TExtStringGrid::IsPasswordCell(int ACol, int ARow, bool& IsPassword) {
    if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TExtStringGrid::GetCellWordWrap(int ACol, int ARow, bool& WordWrap) {
    if (OnGetWordWrap) OnGetWordWrap(this, ACol, ARow, WordWrap);
}

bool TExtStringGrid::HasComboBox(int ACol, int ARow) {
    if (OnHasComboBox) {
        bool has = false;
        OnHasComboBox(this, ACol, ARow, has);
        return has;
    }
    if (FControlLook->DropDownAlwaysVisible) {
        TEditorType e = DefaultEditor;
        GetCellEditorType(ACol, ARow, e);
        return e == edComboEdit || e == edComboList;
    }
    return false;
}

bool TExtStringGrid::HasSpinEdit(int ACol, int ARow) {
    if (ACol < FixedCols() || ARow < FixedRows()) return false;
    if (OnHasSpinEdit) {
        bool has = false;
        OnHasSpinEdit(this, ACol, ARow, has);
        return has;
    }
    if (FControlLook->SpinButtonsAlwaysVisible) {
        TEditorType e = DefaultEditor;
        GetEditorTypeEvent(ACol, ARow, e);
        return e == edSpinEdit || e == edFloatSpinEdit || e == edTimeSpinEdit || e == edDateSpinEdit;
    }
    return false;
}

String TExtStringGrid::GetCheckTrue(int ACol, int ARow) {
    String v = CheckTrue;
    if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, v);
    return v;
}

String TExtStringGrid::GetCheckFalse(int ACol, int ARow) {
    String v = CheckFalse;
    if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, v);
    return v;
}

bool TExtStringGrid::GetColumnFilter(int ACol) {
    FFilterList->Clear();
    if (FilterDropDownAuto && (ACol >= FixedCols() || FilterDropDownColumns == fdAll)) {
        FFilterList->SetSorted(true);
        FFilterList->SetDuplicates(plat::dupIgnore);
        for (int r = FixedRows(); r <= RowCount() - FixedFooters - 1; ++r) {
            const String t = plat::Trim(GetCellEx(ACol, r));
            FFilterList->Add(t.find(u' ') != String::npos ? t + u"=\"" + t + u"\"" : t);
        }
        FFilterList->SetSorted(false);
        if (!FilterDropDownClear.empty()) FFilterList->Insert(0, FilterDropDownClear);
    }
    if (OnGetColumnFilter) OnGetColumnFilter(this, ACol, FFilterList.get());
    return FFilterList->Count() > 0;
}

// ---- painting inputs -------------------------------------------------------------------------

void TExtStringGrid::GetCellBackground(int ACol, int ARow, TCellGradientDirection& GradientDirection,
                                       bool& WordWrap, TVAlignment& VAlignment, plat::TAlignment& Alignment,
                                       TColor& MirrorColorTo, TColor& MirrorColor, TColor& ColorTo,
                                       plat::TBrush* ABrush, plat::TFont* AFont) {
    plat::TGridDrawState state;
    const bool fixed = IsFixed(ACol, ARow);
    if (fixed) state = plat::TGridDrawState{plat::gdFixed};
    AFont->Assign(*Font());
    ABrush->SetColor(Color());
    TCellVisual v;
    v.WordWrap = TBaseGrid::WordWrap();
    v.GD = GradientDirection;
    GetVisualProperties(ACol, ARow, state, TVisualRequest{}, ABrush, AFont, v);
    ColorTo = v.ColorTo;
    MirrorColor = v.MirrorColor;
    MirrorColorTo = v.MirrorColorTo;
    GradientDirection = v.GD;
    Alignment = plat::taLeftJustify;
    VAlignment = this->VAlignment();
    GetCellAlignment(ACol, ARow, Alignment, VAlignment);
    WordWrap = TBaseGrid::WordWrap();
    GetCellWordWrap(ACol, ARow, WordWrap);
    // New cell properties must not capture fixed, banded or selection colours.
    if (fixed || FBands->Active() || state.Contains(plat::gdSelected)) {
        ABrush->SetColor(plat::clNone);
        ColorTo = plat::clNone;
    }
}

} // namespace grid
