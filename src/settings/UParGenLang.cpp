// Texts of the general-parameters window: captions, hints and the item lists that follow
// the language. Texts are stored as the language table holds them.
#include "UParGen.h"
#include "UParGenFields.h"

#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"

using namespace plat;

namespace {

void Put_Caption(TControl* c, int text)
{
    c->SetCaption(Lang(text));
}

void Put_Hint(TControl* c, int text)
{
    c->SetHint(Lang(text));
}

// Rebuilds a list from consecutive texts and selects its first item.
void Items(TComboBox* c, int first, int last)
{
    c->Items()->Clear();
    for (int i = first; i <= last; ++i) c->Items()->Add(Lang(i));
    c->SetItemIndex(0);
}

} // namespace

void TFParGen::Set_Lang()
{
    TDialogForm::Set_Lang();
    for (const std::vector<TParGen_Field>* rows : {&ParGen_Fields(), &ParGen_Other_Fields()}) {
        if (rows != &ParGen_Fields() && !other_panels_)
            continue;
        for (const TParGen_Field& f : *rows) {
            switch (f.Control) {
            case TParGen_Control::Label:
                if (f.Caption) Put_Caption(Label_Of(f), f.Caption);
                break;
            case TParGen_Control::Check:
                if (f.Caption) Put_Caption(Field_Of(f), f.Caption);
                if (f.Hint) Put_Hint(Field_Of(f), f.Hint);
                break;
            case TParGen_Control::Address:
                // Hints of the four bytes: consecutive texts unless the row names its own.
                for (size_t i = 0; i < 4; ++i) {
                    const int text = f.Byte_Hints[0] ? f.Byte_Hints[i] : f.Hint ? f.Hint + static_cast<int>(i) : 0;
                    if (text) Put_Hint(Byte_Of(f, i), text);
                }
                break;
            default:
                if (f.Caption) Put_Caption(Label_Of(f), f.Caption);
                if (f.Hint) Put_Hint(Field_Of(f), f.Hint);
                if (f.Lang_Items_First)
                    Items(static_cast<TComboBox*>(Field_Of(f)), f.Lang_Items_First, f.Lang_Items_Last);
                break;
            }
        }
    }
    for (controls::TFadeButton* b : {Btn_TLS_Server_Cert, Btn_TLS_CA_Cert, Btn_TLS_Client_Cert, Btn_TLS_Client_Cert_Key})
        b->SetCaption(u"...");
}
