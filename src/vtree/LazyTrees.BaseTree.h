#pragma once
// TBaseLazyTree: the tree control's node store and its data rules, without painting.
// - Nodes are raw blocks (LazyTrees.Nodes.h) under a hidden root the tree owns; they are
//   created by count and initialised only when something needs them (OnInitNode,
//   OnInitChildren). Every navigation has an initialising and a NoInit kind.
// - Each node carries its subtree's TotalCount and TotalHeight; the tree keeps the number of
//   effectively visible nodes. Every mutation updates them along the parent chain, so they
//   always equal a recount (tests/vtree/TreeInvariants.h checks it).
// - Heights are 0..65535 pixels; larger values are clamped before they reach the totals.
// - The position cache (entry per 2000 visible nodes) is built by one worker thread shared by
//   all trees; the GUI thread stops a running build before it changes anything the worker
//   walks, and node initialisation and measuring always run on the GUI thread.
// - Programming errors fail with EAssertionFailed and a fixed text; errors that data or
//   callers cause raise ELazyTreeError with its number (2001..2007).
// - toReadOnly turns structural and check-state changes into silent no-ops.
#include <atomic>
#include <exception>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "LazyTrees.Colors.h"
#include "LazyTrees.EditLink.h"
#include "LazyTrees.Header.h"
#include "LazyTrees.Nodes.h"
#include "LazyTrees.Options.h"
#include "LazyTrees.PaintTypes.h"
#include "LazyTrees.PositionCache.h"
#include "LazyTrees.TreeClass.h"
#include "plat/Accessibility.h"
#include "plat/Controls.h"
#include "plat/DragDrop.h"
#include "plat/ExtCtrls.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"

namespace plat {
class TStream;
class TCanvas;
class TPrinter;
} // namespace plat

namespace vtree {

class TLTDataObject;
class TClipboardFormats;

using plat::String;

enum TLazyTreeState : unsigned {
    tsCancelHintAnimation, tsChangePending, tsCheckPropagation, tsCollapsing,
    tsToggleFocusedSelection, tsClearPending, tsClipboardFlushing, tsCopyPending, tsCutPending,
    tsDrawSelPending, tsDrawSelecting, tsEditing, tsEditPending, tsExpanding,
    tsNodeHeightTracking, tsNodeHeightTrackPending, tsHint, tsInAnimation, tsIncrementalSearching,
    tsIncrementalSearchPending, tsIterating, tsKeyCheckPending, tsLeftButtonDown, tsLeftDblClick,
    tsMouseCheckPending, tsMiddleButtonDown, tsMiddleDblClick, tsNeedRootCountUpdate,
    tsOLEDragging, tsOLEDragPending, tsPainting, tsRightButtonDown, tsRightDblClick,
    tsPopupMenuShown, tsScrolling, tsScrollPending, tsSizing, tsStopValidation,
    tsStructureChangePending, tsSynchMode, tsThumbTracking, tsToggling,
    tsUpdateHiddenChildrenNeeded, tsUpdating, tsUseCache, tsUserDragObject, tsUseThemes,
    tsValidating, tsPreviouslySelectedLocked, tsValidationNeeded, tsVCLDragging,
    tsVCLDragPending, tsVCLDragFinished, tsWheelPanning, tsWheelScrolling, tsWindowCreating,
    tsUseExplorerTheme
};
using TLazyTreeStates = std::uint64_t;
constexpr TLazyTreeStates TreeBit(TLazyTreeState S) { return TLazyTreeStates(1) << S; }
inline TLazyTreeStates StateSet(std::initializer_list<TLazyTreeState> L)
{
    TLazyTreeStates s = 0;
    for (auto e : L) s |= TreeBit(e);
    return s;
}

enum TLTNodeAttachMode { amNoWhere, amInsertBefore, amInsertAfter, amAddChildFirst, amAddChildLast };
enum TChangeReason { crIgnore, crAccumulated, crChildAdded, crChildDeleted, crNodeAdded, crNodeCopied, crNodeMoved };
enum TLTUpdateState { usBegin, usBeginSynch, usSynch, usUpdate, usEnd, usEndSynch };
enum TLTOperationKind { okAutoFitColumns, okGetMaxColumnWidth, okSortNode, okSortTree, okExport, okExpand };
enum TDropMode { dmNowhere, dmAbove, dmOnNode, dmBelow };
// Drag and drop: the mechanism a tree's drags use, the effects it offers as a source (the
// exchange's effect bits: copy 1, move 2, link 4), and what its drag image shows.
enum TLTDragType { dtOLE, dtVCL };
enum TDragOperation : unsigned { doCopy = 1, doMove = 2, doLink = 4 };
using TDragOperations = unsigned;
enum TLTDragImageKind { diComplete, diMainColumnOnly, diNoImage };
class ILTDragManager;
class TLTDragImage;
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TLTHintKind { vhkText, vhkOwnerDraw };
// Hints: what the tree shows when the mouse rests over it.
// hmDefault the control's Hint; hmHint a per-node hint; hmHintAndDefault per-node hints over
// nodes and the control's Hint elsewhere; hmTooltip the full text of a clipped node text.
enum TLTHintMode { hmDefault, hmHint, hmHintAndDefault, hmTooltip };
enum THintAnimationType { hatNone, hatFade, hatSlide, hatSystemDefault };
enum TLTTooltipLineBreakStyle { hlbDefault, hlbForceSingleLine, hlbForceMultiLine };
class TBaseLazyTree;
// What the tree hands its hint window for one hint.
struct TLTHintData {
    TBaseLazyTree* Tree = nullptr;
    PLazyNode Node = nullptr;
    TColumnIndex Column = NoColumn;
    plat::TRect HintRect{};   // the owner-drawn hint's size (OnGetHintSize); empty otherwise
    String DefaultHint;       // a fixed text that bypasses the node events
    String HintText;
    TBiDiMode BidiMode = bdLeftToRight;
    TAlignment Alignment = taLeftJustify;
    TLTTooltipLineBreakStyle LineBreakStyle = hlbDefault;
};
enum TCheckImageKind { ckLightCheck, ckDarkCheck, ckLightTick, ckDarkTick, ckFlat, ckXP, ckCustom, ckSystemFlat, ckSystemDefault };

// How a tree of TreeWidth x TreeHeight screen pixels is cut into printed pages: each page
// shows PageWidth x PageHeight of them (at least 1 x 1); Columns x Rows pages cover the tree
// exactly (at least one page).
struct TLTPrintLayout {
    int PageWidth = 1;
    int PageHeight = 1;
    int Columns = 1;
    int Rows = 1;
};
TLTPrintLayout ComputePrintLayout(int TreeWidth, int TreeHeight, int PrinterPageWidth, int PrinterPageHeight,
                                  double Scale);

// Moves the canvas's window origin so that logical (X, Y) lands on device (0, 0).
void SetCanvasOrigin(plat::TCanvas* Canvas, int X, int Y);

// The private message the worker uses to change cache states on the GUI thread.
constexpr plat::UINT WM_CHANGESTATE = 0x8020;
// Navigation message of the common tree view.
constexpr plat::UINT TVM_GETNEXTITEM = 0x110A;
constexpr plat::UINT TVM_GETITEMRECT = 0x1104;
// The tree-view item request that tools reading items ask (record and flags as defined there).
constexpr plat::UINT TVM_GETITEMW = 0x113E;
constexpr plat::UINT TVIF_TEXT = 0x0001, TVIF_IMAGE = 0x0002, TVIF_STATE = 0x0008, TVIF_HANDLE = 0x0010,
                     TVIF_SELECTEDIMAGE = 0x0020, TVIF_CHILDREN = 0x0040;
constexpr plat::UINT TVIS_FOCUSED = 0x0001, TVIS_SELECTED = 0x0002, TVIS_CUT = 0x0004, TVIS_DROPHILITED = 0x0008,
                     TVIS_EXPANDED = 0x0020;
struct TVITEMW {
    plat::UINT mask = 0;
    void* hItem = nullptr;
    plat::UINT state = 0;
    plat::UINT stateMask = 0;
    char16_t* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;
    plat::LPARAM lParam = 0;
};

// ---- input: hit positions and hit information ----
enum THitPosition : unsigned {
    hiAbove, hiBelow, hiNowhere, hiOnItem, hiOnItemButton, hiOnItemButtonExact, hiOnItemCheckbox,
    hiOnItemIndent, hiOnItemLabel, hiOnItemLeft, hiOnItemRight, hiOnNormalIcon, hiOnStateIcon,
    hiToLeft, hiToRight, hiUpperSplitter, hiLowerSplitter
};
using THitPositions = std::uint32_t;
enum TLTDragMode { dmManual, dmAutomatic };
enum TLTIncrementalSearch { isAll, isNone, isInitializedOnly, isVisibleOnly };
enum TLTSearchDirection { sdForward, sdBackward };
enum TLTSearchStart { ssAlwaysStartOver, ssLastHit, ssFocusedNode };
constexpr THitPositions HitBit(THitPosition P) { return THitPositions(1) << P; }
struct THitInfo {
    PLazyNode HitNode = nullptr;
    THitPositions HitPositions = 0;
    TColumnIndex HitColumn = NoColumn;
    plat::TPoint HitPoint{};
    bool Has(THitPosition P) const { return (HitPositions & HitBit(P)) != 0; }
};

class TBaseLazyTree;
class TWorkerThread;
struct TLTPaintPass;

// Range-for over a tree's nodes: for (PLazyNode n : Tree.Nodes()).
enum TLTLazyNodeEnumerationMode {
    vneAll, vneChecked, vneChild, vneCutCopy, vneInitialized, vneLeaf, vneLevel, vneNoInit,
    vneSelected, vneVisible, vneVisibleChild, vneVisibleNoInitChild, vneVisibleNoInit
};
struct TLTLazyNodeEnumeration;
struct TLTLazyNodeEnumerator {
    PLazyNode FNode = nullptr;
    bool FCanModeNext = true;
    const TLTLazyNodeEnumeration* FEnumeration = nullptr;
    bool MoveNext();
    PLazyNode Current() const { return FNode; }
    // Range-for adapter.
    PLazyNode operator*() const { return FNode; }
    TLTLazyNodeEnumerator& operator++() { MoveNext(); return *this; }
    bool operator!=(std::nullptr_t) const { return FNode != nullptr; }
};
struct TLTLazyNodeEnumeration {
    TLTLazyNodeEnumerationMode FMode = vneAll;
    TBaseLazyTree* FTree = nullptr;
    bool FConsiderChildrenAbove = false;
    PLazyNode FNode = nullptr;
    unsigned FNodeLevel = 0;
    TCheckState FState = csCheckedNormal;
    bool FIncludeFiltered = false;
    TLTLazyNodeEnumerator GetEnumerator() const { return {nullptr, true, this}; }
    TLTLazyNodeEnumerator begin() const
    {
        TLTLazyNodeEnumerator e = GetEnumerator();
        e.MoveNext();
        return e;
    }
    std::nullptr_t end() const { return nullptr; }
};

class TBaseLazyTree : public plat::TCustomControl {
public:
    explicit TBaseLazyTree(plat::TComponent* AOwner);
    ~TBaseLazyTree() override;
    String ClassName() const override { return u"TBaseLazyTree"; }
    virtual TLazyTreeClass ClassType() const;

    // ---- events (fired by the Do dispatchers, only when assigned) ----
    std::function<void(TBaseLazyTree*, PLazyNode Parent, PLazyNode Node, TLazyNodeInitStates&)> OnInitNode;
    std::function<void(TBaseLazyTree*, PLazyNode, std::uint32_t& ChildCount)> OnInitChildren;
    std::function<void(TBaseLazyTree*, PLazyNode)> OnFreeNode;
    std::function<void(TBaseLazyTree*, PLazyNode)> OnResetNode;
    std::function<void(TBaseLazyTree*, PLazyNode, TChangeReason)> OnStructureChange;
    std::function<void(TBaseLazyTree*, PLazyNode)> OnChange;
    std::function<void(TBaseLazyTree*, TLTUpdateState)> OnUpdating;
    std::function<void(TBaseLazyTree*, TLTOperationKind)> OnStartOperation;
    std::function<void(TBaseLazyTree*, TLTOperationKind)> OnEndOperation;
    std::function<void(TBaseLazyTree*, PLazyNode, plat::TStream&)> OnLoadNode;
    std::function<void(TBaseLazyTree*, PLazyNode, plat::TStream&)> OnSaveNode;
    std::function<void(TBaseLazyTree*, plat::TStream&)> OnLoadTree;
    std::function<void(TBaseLazyTree*, plat::TStream&)> OnSaveTree;
    std::function<void(TBaseLazyTree*, int& NodeDataSize)> OnGetNodeDataSize;
    std::function<void(TBaseLazyTree*, PLazyNode, bool& Allowed)> OnExpanding;
    std::function<void(TBaseLazyTree*, PLazyNode, bool& Allowed)> OnCollapsing;
    std::function<void(TBaseLazyTree*, PLazyNode)> OnExpanded;
    std::function<void(TBaseLazyTree*, PLazyNode)> OnCollapsed;
    std::function<void(TBaseLazyTree*, plat::TCanvas*, PLazyNode, int& NodeHeight)> OnMeasureItem;
    std::function<void(TBaseLazyTree*, TLazyTreeStates Enter, TLazyTreeStates Leave)> OnStateChange;
    std::function<void(TBaseLazyTree*, PLazyNode, TCheckState& NewState, bool& Allowed)> OnChecking;
    std::function<void(TBaseLazyTree*, PLazyNode)> OnChecked;
    std::function<void(TBaseLazyTree*, PLazyNode, PLazyNode, TColumnIndex, int& Result)> OnCompareNodes;
    std::function<void(TBaseLazyTree*, PLazyNode, PLazyNode Target, bool& Allowed)> OnNodeMoving;
    std::function<void(TBaseLazyTree*, PLazyNode, PLazyNode Target, bool& Allowed)> OnNodeCopying;
    std::function<void(TBaseLazyTree*, PLazyNode)> OnNodeMoved;
    std::function<void(TBaseLazyTree*, PLazyNode)> OnNodeCopied;
    std::function<void(TBaseLazyTree*, PLazyNode)> OnAddToSelection;
    std::function<void(TBaseLazyTree*, PLazyNode)> OnRemoveFromSelection;
    std::function<void(TBaseLazyTree*, PLazyNode, TColumnIndex)> OnFocusChanged;
    // Painting.
    std::function<void(TBaseLazyTree*, plat::TCanvas*)> OnBeforePaint;
    std::function<void(TBaseLazyTree*, plat::TCanvas*)> OnAfterPaint;
    std::function<void(TBaseLazyTree*, plat::TCanvas*, PLazyNode, const plat::TRect&, bool& CustomDraw)> OnBeforeItemPaint;
    std::function<void(TBaseLazyTree*, plat::TCanvas*, PLazyNode, const plat::TRect&)> OnAfterItemPaint;
    std::function<void(TBaseLazyTree*, plat::TCanvas*, PLazyNode, const plat::TRect&, plat::TColor& ItemColor,
                       TItemEraseAction& EraseAction)> OnBeforeItemErase;
    std::function<void(TBaseLazyTree*, plat::TCanvas*, PLazyNode, const plat::TRect&)> OnAfterItemErase;
    std::function<void(TBaseLazyTree*, plat::TCanvas*, PLazyNode, TColumnIndex, TLTCellPaintMode,
                       const plat::TRect& CellRect, plat::TRect& ContentRect)> OnBeforeCellPaint;
    std::function<void(TBaseLazyTree*, plat::TCanvas*, PLazyNode, TColumnIndex, const plat::TRect&)> OnAfterCellPaint;
    std::function<void(TBaseLazyTree*, plat::TCanvas*, const plat::TRect&, bool& Handled)> OnPaintBackground;
    std::function<void(TBaseLazyTree*, PLazyNode, int Level, int& PosX)> OnBeforeDrawTreeLine;
    // Eight rows of the custom line pattern; the low byte of each holds its 8 pixels.
    std::function<void(TBaseLazyTree*, std::array<std::uint16_t, 8>& Bits)> OnGetLineStyle;
    std::function<void(TBaseLazyTree*, PLazyNode, TLTImageKind, TColumnIndex, bool& Ghosted, int& ImageIndex)> OnGetImageIndex;
    std::function<void(TBaseLazyTree*, PLazyNode, TLTImageKind, TColumnIndex, bool& Ghosted, int& ImageIndex,
                       plat::TCustomImageList*& ImageList)> OnGetImageIndexEx;
    std::function<void(TBaseLazyTree*, plat::TBitmap* PlusBM, plat::TBitmap* PlusHotBM, plat::TBitmap* PlusSelectedHotBM,
                       plat::TBitmap* MinusBM, plat::TBitmap* MinusHotBM, plat::TBitmap* MinusSelectedHotBM,
                       plat::TSize& Size)> OnPrepareButtonBitmaps;

