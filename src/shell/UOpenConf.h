#pragma once
// The Open dialog: lists the configuration folders at every showing, preselects the active
// configuration (letter case ignored) or else the first entry, and leaves the chosen name
// in Name_Conf for the caller to read after the OK result.
#include <vector>

#include "UFormKit.h"

namespace plat {
class TLabel;
class TListBox;
}

class TFOpenConf : public TDialogForm {
public:
    explicit TFOpenConf(plat::TComponent* owner);
    ~TFOpenConf() override;
    plat::String ClassName() const override { return u"TFOpenConf"; }
    void Set_Lang() override;
    void Load_Existing_Configuration();
    void ListBox1Click();

    // Folder names of the last showing, in list order.
    std::vector<plat::String> SL;
    // The chosen configuration; empty when the list is empty.
    plat::String Name_Conf;

    plat::TLabel* Label1 = nullptr;
    plat::TListBox* ListBox1 = nullptr;

protected:
    void DoShow() override;
};

extern TFOpenConf* FOpenConf;
