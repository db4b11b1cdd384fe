// The header's column menu and fitting columns to their content.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ColumnInvariants.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Header.h"
#include "LazyTrees.HeaderPopup.h"
#include "plat/Testing.h"

namespace vtree::testing {
namespace {

// Every node's content is as wide as the table says for its column.
class WidthTree : public TBaseLazyTree {
public:
    using TBaseLazyTree::TBaseLazyTree;
    std::vector<int> Widths{40, 40, 40};
    int DoGetNodeWidth(PLazyNode Node, TColumnIndex Column, plat::TCanvas*) override
    {
        return Widths[static_cast<std::size_t>(std::max(Column, 0))] + static_cast<int>(Node->Index);
    }
};

class HeaderMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        Tree = std::make_unique<WidthTree>(nullptr);
        Menu = std::make_unique<TLTHeaderPopupMenu>(nullptr);
        Menu->SetPopupComponent(Tree.get());
    }
    TLTHeader& H() { return Tree->Header(); }
    TLazyTreeColumns& C() { return H().Columns(); }
    void AddColumns(int N)
    {
        for (int i = 0; i < N; ++i) C().Add()->SetText(u"C" + std::u16string(1, char16_t(u'0' + i)));
    }
    // Captions of the items, with "!" for disabled and "*" for checked ones.
    std::vector<std::string> Listed()
    {
        std::vector<std::string> r;
        for (int i = 0; i < Menu->Items()->Count(); ++i) {
            const plat::TMenuItem* it = Menu->Items()->Items(i);
            std::string s(it->Caption().begin(), it->Caption().end());
            if (it->IsLine()) s = "-";
            else {
                if (!it->Enabled()) s += "!";
                if (it->Checked()) s += "*";
            }
            r.push_back(s);
        }
        return r;
    }
    void Hide(int Column) { C()[Column]->SetOptions(TLTColumnOptions(C()[Column]->Options() & ~ColBit(coVisible))); }
    std::unique_ptr<WidthTree> Tree;
    std::unique_ptr<TLTHeaderPopupMenu> Menu;
};

using L = std::vector<std::string>;

TEST_F(HeaderMenu, ListsColumnsInDisplayOrderOrIndexOrder)
{
    AddColumns(3);
    C()[2]->SetPosition(0);  // display order 2, 0, 1
    Menu->BuildItems();
    EXPECT_EQ(Listed(), (L{"C2*", "C0*", "C1*"}));
    Menu->Options = 1u << poOriginalOrder;
    Menu->BuildItems();
    EXPECT_EQ(Listed(), (L{"C0*", "C1*", "C2*"}));
    EXPECT_EQ(Menu->Items()->Items(2)->Tag(), 2);
}

