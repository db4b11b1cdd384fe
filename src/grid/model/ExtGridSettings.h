#pragma once
// The settings objects a string grid owns. Each holds what the grid's creation, copying
// and event hooks read; the behaviour behind most of them (search panel, printing,
// grouping, looks) lives with the features that use them. Assign copies from an object of
// the same class only and fires no event.
#include <functional>
#include <memory>
#include <vector>

#include "ExtObj.h"
#include "plat/Classes.h"
#include "plat/Graphics.h"
#include "plat/Printers.h"

namespace grid {

class TExtStringGrid;

enum TGridLook { glStandard, glSoft, glClassic, glZOD, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
enum TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum TControlStyle { csClassic, csFlat, csWinXP, csBorland, csZOD, csGlyph, csTheme };
enum TColumnSizeLocation { clRegistry, clIniFile };
enum TAutoSizeRows { arAll, arNormal, arFixed };
enum TFilterDropDownColumns { fdNormal, fdAll };

enum TWheelAction { waMoveSelection, waScroll };

using TIsDesigningEvent = std::function<void(plat::TObject* Sender, bool& IsDesigning)>;

struct TNavigationData {
    bool AllowInsertRow = false, AllowDeleteRow = false, AdvanceOnEnter = false;
    bool AutoGotoWhenSorted = false, AutoGotoIncremental = false, AutoComboDropSize = false;
    bool AllowClipboardShortCuts = false, AllowRTFClipboard = false, AllowSmartClipboard = false;
    bool AllowClipboardAlways = false;
    bool AllowClipboardColGrow = true, AllowClipboardRowGrow = true;
    TClipboardPasteAction ClipboardPasteAction = paReplace;
    bool CopyHTMLTagsToClipboard = true;
    bool AdvanceAutoEdit = true;
    bool CursorWalkEditor = false;
    bool CursorWalkAlwaysEdit = true;
    bool MoveRowOnSort = false, KeepScrollOnSort = false, ImproveMaskSel = false, AlwaysEdit = false;
    TInsertPosition InsertPosition = pInsertBefore;
    bool LineFeedOnEnter = false;
    THomeEndAction HomeEndKey = heFirstLastColumn;
    bool KeepHorizScroll = false, AllowFmtClipboard = false, TabToNextAtEnd = false;
    bool EditSelectAll = true;
    TAdvanceDirection TabAdvanceDirection = adLeftRight;
    bool SkipFixedCells = true, SkipDisabledRows = true, AllowCtrlEnter = true;
    bool AppendOnArrowDown = false;
    bool LeftRightRowSelect = true;
    bool MoveScrollOnly = false;
    bool ComboGetUpDown = true;
    plat::TNotifyEvent OnChange;
    bool AdvanceOnEnterLoop = true;
    TCursorAdvance CursorAdvance = caDefault;
    bool AdvanceSkipReadOnlyCells = true;
    bool CursorMoveRows = false;

};

// Keyboard and clipboard behaviour. Assign copies every setting but KeepScrollOnSort.
class TNavigation : public plat::TPersistent, public TNavigationData {
public:
    String ClassName() const override { return u"TNavigation"; }
    void Assign(const plat::TPersistent* Source) override;

