#pragma once
// Columns and header of the tree control.
// - A tree's columns live in one TLazyTreeColumns owned by its TLTHeader. Index order is the
//   order of creation (what the programming interfaces and node data use); the position array
//   maps display positions to indexes and is always a permutation of 0..Count-1 outside
//   loading and Clear (tests/vtree/ColumnInvariants.h checks it after every change).
// - Column -1 is "no column" (a tree without columns shows one virtual column over the whole
//   client width); -2 is what searches and walks answer when they find nothing.
// - Setters clamp instead of failing. Records read from streams are untrusted: lengths and
//   counts are checked against the bytes left before anything is allocated, and a stored
//   position array that is not a permutation falls back to index order.
#include <cstdint>
#include <memory>
#include <vector>

#include "LazyTrees.Nodes.h"
#include "LazyTrees.Options.h"
#include "LazyTrees.PaintTypes.h"
#include "plat/Classes.h"
#include "plat/Controls.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"

namespace plat {
class TStream;
class TPopupMenu;
class TCustomImageList;
} // namespace plat

namespace vtree {

using plat::String;

using TColumnIndex = int;
using TColumnPosition = std::uint32_t;
constexpr TColumnIndex NoColumn = -1;
constexpr TColumnIndex InvalidColumn = -2;
enum TSortDirection { sdAscending, sdDescending };

class TBaseLazyTree;
class TLTHeader;
class TLazyTreeColumns;
class TLTDragImage;

enum TLazyTreeColumnStyle { vsText, vsOwnerDraw };
enum TLTHeaderColumnLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

enum TLTColumnOption : unsigned {
    coAllowClick, coDraggable, coEnabled, coParentBidiMode, coParentColor, coResizable, coShowDropMark,
    coVisible, coAutoSpring, coFixed, coSmartResize, coAllowFocus, coDisableAnimatedResize, coWrapCaption,
    coUseCaptionAlignment, coEditable
};
using TLTColumnOptions = std::uint16_t;
constexpr TLTColumnOptions ColBit(TLTColumnOption O) { return TLTColumnOptions(1u << O); }
constexpr TLTColumnOptions ColumnOptions(std::initializer_list<TLTColumnOption> L)
{
    TLTColumnOptions r = 0;
    for (auto o : L) r = TLTColumnOptions(r | ColBit(o));
    return r;
}
constexpr TLTColumnOptions DefaultColumnOptions =
    ColumnOptions({coAllowClick, coDraggable, coEnabled, coParentBidiMode, coParentColor, coResizable,
                   coShowDropMark, coVisible, coAllowFocus, coEditable});

enum TLTHeaderOption : unsigned {
    hoAutoResize, hoColumnResize, hoDblClickResize, hoDrag, hoHotTrack, hoOwnerDraw, hoRestrictDrag,
    hoShowHint, hoShowImages, hoShowSortGlyphs, hoVisible, hoAutoSpring, hoFullRepaintOnResize,
    hoDisableAnimatedResize, hoHeightResize, hoHeightDblClickResize, hoHeaderClickAutoSort,
    hoAutoColumnPopupMenu
};
using TLTHeaderOptions = std::uint32_t;
constexpr TLTHeaderOptions HdrBit(TLTHeaderOption O) { return TLTHeaderOptions(1u << O); }
constexpr TLTHeaderOptions HeaderOptions(std::initializer_list<TLTHeaderOption> L)
{
    TLTHeaderOptions r = 0;
    for (auto o : L) r |= HdrBit(o);
    return r;
}
constexpr TLTHeaderOptions AllHeaderOptions = (1u << 18) - 1;

enum THeaderState : unsigned {
    hsAutoSizing, hsDragging, hsDragPending, hsLoading, hsColumnWidthTracking, hsColumnWidthTrackPending,
    hsHeightTracking, hsHeightTrackPending, hsResizing, hsScaling, hsNeedScaling
};
using THeaderStates = std::uint32_t;
constexpr THeaderStates HsBit(THeaderState S) { return THeaderStates(1u << S); }

enum TLTHeaderStyle { hsThickButtons, hsFlatButtons, hsPlates };
enum TSmartAutoFitType { smaAllColumns, smaNoColumn, smaUseColumnOption };

// ---- header painting -----------------------------------------------------------------------

class TLazyTreeColumn;
enum TLTDropMarkMode { dmmNone, dmmLeft, dmmRight };
enum THeaderPaintElement : unsigned { hpeBackground, hpeDropMark, hpeHeaderGlyph, hpeSortGlyph, hpeText };
using THeaderPaintElements = unsigned;
constexpr THeaderPaintElements HpeBit(THeaderPaintElement E) { return 1u << E; }
struct THeaderPaintInfo {
    plat::TCanvas* TargetCanvas = nullptr;
    TLazyTreeColumn* Column = nullptr;  // nil while the strip's background is asked for
    plat::TRect PaintRectangle{};
    plat::TRect TextRectangle{};
    bool IsHoverIndex = false;
    bool IsDownIndex = false;
    bool IsEnabled = false;
    bool ShowHeaderGlyph = false;
    bool ShowSortGlyph = false;
    bool ShowRightBorder = false;
    TLTDropMarkMode DropMark = dmmNone;
    plat::TPoint GlyphPos{};
    plat::TPoint SortGlyphPos{};
};

// ---- header mouse: what a click hit ---------------------------------------------------------

enum TLTHeaderHitPosition : unsigned { hhiNoWhere, hhiOnColumn, hhiOnIcon, hhiOnCheckbox };
using TLTHeaderHitPositions = unsigned;
constexpr TLTHeaderHitPositions HhiBit(TLTHeaderHitPosition P) { return 1u << P; }
// X, Y in header coordinates (Y from the header's top).
struct TLTHeaderHitInfo {
    int X = 0;
    int Y = 0;
    plat::TMouseButton Button = plat::mbLeft;
    plat::TShiftState Shift = 0;
    TColumnIndex Column = NoColumn;
    TLTHeaderHitPositions HitPosition = 0;
};

// ---- one column ------------------------------------------------------------------------

class TLazyTreeColumn : public plat::TCollectionItem {
public:
    explicit TLazyTreeColumn(plat::TCollection* Collection);
    ~TLazyTreeColumn() override;
    String ClassName() const override { return u"TLazyTreeColumn"; }