    // ---- node record and tree object ----
    PLazyNode RootNode() const { return FRoot; }
    std::uint32_t UpdateCount() const { return FUpdateCount; }
    std::uint32_t VisibleCount() const { return FVisibleCount; }
    int SelectedCount() const { return FSelectionCount; }
    std::uint32_t OperationCount() const { return FOperationCount; }
    TLazyTreeStates TreeStates() const { return FStates.load(std::memory_order_acquire); }
    bool HasState(TLazyTreeState S) const { return (TreeStates() & TreeBit(S)) != 0; }
    void SetTreeStates(TLazyTreeStates Value);
    virtual void DoStateChange(TLazyTreeStates Enter, TLazyTreeStates Leave = 0);

    int NodeDataSize() const { return FNodeDataSize; }
    void SetNodeDataSize(int Value);
    std::uint8_t* GetNodeData(PLazyNode Node);
    void SetNodeData(PLazyNode Node, const void* UserData);
    virtual std::uint32_t ReserveInternalNodeArea(std::uint32_t Size);
    bool IsEmpty() const { return FRoot->ChildCount == 0; }
    std::uint32_t RootNodeCount() const { return FRoot->ChildCount; }
    void SetRootNodeCount(std::uint32_t Value);
    TCustomLazyTreeOptions& TreeOptions() const { return *FOptions; }
    void SetTreeOptions(const TCustomLazyTreeOptions& Value) { FOptions->Assign(&Value); }
    TScrollBarOptions& ScrollBarOptions() const { return *FScrollBarOptions; }
    TLTHeader& Header() const { return *FHeader; }
    void Assign(const plat::TPersistent* Source) override;
    std::uint32_t ChangeDelay() const { return FChangeDelay; }
    void SetChangeDelay(std::uint32_t Value) { FChangeDelay = Value; }
    std::uint32_t AnimationDuration() const { return FAnimationDuration; }
    void SetAnimationDuration(std::uint32_t Value);
    std::uint32_t Indent() const { return FIndent; }
    void SetIndent(std::uint32_t Value);
    TCheckImageKind CheckImageKind() const { return FCheckImageKind; }
    void SetCheckImageKind(TCheckImageKind Value);

