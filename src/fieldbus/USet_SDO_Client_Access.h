#pragma once
// Editor of the CANopen SDO client requests (SDO_Client_CANopen.xml): 256 read and 256
// write requests to other devices' object entries. The rules and the file are in
// USDORules.h, the window's life cycle in USDOEditor.h.
#include "USDOEditor.h"

class TFSet_SDO_Client_Access : public TSDOEditorForm {
public:
    explicit TFSet_SDO_Client_Access(plat::TComponent* owner);
    ~TFSet_SDO_Client_Access() override;
    plat::String ClassName() const override { return u"TFSet_SDO_Client_Access"; }

protected:
    const plat::String& File() const override;
    void Read(TRule_Rows& read, TRule_Rows& write, TRule_Load& load) const override;
    plat::String Check(const TRule_Rows& read, const TRule_Rows& write) const override;
    void Fill(const TRule_Rows& read, const TRule_Rows& write) override;
};

extern TFSet_SDO_Client_Access* FSet_SDO_Client_Access;