TEST_F(HeaderMenu, LastVisibleColumnCannotBeHiddenUnlessAllowed)
{
    struct Case {
        const char* what;
        TLTHeaderPopupOptions options;
        TAddPopupItemType forColumn1;
        L expected;
    };
    const Case cases[] = {
        {"last visible item disabled", 0, apNormal, {"C0", "C1!*"}},
        {"poAllowHideAll keeps it enabled", 1u << poAllowHideAll, apNormal, {"C0", "C1*"}},
        {"a hidden item still counts", 0, apHidden, {"C0"}},
        {"a disabled item never becomes the last visible one", 0, apDisabled, {"C0", "C1!*"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        AddColumns(2);
        Hide(0);
        Menu->Options = c.options;
        Menu->OnAddHeaderPopupItem = [&](TBaseLazyTree* T, TColumnIndex Col, TAddPopupItemType& Cmd) {
            EXPECT_EQ(T, Tree.get());
            if (Col == 1) Cmd = c.forColumn1;
        };
        Menu->BuildItems();
        EXPECT_EQ(Listed(), c.expected);
    }
    // With every column visible but one hidden item, the visible count is 2: nothing disabled.
    SetUp();
    AddColumns(2);
    Menu->OnAddHeaderPopupItem = [](TBaseLazyTree*, TColumnIndex Col, TAddPopupItemType& Cmd) {
        if (Col == 0) Cmd = apHidden;
    };
    Menu->BuildItems();
    EXPECT_EQ(Listed(), (L{"C1*"}));
}

TEST_F(HeaderMenu, ClickingAnItemHidesOrShowsItsColumn)
{
    AddColumns(3);
    std::vector<std::pair<int, bool>> changes;
    Menu->OnColumnChange = [&](TBaseLazyTree*, TColumnIndex Col, bool Visible) { changes.emplace_back(Col, Visible); };
    Menu->BuildItems();
    Menu->Items()->Items(1)->Click();
    EXPECT_FALSE(In(C()[1]->Options(), coVisible));
    EXPECT_TRUE(Menu->Items()->Items(1)->Checked());  // the item is rebuilt, not toggled
    Menu->BuildItems();
    Menu->Items()->Items(1)->Click();
    EXPECT_TRUE(In(C()[1]->Options(), coVisible));
    EXPECT_EQ(changes, (std::vector<std::pair<int, bool>>{{1, false}, {1, true}}));
    EXPECT_COLUMNS_OK(H());
}

TEST_F(HeaderMenu, FitItemAndImagesFollowTheOptions)
{
    Menu->Options = 1u << poResizeToFitItem;
    Menu->BuildItems();
    EXPECT_EQ(Listed(), (L{"&Resize All Columns To Fit", "-"}));  // no columns: only the fit item
    EXPECT_EQ(Menu->Items()->Items(0)->Name(), u"LT_ResizeToFitMenuItem");
    plat::TCustomImageList images(nullptr);
    H().SetImages(&images);
    Menu->BuildItems();
    EXPECT_EQ(Menu->Images(), nullptr);
    H().SetOptions(H().Options() | HdrBit(hoShowImages));
    Menu->BuildItems();
    EXPECT_EQ(Menu->Images(), &images);
    H().SetImages(nullptr);
}

TEST_F(HeaderMenu, PopupWithTheResponderRunsTheChosenItem)
{
    AddColumns(2);
    plat::testing::Responder responder;
    plat::SetUiResponder(&responder);
    responder.AnswerPopup(0);
    Menu->Popup(10, 10);
    plat::SetUiResponder(nullptr);
    EXPECT_FALSE(In(C()[0]->Options(), coVisible));
    ASSERT_EQ(responder.Popups().size(), 1u);
}

TEST_F(HeaderMenu, FitItemFitsEveryColumn)
{
    AddColumns(2);
    Tree->SetRootNodeCount(3);
    Tree->Widths = {70, 90};
    H().SetOptions(H().Options() | HdrBit(hoDisableAnimatedResize));
    Menu->Options = 1u << poResizeToFitItem;
    Menu->BuildItems();
    Menu->Items()->Items(0)->Click();
    // Main column: indent 18 with toShowRoot, margin 4, widest node 70 + 2.
    EXPECT_EQ(C()[0]->Width(), 18 + 4 + 72);
    EXPECT_EQ(C()[1]->Width(), 4 + 92);
    EXPECT_COLUMNS_OK(H());
}

// ---- fitting -----------------------------------------------------------------------------------

TEST_F(HeaderMenu, MaxColumnWidthOfTheMainColumn)
{
    AddColumns(1);
    Tree->SetRootNodeCount(1);
    EXPECT_EQ(Tree->GetMaxColumnWidth(0, false), 62);
    auto o = Tree->TreeOptions().PaintOptions();
    Tree->TreeOptions().SetPaintOptions(o | (TLTPaintOptions(1) << toShowVertGridLines));
    EXPECT_EQ(Tree->GetMaxColumnWidth(0, false), 63);
}

TEST_F(HeaderMenu, AutoFitLeavesColumnsWithoutResizableAlone)
{
    AddColumns(3);
    Tree->SetRootNodeCount(5);
    Tree->Widths = {10, 100, 100};
    C()[2]->SetOptions(TLTColumnOptions(C()[2]->Options() & ~ColBit(coResizable)));
    std::vector<int> fitted;
    Tree->OnAfterAutoFitColumn = [&](TLTHeader*, TColumnIndex Col) { fitted.push_back(Col); };
    H().AutoFitColumns(false, smaNoColumn);
    EXPECT_EQ(C()[0]->Width(), 18 + 4 + 14);
    EXPECT_EQ(C()[1]->Width(), 4 + 104);
    EXPECT_EQ(C()[2]->Width(), 50);
    EXPECT_EQ(fitted, (std::vector<int>{0, 1}));
    EXPECT_COLUMNS_OK(H());
}

TEST_F(HeaderMenu, CancelledFitKeepsTheCurrentWidth)
{
    AddColumns(2);
    Tree->SetRootNodeCount(2);
    Tree->Widths = {100, 100};
    Tree->OnAfterAutoFitColumn = [&](TLTHeader*, TColumnIndex) { Tree->CancelOperation(); };
    H().AutoFitColumns(false, smaNoColumn);
    EXPECT_EQ(C()[0]->Width(), 18 + 4 + 101);
    EXPECT_EQ(C()[1]->Width(), 50);  // cancelled before the second column
    EXPECT_EQ(Tree->OperationCount(), 0u);
    Tree->StartOperation(okAutoFitColumns);
    Tree->CancelOperation();
    EXPECT_EQ(Tree->GetMaxColumnWidth(1, false), 50);
    Tree->EndOperation(okAutoFitColumns);
}

} // namespace
} // namespace vtree::testing
