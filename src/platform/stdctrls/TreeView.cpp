#include "plat/TreeView.h"

#include <algorithm>
#include <string>

#include "StdCommon.h"
#include "plat/SysUtils.h"

namespace plat {

using namespace std_detail;

namespace {

int SubtreeSize(const TTreeNode* Node)
{
    int n = 1;
    for (int i = 0; i < Node->Count(); ++i) n += SubtreeSize(Node->Item(i));
    return n;
}

bool IsWithin(const TTreeNode* Node, const TTreeNode* Ancestor)
{
    for (const TTreeNode* p = Node; p; p = p->Parent())
        if (p == Ancestor) return true;
    return false;
}

String IndexText(int Index) { const std::string s = std::to_string(Index); return String(s.begin(), s.end()); }

} // namespace

// ---- TTreeNode -------------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* Owner, TTreeNode* Parent, const String& Text)
    : owner_(Owner), parent_(Parent), text_(Text)
{
}

TTreeNode::~TTreeNode() = default;

TTreeView* TTreeNode::TreeView() const { return owner_->Owner(); }

void TTreeNode::SetText(const String& Value)
{
    if (text_ == Value) return;
    text_ = Value;
    if (TreeView()) TreeView()->Invalidate();
}

std::vector<std::unique_ptr<TTreeNode>>& TTreeNode::Siblings() const { return owner_->ChildList(parent_); }

TTreeNode* TTreeNode::Item(int Index) const
{
    if (Index < 0 || Index >= Count()) throw EListError(u"List index out of bounds (" + IndexText(Index) + u")");
    return children_[static_cast<std::size_t>(Index)].get();
}

int TTreeNode::Index() const
{
    const auto& s = Siblings();
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i].get() == this) return static_cast<int>(i);
    return -1;
}

int TTreeNode::Level() const
{
    int level = 0;
    for (const TTreeNode* p = parent_; p; p = p->parent_) ++level;
    return level;
}

int TTreeNode::AbsoluteIndex() const
{
    int index = 0;
    for (const TTreeNode* n = this; n;) {
        const auto& s = n->Siblings();
        for (const auto& sib : s) {
            if (sib.get() == n) break;
            index += SubtreeSize(sib.get());
        }
        n = n->parent_;
        if (n) ++index;  // the parent itself comes before its children
    }
    return index;
}

TTreeNode* TTreeNode::getNextSibling() const
{
    const auto& s = Siblings();
    const int i = Index();
    return i + 1 < static_cast<int>(s.size()) ? s[static_cast<std::size_t>(i + 1)].get() : nullptr;
}

