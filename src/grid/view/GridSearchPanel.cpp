// The search footer: the panel's controls and layout, its painting, UpdateSearchPanel that
// applies the grid's SearchFooter settings, and the grid's handling of the panel's edit,
// find-next, find-previous, highlight and close actions through Find and the highlighting
// of the data operations.
#include "GridSearchPanel.h"

#include "ExtDraw.h"
#include "ExtGrid.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"
#include "plat/Resources.h"

namespace grid {

namespace {

void LoadGlyph(const char16_t* Name, plat::TBitmap* Into) {
    plat::TBitmap b;
    if (plat::LoadBitmapResource(Name, b) && !b.Empty()) Into->Assign(&b);
}

} // namespace

// ---- TRetEdit -------------------------------------------------------------------------------

void TRetEdit::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    if (Key == plat::VK_RETURN) {
        if (Shift & plat::ssCtrl) {
            if (OnCtrlReturn) OnCtrlReturn(this);
        } else if (OnReturn) {
            OnReturn(this);
        }
        Key = 0;
        return;
    }
    plat::TCustomEdit::KeyDown(Key, Shift);
}

void TRetEdit::KeyPress(char16_t& Key) {
    if (Key == u'\r' || Key == u'\n') {
        char16_t copy = Key;
        if (OnKeyPress) OnKeyPress(this, copy);
        Key = 0;
        return;
    }
    plat::TCustomEdit::KeyPress(Key);
}

// ---- TSearchPanel ---------------------------------------------------------------------------

TSearchPanel::TSearchPanel(TExtStringGrid* AOwner) : plat::TCustomPanel(AOwner), FGrid(AOwner) {
    SetBevelOuter(plat::bvNone);
    FEdit = new TRetEdit(this);
    FExitButton = new TExtGridButton(this);
    FForwardButton = new TExtGridButton(this);
    FBackwardButton = new TExtGridButton(this);
    FHiliteButton = new TExtGridButton(this);
    FMatchCase = new TExtCheckBox(this);
    for (plat::TControl* c : std::initializer_list<plat::TControl*>{FEdit, FExitButton, FForwardButton, FBackwardButton,
                                                                    FHiliteButton, FMatchCase})
        c->SetParent(this);
    FEdit->OnChange = [this](plat::TObject*) { EditChanged(); };
    FEdit->OnReturn = [this](plat::TObject*) {
        if (FForwardButton->Enabled() && OnForwardClick) OnForwardClick(FForwardButton);
    };
    FEdit->OnCtrlReturn = [this](plat::TObject*) {
        if (FBackwardButton->Enabled() && OnBackwardClick) OnBackwardClick(FBackwardButton);
    };
    FForwardButton->OnClick = [this](plat::TObject* s) {
        if (OnForwardClick) OnForwardClick(s);
    };
    FBackwardButton->OnClick = [this](plat::TObject* s) {
        if (OnBackwardClick) OnBackwardClick(s);
    };
    FExitButton->OnClick = [this](plat::TObject* s) {
        if (OnExitClick) OnExitClick(s);
    };
    FHiliteButton->OnClick = [this](plat::TObject* s) {
        if (OnHighlightClick) OnHighlightClick(s);
    };
    FHiliteButton->SetStyle(tasCheck);
    LoadGlyph(u"ESGARDOWN", FForwardButton->Glyph());
    LoadGlyph(u"ESGARDOWND", FForwardButton->GlyphDisabled());
    LoadGlyph(u"ESGARUP", FBackwardButton->Glyph());
    LoadGlyph(u"ESGARUPD", FBackwardButton->GlyphDisabled());
    LoadGlyph(u"ESGCLOSE", FExitButton->Glyph());
    LoadGlyph(u"ESGCLOSEH", FExitButton->GlyphHot());
    LoadGlyph(u"ESGCLOSED", FExitButton->GlyphDown());
    LoadGlyph(u"ESGHI", FHiliteButton->Glyph());
    LoadGlyph(u"ESGHID", FHiliteButton->GlyphDisabled());
    FExitButton->SetShowCaption(false);
    for (TExtGridButton* b : {FForwardButton, FBackwardButton, FHiliteButton}) b->SetEnabled(false);
    LayoutControls();
}

void TSearchPanel::SetColorTo(TColor Value) {
    if (FColorTo == Value) return;
    FColorTo = Value;
    Invalidate();
}

