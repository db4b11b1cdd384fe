#pragma once
// The settings objects a string grid owns. Each holds what the grid's creation, copying
// and event hooks read; the behaviour behind most of them (search panel, printing,
// grouping, looks) lives with the features that use them. Assign copies from an object of
// the same class only and fires no event.
#include <functional>

#include "ExtObj.h"
#include "plat/Classes.h"
#include "plat/Graphics.h"

namespace grid {

class TExtStringGrid;

enum TGridLook { glStandard, glSoft, glClassic, glZOD, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
enum TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum TControlStyle { csClassic, csFlat, csWinXP, csBorland, csZOD, csGlyph, csTheme };
enum TColumnSizeLocation { clRegistry, clIniFile };
enum TAutoSizeRows { arAll, arNormal, arFixed };
enum TFilterDropDownColumns { fdNormal, fdAll };

using TIsDesigningEvent = std::function<void(plat::TObject* Sender, bool& IsDesigning)>;

class TNavigation : public plat::TPersistent {
public:
    String ClassName() const override { return u"TNavigation"; }
    void Assign(const plat::TPersistent* Source) override;

    bool AlwaysEdit = false;
    bool AllowClipboardAlways = false;
    bool AllowFmtClipboard = false;
    plat::TNotifyEvent OnChange;
};

class TMouseActions : public plat::TPersistent {
public:
    String ClassName() const override { return u"TMouseActions"; }
    void Assign(const plat::TPersistent* Source) override;

    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    // True also turns on disjunct row selection and the check-all check box; the grid is
    // repainted either way.
    void SetHotmailRowSelect(bool Value);

    bool DisjunctRowSelect = false;
    bool RangeSelectAndEdit = false;
    bool CheckAllCheck = false;
    plat::TNotifyEvent OnChange;
    plat::TNotifyEvent OnInvalidate;
    plat::TNotifyEvent OnDisableEdit;
    TIsDesigningEvent OnIsDesigning;

private:
    bool FHotmailRowSelect = false;
};

class TSearchFooter : public plat::TPersistent {
public:
    // DesignInit presets the captions, as when a grid is placed new in a form designer;
    // otherwise they start empty and come from the stored form.
    explicit TSearchFooter(bool DesignInit);
    String ClassName() const override { return u"TSearchFooter"; }
    void Assign(const plat::TPersistent* Source) override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    String FindNextCaption, FindPrevCaption, MatchCaseCaption, HighLightCaption;
    String HintClose, HintFindNext, HintFindPrev, HintHighlight;
    bool AutoThemeAdapt = false;
    plat::TNotifyEvent OnChange;

private:
    bool FVisible = false;
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

// The fonts of printed cells.
class TPrintSettings : public plat::TPersistent {
public:
    explicit TPrintSettings(TExtStringGrid* AGrid) : FGrid(AGrid) {}
    String ClassName() const override { return u"TPrintSettings"; }
    void Assign(const plat::TPersistent* Source) override;
    plat::TFont Font;
    plat::TFont FixedFont;

private:
    TExtStringGrid* FGrid;
};

class THTMLSettings : public plat::TPersistent {
public:
    String ClassName() const override { return u"THTMLSettings"; }
    void Assign(const plat::TPersistent* Source) override;
};

class TControlLook : public plat::TPersistent {
public:
    String ClassName() const override { return u"TControlLook"; }
    void Assign(const plat::TPersistent* Source) override;
    TControlStyle ControlStyle = csTheme;
    bool DropDownAlwaysVisible = false;
    bool SpinButtonsAlwaysVisible = false;
    int DropDownCount = 8;
};

class TGrouping : public plat::TPersistent {
public:
    String ClassName() const override { return u"TGrouping"; }
    void Assign(const plat::TPersistent* Source) override;
    bool HeaderUnderline = false;
    TColor HeaderLineColor = 0xFF0000;
    int HeaderLineWidth = 2;
    bool SummaryLine = false;
    TColor SummaryLineColor = 0xFF0000;
    int SummaryLineWidth = 2;
};

class TColumnSize : public plat::TPersistent {
public:
    String ClassName() const override { return u"TColumnSize"; }
    void Assign(const plat::TPersistent* Source) override;
    bool Save = false;
    String Key;
    String Section;
    bool Stretch = false;
    int StretchColumn = -1;
    bool SynchWithGrid = false;
    bool SynchNormalCellsOnly = false;
    TColumnSizeLocation Location = clRegistry;
    TAutoSizeRows Rows = arAll;
};

} // namespace grid
