#pragma once
// The tree's option sets (bit n of a set = value n) and the options classes, one per tree
// class. Every setter compares first and does nothing for an unchanged set; a real change
// tells the owner tree what to redo. The flat legacy "Options" reader of stored forms is not
// provided: trees are built in code, never read from form streams.
#include <cstdint>

#include "plat/Classes.h"

namespace vtree {

class TBaseLazyTree;

enum TLTPaintOption : unsigned {
    toHideFocusRect, toHideSelection, toHotTrack, toPopupMode, toShowBackground, toShowButtons,
    toShowDropmark, toShowHorzGridLines, toShowRoot, toShowTreeLines, toShowVertGridLines,
    toThemeAware, toUseBlendedImages, toGhostedIfUnfocused, toFullVertGridLines,
    toAlwaysHideSelection, toUseBlendedSelection, toStaticBackground, toChildrenAbove,
    toFixedIndent, toUseExplorerTheme, toHideTreeLinesIfThemed, toShowFilteredNodes
};
enum TLTAnimationOption : unsigned { toAnimatedToggle, toAdvancedAnimatedToggle };
enum TLTAutoOption : unsigned {
    toAutoDropExpand, toAutoExpand, toAutoScroll, toAutoScrollOnExpand, toAutoSort,
    toAutoSpanColumns, toAutoTristateTracking, toAutoHideButtons, toAutoDeleteMovedNodes,
    toDisableAutoscrollOnFocus, toAutoChangeScale, toAutoFreeOnCollapse,
    toDisableAutoscrollOnEdit, toAutoBidiColumnOrdering
};
enum TLTSelectionOption : unsigned {
    toDisableDrawSelection, toExtendedFocus, toFullRowSelect, toLevelSelectConstraint,
    toMiddleClickSelect, toMultiSelect, toRightClickSelect, toSiblingSelectConstraint,
    toCenterScrollIntoView, toSimpleDrawSelection, toAlwaysSelectNode, toRestoreSelection
};
enum TLTMiscOption : unsigned {
    toAcceptOLEDrop, toCheckSupport, toEditable, toFullRepaintOnResize, toGridExtensions,
    toInitOnSave, toReportMode, toToggleOnDblClick, toWheelPanning, toReadOnly,
    toVariableNodeHeight, toFullRowDrag, toNodeHeightResize, toNodeHeightDblClickResize,
    toEditOnClick, toEditOnDblClick, toReverseFullExpandHotKey
};
enum TLTStringOption : unsigned { toSaveCaptions, toShowStaticText, toAutoAcceptEditChange };
enum TLTExportMode { emAll, emChecked, emUnchecked, emVisibleDueToExpansion, emSelected };

using TLTPaintOptions = std::uint32_t;
using TLTAnimationOptions = std::uint8_t;
using TLTAutoOptions = std::uint16_t;
using TLTSelectionOptions = std::uint16_t;
using TLTMiscOptions = std::uint32_t;
using TLTStringOptions = std::uint8_t;

// A set from its members: Set<TLTPaintOptions>({toShowRoot, toFixedIndent}).
template <class S, class E>
constexpr S Set(std::initializer_list<E> Members)
{
    S s = 0;
    for (E e : Members) s = S(s | (S(1) << e));
    return s;
}
template <class S, class E>
constexpr bool In(S Set, E Member) { return (Set >> Member) & 1u; }

constexpr TLTPaintOptions DefaultPaintOptions = Set<TLTPaintOptions, TLTPaintOption>(
    {toShowButtons, toShowDropmark, toShowRoot, toShowTreeLines, toThemeAware, toUseBlendedImages});
constexpr TLTAutoOptions DefaultAutoOptions = Set<TLTAutoOptions, TLTAutoOption>(
    {toAutoDropExpand, toAutoScrollOnExpand, toAutoSort, toAutoTristateTracking,
     toAutoDeleteMovedNodes, toAutoChangeScale});
constexpr TLTMiscOptions DefaultMiscOptions = Set<TLTMiscOptions, TLTMiscOption>(
    {toAcceptOLEDrop, toFullRepaintOnResize, toInitOnSave, toToggleOnDblClick, toWheelPanning,
     toEditOnClick});
constexpr TLTStringOptions DefaultStringOptions =
    Set<TLTStringOptions, TLTStringOption>({toSaveCaptions, toAutoAcceptEditChange});

class TCustomLazyTreeOptions : public plat::TPersistent {
public:
    explicit TCustomLazyTreeOptions(TBaseLazyTree* AOwner);

