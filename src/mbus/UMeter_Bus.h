#pragma once
// Editor of the M-Bus network (nodes and variables, M_Bus.xml): a tree of nodes and their
// variables, a node page and a variable page, OK / Cancel / "Import Network".
//
// - Every show reloads the topic list (MQTT_Set_Topic.xml) and the network file; OK writes
//   the file and closes, Cancel leaves it as it was (asking first after a change).
// - The node and variable buttons decide by their caption (add or modify); single nodes and
//   variables are validated as they are added or changed, the first fault in an error box.
// - A network file read only in part (the error box says why) is not overwritten by OK
//   without a question: what was not read would be lost.
// - Wireless nodes are not checked against the wired addresses; their own fields are.
// - The clipboards (Copy_Var, Copy_Node) live as long as the window.
#include <memory>

#include "UFormKit.h"
#include "UMBus_Network.h"

namespace plat {
class TCheckBox;
class TComboBox;
class TEdit;
class TLabel;
class TMenuItem;
class TPanel;
class TPopupMenu;
class TRadioButton;
class TTreeNode;
class TTreeView;
class TCustomComboBox;
}
namespace controls {
class TExtPageControl;
class TExtTabSheet;
}

class TFMeter_Bus : public TDialogForm {
public:
    explicit TFMeter_Bus(plat::TComponent* owner);
    ~TFMeter_Bus() override;
    plat::String ClassName() const override { return u"TFMeter_Bus"; }
    void Set_Lang() override;

    // The network being edited and the selection.
    TNodi_List Nodi_List;
    plat::TTreeNode* NODE_ORIG = nullptr;
    plat::TTreeNode* NODE_ID = nullptr;
    plat::TTreeNode* SELECT_NODE = nullptr;
    int IND_NODO = -1;
    int IND_VAR = -1;
    std::unique_ptr<TVariabile> Copy_Var;
    std::unique_ptr<TNodo> Copy_Node;
    bool Is_Change = false;
    std::vector<plat::String> MQTT_Topics;

    // Handlers, as the window's controls call them.
    void TWClick();
    void Aggiorna_Label();
    void btn_Add_NodeClick();
    void btn_Add_VarClick();
    void btn_Delete_ItemClick();
    void CopyVariable1Click();
    void PasteVariable1Click();
    void CopyNode1Click();
    void PasteNode1Click();
    void Btn_ImportNet_Click();
    void FadeButton2Click();
    void FadeButton4Click();
    void CB_MBus_TypeChange();
    void CB_Var_ToDChange();
    void CB_Var_DimChange();
    bool Controllo_Dati_New_Nodo();
    bool Controllo_Dati_New_Var();
    // True when no other wired node (and, while a variable is selected, not the selected
    // node either) has Address as the address of its own kind; kinds are not compared.
    bool Check_Node_ID(std::int64_t Address);
    // True when no node has Address as its address of kind Kind (0 primary, 1 secondary);
    // otherwise shows "Error!! ID Node is already used ".
    bool Check_Node_ID2(std::int32_t Address, std::int32_t Kind);
    // True when the VIFE at this index refuses a post operation.
    static bool Check_VIFE_PostOpe(int VIFE_Index);
    void Sposta_Oggetti_Var(int Var_List_Type);
    void Nodes_Move_Elements();
    // Opened-list width of a box: widest item + 12 + Extra, with room for a scroll bar when
    // the list scrolls; unchanged when the box is wide enough.
    static void Select_Width_ComboBox(plat::TCustomComboBox* Box, int Extra);

    // Controls.
    plat::TTreeView* TW = nullptr;
    plat::TPopupMenu* PM_CopyPaste = nullptr;
    plat::TMenuItem* Delete_Items1 = nullptr;
    plat::TMenuItem* CopyVariable1 = nullptr;
    plat::TMenuItem* PasteVariable1 = nullptr;
    plat::TMenuItem* CopyNode1 = nullptr;
    plat::TMenuItem* PasteNode1 = nullptr;
    controls::TExtPageControl* PageControl1 = nullptr;
    controls::TExtTabSheet* TS_Nodes = nullptr;
    controls::TExtTabSheet* TS_Variables = nullptr;
    controls::TFadeButton* Btn_ImportNet = nullptr;
    controls::TFadeButton* btn_Add_Node = nullptr;
    controls::TFadeButton* btn_Add_Var = nullptr;
    controls::TFadeButton* Btn_Scan_Device = nullptr;
    controls::TFadeButton* Btn_Scan_Variables = nullptr;