    void Assign(const plat::TPersistent* Source) override;
    bool Equals(const plat::TObject* Other) const;
    // Text when every character is at most U+00FF, else "Column %d" with the index.
    String DisplayName() const override;
    TLazyTreeColumns* Owner() const;
    TBaseLazyTree* Tree() const;

    // The header rectangle narrowed to this column (window coordinates, not scrolled).
    plat::TRect GetRect() const;
    void GetAbsoluteBounds(int& Left, int& Right) const { Left = FLeft; Right = FLeft + FWidth; }
    // FLeft minus the horizontal offset unless the column is visible and fixed.
    int Left() const;
    void LoadFromStream(plat::TStream& Stream, int Version);
    void SaveToStream(plat::TStream& Stream) const;
    void ParentBiDiModeChanged();
    void ParentColorChanged();
    void RestoreLastWidth();
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value);
    TAlignment CaptionAlignment() const { return In(FOptions, coUseCaptionAlignment) ? FCaptionAlignment : FAlignment; }
    void SetCaptionAlignment(TAlignment Value);
    const String& CaptionText() const { return FCaptionText; }
    TCheckType CheckType() const { return FCheckType; }
    void SetCheckType(TCheckType Value);
    TCheckState CheckState() const { return FCheckState; }
    void SetCheckState(TCheckState Value);
    bool CheckBox() const { return FCheckBox; }
    void SetCheckBox(bool Value);
    plat::TColor Color() const { return FColor; }
    void SetColor(plat::TColor Value);
    TSortDirection DefaultSortDirection() const { return FDefaultSortDirection; }
    void SetDefaultSortDirection(TSortDirection Value) { FDefaultSortDirection = Value; }
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TLTHeaderColumnLayout Layout() const { return FLayout; }
    void SetLayout(TLTHeaderColumnLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value);
    TLTColumnOptions Options() const { return FOptions; }
    void SetOptions(TLTColumnOptions Value);
    TColumnPosition Position() const { return FPosition; }
    void SetPosition(TColumnPosition Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TLazyTreeColumnStyle Style() const { return FStyle; }
    void SetStyle(TLazyTreeColumnStyle Value);
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t Value) { FTag = Value; }
    virtual String GetText() const { return FText; }
    virtual void SetText(const String& Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int LastWidth() const { return FLastWidth; }
    bool BonusPixel() const { return FBonusPixel; }
    float SpringRest() const { return FSpringRest; }
    bool HasImage() const { return FHasImage; }
    const plat::TRect& ImageRect() const { return FImageRect; }
    // Header painting: where glyph, sort glyph and caption go inside the button's inner
    // rectangle Client (the button less 2 pixels all round).
    virtual void ComputeHeaderLayout(plat::TCanvas* DC, const plat::TRect& Client, bool UseHeaderGlyph,
                                     bool UseSortGlyph, plat::TPoint& HeaderGlyphPos, plat::TPoint& SortGlyphPos,
                                     plat::TSize& SortGlyphSize, plat::TRect& TextBounds, unsigned DrawFormat);

private:
    friend class TLazyTreeColumns;
    friend class TLTHeader;
    bool IsVisibleFixed() const { return In(FOptions, coVisible) && In(FOptions, coFixed); }

    String FText;
    String FHint;
    int FLeft = 0;
    int FWidth = 0;
    TColumnPosition FPosition = 0;
    int FMinWidth = 10;
    int FMaxWidth = 10000;
    TLazyTreeColumnStyle FStyle = vsText;
    int FImageIndex = -1;
    TBiDiMode FBiDiMode = bdLeftToRight;
    TLTHeaderColumnLayout FLayout = blGlyphLeft;
    int FMargin = 4;
    int FSpacing = 3;
    TLTColumnOptions FOptions = DefaultColumnOptions;
    std::intptr_t FTag = 0;
    TAlignment FAlignment = taLeftJustify;
    TAlignment FCaptionAlignment = taLeftJustify;
    int FLastWidth = 0;
    plat::TColor FColor = plat::clWindow;
    bool FBonusPixel = false;
    float FSpringRest = 0;
    String FCaptionText;
    bool FCheckBox = false;
    TCheckType FCheckType = ctCheckBox;
    TCheckState FCheckState = csUncheckedNormal;
    plat::TRect FImageRect{};
    bool FHasImage = false;
    TSortDirection FDefaultSortDirection = sdAscending;
};

// ---- the column collection -------------------------------------------------------------

using TIndexArray = std::vector<int>;
using TColumnsArray = std::vector<TLazyTreeColumn*>;

class TLazyTreeColumns : public plat::TCollection {
public:
    explicit TLazyTreeColumns(TLTHeader* AOwner);
    ~TLazyTreeColumns() override;
    String ClassName() const override { return u"TLazyTreeColumns"; }