TTreeNode* TTreeNode::getPrevSibling() const
{
    const int i = Index();
    return i > 0 ? Siblings()[static_cast<std::size_t>(i - 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
    if (!children_.empty()) return children_.front().get();
    for (const TTreeNode* n = this; n; n = n->parent_)
        if (TTreeNode* next = n->getNextSibling()) return next;
    return nullptr;
}

void TTreeNode::SetExpanded(bool Value)
{
    if (expanded_ == Value) return;
    expanded_ = Value;
    TTreeView* view = TreeView();
    if (!view) return;
    if (!Value) view->NodeCollapsed(this);
    view->StructureChanged();
}

void TTreeNode::Expand(bool Recurse)
{
    owner_->BeginUpdate();
    SetExpanded(true);
    if (Recurse)
        for (auto& c : children_) c->Expand(true);
    owner_->EndUpdate();
}

void TTreeNode::Collapse(bool Recurse)
{
    owner_->BeginUpdate();
    SetExpanded(false);
    if (Recurse)
        for (auto& c : children_) c->Collapse(true);
    owner_->EndUpdate();
}

bool TTreeNode::Selected() const { return TreeView() && TreeView()->Selected() == this; }

void TTreeNode::MakeVisible()
{
    owner_->BeginUpdate();
    for (TTreeNode* p = parent_; p; p = p->parent_) p->SetExpanded(true);
    owner_->EndUpdate();
    if (TreeView()) TreeView()->ScrollIntoView(this);
}

void TTreeNode::Delete() { owner_->Delete(this); }

// ---- TTreeNodes ------------------------------------------------------------------------

TTreeNodes::~TTreeNodes()
{
    owner_ = nullptr;
    roots_.clear();
}

TTreeNode* TTreeNodes::Item(int AbsoluteIndex) const
{
    if (AbsoluteIndex < 0 || AbsoluteIndex >= count_)
        throw EListError(u"List index out of bounds (" + IndexText(AbsoluteIndex) + u")");
    TTreeNode* n = GetFirstNode();
    for (int i = 0; i < AbsoluteIndex; ++i) n = n->GetNext();
    return n;
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* Parent, std::size_t Position, const String& S)
{
    auto& list = ChildList(Parent);
    std::unique_ptr<TTreeNode> node(new TTreeNode(this, Parent, S));
    TTreeNode* result = node.get();
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(Position, list.size())), std::move(node));
    ++count_;
    Changed();
    return result;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const String& S)
{
    TTreeNode* parent = Sibling ? Sibling->Parent() : nullptr;
    return InsertAt(parent, ChildList(parent).size(), S);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const String& S)
{
    return InsertAt(Sibling ? Sibling->Parent() : nullptr, 0, S);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const String& S)
{
    return InsertAt(Parent, ChildList(Parent).size(), S);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const String& S) { return InsertAt(Parent, 0, S); }

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const String& S)
{
    if (!Sibling) return InsertAt(nullptr, roots_.size(), S);
    return InsertAt(Sibling->Parent(), static_cast<std::size_t>(Sibling->Index()), S);
}

void TTreeNodes::Delete(TTreeNode* Node)
{
    if (!Node || Node->owner_ != this) return;
    if (owner_) owner_->NodeRemoving(Node);
    count_ -= SubtreeSize(Node);
    auto& list = ChildList(Node->Parent());
    const auto it = std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.get() == Node; });
    if (it != list.end()) list.erase(it);
    Changed();
}

void TTreeNodes::Clear()
{
    if (roots_.empty()) return;
    if (owner_) owner_->selected_ = nullptr;
    roots_.clear();
    count_ = 0;
    Changed();
}

void TTreeNodes::BeginUpdate() { ++updateCount_; }

void TTreeNodes::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TTreeNodes::Changed()
{
    if (owner_) owner_->StructureChanged();
}

// ---- TTreeView -------------------------------------------------------------------------

TTreeView::TTreeView(TComponent* AOwner) : TCustomControl(AOwner), items_(std::make_unique<TTreeNodes>(this))
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBorderStyle(bsSingle);
    SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView()
{
    selected_ = nullptr;
    items_.reset();
}

int TTreeView::ItemHeight() const
{
    if (fontItemHeight_ == 0) fontItemHeight_ = std::max(16, MeasureCanvas(Font())->TextHeight(u"Wg") + 3);
    return fontItemHeight_;
}

const std::vector<TTreeNode*>& TTreeView::Rows() const
{
    if (rowsDirty_) {
        rows_.clear();
        rows_.reserve(static_cast<std::size_t>(items_->Count()));
        // Depth first, descending only into expanded nodes.
        std::vector<std::pair<const std::vector<std::unique_ptr<TTreeNode>>*, std::size_t>> stack;
        stack.push_back({&items_->roots_, 0});
        while (!stack.empty()) {
            auto& [list, i] = stack.back();
            if (i >= list->size()) {
                stack.pop_back();
                continue;
            }
            TTreeNode* n = (*list)[i++].get();
            rows_.push_back(n);
            if (n->expanded_ && !n->children_.empty()) stack.push_back({&n->children_, 0});
        }
        rowsDirty_ = false;
    }
    return rows_;
}

