#pragma once
// Editor of the J1939 receive rules (J1939_Rec_Frames.xml): which parameter groups the
// converter captures, which of their bytes, and whether it requests them. The rules and the
// file are in UJ1939Rules.h, the window's life cycle in UJ1939Frames.h.
#include "UJ1939Frames.h"

class TFReceiveJ1939 : public TJ1939FrameForm {
public:
    explicit TFReceiveJ1939(plat::TComponent* owner);
    ~TFReceiveJ1939() override;
    plat::String ClassName() const override { return u"TFReceiveJ1939"; }

    int NUM_BYTE_IN = j1939rules::Num_Byte;

protected:
    const plat::String& File() const override;
    void Read(TRule_Rows& rows, TRule_Load& load) override;
    plat::String Check(const TRule_Rows& rows) const override;
    void Fill(const TRule_Rows& rows) override;
    void Reset_Size() override { NUM_BYTE_IN = j1939rules::Num_Byte; }
};

extern TFReceiveJ1939* FReceiveJ1939;
