#pragma once
// The about box: the product's identity in fixed English texts (it does not follow the
// language). Its picture and the link behaviour come with the options issue.
#include "plat/Forms.h"

namespace plat {
class TLabel;
}
namespace controls {
class TFadeButton;
}

class TFAbout : public plat::TForm {
public:
    explicit TFAbout(plat::TComponent* owner);
    ~TFAbout() override;
    plat::String ClassName() const override { return u"TFAbout"; }

    plat::TLabel* Label1 = nullptr;   // "Software Tralvex "
    plat::TLabel* Label2 = nullptr;   // product description
    plat::TLabel* Label3 = nullptr;   // "Version :"
    plat::TLabel* Label6 = nullptr;   // "Software Code : "
    plat::TLabel* Label8 = nullptr;   // "Document Code :"
    plat::TLabel* Label9 = nullptr;   // software code
    plat::TLabel* Label10 = nullptr;  // version
    plat::TLabel* Label12 = nullptr;  // manual code
    controls::TFadeButton* FadeButton1 = nullptr;

protected:
    void DoShow() override;
};

extern TFAbout* FAbout;
