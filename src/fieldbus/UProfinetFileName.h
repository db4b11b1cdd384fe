#pragma once
// Dialog composing the name of the GSDML file.
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 3400), the design caption where a text is blank.
#include "UFormKit.h"

class TFProfinetFileName : public TDialogForm {
public:
    explicit TFProfinetFileName(plat::TComponent* owner);
    ~TFProfinetFileName() override;
    plat::String ClassName() const override { return u"TFProfinetFileName"; }
    // The GSDML file name without folder, read by the caller after the OK result.
    plat::String Name_File_XML;
};

extern TFProfinetFileName* FProfinetFileName;