void TSearchPanel::LayoutControls() {
    FEdit->SetBounds(25, 6, 110, FEdit->Height());
    FForwardButton->SetBounds(140, 5, 90, FForwardButton->Visible() ? 23 : 0);
    FBackwardButton->SetBounds(235, 5, 90, FBackwardButton->Visible() ? 23 : 0);
    FExitButton->SetBounds(5, 7, 14, FExitButton->Visible() ? 14 : 0);
    FHiliteButton->SetBounds(330, 5, 90, FHiliteButton->Visible() ? 23 : 0);
    const int matchLeft = FHiliteButton->Visible() ? 425 : 330;
    FMatchCase->SetBounds(matchLeft, 8, std::max(FMatchCase->Width(), 120), FMatchCase->Visible() ? 18 : 0);
    FForwardButton->SetCaption(FindNextCaption);
    FBackwardButton->SetCaption(FindPrevCaption);
    FHiliteButton->SetCaption(HighLightCaption);
    FMatchCase->SetCaption(MatchCaseCaption);
    struct HintOf {
        TExtGridButton* Button;
        const String* Hint;
    };
    for (const HintOf& h : {HintOf{FForwardButton, &HintFindNext}, HintOf{FBackwardButton, &HintFindPrev},
                            HintOf{FExitButton, &HintClose}, HintOf{FHiliteButton, &HintHighlight}}) {
        h.Button->SetHint(*h.Hint);
        h.Button->SetShowHint(!h.Hint->empty());
    }
}

void TSearchPanel::CreateWnd() {
    plat::TCustomPanel::CreateWnd();
    LayoutControls();
    if (FGrid && FGrid->OnCreatedSearchFooter) FGrid->OnCreatedSearchFooter(this);
}

