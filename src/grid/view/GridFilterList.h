#pragma once
// The lists that drop down from a column's filter button, a plain list and a check list, and
// the settings object that governs their look.
#include <functional>
#include <memory>

#include "ExtObj.h"
#include "plat/CheckLst.h"
#include "plat/Graphics.h"
#include "plat/StdCtrls.h"

namespace grid {

class TExtStringGrid;

class TFilterDropDown : public plat::TPersistent {
public:
    TFilterDropDown();
    ~TFilterDropDown() override;
    String ClassName() const override { return u"TFilterDropDown"; }
    // Copies Color, ColumnWidth, Font, Height, Width, Glyph and GlyphActive (not AutoSize),
    // only from another TFilterDropDown.
    void Assign(const plat::TPersistent* Source) override;
    plat::TFont* Font() const { return FFont.get(); }
    void SetFont(const plat::TFont* Value) { FFont->Assign(*Value); }
    plat::TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const plat::TBitmap* Value);
    plat::TBitmap* GlyphActive() const { return FGlyphActive.get(); }
    void SetGlyphActive(const plat::TBitmap* Value);
    bool AutoSize = false;
    int Height = 150;
    int Width = 150;
    TColor Color = plat::clWindow;
    bool ColumnWidth = false;
    plat::TNotifyEvent OnChange;

private:
    void Changed();
    std::unique_ptr<plat::TFont> FFont;
    std::unique_ptr<plat::TBitmap> FGlyph, FGlyphActive;
};

using TDropSelectEvent = std::function<void(plat::TObject* Sender, int ItemIndex)>;

// Enter or a mouse release hides the list and reports the item; a cancelled mode with the
// pointer outside hides it and the grid's open filter column is cleared.
class TDropList : public plat::TCustomListBox {
public:
    TDropList(plat::TComponent* AOwner, TExtStringGrid* Grid) : plat::TCustomListBox(AOwner), FGrid(Grid) {}
    String ClassName() const override { return u"TDropList"; }
    TDropSelectEvent OnSelect;
    void WndProc(plat::TMessage& Message) override;

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

private:
    TExtStringGrid* FGrid;
};

// A change of an item's check mark reports -1 and the list stays open.
class TDropCheckList : public plat::TCheckListBox {
public:
    TDropCheckList(plat::TComponent* AOwner, TExtStringGrid* Grid) : plat::TCheckListBox(AOwner), FGrid(Grid) {}
    String ClassName() const override { return u"TDropCheckList"; }
    TDropSelectEvent OnSelect;
    void WndProc(plat::TMessage& Message) override;

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void ClickCheck() override;

private:
    TExtStringGrid* FGrid;
};

} // namespace grid
