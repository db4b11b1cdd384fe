#pragma once
// The about box: the product's identity in fixed English texts (it does not follow the
// language). The logo and the web address open the maker's home page.
#include "plat/Forms.h"

namespace plat {
class TImage;
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

    // Click of Label4 and of Image2.
    void Label4Click(plat::TObject* Sender);

    plat::TImage* Image2 = nullptr;   // the maker's logo, 81 x 81
    plat::TLabel* Label1 = nullptr;   // "Software Tralvex "
    plat::TLabel* Label2 = nullptr;   // product description
    plat::TLabel* Label3 = nullptr;   // "Version :"
    plat::TLabel* Label6 = nullptr;   // "Software Code : "
    plat::TLabel* Label8 = nullptr;   // "Document Code :"
    plat::TLabel* Label9 = nullptr;   // software code
    plat::TLabel* Label10 = nullptr;  // version
    plat::TLabel* Label12 = nullptr;  // manual code
    plat::TLabel* Label4 = nullptr;   // the maker's web address
    controls::TFadeButton* FadeButton1 = nullptr;

protected:
    void DoShow() override;
};

extern TFAbout* FAbout;