    // ---- painting ----
    // Paints Window (tree coordinates) of the tree onto TargetCanvas with its top-left corner
    // at Target. A pass started while one runs does nothing.
    virtual void PaintTree(plat::TCanvas* TargetCanvas, const plat::TRect& Window, plat::TPoint Target,
                           TLTInternalPaintOptions PaintOptions, plat::TPixelFormat PixelFormat = plat::pfDevice);
    // Prints the whole tree on the printer's pages; nothing without a printer.
    void Print(plat::TPrinter* Printer, bool PrintHeader);
    bool IsMouseSelecting() const;
    // The tree's whole extent: at least the client width, the height of all visible rows.
    plat::TRect GetTreeRect() const;
    TLTColors& Colors() const { return *FColors; }
    void SetColors(const TLTColors& Value) { FColors->Assign(&Value); }
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int TextMargin() const { return FTextMargin; }
    void SetTextMargin(int Value);
    TLTLineStyle LineStyle() const { return FLineStyle; }
    void SetLineStyle(TLTLineStyle Value);
    TLTLineMode LineMode() const { return FLineMode; }
    void SetLineMode(TLTLineMode Value);
    TLTButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TLTButtonStyle Value);
    TLTButtonFillMode ButtonFillMode() const { return FButtonFillMode; }
    void SetButtonFillMode(TLTButtonFillMode Value);
    TLTNodeAlignment NodeAlignment() const { return FNodeAlignment; }
    void SetNodeAlignment(TLTNodeAlignment Value);
    // Values above 100 become 100.
    void SetVerticalAlignment(PLazyNode Node, std::uint8_t Value);
    plat::TCustomImageList* Images() const { return FImages; }
    void SetImages(plat::TCustomImageList* Value);
    plat::TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(plat::TCustomImageList* Value);
    plat::TCustomImageList* CustomCheckImages() const { return FCustomCheckImages; }
    void SetCustomCheckImages(plat::TCustomImageList* Value);
    plat::TCustomImageList* CheckImages() const { return FCheckImages; }
    int SelectionCurveRadius() const { return FSelectionCurveRadius; }
    void SetSelectionCurveRadius(int Value);
    int SelectionBlendFactor() const { return FSelectionBlendFactor; }
    void SetSelectionBlendFactor(int Value) { FSelectionBlendFactor = Value; InvalidateTree(); }
    TLTDrawSelectionMode DrawSelectionMode() const { return FDrawSelectionMode; }
    void SetDrawSelectionMode(TLTDrawSelectionMode Value) { FDrawSelectionMode = Value; InvalidateTree(); }
    plat::TPicture* Background() const { return FBackground.get(); }
    int BackgroundOffsetX() const { return FBackgroundOffsetX; }
    int BackgroundOffsetY() const { return FBackgroundOffsetY; }
    // Index 0 is X, 1 is Y; a changed value repaints.
    void SetBackgroundOffset(int Index, int Value);
    const String& EmptyListMessage() const { return FEmptyListMessage; }
    void SetEmptyListMessage(const String& Value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    // Sends CM_BIDIMODECHANGED: the horizontal offset follows the reading order.
    void SetBiDiMode(TBiDiMode Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    void RebuildPaintResources(bool NeedButtons, bool NeedLines);
    void RedrawFrame();
    // The line image of Node (one entry per indentation level); the result is the number
    // of selected ancestors.
    virtual int BuildLineImage(PLazyNode Node, TLineImage& LineImage);
    void ComputeNodeVAlign(PLazyNode Node, int& VAlign, int& ButtonY);
    virtual plat::TCustomImageList* CheckImageListOfKind(TCheckImageKind Kind) const;
    virtual bool HasNodeImage(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column);
    virtual plat::TPoint GetCellContentMargin(PLazyNode Node, TColumnIndex Column,
                                              TLTCellContentMarginType CellContentMarginType,
                                              plat::TCanvas* Canvas = nullptr);
    // The node's rectangle in client coordinates (TextOnly: the text's part of it).
    virtual plat::TRect GetDisplayRect(PLazyNode Node, TColumnIndex Column, bool TextOnly, bool Unclipped = false);
    // The pass's button bitmaps (collapsed, expanded).
    const plat::TBitmap& PlusBitmap() const { return *FPlusBM; }
    const plat::TBitmap& MinusBitmap() const { return *FMinusBM; }
    const plat::TBrush& LineBrush() const { return FDottedBrush; }
    void SetDropTarget(PLazyNode Node, TDropMode Mode) { FDropTargetNode = Node; FLastDropMode = Mode; }
    void SetHotNode(PLazyNode Node, bool ButtonHit) { FCurrentHotNode = Node; FHotNodeButtonHit = ButtonHit; }
    void SetNewSelRect(const plat::TRect& R) { FNewSelRect = R; }
    bool FontChanged() const { return FFontChanged; }
    void ResetFontChanged() { FFontChanged = false; }
    PLazyNode DropTarget() const { return FDropTargetNode; }
    TDropMode DropMode() const { return FLastDropMode; }

    // ---- life cycle ----
    PLazyNode AddChild(PLazyNode Parent, const void* UserData = nullptr);
    PLazyNode InsertNode(PLazyNode Node, TLTNodeAttachMode Mode, const void* UserData = nullptr);
    virtual void SetChildCount(PLazyNode Node, std::uint32_t NewChildCount);
    void DeleteNode(PLazyNode Node, bool Reindex = true);
    void DeleteChildren(PLazyNode Node, bool ResetHasChildren = false);
    virtual void DeleteSelectedNodes();
    virtual void Clear();
    virtual void ReinitNode(PLazyNode Node, bool Recursive);
    virtual void ReinitChildren(PLazyNode Node, bool Recursive);
    virtual void ResetNode(PLazyNode Node);
    void InitRecursive(PLazyNode Node, unsigned Levels = ~0u, bool VisibleOnly = true);
    void ValidateNode(PLazyNode Node, bool Recursive);
    void ValidateChildren(PLazyNode Node, bool Recursive);
    virtual void BeginUpdate();
    virtual void EndUpdate();
    void BeginSynch();
    void EndSynch();
    void StartOperation(TLTOperationKind Kind);
    void EndOperation(TLTOperationKind Kind);
    void CancelOperation();
    bool OperationCanceled() const { return FOperationCanceled && FOperationCount > 0; }
    // Initialises every node first.
    std::uint32_t TotalCount();
    static int CompactNodeArray(TNodeArray& Array, int Count);

    // ---- states, heights, visibility, expand/collapse ----
    bool GetExpanded(PLazyNode Node) const { return Node && Node->Has(vsExpanded); }
    void SetExpanded(PLazyNode Node, bool Value);
    bool GetVisible(PLazyNode Node);
    void SetVisible(PLazyNode Node, bool Value);
    bool GetFiltered(PLazyNode Node) const { return Node && Node->Has(vsFiltered); }
    void SetFiltered(PLazyNode Node, bool Value);
    bool GetDisabled(PLazyNode Node) const { return Node && Node->Has(vsDisabled); }
    void SetDisabled(PLazyNode Node, bool Value);
    bool GetHasChildren(PLazyNode Node) const { return (Node ? Node : FRoot)->Has(vsHasChildren); }
    void SetHasChildren(PLazyNode Node, bool Value);
    bool GetFullyVisible(PLazyNode Node) const;
    void SetFullyVisible(PLazyNode Node, bool Value);
    bool GetVisiblePath(PLazyNode Node) const;
    void SetVisiblePath(PLazyNode Node, bool Value);
    bool GetEffectivelyFiltered(PLazyNode Node) const;
    bool GetEffectivelyVisible(PLazyNode Node) const;
    bool GetChildrenInitialized(PLazyNode Node) const
    {
        return !(Node->Has(vsHasChildren) && Node->ChildCount == 0);
    }
    std::uint32_t GetChildCount(PLazyNode Node) const { return (Node ? Node : FRoot)->ChildCount; }
    std::uint32_t GetNodeHeight(PLazyNode Node);
    void SetNodeHeight(PLazyNode Node, std::uint32_t Value);
    virtual void MeasureItemHeight(plat::TCanvas* Canvas, PLazyNode Node);
    std::uint32_t DefaultNodeHeight() const { return FDefaultNodeHeight; }
    void SetDefaultNodeHeight(std::uint32_t Value);
    void ToggleNode(PLazyNode Node);
    void FullExpand(PLazyNode Node = nullptr);
    void FullCollapse(PLazyNode Node = nullptr);
    virtual unsigned VisibleDescendantCount(PLazyNode Node) const;
    virtual void RefreshAllChildrenHidden(PLazyNode Node);
    virtual void RefreshAllChildrenHiddenEverywhere();
    // Calls Callback(StepNumber, StepSize) until it answers false, waiting on the layer's
    // clock; a last call with (0, 0) finishes.
    virtual void RunAnimation(std::uint32_t Steps, std::uint32_t Duration,
                              const std::function<bool(std::uint32_t, int)>& Callback);

    // ---- position cache ----
    void RequestCacheValidation();
    void StopCacheValidation();
    // On the worker thread: one build pass. On the GUI thread: stops the worker's build for
    // this tree, builds the whole cache and, when it is complete, uses it (tsUseCache).
    virtual bool BuildPositionCache();
    // The cache entries from FStartIndex on; false when stopped or fewer than two rows.
    bool BuildCacheEntries();
    // The cache as the last build left it; valid while tsUseCache is set.
    const TCache& PositionCache() const { return FPositionCache; }
    // Last entry before Node (null node and 0 when none), only while tsUseCache is set.
    PLazyNode PositionCacheEntryBefore(PLazyNode Node, std::uint32_t& Top) const;
    PLazyNode PositionCacheLookup(std::uint32_t Position, std::uint32_t& Top) const;
    // The node at content position Y (Relative: client position under OffsetY).
    PLazyNode GetNodeAt(int X, int Y, bool Relative, int& NodeTop);
    PLazyNode GetNodeAt(int X, int Y)
    {
        int top;
        return GetNodeAt(X, Y, true, top);
    }
    // The top of a node in content pixels (a linear walk from the nearest cache entry).
    std::uint32_t GetDisplayTop(PLazyNode Node);

    // ---- scrolling fields the core keeps ----
    int OffsetX() const { return FOffsetX; }
    int OffsetY() const { return FOffsetY; }
    void SetOffsetY(int Value);
    std::uint32_t RangeY() const { return FRangeY; }
    std::uint32_t BottomSpace() const { return FBottomSpace; }
    void SetBottomSpace(std::uint32_t Value);
    void UpdateVerticalRange();

    // ---- iteration ----
    PLazyNode GetFirst(bool ConsiderChildrenAbove = false);
    PLazyNode GetFirstNoInit(bool ConsiderChildrenAbove = false) const;
    PLazyNode GetNext(PLazyNode Node, bool ConsiderChildrenAbove = false);
    PLazyNode GetNextNoInit(PLazyNode Node, bool ConsiderChildrenAbove = false) const;
    PLazyNode GetPrevious(PLazyNode Node, bool ConsiderChildrenAbove = false);
    PLazyNode GetPreviousNoInit(PLazyNode Node, bool ConsiderChildrenAbove = false) const;
    PLazyNode GetLast(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = false);
    PLazyNode GetLastNoInit(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = false) const;
    PLazyNode GetFirstChild(PLazyNode Node);
    PLazyNode GetFirstChildNoInit(PLazyNode Node) const;
    PLazyNode GetLastChild(PLazyNode Node);
    PLazyNode GetLastChildNoInit(PLazyNode Node) const;
    PLazyNode GetNextSibling(PLazyNode Node);
    PLazyNode GetNextSiblingNoInit(PLazyNode Node) const;
    PLazyNode GetPreviousSibling(PLazyNode Node);
    PLazyNode GetPreviousSiblingNoInit(PLazyNode Node) const;
    PLazyNode GetFirstInitialized(bool ConsiderChildrenAbove = false) const;
    PLazyNode GetNextInitialized(PLazyNode Node, bool ConsiderChildrenAbove = false) const;
    PLazyNode GetPreviousInitialized(PLazyNode Node, bool ConsiderChildrenAbove = false) const;
    PLazyNode GetLastInitialized(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = false) const;
    PLazyNode GetFirstLeaf();
    PLazyNode GetNextLeaf(PLazyNode Node);
    PLazyNode GetPreviousLeaf(PLazyNode Node);
    PLazyNode GetFirstLevel(unsigned Level);
    PLazyNode GetNextLevel(PLazyNode Node, unsigned Level);
    PLazyNode GetPreviousLevel(PLazyNode Node, unsigned Level);
    PLazyNode GetFirstChecked(TCheckState State = csCheckedNormal, bool ConsiderChildrenAbove = false);
    PLazyNode GetNextChecked(PLazyNode Node, TCheckState State = csCheckedNormal, bool ConsiderChildrenAbove = false);
    PLazyNode GetPreviousChecked(PLazyNode Node, TCheckState State = csCheckedNormal, bool ConsiderChildrenAbove = false);
    PLazyNode GetFirstVisible(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = true, bool IncludeFiltered = false);
    PLazyNode GetFirstVisibleNoInit(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = true, bool IncludeFiltered = false) const;
    PLazyNode GetNextVisible(PLazyNode Node, bool ConsiderChildrenAbove = true);
    PLazyNode GetNextVisibleNoInit(PLazyNode Node, bool ConsiderChildrenAbove = true) const;
    PLazyNode GetPreviousVisible(PLazyNode Node, bool ConsiderChildrenAbove = true);
    PLazyNode GetPreviousVisibleNoInit(PLazyNode Node, bool ConsiderChildrenAbove = true) const;
    PLazyNode GetLastVisible(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = true, bool IncludeFiltered = false);
    PLazyNode GetLastVisibleNoInit(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = true, bool IncludeFiltered = false) const;
    PLazyNode GetFirstVisibleChild(PLazyNode Node, bool IncludeFiltered = false);
    PLazyNode GetFirstVisibleChildNoInit(PLazyNode Node, bool IncludeFiltered = false) const;
    PLazyNode GetLastVisibleChild(PLazyNode Node, bool IncludeFiltered = false);
    PLazyNode GetLastVisibleChildNoInit(PLazyNode Node, bool IncludeFiltered = false) const;
    PLazyNode GetNextVisibleSibling(PLazyNode Node, bool IncludeFiltered = false);
    PLazyNode GetNextVisibleSiblingNoInit(PLazyNode Node, bool IncludeFiltered = false) const;
    PLazyNode GetPreviousVisibleSibling(PLazyNode Node, bool IncludeFiltered = false);
    PLazyNode GetPreviousVisibleSiblingNoInit(PLazyNode Node, bool IncludeFiltered = false) const;
    PLazyNode GetNodeParent(PLazyNode Node) const;
    PLazyNode GetVisibleParent(PLazyNode Node, bool IncludeFiltered = false) const;
    bool HasAsParent(PLazyNode Node, PLazyNode PotentialParent) const;
    unsigned GetNodeLevel(PLazyNode Node) const;
    virtual int LevelDistance(PLazyNode Node1, PLazyNode Node2) const;
    std::uint32_t AbsoluteIndex(PLazyNode Node);
    int CompareNodeOrder(PLazyNode Node1, PLazyNode Node2, bool ConsiderChildrenAbove = false) const;
    PLazyNode IterateSubtree(PLazyNode Node,
                             const std::function<void(TBaseLazyTree*, PLazyNode, void*, bool& Abort)>& Callback,
                             void* Data, TLazyNodeStates Filter = 0, bool DoInit = false,
                             bool ChildNodesOnly = false);
    TLTLazyNodeEnumeration Nodes(bool ConsiderChildrenAbove = false);
    TLTLazyNodeEnumeration CheckedNodes(TCheckState State = csCheckedNormal, bool ConsiderChildrenAbove = false);
    TLTLazyNodeEnumeration ChildNodes(PLazyNode Node);
    TLTLazyNodeEnumeration InitializedNodes(bool ConsiderChildrenAbove = false);
    TLTLazyNodeEnumeration LeafNodes();
    TLTLazyNodeEnumeration LevelNodes(unsigned Level);
    TLTLazyNodeEnumeration NoInitNodes(bool ConsiderChildrenAbove = false);
    TLTLazyNodeEnumeration SelectedNodes(bool ConsiderChildrenAbove = false);
    TLTLazyNodeEnumeration VisibleNodes(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = true, bool IncludeFiltered = false);
    TLTLazyNodeEnumeration VisibleChildNodes(PLazyNode Node = nullptr, bool IncludeFiltered = false);
    TLTLazyNodeEnumeration VisibleChildNoInitNodes(PLazyNode Node = nullptr, bool IncludeFiltered = false);
    TLTLazyNodeEnumeration VisibleNoInitNodes(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = true, bool IncludeFiltered = false);

    // ---- check states ----
    TCheckState GetCheckState(PLazyNode Node) const { return TCheckState(Node->CheckState); }
    void SetCheckState(PLazyNode Node, TCheckState Value);
    TCheckType GetCheckType(PLazyNode Node) const { return TCheckType(Node->CheckType); }
    void SetCheckType(PLazyNode Node, TCheckType Value);
    void SetCheckStateForAll(TCheckState State, bool SelectedOnly, bool ExcludeDisabled = true);
    std::uint32_t CheckedCount();
    void ClearChecked();
    virtual TCheckState NextCheckStateFor(TCheckType Type, TCheckState State) const;
    virtual int CheckImageIndex(PLazyNode Node, TCheckType Type, TCheckState State, bool Enabled) const;
    PLazyNode HotNode() const { return FCurrentHotNode; }

    // ---- sorting, moving, copying ----
    virtual void Sort(PLazyNode Node, TColumnIndex Column, TSortDirection Direction, bool DoInit = true);
    virtual void SortTree(TColumnIndex Column, TSortDirection Direction, bool DoInit = true);
    void MoveTo(PLazyNode Source, PLazyNode Target, TLTNodeAttachMode Mode, bool ChildrenOnly);
    void MoveTo(PLazyNode Source, TBaseLazyTree* Tree, TLTNodeAttachMode Mode, bool ChildrenOnly);
    PLazyNode CopyTo(PLazyNode Source, PLazyNode Target, TLTNodeAttachMode Mode, bool ChildrenOnly);
    PLazyNode CopyTo(PLazyNode Source, TBaseLazyTree* Tree, TLTNodeAttachMode Mode, bool ChildrenOnly);
    // Many nodes at once: the same result as moving each node in turn (forward for amInsertBefore
    // and amAddChildLast, backward otherwise), each asked by OnNodeMoving in that turn, but the
    // sibling numbers, the selection and the caches are settled once for all of them. A node that
    // would go next to itself or into its own subtree stays where it is.
    void MoveTo(const TNodeArray& Nodes, PLazyNode Target, TLTNodeAttachMode Mode);
    void SetNodeParent(PLazyNode Node, PLazyNode Value);

    // ---- selection store and focus ----
    bool Selected(PLazyNode Node) const { return Node && Node->Has(vsSelected); }
    void SetSelected(PLazyNode Node, bool Value);
    virtual void AddToSelection(PLazyNode Node);
    virtual void AddNodesToSelection(const TNodeArray& Nodes, int Count, bool ForceInsert);
    // The same for an array the caller gives up (no copy), without ForceInsert.
    void AddCollectedToSelection(TNodeArray&& Nodes);
    // After a merge: a single selected node names the node toAlwaysSelectNode falls back on.
    void SelectionGrew();
    virtual void RemoveFromSelection(PLazyNode Node);
    void RemoveFromSelectionDeferred(PLazyNode Node);
    void ClearSelection() { ClearSelectionEx(true); }
    virtual void ClearSelectionEx(bool Notify);
    virtual void DropSelection();
    bool LocateInSelection(PLazyNode Node, int& Index, int High = -1, int Low = -1) const;
    PLazyNode GetFirstSelected(bool ConsiderChildrenAbove = false);
    PLazyNode GetNextSelected(PLazyNode Node, bool ConsiderChildrenAbove = false);
    PLazyNode GetPreviousSelected(PLazyNode Node, bool ConsiderChildrenAbove = false);
    TNodeArray GetSortedSelection(bool Resolve);
    // The raw sorted array (first SelectedCount entries are valid).
    const TNodeArray& SelectionArray() const { return FSelection; }
    PLazyNode FocusedNode() const { return FFocusedNode; }
    void SetFocusedNode(PLazyNode Node);
    TColumnIndex FocusedColumn() const { return FFocusedColumn; }

    // ---- stream format ----
    void SaveToFile(const String& FileName);
    void LoadFromFile(const String& FileName);
    void SaveToStream(plat::TStream& Stream, PLazyNode Node = nullptr);
    void LoadFromStream(plat::TStream& Stream);
    void AddFromStream(plat::TStream& Stream, PLazyNode TargetNode);

    // ---- data exchange: data objects, formats and the clipboard ----
    // The names of the formats this tree offers (only names its class can render).
    TClipboardFormats* ClipboardFormats() const;
    void SetClipboardFormats(const plat::TStrings* Value);
    TLTNodeAttachMode DefaultPasteMode() const { return FDefaultPasteMode; }
    void SetDefaultPasteMode(TLTNodeAttachMode Value) { FDefaultPasteMode = Value; }
    // Appends or changes the descriptors a new data object of the tree offers.
    std::function<void(TBaseLazyTree*, std::vector<plat::TFormatEtc>& Formats)> OnGetUserClipboardFormats;
    // Renders a format the tree does not render itself; Result starts as E_FAIL.
    std::function<void(TBaseLazyTree*, const plat::TFormatEtc& Format, plat::TStgMedium& Medium,
                       bool ForClipboard, plat::HRESULT& Result)>
        OnRenderOLEData;
    // Supplies the data object of a drag; the output starts empty (none: the tree's own).
    std::function<void(TBaseLazyTree*, std::shared_ptr<plat::IDataObject>& DataObject)> OnCreateDataObject;

    // The descriptors of the tree's offered formats, in priority order, then the application's.
    virtual void CollectClipboardFormats(std::vector<plat::TFormatEtc>& Formats);
    // Renders one format into Medium (cleared first): "Lazy Tree Data" of the cut/copy set
    // (ForClipboard) or of the selection, as global memory (a 32-bit size, then the node
    // chunks) or a stream; other formats through OnRenderOLEData.
    virtual plat::HRESULT RenderFormat(const plat::TFormatEtc& Format, plat::TStgMedium& Medium, bool ForClipboard);
    // The tree of this process that offers DataObject, when it is still alive; else null.
    virtual TBaseLazyTree* TreeFromDataObject(plat::IDataObject* DataObject);
    // Inserts the "Lazy Tree Data" of DataObject at TargetNode (null: the root) with Mode.
    // Optimized moves Source's nodes directly (a move inside this process). True when the
    // data was there and read. Data from outside is checked: a size prefix that is negative
    // or larger than its block is refused, the chunks go through the stream's checked reader.
    bool ProcessOLEData(TBaseLazyTree* Source, const std::shared_ptr<plat::IDataObject>& DataObject,
                        PLazyNode TargetNode, TLTNodeAttachMode Mode, bool Optimized);

    virtual void CopyToClipboard();
    virtual void CutToClipboard();
    // Raises ELazyTreeError 2007 "Clipboard operation failed." when the clipboard cannot be
    // read; false when it holds no tree data or the tree is read-only.
    virtual bool PasteFromClipboard();
    void CancelCutOrCopy();
    void FinishCutOrCopy();
    void FlushClipboard();
    PLazyNode GetFirstCutCopy(bool ConsiderChildrenAbove = false);
    PLazyNode GetNextCutCopy(PLazyNode Node, bool ConsiderChildrenAbove = false);
    PLazyNode GetPreviousCutCopy(PLazyNode Node, bool ConsiderChildrenAbove = false);
    unsigned CutCopyCount();
    TNodeArray GetSortedCutCopySet(bool Resolve);
    virtual void MarkSelectionForClipboard();
    // The number that names this tree in tree references; never reused in the process.
    std::uint64_t ExchangeId() const { return FExchangeId; }

    // ---- totals repair used by stream reading ----
    void PropagateTotalCount(PLazyNode Node, std::int64_t Value, bool Relative);
    void PropagateTotalHeight(PLazyNode Node, std::int64_t Value, bool Relative);

    void UpdateScrollBarsPublic() { UpdateScrollBars(true); }
    // The worker thread serving this process's trees; null while no tree exists.
    static TWorkerThread* Worker();

protected:
    // ---- Do dispatchers ----
    virtual void DoInitNode(PLazyNode Parent, PLazyNode Node, TLazyNodeInitStates& InitStates);
    virtual bool DoInitChildren(PLazyNode Node, std::uint32_t& ChildCount);
    virtual void DoFreeNode(PLazyNode Node);
    virtual void DoResetNode(PLazyNode Node);
    virtual void DoStructureChange(PLazyNode Node, TChangeReason Reason);
    virtual void DoChange(PLazyNode Node);
    virtual void DoUpdating(TLTUpdateState State);
    virtual void DoStartOperation(TLTOperationKind Kind);
    virtual void DoEndOperation(TLTOperationKind Kind);
    virtual void DoLoadUserData(PLazyNode Node, plat::TStream& Stream);
    virtual void DoSaveNode(PLazyNode Node, plat::TStream& Stream);
    virtual void DoGetNodeDataSize(int& Size);
    virtual bool DoExpanding(PLazyNode Node);
    virtual bool DoCollapsing(PLazyNode Node);
    virtual void DoExpanded(PLazyNode Node);
    virtual void DoCollapsed(PLazyNode Node);
    virtual void DoMeasureItem(plat::TCanvas* Canvas, PLazyNode Node, int& NodeHeight);
    virtual bool DoChecking(PLazyNode Node, TCheckState& NewState);
    virtual void DoChecked(PLazyNode Node);
    virtual int DoCompareNodes(PLazyNode Node1, PLazyNode Node2, TColumnIndex Column);
    virtual bool DoNodeMoving(PLazyNode Node, PLazyNode Target);
    virtual bool DoNodeCopying(PLazyNode Node, PLazyNode Target);
    virtual void DoNodeMoved(PLazyNode Node);
    virtual void DoNodeCopied(PLazyNode Node);
    virtual void DoRemoveFromSelection(PLazyNode Node);
    // A node joins the selection: fires OnAddToSelection.
    virtual void DoAddToSelection(PLazyNode Node);
    virtual void DoFocusChanged(PLazyNode Node, TColumnIndex Column);
    virtual void DoBeforePaint(plat::TCanvas* Canvas);
    virtual void DoAfterPaint(plat::TCanvas* Canvas);
    virtual bool DoBeforeItemPaint(plat::TCanvas* Canvas, PLazyNode Node, const plat::TRect& ItemRect);
    virtual void DoAfterItemPaint(plat::TCanvas* Canvas, PLazyNode Node, const plat::TRect& ItemRect);
    virtual void DoBeforeItemErase(plat::TCanvas* Canvas, PLazyNode Node, const plat::TRect& ItemRect,
                                   plat::TColor& Color, TItemEraseAction& EraseAction);
    virtual void DoAfterItemErase(plat::TCanvas* Canvas, PLazyNode Node, const plat::TRect& ItemRect);
    virtual void DoBeforeCellPaint(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column,
                                   TLTCellPaintMode CellPaintMode, const plat::TRect& CellRect, plat::TRect& ContentRect);
    virtual void DoAfterCellPaint(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const plat::TRect& CellRect);
    virtual bool DoPaintBackground(plat::TCanvas* Canvas, const plat::TRect& R);
    virtual void DoBeforeDrawLineImage(PLazyNode Node, int Level, int& PosX);
    virtual void DoGetLineStyle(std::array<std::uint16_t, 8>& Bits);
    virtual plat::TCustomImageList* DoGetImageIndex(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column,
                                                    bool& Ghosted, int& Index);
public:
    virtual int DoGetNodeWidth(PLazyNode, TColumnIndex, plat::TCanvas*) { return 0; }
protected:
    // The cell's content; the base tree has none.
    virtual void PaintNodeContent(TLTPaintInfo&) {}
    virtual void DrawDropMark(plat::TCanvas* Canvas, PLazyNode Node, const plat::TRect& R);
    virtual void DottedHorzLine(TLTPaintInfo& PaintInfo, int Left, int Right, int Top);
    virtual void DottedVertLine(TLTPaintInfo& PaintInfo, int Top, int Bottom, int Left, bool UseSelectedBackground = false);
    virtual void PaintTreeLineLevels(TLTPaintInfo& PaintInfo, int VAlignment, int IndentSize, const TLineImage& LineImage);
    void PaintLineSegment(TLTPaintInfo& PaintInfo, int X, int Y, int H, int VAlign, TLTLineType Style, bool Reverse);
    virtual void PaintExpandButton(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const plat::TRect& R,
                                   int ButtonX, int ButtonY, TBiDiMode BidiMode);
    virtual void PaintCheckControl(plat::TCanvas* Canvas, const TLTImageSlot& Slot, bool Selected);
    virtual void PaintNodeImage(TLTPaintInfo& PaintInfo, TLTImageInfoIndex SlotIndex, bool DoOverlay);
    virtual plat::TSize ImageSize(PLazyNode Node) const;
    virtual void PlaceImage(plat::TCustomImageList* Images, TBiDiMode BidiMode, int VAlign, plat::TRect& R,
                            TLTImageSlot& Slot);
    virtual void QueryImageIndex(TLTPaintInfo& PaintInfo, TLTImageKind Kind, TLTImageInfoIndex SlotIndex,
                                 plat::TCustomImageList* DefaultImages);
    void ShiftByIndent(TLTPaintInfo& PaintInfo, int Levels);
    void EraseNodeRow(TLTPaintInfo& PaintInfo, bool UseBackground, plat::TRect R, bool OffsetToRow);
    void PaintBackgroundStatic(plat::TBitmap* Picture, plat::TCanvas* Canvas, const plat::TRect& Area, plat::TPoint Offset);
    void PaintBackgroundTiled(plat::TBitmap* Picture, plat::TCanvas* Canvas, const plat::TRect& Area, plat::TPoint Offset);
    virtual void PaintCellHighlight(TLTPaintInfo& PaintInfo, int WindowOrgX, int MaxWidth);
    virtual void PaintRubberBand(plat::TCanvas* Target, int WindowOrgX, plat::TRect TargetRect, const plat::TRect& SelectionRect);
    virtual void HookCanvasFontChange(plat::TCanvas* Canvas);
    virtual void UnhookCanvasFontChange(plat::TCanvas* Canvas);
    virtual void PaintFontChanged(plat::TObject* Sender);
    void SuspendRedraw(bool Suspend);
    void Paint() override;
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
    void CreateWnd() override;

    // ---- internal operations ----
    PLazyNode MakeNewNode();
    void LinkNode(PLazyNode Node, PLazyNode Destination, TLTNodeAttachMode Mode, TBaseLazyTree* Target,
                  bool Reindex = true);
    virtual void UnlinkNode(PLazyNode Node, bool KeepFocus, bool Reindex, bool ParentClearing);
    void RemoveNode(PLazyNode Node, bool Reindex, bool ParentClearing);
    virtual void InitializeNode(PLazyNode Node);
    virtual void InitializeChildren(PLazyNode Node);
    virtual void NotifyChange(PLazyNode Node);
    virtual void NotifyStructureChange(PLazyNode Node, TChangeReason Reason);
    virtual bool ApplyCheckState(PLazyNode Node, TCheckState Value);
    virtual bool RecomputeParentCheckState(PLazyNode Node, TCheckState NewState);
    virtual void CheckClick(PLazyNode Node, TCheckState NewState);
public:
    void MarkCacheStale() { DoStateChange(TreeBit(tsValidationNeeded), TreeBit(tsUseCache)); }
protected:
    // Hooks of the view: repaint, scroll bars, edit, hint. The core calls them where the
    // behaviour needs them; the view fills them.
public:
    // The node's rectangle is repainted (without erasing) and returned; during an update
    // or without a window nothing happens and (-1, -1, -1, -1) is returned.
    virtual plat::TRect InvalidateNode(PLazyNode Node);
    // From the node's top to the bottom of the client; the whole tree for nil or the root.
    virtual void InvalidateToBottom(PLazyNode Node);
    // Invalidates Node (initialising it and creating children it announces) and each of its
    // children (the top-level nodes for nil), the children's subtrees too with Recursive.
    void InvalidateChildren(PLazyNode Node, bool Recursive);
    // Paints the node's rectangle at once (nothing for nil or the hidden root).
    void RepaintNode(PLazyNode Node);
    // The widest content of the rows shown in the client (from the row at its top down to
    // the first row reaching past its bottom), plus the margin: the horizontal range
    // without header columns.
    virtual int VisibleContentWidth();
    // The width left empty at the left edge in right-to-left layout, where the columns end at
    // the right: the header's width less the columns' range, or the vertical scroll bar's
    // width when that is more; with ExcludeScrollBar less the bar's width while it is shown.
    virtual int RightToLeftOffset(bool ExcludeScrollBar) const;
    // The offset the column positions move by: RightToLeftOffset (True) in right-to-left
    // alignment with header columns, else 0. The vertical bar stays at the right in every
    // reading order, so the header strip and the client share one horizontal origin.
    int ColumnsRightToLeftOffset() const;
    // With toAutoChangeScale the canvas takes the control's font and DefaultNodeHeight is
    // raised to the height of "Tg" when below it.
    virtual void FitDefaultHeightToFont();
    // The kind of hint a node shows when no handler decides: text in the base and string trees.
    virtual TLTHintKind DefaultHintKind() const { return vhkText; }

    // ---- hints ----
    TLTHintMode HintMode() const { return FHintMode; }
    void SetHintMode(TLTHintMode Value) { FHintMode = Value; }
    THintAnimationType HintAnimation() const { return FAnimationType; }
    void SetHintAnimation(THintAnimationType Value) { FAnimationType = Value; }
    std::function<void(TBaseLazyTree*, PLazyNode, TColumnIndex, plat::TRect& R)> OnGetHintSize;
    std::function<void(TBaseLazyTree*, PLazyNode, TColumnIndex, TLTHintKind& Kind)> OnGetHintKind;
    std::function<void(TBaseLazyTree*, plat::TCanvas* HintCanvas, PLazyNode, const plat::TRect& R, TColumnIndex)> OnDrawHint;
    // The node's hint text: the control's Hint in the base tree.
    virtual void DoGetNodeHint(PLazyNode Node, TColumnIndex Column, String& HintText,
                               TLTTooltipLineBreakStyle& LineBreakStyle);
    // The node's tooltip text: the control's Hint in the base tree, the cell's text in the
    // string tree.
    virtual void DoGetNodeTooltip(PLazyNode Node, TColumnIndex Column, String& HintText,
                                  TLTTooltipLineBreakStyle& LineBreakStyle);
    virtual void DoGetHintSize(PLazyNode Node, TColumnIndex Column, plat::TRect& R);
    virtual void DoGetHintKind(PLazyNode Node, TColumnIndex Column, TLTHintKind& Kind);
    virtual void DoDrawHint(plat::TCanvas* Canvas, PLazyNode Node, const plat::TRect& R, TColumnIndex Column);
    // The hint window the tree's hints show in (TLazyTreeHintWindow).
    virtual plat::THintWindowClass HintWindowClassRef() const;
    // hatSystemDefault resolved by the system's tooltip settings.
    virtual THintAnimationType EffectiveHintAnimation() const;
    // The client rectangle the current hint was shown for (empty: none).
    const plat::TRect& LastHintRect() const { return FLastHintRect; }
    // The cursor in the coordinates of the hint rectangles: client coordinates, over the
    // header one header height lower (as the header hands its moves to the hint handling).
    plat::TPoint HintCursorPoint() const;
    // A shown hint of the tree (tsHint) is cancelled and tsHint left.
    void CancelShownHint();
protected:
    // CM_HINTSHOW, CM_HINTSHOWPAUSE, the mouse leaving and the window going; true when
    // Message was answered.
    bool HintMessage(plat::TMessage& Message);
    // CM_HINTSHOW: 0 shows the hint HintInfo describes.
    plat::LRESULT HintShow(plat::THintInfo& HintInfo);
private:
    TLTHintData FHintData;
    plat::TRect FLastHintRect{};
    TLTHintMode FHintMode = hmDefault;
    THintAnimationType FAnimationType = hatSystemDefault;
    // Expires when the tree is gone: an animation whose step freed the tree stops at once.
    std::shared_ptr<int> FLifeToken = std::make_shared<int>(0);
public:
    // Extra width beside a node's text (the string tree's static text).
    virtual int NodeExtraWidth(PLazyNode, TColumnIndex, plat::TCanvas* = nullptr) { return 0; }
    // The frame inside the system border: a bevel (BevelKind, BevelInner, BevelOuter,
    // BevelWidth) and a ring of BorderWidth pixels in Colors.BorderColor.
    TBevelKind BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind Value);
    plat::TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(plat::TBevelCut Value);
    plat::TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(plat::TBevelCut Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    // Custom styles: the flag follows the platform's query (which answers no); the colours
    // come from the style query when both are there.
    bool VclStyleEnabled() const { return FVclStyleEnabled; }
    virtual void RefreshVclStyleFlag();
    const TLTStyleQuery* StyleQuery() const { return FStyleQuery; }
    void SetStyleQuery(const TLTStyleQuery* Query) { FStyleQuery = Query; }
    TLTStyleElements StyleElements() const { return FStyleElements; }
    void SetStyleElements(TLTStyleElements Value);
    // Scales DefaultNodeHeight and Indent with the form (toAutoChangeScale).
    void ChangeScale(int M, int D) override;
protected:
    virtual void PaintNonClientBorder(plat::TCanvas* Canvas);
    int FrameWidth() const override;
public:
protected:
    virtual void UpdateScrollBars(bool DoRepaint);
public:
    void InvalidateTree() { if (HandleAllocated()) Invalidate(); }
protected:
    void KillTreeTimer(std::uintptr_t Id);
    void WndProc(plat::TMessage& Message) override;
    // The window's paint, print, frame, item-rectangle, font and reading-order messages; true
    // when Message was answered.
    bool WindowMessage(plat::TMessage& Message);
    void MergeIntoSelection(TNodeArray Nodes, int Count, bool ForceInsert, bool& Result);
    void PushTempNode(PLazyNode Node);
    void ResetTempNodes();
    // ---- data exchange ----
    virtual plat::HRESULT DoRenderOLEData(const plat::TFormatEtc& Format, plat::TStgMedium& Medium, bool ForClipboard);
    virtual void DoGetUserClipboardFormats(std::vector<plat::TFormatEtc>& Formats);
    virtual std::shared_ptr<plat::IDataObject> DoCreateDataObject();
    // The nodes an optimised move takes from this tree as its source, in tree order.
    TNodeArray NodesForOptimizedMove();
    // Stream chunks.
    virtual void StoreNode(plat::TStream& Stream, PLazyNode Node);
    virtual void StoreNodeChunks(plat::TStream& Stream, PLazyNode Node);
    virtual bool ReadNodeSubChunk(plat::TStream& Stream, int Version, std::int64_t ChunkEnd,
                                  std::int32_t ChunkSize, std::int32_t ChunkType, PLazyNode Node,
                                  unsigned Depth);
    void ReadNodeChunk(plat::TStream& Stream, int Version, PLazyNode Node, std::int64_t Limit, unsigned Depth);
    void LoadNodeFromStream(plat::TStream& Stream, int Version, PLazyNode Node);
    void SumSubtreeTotals(PLazyNode Node);
    virtual TCustomLazyTreeOptions* CreateOptions() { return new TCustomLazyTreeOptions(this); }
    // Must run in the constructor of the most derived class (virtual CreateOptions).
    void CreateOptionsObject();

private:
    friend class TCustomLazyTreeOptions;
    friend class TCustomStringTreeOptions;
    friend class TLTDataObject;
    friend class TWorkerThread;
    friend struct TLTLazyNodeEnumerator;
    struct CheckAccess;

    PLazyNode ChildOf(PLazyNode Node) const { return Node ? Node : FRoot; }
    // Held around a GUI-side write to node states, heights or links: a build running on the
    // worker is stopped first and asked for again once the write is done.
    struct WorkerPause {
        explicit WorkerPause(TBaseLazyTree* Tree);
        ~WorkerPause();
        TBaseLazyTree* T;
        bool Stopped;
    };
    bool GetChildrenAbove() const;
    // The display row after Node, which must be a row itself (fully and effectively visible).
    PLazyNode NextVisibleRow(PLazyNode Node) const;
    // Automatic sorting needs a sort column chosen in the header; without one the order is
    // left alone, so adding nodes never initialises them just to compare them.
    bool AutoSortWanted() const { return In(FOptions->AutoOptions(), toAutoSort) && FHeader->SortColumn > NoColumn; }
    void AllocateRoot();
    void AdjustTotalCount(PLazyNode Node, std::int64_t Delta);
    void InitIfNeeded(PLazyNode Node) { if (Node != FRoot && !Node->Has(vsInitialized)) InitializeNode(Node); }
    void AfterStructureChange(bool RequestValidation);
    void ApplyToggle(PLazyNode Node);
    // Scrolls the rows below (or, with children above, above) a toggling node by Distance
    // pixels on the window, paced by RunAnimation; nothing without a window.
    void AnimateToggle(PLazyNode Node, std::int64_t Distance, bool Expanding);
    void ShowFilteredNodesChanged(bool Shown);
    void WaitForWorker();
    void MeasureOnGuiThread(PLazyNode Node);
    std::uint32_t NodeHeightForWorker(PLazyNode Node);
    void ReadBaseChunk(plat::TStream& Stream, int Version, std::int32_t ChunkSize, PLazyNode Node,
                       std::int64_t ChunkEnd, unsigned Depth);
    void AttachLoadedNode(PLazyNode Node, PLazyNode Parent);
    // Header, node count and the top nodes of a stream, appended under Parent in one update.
    void ReadNodesInto(plat::TStream& Stream, PLazyNode Parent, bool Adding);
    bool FindInSelection(PLazyNode Node, int& Index) const;
    void StreamToTree(plat::TStream& Stream, PLazyNode Target, TLTNodeAttachMode Mode,
                      TBaseLazyTree* Source, bool Copy, PLazyNode& Last);

    // ---- data exchange ----
    // Binds the tree into the process's live trees; the destructor detaches its data objects.
    void ExchangeCreated();
    void ExchangeDestroying();
    // Clears every vsCutOrCopy mark and leaves the pending states, whatever they were.
    void ReleaseCutCopyMarks();
    // WM_COPY, WM_CUT and WM_PASTE; true when Message was one of them.
    bool ClipboardMessage(plat::TMessage& Message);
    mutable std::unique_ptr<TClipboardFormats> FClipboardFormats;
    TLTNodeAttachMode FDefaultPasteMode = amAddChildLast;
    std::vector<TLTDataObject*> FDataObjects;
    // While set, nodes read from a stream that were selected in it are collected here
    // (vsSelected cleared) instead of being merged into the selection one read at a time.
    TNodeArray* FLoadedSelection = nullptr;
    std::uint64_t FExchangeId = 0;

    std::uint32_t FTotalInternalDataSize = 0;
    PLazyNode FRoot = nullptr;
    std::uint32_t FRootBlockSize = 0;
    TNodePool FPool;
    std::uint32_t FDefaultNodeHeight = 18;
    std::uint32_t FIndent = 18;
    std::unique_ptr<TCustomLazyTreeOptions> FOptions;
    std::unique_ptr<TScrollBarOptions> FScrollBarOptions;
    std::unique_ptr<TLTHeader> FHeader;
    std::uint32_t FUpdateCount = 0;
    std::uint32_t FSynchUpdateCount = 0;
    int FNodeDataSize = -1;
    std::atomic<TLazyTreeStates> FStates{0};
    // The window handle, for the worker's cache-state messages (read off the GUI thread).
    std::atomic<plat::HWND> FStateWindow{0};
    // The error of a cache-state change the worker sent, handed back to it (written on the GUI
    // thread before the send returns, read by the worker after).
    std::exception_ptr FStateChangeError;
    // Cache-state messages this window ran (GUI thread only).
    unsigned long FStateMessagesHandled = 0;
    TChangeReason FLastStructureChangeReason = crIgnore;
    PLazyNode FLastStructureChangeNode = nullptr;
    PLazyNode FLastChangedNode = nullptr;
    std::uint32_t FChangeDelay = 0;
    TCache FPositionCache;
    TCache FFinePositionIndex;
    std::size_t FCacheRegularEntries = 0;
    std::uint32_t FStartIndex = 0;
    std::uint32_t FVisibleCount = 0;
    TNodeArray FSelection;
    int FSelectionCount = 0;
    bool FSelectionLocked = false;
    PLazyNode FRangeAnchor = nullptr;
    int FLastSelectionLevel = -1;
    PLazyNode FCheckNode = nullptr;
    TCheckState FPendingCheckState = csUncheckedNormal;
    std::uint32_t FCheckPropagationCount = 0;
    TNodeArray FTempNodeCache;
    std::uint32_t FTempNodeCount = 0;
    TNodeArray FSingletonNodeArray = TNodeArray(1);
    std::uint32_t FAnimationDuration = 200;
    std::uint32_t FOperationCount = 0;
    bool FOperationCanceled = false;
    PLazyNode FNextNodeToSelect = nullptr;
    PLazyNode FFocusedNode = nullptr;
    TColumnIndex FFocusedColumn = NoColumn;
    PLazyNode FCurrentHotNode = nullptr;
    PLazyNode FDropTargetNode = nullptr;
    TCheckImageKind FCheckImageKind = ckSystemDefault;
    int FOffsetX = 0;
    bool FVclStyleEnabled = false;
    const TLTStyleQuery* FStyleQuery = nullptr;
    TLTStyleElements FStyleElements = AllStyleElements;
    // The tree applies a window theme itself: its own WM_THEMECHANGED recreates nothing.
    bool FChangingTheme = false;
    TBevelKind FBevelKind = bkNone;
    plat::TBevelCut FBevelInner = plat::bvRaised;
    plat::TBevelCut FBevelOuter = plat::bvLowered;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    int FOffsetY = 0;
    std::uint32_t FRangeY = 0;
    std::uint32_t FBottomSpace = 0;
    bool FWorkerAcquired = false;

    // ---- view ----
    void InitView();
    void PaintCell(TLTPaintInfo& PaintInfo, const plat::TRect& Window, const plat::TRect& TargetRect, int MaximumBottom,
                   bool IsMainColumn, bool ShowCheckImages, bool ShowStateImages, bool ShowImages, int IndentSize,
                   const TLineImage& LineImage, int VAlign, int ButtonX, int ButtonY);
    void BlendSelectionArea(const TLTPaintInfo& PaintInfo, const plat::TRect& InnerRect, int WindowOrgX, int MaxWidth,
                            plat::TColor Color);
    bool UsableBackground() const;
    bool ReadyToRepaint() const;
    void ApplyCheckImageKind();
    static void PrepareButtonBitmap(plat::TBitmap& B, int Size);

    std::unique_ptr<TLTColors> FColors;
    int FMargin = 4;
    int FTextMargin = 4;
    TLTLineStyle FLineStyle = lsDotted;
    TLTLineMode FLineMode = lmNormal;
    TLTButtonStyle FButtonStyle = bsRectangle;
    TLTButtonFillMode FButtonFillMode = fmTreeColor;
    TLTNodeAlignment FNodeAlignment = naProportional;
    plat::TCustomImageList* FImages = nullptr;
    plat::TCustomImageList* FStateImages = nullptr;
    plat::TCustomImageList* FCustomCheckImages = nullptr;
    plat::TCustomImageList* FCheckImages = nullptr;
    plat::TBrush FDottedBrush;
    std::unique_ptr<plat::TBitmap> FPlusBM, FHotPlusBM, FSelectedHotPlusBM, FMinusBM, FHotMinusBM, FSelectedHotMinusBM;
    bool FHotNodeButtonHit = false;
    int FSelectionCurveRadius = 0;
    int FSelectionBlendFactor = 128;
    TLTDrawSelectionMode FDrawSelectionMode = smDottedRectangle;
    std::unique_ptr<plat::TPicture> FBackground;
    int FBackgroundOffsetX = 0;
    int FBackgroundOffsetY = 0;
    String FEmptyListMessage;
    plat::TRect FNewSelRect;
    TDropMode FLastDropMode = dmNowhere;
    TColumnIndex FCurrentHotColumn = NoColumn;
    TColumnIndex FEditColumn = NoColumn;
    TBiDiMode FBiDiMode = bdLeftToRight;
    TAlignment FAlignment = taLeftJustify;
    plat::TNotifyEvent FOldFontChange;
    bool FFontHooked = false;
    bool FFontChanged = false;
    // The row bitmap of the running pass (null when unbuffered or idle).
    plat::TBitmap* FPaintBitmap = nullptr;

    // ---- columns and header: the tree's side ----
public:
    std::function<void(TLTHeader*, TColumnIndex)> OnColumnResize;
    std::function<void(TLTHeader*, plat::TPoint, TColumnIndex, bool& Allowed)> OnCanSplitterResizeColumn;
    std::function<void(TBaseLazyTree*, TColumnIndex, bool Visible)> OnColumnVisibilityChanged;
    std::function<void(TLTHeader*, TSmartAutoFitType&)> OnBeforeAutoFitColumns;
    std::function<void(TLTHeader*, TColumnIndex, TSmartAutoFitType&, bool& Allowed)> OnBeforeAutoFitColumn;
    std::function<void(TLTHeader*, TColumnIndex)> OnAfterAutoFitColumn;
    std::function<void(TLTHeader*)> OnAfterAutoFitColumns;
    std::function<void(TLTHeader*, TColumnIndex, bool& UseSmartColumnWidth)> OnBeforeGetMaxColumnWidth;
    std::function<void(TLTHeader*, TColumnIndex, int& MaxWidth)> OnAfterGetMaxColumnWidth;
    // The widest content of the column: over the nodes in view with UseSmartColumnWidth, else
    // over all visible nodes; the current width once the running operation is cancelled.
    virtual int GetMaxColumnWidth(TColumnIndex Column, bool UseSmartColumnWidth = false);
    // Repaints the client strip under the column (full client height).
    void InvalidateColumn(TColumnIndex Column);
    // After a width change: remeasure multi-line nodes, update the range, repaint, notify.
    virtual void DoColumnResize(TColumnIndex Column);
    // The main column changed: an edit is cancelled.
    virtual void MainColumnChanged();
    // Loading from a form or being destroyed: column and header setters only store.
    bool IsTreeLoading() const { return (ComponentState() & plat::csLoading) != 0; }
    bool IsTreeDestroying() const { return (ComponentState() & plat::csDestroying) != 0; }
    void SetFocusedColumnField(TColumnIndex Value) { FFocusedColumn = Value; }
    void CancelEdit() { CancelEditNode(); }
    int HeaderFrameWidth() const { return FrameWidth(); }
    // The layer's own handling of a non-client message (frame, scroll bars, hit test).
    void DefaultNonClient(plat::TMessage& Message) { plat::TCustomControl::WndProc(Message); }
    // The painting pass over columns: rows, the cells of a row, the area below the rows.
    virtual void SpanCellRect(TLTPaintInfo& PaintInfo, TColumnIndex& NextNonEmpty);
    // True when the node's cell in Column shows nothing (the string tree: an empty text).
    virtual bool CellIsEmpty(PLazyNode, TColumnIndex) { return false; }
protected:
    void PaintRow(TLTPaintPass& P, PLazyNode Node, int& NodeTop);
    void PaintRowCells(TLTPaintPass& P, TLTPaintInfo& PaintInfo, const plat::TRect& ItemRect, int IndentSize,
                       int VAlign, int ButtonY);
    void PaintAreaBelow(TLTPaintPass& P);
    void PaintColumnStrips(TLTPaintPass& P, const plat::TRect& Area, plat::TPoint Below);
    void ClipCellToWindow(TLTPaintInfo& PaintInfo, const plat::TRect& Window, const plat::TRect& TargetRect,
                          int MaximumBottom);
    void PaintVertGridLine(TLTPaintInfo& PaintInfo);
public:
    // ---- header painting: the tree's events ----
public:
    std::function<void(TLTHeader*, plat::TCanvas*, TLazyTreeColumn*, const plat::TRect&, bool Hover, bool Pressed,
                       TLTDropMarkMode)> OnHeaderDraw;
    std::function<void(TLTHeader*, THeaderPaintInfo&, THeaderPaintElements&)> OnHeaderDrawQueryElements;
    std::function<void(TLTHeader*, THeaderPaintInfo&, THeaderPaintElements)> OnAdvancedHeaderDraw;
    virtual void DoHeaderDraw(plat::TCanvas* Canvas, TLazyTreeColumn* Column, const plat::TRect& R, bool Hover,
                              bool Pressed, TLTDropMarkMode DropMark);
    virtual void DoHeaderDrawQueryElements(THeaderPaintInfo& PaintInfo, THeaderPaintElements& Elements);
    virtual void DoAdvancedHeaderDraw(THeaderPaintInfo& PaintInfo, THeaderPaintElements Elements);
    // Draws the visible header into the window's non-client area.
    void PaintHeaderToWindow();
    // The check image of a column check box in the header, not selected.
    void PaintCheckControlAt(plat::TCanvas* Canvas, const TLTImageSlot& Slot) { PaintCheckControl(Canvas, Slot, false); }

    // ---- header mouse: the tree's header events (X, Y in header coordinates) ----
public:
    std::function<void(TLTHeader*, const TLTHeaderHitInfo&)> OnHeaderClick;
    std::function<void(TLTHeader*, const TLTHeaderHitInfo&)> OnHeaderDblClick;
    std::function<void(TLTHeader*, plat::TMouseButton, plat::TShiftState, int X, int Y)> OnHeaderMouseDown;
    std::function<void(TLTHeader*, plat::TShiftState, int X, int Y)> OnHeaderMouseMove;
    std::function<void(TLTHeader*, plat::TMouseButton, plat::TShiftState, int X, int Y)> OnHeaderMouseUp;
    std::function<void(TLTHeader*, TColumnIndex, bool& Allowed)> OnHeaderDragging;
    std::function<void(TLTHeader*, TColumnIndex, int OldPosition)> OnHeaderDragged;
    std::function<void(TLTHeader*, TColumnIndex, plat::TPoint DropPosition)> OnHeaderDraggedOut;
    std::function<void(TLTHeader*, TColumnIndex, plat::TShiftState)> OnBeforeColumnWidthTracking;
    std::function<void(TLTHeader*, TColumnIndex, plat::TShiftState, plat::TPoint& TrackPoint, plat::TPoint P,
                       bool& Allowed)> OnColumnWidthTracking;
    std::function<void(TLTHeader*, TColumnIndex)> OnAfterColumnWidthTracking;
    std::function<void(TLTHeader*, TColumnIndex, plat::TShiftState, plat::TPoint P, bool& Allowed)>
        OnColumnWidthDblClickResize;
    std::function<void(TLTHeader*, plat::TPoint P, bool& Allowed)> OnCanSplitterResizeHeader;
    std::function<void(TLTHeader*, plat::TShiftState)> OnBeforeHeaderHeightTracking;
    std::function<void(TLTHeader*, plat::TPoint& P, plat::TShiftState, bool& Allowed)> OnHeaderHeightTracking;
    std::function<void(TLTHeader*)> OnAfterHeaderHeightTracking;
    std::function<void(TLTHeader*, plat::TPoint& P, plat::TShiftState, bool& Allowed)> OnHeaderHeightDblClickResize;
    std::function<void(TLTHeader*, plat::TCursor& Cursor)> OnGetHeaderCursor;
    virtual void DoHeaderClick(const TLTHeaderHitInfo& HitInfo);
    virtual void DoHeaderDblClick(const TLTHeaderHitInfo& HitInfo);
    virtual void DoHeaderMouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y);
    virtual void DoHeaderMouseMove(plat::TShiftState Shift, int X, int Y);
    virtual void DoHeaderMouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y);
    virtual bool DoHeaderDragging(TColumnIndex Column);
    virtual void DoHeaderDragged(TColumnIndex Column, int OldPosition);
    virtual void DoHeaderDraggedOut(TColumnIndex Column, plat::TPoint DropPosition);
    virtual void DoGetHeaderCursor(plat::TCursor& Cursor);
    // The column's check state advances as a click on its header check box makes it.
    void UpdateColumnCheckState(TLazyTreeColumn* Column);
    // Stops the node area's timers and scrolling states before the header takes the mouse.
    void StopNodeAreaTimers(bool AlsoEditTimer);
    void KillTimerOfTree(std::uintptr_t Id) { KillTreeTimer(Id); }
    // Set once any node became multi-line: only then must a column resize remeasure heights.
    bool FHasMultilineNodes = false;
    // ---- in-place editing ----
public:
    std::function<void(TBaseLazyTree*, PLazyNode, TColumnIndex, PLTEditLink& EditLink)> OnCreateEditor;
    std::function<void(TBaseLazyTree*, PLazyNode, TColumnIndex)> OnEdited;
    std::function<void(TBaseLazyTree*, TColumnIndex)> OnEditCancelled;
    // Focuses Node and edits its cell in Column when CanEdit allows it; true when an edit
    // runs. "Node must not be nil." / "Column must be a valid column index (-1 if no header
    // is shown)." for a nil node or a column outside -1..count-1.
    virtual bool EditNode(PLazyNode Node, TColumnIndex Column);
    // toEditable, enabled, not toReadOnly, and column -1 or a coEditable column; then OnEditing.
    virtual bool CanEdit(PLazyNode Node, TColumnIndex Column);
    // End with acceptance / cancel a running or pending edit; true when nothing refused.
    bool EndEditNode();
    bool CancelEditNode();
    bool IsEditing() const { return HasState(tsEditing); }
    const PLTEditLink& EditLink() const { return FEditLink; }
    // Places the running editor over the focused node's text in the edit column.
    virtual void UpdateEditBounds();
protected:
    virtual PLTEditLink DoCreateEditor(PLazyNode Node, TColumnIndex Column);
    virtual bool DoEdited();
    virtual bool DoEditCancelled();
private:
    PLTEditLink FEditLink;

