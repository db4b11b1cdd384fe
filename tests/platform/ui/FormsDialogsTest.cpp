// Forms shown modally, message boxes and file dialogs through the responder, the close box,
// exceptions in handlers.
#include <gtest/gtest-spi.h>

#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/Testing.h"
#include "TestControls.h"
#include "TestSupport.h"

namespace plat {
namespace {

using namespace plat::testing;
using testctl::TFocusBox;
using testctl::TTestButton;

class FormsTest : public UiTest {};

// A dialog with OK (modal result 1) and Cancel (2).
class TDialogForm : public TForm {
public:
    explicit TDialogForm(TComponent* AOwner) : TForm(AOwner)
    {
        SetClientWidth(300);
        SetClientHeight(120);
        Ok = new TTestButton(this);
        Ok->SetParent(this);
        Ok->SetBounds(60, 80, 75, 25);
        Ok->SetCaption(u"OK");
        Ok->ModalResult = mrOk;
        Cancel = new TTestButton(this);
        Cancel->SetParent(this);
        Cancel->SetBounds(160, 80, 75, 25);
        Cancel->SetCaption(u"Cancel");
        Cancel->ModalResult = mrCancel;
    }
    String ClassName() const override { return u"TDialogForm"; }
    TTestButton* Ok;
    TTestButton* Cancel;
};

TEST_F(FormsTest, ButtonModalResultClosesTheFormAfterItsClick)
{
    TDialogForm dlg(nullptr);
    std::vector<std::string> log;
    dlg.Cancel->OnClick = [&](TObject*) { log.push_back("click, result " + std::to_string(dlg.ModalResult())); };
    dlg.OnClose = [&](TObject*, TCloseAction&) { log.push_back("close"); };
    responder().ScriptModal<TDialogForm>([&](TDialogForm& f) {
        log.push_back("shown");
        Click(f.Cancel, 10, 10);
    });
    const TModalResult r = dlg.ShowModal();
    EXPECT_EQ(r, mrCancel);
    const std::vector<std::string> expected = {"shown", "click, result 0", "close"};
    EXPECT_EQ(log, expected);
    EXPECT_FALSE(dlg.Visible());
    // The form can be shown again and answers anew.
    responder().ScriptModal<TDialogForm>([](TDialogForm& f) { Key(VK_SPACE), (void)f; });
    EXPECT_EQ(dlg.ShowModal(), mrOk);  // the focus was on OK, the first control
}

TEST_F(FormsTest, CloseBoxGivesCancel)
{
    TDialogForm dlg(nullptr);
    responder().ScriptModal([](TCustomForm& f) { CloseBox(&f); });
    EXPECT_EQ(dlg.ShowModal(), mrCancel);
}

TEST_F(FormsTest, CloseQueryCanKeepAModalFormOpen)
{
    TDialogForm dlg(nullptr);
    int asked = 0;
    dlg.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asked > 1; };
    responder().ScriptModal([](TCustomForm& f) {
        f.SetModalResult(mrOk);
        f.SetModalResult(mrOk);
    });
    EXPECT_EQ(dlg.ShowModal(), mrOk);
    EXPECT_GE(asked, 1);
}

TEST_F(FormsTest, ScriptThatLeavesNoResultFailsInsteadOfHanging)
{
    TDialogForm dlg(nullptr);
    responder().ScriptModal([](TCustomForm&) {});
    TModalResult r = mrNone;
    EXPECT_NONFATAL_FAILURE(r = dlg.ShowModal(), "watchdog");
    EXPECT_EQ(r, mrCancel);
}

TEST_F(FormsTest, UnscriptedModalFormFailsTheTest)
{
    TDialogForm dlg(nullptr);
    EXPECT_NONFATAL_FAILURE(dlg.ShowModal(), "unscripted modal form TDialogForm");
}

TEST_F(FormsTest, NestedModalsAndMessageBoxesAnswerInOrder)
{
    TDialogForm editor(nullptr);
    TDialogForm inner(nullptr);
    int answer = 0;
    TModalResult innerResult = mrNone;
    editor.Ok->ModalResult = mrNone;
    editor.Ok->OnClick = [&](TObject*) {
        answer = MessageDlg(u"Overwrite?", mtConfirmation, mbYesNo);
        innerResult = inner.ShowModal();
        editor.SetModalResult(mrOk);
    };
    responder().AnswerMessageBox(mrYes);
    responder().ScriptModal([&](TCustomForm& f) { Click(editor.Ok, 5, 5), (void)f; });
    responder().ScriptModal([](TCustomForm& f) { f.SetModalResult(mrNo); });
    EXPECT_EQ(editor.ShowModal(), mrOk);
    EXPECT_EQ(answer, mrYes);
    EXPECT_EQ(innerResult, mrNo);
    ASSERT_EQ(responder().Modals().size(), 2u);
    // The inner form's script ran (and was recorded) before the outer one returned.
    EXPECT_EQ(responder().Modals()[0].Result, mrNo);
    EXPECT_EQ(responder().Modals()[1].Result, mrOk);
}

TEST_F(FormsTest, ExceptionInAClickHandlerShowsAnErrorBoxAndTheLoopGoesOn)
{
    TForm form(nullptr);
    auto* button = new TTestButton(&form);
    button->SetParent(&form);
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        if (++clicks == 1) throw EConvertError(u"'abc' is not a valid integer value");
    };
    form.Show();
    responder().AnswerMessageBox(mrOk);
    Click(button, 5, 5);
    Click(button, 5, 5);
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    const auto& box = responder().MessageBoxes()[0].Request;
    EXPECT_EQ(box.Kind, mtError);
    EXPECT_EQ(box.Caption, u"Error");
    EXPECT_EQ(box.Text, u"'abc' is not a valid integer value");
    EXPECT_EQ(box.Buttons, TMsgDlgButtons{mbOK});
}