    bool AdvanceAuto() const { return FAdvanceAuto; }
    // Switching it on also turns on AdvanceOnEnter; no event.
    void SetAdvanceAuto(bool Value);
    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    void SetAdvanceDirection(TAdvanceDirection Value);
    bool AdvanceInsert() const { return FAdvanceInsert; }
    void SetAdvanceInsert(bool Value);

private:
    TAdvanceDirection FAdvanceDirection = adLeftRight;
    bool FAdvanceInsert = false;
    bool FAdvanceAuto = false;
};

// Mouse behaviour. Assign copies every setting but SizeFixedRow, HotmailRowSelect,
// EditOnDblClickOnly and FixedComboValues.
class TMouseActions : public plat::TPersistent {
public:
    String ClassName() const override { return u"TMouseActions"; }
    void Assign(const plat::TPersistent* Source) override;

    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    // True also turns on disjunct row selection and the check-all check box; the grid is
    // repainted either way.
    void SetHotmailRowSelect(bool Value);
    // In design state switching one of the three disjunct selections on clears the other
    // two; at run time they may be on together.
    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool Value);
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool Value);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool Value);
    // The same field without the setter's side effect.
    void SetDisjunctRowSelectDirect(bool Value) { FDisjunctRowSelect = Value; }
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    // True fires OnDisableEdit.
    void SetEditOnDblClickOnly(bool Value);
    TWheelAction WheelAction() const { return FWheelAction; }
    void SetWheelAction(TWheelAction Value);
    plat::TStringList* FixedComboValues() const { return FFixedComboValues.get(); }
    void SetFixedComboValues(const plat::TStrings& Value) { FFixedComboValues->Assign(&Value); }

    bool ColSelect = false, RowSelect = false, AllSelect = false, DirectEdit = false;
    bool DirectComboDrop = false, DirectComboClose = false, DirectDateClose = false, DirectDateDrop = false;
    bool AllColumnSize = false, AllRowSize = false, CaretPositioning = false, SizeFixedCol = false;
    bool SizeFixedRow = false;
    TGridFixedCellEdit FixedRowsEdit = fceNone, FixedColsEdit = fceNone;
    TGridFixedCellEditor FixedRowsEditor = fceEdit, FixedColsEditor = fceEdit;
    bool RangeSelectAndEdit = false, NoAutoRangeScroll = false, PreciseCheckBoxCheck = false;
    bool PreciseNodeClick = true;
    bool CheckAllCheck = false, NodeAllExpandContract = false, MoveRowOnNodeClick = false;
    bool RowSelectPersistent = false, SelectOnRightClick = false, NoScrollOnPartialRow = false;
    int WheelIncrement = 0;
    bool AutoSizeColOnDblClick = true;
    bool DisjunctRowSelectNoCtrl = false;
    plat::TNotifyEvent OnChange;
    plat::TNotifyEvent OnInvalidate;
    plat::TNotifyEvent OnDisableEdit;
    TIsDesigningEvent OnIsDesigning;

private:
    bool Designing() const;
    bool FHotmailRowSelect = false;
    bool FDisjunctRowSelect = false, FDisjunctColSelect = false, FDisjunctCellSelect = false;
    bool FEditOnDblClickOnly = false;
    TWheelAction FWheelAction = waMoveSelection;
    std::unique_ptr<plat::TStringList> FFixedComboValues = std::make_unique<plat::TStringList>();
};

// The search panel under the grid. Assign copies neither AutoSearch, AutoThemeAdapt,
// SearchFixedCells nor LastSearch.
class TSearchFooter : public plat::TPersistent {
public:
    // DesignInit presets the captions, as when a grid is placed new in a form designer;
    // otherwise they start empty and come from the stored form.
    explicit TSearchFooter(bool DesignInit);
    String ClassName() const override { return u"TSearchFooter"; }
    void Assign(const plat::TPersistent* Source) override;

    // Fire OnChange only when the value changes.
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool ShowFindPrev() const { return FShowFindPrev; }
    void SetShowFindPrev(bool Value);
    bool ShowFindNext() const { return FShowFindNext; }
    void SetShowFindNext(bool Value);
    bool ShowHighLight() const { return FShowHighLight; }
    void SetShowHighLight(bool Value);
    bool ShowMatchCase() const { return FShowMatchCase; }
    void SetShowMatchCase(bool Value);
    // Fire OnChange on every write.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool Value);
    enum TText { tFindNext, tFindPrev, tMatchCase, tHighLight, tHintClose, tHintFindNext, tHintFindPrev,
                 tHintHighlight, tTextCount };
    const String& Text(TText Which) const { return FTexts[Which]; }
    void SetText(TText Which, const String& Value);
    const String& FindNextCaption() const { return FTexts[tFindNext]; }
    const String& FindPrevCaption() const { return FTexts[tFindPrev]; }
    const String& MatchCaseCaption() const { return FTexts[tMatchCase]; }
    const String& HighLightCaption() const { return FTexts[tHighLight]; }
    const String& HintClose() const { return FTexts[tHintClose]; }
    const String& HintFindNext() const { return FTexts[tHintFindNext]; }
    const String& HintFindPrev() const { return FTexts[tHintFindPrev]; }
    const String& HintHighlight() const { return FTexts[tHintHighlight]; }
    plat::TFont* Font() { return &FFont; }
    // Copies into the owned font, then fires OnChange.
    void SetFont(const plat::TFont& Value);

