#pragma once
// TExtColumnGrid: a string grid with one TGridColumnItem per real column (hidden columns
// included) that describes the column: header, width, colours, fonts, alignment, editor
// kind with combo items, check values, read-only and fixed flags, borders and print
// settings. The grid answers its cell hooks from the items first; cell properties and
// the form's events can still override. The item count follows the column count.
//
// Columns[i] with i outside 0 .. Count - 1 raises EListError.
#include "ExtGrid.h"

namespace plat { class TPopupMenu; }

namespace grid {

class TExtColumnGrid;
class TGridColumnCollection;

enum TColumnPopupType {
    cpFixedCellsRClick, cpFixedCellsLClick, cpNormalCellsRClick, cpNormalCellsLClick, cpAllCellsRClick,
    cpAllCellsLClick
};

class TGridColumnItem : public plat::TCollectionItem {
public:
    // Without a collection the item takes nothing from a grid and reports no changes.
    explicit TGridColumnItem(plat::TCollection* Collection);
    ~TGridColumnItem() override;
    String ClassName() const override { return u"TGridColumnItem"; }
    void Assign(const plat::TPersistent* Source) override;
    // Assign without the identity of the column (header, name, tag, combo items and their
    // drop-down count, header font); colour and font come from the grid.
    void AssignVisuals(const plat::TPersistent* Source);
    String DisplayName() const override;

    TExtColumnGrid* Grid() const;

    const String& Header() const { return FColumnHeader; }
    void SetHeader(const String& Value);
    int Width() const;
    void SetWidth(int Value);
    plat::TFont* Font() { return &FFont; }
    void SetFont(const plat::TFont& Value) { FFont.Assign(Value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    plat::TFont* HeaderFont() { return &FHeaderFont; }
    void SetHeaderFont(const plat::TFont& Value) { FHeaderFont.Assign(Value); }
    plat::TFont* PrintFont() { return &FPrintFont; }
    plat::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(plat::TAlignment Value);
    plat::TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(plat::TAlignment Value);
    TEditorType Editor() const { return FEditorType; }
    void SetEditor(TEditorType Value);
    bool Fixed() const { return FFixed; }
    void SetFixed(bool Value);
    bool Password() const { return FPassword; }
    void SetPassword(bool Value);
    bool ShowBands() const { return FShowBands; }
    void SetShowBands(bool Value);
    TCellBorders Borders() const { return FBorders; }
    void SetBorders(TCellBorders Value);
    plat::TPen* BorderPen() { return &FBorderPen; }
    plat::TPen* PrintBorderPen() { return &FPrintBorderPen; }
    const String& FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const String& Value);
    plat::TStringList* ComboItems() { return &FComboItems; }
    plat::TStringList* Filter() { return &FFilter; }
    // Text of this column's cell in Row.
    String Rows(int Row) const;
    void SetRows(int Row, const String& Value);
    // The grid's typed accessors on this column (same errors); 0 and no change without a grid.
    int Ints(int Row) const;
    void SetInts(int Row, int Value);
    double Floats(int Row) const;
    void SetFloats(int Row, double Value);
    plat::TDateTime Dates(int Row) const;
    void SetDates(int Row, plat::TDateTime Value);
    plat::TDateTime Times(int Row) const;
    void SetTimes(int Row, plat::TDateTime Value);

    // Plain settings.
    TSortStyle SortStyle = ssAutomatic;
    String SortPrefix, SortSuffix;
    String EditMask;
    int EditLength = 0;
    bool ReadOnly = false;
    int DropDownCount = 8;
    int SpinMin = 0, SpinMax = 0, SpinStep = 1;
    TColor PrintColor = plat::clWhite;
    TCellBorders PrintBorders{cbTop, cbLeft, cbRight, cbBottom};
    int Tag = 0;
    int DefIdx = 0;
    String Name;
    String CheckFalse = u"N", CheckTrue = u"Y";
    int MaxSize = 0, MinSize = 0, AutoMinSize = 0, AutoMaxSize = 0;
    TColumnPopupType ColumnPopupType = cpFixedCellsRClick;
    plat::TPopupMenu* ColumnPopup = nullptr;  // not owned
    TEditLink* EditLink = nullptr;            // not owned: the link of the column's edCustom cells
    bool FilterCaseSensitive = false;
    bool PrintBorderCustom = true, PrintFontCustom = true;

private:
    friend class TExtColumnGrid;
    friend struct ColumnStreamer;
    void CopyCommon(const TGridColumnItem& s);
    void NotifyChanged();
    void InvalidateGrid();

    int FWidth = 50;
    plat::TAlignment FAlignment = plat::taLeftJustify;
    String FColumnHeader;
    plat::TFont FFont;
    TColor FColor = plat::clWindow;
    TEditorType FEditorType = edNormal;
    bool FFixed = false;
    plat::TStringList FComboItems;
    bool FPassword = false;
    plat::TFont FPrintFont;
    TCellBorders FBorders;
    plat::TPen FBorderPen;
    plat::TPen FPrintBorderPen;
    bool FShowBands = false;
    plat::TStringList FFilter;
    String FFloatFormat;
    plat::TAlignment FHeaderAlignment = plat::taLeftJustify;
    plat::TFont FHeaderFont;
};

class TGridColumnCollection : public plat::TCollection {
public:
    explicit TGridColumnCollection(TExtColumnGrid* AOwner);
    String ClassName() const override { return u"TGridColumnCollection"; }

