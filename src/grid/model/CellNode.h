#pragma once
// TCellNode: how node rows look (glyph kind, colours, tree lines, indent) and whether
// expanding one node contracts the others. The grid owns one; the painter reads it.
#include <functional>
#include <memory>

#include "plat/Graphics.h"

namespace grid { using plat::String; }

namespace grid {

using plat::TColor;

enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

class TCellNode : public plat::TPersistent {
public:
    TCellNode();
    ~TCellNode() override;
    String ClassName() const override { return u"TCellNode"; }
    // Copies every field but the owner; glyphs by content.
    void Assign(const plat::TPersistent* Source) override;

    TColor Color = 0xC0C0C0;
    TColor NodeColor = 0;
    bool ExpandOne = false;

    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType Value);
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool Value);
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool Value);
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int Value);
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor Value);
    plat::TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
    void SetExpandGlyph(const plat::TBitmap& Value) { FExpandGlyph->Assign(Value); }
    plat::TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
    void SetContractGlyph(const plat::TBitmap& Value) { FContractGlyph->Assign(Value); }

    // Called when a setting that shows changes (the grid repaints).
    std::function<void()> OnChange;
    plat::TObject* Owner = nullptr;

private:
    void Changed() {
        if (OnChange) OnChange();
    }
    TNodeType FNodeType = cnXP;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    int FNodeIndent = 12;
    TColor FTreeColor = 0x808080;
    std::unique_ptr<plat::TBitmap> FExpandGlyph, FContractGlyph;
};

} // namespace grid
