#pragma once
// The standard tree view: a painted control showing TTreeNodes, items with children that
// expand and collapse, one selected item.
//
// - Nodes are owned by the view's TTreeNodes; a node pointer stays valid until the node (or
//   an ancestor) is deleted or the list cleared. Deleting the selected node (or an ancestor)
//   leaves nothing selected, without events.
// - A selection change, by the user or by SetSelected, asks OnChanging (AllowChange false
//   keeps the old selection) and then fires OnChange. A left press selects the item under it
//   (and toggles it when the press hits its button); OnClick follows on the release, after
//   OnChange. A double click toggles the item. Keys: Up/Down/Home/End/Page Up/Page Down move
//   the selection, Right expands or steps to the first child, Left collapses or steps to the
//   parent, + and - on the numeric pad expand and collapse.
// - Expanding an item makes no other item visible but its children; a selected item that
//   disappears under a collapse passes the selection to the collapsed ancestor.
// - The selection is scrolled into view when it changes; RowSelect highlights the whole row,
//   HideSelection off keeps an unfocused selection shown (in the button face colour).
// - ReadOnly: labels cannot be edited by the user (the view has no label editor, so it is
//   always so; the property is kept for forms that set it).
// - The right button opens PopupMenu through the layer's usual path.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "plat/Controls.h"
#include "plat/Exception.h"

namespace plat {

class TTreeView;
class TTreeNodes;

class TTreeNode {
public:
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;
    ~TTreeNode();

    const String& Text() const { return text_; }
    void SetText(const String& Value);
    void* Data() const { return data_; }
    void SetData(void* Value) { data_ = Value; }

    TTreeNodes* Owner() const { return owner_; }
    TTreeView* TreeView() const;
    TTreeNode* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(children_.size()); }
    bool HasChildren() const { return !children_.empty(); }
    // Raises EListError outside 0..Count-1.
    TTreeNode* Item(int Index) const;
    // Position among its siblings.
    int Index() const;
    // Roots are level 0.
    int Level() const;
    // Depth-first position among all nodes.
    int AbsoluteIndex() const;

    TTreeNode* getFirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
    TTreeNode* GetLastChild() const { return children_.empty() ? nullptr : children_.back().get(); }
    TTreeNode* getNextSibling() const;
    TTreeNode* getPrevSibling() const;
    // Next node depth first (children before siblings); null after the last.
    TTreeNode* GetNext() const;

    bool Expanded() const { return expanded_; }
    void SetExpanded(bool Value);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    bool Selected() const;
    // Expands every ancestor and scrolls the node into view.
    void MakeVisible();
    // Deletes the node with its children.
    void Delete();

private:
    friend class TTreeNodes;
    friend class TTreeView;
    TTreeNode(TTreeNodes* Owner, TTreeNode* Parent, const String& Text);
    std::vector<std::unique_ptr<TTreeNode>>& Siblings() const;

    TTreeNodes* owner_;
    TTreeNode* parent_;
    String text_;
    void* data_ = nullptr;
    bool expanded_ = false;
    std::vector<std::unique_ptr<TTreeNode>> children_;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TTreeView* Owner) : owner_(Owner) {}
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;
    ~TTreeNodes();

    TTreeView* Owner() const { return owner_; }
    // Every node, at all levels.
    int Count() const { return count_; }
    // The node at a depth-first position; raises EListError outside 0..Count-1.
    TTreeNode* Item(int AbsoluteIndex) const;
    TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front().get(); }
    int RootCount() const { return static_cast<int>(roots_.size()); }

    // A new last sibling of Sibling (a new last root when Sibling is null).
    TTreeNode* Add(TTreeNode* Sibling, const String& S);
    // A new first sibling of Sibling.
    TTreeNode* AddFirst(TTreeNode* Sibling, const String& S);
    // A new last child of Parent (a new last root when Parent is null).
    TTreeNode* AddChild(TTreeNode* Parent, const String& S);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const String& S);
    // A new node just before Sibling (a new last root when Sibling is null).
    TTreeNode* Insert(TTreeNode* Sibling, const String& S);
    // Deletes the node with its children; null does nothing.
    void Delete(TTreeNode* Node);
    void Clear();

    // Batches repainting and the view's row bookkeeping; nestable.
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TTreeView;
    TTreeNode* InsertAt(TTreeNode* Parent, std::size_t Position, const String& S);
    void Changed();
    std::vector<std::unique_ptr<TTreeNode>>& ChildList(TTreeNode* Parent)
    {
        return Parent ? Parent->children_ : roots_;
    }

    TTreeView* owner_;
    std::vector<std::unique_ptr<TTreeNode>> roots_;
    int count_ = 0;
    int updateCount_ = 0;
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;

class TTreeView : public TCustomControl {
public:
    explicit TTreeView(TComponent* AOwner);
    ~TTreeView() override;
    String ClassName() const override { return u"TTreeView"; }

    TTreeNodes* Items() const { return items_.get(); }
    TTreeNode* Selected() const { return selected_; }
    // Asks OnChanging and fires OnChange as a user's selection does; null clears it.
    void SetSelected(TTreeNode* Value);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value) { readOnly_ = Value; }
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool Value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value);
    bool ShowLines() const { return showLines_; }
    void SetShowLines(bool Value);
    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool Value);
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool Value);
    // Horizontal step per level, in pixels.
    int Indent() const { return indent_; }
    void SetIndent(int Value);

    // Row height in pixels (from the font).
    int ItemHeight() const;
    // First row shown.
    TTreeNode* TopItem() const;
    void SetTopItem(TTreeNode* Value);
    // Node of the row under a client point; null below the last row.
    TTreeNode* GetNodeAt(int X, int Y) const;
    // Rectangle of a node's row (Full) or of its text, in client coordinates; empty when
    // the node is hidden under a collapsed ancestor.
    TRect NodeRect(const TTreeNode* Node, bool Full) const;
    // Nodes on rows, top to bottom, counting those scrolled away.
    int VisibleRowCount() const;
    void FullExpand();
    void FullCollapse();

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Resize() override;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    // Row bookkeeping: the nodes whose ancestors are all expanded, in display order,
    // rebuilt lazily after a structural change.
    const std::vector<TTreeNode*>& Rows() const;
    int RowOf(const TTreeNode* Node) const;
    void StructureChanged();
    void NodeRemoving(TTreeNode* Node);
    void NodeCollapsed(TTreeNode* Node);
    bool ChangeSelection(TTreeNode* Value);
    void ScrollIntoView(const TTreeNode* Node);
    void SetTopRow(int Row);
    int PageRows() const;
    void UpdateScrollBar();
    int TextLeft(const TTreeNode* Node) const;

    std::unique_ptr<TTreeNodes> items_;
    TTreeNode* selected_ = nullptr;
    mutable std::vector<TTreeNode*> rows_;
    mutable bool rowsDirty_ = true;
    mutable int fontItemHeight_ = 0;
    int topRow_ = 0;
    int indent_ = 19;
    bool readOnly_ = false;
    bool rowSelect_ = false;
    bool hideSelection_ = true;
    bool showLines_ = true;
    bool showButtons_ = true;
    bool showRoot_ = true;
};

} // namespace plat