    bool AutoSearch = true;
    String LastSearch;
    int SearchColumn = -1;
    bool SearchActiveColumnOnly = false, SearchMatchStart = false, SearchFixedCells = false;
    bool SearchHiddenRows = false;
    bool AlwaysHighLight = false;
    TSearchDirection SearchDirection = sdTopBottom;
    plat::TNotifyEvent OnChange;

private:
    void Changed();
    bool FShowFindPrev = true, FShowFindNext = true;
    TColor FColorTo = plat::clBtnFace;
    TColor FColor = plat::clWhite;
    bool FVisible = false;
    bool FAutoThemeAdapt = false;
    bool FShowClose = true, FShowHighLight = true, FShowMatchCase = true;
    String FTexts[tTextCount];
    plat::TFont FFont;
};

class TBands : public plat::TPersistent {
public:
    String ClassName() const override { return u"TBands"; }
    void Assign(const plat::TPersistent* Source) override;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor Value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor Value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int Value);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int Value);
    int TotalLength() const { return FPrimaryLength + FSecondaryLength; }

    bool Print = false;
    plat::TNotifyEvent OnChange;

private:
    void ChangedWhileActive();
    bool FActive = false;
    TColor FPrimaryColor = plat::clInfoBk;
    TColor FSecondaryColor = plat::clWindow;
    int FPrimaryLength = 1;
    int FSecondaryLength = 1;
};

class TSyncGrid : public plat::TPersistent {
public:
    explicit TSyncGrid(TExtStringGrid* AOwner) : FOwner(AOwner) {}
    String ClassName() const override { return u"TSyncGrid"; }
    void Assign(const plat::TPersistent* Source) override;

    TExtStringGrid* Grid() const { return FGrid; }
    // A grid is never synchronised with itself.
    void SetGrid(TExtStringGrid* Value) { if (Value != FOwner) FGrid = Value; }

    bool ScrollHorizontal = false, ScrollVertical = false, SelectionRow = false, SelectionColumn = false;
    bool MoveRow = false, MoveColumn = false;

private:
    TExtStringGrid* FOwner;
    TExtStringGrid* FGrid = nullptr;  // not owned
};

class TFocusHelper : public plat::TPersistent {
public:
    String ClassName() const override { return u"TFocusHelper"; }
    void Assign(const plat::TPersistent* Source) override;
    bool Enabled = false;
};

// Where a printed header or footer text goes, which lines a print draws, and how columns are
// scaled to the page; ordinals are stored in print-settings files.
enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders {
    pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal, pbCustom
};
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

// What steers printing. Lengths are tenths of a millimetre. Assign copies every setting but
// FixedCellsAlways (fonts and title lines by content).
class TPrintSettings : public plat::TPersistent {
public:
    explicit TPrintSettings(TExtStringGrid* AGrid) : FGrid(AGrid) {}
    String ClassName() const override { return u"TPrintSettings"; }
    void Assign(const plat::TPersistent* Source) override;
    TExtStringGrid* Grid() const { return FGrid; }