    // Node page.
    plat::TCheckBox* CB_En_Node = nullptr;
    plat::TLabel* L_Desc_Node = nullptr;
    plat::TEdit* E_Desc_Node = nullptr;
    plat::TLabel* L_MBus_Type = nullptr;
    plat::TComboBox* CB_MBus_Type = nullptr;
    plat::TRadioButton* RB_ID_Primary = nullptr;
    plat::TEdit* E_ID_Primary = nullptr;
    plat::TRadioButton* RB_ID_Secondary = nullptr;
    plat::TEdit* E_ID_Secondary = nullptr;
    plat::TCheckBox* CB_Send_SND_NKE = nullptr;
    plat::TCheckBox* CB_Reset_App = nullptr;
    plat::TLabel* L_Var_List = nullptr;
    plat::TComboBox* CB_Var_List = nullptr;
    plat::TLabel* L_Cut_After = nullptr;
    plat::TComboBox* CB_Cut_After = nullptr;
    plat::TLabel* L_Frames = nullptr;
    plat::TPanel* P_Wireless = nullptr;
    plat::TLabel* L_wMBus_ManID = nullptr;
    plat::TEdit* E_wMBus_ManID = nullptr;
    plat::TLabel* L_wMBus_Add = nullptr;
    plat::TEdit* E_wMBus_Add = nullptr;
    plat::TLabel* L_wMBus_Ver = nullptr;
    plat::TEdit* E_wMBus_Ver = nullptr;
    plat::TLabel* L_wMBus_DevType = nullptr;
    plat::TEdit* E_wMBus_DevType = nullptr;
    plat::TCheckBox* CB_wMBus_En_Key = nullptr;
    plat::TLabel* L_Key[16] = {};
    plat::TEdit* E_Key[16] = {};
    plat::TLabel* L_wVar_List = nullptr;
    plat::TComboBox* CB_wVar_List = nullptr;

    // Variable page.
    plat::TCheckBox* CB_En_Var = nullptr;
    plat::TLabel* L_Var_Desc = nullptr;
    plat::TEdit* E_Var_Desc = nullptr;
    plat::TLabel* L_Var_ToD = nullptr;
    plat::TComboBox* CB_Var_ToD = nullptr;
    plat::TLabel* L_VIF_ASCII = nullptr;
    plat::TEdit* E_VIF_ASCII = nullptr;
    plat::TLabel* L_Var_Fun = nullptr;
    plat::TComboBox* CB_Var_Fun = nullptr;
    plat::TLabel* L_Var_Dim = nullptr;
    plat::TComboBox* CB_Var_Dim = nullptr;
    plat::TLabel* L_Var_Len = nullptr;
    plat::TEdit* E_Var_Len = nullptr;
    plat::TLabel* L_Var_Unit = nullptr;
    plat::TComboBox* CB_Var_Unit = nullptr;
    plat::TLabel* L_Var_StoNum = nullptr;
    plat::TEdit* E_Var_StoNum = nullptr;
    plat::TLabel* L_Var_Tariff = nullptr;
    plat::TEdit* E_Var_Tariff = nullptr;
    plat::TLabel* L_Var_VIFE = nullptr;
    plat::TComboBox* CB_Var_VIFE = nullptr;
    plat::TCheckBox* CB_BCDtoINT = nullptr;
    plat::TLabel* L_Var_Position = nullptr;
    plat::TEdit* E_Var_Position = nullptr;
    plat::TLabel* L_Var_Topic = nullptr;
    plat::TComboBox* CB_Var_Topic = nullptr;
    plat::TLabel* L_Var_PostOp = nullptr;
    plat::TComboBox* CB_Var_PostOp = nullptr;

protected:
    void DoShow() override;

private:
    void Load_Topics();
    void Load_Network();
    void Rebuild_Tree();
    void Read_Node_Controls(TNodo& Node);
    void Read_Var_Controls(TVariabile& Var);
    void Show_Node(const TNodo& Node);
    void Reset_Var_Page();
    void Show_Var(const TVariabile& Var);
    void Clear_Network();
    bool Node_Selected() const { return IND_NODO >= 0 && IND_NODO < static_cast<int>(Nodi_List.size()); }

    // Set when the last load stopped early: OK asks before writing over the file.
    bool partly_Loaded_ = false;
};

extern TFMeter_Bus* FMeter_Bus;