    // ---- input: hit testing, mouse, selection and focus ----
public:
    std::function<void(TBaseLazyTree*, const THitInfo&)> OnNodeClick;
    std::function<void(TBaseLazyTree*, const THitInfo&)> OnNodeDblClick;
    std::function<void(TBaseLazyTree*, PLazyNode, TColumnIndex, plat::TShiftState, plat::TPoint& TrackPoint,
                       plat::TPoint P, bool& Allowed)> OnNodeHeightTracking;
    std::function<void(TBaseLazyTree*, PLazyNode, TColumnIndex, plat::TShiftState, plat::TPoint P, bool& Allowed)>
        OnNodeHeightDblClickResize;
    std::function<void(TBaseLazyTree*, plat::TPoint P, PLazyNode, TColumnIndex, bool& Allowed)> OnCanSplitterResizeNode;
    std::function<void(TBaseLazyTree*, plat::TCursor&)> OnGetCursor;
    std::function<void(TBaseLazyTree*, PLazyNode OldNode, PLazyNode NewNode)> OnHotChange;
    std::function<void(TBaseLazyTree*, PLazyNode, TColumnIndex, plat::TPoint P, bool& AskParent,
                       plat::TPopupMenu*& PopupMenu)> OnGetPopupMenu;
    std::function<void(TBaseLazyTree*, PLazyNode, TColumnIndex, bool& IsEmpty)> OnGetCellIsEmpty;
    std::function<void(TBaseLazyTree*, PLazyNode OldNode, PLazyNode NewNode, TColumnIndex OldColumn,
                       TColumnIndex NewColumn, bool& Allowed)> OnFocusChanging;
    std::function<void(TBaseLazyTree*, PLazyNode, TColumnIndex, bool& Allowed)> OnEditing;
    std::function<void(TBaseLazyTree*, PLazyNode, TColumnIndex, bool& Allowed)> OnDragAllowed;
    TLTDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TLTDragMode Value) { FDragMode = Value; }

    virtual void GetHitTestInfoAt(int X, int Y, bool Relative, THitInfo& HitInfo);
    plat::TCursor HotCursor() const { return FHotCursor; }
    void SetHotCursor(plat::TCursor Value) { FHotCursor = Value; }
    int DragThreshold() const { return FDragThreshold; }
    void SetDragThreshold(int Value) { FDragThreshold = Value; }
    std::uint32_t EditDelay() const { return FEditDelay; }
    void SetEditDelay(std::uint32_t Value) { FEditDelay = Value; }
    TColumnIndex HotColumn() const { return FCurrentHotColumn; }
    PLazyNode RangeAnchor() const { return FRangeAnchor; }
    PLazyNode CheckNode() const { return FCheckNode; }
    TColumnIndex EditColumn() const { return FEditColumn; }
    plat::TPoint LastClickPos() const { return FLastClickPos; }

    void SelectAll(bool VisibleOnly);
    void InvertSelection(bool VisibleOnly);
    void SelectRange(PLazyNode StartNode, PLazyNode EndNode, bool AddOnly = true);
    void UnselectRange(PLazyNode StartNode, PLazyNode EndNode);
    void SetFocusedColumn(TColumnIndex Value);
    void SetFocusedNodeAndColumn(PLazyNode Node, TColumnIndex Column);
    virtual void EnsureNodeSelected();
    void FocusSomeNode();
    bool CanFocus() const override;
    // Vertical part of bringing a node into view; true when the view moved.
    virtual bool ScrollIntoView(PLazyNode Node, bool Center, bool Horizontally = false);
    // Brings a header column into view (centred with Center); false without header columns or
    // for an invalid column.
    virtual bool ScrollIntoView(TColumnIndex Column, bool Center);
    // The column under an absolute X with its absolute bounds, grown over empty neighbours of
    // Node with toAutoSpanColumns; -2 when no column lies there.
    TColumnIndex ColumnOfCellAt(PLazyNode Node, int X, int& Left, int& Right);
    // Moves the content to (X, Y) (each ≤ 0), clamped to the ranges; true when it moved.
    virtual bool DoSetOffsetXY(plat::TPoint Value);
    std::function<void(TBaseLazyTree*, int DeltaX, int DeltaY)> OnScroll;
    // The rubber band's current and previous rectangles (absolute tree coordinates).
    plat::TRect NewSelRect() const { return FNewSelRect; }