// An error raised while an error is being shown is not shown again, and neither is dropped:
// both texts reach the standard error stream.
TEST_F(FormsTest, ErrorWhileReportingAnErrorIsLogged)
{
    Application->OnException = [](TObject*, const std::exception&) { throw EOSError(u"report failed"); };
    ::testing::internal::CaptureStderr();
    try {
        throw EConvertError(u"first");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    const std::string log = ::testing::internal::GetCapturedStderr();
    Application->OnException = nullptr;
    EXPECT_EQ(log, "error while showing the error \"first\": report failed\n");
    EXPECT_TRUE(responder().MessageBoxes().empty());
}

TEST_F(FormsTest, ScreenCenteredFormIsCentredOnTheScreen)
{
    TForm form(nullptr);
    form.SetClientWidth(400);
    form.SetClientHeight(300);
    form.SetPosition(poScreenCenter);
    form.Show();
    const TRect area = Screen->WorkAreaRect();
    EXPECT_EQ(form.Left(), area.Left + (area.Width() - 400) / 2);
    EXPECT_EQ(form.Top(), area.Top + (area.Height() - 300) / 2);
    EXPECT_EQ(form.ClientWidth(), 400);
    EXPECT_EQ(form.ClientHeight(), 300);
}

TEST_F(FormsTest, ModalFormTakesTheKeyboardAndGivesItBack)
{
    TForm owner(nullptr);
    TDialogForm dlg(nullptr);
    std::vector<std::string> log;
    owner.OnActivate = [&](TObject*) { log.push_back("owner on"); };
    owner.OnDeactivate = [&](TObject*) { log.push_back("owner off"); };
    dlg.OnActivate = [&](TObject*) { log.push_back("dialog on"); };
    dlg.OnDeactivate = [&](TObject*) { log.push_back("dialog off"); };
    owner.Show();
    responder().ScriptModal([&](TCustomForm& f) {
        EXPECT_EQ(Screen->ActiveForm(), &f);
        f.SetModalResult(mrOk);
    });
    EXPECT_EQ(dlg.ShowModal(), mrOk);
    EXPECT_EQ(Screen->ActiveForm(), &owner);
    const std::vector<std::string> expected = {"owner on", "owner off", "dialog on", "dialog off", "owner on"};
    EXPECT_EQ(log, expected);
}

TEST_F(FormsTest, ExceptionInOnShowLeavesShowModalCleanly)
{
    TForm owner(nullptr);
    TDialogForm dlg(nullptr);
    bool fail = true;
    dlg.OnShow = [&](TObject*) {
        if (fail) throw Exception(u"cannot open");
    };
    owner.Show();
    EXPECT_TRUE(testsupport::ThrowsWith<Exception>([&] { dlg.ShowModal(); }, u"cannot open"));
    EXPECT_FALSE(dlg.Visible());
    EXPECT_EQ(Screen->ActiveForm(), &owner);
    fail = false;
    responder().ScriptModal([](TCustomForm& f) { f.SetModalResult(mrOk); });
    EXPECT_EQ(dlg.ShowModal(), mrOk);
}

TEST_F(FormsTest, CaptionIsTheWindowTitle)
{
    TForm form(nullptr);
    form.SetCaption(u"Général");
    EXPECT_EQ(form.Caption(), u"Général");
    EXPECT_EQ(form.Text(), u"Général");
    char16_t buf[32] = {};
    EXPECT_EQ(form.Perform(WM_GETTEXT, 32, reinterpret_cast<LPARAM>(buf)), 7);
    EXPECT_EQ(String(buf), u"Général");
    EXPECT_EQ(WindowTitle(&form), u"Général");
}

TEST_F(FormsTest, OnCreateOnceThenOnShowOnEveryShow)
{
    TForm form(nullptr);
    int creates = 0, shows = 0;
    form.OnCreate = [&](TObject*) { ++creates; };
    form.OnShow = [&](TObject*) {
        ++shows;
        EXPECT_TRUE(form.Visible());
    };
    form.Show();
    form.Hide();
    form.Show();
    EXPECT_EQ(creates, 1);
    EXPECT_EQ(shows, 2);
}

// ---- message boxes and file dialogs -------------------------------------------------------

class DialogsTest : public UiTest {};

TEST_F(DialogsTest, MessageBoxesAreRecordedAndAnswered)
{
    struct Case {
        TMsgDlgType kind;
        TMsgDlgButtons buttons;
        int answer;
        const char16_t* caption;
    };
    const Case cases[] = {
        {mtError, {mbOK}, mrOk, u"Error"},
        {mtWarning, {mbOK}, mrOk, u"Warning"},
        {mtInformation, {mbOK}, mrOk, u"Information"},
        {mtConfirmation, mbYesNo, mrNo, u"Confirm"},
        {mtConfirmation, mbYesNoCancel, mrCancel, u"Confirm"},
    };
    for (const Case& c : cases) responder().AnswerMessageBox(c.answer);
    for (const Case& c : cases) EXPECT_EQ(MessageDlg(u"text", c.kind, c.buttons), c.answer);
    ASSERT_EQ(responder().MessageBoxes().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& r = responder().MessageBoxes()[i].Request;
        EXPECT_EQ(r.Kind, cases[i].kind);
        EXPECT_EQ(r.Caption, cases[i].caption);
        EXPECT_EQ(r.Buttons, cases[i].buttons);
    }
    EXPECT_EQ(mrOk, 1);
    EXPECT_EQ(mrCancel, 2);
    EXPECT_EQ(mrYes, 6);
    EXPECT_EQ(mrNo, 7);
}

TEST_F(DialogsTest, UnscriptedMessageBoxFailsWithItsTextAndDoesNotBlock)
{
    EXPECT_NONFATAL_FAILURE(MessageDlg(u"Error! Project not Valid", mtError, {mbOK}), "Error! Project not Valid");
}

TEST_F(DialogsTest, OpenAndSaveDialogs)
{
    TOpenDialog open(nullptr);
    open.SetFilter(u"Configuration (*.xml)|*.xml|All files (*.*)|*.*");
    open.SetInitialDir(u"/tmp/projects");
    responder().AnswerFileDialog(u"/tmp/projects/a.xml", 1);
    responder().CancelFileDialog();
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName(), u"/tmp/projects/a.xml");
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName(), u"/tmp/projects/a.xml");

    TSaveDialog save(nullptr);
    save.SetFilter(u"Generic Station Description (*.gsd)|*.gsd");
    save.SetDefaultExt(u"gsd");
    save.SetFileName(u"old");
    responder().AnswerFileDialog(u"/tmp/out/station");
    responder().AnswerFileDialog(u"/tmp/out.d/station.GSD");
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), u"/tmp/out/station.gsd");
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), u"/tmp/out.d/station.GSD");

    // A default extension written as a pattern still means the extension.
    TSaveDialog eds(nullptr);
    eds.SetDefaultExt(u"*.eds");
    responder().AnswerFileDialog(u"/tmp/out/device");
    EXPECT_TRUE(eds.Execute());
    EXPECT_EQ(eds.FileName(), u"/tmp/out/device.eds");
    EXPECT_EQ(responder().FileDialogs().back().Request.DefaultExt, u"eds");

    ASSERT_EQ(responder().FileDialogs().size(), 5u);
    const auto& first = responder().FileDialogs()[0].Request;
    EXPECT_FALSE(first.Save);
    EXPECT_EQ(first.InitialDir, u"/tmp/projects");
    EXPECT_EQ(first.Filter, u"Configuration (*.xml)|*.xml|All files (*.*)|*.*");
    const auto& third = responder().FileDialogs()[2].Request;
    EXPECT_TRUE(third.Save);
    EXPECT_EQ(third.DefaultExt, u"gsd");
    EXPECT_EQ(third.FileName, u"old");
}

} // namespace
} // namespace plat

