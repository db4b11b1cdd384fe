#pragma once
// Dialog composing the name of the GSDML file.
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 3400); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFProfinetFileName : public TEditorStubForm {
public:
    explicit TFProfinetFileName(plat::TComponent* owner);
    ~TFProfinetFileName() override;
    plat::String ClassName() const override { return u"TFProfinetFileName"; }
    // The GSDML file name without folder, read by the caller after the OK result.
    plat::String Name_File_XML;
};

extern TFProfinetFileName* FProfinetFileName;