    TPrintPosition Time = ppNone;
    TPrintPosition Date = ppNone;
    TPrintPosition PageNr = ppNone;
    String PageNumSep = u"/";
    String DateFormat = u"dd/mm/yyyy";
    TPrintPosition Title = ppNone;
    plat::TFont Font;        // normal cells when UseDisplayFont is false
    plat::TFont HeaderFont;
    plat::TFont FooterFont;
    TPrintBorders Borders = pbSingle;
    plat::TPenStyle BorderStyle = plat::psSolid;
    String TitleText;           // one line; TitleLines serve when it is empty
    plat::TStringList TitleLines;
    bool Centered = true;
    bool RepeatFixedRows = false, RepeatFixedCols = false;
    int FooterSize = 0, HeaderSize = 0, LeftSize = 0, RightSize = 0;
    int ColumnSpacing = 0, RowSpacing = 0, TitleSpacing = 0;
    plat::TPrinterOrientation Orientation = plat::poPortrait;
    String PagePrefix, PageSuffix;
    int FixedHeight = 0;
    bool UseFixedHeight = false;
    int FixedWidth = 0;
    bool UseFixedWidth = false;
    TFitToPage FitToPage = fpNever;
    bool NoAutoSize = false;
    bool PrintGraphics = false;
    String JobName;
    bool NoAutoSizeRow = false;
    int PageNumberOffset = 0, MaxPagesOffset = 0;
    plat::TFont FixedFont;      // fixed cells when UseDisplayFont is false
    bool UseDisplayFont = true;  // print with the grid's own Font and FixedFont
    bool UseDefaultOrientation = false;
    bool FixedCellsAlways = false;
    TColor BorderColor = 0;

    // The setters copy the given object's content.
    void SetFont(const plat::TFont& Value) { Font.Assign(Value); }
    void SetHeaderFont(const plat::TFont& Value) { HeaderFont.Assign(Value); }
    void SetFooterFont(const plat::TFont& Value) { FooterFont.Assign(Value); }
    void SetFixedFont(const plat::TFont& Value) { FixedFont.Assign(Value); }
    void SetTitleLines(const plat::TStrings& Value) { TitleLines.Assign(&Value); }

private:
    TExtStringGrid* FGrid;
};

// What the HTML export writes (src/grid/io/GridHTML.cpp). Assign copies every setting but
// ExportImages and ColWidths.
class THTMLSettings : public plat::TPersistent {
public:
    String ClassName() const override { return u"THTMLSettings"; }
    void Assign(const plat::TPersistent* Source) override;
    bool AutoPreview = false;
    int BorderSize = 1, CellSpacing = 0, CellPadding = 0;
    bool ConvertSpecialChars = false;
    bool ExportImages = true;
    String FooterFile, HeaderFile;
    bool NonBreakingText = false;
    String PrefixTag;
    bool SaveColor = true;
    bool SaveFonts = true;
    String SuffixTag, Summary, TableStyle;
    int Width = 100;  // percent
    bool XHTML = false;
    std::vector<int> ColWidths;  // widths of the exported columns, from the first one
};

// Look of in-cell controls: plain data that painting reads.
struct TControlLookData {
    int CheckSize = 15;   // pixels, side of a check box
    int RadioSize = 10;   // pixels, side of a radio button
    TControlStyle ControlStyle = csTheme;
    TColor Color = 0;
    TColor CommentColor = 0x0000FF;
    TColor ProgressBorderColor = 0x808080;
    int ProgressMarginX = 2, ProgressMarginY = 2;
    bool ProgressXP = false;
    bool FlatButton = false;
    bool DropDownAlwaysVisible = false;
    bool SpinButtonsAlwaysVisible = false;
    bool NoDisabledCheckRadioLook = false, NoDisabledButtonLook = false;
    bool CheckAlwaysActive = false, RadioAlwaysActive = false;
    bool FixedDropDownButton = false;
    int DropDownCount = 8;
    int HintMaxWidth = 0;
};

// The fixed-cell gradient colours of a control look, in the order of TFixedGradient.
enum TFixedGradient {
    fgFrom, fgTo, fgMirrorFrom, fgMirrorTo,
    fgHoverFrom, fgHoverTo, fgHoverMirrorFrom, fgHoverMirrorTo, fgHoverBorder,
    fgDownFrom, fgDownTo, fgDownMirrorFrom, fgDownMirrorTo, fgDownBorder,
    kFixedGradientCount
};