    // The new item takes the visual settings of the one before it.
    TGridColumnItem* Add();
    TGridColumnItem* Insert(int Index);
    TGridColumnItem* Items(int Index) const { return static_cast<TGridColumnItem*>(plat::TCollection::Items(Index)); }
    TGridColumnItem* GetItem(int Index) const { return Items(Index); }
    TGridColumnItem* operator[](int Index) const { return Items(Index); }
    TExtColumnGrid* GetOwner() const { return FOwner; }
    bool NoRecursiveUpdate() const { return FNoRecursiveUpdate; }
    void SetNoRecursiveUpdate(bool Value) { FNoRecursiveUpdate = Value; }

protected:
    void Update(plat::TCollectionItem* Item) override;

private:
    TExtColumnGrid* FOwner;
    bool FNoRecursiveUpdate = false;
};

using TColumnPopupEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, plat::TPopupMenu* PopupMenu)>;
using TAfterColumnMoved = std::function<void(plat::TObject* Sender, int FromIndex, int ToIndex)>;

class TExtColumnGrid : public TExtStringGrid {
public:
    explicit TExtColumnGrid(plat::TComponent* AOwner);
    ~TExtColumnGrid() override;
    String ClassName() const override { return u"TExtColumnGrid"; }

    TGridColumnCollection* Columns() const { return FColumnCollection.get(); }
    void SetColumns(const TGridColumnCollection* Value);
    TGridColumnItem* GetColumnByName(StringView AName) const;

    int GetVersionNr() const override;
    String GetVersionString() const override;

    // Item count := ColCount + hidden columns.
    void SyncColumnCount();
    void SyncColumnHeaders();
    // Every item's DefIdx := its index, after matching the item count.
    void SetOrganization();
    bool ColMoving() const { return FColMoving; }
    // Moves columns until every item whose DefIdx lies left of it stands at DefIdx.
    void ResetOrganization();
    // The laid-out position (DefIdx) of each item under the keys "CP0", "CP1", ... of an
    // INI file section; loading changes nothing unless every key is present.
    void SaveColumnPositions(const String& Key, const String& Section);
    void LoadColumnPositions(const String& Key, const String& Section);
    // With ColumnSize.Location clIniFile the positions go to the INI file ColumnSize.Key in
    // the "CP" form above; with clRegistry the string grid's "Pos" values in the key store.
    void SaveColPositions() override;
    void LoadColPositions() override;
    // Every setting of every item as text: a "[Column]" line per item followed by
    // "Property=Value" lines (CR, LF and "#" in values as "#13", "#10", "#35"). Loading
    // replaces the items, ignores unknown lines and keeps a property whose value does not
    // read; the column count follows the items read.
    void SaveColumnsToStream(plat::TStrings& Stream) const;
    void LoadColumnsFromStream(const plat::TStrings& Stream);
    // Empty when the items match the real columns one to one, else the first fault.
    String CheckColumns() const;
    // Column sizing keeps to the column's AutoMinSize .. AutoMaxSize (0 = no limit).
    void UpdateAutoColumnSize(int ACol, int& AWidth) override;

    bool AutoFilterDisplay = false;
    TColumnPopupEvent OnColumnPopup;
    TAfterColumnMoved OnAfterColumnMoved;