protected:
    virtual void ResolveHitPositionsLTR(THitInfo& HitInfo, int X, TAlignment Alignment, int Right);
    virtual void ResolveHitPositionsRTL(THitInfo& HitInfo, int X, TAlignment Alignment, int Right);
    virtual void ProcessMouseDblClick(plat::TMessage& Message, THitInfo& HitInfo);
    virtual void ProcessMouseDown(plat::TMessage& Message, THitInfo& HitInfo);
    virtual void ProcessMouseUp(plat::TMessage& Message, THitInfo& HitInfo);
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;
    bool CanSplitterResizeNode(plat::TPoint P, PLazyNode Node, TColumnIndex Column);
    virtual void DoNodeClick(const THitInfo& HitInfo);
    virtual void DoNodeDblClick(const THitInfo& HitInfo);
    virtual bool DoNodeHeightTracking(PLazyNode Node, TColumnIndex Column, plat::TShiftState Shift,
                                      plat::TPoint& TrackPoint, plat::TPoint P);
    virtual bool DoNodeHeightDblClickResize(PLazyNode Node, TColumnIndex Column, plat::TShiftState Shift, plat::TPoint P);
    virtual void DoGetCursor(plat::TCursor& Cursor);
    virtual void DoHotChange(PLazyNode Old, PLazyNode New);
    virtual plat::TPopupMenu* DoGetPopupMenu(PLazyNode Node, TColumnIndex Column, plat::TPoint P);
    virtual void ShowNodePopupMenu(PLazyNode Node, TColumnIndex Column, plat::TPoint P);
    virtual void DoGetCellIsEmpty(PLazyNode Node, TColumnIndex Column, bool& IsEmpty);
    virtual bool DoFocusChanging(PLazyNode OldNode, PLazyNode NewNode, TColumnIndex OldColumn, TColumnIndex NewColumn);
    virtual bool DoDragAllowed(PLazyNode Node, TColumnIndex Column);
    // Starts the edit of the focused node in FEditColumn (also the expiry of timer 2).
    virtual void StartEditing();
    void UpdateHotNode(int X, int Y);
    void ApplyClickSelection(PLazyNode LastFocused, PLazyNode Node, bool DragPending, plat::TShiftState Shift);
    void ExtendRangeSelection(PLazyNode LastFocused, PLazyNode NewFocused);
    void ResetRangeAnchor();
    bool ApplyFocusedNode(PLazyNode Node, bool Ask);
    void ChooseNextNodeToSelect(PLazyNode Node);
    bool UpdateRubberBand(int X, int Y);
    bool ApplyRubberBand();
    // A node the band entered or left: selected, unselected or (with Ctrl) toggled; true
    // when the band changed for it.
    bool ApplyBandHit(PLazyNode Node, bool InOld, bool InNew, bool DoSwitch);
    // The far edge of the main column's cell spanned over the empty cells beside it (right of it
    // when Rightwards, else left of it), in unscrolled column coordinates; Edge without any.
    int SpannedCellEnd(PLazyNode Node, TColumnIndex MainColumn, int Edge, bool Rightwards);
    virtual bool RubberBandHitsLTR(TColumnIndex MainColumn, int CellLeft, int CellRight, TAlignment Alignment,
                                   const plat::TRect& OldRect, const plat::TRect& NewRect);
    virtual bool RubberBandHitsRTL(TColumnIndex MainColumn, int CellLeft, int CellRight, TAlignment Alignment,
                                   const plat::TRect& OldRect, const plat::TRect& NewRect);
    // The mouse, focus and cancel-mode messages; true when Message was answered.
    bool InputMessage(plat::TMessage& Message);
    // The tree-view item request (TVM_GETITEMW) and the accessible-object request
    // (WM_GETOBJECT); true when Message was answered.
    bool AccessibilityMessage(plat::TMessage& Message);
    // After OnFocusChanged: the six events of the tree's accessible object, when it has an
    // item object.
    void NotifyAccessibleFocusChanged();
