#pragma once
// Editor of the CAN receive frames (CAN_Rec_Frames.xml): which frames the converter takes
// from the bus and into which positions of the data array their bytes go. The rules and the
// file are in UCANRules.h, the window's life cycle in UCANFrames.h.
#include "UCANFrames.h"

class TFReceiveCAN : public TCANFrameForm {
public:
    explicit TFReceiveCAN(plat::TComponent* owner);
    ~TFReceiveCAN() override;
    plat::String ClassName() const override { return u"TFReceiveCAN"; }

    grid::TExtColumnGrid* ACG_CAN_Receive = nullptr;

protected:
    const plat::String& File() const override;
    void Read(TRule_Rows& rows, TRule_Load& load) override;
};

extern TFReceiveCAN* FReceiveCAN;