int TTreeView::VisibleRowCount() const { return static_cast<int>(Rows().size()); }

int TTreeView::RowOf(const TTreeNode* Node) const
{
    if (!Node) return -1;
    for (const TTreeNode* p = Node->Parent(); p; p = p->Parent())
        if (!p->Expanded()) return -1;
    const auto& rows = Rows();
    const auto it = std::find(rows.begin(), rows.end(), Node);
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

int TTreeView::PageRows() const { return std::max(1, ClientHeight() / ItemHeight()); }

void TTreeView::StructureChanged()
{
    rowsDirty_ = true;
    if (items_ && items_->updateCount_ > 0) return;
    SetTopRow(topRow_);
    UpdateScrollBar();
    Invalidate();
}

void TTreeView::NodeRemoving(TTreeNode* Node)
{
    if (selected_ && IsWithin(selected_, Node)) selected_ = nullptr;
}

void TTreeView::NodeCollapsed(TTreeNode* Node)
{
    if (selected_ && selected_ != Node && IsWithin(selected_, Node)) ChangeSelection(Node);
}

bool TTreeView::ChangeSelection(TTreeNode* Value)
{
    if (Value == selected_) return true;
    bool allow = true;
    if (OnChanging && Value) OnChanging(this, Value, allow);
    if (!allow) return false;
    selected_ = Value;
    if (Value) ScrollIntoView(Value);
    Invalidate();
    if (OnChange) OnChange(this, Value);
    return true;
}

void TTreeView::SetSelected(TTreeNode* Value)
{
    if (Value && Value->Owner() != items_.get()) return;
    if (Value) {
        items_->BeginUpdate();
        for (TTreeNode* p = Value->Parent(); p; p = p->Parent()) p->SetExpanded(true);
        items_->EndUpdate();
    }
    ChangeSelection(Value);
}

void TTreeView::ScrollIntoView(const TTreeNode* Node)
{
    const int row = RowOf(Node);
    if (row < 0) return;
    if (row < topRow_)
        SetTopRow(row);
    else if (row >= topRow_ + PageRows())
        SetTopRow(row - PageRows() + 1);
}

void TTreeView::SetTopRow(int Row)
{
    const int maxTop = std::max(0, VisibleRowCount() - PageRows());
    Row = std::clamp(Row, 0, maxTop);
    if (Row == topRow_) return;
    topRow_ = Row;
    UpdateScrollBar();
    Invalidate();
}

TTreeNode* TTreeView::TopItem() const
{
    const auto& rows = Rows();
    return topRow_ < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(topRow_)] : nullptr;
}

void TTreeView::SetTopItem(TTreeNode* Value)
{
    const int row = RowOf(Value);
    if (row >= 0) SetTopRow(row);
}

void TTreeView::UpdateScrollBar()
{
    if (!HandleAllocated()) return;
    const int rows = VisibleRowCount();
    const bool needed = rows > PageRows();
    ShowScrollBar(Handle(), SB_VERT, needed);
    if (needed) {
        TScrollInfo si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = rows - 1;
        si.nPage = static_cast<UINT>(PageRows());
        si.nPos = topRow_;
        SetScrollInfo(Handle(), SB_VERT, si, true);
    }
}

void TTreeView::Resize()
{
    TCustomControl::Resize();
    SetTopRow(topRow_);
    UpdateScrollBar();
}

int TTreeView::TextLeft(const TTreeNode* Node) const
{
    return (Node->Level() + (showRoot_ ? 1 : 0)) * indent_ + 2;
}

TTreeNode* TTreeView::GetNodeAt(int X, int Y) const
{
    if (Y < 0 || X < 0 || X >= ClientWidth()) return nullptr;
    const int row = topRow_ + Y / ItemHeight();
    const auto& rows = Rows();
    return row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)] : nullptr;
}

