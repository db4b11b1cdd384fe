#pragma once
// What the program's windows share: the button look, the title and button panels of the
// small dialogs, texts by number, and an observer of Set_Lang calls.
//
// Every window takes its texts from Lang_Table through Lang(); windows created before the
// table is filled (a test that builds one window alone) get empty texts, never a crash.
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

// The frame of the small dialogs and editors: a title panel 69 high at the top holding
// L_SW_Code (shows SW_Code) and L_SW_Desc, and a bottom panel 40 high holding Btn_OK and
// Btn_Cancel (110 x 28; Cancel closes with the Cancel result).
struct TDialogFrame {
    plat::TPanel* P_Title = nullptr;
    plat::TLabel* L_SW_Code = nullptr;
    plat::TLabel* L_SW_Desc = nullptr;
    plat::TPanel* P_Button = nullptr;
    controls::TFadeButton* Btn_OK = nullptr;
    controls::TFadeButton* Btn_Cancel = nullptr;
};
TDialogFrame New_Dialog_Frame(plat::TForm* form);

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

// A window of another issue or subsystem as far as start-up and the language change need
// it: its window with the dialog frame and client size, and Set_Lang giving the frame its
// texts (the design caption stays while a text is blank, as for blocks whose texts come with
// their subsystem). Its own issue fills in the tables, loading, validation and saving.
class TEditorStubForm : public TLangForm {
public:
    TEditorStubForm(plat::TComponent* owner, const char16_t* design_caption, TFrame_Texts texts, int client_width,
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
    // Sets a caption or hint from a text number, keeping the current one for -1 or a blank text.
    static void Apply_Text(int index, const std::function<void(const plat::String&)>& set);

private:
    plat::String designCaption_;
    TFrame_Texts texts_;
};
