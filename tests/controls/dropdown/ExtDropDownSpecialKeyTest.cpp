// The special-key query of the drop-down edit, on a shown offscreen dialog with a Cancel
// button: Esc undoing the edit and going to the parent, Enter going to a focused parent, an
// open drop-down keeping Esc from the dialog.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ExtDropDown.h"
#include "plat/ExtCtrls.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/Testing.h"

using namespace dropdown;
using namespace plat;
namespace pt = plat::testing;

namespace {

// The drop-down's parent: records the key messages it receives.
class TRecordingPanel : public TPanel {
public:
    using TPanel::TPanel;
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_KEYDOWN || Message.Msg == WM_KEYUP)
            keys.push_back({Message.Msg, static_cast<std::uint16_t>(Message.WParam)});
        TPanel::WndProc(Message);
    }
    struct KeyMsg {
        UINT msg;
        std::uint16_t key;
        bool operator==(const KeyMsg&) const = default;
    };
    std::vector<KeyMsg> keys;
};

class TPanelDropDown : public TExtCustomDropDown {
public:
    explicit TPanelDropDown(TComponent* AOwner) : TExtCustomDropDown(AOwner)
    {
        panel = new TPanel(this);
        panel->SetBounds(0, 0, 150, 60);
        SetControl(panel);
        DropDownHeader()->SetVisible(false);
        DropDownFooter()->SetVisible(false);
    }
    TPanel* panel = nullptr;
};

class ExtDropDownSpecialKeyTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        host = std::make_unique<TForm>(nullptr);
        host->SetBounds(100, 100, 400, 300);
        parent = new TRecordingPanel(host.get());
        parent->SetParent(host.get());
        parent->SetBounds(10, 10, 300, 100);
        parent->SetTabStop(true);
        dd = new TPanelDropDown(parent);
        dd->SetParent(parent);
        dd->SetBounds(10, 10, 200, 21);
        cancel = new TButton(host.get());
        cancel->SetParent(host.get());
        cancel->SetBounds(10, 200, 80, 25);
        cancel->SetCancel(true);
        cancel->OnClick = [this](TObject*) { ++cancelClicks; };
        host->Show();
        dd->SetFocus();
        pt::ProcessEvents();
    }
    void TearDown() override
    {
        host.reset();
        pt::UiTest::TearDown();
    }
    using KeyMsg = TRecordingPanel::KeyMsg;

    std::unique_ptr<TForm> host;
    TRecordingPanel* parent = nullptr;
    TPanelDropDown* dd = nullptr;
    TButton* cancel = nullptr;
    int cancelClicks = 0;
};

TEST_F(ExtDropDownSpecialKeyTest, EscUndoesTheEditAndGoesToTheParentBeforeTheDialogCancels)
{
    struct Case {
        bool canUndo, defaultHandling, keyPreview;
        bool undone, posted;
    };
    const Case cases[] = {
        {true, true, false, true, true},
        {true, false, false, true, false},
        {false, true, false, false, false},
        {true, true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.canUndo << c.defaultHandling << c.keyPreview);
        dd->SetCanUndo(c.canUndo);
        dd->SetDefaultHandling(c.defaultHandling);
        host->SetKeyPreview(c.keyPreview);
        dd->SetText(u"given");
        pt::Type(u"ab");
        ASSERT_TRUE(dd->Modified());
        dd->SetSelStart(2);
        dd->SetSelLength(0);
        parent->keys.clear();
        cancelClicks = 0;
        pt::Key(VK_ESCAPE);
        pt::ProcessEvents();
        EXPECT_EQ(cancelClicks, 1);
        EXPECT_EQ(dd->SelStart() == 0 && dd->SelLength() == 7, c.undone);
        EXPECT_EQ(dd->Modified(), !c.undone);
        // Once per press: the query at the key's release posts nothing more.
        const std::vector<KeyMsg> posted{{WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE}};
        EXPECT_EQ(parent->keys, c.posted ? posted : std::vector<KeyMsg>{});
        dd->SetFocus();
        pt::ProcessEvents();
    }
}

TEST_F(ExtDropDownSpecialKeyTest, AnOpenDropDownClaimsEscSoTheDialogsCancelDoesNotAct)
{
    EXPECT_EQ(dd->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 0);
    dd->SetText(u"given");
    pt::Type(u"ab");
    pt::Key(VK_F4);
    pt::ProcessEvents();
    ASSERT_TRUE(dd->DroppedDown());
    // Also when the undo took the key, and at the key's release.
    EXPECT_EQ(dd->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 1);
    EXPECT_EQ(dd->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, KF_UP_LPARAM), 1);
    dd->SetCanUndo(false);
    EXPECT_EQ(dd->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 1);
    cancelClicks = 0;
    pt::Key(VK_ESCAPE);
    pt::ProcessEvents();
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(dd->Text(), u"given");
    EXPECT_EQ(cancelClicks, 0);
}

TEST_F(ExtDropDownSpecialKeyTest, EnterGoesToTheParentOnlyWhenTheParentHasTheFocus)
{
    // The grid asks its inplace editor directly while it holds the focus itself.
    parent->SetFocus();
    pt::ProcessEvents();
    ASSERT_TRUE(parent->Focused());
    parent->keys.clear();
    dd->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0);
    pt::ProcessEvents();
    EXPECT_EQ(parent->keys, (std::vector<KeyMsg>{{WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}}));

    dd->SetDefaultHandling(false);
    parent->keys.clear();
    dd->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0);
    pt::ProcessEvents();
    EXPECT_TRUE(parent->keys.empty());

    dd->SetDefaultHandling(true);
    dd->SetFocus();
    pt::ProcessEvents();
    parent->keys.clear();
    dd->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0);
    pt::ProcessEvents();
    EXPECT_TRUE(parent->keys.empty());
}

} // namespace
