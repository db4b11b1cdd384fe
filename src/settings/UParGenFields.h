#pragma once
// The rows of the general-parameters window, one descriptor each: the control and its label,
// where they stand, their texts and how ParGen.xml keeps the value. The window creates its
// rows, binds them to the file and sets their texts from this one table; adding a setting is
// one descriptor plus the section layout that moves it.
#include <array>
#include <vector>

#include "UParGen.h"

// What a row holds.
enum class TParGen_Control {
    Label,        // a caption alone (a heading, or the caption of the address row after it)
    Edit,         // label and one-line edit
    Rich,         // label and single-line rich edit
    Certificate,  // label, rich edit holding a file name, and its "..." picker
    Combo,        // label and drop-down list
    Check,        // a check box carrying its own caption
    Address,      // four address-byte edits with the dots between them
};

// Where a created control is kept: the window's public pointer of its type.
struct TParGen_Slot {
    void (*Set)(TFParGen&, plat::TControl*) = nullptr;
    plat::TControl* (*Get)(const TFParGen&) = nullptr;
};

struct TParGen_Field {
    TParGen_Control Control;
    const char16_t* Name;       // control name; an address row's is the prefix of its four edits
    TParGen_Slot Field;         // the control (an address row: unused, see Bytes)
    TParGen_Slot Label;         // its label, named "L" + Name from the first '_'; none: no label
    plat::TCategoryPanel* TFParGen::* Panel;
    int Row;                    // top of the label or check box on the panel
    int Caption = 0;            // text numbers; 0: none. An address row's Hint is the first of four
    int Hint = 0;
    const char16_t* Element = nullptr;  // ParGen.xml element (an address row: prefix of four)
    TParGen_Kind Kind = TParGen_Kind::Text;
    const char16_t* Default = u"";
    // Options of some rows.
    std::vector<const char16_t*> Items{};  // fixed list items, the same in every language
    int Lang_Items_First = 0, Lang_Items_Last = 0;   // list items from the language table
    int Width = 0;              // check box width when not the standard one
    int Left = 0;               // check box left when not the standard one
    int Max_Length = 0;
    // Address rows.
    std::array<TParGen_Slot, 4> Bytes{};
    TAddress_Row& (*Row_Of)(TFParGen&) = nullptr;
    int Edit_Dy = -3;           // edits and address bytes stand this far from Row (dots at Row)
    std::array<const char16_t*, 4> Defaults{};
    // Certificate rows: the picker button.
    TParGen_Slot Button{};
    // A caption that is the same in every language (a check box "1", "2", "3").
    const char16_t* Text = nullptr;
    // Hints of an address row's four bytes when they are not four consecutive texts.
    std::array<int, 4> Byte_Hints{};

    // A row without slots keeps its controls by name in the window (TFParGen::Named).
    bool Named() const { return !Field.Set && !Label.Set && !Row_Of; }
};

// Every row in ParGen.xml order; rows that are not stored stand where their panel creates them.
const std::vector<TParGen_Field>& ParGen_Fields();
// The rows of the 23 panels that only the family's other models show, panel by panel in the
// order of their texts; none of them is an element of ParGen.xml (UParGenOtherPanels.cpp).
const std::vector<TParGen_Field>& ParGen_Other_Fields();
