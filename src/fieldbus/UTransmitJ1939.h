#pragma once
// Editor of the J1939 transmit rules (J1939_Send_Frames.xml): which parameter groups the
// converter sends, with how many bytes of the data array, on which events. The rules and
// the file are in UJ1939Rules.h, the window's life cycle in UJ1939Frames.h.
#include "UJ1939Frames.h"

class TFTransmitJ1939 : public TJ1939FrameForm {
public:
    explicit TFTransmitJ1939(plat::TComponent* owner);
    ~TFTransmitJ1939() override;
    plat::String ClassName() const override { return u"TFTransmitJ1939"; }

    int NUM_BYTE_OUT = j1939rules::Num_Byte;

protected:
    const plat::String& File() const override;
    void Read(TRule_Rows& rows, TRule_Load& load) override;
    plat::String Check(const TRule_Rows& rows) const override;
    void Fill(const TRule_Rows& rows) override;
    void Reset_Size() override { NUM_BYTE_OUT = j1939rules::Num_Byte; }
};

extern TFTransmitJ1939* FTransmitJ1939;
