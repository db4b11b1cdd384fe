#pragma once
// What the program's windows share: the button look, the title and button panels of the
// small dialogs, texts by number, and an observer of Set_Lang calls.
//
// Every window takes its texts from Lang_Table through Lang(); windows created before the
// table is filled (a test that builds one window alone) get empty texts, never a crash.
//
// Errors, in every window built on this kit and the code beneath it:
// - readers, writers and builders raise the platform's typed exceptions (plat::Exception and
//   its kin) carrying the exact text the user is to read;
// - a window catches at its own boundary (a button's or a menu's handler) and shows that
//   text in a message box; the main window does the same for what it starts;
// - a routine whose contract is a boolean or a result record keeps it, and says in its
//   header what false means;
// - nothing is swallowed: a catch either shows the text, records it where the caller reads
//   it, or rethrows. catch (...) never ends in an empty block.
#include <functional>

#include "FadeButton.h"
#include "plat/Forms.h"
#include "plat/String.h"

namespace plat {
class TPanel;
class TLabel;
}

// Background colour of the main window and of the buttons' face (a light cream).
constexpr plat::TColor Program_Color = 15595512;

// Text number `index` of Lang_Table; empty when the table does not reach it.
plat::String Lang(int index);
// True when the text holds something other than blanks (slots without a text hold " ").
bool Has_Text(const plat::String& text);

// A button in the program's look (Encarta style, cream face, grey edges, yellow when hot,
// orange when pressed, Verdana 8), placed on `parent`.
controls::TFadeButton* New_Button(plat::TComponent* owner, plat::TWinControl* parent, int left, int top,
                                  int width, int height);

// Base of the program's windows: fixed look (Verdana 8, centred on the screen) and the
// Set_Lang contract; each window names its class for the creation and language records.
class TLangForm : public plat::TForm {
public:
    explicit TLangForm(plat::TComponent* owner);
    // Sets the window's texts from Lang_Table; runs at creation and on a language change.
    virtual void Set_Lang() = 0;

protected:
    // Every Set_Lang starts here so that a language change can be followed from outside.
    void Note_Set_Lang();
};

// Observer called with the class name of every window whose Set_Lang runs (tests record
// the order); an empty function removes it.
using TSet_Lang_Observer = std::function<void(const plat::String& class_name)>;
void Set_Set_Lang_Observer(TSet_Lang_Observer observer);

// Text numbers of a window's frame; -1 where the window has no such text.
struct TFrame_Texts {
    int Caption = -1;
    int Desc = -1;
    int OK = -1;
    int Cancel = -1;
    int OK_Hint = -1;
    int Cancel_Hint = -1;
};

// Base of every dialog and editor window: the frame the program's dialogs share, created
// with the window, and the frame's texts.
//   P_Title   white title panel, 69 high at the top, holding L_SW_Code (SW_Code, Verdana 20
//             grey) and L_SW_Desc (Verdana 8 bold grey);
//   P_Button  button panel, 40 high at the bottom, holding Btn_OK (OK look) and Btn_Cancel
//             (Cancel look, closes with the Cancel result), 110 x 28 each.
// The window adds its own controls between the two panels, sets its border and size, and
// moves or re-purposes the frame's controls where its layout differs.
//
// Set_Lang sets the texts numbered in TFrame_Texts (window caption, L_SW_Desc, the buttons'
// captions and hints); a window with texts of its own overrides it and calls
// TDialogForm::Set_Lang first. A window made with a design caption keeps its design texts
// where Lang_Table has a blank text; one made without sets the texts as they are.
class TDialogForm : public TLangForm {
public:
    explicit TDialogForm(plat::TComponent* owner, TFrame_Texts texts = {});
    // A dialog form at the given client size, captioned `design_caption` (window and
    // L_SW_Desc) until its texts say otherwise; the system menu and maximise box are on.
    TDialogForm(plat::TComponent* owner, const char16_t* design_caption, TFrame_Texts texts, int client_width,
                int client_height);
    void Set_Lang() override;

    plat::TPanel* P_Title = nullptr;
    plat::TLabel* L_SW_Code = nullptr;
    plat::TLabel* L_SW_Desc = nullptr;
    plat::TPanel* P_Button = nullptr;
    controls::TFadeButton* Btn_OK = nullptr;
    controls::TFadeButton* Btn_Cancel = nullptr;

protected:
    const TFrame_Texts& Frame_Texts() const { return texts_; }
    // Sets a caption or hint from a text number; -1 leaves it as it is, and so does a blank
    // text for a window made with a design caption.
    void Apply_Text(int index, const std::function<void(const plat::String&)>& set) const;

private:
    void Create_Frame();

    bool keepDesignWhenBlank_ = false;
    TFrame_Texts texts_;
};
