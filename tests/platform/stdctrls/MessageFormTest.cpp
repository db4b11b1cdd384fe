// The layer's message form: caption per kind, buttons in the platform's order sized to their
// captions, Enter and Escape answers, long texts wrapped. Each kind is also written as a PNG.
#include <gtest/gtest.h>

#include <vector>

#include "plat/MessageForm.h"
#include "plat/StdCtrls.h"
#include "plat/Testing.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

std::vector<TButton*> ButtonsOf(TForm& form)
{
    std::vector<TButton*> buttons;
    for (int i = 0; i < form.ControlCount(); ++i)
        if (auto* b = dynamic_cast<TButton*>(form.Controls(i)))
            buttons.push_back(b);
    return buttons;
}

class MessageForm : public pt::UiTest {};

TEST_F(MessageForm, KindsButtonsAndKeyAnswers)
{
    struct Case {
        const char* file;
        TMsgDlgType kind;
        TMsgDlgButtons buttons;
        const char16_t* caption;
        std::vector<String> captions;
        TModalResult enter;
        TModalResult escape;
    };
    const Case cases[] = {
        {"msg_error.png", mtError, {mbOK}, u"Error", {u"OK"}, mrOk, mrOk},
        {"msg_warning.png", mtWarning, mbYesNo, u"Warning", {u"&Yes", u"&No"}, mrYes, mrNo},
        {"msg_information.png", mtInformation, {mbOK}, u"Information", {u"OK"}, mrOk, mrOk},
        {"msg_confirm.png", mtConfirmation, mbYesNoCancel, u"Confirm", {u"&Yes", u"&No", u"Cancel"}, mrYes, mrCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        auto form = CreateMessageDialog(u"This file is already present in Certificates folder. Do you want to overwrite?",
                                        c.kind, c.buttons);
        EXPECT_EQ(form->Caption(), String(c.caption));
        const auto buttons = ButtonsOf(*form);
        ASSERT_EQ(buttons.size(), c.captions.size());
        for (size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_EQ(buttons[i]->Caption(), c.captions[i]);
            EXPECT_GE(buttons[i]->Left(), 0);
            EXPECT_LE(buttons[i]->Left() + buttons[i]->Width(), form->ClientWidth());
            if (i > 0) {
                EXPECT_GT(buttons[i]->Left(), buttons[i - 1]->Left() + buttons[i - 1]->Width());
            }
        }
        form->Show();
        pt::ProcessEvents();
        pt::SaveGrab(form.get(), String(c.file, c.file + std::char_traits<char>::length(c.file)));
        pt::Key(VK_RETURN);
        EXPECT_EQ(form->ModalResult(), c.enter);
        form->SetModalResult(mrNone);
        pt::Key(VK_ESCAPE);
        EXPECT_EQ(form->ModalResult(), c.escape);
    }
}

TEST_F(MessageForm, MessageBoxesShowTheFormModally)
{
    struct Case { TMsgDlgButtons buttons; const char16_t* press; int expected; };
    const Case cases[] = {
        {mbYesNoCancel, u"&No", mrNo},
        {mbYesNoCancel, nullptr, mrCancel},  // closed: Cancel
        {mbYesNo, nullptr, mrNo},            // closed without Cancel: No
        {{mbOK}, nullptr, mrOk},             // closed with only OK: OK
    };
    UseMessageForms();
    for (const Case& c : cases) {
        responder().ScriptModal([&c](TCustomForm& f) {
            if (!c.press) {
                f.Close();
                return;
            }
            for (int i = 0; i < f.ControlCount(); ++i)
                if (auto* b = dynamic_cast<TButton*>(f.Controls(i)); b && b->Caption() == c.press)
                    pt::Click(b, 5, 5);
        });
        EXPECT_EQ(MessageDlg(u"This file is already present in Certificates folder. Do you want to overwrite?",
                             mtConfirmation, c.buttons),
                  c.expected);
    }
    SetUiResponder(&responder());
    EXPECT_EQ(responder().Modals().size(), 4u);
    EXPECT_TRUE(responder().MessageBoxes().empty());
}

TEST_F(MessageForm, ButtonsFitTheirCaptionsAndLongTextsWrap)
{
    auto narrow = CreateMessageDialog(u"x", mtInformation, {mbNoToAll});
    auto plain = CreateMessageDialog(u"x", mtInformation, {mbOK});
    EXPECT_GE(ButtonsOf(*narrow)[0]->Width(), ButtonsOf(*plain)[0]->Width());

    const String word = u"Address ";
    String longText;
    for (int i = 0; i < 200; ++i)
        longText += word;
    auto wide = CreateMessageDialog(longText, mtError, {mbOK});
    auto one = CreateMessageDialog(word, mtError, {mbOK});
    EXPECT_LE(wide->ClientWidth(), 1280 / 3 + 100);  // wrapped, not one endless line
    EXPECT_GT(wide->ClientHeight(), one->ClientHeight() * 2);
}

} // namespace
