#pragma once
// The string tree's own editor: a link serving exactly one edit, and the edit control it
// shows over the node's text. The control keeps its link alive while it is attached; the
// link, when it goes, asks the control to free itself by a posted message, so a control
// still inside one of its own messages is never freed under it.
#include <memory>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.EditLink.h"
#include "plat/StdCtrls.h"

namespace vtree {

class TStringEditLink;

// A single-line editor for single-line nodes; for multi-line nodes a word-wrapping editor
// with a vertical scroll bar, where Enter breaks the line and Ctrl+Enter ends the edit. The
// text of a multi-line editor has CR LF line ends.
class TLTEdit : public plat::TCustomMemo {
public:
    explicit TLTEdit(TStringEditLink* Link, bool Multiline = false);
    bool Multiline() const { return FMultiline; }
    ~TLTEdit() override;
    String ClassName() const override { return u"TLTEdit"; }
    // Single-line nodes without grid extensions: the control grows or shrinks to its text
    // (measured with "yG" for full ascent and descent) plus the tree's text margins.
    virtual void AutoAdjustSize();
    // Frees the control once the posted release message arrives.
    virtual void Release();
    void WndProc(plat::TMessage& Message) override;
    TStringEditLink* Link() const { return FLink; }

protected:
    void Change() override;

private:
    friend class TStringEditLink;
    void Detach();
    PLTEditLink FRefLink;
    TStringEditLink* FLink = nullptr;
    bool FMultiline = false;
};

class TStringEditLink : public ILTEditLink, public std::enable_shared_from_this<TStringEditLink> {
public:
    TStringEditLink();
    ~TStringEditLink() override;
    bool BeginEdit() override;
    bool CancelEdit() override;
    bool EndEdit() override;
    bool PrepareEdit(TBaseLazyTree* Tree, PLazyNode Node, TColumnIndex Column) override;
    plat::TRect GetBounds() override;
    void ProcessMessage(plat::TMessage& Message) override;
    void SetBounds(plat::TRect R) override;

    PLazyNode Node() const { return FNode; }
    TColumnIndex Column() const { return FColumn; }
    TLTEdit* Edit() const { return FEdit; }
    // Frees the current control first.
    void SetEdit(TLTEdit* Value);
    bool Stopping() const { return FStopping; }
    TCustomLazyStringTree* Tree() const { return FTree; }
    TAlignment Alignment() const { return FAlignment; }

private:
    friend class TLTEdit;
    void DropEdit();
    TLTEdit* FEdit = nullptr;
    TCustomLazyStringTree* FTree = nullptr;
    PLazyNode FNode = nullptr;
    TColumnIndex FColumn = NoColumn;
    TAlignment FAlignment = taLeftJustify;
    plat::TRect FTextBounds{};
    bool FStopping = false;
};

} // namespace vtree