    TLTPaintOptions PaintOptions() const { return FPaintOptions; }
    TLTAnimationOptions AnimationOptions() const { return FAnimationOptions; }
    TLTAutoOptions AutoOptions() const { return FAutoOptions; }
    TLTSelectionOptions SelectionOptions() const { return FSelectionOptions; }
    TLTMiscOptions MiscOptions() const { return FMiscOptions; }
    TLTExportMode ExportMode() const { return FExportMode; }
    TBaseLazyTree* Owner() const { return FOwner; }

    void SetPaintOptions(TLTPaintOptions Value);
    void SetAnimationOptions(TLTAnimationOptions Value) { FAnimationOptions = Value; }
    void SetAutoOptions(TLTAutoOptions Value);
    void SetSelectionOptions(TLTSelectionOptions Value);
    void SetMiscOptions(TLTMiscOptions Value);
    void SetExportMode(TLTExportMode Value) { FExportMode = Value; }

    plat::String ClassName() const override { return u"TCustomLazyTreeOptions"; }

protected:
    void AssignTo(plat::TPersistent* Dest) const override;

private:
    friend class TBaseLazyTree;
    TBaseLazyTree* FOwner;
    TLTPaintOptions FPaintOptions = DefaultPaintOptions;
    TLTAnimationOptions FAnimationOptions = 0;
    TLTAutoOptions FAutoOptions = DefaultAutoOptions;
    TLTSelectionOptions FSelectionOptions = 0;
    TLTMiscOptions FMiscOptions = DefaultMiscOptions;
    TLTExportMode FExportMode = emAll;
};

class TLazyTreeOptions : public TCustomLazyTreeOptions {
public:
    using TCustomLazyTreeOptions::TCustomLazyTreeOptions;
    plat::String ClassName() const override { return u"TLazyTreeOptions"; }
};

class TCustomStringTreeOptions : public TCustomLazyTreeOptions {
public:
    using TCustomLazyTreeOptions::TCustomLazyTreeOptions;
    TLTStringOptions StringOptions() const { return FStringOptions; }
    void SetStringOptions(TLTStringOptions Value);
    plat::String ClassName() const override { return u"TCustomStringTreeOptions"; }

protected:
    void AssignTo(plat::TPersistent* Dest) const override;

private:
    TLTStringOptions FStringOptions = DefaultStringOptions;
};

class TStringTreeOptions : public TCustomStringTreeOptions {
public:
    using TCustomStringTreeOptions::TCustomStringTreeOptions;
    plat::String ClassName() const override { return u"TStringTreeOptions"; }
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollBarStyle { sbmRegular, sbm3D };

class TScrollBarOptions : public plat::TPersistent {
public:
    explicit TScrollBarOptions(TBaseLazyTree* AOwner) : FOwner(AOwner) {}
    bool AlwaysVisible() const { return FAlwaysVisible; }
    void SetAlwaysVisible(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    TScrollBarStyle ScrollBarStyle() const { return FScrollBarStyle; }
    void SetScrollBarStyle(TScrollBarStyle Value) { FScrollBarStyle = Value; }
    // 1..10000.
    std::uint16_t HorizontalIncrement() const { return FIncrementX; }
    void SetHorizontalIncrement(std::uint16_t Value) { FIncrementX = Clamp(Value); }
    std::uint16_t VerticalIncrement() const { return FIncrementY; }
    void SetVerticalIncrement(std::uint16_t Value) { FIncrementY = Clamp(Value); }
    void Assign(const plat::TPersistent* Source) override;
    plat::String ClassName() const override { return u"TScrollBarOptions"; }

private:
    static std::uint16_t Clamp(std::uint16_t V) { return V < 1 ? 1 : V > 10000 ? 10000 : V; }
    bool FAlwaysVisible = false;
    TBaseLazyTree* FOwner;
    TScrollStyle FScrollBars = ssBoth;
    TScrollBarStyle FScrollBarStyle = sbmRegular;
    std::uint16_t FIncrementX = 20;
    std::uint16_t FIncrementY = 20;
};

} // namespace vtree