    TLazyTreeColumn* Add() { return static_cast<TLazyTreeColumn*>(plat::TCollection::Add()); }
    TLazyTreeColumn* Items(int Index) const { return static_cast<TLazyTreeColumn*>(plat::TCollection::Items(Index)); }
    TLazyTreeColumn* operator[](int Index) const { return Items(Index); }
    virtual void Clear();
    void Assign(const plat::TPersistent* Source) override;
    bool Equals(const plat::TObject* Other) const;
    TLTHeader* Header() const { return FHeader; }
    TBaseLazyTree* Tree() const;

    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value) { FDefaultWidth = Value; }
    TColumnIndex ClickIndex() const { return FClickIndex; }
    TColumnIndex TrackIndex() const { return FTrackIndex; }
    const TIndexArray& PositionToIndex() const { return FPositionToIndex; }
    bool NeedPositionsFix() const { return FNeedPositionsFix; }

    void AnimatedResize(TColumnIndex Column, int NewWidth);
    // P in header coordinates; -2 when no column lies there.
    TColumnIndex ColumnFromPosition(plat::TPoint P, bool Relative = true) const;
    // The column at a display position, -1 past the end.
    TColumnIndex ColumnFromPosition(TColumnPosition PositionIndex) const;
    TColumnIndex GetColumnAndBounds(plat::TPoint P, int& Left, int& Right, bool Relative = true) const;
    void GetColumnBounds(TColumnIndex Column, int& Left, int& Right) const;
    int GetScrollWidth() const;
    TColumnIndex GetFirstColumn() const;
    TColumnIndex GetNextColumn(TColumnIndex Column) const;
    TColumnIndex GetPreviousColumn(TColumnIndex Column) const;
    TColumnIndex GetFirstVisibleColumn(bool ConsiderAllowFocus = false) const;
    TColumnIndex GetLastVisibleColumn(bool ConsiderAllowFocus = false) const;
    TColumnIndex GetNextVisibleColumn(TColumnIndex Column, bool ConsiderAllowFocus = false) const;
    TColumnIndex GetPreviousVisibleColumn(TColumnIndex Column, bool ConsiderAllowFocus = false) const;
    TColumnsArray GetVisibleColumns() const;
    int GetVisibleFixedWidth() const;
    bool IsValidColumn(TColumnIndex Column) const { return Column >= 0 && Column < Count(); }
    int TotalWidth() const;
    void LoadFromStream(plat::TStream& Stream, int Version);
    void SaveToStream(plat::TStream& Stream) const;
    virtual void DoCanSplitterResize(plat::TPoint P, TColumnIndex Column, bool& Allowed);
    bool CanSplitterResize(plat::TPoint P, TColumnIndex Column);
    // Header painting: the whole strip through the reused bitmap onto DC at R (window
    // coordinates), the scrolled part moved by HOffset; or the part R of the column space onto
    // TargetCanvas with R's top-left corner at Target.
    virtual void PaintHeader(plat::TCanvas* DC, const plat::TRect& R, int HOffset);
    virtual void PaintHeader(plat::TCanvas* TargetCanvas, plat::TRect R, plat::TPoint Target, int RTLOffset);
    // A caption, shortened with an ellipsis unless wrapped; disabled captions are engraved.
    virtual void DrawButtonText(plat::TCanvas* DC, String Caption, plat::TRect Bounds, bool Enabled, bool Hot,
                                unsigned DrawFormat, bool WrapCaption);
    // State that the header's mouse handling sets and painting shows.
    void SetPaintIndexes(TColumnIndex Hover, TColumnIndex Down, bool CheckBoxHit)
    {
        FHoverIndex = Hover;
        FDownIndex = Down;
        FCheckBoxHit = CheckBoxHit;
    }
    void SetDragIndexes(TColumnIndex Drag, TColumnIndex DropTarget, bool DropBefore)
    {
        FDragIndex = Drag;
        FDropTarget = DropTarget;
        FDropBefore = DropBefore;
    }

