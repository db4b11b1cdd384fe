#pragma once
// Message boxes and file dialogs. Both go through the layer's responder (plat/UiResponder.h):
// on a desktop it shows the real dialog; in tests a scripted responder records the call and
// answers, and an unscripted message box fails the test instead of blocking.
//
// Results are the framework's numbers: mrOk 1, mrCancel 2, mrYes 6, mrNo 7 (plat/Messages.h).
// Captions: "Error", "Warning", "Information", "Confirm".
#include <initializer_list>

#include "plat/Classes.h"
#include "plat/Messages.h"

namespace plat {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose };

// A set of buttons: MessageDlg(text, mtConfirmation, {mbYes, mbNo}).
class TMsgDlgButtons {
public:
    constexpr TMsgDlgButtons() = default;
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> Buttons)
    {
        for (TMsgDlgBtn b : Buttons) bits_ |= 1u << b;
    }
    constexpr bool Contains(TMsgDlgBtn B) const { return (bits_ & (1u << B)) != 0; }
    constexpr unsigned Bits() const { return bits_; }
    constexpr bool Empty() const { return bits_ == 0; }
    friend constexpr bool operator==(TMsgDlgButtons a, TMsgDlgButtons b) { return a.bits_ == b.bits_; }

private:
    unsigned bits_ = 0;
};

inline constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// Answers the modal result of the button chosen (closing the box gives mrCancel, or mrNo
// when there is no Cancel button, or mrOk for a lone OK).
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
// Caption given explicitly (empty = the kind's caption).
int MessageDlgCaption(const String& Caption, const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
void ShowMessage(const String& Msg);
// The window system's message box: MB_* flags, ID* answers.
int MessageBox(const String& Text, const String& Caption, UINT Flags);

// The dialog caption of a kind: "Warning", "Error", "Information", "Confirm", "" (custom).
String MsgDlgCaption(TMsgDlgType DlgType);

enum TOpenOption : unsigned {
    ofReadOnly = 1u << 0,
    ofOverwritePrompt = 1u << 1,
    ofHideReadOnly = 1u << 2,
    ofNoChangeDir = 1u << 3,
    ofAllowMultiSelect = 1u << 9,
    ofExtensionDifferent = 1u << 10,
    ofPathMustExist = 1u << 11,
    ofFileMustExist = 1u << 12,
    ofCreatePrompt = 1u << 13,
    ofNoReadOnlyReturn = 1u << 15,
    ofEnableSizing = 1u << 21,
};
using TOpenOptions = unsigned;

// Filter: "Text files (*.txt)|*.txt|All files (*.*)|*.*"; FilterIndex is 1-based.
// DefaultExt is appended to a chosen name that has no extension; "eds", ".eds" and "*.eds"
// all give ".eds".
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);
    String ClassName() const override { return u"TOpenDialog"; }

    const String& Filter() const { return filter_; }
    void SetFilter(const String& Value) { filter_ = Value; }
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int Value) { filterIndex_ = Value; }
    const String& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const String& Value) { defaultExt_ = Value; }
    const String& InitialDir() const { return initialDir_; }
    void SetInitialDir(const String& Value) { initialDir_ = Value; }
    const String& FileName() const { return fileName_; }
    void SetFileName(const String& Value) { fileName_ = Value; }
    const String& Title() const { return title_; }
    void SetTitle(const String& Value) { title_ = Value; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions Value) { options_ = Value; }

    // True with FileName (and FilterIndex) set when the user chose a file.
    virtual bool Execute();

protected:
    bool save_ = false;

private:
    String filter_;
    int filterIndex_ = 1;
    String defaultExt_;
    String initialDir_;
    String fileName_;
    String title_;
    TOpenOptions options_ = ofHideReadOnly | ofEnableSizing;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) { save_ = true; }
    String ClassName() const override { return u"TSaveDialog"; }
};

} // namespace plat