public:
    // ---- accessibility: the objects the registered providers made for this tree ----
    const plat::IAccessible& Accessible() const { return FAccessible; }
    void SetAccessible(plat::IAccessible Value) { FAccessible = std::move(Value); }
    const plat::IAccessible& AccessibleItem() const { return FAccessibleItem; }
    void SetAccessibleItem(plat::IAccessible Value) { FAccessibleItem = std::move(Value); }
    const String& AccessibleName() const { return FAccessibleName; }
    void SetAccessibleName(const String& Value) { FAccessibleName = Value; }
private:
    plat::IAccessible FAccessible;
    plat::IAccessible FAccessibleItem;
    String FAccessibleName;
protected:
    void StopInputTimers();
    // The node whose click check waits for the release, and the pressed look it shows.
    TCheckState FPendingCheckShown = csUncheckedNormal;

private:
    void MouseSelection(const THitInfo& HitInfo, plat::TShiftState ShiftState, bool ShiftEmpty, bool AltPressed,
                        bool CellHit, bool FullRowHit, bool IsHit, bool NodeSelected, bool MultiSelect,
                        bool FullRowDrag, bool ShouldDrag, TColumnIndex NewColumn, bool ColumnChange, bool RightButton);
    THitInfo HitAt(plat::TMessage& Message);
    plat::TCursor FHotCursor = plat::crDefault;
    int FDragThreshold = 5;
    std::uint32_t FEditDelay = 1000;
    plat::TPoint FHeightTrackPoint{};
    PLazyNode FHeightTrackNode = nullptr;
    TColumnIndex FHeightTrackColumn = NoColumn;
    plat::TPoint FLastClickPos{};
    plat::TShiftState FDrawSelShiftState = 0;
    plat::TRect FLastSelRect{};
    bool FPopupShownForClick = false;
    TLTDragMode FDragMode = dmManual;

    // ---- input: keyboard and incremental search ----