    // Header mouse: clicks (check boxes, automatic sorting, the automatic column menu) and the
    // hover and press indexes; P in client coordinates (the header rows are negative).
    virtual void HandleClick(plat::TPoint P, plat::TMouseButton Button, bool Force, bool DblClick);
    bool AdjustColumnIndex(plat::TPoint P, TColumnIndex& Index);
    bool AdjustHoverColumn(plat::TPoint P) { return AdjustColumnIndex(P, FHoverIndex); }
    TColumnIndex AdjustDownColumn(plat::TPoint P);
    TColumnIndex HoverIndex() const { return FHoverIndex; }
    TColumnIndex DownIndex() const { return FDownIndex; }
    TColumnIndex DragIndex() const { return FDragIndex; }
    TColumnIndex DropTarget() const { return FDropTarget; }
    bool DropBefore() const { return FDropBefore; }
    bool CheckBoxHit() const { return FCheckBoxHit; }
    plat::TPopupMenu* ColumnPopupMenu() const { return FColumnPopupMenu; }

    // Display-order maintenance.
    void InitializePositionArray();
    void UpdatePositions(bool Force = false);
    void AdjustPosition(TLazyTreeColumn* Column, TColumnPosition NewPosition);
    void FixPositions();
    void ReorderColumns(bool RightToLeft);
    void AdjustAutoSize(bool Force = false);

protected:
    void Update(plat::TCollectionItem* Item) override;
    void Notify(plat::TCollectionItem* Item, plat::TCollectionNotification Action) override;

private:
    friend class TLazyTreeColumn;
    friend class TLTHeader;
    void RemoveFromPositions(TColumnIndex OldIndex);
    bool TreeLoading() const;