    // ---- hooks answered from the columns ----
    void GetCellBackground(int ACol, int ARow, TCellGradientDirection& GradientDirection, bool& WordWrap,
                           TVAlignment& VAlignment, plat::TAlignment& Alignment, TColor& MirrorColorTo,
                           TColor& MirrorColor, TColor& ColorTo, plat::TBrush* ABrush, plat::TFont* AFont) override;
    String GetFloatFormat(int ACol) override;
    // A number in a column with a FloatFormat shows in that format (OnGetFloatFormat may
    // change both the format and whether the cell counts as a number).
    String GetFormattedCell(int ACol, int ARow) override;
    // The new width of a user sizing is held inside the column's MinSize .. MaxSize (0 or
    // less: no limit) before OnUpdateColumnSize.
    void UpdateColumnSize(int ACol, int& AWidth) override;
    void ColumnHeadersChanged() override;
    void GetCellColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                      plat::TFont* AFont) override;
    void GetCellPrintColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                           plat::TFont* AFont) override;
    void GetCellBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) override;
    void GetCellPrintBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) override;
    void GetCellAlignment(int ACol, int ARow, plat::TAlignment& HAlign, TVAlignment& VAlign) override;
    void GetCellFormat(int ACol, TSortStyle& AStyle, String& Prefix, String& Suffix) override;
    void GetCellEditorType(int ACol, int ARow, TEditorType& AEditor) override;
    // The column's combo items go to the combo editor when an edit starts.
    void EditorSettings(int ACol, int ARow, TEditorType AEditor) override;
    void IsFixedCell(int ACol, int ARow, bool& IsFixed) override;
    void CheckCanEdit(int ACol, int ARow, bool& CanEdit) override;
    void IsPasswordCell(int ACol, int ARow, bool& IsPassword) override;
    bool HasComboBox(int ACol, int ARow) override;
    // The virtual data check box: a normal cell of an edDataCheckBox column without a record
    // of its own reports ctDataCheckBox and the shared ctVirtCheckBox record; its state is
    // the cell text.
    TCellGraphic* GetCellGraphic(int ACol, int ARow) override;
    TCellType GetCellType(int ACol, int ARow) override;
    String GetCheckTrue(int ACol, int ARow) override;
    String GetCheckFalse(int ACol, int ARow) override;
    bool GetColumnFilter(int ACol) override;
    // The entry comes from the column's own Filter list; its condition is tested with the
    // column's FilterCaseSensitive, and with AutoFilterDisplay its shown text becomes the
    // column's header. FilterDropDownClear removes the column's condition.
    void FilterSelect(int ItemIndex) override;
    // The grouped column's item is kept aside while grouped and put back by UnGroup.
    void Group(int ColIndex) override;
    void UnGroup() override;
    String GetEditMask(int ACol, int ARow) override;
    int GetEditLimit() override;

    // The moved column's item moves with every setting; OnAfterColumnMoved gets real indexes.
    void ColumnMoved(int FromIndex, int ToIndex) override;
    // Items follow inserted, removed and swapped real columns.
    void ColumnsInserting(int ColIndex, int CCount) override;
    void ColumnsRemoving(int ColIndex, int CCount) override;
    void ColumnsSwapped(int Index, int Index2) override;
    void ColWidthsChanged() override;
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

protected:
    virtual std::unique_ptr<TGridColumnCollection> CreateColumns();
    void Loaded() override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void ChangeScale(int M, int D) override;

private:
    // Suppresses the collection's re-synchronisation while the grid changes the columns.
    class TSuppress {
    public:
        explicit TSuppress(TGridColumnCollection* c) : c_(c), old_(c->NoRecursiveUpdate()) { c_->SetNoRecursiveUpdate(true); }
        ~TSuppress() { c_->SetNoRecursiveUpdate(old_); }

    private:
        TGridColumnCollection* c_;
        bool old_;
    };
    bool InItems(int ACol) const { return ACol >= 0 && ACol < FColumnCollection->Count(); }
    bool NotFixed(int ACol, int ARow) const { return ACol >= FixedCols() && ARow >= FixedRows(); }
    bool Inside(int ACol, int ARow) const;
    bool IsVirtualCheckBox(int ACol, int ARow);

    std::unique_ptr<TGridColumnCollection> FColumnCollection;
    std::unique_ptr<TGridColumnItem> FSaveCol;
    std::unique_ptr<TCellGraphic> FVirtCheckBox = std::make_unique<TCellGraphic>();
    bool FColMoving = false;
};

} // namespace grid
