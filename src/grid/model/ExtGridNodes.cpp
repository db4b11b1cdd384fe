// Node rows of TExtStringGrid: node records, levels, expanding and contracting through the
// hidden-row store, parent lookup, child rows, and spans kept in step by structural
// operations.
#include <algorithm>

#include "ExtGrid.h"

namespace grid {

// ---- node settings ---------------------------------------------------------------------------

TCellNode::TCellNode()
    : FExpandGlyph(std::make_unique<plat::TBitmap>()), FContractGlyph(std::make_unique<plat::TBitmap>()) {}

TCellNode::~TCellNode() = default;

void TCellNode::Assign(const plat::TPersistent* Source) {
    auto* s = dynamic_cast<const TCellNode*>(Source);
    if (!s) {
        plat::TPersistent::Assign(Source);
        return;
    }
    Color = s->Color;
    NodeColor = s->NodeColor;
    ExpandOne = s->ExpandOne;
    FNodeType = s->FNodeType;
    FShowTree = s->FShowTree;
    FShowTreeFull = s->FShowTreeFull;
    FNodeIndent = s->FNodeIndent;
    FTreeColor = s->FTreeColor;
    FExpandGlyph->Assign(*s->FExpandGlyph);
    FContractGlyph->Assign(*s->FContractGlyph);
    Changed();
}

void TCellNode::SetNodeType(TNodeType Value) {
    if (FNodeType == Value) return;
    FNodeType = Value;
    Changed();
}

void TCellNode::SetShowTree(bool Value) {
    if (FShowTree == Value) return;
    FShowTree = Value;
    Changed();
}

void TCellNode::SetShowTreeFull(bool Value) {
    if (FShowTreeFull == Value) return;
    FShowTreeFull = Value;
    Changed();
}

void TCellNode::SetNodeIndent(int Value) {
    if (FNodeIndent == Value) return;
    FNodeIndent = Value;
    Changed();
}

void TCellNode::SetTreeColor(TColor Value) {
    if (FTreeColor == Value) return;
    FTreeColor = Value;
    Changed();
}

// ---- records and levels of real rows -------------------------------------------------------------

TCellProperties* TExtStringGrid::RealRowProps0(int ARealRow, bool Create) {
    if (ARealRow < 0 || ARealRow >= AllRowCount()) return nullptr;
    const int i = FGridItems.Find(ARealRow);
    if (i < 0) {
        const int d = DisplRowIndex(ARealRow);
        return Create ? GetCellProperties(0, d) : Map().Props(0, d);
    }
    // A hidden row keeps its column-0 properties in its store item.
    TGridItem& item = FGridItems.Item(i);
    if (auto* p = static_cast<TCellProperties*>(item.Object(0))) return p;
    if (!Create) return nullptr;
    auto* p = new TCellProperties(this, 0, DisplRowIndex(ARealRow));
    item.SetObject(0, p);
    return p;
}

TCellGraphic* TExtStringGrid::NodeRecordReal(int ARealRow) {
    TCellProperties* p = RealRowProps0(ARealRow, false);
    auto* g = p ? dynamic_cast<TCellGraphic*>(p->GraphicObject) : nullptr;
    return g && g->CellType == ctNode ? g : nullptr;
}

int TExtStringGrid::RealRowLevel(int ARealRow) {
    TCellProperties* p = RealRowProps0(ARealRow, false);
    return p ? p->NodeLevel : 0;
}

void TExtStringGrid::SetRealRowLevel(int ARealRow, int Level) {
    Level = std::max(Level, 0);
    if (Level == 0 && !RealRowProps0(ARealRow, false)) return;
    if (TCellProperties* p = RealRowProps0(ARealRow, true)) p->NodeLevel = Level;
}

std::vector<int> TExtStringGrid::NodeRealRows() {
    std::vector<int> rows;
    const int all = AllRowCount();
    int i = 0, d = 0;
    for (int r = 0; r < all; ++r) {
        TCellProperties* p = nullptr;
        if (i < FGridItems.Count() && FGridItems.Item(i).Idx == r) {
            const TGridItem& item = FGridItems.Item(i++);
            p = static_cast<TCellProperties*>(item.Object(0));
        } else {
            p = Map().Props(0, d++);
        }
        auto* g = p ? dynamic_cast<TCellGraphic*>(p->GraphicObject) : nullptr;
        if (g && g->CellType == ctNode) rows.push_back(r);
    }
    return rows;
}

int TExtStringGrid::NodeGroupEnd(int ARealRow) {
    TCellGraphic* g = NodeRecordReal(ARealRow);
    const int last = AllRowCount() - 1;
    if (!g) return ARealRow;
    if (g->CellIndex > 0) return std::min(ARealRow + g->CellIndex - 1, last);
    for (int r = ARealRow + 1; r <= last; ++r)
        if (NodeRecordReal(r)) return r - 1;
    return last;
}

void TExtStringGrid::FreezeOpenSpans() {
    if (FNumNodes == 0) return;
    for (int n : NodeRealRows()) {
        TCellGraphic* g = NodeRecordReal(n);
        if (g->CellIndex <= 0) g->CellIndex = NodeGroupEnd(n) - n + 1;
    }
}

void TExtStringGrid::RecountNodes() { FNumNodes = static_cast<int>(NodeRealRows().size()); }

// ---- adding and removing --------------------------------------------------------------------------

void TExtStringGrid::AddNode(int ARow, int Span) {
    if (ARow < 0 || ARow >= AllRowCount()) return;
    if (NodeRecordReal(ARow)) RemoveNode(ARow);
    FreezeOpenSpans();
    // A span never reaches beyond the grid.
    Span = std::clamp(Span, 0, AllRowCount() - ARow);
    TCellProperties* p = RealRowProps0(ARow, true);
    auto* g = new TCellGraphic;
    g->CellType = ctNode;
    g->CellIndex = Span;
    g->CellBoolean = false;
    g->CellErrFrom = 0;
    g->CellAngle = DisplRowIndex(ARow);
    g->CellVar = -1;
    g->CellHAlign = haBeforeText;
    g->CellVAlign = vaCenter;
    delete p->GraphicObject;
    p->GraphicObject = g;
    const int end = NodeGroupEnd(ARow);
    for (int r = ARow; r <= end; ++r) SetRealRowLevel(r, RealRowLevel(r) + 1);
    if (FNumNodes == 0) RepaintCol(0);
    ++FNumNodes;
    if (Col() == 0 && ColCount() > 1) SetCol(1);
}

void TExtStringGrid::RemoveNode(int ARow) {
    if (!NodeRecordReal(ARow)) return;
    ExpandNode(ARow);
    const int end = NodeGroupEnd(ARow);
    FreezeOpenSpans();
    // Another node row keeps level 1 at least (rows moved into a span carry their own level).
    for (int r = ARow + 1; r <= end; ++r) SetRealRowLevel(r, std::max(RealRowLevel(r) - 1, NodeRecordReal(r) ? 1 : 0));
    SetRealRowLevel(ARow, RealRowLevel(ARow) - 1);
    TCellProperties* p = RealRowProps0(ARow, false);
    delete p->GraphicObject;
    p->GraphicObject = nullptr;
    --FNumNodes;
    if (!IsHiddenRow(ARow)) RepaintRow(DisplRowIndex(ARow));
}

void TExtStringGrid::RemoveAllNodes() {
    if (FNumNodes == 0) return;
    BeginUpdate();
    for (int r : NodeRealRows()) RemoveNode(r);
    EndUpdate();
    FNumNodes = 0;
    Invalidate();
}

void TExtStringGrid::AddSummary(int ARow) {
    TCellProperties* p = RealRowProps0(ARow, true);
    if (!p) return;
    auto* g = new TCellGraphic;
    g->CellType = ctSummary;
    delete p->GraphicObject;
    p->GraphicObject = g;
}

// ---- queries of display rows -------------------------------------------------------------------------

bool TExtStringGrid::IsNode(int ARow) {
    return ARow >= 0 && ARow < RowCount() && NodeRecordReal(RealRowIndex(ARow)) != nullptr;
}

bool TExtStringGrid::IsSummary(int ARow) {
    if (ARow < 0 || ARow >= RowCount()) return false;
    TCellProperties* p = Map().Props(0, ARow);
    auto* g = p ? dynamic_cast<TCellGraphic*>(p->GraphicObject) : nullptr;
    return g && g->CellType == ctSummary;
}

bool TExtStringGrid::GetNodeState(int ARow) {
    TCellGraphic* g = IsNode(ARow) ? NodeRecordReal(RealRowIndex(ARow)) : nullptr;
    return g && g->CellBoolean;
}

void TExtStringGrid::SetNodeState(int ARow, bool Value) {
    if (!IsNode(ARow) || GetNodeState(ARow) == Value) return;
    if (Value)
        ContractNode(RealRowIndex(ARow));
    else
        ExpandNode(RealRowIndex(ARow));
}

int TExtStringGrid::GetNodeLevel(int ARow) { return IsNode(ARow) ? RealRowLevel(RealRowIndex(ARow)) : -1; }

int TExtStringGrid::GetNodeSpan(int ARow) { return IsNode(ARow) ? NodeRecordReal(RealRowIndex(ARow))->CellIndex : -1; }

int TExtStringGrid::GetSubNodeCount(int ARow) {
    return IsNode(ARow) ? NodeRecordReal(RealRowIndex(ARow))->CellErrFrom : 0;
}

void TExtStringGrid::SetNodeSpan(int ARow, int Span) {
    if (!IsNode(ARow)) return;
    const int r = RealRowIndex(ARow);
    NodeRecordReal(r)->CellIndex = std::clamp(Span, 0, AllRowCount() - r);
}

void TExtStringGrid::UpdateNodeSpan(int ARow, int Delta) {
    if (IsNode(ARow)) SetNodeSpan(ARow, NodeRecordReal(RealRowIndex(ARow))->CellIndex + Delta);
}

void TExtStringGrid::UpdateSubNodeCount(int ARow, int Delta) {
    if (IsNode(ARow)) NodeRecordReal(RealRowIndex(ARow))->CellErrFrom += Delta;
}

int TExtStringGrid::GetNodeSpanType(int ARow) {
    if (IsNode(ARow)) return 0;
    if (ARow >= RowCount() - FixedFooters - 1) return 1;
    TCellProperties* next = Map().Props(0, ARow + 1);
    if (!next) return 1;
    TCellProperties* own = Map().Props(0, ARow);
    return next->NodeLevel < (own ? own->NodeLevel : 0) ? 1 : 2;
}

int TExtStringGrid::GetRowIndent(int ARow) {
    if (FNumNodes == 0 || ARow < 0 || ARow >= RowCount()) return 0;
    TCellProperties* p = Map().Props(0, ARow);
    return p ? p->NodeLevel * FCellNode->NodeIndent() : 0;
}

int TExtStringGrid::GetParentRow(int ARow) {
    if (FNumNodes == 0 || ARow < 0 || ARow >= RowCount()) return -1;
    const int real = RealRowIndex(ARow);
    const bool isNode = NodeRecordReal(real) != nullptr;
    const int own = isNode ? RealRowLevel(real) : 65535;
    for (int d = ARow - 1; d >= FixedRows(); --d) {
        const int r = RealRowIndex(d);
        if (NodeRecordReal(r) && RealRowLevel(r) < own && NodeGroupEnd(r) >= real) return d;
    }
    return isNode ? ARow : -1;
}

bool TExtStringGrid::IsNodeButtonHit(int ARow, int X) {
    if (!FMouseActions->PreciseNodeClick) return true;
    const int level = GetNodeLevel(ARow);
    const int indent = FCellNode->NodeIndent();
    int g = 4, m = 4;
    switch (FCellNode->NodeType()) {
    case cn3D: g = 6; m = 0; break;
    case cnGlyph:
        g = FCellNode->ExpandGlyph()->Empty() ? 0 : FCellNode->ExpandGlyph()->Width() / 2;
        m = FCellNode->ExpandGlyph()->Empty() ? 0 : 2;
        break;
    case cnLeaf: g = 8; m = 2; break;
    case cnFlat:
    case cnXP: g = 4; m = 4; break;
    }
    return X > m + (level - 1) * indent && X < g + level * indent;
}

// ---- expanding and contracting ------------------------------------------------------------------------

void TExtStringGrid::ShowNodeRows(int ARealRow) { ShowSpanRows(ARealRow + 1, NodeGroupEnd(ARealRow)); }

void TExtStringGrid::ShowSpanRows(int From, int end) {
    // Hidden rows of the range that no contracted node holds.
    std::vector<std::pair<int, int>> held;
    for (int n : NodeRealRows())
        if (NodeRecordReal(n)->CellBoolean) held.emplace_back(n + 1, NodeGroupEnd(n));
    std::vector<std::pair<int, int>> runs;
    for (int r = From; r <= end; ++r) {
        if (!IsHiddenRow(r)) continue;
        if (std::any_of(held.begin(), held.end(), [r](const auto& h) { return r >= h.first && r <= h.second; }))
            continue;
        if (!runs.empty() && runs.back().second == r - 1)
            runs.back().second = r;
        else
            runs.emplace_back(r, r);
    }
    if (runs.empty()) return;
    const bool disjunct = FMouseActions->DisjunctRowSelect();
    FMouseActions->SetDisjunctRowSelectDirect(false);
    const plat::TGridOptions opts = Options();
    const bool rowSelect = opts.Contains(plat::goRowSelect);
    const int row = Row(), top = TopRow();
    if (rowSelect) SetOptions(plat::TGridOptions(opts).Exclude(plat::goRowSelect));
    const bool lock = NumCellControls() == 0;
    if (lock) BeginUpdate();
    for (const auto& [from, to] : runs) UnHideRows(from, to);
    if (lock) EndUpdate();
    if (rowSelect) {
        SetOptions(opts);
        if (row < RowCount()) TCustomGrid::SetRow(row);
        if (top < RowCount()) SetTopRow(top);
    }
    FMouseActions->SetDisjunctRowSelectDirect(disjunct);
}

void TExtStringGrid::ExpandNode(int ARow) {
    TCellGraphic* g = NodeRecordReal(ARow);
    if (!g) return;
    if (FCellNode->ExpandOne) {
        std::vector<int> others;
        for (int d = FixedRows(); d < RowCount(); ++d) {
            const int r = RealRowIndex(d);
            TCellGraphic* h = NodeRecordReal(r);
            // The node's own ancestors stay open: contracting one would hide the node.
            if (r == ARow || !h || h->CellBoolean || (r < ARow && NodeGroupEnd(r) >= ARow)) continue;
            others.push_back(r);
        }
        for (int r : others)
            if (!IsHiddenRow(r)) ContractNode(r);
    }
    if (!g->CellBoolean) return;
    g->CellBoolean = false;
    // Rows another contracted node holds stay hidden (all of them for a node hidden inside
    // a contracted one).
    ShowNodeRows(ARow);
}

void TExtStringGrid::ContractNode(int ARow) {
    if (EditorMode()) HideEditor();
    TCellGraphic* g = NodeRecordReal(ARow);
    if (!g || g->CellBoolean) return;
    g->CellBoolean = true;
    const int end = NodeGroupEnd(ARow);
    // Nested contracted nodes open: their rows now count as hidden rows of this span, so
    // expanding this node later shows them all. A node whose span reaches beyond this one
    // stays contracted, so none of its rows is left hidden without a node holding it.
    for (int r = ARow + 1; r <= end; ++r)
        if (TCellGraphic* h = NodeRecordReal(r); h && NodeGroupEnd(r) <= end) h->CellBoolean = false;
    if (end > ARow) HideRows(ARow + 1, end);
}

void TExtStringGrid::ExpandAll() {
    if (FNumNodes == 0) return;
    // Every node opens, so no node may contract another meanwhile.
    const bool one = FCellNode->ExpandOne;
    FCellNode->ExpandOne = false;
    BeginUpdate();
    for (int r : NodeRealRows())
        if (r >= FixedRows()) ExpandNode(r);
    EndUpdate();
    FCellNode->ExpandOne = one;
}

void TExtStringGrid::ContractAll() {
    if (FNumNodes == 0) return;
    ExpandAll();
    std::vector<std::pair<int, int>> runs;
    for (int r : NodeRealRows()) {
        if (r < FixedRows()) continue;
        NodeRecordReal(r)->CellBoolean = true;
        const int end = NodeGroupEnd(r);
        if (end <= r) continue;
        if (!runs.empty() && r + 1 <= runs.back().second + 1)
            runs.back().second = std::max(runs.back().second, end);
        else
            runs.emplace_back(r + 1, end);
    }
    BeginUpdate();
    for (const auto& [from, to] : runs) HideRows(from, to);
    EndUpdate();
}

// ---- plain and child rows ------------------------------------------------------------------------------

void TExtStringGrid::InsertNormalRow(int ARow) { InsertRows(DisplRowIndex(ARow), 1); }

void TExtStringGrid::RemoveNormalRow(int ARow) { RemoveRows(ARow, 1); }

void TExtStringGrid::InsertChildRow(int ARow, int InsertAt) {
    if (ARow < 0 || ARow >= AllRowCount() || IsHiddenRow(ARow)) return;
    const int parent = GetParentRow(DisplRowIndex(ARow));
    std::vector<int> chain;  // real rows: the parent, then its ancestors
    if (parent >= 0) {
        chain.push_back(RealRowIndex(parent));
        for (int q = parent; RealRowLevel(RealRowIndex(q)) > 1;) {
            const int up = GetParentRow(q);
            if (up < 0 || up == q) break;
            chain.push_back(RealRowIndex(up));
            q = up;
        }
    }
    const int level = chain.empty() ? 0 : RealRowLevel(chain.front());
    for (int r : chain) {
        ExpandNode(r);
        TCellGraphic* g = NodeRecordReal(r);
        ++g->CellIndex;
        ++g->CellErrFrom;
    }
    const int d = DisplRowIndex(ARow);
    const bool moveDown = InsertAt == 0 && NodeRecordReal(ARow) != nullptr;
    const int at = moveDown ? d + 1 : std::clamp(d + InsertAt, 0, RowCount());
    FNodeBooksOff = true;
    InsertRows(at, 1);
    FNodeBooksOff = false;
    if (moveDown) {
        // The node row's texts and cell objects go to its new first child; the node record
        // (column 0's object) stays.
        std::vector<std::pair<int, plat::TObject*>> objects;
        std::vector<std::pair<int, String>> texts;
        Store().ForEachInRow(d, [&](int c, StringView text, plat::TObject* obj) {
            if (!text.empty()) texts.emplace_back(c, String(text));
            if (obj && c != 0) objects.emplace_back(c, obj);
        });
        for (const auto& [c, t] : texts) {
            Store().SetCell(c, at, t);
            Store().SetCell(c, d, String());
        }
        for (const auto& [c, o] : objects) {
            Store().SetObject(c, at, o);
            Store().SetObject(c, d, nullptr);
        }
    }
    if (level > 0) SetRealRowLevel(RealRowIndex(at), level);
    CellsChanged(plat::TRect{0, d, ColCount() - 1, at});
}

void TExtStringGrid::RemoveChildRow(int ARow) {
    if (ARow < 0 || ARow >= AllRowCount() || IsHiddenRow(ARow)) return;
    int parent = GetParentRow(DisplRowIndex(ARow));
    if (parent == DisplRowIndex(ARow)) parent = -1;
    std::vector<int> chain;
    if (parent >= 0) {
        chain.push_back(RealRowIndex(parent));
        for (int q = parent; RealRowLevel(RealRowIndex(q)) > 1;) {
            const int up = GetParentRow(q);
            if (up < 0 || up == q) break;
            chain.push_back(RealRowIndex(up));
            q = up;
        }
    }
    for (int r : chain) {
        ExpandNode(r);
        TCellGraphic* g = NodeRecordReal(r);
        if (g->CellIndex > 1) {
            --g->CellIndex;
            g->CellErrFrom = std::max(g->CellErrFrom - 1, 0);
        }
    }
    FNodeBooksOff = true;
    RemoveRowRange(DisplRowIndex(ARow), 1);
    FNodeBooksOff = false;
}

// ---- spans through structural operations ------------------------------------------------------------

void TExtStringGrid::NodesRowsInserting(int RowIndex, int RCount) {
    FInsertLevel = 0;
    if (FNumNodes == 0 || FNodeBooksOff) return;
    FreezeOpenSpans();
    const int at = RowIndex < RowCount() ? RealRowIndex(RowIndex) : AllRowCount();
    for (int n : NodeRealRows()) {
        if (n >= at) break;
        TCellGraphic* g = NodeRecordReal(n);
        if (NodeGroupEnd(n) < at) continue;
        if (g->CellIndex > 0) g->CellIndex += RCount;
        FInsertLevel = std::max(FInsertLevel, RealRowLevel(n));
    }
}

void TExtStringGrid::NodesRowsInserted(int RowIndex, int RCount) {
    if (FInsertLevel <= 0) return;
    for (int r = RowIndex; r < RowIndex + RCount; ++r) GetCellProperties(0, r)->NodeLevel = FInsertLevel;
    FInsertLevel = 0;
}

void TExtStringGrid::NodesRowsRemoving(int RowIndex, int RCount) {
    if (FNumNodes == 0) return;
    FreezeOpenSpans();
    std::vector<int> gone;
    for (int d = RowIndex; d < RowIndex + RCount; ++d) gone.push_back(RealRowIndex(d));
    FRemovedNodeRows.clear();
    for (int n : NodeRealRows()) {
        TCellGraphic* g = NodeRecordReal(n);
        if (g->CellBoolean && std::binary_search(gone.begin(), gone.end(), n)) {
            // The hidden rows of a removed contracted node come back: no node holds them now.
            auto below = [&](int r) { return static_cast<int>(std::lower_bound(gone.begin(), gone.end(), r) - gone.begin()); };
            const int from = n + 1, to = NodeGroupEnd(n);
            if (to >= from) FRemovedNodeRows.emplace_back(from - below(from), to - below(to));
            continue;
        }
        if (FNodeBooksOff) continue;
        if (g->CellIndex <= 0 || std::binary_search(gone.begin(), gone.end(), n)) continue;
        const int end = n + g->CellIndex - 1;
        const auto k = std::upper_bound(gone.begin(), gone.end(), end) - std::upper_bound(gone.begin(), gone.end(), n);
        g->CellIndex -= static_cast<int>(k);
    }
}

void TExtStringGrid::NodesRowsRemoved() {
    const auto opened = std::move(FRemovedNodeRows);
    FRemovedNodeRows.clear();
    for (const auto& [from, to] : opened) ShowSpanRows(from, to);
    if (FNumNodes == 0) return;
    RecountNodes();
    // Spans the child-row books leave alone still end inside the grid.
    const int all = AllRowCount();
    for (int n : NodeRealRows()) {
        TCellGraphic* g = NodeRecordReal(n);
        g->CellIndex = std::min(g->CellIndex, all - n);
    }
}

std::vector<std::pair<int, int>> TExtStringGrid::NodesRowsMoving(int Lo, int Hi) {
    std::vector<std::pair<int, int>> opened;
    if (FNumNodes == 0) return opened;
    FreezeOpenSpans();
    for (int d = std::max(Lo, 0); d <= Hi && d < RowCount(); ++d) {
        const int r = RealRowIndex(d);
        TCellGraphic* g = NodeRecordReal(r);
        if (!g || !g->CellBoolean) continue;
        opened.emplace_back(r + 1, NodeGroupEnd(r));
        g->CellBoolean = false;
    }
    return opened;
}

void TExtStringGrid::NodesRowsMoved(const std::vector<std::pair<int, int>>& Opened) {
    for (const auto& [from, to] : Opened) ShowSpanRows(from, to);
    if (FNumNodes == 0) return;
    const int all = AllRowCount();
    for (int n : NodeRealRows()) {
        TCellGraphic* g = NodeRecordReal(n);
        g->CellIndex = std::min(g->CellIndex, all - n);
    }
}

} // namespace grid
