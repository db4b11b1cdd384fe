#pragma once
// The New dialog: asks the name of a new configuration. OK (or Enter in the name) creates
// PROJECTS/<name> with its bin folder, makes it the active configuration and closes with
// the OK result; a refused name shows its error (texts 105-107) and the dialog stays open.
#include "UFormKit.h"

namespace plat {
class TLabel;
class TEdit;
}

class TFNew_Project : public TDialogForm {
public:
    explicit TFNew_Project(plat::TComponent* owner);
    ~TFNew_Project() override;
    plat::String ClassName() const override { return u"TFNew_Project"; }
    void Set_Lang() override;
    void Btn_OKClick();

    plat::TLabel* Label1 = nullptr;
    plat::TEdit* E_New_Proj = nullptr;

protected:
    void DoShow() override;
};

extern TFNew_Project* FNew_Project;