public:
    std::function<void(TBaseLazyTree*, std::uint16_t& CharCode, plat::TShiftState& Shift, bool& DoDefault)> OnKeyAction;
    std::function<void(TBaseLazyTree*, PLazyNode, const String& SearchText, int& Result)> OnIncrementalSearch;
    std::function<void(TBaseLazyTree*, PLazyNode, TColumnIndex, int& HelpContext)> OnGetHelpContext;
    TLTIncrementalSearch IncrementalSearch() const { return FIncrementalSearch; }
    void SetIncrementalSearch(TLTIncrementalSearch Value);
    std::uint32_t IncrementalSearchTimeout() const { return FSearchTimeout; }
    void SetIncrementalSearchTimeout(std::uint32_t Value) { FSearchTimeout = Value; }
    TLTSearchDirection IncrementalSearchDirection() const { return FSearchDirection; }
    void SetIncrementalSearchDirection(TLTSearchDirection Value) { FSearchDirection = Value; }
    TLTSearchStart IncrementalSearchStart() const { return FSearchStart; }
    void SetIncrementalSearchStart(TLTSearchStart Value) { FSearchStart = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    const String& SearchBuffer() const { return FSearchBuffer; }
    // The help topic F1 opens when no node answers OnGetHelpContext.
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    // The horizontal step of Ctrl+Left/Right: the header columns' scroll width when the header
    // has columns, else the tree's Indent.
    virtual int ScrollWidth() const;

protected:
    virtual bool DoKeyAction(std::uint16_t& CharCode, plat::TShiftState& Shift);
    virtual void ProcessSearchKey(char16_t CharCode);
    virtual int DoIncrementalSearch(PLazyNode Node, const String& SearchText);
    bool KeyboardMessage(plat::TMessage& Message);
    void TreeKeyDown(std::uint16_t CharCode, plat::TShiftState Shift);
    void NavigationKey(std::uint16_t CharCode, plat::TShiftState Shift);
    void StopIncrementalSearch();
    // Tab and Shift+Tab: the next (previous) focusable column, continuing in the next row.
    void TabToColumn(bool Forward);
    // Shift+Alt+PageDown/PageUp: the focused column moves by about a client width.
    void PageColumns(bool Right);

private:
    TLTIncrementalSearch FIncrementalSearch = isNone;
    std::uint32_t FSearchTimeout = 1000;
    TLTSearchDirection FSearchDirection = sdForward;
    TLTSearchStart FSearchStart = ssFocusedNode;
    bool FWantTabs = false;
    String FSearchBuffer;
    PLazyNode FLastSearchNode = nullptr;
    int FHelpContext = 0;

    // ---- input: scrolling ----
public:
    void SetOffsetX(int Value) { DoSetOffsetXY({Value, FOffsetY}); }
    void SetOffsetXY(plat::TPoint Value) { DoSetOffsetXY(Value); }
    int RangeX() const { return FRangeX; }
    int EffectiveOffsetX() const { return FEffectiveOffsetX; }
    void UpdateRanges();
    // RangeX: the columns' total width with header columns, else the widest content in view.
    void UpdateHorizontalRange();
    void UpdateVerticalScrollBar(bool DoRepaint);
    void UpdateHorizontalScrollBar(bool DoRepaint);
    PLazyNode TopNode();
    void SetTopNode(PLazyNode Node);
    PLazyNode BottomNode();
    void SetBottomNode(PLazyNode Node);
    std::uint32_t AutoScrollDelay() const { return FAutoScrollDelay; }
    void SetAutoScrollDelay(std::uint32_t Value) { FAutoScrollDelay = Value; }
    std::uint32_t AutoScrollInterval() const { return FAutoScrollInterval; }
    // 1..1000 ms.
    void SetAutoScrollInterval(std::uint32_t Value) { FAutoScrollInterval = std::clamp<std::uint32_t>(Value, 1, 1000); }
    std::function<void(TBaseLazyTree*, int Bar, bool Show)> OnShowScrollBar;
    enum TScrollDirection : unsigned { sdLeft = 1, sdUp = 2, sdRight = 4, sdDown = 8 };

protected:
    virtual bool MayAutoScroll();
    virtual unsigned ScrollDirectionsAt(int X, int Y);
    virtual void CheckAutoScroll(int X, int Y);
    virtual void TimerScroll();
    void ScrollBarMessage(plat::TMessage& Message, bool Vertical);
    void MouseWheel(plat::TShiftState Shift, int WheelDelta);
    void DoShowScrollBar(int Bar, bool Show);

    // Wheel panning: the "LTPanningWindow" popup centred on the start point (client
    // coordinates), shaped by its picture, and the panning cursors.
public:
    // The panning window while panning runs, else nullptr.
    plat::TWinControl* PanningWindow() const;
    // The picture the panning window shows ("LT_MOVEALL", "LT_MOVEEW" or "LT_MOVENS").
    const plat::TBitmap* PanningImage() const { return FPanningImage.get(); }
    // The cursor shown while panning (the screen cursor table's id), crDefault otherwise.
    plat::TCursor PanningCursor() const { return FPanningCursor; }

protected:
    // UpdateScrollBars until the client size stays (a bar shown or hidden changes the size the
    // other bar was set for), inside tsSizing.
    void SettleScrollBars();
    virtual void StartPanning(plat::TPoint P);
    virtual void StopPanning();
    virtual void UpdatePanningCursor(int X, int Y);

private:
    std::unique_ptr<plat::TWinControl> FPanningWindow;
    std::unique_ptr<plat::TBitmap> FPanningImage;
    plat::TCursor FPanningCursor = plat::crDefault;

private:
    std::uint32_t FAutoScrollDelay = 1000;
    std::uint32_t FAutoScrollInterval = 1;
    unsigned FScrollDirections = 0;

    // ---- data exchange: drag and drop ----
    // Two kinds of drag: the data exchange of the layer (dtOLE: across trees, windows and
    // programs, with a data object) and the framework's control drag (dtVCL: inside the
    // program, with a source object only). For both the tree works out the target node and the
    // drop mode under the pointer, scrolls at its edges, expands collapsed targets after
    // AutoExpandDelay (timer 1), marks the target, and leaves the decision and the transfer to
    // OnDragOver and OnDragDrop; ProcessDrop is a ready-made transfer between trees.
public:
    TLTDragType DragType() const { return FDragType; }
    void SetDragType(TLTDragType Value) { FDragType = Value; }
    // Effects offered as a drag source; an empty set offers copy, move and link.
    TDragOperations DragOperations() const { return FDragOperations; }
    void SetDragOperations(TDragOperations Value) { FDragOperations = Value; }
    TLTDragImageKind DragImageKind() const { return FDragImageKind; }
    void SetDragImageKind(TLTDragImageKind Value) { FDragImageKind = Value; }
    int DragWidth() const { return FDragWidth; }
    void SetDragWidth(int Value) { FDragWidth = Value; }
    int DragHeight() const { return FDragHeight; }
    void SetDragHeight(int Value) { FDragHeight = Value; }
    std::uint32_t AutoExpandDelay() const { return FAutoExpandDelay; }
    void SetAutoExpandDelay(std::uint32_t Value) { FAutoExpandDelay = Value; }
    // The picture that follows the pointer while nodes of this tree are dragged.
    TLTDragImage* DragImage();
    // Created on first use: OnCreateDragManager's, else a TLTDragManager of this tree.
    std::shared_ptr<ILTDragManager> DragManager();
    // dtVCL: the framework's control drag. dtOLE: immediately, or once the pointer is
    // Threshold pixels (the system's drag threshold when negative) away from the press.
    void BeginDrag(bool Immediate, int Threshold = -1);
    // An exchange drag of this tree is pending or running, or a control drag of its own.
    bool Dragging() const;
    // The nodes being dragged while this tree is the source of an exchange drag.
    const TNodeArray& DragSelection() const { return FDragSelection; }
    std::uint32_t LastDragEffect() const { return FLastDragEffect; }
    // Ready-made drop handling between trees: copies read from the data's node chunks, or the
    // nodes themselves moved when source and target live in this program.
    bool ProcessDrop(const std::shared_ptr<plat::IDataObject>& DataObject, PLazyNode TargetNode,
                     plat::TDropEffect& Effect, TLTNodeAttachMode Mode);
    // The drop-target side (points in screen coordinates); results are the exchange codes.
    virtual plat::HRESULT DropTargetEnter(std::uint32_t KeyState, plat::TPoint Pt, plat::TDropEffect& Effect);
    virtual plat::HRESULT DropTargetOver(plat::TObject* Source, std::uint32_t KeyState, plat::TDropEffect& Effect,
                                         plat::TPoint Pt, plat::TDragState State);
    virtual void DropTargetLeave();
    virtual plat::HRESULT DropTargetDrop(const std::shared_ptr<plat::IDataObject>& DataObject, std::uint32_t KeyState,
                                         plat::TPoint Pt, plat::TDropEffect& Effect);
    // Source is the dragged tree (or the control drag's source object); Accept starts false,
    // so a tree without a handler takes nothing.
    std::function<void(TBaseLazyTree*, plat::TObject* Source, plat::TShiftState, plat::TDragState, plat::TPoint,
                       TDropMode, plat::TDropEffect& Effect, bool& Accept)>
        OnDragOver;
    std::function<void(TBaseLazyTree*, plat::TObject* Source, const std::shared_ptr<plat::IDataObject>&,
                       const std::vector<std::uint16_t>& Formats, plat::TShiftState, plat::TPoint,
                       plat::TDropEffect& Effect, TDropMode)>
        OnDragDrop;
    std::function<void(TBaseLazyTree*, std::shared_ptr<ILTDragManager>&)> OnCreateDragManager;

protected:
    // The owner's data object for a drag it starts (OnCreateDataObject, else its own).
    std::shared_ptr<plat::IDataObject> DragDataObject();
    virtual void RunOleDrag(plat::TPoint HotSpot);
    virtual void DoDragDropLoop(plat::TDropEffect AllowedEffects, const std::shared_ptr<plat::IDataObject>& DataObject,
                                plat::TDropEffect& DragEffect);
    virtual plat::TDropEffect ProposeDropEffect(plat::TObject* Source, plat::TShiftState Shift,
                                                plat::TDropEffect AllowedEffects, plat::TPoint Pt);
    virtual TDropMode DropModeAt(plat::TPoint Pt, THitInfo& HitInfo, const plat::TRect& NodeRect);
    virtual void ExpandDropTarget();
    virtual void FinishVclDrag();
    virtual bool DoDragOver(plat::TObject* Source, plat::TShiftState Shift, plat::TDragState State, plat::TPoint Pt,
                            TDropMode Mode, plat::TDropEffect& Effect);
    virtual void DoDragDrop(plat::TObject* Source, const std::shared_ptr<plat::IDataObject>& DataObject,
                            const std::vector<std::uint16_t>& Formats, plat::TShiftState Shift, plat::TPoint Pt,
                            plat::TDropEffect& Effect, TDropMode Mode);
    virtual std::shared_ptr<ILTDragManager> DoCreateDragManager();
    void DoStartDrag(plat::TDragObject*& DragObject) override;
    void DoEndDrag(plat::TObject* Target, int X, int Y) override;
    void Loaded() override;
    // Drag image of this tree's nodes (hot spot in client coordinates).
    virtual bool DragImageWanted() { return FDragImageKind != diNoImage; }
    virtual void PrepareDragImage(plat::TPoint HotSpot, const std::shared_ptr<plat::IDataObject>& DataObject);
    // Repaints R (client coordinates) of this tree under Source's own drag image.
    virtual void UpdateDragImageArea(TBaseLazyTree* Source, plat::TRect R, bool Reshow, bool IncludeFrame);
    // CM_DRAG and the expand timer; true when handled.
    bool DragDropMessage(plat::TMessage& Message);
    // The drop target follows toAcceptOLEDrop and the window (CreateWnd, Loaded, the option).
    void UpdateDropTargetRegistration();
    // Ends every drag state of this tree and detaches its drag manager (the tree goes away).
    void ReleaseDragAndDrop();

private:
    friend class TLTDragManager;
    void RepaintDropTarget(PLazyNode Node, bool OwnImage, TBaseLazyTree* Source);
    TLTDragType FDragType = dtOLE;
    TDragOperations FDragOperations = doCopy | doMove;
    TLTDragImageKind FDragImageKind = diComplete;
    int FDragWidth = 200;
    int FDragHeight = 350;
    std::uint32_t FAutoExpandDelay = 1000;
    std::unique_ptr<TLTDragImage> FDragImage;
    std::shared_ptr<ILTDragManager> FDragManager;
    TNodeArray FDragSelection;
    std::uint32_t FLastDragEffect = 0;
    PLazyNode FLastVCLDragTarget = nullptr;
    plat::TDropEffect FVCLDragEffect = 0;
    std::uint32_t FDragScrollStart = 0;
    bool FDropTargetRegistered = false;

protected:
    int FRangeX = 0;
    int FEffectiveOffsetX = 0;
};

// The tree that owns Node (walking up to the hidden root). Asserts "Node must not be nil.".
TBaseLazyTree* OwnerTreeOfNode(PLazyNode Node);

