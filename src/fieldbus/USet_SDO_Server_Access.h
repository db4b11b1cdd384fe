#pragma once
// Editor of the CANopen SDO server entries (SDO_Server_CANopen.xml): 500 "SDO in Read" and
// 500 "SDO in Write" manufacturer entries (0x2000..0x5FFF) that the EDS writer describes.
// The rules and the file are in USDORules.h, the window's life cycle in USDOEditor.h.
#include "USDOEditor.h"

class TFSet_SDO_Server_Access : public TSDOEditorForm {
public:
    explicit TFSet_SDO_Server_Access(plat::TComponent* owner);
    ~TFSet_SDO_Server_Access() override;
    plat::String ClassName() const override { return u"TFSet_SDO_Server_Access"; }

protected:
    const plat::String& File() const override;
    void Read(TRule_Rows& read, TRule_Rows& write, TRule_Load& load) const override;
    plat::String Check(const TRule_Rows& read, const TRule_Rows& write) const override;
    void Fill(const TRule_Rows& read, const TRule_Rows& write) override;
};

extern TFSet_SDO_Server_Access* FSet_SDO_Server_Access;
