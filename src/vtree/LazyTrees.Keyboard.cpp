// Keyboard input: the key-action hook, command and navigation keys, the Space check, the
// dialog code, the F1 help chain and the incremental search.
#include <algorithm>

#include "LazyTrees.BaseTree.h"
#include "plat/Forms.h"
#include "plat/SystemInput.h"

namespace vtree {

using plat::TMessage;
using plat::TPoint;
using plat::TRect;
using plat::TShiftState;

namespace {

TCheckState PressedLook(TCheckState S)
{
    switch (S) {
    case csUncheckedNormal: return csUncheckedPressed;
    case csCheckedNormal: return csCheckedPressed;
    case csMixedNormal: return csMixedPressed;
    default: return S;
    }
}

TCheckState UnpressedLook(TCheckState S)
{
    switch (S) {
    case csUncheckedPressed: return csUncheckedNormal;
    case csCheckedPressed: return csCheckedNormal;
    case csMixedPressed: return csMixedNormal;
    default: return S;
    }
}

constexpr plat::LRESULT DlgcWantArrows = 0x01;
constexpr plat::LRESULT DlgcWantTab = 0x02;
constexpr plat::LRESULT DlgcWantChars = 0x80;

} // namespace

void TBaseLazyTree::SetIncrementalSearch(TLTIncrementalSearch Value)
{
    if (Value == FIncrementalSearch) return;
    FIncrementalSearch = Value;
    if (Value == isNone) {
        KillTreeTimer(7);
        FSearchBuffer.clear();
        FLastSearchNode = nullptr;
    }
}

void TBaseLazyTree::StopIncrementalSearch()
{
    DoStateChange(0, TreeBit(tsIncrementalSearching));
    KillTreeTimer(7);
    FSearchBuffer.clear();
    FLastSearchNode = nullptr;
}

bool TBaseLazyTree::DoKeyAction(std::uint16_t& CharCode, TShiftState& Shift)
{
    bool doDefault = true;
    if (OnKeyAction) OnKeyAction(this, CharCode, Shift, doDefault);
    return doDefault;
}

int TBaseLazyTree::DoIncrementalSearch(PLazyNode Node, const String& SearchText)
{
    int result = 0;
    if (OnIncrementalSearch) OnIncrementalSearch(this, Node, SearchText, result);
    return result;
}

int TCustomLazyStringTree::DoIncrementalSearch(PLazyNode Node, const String& SearchText)
{
    if (OnIncrementalSearch) return TBaseLazyTree::DoIncrementalSearch(Node, SearchText);
    const String text = GetText(Node, FocusedColumn());
    return text.compare(0, SearchText.size(), SearchText) == 0 ? 0 : 1;
}

bool TBaseLazyTree::KeyboardMessage(TMessage& Message)
{
    using namespace plat;
    switch (Message.Msg) {
    case WM_SYSKEYDOWN:
        // With Alt held the keyboard sends the system form of the key: Shift+Alt+PageUp and
        // PageDown page the focused column, so they take the normal key path; every other
        // system key stays with the window (menus and accelerators).
        if ((Message.WParam != VK_PRIOR && Message.WParam != VK_NEXT) ||
            (KeyboardStateToShiftState() & (ssShift | ssCtrl)) != ssShift)
            return false;
        [[fallthrough]];
    case WM_KEYDOWN: {
        TCustomControl::WndProc(Message);
        std::uint16_t code = static_cast<std::uint16_t>(Message.WParam);
        if (code == 0) return true;
        TShiftState shift = KeyboardStateToShiftState() & (ssShift | ssAlt | ssCtrl);
        if (!DoKeyAction(code, shift)) return true;
        TreeKeyDown(code, shift);
        return true;
    }
    case WM_CHAR:
        if (HasState(tsIncrementalSearchPending)) {
            ProcessSearchKey(static_cast<char16_t>(Message.WParam));
            DoStateChange(0, TreeBit(tsIncrementalSearchPending));
        }
        TCustomControl::WndProc(Message);
        return true;
    case WM_KEYUP: {
        TCustomControl::WndProc(Message);
        if (Message.WParam == VK_TAB) FocusSomeNode();
        if (Message.WParam == VK_SPACE && HasState(tsKeyCheckPending)) {
            DoStateChange(0, TreeBit(tsKeyCheckPending));
            PLazyNode n = FCheckNode;
            if (n) {
                n->CheckState = UnpressedLook(TCheckState(n->CheckState));
                if (n == FFocusedNode) CheckClick(n, FPendingCheckState);
                InvalidateNode(n);
            }
            FCheckNode = nullptr;
        }
        return true;
    }
    case WM_GETDLGCODE:
        Message.Result = DlgcWantArrows | DlgcWantChars | (FWantTabs ? DlgcWantTab : 0);
        return true;
    case WM_TIMER:
        if (Message.WParam == 7) {
            StopIncrementalSearch();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TBaseLazyTree::TreeKeyDown(std::uint16_t CharCode, TShiftState Shift)
{
    using namespace plat;
    if (HasState(tsKeyCheckPending) && CharCode != VK_SPACE) {
        DoStateChange(0, TreeBit(tsKeyCheckPending));
        if (FCheckNode) {
            FCheckNode->CheckState = UnpressedLook(TCheckState(FCheckNode->CheckState));
            InvalidateNode(FCheckNode);
        }
        FCheckNode = nullptr;
    }
    const bool navigation = CharCode == VK_BACK || CharCode == VK_TAB || CharCode == VK_PRIOR ||
                            CharCode == VK_NEXT || CharCode == VK_END || CharCode == VK_HOME ||
                            CharCode == VK_LEFT || CharCode == VK_UP || CharCode == VK_RIGHT || CharCode == VK_DOWN;
    if (navigation && FRoot->ChildCount > 0) {
        NavigationKey(CharCode, Shift);
        return;
    }
    // The character the key gives with Ctrl released decides for the four signs, so a
    // "+" typed on the main keyboard acts as the keypad's plus.
    switch (KeyCharWithoutCtrl(CharCode)) {
    case u'*': CharCode = VK_MULTIPLY; break;
    case u'+': CharCode = VK_ADD; break;
    case u'-': CharCode = VK_SUBTRACT; break;
    case u'/': CharCode = VK_DIVIDE; break;
    default: break;
    }
    const bool ctrl = (Shift & ssCtrl) != 0;
    const bool searching = HasState(tsIncrementalSearching);
    auto feedSearch = [this] { DoStateChange(TreeBit(tsIncrementalSearchPending)); };
    switch (CharCode) {
    case VK_ESCAPE:
        if (HasState(tsDrawSelPending) || HasState(tsDrawSelecting)) {
            DoStateChange(0, StateSet({tsDrawSelPending, tsDrawSelecting}));
            InvalidateTree();
        } else {
            CancelEditNode();
        }
        return;
    case VK_SPACE:
        if (In(FOptions->MiscOptions(), toCheckSupport) && FFocusedNode && FFocusedNode->CheckType != ctNone) {
            PLazyNode n = FFocusedNode;
            if (HasState(tsKeyCheckPending) || HasState(tsMouseCheckPending) || n->Has(vsDisabled)) return;
            TCheckState newState = NextCheckStateFor(TCheckType(n->CheckType), TCheckState(n->CheckState));
            if (DoChecking(n, newState)) {
                DoStateChange(TreeBit(tsKeyCheckPending));
                FCheckNode = n;
                FPendingCheckState = newState;
                n->CheckState = PressedLook(TCheckState(n->CheckState));
                InvalidateNode(n);
            }
            return;
        }
        feedSearch();
        return;
    case 'A':
        if (ctrl) SelectAll(true);
        else feedSearch();
        return;
    case VK_APPS:
        if (FFocusedNode) {
            const TRect r = GetDisplayRect(FFocusedNode, FFocusedColumn, true);
            const int w = std::min(DoGetNodeWidth(FFocusedNode, FFocusedColumn, nullptr), ClientWidth());
            ShowNodePopupMenu(FFocusedNode, FFocusedColumn, {r.Left + w / 2, (r.Top + r.Bottom) / 2});
        } else {
            ShowNodePopupMenu(nullptr, FFocusedColumn, {-1, -1});
        }
        return;
    case VK_MULTIPLY:
        if (searching) feedSearch();
        else if (FFocusedNode) FullExpand(FFocusedNode);
        return;
    case VK_ADD:
        if (searching) feedSearch();
        else if (ctrl) {
            // Without Shift (or with it, reversed by the option) the whole tree expands; the
            // other way fits the header's columns to their content.
            if (In(FOptions->MiscOptions(), toReverseFullExpandHotKey) != ((Shift & ssShift) != 0)) FullExpand(nullptr);
            else FHeader->AutoFitColumns(true, smaUseColumnOption);
        } else if (FFocusedNode && !FFocusedNode->Has(vsExpanded)) {
            ToggleNode(FFocusedNode);
        }
        return;
    case VK_SUBTRACT:
        if (searching) feedSearch();
        else if (ctrl) {
            if (In(FOptions->MiscOptions(), toReverseFullExpandHotKey) != ((Shift & ssShift) != 0)) FullCollapse(nullptr);
            else FHeader->RestoreColumns();
        } else if (FFocusedNode && FFocusedNode->Has(vsExpanded)) {
            ToggleNode(FFocusedNode);
        }
        return;
    case VK_DIVIDE:
        if (searching) feedSearch();
        else if (FFocusedNode) FullCollapse(FFocusedNode);
        return;
    case VK_F1: {
        if (!OnGetHelpContext) return;
        int context = 0;
        const TColumnIndex column = FFocusedColumn < 0 ? 0 : FFocusedColumn;
        for (PLazyNode n = FFocusedNode; n && n != FRoot && context == 0; n = n->Parent)
            OnGetHelpContext(this, n, column, context);
        // Then the tree's own context (the layer's other controls carry none).
        if (context == 0) context = FHelpContext;
        if (context != 0) ApplicationHelpContext(context);
        return;
    }
    case VK_F2:
        if (Shift == 0 && FFocusedNode && CanEdit(FFocusedNode, FFocusedColumn)) {
            FEditColumn = FFocusedColumn;
            StartEditing();
        }
        return;
    default: {
        const bool alt = (Shift & ssAlt) != 0;
        if (alt != ctrl || CharCode < 32) return;
        feedSearch();
        return;
    }
    }
}

void TBaseLazyTree::NavigationKey(std::uint16_t CharCode, TShiftState Shift)
{
    using namespace plat;
    const TLTSelectionOptions so = FOptions->SelectionOptions();
    const bool multi = In(so, toMultiSelect);
    const bool anyModifier = (Shift & (ssShift | ssCtrl | ssAlt)) != 0;
    const bool shift = (Shift & ssShift) != 0, ctrl = (Shift & ssCtrl) != 0, alt = (Shift & ssAlt) != 0;
    const bool extendShift = shift && multi && !HasState(tsEditing);
    bool rangeKey = extendShift && (CharCode == VK_PRIOR || CharCode == VK_NEXT || CharCode == VK_END || CharCode == VK_HOME);
    const bool needRepaint = rangeKey || FSelectionCount > 1;
    const bool clearFirst = !(anyModifier && (shift || !In(FOptions->MiscOptions(), toGridExtensions)) && multi &&
                              CharCode != VK_BACK && CharCode != VK_TAB);
    PLazyNode lastFocused = FFocusedNode;
    if (!lastFocused && anyModifier) lastFocused = GetFirstVisible(nullptr, true);
    if (!FRangeAnchor) {
        FRangeAnchor = GetFirstSelected();
        if (!FRangeAnchor) FRangeAnchor = GetFirst();
    }
    const int dir = FBiDiMode != bdLeftToRight ? -1 : 1;
    const PLazyNode before = FFocusedNode;
    const int ch = ClientHeight();
    auto offsetX = [this](int V) { DoSetOffsetXY({V, FOffsetY}); };
    auto offsetY = [this](int V) { DoSetOffsetXY({FOffsetX, V}); };

    switch (CharCode) {
    case VK_BACK:
        if (HasState(tsIncrementalSearching)) DoStateChange(TreeBit(tsIncrementalSearchPending));
        else if (FFocusedNode && FFocusedNode->Parent != FRoot) SetFocusedNode(FFocusedNode->Parent);
        break;
    case VK_TAB:
        if (In(so, toExtendedFocus) && FHeader->UseColumns() && FFocusedNode) TabToColumn((Shift & ssShift) == 0);
        break;
    case VK_PRIOR:
    case VK_NEXT: {
        const bool up = CharCode == VK_PRIOR;
        if (ctrl && shift) offsetX(FOffsetX + (up ? ClientWidth() : -ClientWidth()));
        else if (shift && alt) {
            PageColumns(!up);
        } else if (ctrl) {
            offsetY(FOffsetY + (up ? ch : -ch));
        } else if (up) {
            PLazyNode n = FFocusedNode;
            if (!n) n = GetFirstVisible(nullptr, true);
            else {
                int total = 0;
                for (PLazyNode p = GetPreviousVisible(n, true); p && total + int(n->NodeHeight) < ch;
                     p = GetPreviousVisible(p, true)) {
                    total += static_cast<int>(n->NodeHeight);
                    n = p;
                }
            }
            if (n) SetFocusedNode(n);
        } else {
            PLazyNode n = FFocusedNode;
            if (!n) n = GetLastVisible(nullptr, true);
            else {
                int total = static_cast<int>(n->NodeHeight);
                for (PLazyNode p = GetNextVisible(n, true); p && total < ch; p = GetNextVisible(p, true)) {
                    n = p;
                    total += static_cast<int>(n->NodeHeight);
                }
            }
            if (n) SetFocusedNode(n);
        }
        break;
    }
    case VK_HOME:
    case VK_END: {
        bool home = CharCode == VK_HOME;
        if (dir < 0) home = !home;
        PLazyNode target = home ? GetFirstVisible(nullptr, true) : GetLastVisible(nullptr, true);
        const bool gridExt = In(FOptions->MiscOptions(), toGridExtensions);
        TColumnIndex targetColumn = NoColumn;
        if (FHeader->UseColumns()) {
            // The first (last) focusable visible column that the focus may move to.
            TLazyTreeColumns& cols = FHeader->Columns();
            targetColumn = home ? cols.GetFirstVisibleColumn(true) : cols.GetLastVisibleColumn(true);
            while (targetColumn >= 0 && !DoFocusChanging(FFocusedNode, target, FFocusedColumn, targetColumn))
                targetColumn = home ? cols.GetNextVisibleColumn(targetColumn, true)
                                    : cols.GetPreviousVisibleColumn(targetColumn, true);
            if (targetColumn < 0) targetColumn = InvalidColumn;
            if (targetColumn == InvalidColumn) break;
        }
        if (!gridExt && (Shift & (ssShift | ssCtrl | ssAlt)) == ssCtrl) {
            ScrollIntoView(target, In(so, toCenterScrollIntoView),
                           !In(FOptions->AutoOptions(), toDisableAutoscrollOnFocus));
            offsetX(CharCode == VK_HOME && dir > 0 ? 0 : -2147483647);
        } else {
            if ((!gridExt || ctrl) && target) SetFocusedNode(target);
            if (gridExt && !In(so, toFullRowSelect) && targetColumn >= 0) SetFocusedColumn(targetColumn);
        }
        break;
    }
    case VK_LEFT:
    case VK_RIGHT: {
        const bool left = CharCode == VK_LEFT;
        if (ctrl) {
            offsetX(FOffsetX + (left ? dir : -dir) * ScrollWidth());
            break;
        }
        if (In(so, toExtendedFocus) && In(FOptions->MiscOptions(), toGridExtensions)) {
            // Left and right move the focused column (mirrored in right-to-left alignment).
            TLazyTreeColumns& cols = FHeader->Columns();
            const bool previous = (left ? dir : -dir) > 0;
            const TColumnIndex c = previous ? cols.GetPreviousVisibleColumn(FFocusedColumn, true)
                                            : cols.GetNextVisibleColumn(FFocusedColumn, true);
            if (c >= 0) SetFocusedColumn(c);
            break;
        }
        if (!FFocusedNode) {
            if (PLazyNode first = GetFirstVisible(nullptr, true)) SetFocusedNode(first);
            break;
        }
        PLazyNode n = FFocusedNode;
        if (left) {
            if (n->Has(vsExpanded) && n->Has(vsHasChildren) && !anyModifier) ToggleNode(n);
            else if (n->Parent != FRoot) {
                if (extendShift) {
                    if (n != GetFirstChildNoInit(n->Parent)) rangeKey = true;
                    else if (FRangeAnchor && CompareNodeOrder(n->Parent, FRangeAnchor) > 0) RemoveFromSelection(n);
                }
                SetFocusedNode(n->Parent);
            }
        } else {
            if (!n->Has(vsExpanded) && n->Has(vsHasChildren) && !anyModifier) ToggleNode(n);
            else if (PLazyNode child = GetFirstVisibleChild(n)) {
                if (extendShift && FRangeAnchor && CompareNodeOrder(child, FRangeAnchor) < 0) RemoveFromSelection(n);
                SetFocusedNode(child);
            }
        }
        break;
    }
    case VK_UP:
    case VK_DOWN: {
        const bool upKey = CharCode == VK_UP;
        if (ctrl) {
            offsetY(FOffsetY + (upKey ? 1 : -1) * static_cast<int>(FDefaultNodeHeight));
            break;
        }
        PLazyNode target;
        if (upKey) target = FFocusedNode ? GetPreviousVisible(FFocusedNode, true) : GetLastVisible(nullptr, true);
        else target = FFocusedNode ? GetNextVisible(FFocusedNode, true) : GetFirstVisible(nullptr, true);
        if (!target) {
            if (FFocusedNode) InvalidateNode(FFocusedNode);
            break;
        }
        if (HasState(tsEditing) || HasState(tsEditPending)) {
            // An edit that only waits for its timer is dropped and the focus stays.
            const bool onlyPending = !HasState(tsEditing);
            CancelEditNode();
            if (onlyPending || HasState(tsEditing)) break;
        }
        if (FFocusedNode) {
            bool keep = false;
            if (extendShift && lastFocused && FRangeAnchor) {
                const int order = CompareNodeOrder(lastFocused, FRangeAnchor);
                keep = upKey ? order <= 0 : order >= 0;
            }
            if (!keep) RemoveFromSelection(FFocusedNode);
        }
        if (FFocusedColumn < 0) FFocusedColumn = FHeader->MainColumn;
        SetFocusedNode(target);
        break;
    }
    default: break;
    }

    bool cleared = false;
    if (clearFirst && (FFocusedNode != before || FSelectionCount != 1)) {
        ClearSelection();
        cleared = true;
    }
    if (!anyModifier && FFocusedNode) {
        FRangeAnchor = FFocusedNode;
        FLastSelectionLevel = static_cast<int>(GetNodeLevel(FFocusedNode));
    }
    if (FFocusedNode) {
        if (rangeKey) ExtendRangeSelection(lastFocused, FFocusedNode);
        if (FFocusedNode != before || cleared) AddToSelection(FFocusedNode);
    }
    if (needRepaint) InvalidateTree();
}

void TBaseLazyTree::ProcessSearchKey(char16_t CharCode)
{
    KillTreeTimer(7);
    if (FIncrementalSearch == isNone) return;
    if (CharCode != 0) {
        DoStateChange(TreeBit(tsIncrementalSearching));
        const bool isBack = CharCode == 8;
        if (!(isBack && FSearchBuffer.empty())) {
            PLazyNode startNode = nullptr;
            switch (FSearchStart) {
            case ssAlwaysStartOver: break;
            case ssLastHit: startNode = FLastSearchNode; break;
            case ssFocusedNode: startNode = FFocusedNode; break;
            }
            if (startNode && FIncrementalSearch == isInitializedOnly && !startNode->Has(vsInitialized)) startNode = nullptr;
            if (startNode && FIncrementalSearch == isVisibleOnly &&
                (!GetFullyVisible(startNode) || GetEffectivelyFiltered(startNode)))
                startNode = nullptr;
            TLTSearchDirection direction = FSearchDirection;
            if (isBack) direction = direction == sdForward ? sdBackward : sdForward;
            const bool forward = direction == sdForward;
            bool sameChar = !isBack && FSearchBuffer.size() == 1 && FSearchBuffer[0] == CharCode;
            if (sameChar && startNode && DoIncrementalSearch(startNode, FSearchBuffer + CharCode) == 0) sameChar = false;

            auto step = [&](PLazyNode N) -> PLazyNode {
                switch (FIncrementalSearch) {
                case isInitializedOnly: return forward ? GetNextInitialized(N) : GetPreviousInitialized(N);
                case isVisibleOnly: return forward ? GetNextVisible(N, true) : GetPreviousVisible(N, true);
                default: return forward ? GetNext(N) : GetPrevious(N);
                }
            };
            auto endNode = [&]() -> PLazyNode {
                switch (FIncrementalSearch) {
                case isInitializedOnly: return forward ? GetFirstInitialized() : GetLastInitialized();
                case isVisibleOnly: return forward ? GetFirstVisible(nullptr, true) : GetLastVisible(nullptr, true);
                default: return forward ? GetFirst() : GetLast();
                }
            };
            PLazyNode node = startNode;
            if (FSearchBuffer.empty() || !startNode || sameChar || isBack) {
                node = node ? step(node) : nullptr;
                if (!node) node = endNode();
            }
            String searchText;
            if (sameChar) searchText = FSearchBuffer;
            else if (isBack) {
                FSearchBuffer.pop_back();
                searchText = FSearchBuffer;
            } else {
                searchText = FSearchBuffer + CharCode;
            }
            PLazyNode found = nullptr;
            bool cameBack = false;
            while (node) {
                if (DoIncrementalSearch(node, searchText) == 0) {
                    found = node;
                    break;
                }
                PLazyNode next = step(node);
                if (!next) {
                    if (!startNode) break;
                    next = endNode();
                }
                if (next == startNode) {
                    cameBack = true;
                    node = next;
                    break;
                }
                node = next;
            }
            if (!found && cameBack && node && DoIncrementalSearch(node, searchText) == 0) found = node;
            if (found) {
                ClearSelection();
                FSearchBuffer = searchText;
                FLastSearchNode = found;
                SetFocusedNode(found);
                SetSelected(found, true);
            } else if (cameBack && node) {
                plat::MessageBeep(0);
            }
        }
    }
    if (HandleAllocated()) plat::SetTimer(Handle(), 7, FSearchTimeout);
}

// ---- column focus moves ------------------------------------------------------------------------

void TBaseLazyTree::TabToColumn(bool Forward)
{
    TLazyTreeColumns& cols = FHeader->Columns();
    PLazyNode node = FFocusedNode;
    TColumnIndex c = Forward ? cols.GetNextVisibleColumn(FFocusedColumn, true)
                             : cols.GetPreviousVisibleColumn(FFocusedColumn, true);
    while (node) {
        for (; c >= 0; c = Forward ? cols.GetNextVisibleColumn(c, true) : cols.GetPreviousVisibleColumn(c, true))
            if (DoFocusChanging(FFocusedNode, node, FFocusedColumn, c)) {
                SetFocusedNodeAndColumn(node, c);
                return;
            }
        // The row has no more columns: the next (previous) row from its first (last) column.
        node = Forward ? GetNextVisible(node, true) : GetPreviousVisible(node, true);
        c = Forward ? cols.GetFirstVisibleColumn(true) : cols.GetLastVisibleColumn(true);
    }
}

void TBaseLazyTree::PageColumns(bool Right)
{
    if (!FHeader->UseColumns()) return;
    TLazyTreeColumns& cols = FHeader->Columns();
    if (!cols.IsValidColumn(FFocusedColumn)) {
        const TColumnIndex first = cols.GetFirstVisibleColumn();
        if (first >= 0) SetFocusedColumn(first);
        return;
    }
    // Walk while the fixed area and the columns passed still fit into the client width.
    int total = cols.GetVisibleFixedWidth();
    TColumnIndex c = FFocusedColumn;
    for (;;) {
        const TColumnIndex n = Right ? cols.GetNextVisibleColumn(c) : cols.GetPreviousVisibleColumn(c);
        if (n < 0 || In(cols[n]->Options(), coFixed) || total + cols[n]->Width() >= ClientWidth()) break;
        total += cols[n]->Width();
        c = n;
    }
    if (c != FFocusedColumn) SetFocusedColumn(c);
}

} // namespace vtree