void TSearchPanel::Paint() {
    plat::TCustomPanel::Paint();
    plat::TCanvas* c = Canvas();
    const plat::TRect r = ClientRect();
    if (FColorTo == NoColorTo) {
        c->Brush()->SetStyle(plat::bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    } else {
        DrawGradientRect(c, Color(), FColorTo, false, r, 32);
    }
    c->Pen()->SetColor(FGrid ? FGrid->GridLineColor() : plat::clSilver);
    c->MoveTo(r.Left, r.Top);
    c->LineTo(r.Right, r.Top);
}

void TSearchPanel::EditChanged() {
    const bool any = !FEdit->GetText().empty();
    for (TExtGridButton* b : {FForwardButton, FBackwardButton, FHiliteButton}) b->SetEnabled(any);
    if (OnEditChange) OnEditChange(FEdit);
}

// ---- the grid's side ------------------------------------------------------------------------

TSearchPanel* TExtStringGrid::SearchPanel() {
    if (!FSearchPanel && !Destroying()) {
        FSearchPanel = new TSearchPanel(this);
        FSearchPanel->SetVisible(false);
        FSearchPanel->SetParent(this);
        FSearchPanel->SetAlign(plat::alBottom);
        FSearchPanel->SetHeight(0);
        FSearchPanel->OnEditChange = [this](plat::TObject*) { SearchFooterEditChange(); };
        FSearchPanel->OnForwardClick = [this](plat::TObject*) { SearchFooterFind(false); };
        FSearchPanel->OnBackwardClick = [this](plat::TObject*) { SearchFooterFind(true); };
        FSearchPanel->OnHighlightClick = [this](plat::TObject*) { SearchFooterHighlight(); };
        FSearchPanel->OnExitClick = [this](plat::TObject*) { SearchFooterClose(); };
    }
    return FSearchPanel;
}

void TExtStringGrid::UpdateSearchPanel() {
    if (HasState(plat::csLoading) || Destroying()) return;
    const TSearchFooter& f = *FSearchFooter;
    if (!FSearchPanel && !f.Visible()) return;
    TSearchPanel* p = SearchPanel();
    const bool highlighted = p->HiliteButton()->Down();
    if ((highlighted && p->Visible() && !f.Visible()) || f.AlwaysHighLight) UnHilightInGrid(false);
    p->SetColor(f.Color());
    p->SetColorTo(f.ColorTo());
    p->FindNextCaption = f.FindNextCaption();
    p->FindPrevCaption = f.FindPrevCaption();
    p->MatchCaseCaption = f.MatchCaseCaption();
    p->HighLightCaption = f.HighLightCaption();
    p->HintClose = f.HintClose();
    p->HintFindNext = f.HintFindNext();
    p->HintFindPrev = f.HintFindPrev();
    p->HintHighlight = f.HintHighlight();
    p->Font()->Assign(*FSearchFooter->Font());
    for (TExtGridButton* b : {p->ForwardButton(), p->BackwardButton(), p->HiliteButton()}) {
        b->SetParentFont(true);
        if (f.AutoThemeAdapt()) {
            b->AutoThemeAdapt = true;
            b->SetFlat(true);
        } else {
            const TControlStyle style = FControlLook->ControlStyle;
            b->AutoThemeAdapt = false;
            b->AutoXPStyle = style == csWinXP || style == csTheme;
            b->SetFlat(style == csFlat);
        }
    }
    p->HiliteButton()->SetVisible(f.ShowHighLight());
    p->ExitButton()->SetVisible(f.ShowClose());
    p->MatchCase()->SetVisible(f.ShowMatchCase());
    p->MatchCase()->SetTransparent(true);
    p->BackwardButton()->SetVisible(f.ShowFindPrev());
    p->ForwardButton()->SetVisible(f.ShowFindNext());
    p->LayoutControls();
    p->SetVisible(f.Visible());
    p->SetHeight(f.Visible() ? 32 : 0);
    // The panel's height comes off the cells' area: the rows scroll above it, and the slim
    // bars of the metro type end at it.
    SetClientBottomInset(SearchPanelHeight());
    PlaceScrollControls();
    if (f.Visible()) ScrollForSearchFooter();
    Invalidate();
}

bool TExtStringGrid::SearchHighlighting() {
    return (FSearchPanel && FSearchPanel->HiliteButton()->Down()) || FSearchFooter->AlwaysHighLight;
}

void TExtStringGrid::HighlightSearchText(const String& Text) {
    const bool matchCase = FSearchPanel && FSearchPanel->MatchCase()->Checked();
    const int col = FSearchFooter->SearchColumn;
    if (col >= 0 && col < ColCount())
        HilightInCol(false, matchCase, col, Text);
    else
        HilightInGrid(false, matchCase, Text);
}

void TExtStringGrid::SearchFooterEditChange() {
    TSearchPanel* p = SearchPanel();
    const String text = p->Edit()->GetText();
    bool defaultSearch = true;
    if (OnSearchEditChange) OnSearchEditChange(this, text, defaultSearch);
    if (!defaultSearch || !FSearchFooter->AutoSearch) return;
    const bool highlight = SearchHighlighting();
    if (highlight) UnHilightInGrid(false);
    if (text.empty()) {
        p->Edit()->SetColor(SearchEditColor(true));
        return;
    }
    const TFindParameters params =
        SearchFooterFindParams(sfEditChange, p->HiliteButton()->Down(), p->MatchCase()->Checked());
    const TPoint found = Find({-1, -1}, text, params);
    SearchFooterAction(text, found.X, found.Y, saFindFirst);
    p->Edit()->SetColor(SearchEditColor(found.X >= 0));
    if (found.X >= 0) ScrollInView(found.X, found.Y);
    if (highlight) HighlightSearchText(text);
}

void TExtStringGrid::SearchFooterFind(bool Backward) {
    TSearchPanel* p = SearchPanel();
    const String text = p->Edit()->GetText();
    TSearchFooter& f = *FSearchFooter;
    TPoint start = SearchCell();
    if (!f.AutoSearch && text != f.LastSearch) {
        start = {-1, -1};
        f.LastSearch = text;
    }
    const TFindParameters params = SearchFooterFindParams(Backward ? sfFindPrevious : sfFindNext,
                                                          p->HiliteButton()->Down(), p->MatchCase()->Checked());
    const TPoint found = Find(start, text, params);
    const int lastVisible = TopRow() + VisibleRowCount() - 1;
    const bool grow = found.X >= 0 && Row() >= lastVisible && RowCount() > VisibleRowCount() + FixedRows();
    if (Backward) {
        if (grow) SetTopRow(std::min(TopRow() + 2, std::max(FixedRows(), RowCount() - VisibleRowCount())));
        if (found.X >= 0) ScrollInView(found.X, found.Y);
    } else {
        if (found.X >= 0) ScrollInView(found.X, found.Y);
        if (grow) SetTopRow(std::min(TopRow() + 2, std::max(FixedRows(), RowCount() - VisibleRowCount())));
    }
    p->Edit()->SetColor(SearchEditColor(found.X >= 0));
    SearchFooterAction(text, found.X, found.Y, Backward ? saFindPrevious : saFindNext);
    p->Invalidate();
}

void TExtStringGrid::SearchFooterHighlight() {
    TSearchPanel* p = SearchPanel();
    if (p->HiliteButton()->Down())
        HighlightSearchText(p->Edit()->GetText());
    else
        UnHilightInGrid(false);
}

void TExtStringGrid::SearchFooterClose() {
    if (OnSearchFooterClose) OnSearchFooterClose(this);
    FSearchFooter->SetVisible(false);
}

} // namespace grid
