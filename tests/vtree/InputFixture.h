#pragma once
// A shown string tree on a form, driven through the test kit's injector, for the input tests.
#include <map>
#include <memory>
#include <vector>

#include "InputInvariants.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Forms.h"
#include "plat/SystemInput.h"
#include "plat/Testing.h"

namespace vtree::testing {

// Counts the edits the edit timer starts; with RealEditor they open the string editor.
class InputTree : public TLazyStringTree {
public:
    using TLazyStringTree::TLazyStringTree;
    int EditsStarted = 0;
    bool RealEditor = false;
    using TBaseLazyTree::RangeAnchor;

protected:
    void StartEditing() override
    {
        ++EditsStarted;
        if (RealEditor) TLazyStringTree::StartEditing();
        else DoStateChange(0, TreeBit(tsEditPending));
    }
};

class InputTest : public plat::testing::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        plat::SetBeepHandler([this](plat::UINT T) { beeps.push_back(T); });
        plat::SetHelpHandler([this](int C) { helpContexts.push_back(C); });
        PrepareSharedResources();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(40, 40, 320, 260);
        tree = new InputTree(form.get());
        tree->SetParent(form.get());
        tree->SetBounds(0, 0, 240, 200);
        tree->SetBorderStyle(plat::bsNone);
        tree->OnGetText = [this](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType, String& T) {
            auto it = texts.find(N);
            T = it == texts.end() ? String(u"n") : it->second;
        };
        form->Show();
        plat::testing::ProcessEvents();
    }
    void TearDown() override
    {
        form.reset();
        plat::SetBeepHandler(nullptr);
        plat::SetHelpHandler(nullptr);
        UiTest::TearDown();
    }
    // Top-level nodes with the given texts; returns them.
    std::vector<PLazyNode> Roots(std::initializer_list<const char16_t*> Texts)
    {
        std::vector<PLazyNode> r;
        for (auto t : Texts) r.push_back(Add(nullptr, t));
        return r;
    }
    PLazyNode Add(PLazyNode Parent, const char16_t* Text)
    {
        PLazyNode n = tree->AddChild(Parent);
        texts[n] = Text;
        tree->InvalidateNode(n);  // the text changed: its measured width is dropped
        tree->UpdateScrollBarsPublic();
        return n;
    }
    // The client row centre of a visible node and the x of its text's middle.
    int RowY(PLazyNode N) { return tree->GetDisplayRect(N, NoColumn, false).Top + 9; }
    int TextLeft(PLazyNode N)
    {
        const TLTPaintOptions po = tree->TreeOptions().PaintOptions();
        int indent = static_cast<int>(tree->Indent() * tree->GetNodeLevel(N));
        if (In(po, toShowRoot)) indent += static_cast<int>(tree->Indent());
        return indent + tree->Margin();
    }
    int LabelX(PLazyNode N) { return TextLeft(N) + 3; }
    void Select(std::initializer_list<TLTSelectionOption> Add, std::initializer_list<TLTSelectionOption> Drop = {})
    {
        TLTSelectionOptions o = tree->TreeOptions().SelectionOptions();
        for (auto a : Add) o = TLTSelectionOptions(o | (1u << a));
        for (auto d : Drop) o = TLTSelectionOptions(o & ~(1u << d));
        tree->TreeOptions().SetSelectionOptions(o);
    }
    void Misc(std::initializer_list<TLTMiscOption> Add, std::initializer_list<TLTMiscOption> Drop = {})
    {
        TLTMiscOptions o = tree->TreeOptions().MiscOptions();
        for (auto a : Add) o = TLTMiscOptions(o | (TLTMiscOptions(1) << a));
        for (auto d : Drop) o = TLTMiscOptions(o & ~(TLTMiscOptions(1) << d));
        tree->TreeOptions().SetMiscOptions(o);
    }
    void Paint(std::initializer_list<TLTPaintOption> Add, std::initializer_list<TLTPaintOption> Drop = {})
    {
        TLTPaintOptions o = tree->TreeOptions().PaintOptions();
        for (auto a : Add) o |= TLTPaintOptions(1) << a;
        for (auto d : Drop) o &= ~(TLTPaintOptions(1) << d);
        tree->TreeOptions().SetPaintOptions(o);
    }
    std::vector<PLazyNode> SelectedNodes()
    {
        std::vector<PLazyNode> r;
        for (PLazyNode n = tree->GetFirstNoInit(); n; n = tree->GetNextNoInit(n))
            if (n->Has(vsSelected)) r.push_back(n);
        return r;
    }
    // Injected input with the invariant check after each step.
    void Press(int X, int Y, plat::TMouseButton B = plat::mbLeft, plat::TShiftState S = 0)
    {
        plat::testing::Press(tree, X, Y, B, S);
        EXPECT_INPUT_OK(*tree);
    }
    void Release(int X, int Y, plat::TMouseButton B = plat::mbLeft, plat::TShiftState S = 0)
    {
        plat::testing::Release(tree, X, Y, B, S);
        EXPECT_INPUT_OK(*tree, true);
    }
    void Move(int X, int Y, plat::TShiftState S = 0)
    {
        plat::testing::Move(tree, X, Y, S);
        EXPECT_INPUT_OK(*tree);
    }
    void Click(int X, int Y, plat::TMouseButton B = plat::mbLeft, plat::TShiftState S = 0)
    {
        plat::testing::Click(tree, X, Y, B, S);
        EXPECT_INPUT_OK(*tree, true);
    }

    std::unique_ptr<plat::TForm> form;
    InputTree* tree = nullptr;
    std::map<PLazyNode, String> texts;
    // The system beeps and the application's help calls the input caused.
    std::vector<plat::UINT> beeps;
    std::vector<int> helpContexts;
};

} // namespace vtree::testing
