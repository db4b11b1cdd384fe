#pragma once
// Editor of the CANopen PDO rules (PDO_CANopen.xml): 30 receive and 30 transmit PDOs on two
// pages. Every show resets both tables, makes the receive page active, reloads the file and
// clears both copy flags; OK checks the receive rows, then the transmit rows, and replaces
// the file. The rules and the file are in UPDORules.h.
#include "UPDORules.h"
#include "URuleEditor.h"

namespace plat {
class TXMLDocument;
}

class TFSet_PDO_Access : public TRuleEditorForm {
public:
    explicit TFSet_PDO_Access(plat::TComponent* owner);
    ~TFSet_PDO_Access() override;
    plat::String ClassName() const override { return u"TFSet_PDO_Access"; }

    void FormShow();
    // True when both tables may be saved; else the first fault in an error box and false.
    bool Controllo_dati();
    void Btn_OK_Click();
    // Moves the cells of columns 1 .. last of the rows below `row` up one; the last row
    // becomes empty.
    static void Delete_Row(int row, grid::TExtColumnGrid* grid);
    void Btn_DelRowClick() override;

    plat::TTabSheet* TS_Receive_PDO = nullptr;
    plat::TTabSheet* TS_Transmit_PDO = nullptr;
    grid::TExtColumnGrid* sga = nullptr;
    grid::TExtColumnGrid* sgb = nullptr;
    plat::TXMLDocument* XML1 = nullptr;
    int PROFINET_NByte_IN = pdorules::NByte;
    int PROFINET_NByte_OUT = pdorules::NByte;

    bool Do_Copy_Receive_PDO() { return Table(0).Do_Copy; }
    bool Do_Copy_Transmit_PDO() { return Table(1).Do_Copy; }
};

extern TFSet_PDO_Access* FSet_PDO_Access;