// Text and owner-draw trees. Their content (texts, owner drawing) belongs to the view; the
// core gives them their class records, options classes and the string tree's width area.
enum TVSTTextType { ttNormal, ttStatic };
enum TLTExportType { etNone, etRTF, etHTML, etText, etExcel, etWord, etCustom };
// ---- content export: which nodes a renderer walks ----
// tstAll every node in tree order; tstInitialized initialised nodes; tstSelected selected
// nodes; tstCutCopySet nodes marked for cut or copy; tstVisible the visible-node walk;
// tstChecked nodes checked (csCheckedNormal).
enum TVSTTextSourceType { tstAll, tstInitialized, tstSelected, tstCutCopySet, tstVisible, tstChecked };
struct TVSTGetCellTextEventArgs {
    PLazyNode Node = nullptr;
    TColumnIndex Column = NoColumn;
    String CellText;
    String StaticText;
    TLTExportType ExportType = etNone;
};

class TCustomLazyStringTree;
using TVSTGetTextEvent = std::function<void(TCustomLazyStringTree*, PLazyNode, TColumnIndex, TVSTTextType, String& CellText)>;

// The tree whose cells show texts. Texts are asked for through OnGetCellText (both texts
// at once) or, without it, OnGetText; the tree stores none of them. Text[] answers
// DefaultText when no handler sets one; painting shows nothing then.
class TCustomLazyStringTree : public TBaseLazyTree {
public:
    explicit TCustomLazyStringTree(plat::TComponent* AOwner);
    String ClassName() const override { return u"TCustomLazyStringTree"; }
    TLazyTreeClass ClassType() const override;
    TCustomStringTreeOptions& TreeOptions() const;
    String DefaultText = u"Node";
    void SetDefaultText(const String& Value);

    std::function<void(TCustomLazyStringTree*, TVSTGetCellTextEventArgs&)> OnGetCellText;
    TVSTGetTextEvent OnGetText;
    std::function<void(TCustomLazyStringTree*, plat::TCanvas*, PLazyNode, TColumnIndex, TVSTTextType)> OnPaintText;
    std::function<void(TCustomLazyStringTree*, PLazyNode, TColumnIndex, const String&)> OnNewText;
    std::function<void(TCustomLazyStringTree*, plat::TCanvas*, PLazyNode, TColumnIndex, const String& S, int TextSpace,
                       String& Result, bool& Done)> OnShortenString;
    std::function<void(TCustomLazyStringTree*, plat::TCanvas*, PLazyNode, TColumnIndex, const String& Text,
                       const plat::TRect& CellRect, bool& DefaultDraw)> OnDrawText;
    std::function<void(TCustomLazyStringTree*, plat::TCanvas*, PLazyNode, TColumnIndex, const String&, int& Extent)> OnMeasureTextWidth;
    std::function<void(TCustomLazyStringTree*, plat::TCanvas*, PLazyNode, TColumnIndex, const String&, int& Extent)> OnMeasureTextHeight;
    std::function<void(TCustomLazyStringTree*, PLazyNode, TLTImageKind, TColumnIndex, String& ImageText)> OnGetImageText;
    // ---- hints ----
    std::function<void(TCustomLazyStringTree*, PLazyNode, TColumnIndex, TLTTooltipLineBreakStyle& LineBreakStyle,
                       String& HintText)> OnGetHint;
    void DoGetNodeHint(PLazyNode Node, TColumnIndex Column, String& HintText,
                       TLTTooltipLineBreakStyle& LineBreakStyle) override;
    void DoGetNodeTooltip(PLazyNode Node, TColumnIndex Column, String& HintText,
                          TLTTooltipLineBreakStyle& LineBreakStyle) override;

    // "Node must not be nil." for a nil node.
    String GetText(PLazyNode Node, TColumnIndex Column);
    void SetText(PLazyNode Node, TColumnIndex Column, const String& Value);
    String GetStaticText(PLazyNode Node, TColumnIndex Column);
    String GetImageText(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column);
    // The texts from the top-level ancestor down to Node, each followed by Delimiter.
    String Path(PLazyNode Node, TColumnIndex Column, char16_t Delimiter);
    bool GetMultiline(PLazyNode Node) const;
    void SetMultiline(PLazyNode Node, bool Value);
    plat::TRect InvalidateNode(PLazyNode Node) override;
    int ComputeNodeHeight(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, String S = String());
    void GetTextInfo(PLazyNode Node, TColumnIndex Column, plat::TFont& AFont, plat::TRect& R, String& Text);
    PLazyNode AddChild(PLazyNode Parent, const void* UserData = nullptr);
    // Texts of nodes to select again when they are added (toRestoreSelection): sorted, case-
    // insensitively unique; selecting a node records its text, deselecting drops it.
    std::vector<String>& PreviouslySelected() { return FPreviouslySelected; }
    int NodeTextWidth(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const String& Text);
    int StaticTextWidth(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const String& Text);
    int DoGetNodeWidth(PLazyNode Node, TColumnIndex Column, plat::TCanvas* Canvas) override;
    int NodeExtraWidth(PLazyNode Node, TColumnIndex Column, plat::TCanvas* Canvas = nullptr) override;
    // Every cached main-column width back to "not measured".
    void ResetAllTextWidths();
    // Incremental search: the node's text in the focused column starts with SearchText.
    int DoIncrementalSearch(PLazyNode Node, const String& SearchText) override;
    void SetChildCount(PLazyNode Node, std::uint32_t NewChildCount) override;
    void ReinitNode(PLazyNode Node, bool Recursive) override;
    // ---- columns: empty cells and spanning ----
    // A cell with text is never empty; an empty text asks OnGetCellIsEmpty (preset True).
    void DoGetCellIsEmpty(PLazyNode Node, TColumnIndex Column, bool& IsEmpty) override;
    bool CellIsEmpty(PLazyNode Node, TColumnIndex Column) override;
    // With toAutoSpanColumns a left-to-right cell grows over the empty visible columns after it.
    void SpanCellRect(TLTPaintInfo& PaintInfo, TColumnIndex& NextNonEmpty) override;
    // Cached pixel width of the node's main-column text; 0 = not measured.
    std::uint32_t CachedTextWidth(PLazyNode Node) const;
    void SetCachedTextWidth(PLazyNode Node, std::uint32_t Value);

    // ---- data exchange ----
    // The base rendering (tree data, the application's handler) when it succeeds; otherwise
    // the text formats through ContentToClipboard, of the cut/copy set (ForClipboard) or the
    // selection, as global memory.
    plat::HRESULT RenderFormat(const plat::TFormatEtc& Format, plat::TStgMedium& Medium, bool ForClipboard) override;

    // ---- content export (LazyTrees.Export) ----
    // Each renderer runs as an okExport operation and stops walking nodes when the operation
    // is cancelled. HTML, RTF and the custom export export only the nodes the tree's
    // ExportMode admits; delimited text writes every node of the walk.
    // The HTML table; texts, captions and font names are escaped for HTML.
    String ContentToHTML(TVSTTextSourceType Source, const String& Caption = String());
    // The RTF document (8-bit text).
    std::string ContentToRTF(TVSTTextSourceType Source);
    // Delimited text, lines ending in CR LF; a cell holding the separator, a double quote, CR
    // or LF is put in double quotes with inner quotes doubled.
    String ContentToText(TVSTTextSourceType Source, char16_t Separator);
    String ContentToText(TVSTTextSourceType Source, const String& Separator);
    String ContentToUnicode(TVSTTextSourceType Source, char16_t Separator);
    // The bytes of the global memory block rendering Format (CF_TEXT, CF_UNICODETEXT and the
    // registered CSV, RTF and HTML formats), each with its terminating NUL; empty for any
    // other format.
    std::vector<std::uint8_t> ContentToClipboard(plat::UINT Format, TVSTTextSourceType Source);
    // Fires the export events (etCustom) for the header and the exported nodes.
    void ContentToCustom(TVSTTextSourceType Source);
    // Top-level nodes as comma-separated quoted cells (" " for an empty text), written
    // atomically; false for an empty name or when the file cannot be written.
    bool SaveToCSVFile(const String& FileName, bool IncludeHeading);

    // Export events. HTML and RTF fire the header and column events around the header row,
    // OnBeforeNodeExport (false skips the node) and OnAfterNodeExport; the custom export
    // fires all of them and ignores the results.
    std::function<void(TCustomLazyStringTree*, TLTExportType)> OnBeforeTreeExport;
    std::function<void(TCustomLazyStringTree*, TLTExportType)> OnAfterTreeExport;
    std::function<void(TCustomLazyStringTree*, TLTExportType)> OnBeforeHeaderExport;
    std::function<void(TCustomLazyStringTree*, TLTExportType)> OnAfterHeaderExport;
    std::function<void(TCustomLazyStringTree*, TLTExportType, TColumnIndex)> OnBeforeColumnExport;
    std::function<void(TCustomLazyStringTree*, TLTExportType, TColumnIndex)> OnColumnExport;
    std::function<void(TCustomLazyStringTree*, TLTExportType, TColumnIndex)> OnAfterColumnExport;
    std::function<bool(TCustomLazyStringTree*, TLTExportType, PLazyNode)> OnBeforeNodeExport;
    std::function<bool(TCustomLazyStringTree*, TLTExportType, PLazyNode)> OnNodeExport;
    std::function<bool(TCustomLazyStringTree*, TLTExportType, PLazyNode)> OnAfterNodeExport;

    // The export's access to the painting hooks: the paint-text notification and the tree
    // canvas's font-change redirection.
    void ExportPaintText(PLazyNode Node, plat::TCanvas* Canvas, TColumnIndex Column, TVSTTextType TextType)
    {
        DoPaintText(Node, Canvas, Column, TextType);
    }
    void ExportHookFont(plat::TCanvas* Canvas) { HookCanvasFontChange(Canvas); }
    void ExportUnhookFont(plat::TCanvas* Canvas) { UnhookCanvasFontChange(Canvas); }
    // The cell's texts as the export sees them (the event arguments carry ExportType).
    void ExportGetText(TVSTGetCellTextEventArgs& Args) { DoGetText(Args); }

protected:
    TCustomLazyTreeOptions* CreateOptions() override { return new TCustomStringTreeOptions(this); }
    void DoAddToSelection(PLazyNode Node) override;
    void DoRemoveFromSelection(PLazyNode Node) override;
    // The handler's link, else a TStringEditLink.
    PLTEditLink DoCreateEditor(PLazyNode Node, TColumnIndex Column) override;
    virtual void DoGetText(TVSTGetCellTextEventArgs& Args);
    virtual void DoNewText(PLazyNode Node, TColumnIndex Column, const String& Text);
    virtual void DoPaintText(PLazyNode Node, plat::TCanvas* Canvas, TColumnIndex Column, TVSTTextType TextType);
    virtual String DoShortenString(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const String& S,
                                   int Width, int EllipsisWidth = 0);
    virtual void DoDrawText(TLTPaintInfo& PaintInfo, const String& Text, plat::TRect CellRect, unsigned DrawFormat);
    virtual plat::TSize DoMeasureText(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const String& Text);
    virtual void PaintNodeText(TLTPaintInfo& PaintInfo, String Text);
    virtual void PaintStaticText(TLTPaintInfo& PaintInfo, const String& Text);
    void PaintNodeContent(TLTPaintInfo& PaintInfo) override;
    void PrepareTextFont(TLTPaintInfo& PaintInfo);
    void WndProc(plat::TMessage& Message) override;
    void StoreNodeChunks(plat::TStream& Stream, PLazyNode Node) override;
    bool ReadNodeSubChunk(plat::TStream& Stream, int Version, std::int64_t ChunkEnd, std::int32_t ChunkSize,
                          std::int32_t ChunkType, PLazyNode Node, unsigned Depth) override;

private:
    std::uint8_t* WidthArea(PLazyNode Node) const;
    void UpdateFontMetrics();
    std::uint32_t FInternalDataOffset = 0;
    int FTextHeight = 0;
    int FEllipsisWidth = 0;
    // Set by a text handler that wants its text cell filled (opaque background).
    bool FTextOpaque = false;
    std::vector<String> FPreviouslySelected;
};

class TLazyStringTree : public TCustomLazyStringTree {
public:
    explicit TLazyStringTree(plat::TComponent* AOwner);
    String ClassName() const override { return u"TLazyStringTree"; }
    TLazyTreeClass ClassType() const override;
    TStringTreeOptions& TreeOptions() const;

protected:
    TCustomLazyTreeOptions* CreateOptions() override { return new TStringTreeOptions(this); }
};

// The tree whose cells the application draws (OnDrawNode); without a handler a cell shows
// lines, buttons and images but no content.
class TCustomLazyDrawTree : public TBaseLazyTree {
public:
    explicit TCustomLazyDrawTree(plat::TComponent* AOwner) : TBaseLazyTree(AOwner) {}
    String ClassName() const override { return u"TCustomLazyDrawTree"; }
    std::function<void(TCustomLazyDrawTree*, const TLTPaintInfo&)> OnDrawNode;
    std::function<void(TCustomLazyDrawTree*, plat::TCanvas* HintCanvas, PLazyNode, TColumnIndex, int& NodeWidth)> OnGetNodeWidth;
    // Reached only from code: the draw tree publishes no property for it.
    std::function<void(TCustomLazyDrawTree*, plat::TCanvas* HintCanvas, PLazyNode, TColumnIndex,
                       TLTCellContentMarginType, plat::TPoint& CellContentMargin)> FOnGetCellContentMargin;
    plat::TPoint GetCellContentMargin(PLazyNode Node, TColumnIndex Column,
                                      TLTCellContentMarginType CellContentMarginType,
                                      plat::TCanvas* Canvas = nullptr) override;
    int DoGetNodeWidth(PLazyNode Node, TColumnIndex Column, plat::TCanvas* Canvas) override;
    // The application draws the hints of its nodes as it draws the nodes.
    TLTHintKind DefaultHintKind() const override { return vhkOwnerDraw; }

protected:
    void PaintNodeContent(TLTPaintInfo& PaintInfo) override;
};

class TLazyDrawTree : public TCustomLazyDrawTree {
public:
    explicit TLazyDrawTree(plat::TComponent* AOwner);
    String ClassName() const override { return u"TLazyDrawTree"; }

protected:
    TCustomLazyTreeOptions* CreateOptions() override { return new TLazyTreeOptions(this); }
};

} // namespace vtree