    TLTHeader* FHeader = nullptr;
    TColumnIndex FHoverIndex = NoColumn;
    TColumnIndex FDownIndex = NoColumn;
    TColumnIndex FTrackIndex = NoColumn;
    TColumnIndex FClickIndex = NoColumn;
    bool FCheckBoxHit = false;
    TIndexArray FPositionToIndex;
    int FDefaultWidth = 50;
    bool FNeedPositionsFix = false;
    bool FClearing = false;
    TColumnIndex FDragIndex = NoColumn;
    TColumnIndex FDropTarget = NoColumn;
    bool FDropBefore = false;
    std::unique_ptr<plat::TBitmap> FHeaderBitmap;
    plat::TPopupMenu* FColumnPopupMenu = nullptr;  // the automatic column menu, owned by the tree
    void PaintButton(struct THeaderPaintInfo& PaintInfo, TColumnIndex Index, const plat::TRect& ButtonRect,
                     unsigned Requested, bool AdvancedOwnerDraw, bool OwnerDraw, const unsigned Edges[3][2]);
};

// ---- fixed-area constraints -------------------------------------------------------------

class TLTFixedAreaConstraints : public plat::TPersistent {
public:
    explicit TLTFixedAreaConstraints(TLTHeader* AOwner) : FHeader(AOwner) {}
    String ClassName() const override { return u"TLTFixedAreaConstraints"; }
    void Assign(const plat::TPersistent* Source) override;

    std::uint8_t MaxHeightPercent() const { return FMaxHeightPercent; }
    std::uint8_t MaxWidthPercent() const { return FMaxWidthPercent; }
    std::uint8_t MinHeightPercent() const { return FMinHeightPercent; }
    std::uint8_t MinWidthPercent() const { return FMinWidthPercent; }
    // Values above 100 become 100.
    void SetMaxHeightPercent(int Value);
    void SetMaxWidthPercent(int Value);
    void SetMinHeightPercent(int Value);
    void SetMinWidthPercent(int Value);
    plat::TNotifyEvent OnChange;

private:
    friend class TLTHeader;
    void Changed();
    TLTHeader* FHeader;
    std::uint8_t FMaxHeightPercent = 0;
    std::uint8_t FMaxWidthPercent = 0;
    std::uint8_t FMinHeightPercent = 0;
    std::uint8_t FMinWidthPercent = 0;
};

// ---- the header ---------------------------------------------------------------------------

class TLTHeader : public plat::TPersistent {
public:
    explicit TLTHeader(TBaseLazyTree* AOwner);
    ~TLTHeader() override;
    String ClassName() const override { return u"TLTHeader"; }
    void Assign(const plat::TPersistent* Source) override;

    // The fields the node store reads directly (sort column and direction, main column).
    // Write them through the setters below.
    TColumnIndex SortColumn = NoColumn;
    TSortDirection SortDirection = sdAscending;
    TColumnIndex MainColumn = NoColumn;