namespace plat {
namespace {

std::vector<std::string> g_freed;

class TTrackedForm : public TForm {
public:
    TTrackedForm(TComponent* AOwner) : TForm(AOwner) {}
    ~TTrackedForm() override { g_freed.push_back(StringToUtf8(Name())); }
    String ClassName() const override { return u"TTrackedForm"; }
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_APP + 9) throw Exception(u"posted handler failed");
        TForm::WndProc(m);
    }
};

class ApplicationTest : public UiTest {};

TEST_F(ApplicationTest, RunGoesOnAfterAnErrorAndEndsWhenTheMainFormCloses)
{
    g_freed.clear();
    TTrackedForm* main = nullptr;
    TTrackedForm* second = nullptr;
    int shows = 0;
    Application->CreateForm(main);
    main->SetName(u"main");
    Application->CreateForm(second);
    second->SetName(u"second");
    main->OnShow = [&](TObject*) { ++shows; };
    EXPECT_EQ(Application->MainForm(), main);
    responder().AnswerMessageBox(mrOk);
    PostMessage(main->Handle(), WM_APP + 9, 0, 0);
    PostMessage(main->Handle(), WM_CLOSE, 0, 0);
    Application->Run();
    EXPECT_EQ(shows, 1);
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Text, u"posted handler failed");
    EXPECT_EQ(g_freed, (std::vector<std::string>{"second", "main"}));
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(Application->FormCount(), 0);
}

TEST_F(ApplicationTest, FormClosedWithCaFreeIsFreedAtTheNextLoopTurn)
{
    g_freed.clear();
    auto* form = new TTrackedForm(nullptr);
    form->SetName(u"dialog");
    form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    form->Show();
    form->Close();
    EXPECT_TRUE(g_freed.empty());
    ProcessEvents();
    EXPECT_EQ(g_freed, (std::vector<std::string>{"dialog"}));
}

} // namespace
} // namespace plat