// Look of in-cell controls and the fixed-cell gradients. Each fixed-gradient setter also sets
// the grid's matching ZODGradient colour: the start, end, hover and pressed colours only
// when the value is a colour (no colour leaves the grid's value), the mirror colours always.
// The start, end and the two normal mirror colours reach the grid as RGB values and repaint
// it; the hover and pressed colours are stored in the grid as given, without a repaint.
class TControlLook : public plat::TPersistent, public TControlLookData {
public:
    explicit TControlLook(TExtStringGrid* AGrid = nullptr);
    String ClassName() const override { return u"TControlLook"; }
    // Copies the control settings and every fixed-gradient colour; the grid's colours stay.
    void Assign(const plat::TPersistent* Source) override;
    // The fixed-gradient defaults, set through the setters (so also into the grid).
    void Init();
    TColor FixedGradient(TFixedGradient Which) const { return FFixed[Which]; }
    void SetFixedGradient(TFixedGradient Which, TColor Value);
    TColor FixedGradientFrom() const { return FFixed[fgFrom]; }
    TColor FixedGradientTo() const { return FFixed[fgTo]; }
    TColor FixedGradientMirrorFrom() const { return FFixed[fgMirrorFrom]; }
    TColor FixedGradientMirrorTo() const { return FFixed[fgMirrorTo]; }
    TColor FixedGradientHoverFrom() const { return FFixed[fgHoverFrom]; }
    TColor FixedGradientHoverTo() const { return FFixed[fgHoverTo]; }
    TColor FixedGradientHoverBorder() const { return FFixed[fgHoverBorder]; }
    TColor FixedGradientDownFrom() const { return FFixed[fgDownFrom]; }
    TColor FixedGradientDownTo() const { return FFixed[fgDownTo]; }
    TColor FixedGradientDownBorder() const { return FFixed[fgDownBorder]; }
    void SetFixedGradientFrom(TColor V) { SetFixedGradient(fgFrom, V); }
    void SetFixedGradientTo(TColor V) { SetFixedGradient(fgTo, V); }
    void SetFixedGradientMirrorFrom(TColor V) { SetFixedGradient(fgMirrorFrom, V); }
    void SetFixedGradientMirrorTo(TColor V) { SetFixedGradient(fgMirrorTo, V); }
    void SetFixedGradientHoverFrom(TColor V) { SetFixedGradient(fgHoverFrom, V); }
    void SetFixedGradientHoverTo(TColor V) { SetFixedGradient(fgHoverTo, V); }
    void SetFixedGradientHoverMirrorFrom(TColor V) { SetFixedGradient(fgHoverMirrorFrom, V); }
    void SetFixedGradientHoverMirrorTo(TColor V) { SetFixedGradient(fgHoverMirrorTo, V); }
    void SetFixedGradientHoverBorder(TColor V) { SetFixedGradient(fgHoverBorder, V); }
    void SetFixedGradientDownFrom(TColor V) { SetFixedGradient(fgDownFrom, V); }
    void SetFixedGradientDownTo(TColor V) { SetFixedGradient(fgDownTo, V); }
    void SetFixedGradientDownMirrorFrom(TColor V) { SetFixedGradient(fgDownMirrorFrom, V); }
    void SetFixedGradientDownMirrorTo(TColor V) { SetFixedGradient(fgDownMirrorTo, V); }
    void SetFixedGradientDownBorder(TColor V) { SetFixedGradient(fgDownBorder, V); }

    // The glyphs of csGlyph check boxes and radio buttons (empty until set).
    plat::TBitmap* CheckedGlyph() const { return FGlyphs[0].get(); }
    plat::TBitmap* UnCheckedGlyph() const { return FGlyphs[1].get(); }
    plat::TBitmap* RadioOnGlyph() const { return FGlyphs[2].get(); }
    plat::TBitmap* RadioOffGlyph() const { return FGlyphs[3].get(); }

private:
    TExtStringGrid* FGrid;
    TColor FFixed[kFixedGradientCount];
    std::unique_ptr<plat::TBitmap> FGlyphs[4];
};

enum THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };

enum TProgressStyle { psXP, psClassic };

// Colours, levels and flags of the grid's progress cells. Every setter fires OnChange only
// when the value changes; Assign copies every property and fires OnChange once.
class TGridProgressAppearance : public plat::TPersistent {
public:
    String ClassName() const override { return u"TGridProgressAppearance"; }
    void Assign(const plat::TPersistent* Source) override;
    struct Values {
        TColor CompleteColor = 0x0000FF, CompleteFontColor = 0xFF0000;
        TColor UnCompleteColor = plat::clNone, UnCompleteFontColor = plat::clWindowText;
        TColor Level0Color = 0x00FF00, Level0ColorTo = 0xE1FFE1;
        TColor Level1Color = 0x00FFFF, Level1ColorTo = 0xCAFFFF;
        TColor Level2Color = 0x53A9FF, Level2ColorTo = 0xA8D3FF;
        TColor Level3Color = 0x0000FF, Level3ColorTo = 0xCACAFF;
        int Level1Perc = 70, Level2Perc = 90;
        TColor BorderColor = 0;
        bool ShowBorder = false, Stacked = false;
        bool ShowPercentage = true, CompletionSmooth = true, ShowGradient = true;
        int Steps = 11;
        TProgressStyle Style = psXP;
        friend bool operator==(const Values&, const Values&) = default;
    };
    const Values& Get() const { return FValues; }
    // Sets every value at once (OnChange once when anything changed).
    void Set(const Values& Value);
    template <class T>
    void SetValue(T Values::*Field, T Value) {
        if (FValues.*Field == Value) return;
        FValues.*Field = Value;
        if (OnChange) OnChange(this);
    }
    plat::TNotifyEvent OnChange;

private:
    Values FValues;
};

// The floating footer: a panel docked at the grid's bottom that shows, by FooterStyle, the
// last row as a frozen totals row, a preview of one column of the current row, a markup
// template filled from the current row, or what OnFooterPaint paints. The calculation kind of
// a column lives in the cell properties of its cell in the last row.
enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };
using TCalcFooterEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, String& Value)>;

class TFloatingFooter : public plat::TPersistent {
public:
    explicit TFloatingFooter(TExtStringGrid* AGrid) : FGrid(AGrid) {}
    String ClassName() const override { return u"TFloatingFooter"; }
    // CalculateHiddenRows, Color, Column, CustomTemplate, FooterStyle, Visible (through its
    // setter), ShowHint.
    void Assign(const plat::TPersistent* Source) override;
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    int Column() const { return FColumn; }
    void SetColumn(int Value);
    const String& CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const String& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    // Panel height + 1; the grid's row-height setter copies DefaultRowHeight into it.
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    bool CalculateHiddenRows = true;
    bool EnableCalculation = true;
    TColumnCalcType GetColumnCalc(int ACol) const;
    void SetColumnCalc(int ACol, TColumnCalcType Value);
    // Repaints the panel.
    void Invalidate();
    TCalcFooterEvent OnCalcFooter;

private:
    TExtStringGrid* FGrid;
    bool FVisible = false, FShowHint = false;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    TColor FColor = plat::clBtnFace, FBorderColor = plat::clNone;
    int FColumn = 0;
    String FCustomTemplate;
    int FHeight = 22;
};

// The grid's colour styles: the members of TExtStyle with the prefix gs.
enum TExtGridStyle {
    gsOffice2003Blue, gsOffice2003Silver, gsOffice2003Olive, gsOffice2003Classic, gsOffice2007Luna,
    gsOffice2007Obsidian, gsWindowsXP, gsWhidbey, gsCustom, gsOffice2007Silver, gsWindowsVista,
    gsWindows7, gsTerminal, gsOffice2010Blue, gsOffice2010Silver, gsOffice2010Black
};
enum TXPColorScheme { xpNone, xpBlue, xpGreen, xpGray, vistaAero };
// Scroll bars: the window's own, flat or encarta bars in the grid's colour and width, or
// the slim painted bars of the metro look.
enum TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };
// Scroll bars that show the row or column of the dragged thumb in a hint.
enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum TScrollBarAlways { saNone, saVert, saHorz, saBoth };