TRect TTreeView::NodeRect(const TTreeNode* Node, bool Full) const
{
    const int row = RowOf(Node);
    if (row < 0) return {};
    const int h = ItemHeight();
    const int top = (row - topRow_) * h;
    if (Full) return {0, top, ClientWidth(), top + h};
    const int left = TextLeft(Node);
    return {left, top, left + MeasureCanvas(Font())->TextWidth(Node->Text()) + 4, top + h};
}

void TTreeView::SetRowSelect(bool Value) { rowSelect_ = Value; Invalidate(); }
void TTreeView::SetHideSelection(bool Value) { hideSelection_ = Value; Invalidate(); }
void TTreeView::SetShowLines(bool Value) { showLines_ = Value; Invalidate(); }
void TTreeView::SetShowButtons(bool Value) { showButtons_ = Value; Invalidate(); }
void TTreeView::SetShowRoot(bool Value) { showRoot_ = Value; Invalidate(); }
void TTreeView::SetIndent(int Value) { indent_ = std::max(1, Value); Invalidate(); }

void TTreeView::FullExpand()
{
    items_->BeginUpdate();
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNext()) n->SetExpanded(true);
    items_->EndUpdate();
}

void TTreeView::FullCollapse()
{
    items_->BeginUpdate();
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNext()) n->SetExpanded(false);
    items_->EndUpdate();
}

void TTreeView::Paint()
{
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(client);
    c->SetFont(Font());
    const int h = ItemHeight();
    const auto& rows = Rows();
    const bool focused = Focused();
    const int rootShift = showRoot_ ? 1 : 0;
    for (int r = topRow_; r < static_cast<int>(rows.size()); ++r) {
        const int top = (r - topRow_) * h;
        if (top >= client.Bottom) break;
        const TTreeNode* node = rows[static_cast<std::size_t>(r)];
        const int level = node->Level();
        const int cy = top + h / 2;
        const bool selected = node == selected_;
        const bool shown = selected && (focused || !hideSelection_);
        // A whole-row highlight goes below the lines and the button, which stay visible on it.
        if (shown && rowSelect_) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(focused ? clHighlight : clBtnFace);
            c->FillRect(TRect{0, top, client.Right, top + h});
        }
        // Lines: this node's elbow, and the through-lines of ancestors that have later siblings.
        if (showLines_) {
            c->Pen()->SetColor(clGray);
            c->Pen()->SetStyle(psDot);
            const TTreeNode* n = node;
            for (int l = level; l >= 0 && n; --l, n = n->Parent()) {
                const int col = l + rootShift;
                if (col == 0) continue;
                const int cx = col * indent_ - indent_ / 2;
                const bool hasNext = n->getNextSibling() != nullptr;
                if (n == node) {
                    const bool hasPrev = n->Parent() || n->getPrevSibling();
                    c->MoveTo(cx, hasPrev ? top : cy);
                    c->LineTo(cx, hasNext ? top + h : cy + 1);
                    c->MoveTo(cx, cy);
                    c->LineTo(col * indent_, cy);
                } else if (hasNext) {
                    c->MoveTo(cx, top);
                    c->LineTo(cx, top + h);
                }
            }
            c->Pen()->SetStyle(psSolid);
        }
        const int col = level + rootShift;
        if (showButtons_ && node->HasChildren() && col > 0) {
            const int cx = col * indent_ - indent_ / 2;
            const TRect box{cx - 4, cy - 4, cx + 5, cy + 5};
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(clWindow);
            c->FillRect(box);
            c->Brush()->SetColor(clGray);
            c->FrameRect(box);
            c->Pen()->SetColor(clWindowText);
            c->MoveTo(cx - 2, cy);
            c->LineTo(cx + 3, cy);
            if (!node->Expanded()) {
                c->MoveTo(cx, cy - 2);
                c->LineTo(cx, cy + 3);
            }
        }
        const int left = TextLeft(node);
        const int textWidth = c->TextWidth(node->Text());
        TRect textRect{left, top, left + textWidth + 4, top + h};
        if (shown && !rowSelect_) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(focused ? clHighlight : clBtnFace);
            c->FillRect(textRect);
        }
        c->Font()->SetColor(shown && focused ? clHighlightText : Enabled() ? Font()->Color() : clGrayText);
        c->Brush()->SetStyle(bsClear);
        c->DrawText(node->Text(), textRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
        if (selected && focused) c->DrawFocusRect(rowSelect_ ? TRect{0, top, client.Right, top + h} : textRect);
    }
}

void TTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Enabled()) {
        if (CanFocus() && !Focused()) SetFocus();
        if (TTreeNode* node = GetNodeAt(X, Y)) {
            const int col = node->Level() + (showRoot_ ? 1 : 0);
            const int cx = col * indent_ - indent_ / 2;
            const bool onButton = showButtons_ && node->HasChildren() && col > 0 && X >= cx - indent_ / 2 &&
                                  X < cx + indent_ / 2 + 1;
            if (onButton && !(Shift & ssDouble)) {
                node->SetExpanded(!node->Expanded());
            } else {
                ChangeSelection(node);
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TTreeView::DblClick()
{
    if (selected_ && selected_->HasChildren()) selected_->SetExpanded(!selected_->Expanded());
    TCustomControl::DblClick();
}

void TTreeView::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const auto& rows = Rows();
    if (rows.empty()) return;
    const int count = static_cast<int>(rows.size());
    const int row = RowOf(selected_);
    auto go = [&](int r) { ChangeSelection(rows[static_cast<std::size_t>(std::clamp(r, 0, count - 1))]); };
    const int page = std::max(1, PageRows() - 1);
    switch (Key) {
    case VK_UP: go(row < 0 ? 0 : row - 1); break;
    case VK_DOWN: go(row + 1); break;
    case VK_HOME: go(0); break;
    case VK_END: go(count - 1); break;
    case VK_PRIOR: go(std::max(0, row - page)); break;
    case VK_NEXT: go(row + page); break;
    case VK_RIGHT:
        if (!selected_) go(0);
        else if (selected_->HasChildren() && !selected_->Expanded()) selected_->SetExpanded(true);
        else if (selected_->HasChildren()) ChangeSelection(selected_->getFirstChild());
        break;
    case VK_LEFT:
        if (!selected_) go(0);
        else if (selected_->Expanded()) selected_->SetExpanded(false);
        else if (selected_->Parent()) ChangeSelection(selected_->Parent());
        break;
    case VK_ADD:
        if (selected_) selected_->SetExpanded(true);
        break;
    case VK_SUBTRACT:
        if (selected_) selected_->SetExpanded(false);
        break;
    default: return;
    }
    Key = 0;
}

bool TTreeView::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    SetTopRow(topRow_ - 3 * WheelDelta / 120);
    return true;
}

void TTreeView::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_VSCROLL: {
        const int page = std::max(1, PageRows() - 1);
        switch (LoWord(Message.WParam)) {
        case SB_LINEUP: SetTopRow(topRow_ - 1); break;
        case SB_LINEDOWN: SetTopRow(topRow_ + 1); break;
        case SB_PAGEUP: SetTopRow(topRow_ - page); break;
        case SB_PAGEDOWN: SetTopRow(topRow_ + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTopRow(HiWord(Message.WParam)); break;
        case SB_TOP: SetTopRow(0); break;
        case SB_BOTTOM: SetTopRow(VisibleRowCount()); break;
        default: break;
        }
        Message.Result = 0;
        return;
    }
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomControl::WndProc(Message);
        if (Message.Msg == CM_FONTCHANGED) {
            fontItemHeight_ = 0;
            StructureChanged();
        }
        Invalidate();
        return;
    default: break;
    }
    TCustomControl::WndProc(Message);
}

} // namespace plat
