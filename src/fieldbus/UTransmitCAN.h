#pragma once
// Editor of the CAN send frames (CAN_Send_Frames.xml): which frames the converter sends, on
// which events, and which positions of the data array fill their bytes. The rules and the
// file are in UCANRules.h, the window's life cycle in UCANFrames.h.
#include "UCANFrames.h"

class TFTransmitCAN : public TCANFrameForm {
public:
    explicit TFTransmitCAN(plat::TComponent* owner);
    ~TFTransmitCAN() override;
    plat::String ClassName() const override { return u"TFTransmitCAN"; }

    grid::TExtColumnGrid* ACG_CAN_Transmit = nullptr;
    // Defaults of attributes that older files lack (they start at 0; nothing sets them).
    int CAN_Type = 0;
    int Send_Type = 0;
    int Send_Time = 0;

protected:
    const plat::String& File() const override;
    void Read(TRule_Rows& rows, TRule_Load& load) override;
};

extern TFTransmitCAN* FTransmitCAN;