    TBaseLazyTree* Treeview() const { return FOwner; }
    TLazyTreeColumns& Columns() const { return *FColumns; }
    bool UseColumns() const { return FColumns->Count() > 0; }
    THeaderStates States() const { return FStates; }
    bool HasState(THeaderState S) const { return (FStates & HsBit(S)) != 0; }
    void SetStates(THeaderStates Enter, THeaderStates Leave);

    TColumnIndex AutoSizeIndex() const { return FAutoSizeIndex; }
    void SetAutoSizeIndex(TColumnIndex Value);
    plat::TColor Background() const { return FBackgroundColor; }
    void SetBackground(plat::TColor Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    plat::TFont& Font() { return FFont; }
    void SetFont(const plat::TFont& Value);
    TLTFixedAreaConstraints& FixedAreaConstraints() { return *FFixedAreaConstraints; }
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    plat::TCustomImageList* Images() const { return FImages; }
    void SetImages(plat::TCustomImageList* Value);
    // -1 when there are no columns.
    TColumnIndex GetMainColumn() const { return FColumns->Count() > 0 ? MainColumn : NoColumn; }
    void SetMainColumn(TColumnIndex Value);
    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int Value);
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int Value);
    TLTHeaderOptions Options() const { return FOptions; }
    void SetOptions(TLTHeaderOptions Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    plat::TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(plat::TPopupMenu* Value) { FPopupMenu = Value; }
    void SetSortColumn(TColumnIndex Value);
    void SetSortDirection(TSortDirection Value);
    int SplitterHitTolerance() const { return FSplitterHitTolerance; }
    void SetSplitterHitTolerance(int Value) { FSplitterHitTolerance = Value; }
    TLTHeaderStyle Style() const { return FStyle; }
    void SetStyle(TLTHeaderStyle Value);

    bool AllowFocus(TColumnIndex Column) const;
    // Window coordinates of the strip; empty without hoVisible.
    const plat::TRect& HeaderRect() const { return FHeaderRect; }
    void UpdateHeaderRect();
    virtual void RecalculateHeader();
    // P in client coordinates.
    virtual bool InHeader(plat::TPoint P) const;
    virtual bool InHeaderSplitterArea(plat::TPoint P) const;
    // With hoVisible the header takes the top of the window's non-client area: the client
    // rectangle starts below it and points on it answer HTBORDER. True when handled.
    bool HandleNonClientMessage(plat::TMessage& Message);
    // Repaints one button (nil: the whole header).
    void Invalidate(TLazyTreeColumn* Column, bool ExpandToBorder = false);
    virtual void LoadFromStream(plat::TStream& Stream);
    virtual void SaveToStream(plat::TStream& Stream) const;
    void RescaleHeader();
    virtual void ScaleHeader(int M, int D);
    void FontChanged();
    void FixedAreaConstraintsChanged();
    // Clamps the main column to 0..Count-1 (-1 without columns).
    void ValidateMainColumn();
    virtual bool CanWriteColumns() const { return true; }
    virtual void DoSetSortColumn(TColumnIndex Value);
    // Width at the last spring update.
    int LastWidth() const { return FLastWidth; }

    // Spreads ChangeBy pixels over the columns RangeStartCol..RangeEndCol whose options hold
    // all of Options, in proportion to their room, odd pixels rotating; answers the change made.
    int ResizeColumns(int ChangeBy, TColumnIndex RangeStartCol, TColumnIndex RangeEndCol,
                      TLTColumnOptions Options = ColBit(coVisible));
    // Spring columns take their share of a change of the header's width.
    void UpdateSpringColumns();
    // Visible, resizable columns get back their previous widths.
    void RestoreColumns();
    // Fits the visible, resizable columns at positions RangeStartCol..RangeEndCol (-1: all) to
    // their content; a cancelled okAutoFitColumns operation stops before the next column.
    virtual void AutoFitColumns(bool Animated = true, TSmartAutoFitType SmartAutoFitType = smaUseColumnOption,
                                int RangeStartCol = -1, int RangeEndCol = -1);
    virtual void DoBeforeAutoFitColumn(TColumnIndex Column, TSmartAutoFitType SmartAutoFitType, bool& Allowed);
    virtual void DoAfterAutoFitColumn(TColumnIndex Column);

    // ---- header mouse: the strip's mouse and keyboard interaction ----
    // Runs first in the tree's window procedure; true when the message was handled.
    virtual bool HandleMessage(plat::TMessage& Message);
    // The column whose resize edge lies under P (client coordinates): sets the track index and
    // the track point.
    virtual bool DetermineSplitterIndex(plat::TPoint P);
    // hoHeightResize, then OnCanSplitterResizeHeader.
    bool CanSplitterResize(plat::TPoint P);
    // Column dragging, screen points.
    void PrepareDrag(plat::TPoint P, plat::TPoint Start);
    void DragTo(plat::TPoint P);
    plat::TShiftState GetShiftState() const;
    TLTDragImage* DragImage() const { return FDragImage.get(); }
    plat::TPoint TrackPoint() const { return FTrackPoint; }
    virtual void DoAfterColumnWidthTracking(TColumnIndex Column);
    virtual void DoAfterHeightTracking();
    virtual void DoBeforeColumnWidthTracking(TColumnIndex Column, plat::TShiftState Shift);
    virtual void DoBeforeHeightTracking(plat::TShiftState Shift);
    virtual void DoCanSplitterResize(plat::TPoint P, bool& Allowed);
    virtual bool DoColumnWidthDblClickResize(TColumnIndex Column, plat::TPoint P, plat::TShiftState Shift);
    virtual bool DoColumnWidthTracking(TColumnIndex Column, plat::TShiftState Shift, plat::TPoint& TrackPoint,
                                       plat::TPoint P);
    virtual plat::TPopupMenu* DoGetPopupMenu(TColumnIndex Column, plat::TPoint P);
    virtual bool DoHeightTracking(plat::TPoint& P, plat::TShiftState Shift);
    virtual bool DoHeightDblClickResize(plat::TPoint& P, plat::TShiftState Shift);

private:
    friend class TLazyTreeColumns;
    friend class TLazyTreeColumn;
    bool TreeLoading() const;
    // Header mouse helpers.
    bool ColumnSplitterAt(plat::TPoint P);
    bool HandleHeaderMouseMove(plat::TMessage& Message);
    bool LeftButtonDown(plat::TMessage& Message, bool NonClient);
    bool LeftButtonUp(plat::TMessage& Message, bool NonClient);
    bool DoubleClick(plat::TMessage& Message);
    void EndInteraction(plat::TMessage& Message);
    plat::TPoint MessageClientPoint(const plat::TMessage& Message) const;
    plat::TPoint FDragStart{};   // screen point of the last left press
    plat::TPoint FTrackStart{};  // client point where a splitter drag began
    plat::TPoint FTrackPoint{};  // reference edge of the column being resized (client X)
    std::unique_ptr<TLTDragImage> FDragImage;

    void AutoSortAfterChange();
    void FinishLoading();

    TBaseLazyTree* FOwner;
    std::unique_ptr<TLazyTreeColumns> FColumns;
    int FHeight = 19;
    plat::TFont FFont;
    bool FParentFont = false;
    TLTHeaderOptions FOptions = HeaderOptions({hoColumnResize, hoDrag, hoShowSortGlyphs});
    TLTHeaderStyle FStyle = hsThickButtons;
    plat::TColor FBackgroundColor = plat::clBtnFace;
    TColumnIndex FAutoSizeIndex = 0;
    plat::TPopupMenu* FPopupMenu = nullptr;
    int FMaxHeight = 10000;
    int FMinHeight = 10;
    int FDefaultHeight = 19;
    std::unique_ptr<TLTFixedAreaConstraints> FFixedAreaConstraints;
    plat::TCustomImageList* FImages = nullptr;
    int FSplitterHitTolerance = 8;
    int FLastWidth = 0;
    THeaderStates FStates = 0;
    plat::TRect FHeaderRect{};
};

} // namespace vtree