// "glStandard" .. "glOffice2007"; glCustom gives Current unchanged.
String LookToText(TGridLook Look, const String& Current = String());
// "Standard", "Soft", "Classic", "ZOD", "Windows XP", "ListView", "Windows Vista",
// "Windows 7", "Office2007"; glCustom gives an empty text.
String LookToDisplayName(TGridLook Look);

// The marker of modified rows: a bar at the right of column 0 in Color.
class TShowModified : public plat::TPersistent {
public:
    String ClassName() const override { return u"TShowModified"; }
    // Copies Color and Enabled; fires nothing.
    void Assign(const plat::TPersistent* Source) override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);  // fires OnChange
    plat::TNotifyEvent OnChange;

private:
    bool FEnabled = false;
    TColor FColor = 0x00FFFF;
};

// The picture or gradient under the cells (painted by GridBackground.cpp). Every setter
// stores (the bitmap is copied) and repaints the grid.
enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };
class TBackGround : public plat::TPersistent {
public:
    explicit TBackGround(TExtStringGrid* AGrid);
    ~TBackGround() override;
    String ClassName() const override { return u"TBackGround"; }
    // Copies position, display, cells, colours and bitmap, then repaints once.
    void Assign(const plat::TPersistent* Source) override;
    int Top() const { return FTop; }
    void SetTop(int Value);
    int Left() const { return FLeft; }
    void SetLeft(int Value);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay Value);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    const plat::TBitmap* Bitmap() const { return FBitmap.get(); }
    // nullptr empties the bitmap.
    void SetBitmap(const plat::TBitmap* Value);

private:
    void Changed();
    TExtStringGrid* FGrid;
    int FTop = 0, FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    TBackGroundCells FCells = bcNormal;
    TColor FColor = plat::clWindow, FColorTo = plat::clBtnFace;
    std::unique_ptr<plat::TBitmap> FBitmap;
};

// Grouping looks and options. Assign copies all but the line widths, line colours and
// Summary.
class TGrouping : public plat::TPersistent {
public:
    String ClassName() const override { return u"TGrouping"; }
    void Assign(const plat::TPersistent* Source) override;
    static constexpr TColor kColorNotSet = 0x1FFFFFFF;
    bool MergeHeader = false;
    bool MergeSummary = false;
    TColor HeaderColor = kColorNotSet, HeaderColorTo = kColorNotSet, HeaderTextColor = kColorNotSet;
    bool Summary = false;
    TColor SummaryColor = kColorNotSet, SummaryColorTo = kColorNotSet, SummaryTextColor = kColorNotSet;
    bool ShowGroupCount = false;
    String GroupCountFormat;
    bool HeaderUnderline = false;
    TColor HeaderLineColor = 0xFF0000;
    int HeaderLineWidth = 2;
    bool SummaryLine = false;
    TColor SummaryLineColor = 0xFF0000;
    int SummaryLineWidth = 2;
    // Toggling a check box of a node row sets the rows of its span; toggling one of those
    // rows sets the node row's tri-state box from them (grayed when they differ).
    bool AutoCheckGroup = false;
    bool AutoSelectGroup = false;
};

class TColumnSize : public plat::TPersistent {
public:
    explicit TColumnSize(TExtStringGrid* AOwner = nullptr) : FOwner(AOwner) {}
    String ClassName() const override { return u"TColumnSize"; }
    // Copies every setting; the owner stays.
    void Assign(const plat::TPersistent* Source) override;
    bool Save = false;
    String Key;
    String Section;
    // Setting it to true stretches the owner's stretch column at once when the owner has a
    // parent.
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    int StretchColumn = -1;
    bool SynchWithGrid = false;
    bool SynchNormalCellsOnly = false;
    TColumnSizeLocation Location = clRegistry;
    TAutoSizeRows Rows = arAll;

private:
    TExtStringGrid* FOwner;
    bool FStretch = false;
};

} // namespace grid
