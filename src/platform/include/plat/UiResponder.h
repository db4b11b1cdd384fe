#pragma once
// The layer's one door to the user for things that would block: message boxes, file dialogs,
// popup menus and modal forms. The desktop responder shows real windows; the test kit
// installs a scripted one that records every call and answers from its script.
#include <vector>

#include "plat/Dialogs.h"
#include "plat/Types.h"

namespace plat {

class TCustomForm;

struct MessageBoxRequest {
    TMsgDlgType Kind = mtInformation;
    String Caption;
    String Text;
    TMsgDlgButtons Buttons;
};

struct FileDialogRequest {
    bool Save = false;
    String Title;
    String Filter;
    int FilterIndex = 1;
    String InitialDir;
    String DefaultExt;
    String FileName;
    TOpenOptions Options = 0;
};

struct FileDialogAnswer {
    bool Accepted = false;
    String FileName;     // full path as chosen; the dialog appends DefaultExt when missing
    int FilterIndex = 1;
};

struct PopupMenuRequest {
    std::vector<String> Items;  // captions of the visible items, "-" for separators
    std::vector<bool> Enabled;
    TPoint ScreenPos;
};

class TUiResponder {
public:
    virtual ~TUiResponder() = default;
    // Answers the modal result of the chosen button.
    virtual int MessageBox(const MessageBoxRequest& Request) = 0;
    virtual FileDialogAnswer FileDialog(const FileDialogRequest& Request) = 0;
    // Index of the chosen item in Request.Items, -1 for none.
    virtual int PopupMenu(const PopupMenuRequest& Request) = 0;
    // Runs inside ShowModal after OnShow with the form visible. Returning false lets the
    // normal modal loop run; a scripted responder runs the script and returns true (the
    // form's ModalResult is then the answer).
    virtual bool RunModal(TCustomForm& Form) = 0;
};

// Null restores the desktop responder. The caller keeps ownership.
void SetUiResponder(TUiResponder* Responder);
TUiResponder& UiResponder();

} // namespace plat
