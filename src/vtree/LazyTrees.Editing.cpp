// In-place editing: when an edit starts and ends, the link protocol in its order, and the
// string tree's link and edit control.
#include <algorithm>

#include "LazyTrees.Assert.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.StringEditLink.h"
#include "plat/Forms.h"
#include "plat/Messages.h"
#include "plat/Threads.h"

namespace vtree {

using plat::TMessage;
using plat::TRect;

namespace {

template <class Set, class E>
bool Has(Set S, E Option)
{
    return (S & (Set(1) << Option)) != 0;
}

} // namespace

// ---- tree side ----------------------------------------------------------------------------

bool TBaseLazyTree::CanEdit(PLazyNode Node, TColumnIndex Column)
{
    const TLTMiscOptions misc = FOptions->MiscOptions();
    // Column -1 (no header columns) is an editable cell; a column decides by coEditable.
    bool allowed = Has(misc, toEditable) && Enabled() && !Has(misc, toReadOnly) &&
                   (Column < 0 || Column >= FHeader->Columns().Count() ||
                    Has(FHeader->Columns()[Column]->Options(), coEditable));
    if (OnEditing) OnEditing(this, Node, Column, allowed);
    return allowed;
}

bool TBaseLazyTree::EditNode(PLazyNode Node, TColumnIndex Column)
{
    if (!Node) throw EAssertionFailed(u"Node must not be nil.");
    if (Column < NoColumn || Column >= FHeader->Columns().Count())
        throw EAssertionFailed(u"Column must be a valid column index (-1 if no header is shown).");
    if (HasState(tsEditing) || Has(FOptions->MiscOptions(), toReadOnly)) return HasState(tsEditing);
    SetFocusedNode(Node);
    if (FFocusedNode != Node || !CanEdit(Node, Column)) return false;
    FEditColumn = Column;
    InitIfNeeded(Node);
    StartEditing();
    return HasState(tsEditing);
}

bool TBaseLazyTree::EndEditNode()
{
    if (HasState(tsEditing) || HasState(tsEditPending)) return DoEdited();
    return true;
}

bool TBaseLazyTree::CancelEditNode()
{
    if (!HandleAllocated()) return true;
    if (HasState(tsEditing) || HasState(tsEditPending)) return DoEditCancelled();
    return true;
}

PLTEditLink TBaseLazyTree::DoCreateEditor(PLazyNode Node, TColumnIndex Column)
{
    PLTEditLink link;
    if (OnCreateEditor) OnCreateEditor(this, Node, Column, link);
    return link;
}

void TBaseLazyTree::StartEditing()
{
    plat::Application->CancelHint();
    KillTreeTimer(4);
    KillTreeTimer(2);
    DoStateChange(0, TreeBit(tsEditPending));
    if (!FFocusedNode || FFocusedNode->Has(vsDisabled) || Has(FOptions->MiscOptions(), toReadOnly) || FEditLink)
        return;
    FEditLink = DoCreateEditor(FFocusedNode, FEditColumn);
    if (!FEditLink) return;
    DoStateChange(TreeBit(tsEditing), StateSet({tsClearPending, tsToggleFocusedSelection, tsDrawSelPending,
                                                tsDrawSelecting, tsOLEDragPending, tsVCLDragPending,
                                                tsScrollPending, tsScrolling}));
    ScrollIntoView(FFocusedNode, Has(FOptions->SelectionOptions(), toCenterScrollIntoView),
                   !Has(FOptions->AutoOptions(), toDisableAutoscrollOnEdit));
    // The link is held here too: a handler may end the edit while the link still runs.
    const PLTEditLink link = FEditLink;
    bool begun = false;
    if (link->PrepareEdit(this, FFocusedNode, FEditColumn)) {
        UpdateEditBounds();
        InvalidateNode(FFocusedNode);
        begun = link->BeginEdit();
    }
    if (!begun) DoStateChange(0, TreeBit(tsEditing));
    if (!HasState(tsEditing) && FEditLink == link) FEditLink.reset();
}

bool TBaseLazyTree::DoEdited()
{
    KillTreeTimer(2);
    const PLTEditLink link = FEditLink;
    const bool result = HasState(tsEditing) && link && link->EndEdit();
    if (result) {
        DoStateChange(0, TreeBit(tsEditing));
        if (FEditLink == link) FEditLink.reset();
        if (OnEdited) OnEdited(this, FFocusedNode, FEditColumn);
    }
    DoStateChange(0, TreeBit(tsEditPending));
    return result;
}

bool TBaseLazyTree::DoEditCancelled()
{
    KillTreeTimer(2);
    DoStateChange(0, TreeBit(tsEditPending));
    const PLTEditLink link = FEditLink;
    const bool result = HasState(tsEditing) && link && link->CancelEdit();
    if (result) {
        DoStateChange(0, TreeBit(tsEditing));
        if (OnEditCancelled) OnEditCancelled(this, FEditColumn);
        if (!IsTreeDestroying() && FEditLink == link) FEditLink.reset();
    }
    return result;
}

void TBaseLazyTree::UpdateEditBounds()
{
    if (!HasState(tsEditing) || !FFocusedNode || !FEditLink || !plat::InMainThread()) return;
    if (FEditColumn >= FHeader->Columns().Count() && FEditColumn > NoColumn) return;
    TRect r = GetDisplayRect(FFocusedNode, FEditColumn, true, !FFocusedNode->Has(vsMultiline));
    if (Has(FOptions->MiscOptions(), toGridExtensions)) {
        const TRect cell = GetDisplayRect(FFocusedNode, FEditColumn, false);
        TAlignment a = FEditColumn >= 0 ? FHeader->Columns()[FEditColumn]->Alignment() : FAlignment;
        const TBiDiMode bidi = FEditColumn >= 0 ? FHeader->Columns()[FEditColumn]->BiDiMode() : FBiDiMode;
        if (bidi != bdLeftToRight && a != taCenter) a = a == taLeftJustify ? taRightJustify : taLeftJustify;
        if (a == taLeftJustify) r.Right = cell.Right;
        else r.Left = cell.Left;
    }
    if (Has(FOptions->PaintOptions(), toShowHorzGridLines)) --r.Bottom;
    const TRect current = FEditLink->GetBounds();
    r.Bottom = r.Top + std::max(r.Height(), current.Height());
    FEditLink->SetBounds(r);
}

// ---- the string tree's link -----------------------------------------------------------------

PLTEditLink TCustomLazyStringTree::DoCreateEditor(PLazyNode Node, TColumnIndex Column)
{
    PLTEditLink link = TBaseLazyTree::DoCreateEditor(Node, Column);
    if (!link) link = std::make_shared<TStringEditLink>();
    return link;
}

TStringEditLink::TStringEditLink()
{
    FEdit = new TLTEdit(this);
    FEdit->SetVisible(false);
    FEdit->SetBorderStyle(plat::bsSingle);
}

TStringEditLink::~TStringEditLink() { DropEdit(); }

void TStringEditLink::DropEdit()
{
    TLTEdit* edit = std::exchange(FEdit, nullptr);
    if (!edit) return;
    if (edit->FLink == this) edit->FLink = nullptr;
    edit->Release();
}

void TStringEditLink::SetEdit(TLTEdit* Value)
{
    if (FEdit == Value) return;
    if (FEdit) {
        TLTEdit* old = std::exchange(FEdit, nullptr);
        if (old->FLink == this) old->FLink = nullptr;
        old->FRefLink.reset();
        delete old;
    }
    FEdit = Value;
}

bool TStringEditLink::PrepareEdit(TBaseLazyTree* Tree, PLazyNode Node, TColumnIndex Column)
{
    auto* tree = dynamic_cast<TCustomLazyStringTree*>(Tree);
    if (!tree) return false;
    // The editor fits the node: a multi-line node gets a multi-line editor and back.
    const bool multiline = Node && Node->Has(vsMultiline);
    if (FEdit && FEdit->Multiline() != multiline) SetEdit(nullptr);
    if (!FEdit) FEdit = new TLTEdit(this, multiline);
    FEdit->FLink = this;
    FEdit->FRefLink = shared_from_this();
    FTree = tree;
    FNode = Node;
    FColumn = Column;
    plat::TFont font;
    font.Assign(*tree->Font());
    String text;
    tree->GetTextInfo(Node, Column, font, FTextBounds, text);
    FEdit->Font()->Assign(font);
    FEdit->Font()->SetColor(plat::clWindowText);
    FEdit->SetParent(tree);
    FEdit->HandleNeeded();
    FEdit->SetText(text);
    FEdit->SetModified(false);
    const bool withColumn = Column >= 0 && Column < tree->Header().Columns().Count();
    FAlignment = withColumn ? tree->Header().Columns()[Column]->Alignment() : tree->Alignment();
    const TBiDiMode bidi = withColumn ? tree->Header().Columns()[Column]->BiDiMode() : tree->BiDiMode();
    if (bidi != bdLeftToRight && FAlignment != taCenter)
        FAlignment = FAlignment == taLeftJustify ? taRightJustify : taLeftJustify;
    return true;
}

bool TStringEditLink::BeginEdit()
{
    if (FStopping || !FEdit) return false;
    FEdit->Show();
    FEdit->SetFocus();
    FEdit->SelectAll();
    FEdit->AutoAdjustSize();
    return true;
}

bool TStringEditLink::EndEdit()
{
    if (FStopping) return false;
    FStopping = true;
    try {
        if (FEdit && FEdit->Modified()) FTree->SetText(FNode, FColumn, FEdit->GetText());
        if (FEdit) {
            FEdit->Hide();
            FEdit->Detach();
        }
    } catch (...) {
        FStopping = false;
        throw;
    }
    return true;
}

bool TStringEditLink::CancelEdit()
{
    if (FStopping) return false;
    FStopping = true;
    if (FEdit) FEdit->Hide();
    if (FTree) FTree->CancelEditNode();
    if (FEdit) FEdit->Detach();
    return true;
}

TRect TStringEditLink::GetBounds() { return FEdit ? FEdit->BoundsRect() : TRect{}; }

void TStringEditLink::ProcessMessage(TMessage& Message)
{
    if (FEdit) FEdit->WndProc(Message);
}

void TStringEditLink::SetBounds(TRect R)
{
    if (FStopping || !FEdit || !FTree) return;
    if (R.Left < 0) R.Left = 0;
    if (R.Right - R.Left < 30) {
        if (FAlignment == taRightJustify) R.Left = R.Right - 30;
        else R.Right = R.Left + 30;
    }
    R.Right = std::min(R.Right, FTree->ClientWidth());
    FEdit->SetBounds(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
    // The formatting rectangle puts the edited text where the tree shows it.
    const bool multiline = FNode && FNode->Has(vsMultiline);
    int offset = multiline ? 0 : 2;
    if (FTree->HasState(tsUseThemes)) ++offset;
    TRect f = FEdit->ClientRect();
    f.Left -= offset - FTree->TextMargin();
    f.Right += offset - FTree->TextMargin();
    f.Top -= offset;
    f.Bottom += offset;
    if (!multiline) {
        const int dy = FTextBounds.Top - FEdit->Top();
        f.Top += dy;
        f.Bottom += dy;
    }
    f.Left = std::max(f.Left, -1);
    f.Top = std::max(f.Top, -1);
    FEdit->Perform(plat::EM_SETRECTNP, 0, reinterpret_cast<plat::LPARAM>(&f));
}

// ---- the edit control ---------------------------------------------------------------------

TLTEdit::TLTEdit(TStringEditLink* Link, bool Multiline)
    : plat::TCustomMemo(nullptr, Multiline ? EditKind::Plain : EditKind::SingleLine), FLink(Link),
      FMultiline(Multiline)
{
    SetAutoSelect(false);
    // No size of its own: the link places it over the node.
    SetBounds(0, 0, 0, 0);
    // A multi-line node wraps its text in the cell's width: so does its editor, which scrolls
    // vertically only.
    SetWordWrap(Multiline);
    SetScrollBars(Multiline ? plat::ssVertical : plat::ssNone);
    SetWantReturns(Multiline);
}

TLTEdit::~TLTEdit()
{
    if (FLink && FLink->FEdit == this) FLink->FEdit = nullptr;
    FLink = nullptr;
    // Last: the reference may be the link's last one.
    FRefLink.reset();
}

void TLTEdit::Detach()
{
    FLink = nullptr;
    // The link may hold no other reference than this one: it goes when the caller's does.
    PLTEditLink keep = std::move(FRefLink);
    (void)keep;
}

void TLTEdit::Release() { plat::PostMessage(Handle(), plat::CM_RELEASE, 0, 0); }

void TLTEdit::Change()
{
    plat::TCustomEdit::Change();
    if (FLink && FLink->FNode && !FLink->FNode->Has(vsMultiline)) AutoAdjustSize();
}

void TLTEdit::AutoAdjustSize()
{
    if (!FLink || !FLink->FTree || !FLink->FNode || FLink->FStopping) return;
    TCustomLazyStringTree* tree = FLink->FTree;
    if (FLink->FNode->Has(vsMultiline) || Has(tree->TreeOptions().MiscOptions(), toGridExtensions)) return;
    plat::TCanvas* c = tree->Canvas();
    plat::TFont saved;
    saved.Assign(*c->Font());
    c->SetFont(Font());
    plat::TSize size = c->TextExtent(GetText() + u"yG");
    c->SetFont(&saved);
    size.cx += 2 * tree->TextMargin();
    size.cy += 2 * tree->TextMargin();
    TRect r = BoundsRect();
    if (size.cy > r.Height()) r.Bottom = r.Top + size.cy;
    if (size.cx < Width()) tree->Invalidate();
    if (FLink->FAlignment == taRightJustify) r.Left = r.Right - size.cx;
    else r.Right = r.Left + size.cx;
    FLink->SetBounds(r);
}

void TLTEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case plat::CM_RELEASE:
        delete this;
        return;
    case plat::WM_CHAR:
        // Tab and Escape end or move the edit; their characters must not beep.
        if (Message.WParam == 9 || Message.WParam == 27) return;
        break;
    case plat::WM_GETDLGCODE:
        plat::TCustomMemo::WndProc(Message);
        Message.Result |= plat::DLGC_WANTARROWS | plat::DLGC_WANTTAB | plat::DLGC_WANTALLKEYS;
        return;
    case plat::CM_EXIT:
        if (FLink && !FLink->FStopping && FLink->FTree) {
            TCustomLazyStringTree* tree = FLink->FTree;
            if (Has(tree->TreeOptions().StringOptions(), toAutoAcceptEditChange)) tree->EndEditNode();
            else tree->CancelEditNode();
        }
        break;
    case plat::WM_KEYDOWN: {
        if (!FLink || !FLink->FTree) break;
        TCustomLazyStringTree* tree = FLink->FTree;
        const bool ctrl = plat::GetKeyState(plat::VK_CONTROL) < 0;
        const bool shift = plat::GetKeyState(plat::VK_SHIFT) < 0;
        const bool alt = plat::GetKeyState(plat::VK_MENU) < 0;
        const bool multiline = FLink->FNode && FLink->FNode->Has(vsMultiline);
        switch (Message.WParam) {
        case plat::VK_TAB: {
            if (!tree->IsEditing()) break;
            PLazyNode node = FLink->FNode;
            tree->InvalidateNode(node);
            if (!tree->EndEditNode()) return;
            PLazyNode next = tree->GetNextVisible(node, true);
            tree->SetFocusedNode(next);
            if (next && tree->FocusedNode() == next && tree->CanEdit(next, tree->FocusedColumn()))
                tree->EditNode(next, tree->FocusedColumn());
            return;
        }
        case plat::VK_RETURN:
            if (multiline && !ctrl) break;
            tree->InvalidateNode(FLink->FNode);
            tree->EndEditNode();
            tree->SetFocus();
            return;
        case plat::VK_ESCAPE:
            tree->CancelEditNode();
            tree->SetFocus();
            return;
        case plat::VK_UP:
            if (!multiline) Message.WParam = plat::VK_LEFT;
            break;
        case plat::VK_DOWN:
            if (!multiline) Message.WParam = plat::VK_RIGHT;
            break;
        case 'A':
            if (ctrl && !shift && !alt && tree->IsEditing()) {
                SelectAll();
                return;
            }
            break;
        default: break;
        }
        break;
    }
    default: break;
    }
    plat::TCustomMemo::WndProc(Message);
}

} // namespace vtree
