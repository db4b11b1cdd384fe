#include "UAddressEntry.h"

#include <utility>

using plat::String;
using plat::TEdit;
using plat::TObject;

void Attach_Address_Field(TEdit* Field, plat::TKeyPressEvent KeyPress)
{
    Field->OnKeyPress = std::move(KeyPress);
    plat::TNotifyEvent previous = Field->OnChange;
    Field->OnChange = [Field, previous](TObject* Sender) {
        const String text = Field->Text();
        if (text.find(u'.') != String::npos) {
            String clean;
            for (char16_t c : text)
                if (c != u'.') clean += c;
            // Setting the text comes back here once more, without dots.
            Field->SetText(clean);
            Field->SetSelStart(static_cast<int>(clean.size()));
            return;
        }
        if (previous) previous(Sender);
    };
}

bool Address_Dot_Key(char16_t& Key, TEdit* Next)
{
    if (Key != u'.') return false;
    Key = 0;
    if (Next && Next->CanFocus()) {
        Next->SetFocus();
        Next->SelectAll();
    }
    return true;
}
