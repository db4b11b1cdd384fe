// The M-Bus network editor and the node ID dialog through the real event path: loading and
// writing the network file, selection, node and variable validation with their messages,
// copy and paste through the dialog, delete, import, Cancel and a partly read file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ExtPageControl.h"
#include "TestSupport.h"
#include "UComon.h"
#include "ULanguage.h"
#include "UMeter_Bus.h"
#include "UNewIDNode.h"
#include "plat/ExtCtrls.h"
#include "plat/Menus.h"
#include "plat/SysUtils.h"
#include "plat/Messages.h"
#include "plat/StdCtrls.h"
#include "plat/Testing.h"
#include "plat/TreeView.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

std::string U8(const String& s) { return StringToUtf8(s); }

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::unique_ptr<TNodo> Wired(const char16_t* desc, int primary, int secondary, int kind, int vars)
{
    auto n = std::make_unique<TNodo>();
    n->Enable = true;
    n->Description = desc;
    n->Node_ID_Primary = primary;
    n->Node_ID_Secondary = secondary;
    n->Node_ID_Type = static_cast<std::uint8_t>(kind);
    n->MBus_Type = 1;
    for (int i = 0; i < vars; ++i) {
        auto v = std::make_unique<TVariabile>();
        v->Enable = true;
        v->Description = u"Energy " + IntToStr(i + 1);
        v->Position = 1;
        n->Var_List.push_back(std::move(v));
    }
    return n;
}

class MeterBusTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
        File_M_Bus = dir.path() + u"/M_Bus.xml";
        File_MQTT_Set_Topic = dir.path() + u"/MQTT_Set_Topic.xml";
        editor = std::make_unique<TFMeter_Bus>(nullptr);
        dialog = std::make_unique<TFNewIDNode>(nullptr);
    }
    void TearDown() override
    {
        dialog.reset();
        editor.reset();
        pt::UiTest::TearDown();
    }
    // The fixture network: "Meter A" primary 1 with two variables, "Meter B" secondary 5.
    void Write_Fixture()
    {
        TNodi_List nodes;
        nodes.push_back(Wired(u"Meter A", 1, 0, 0, 2));
        nodes.push_back(Wired(u"Meter B", 0, 5, 1, 1));
        Save_MBus_Network(File_M_Bus, nodes);
    }
    std::string Fixture_Path() const { return U8(File_M_Bus); }
    // Runs Script inside the shown editor; the script leaves a modal result.
    TModalResult Run(std::function<void(TFMeter_Bus&)> Script)
    {
        responder().ScriptModal<TFMeter_Bus>(std::move(Script));
        return static_cast<TModalResult>(editor->ShowModal());
    }
    static void Click_Item(TFMeter_Bus& f, TTreeNode* item)
    {
        const TRect r = f.TW->NodeRect(item, false);
        pt::Click(f.TW, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    static void Click(controls::TFadeButton* b) { pt::Click(b, 10, 10); }
    static void Retype(TEdit* e, const String& text)
    {
        e->SetText(String());
        e->SetFocus();
        pt::Type(text);
    }
    testsupport::TempDir dir;
    std::unique_ptr<TFMeter_Bus> editor;
    std::unique_ptr<TFNewIDNode> dialog;
};

TEST_F(MeterBusTest, ChangingOneAttributeOfANodeChangesOnlyThatAttributeInTheFile)
{
    Write_Fixture();
    const std::string before = ReadAll(Fixture_Path());
    const TModalResult r = Run([](TFMeter_Bus& f) {
        EXPECT_EQ(f.ClientWidth(), 834);
        EXPECT_EQ(f.ClientHeight(), 662);
        EXPECT_EQ(f.Caption(), u"M-Bus Network");
        ASSERT_EQ(f.Nodi_List.size(), 2u);
        ASSERT_EQ(f.NODE_ORIG->Count(), 2);
        EXPECT_EQ(U8(f.NODE_ORIG->Item(0)->Text()), "ID 1 - Meter A");
        Click_Item(f, f.NODE_ORIG->Item(0));
        EXPECT_EQ(f.IND_NODO, 0);
        EXPECT_EQ(f.IND_VAR, -1);
        EXPECT_EQ(f.btn_Add_Node->Caption(), u"MODIFY NODE");
        EXPECT_EQ(f.btn_Add_Var->Caption(), u"ADD VARIABLE");
        EXPECT_EQ(f.E_Desc_Node->Text(), u"Meter A");
        Retype(f.E_Desc_Node, u"Meter C");
        Click(f.btn_Add_Node);
        EXPECT_EQ(U8(f.NODE_ORIG->Item(0)->Text()), "ID 1 - Meter C");
        EXPECT_EQ(f.Nodi_List[0]->Var_List.size(), 2u);
        Click(f.Btn_OK);
    });
    EXPECT_EQ(r, mrOk);
    std::string expected = before;
    expected.replace(expected.find("Meter A"), 7, "Meter C");
    EXPECT_EQ(ReadAll(Fixture_Path()), expected);
    EXPECT_TRUE(responder().MessageBoxes().empty());
}

TEST_F(MeterBusTest, SelectingAVariableShowsItAndSwitchesThePage)
{
    Write_Fixture();
    Run([](TFMeter_Bus& f) {
        TTreeNode* node = f.NODE_ORIG->Item(0);
        node->Expand(false);
        Click_Item(f, node->Item(1));
        EXPECT_EQ(f.IND_NODO, 0);
        EXPECT_EQ(f.IND_VAR, 1);
        EXPECT_EQ(f.btn_Add_Node->Caption(), u"ADD NODE");
        EXPECT_EQ(f.btn_Add_Var->Caption(), u"MODIFY VARIABLE");
        EXPECT_EQ(f.PageControl1->ActivePage(), f.TS_Variables);
        EXPECT_EQ(f.E_Var_Desc->Text(), u"Energy 2");
        // The root: nothing selected, add captions.
        Click_Item(f, f.NODE_ORIG);
        EXPECT_EQ(f.IND_NODO, -1);
        EXPECT_EQ(f.btn_Add_Node->Caption(), u"ADD NODE");
        EXPECT_EQ(f.btn_Add_Var->Caption(), u"ADD VARIABLE");
        f.SetModalResult(mrCancel);
    });
}

// One row per check: the state to set up, the button, the message (empty: accepted).
TEST_F(MeterBusTest, ValidationShowsTheFirstFault)
{
    Write_Fixture();
    enum Select { Root, NodeA, VarOfA };
    struct Case {
        const char* what;
        Select select;
        std::function<void(TFMeter_Bus&)> set;
        bool variable;  // variable button, else node button
        const char* message;
    };
    auto wired = [](bool primary, const char16_t* id) {
        return [=](TFMeter_Bus& f) {
            f.CB_MBus_Type->SetItemIndex(1);
            f.CB_MBus_TypeChange();
            (primary ? f.RB_ID_Primary : f.RB_ID_Secondary)->SetChecked(true);
            (primary ? f.E_ID_Primary : f.E_ID_Secondary)->SetText(id);
        };
    };
    auto wireless = [](const char16_t* man, const char16_t* add, const char16_t* ver, const char16_t* dev,
                       bool key) {
        return [=](TFMeter_Bus& f) {
            f.CB_MBus_Type->SetItemIndex(0);
            f.CB_MBus_TypeChange();
            f.E_wMBus_ManID->SetText(man);
            f.E_wMBus_Add->SetText(add);
            f.E_wMBus_Ver->SetText(ver);
            f.E_wMBus_DevType->SetText(dev);
            f.CB_wMBus_En_Key->SetChecked(key);
            for (int k = 0; k < 16; ++k) f.E_Key[k]->SetText(k == 6 ? String() : u"$FF");
        };
    };
    auto var = [](const char16_t* sto, const char16_t* tariff, int dim, const char16_t* len, const char16_t* pos,
                  int tod, int vife, int post) {
        return [=](TFMeter_Bus& f) {
            f.E_Var_StoNum->SetText(sto);
            f.E_Var_Tariff->SetText(tariff);
            f.CB_Var_Dim->SetItemIndex(dim);
            f.E_Var_Len->SetText(len);
            f.E_Var_Position->SetText(pos);
            f.CB_Var_ToD->SetItemIndex(tod);
            f.CB_Var_VIFE->SetItemIndex(vife);
            f.CB_Var_PostOp->SetItemIndex(post);
        };
    };
    const char* used = "Error!! ID Node is already used ";
    const Case cases[] = {
        {"primary 256", Root, wired(true, u"256"), false, "Error!! Primary ID Node M-Bus must be between 0 and 255 "},
        {"primary x", Root, wired(true, u"x"), false, "Error!! Primary ID Node M-Bus must be between 0 and 255 "},
        {"secondary 10^8", Root, wired(false, u"100000000"), false,
         "Error!! Secondary ID Node M-Bus must be between 0 and 99999999 "},
        // Kinds are not compared: primary 5 collides with Meter B's secondary 5.
        {"primary 5", Root, wired(true, u"5"), false, used},
        // A new node while a variable is selected is checked against that variable's node too.
        {"primary 1 from a variable", VarOfA, wired(true, u"1"), false, used},
        {"primary 1 modifies its own node", NodeA, wired(true, u"1"), false, ""},
        {"manufacturer 0x10000", Root, wireless(u"0x10000", u"1", u"1", u"1", false), false,
         "Error!! Manufacturer Id must be between 0x0000 and 0xFFFF"},
        {"address $1FFFFFFFF", Root, wireless(u"1", u"$1FFFFFFFF", u"1", u"1", false), false,
         "Error!! Address must be between 0x00000000 and 0xFFFFFFFF"},
        {"version 256", Root, wireless(u"1", u"1", u"256", u"1", false), false,
         "Error!! Version must be between 0x00 and 0xFF"},
        {"device type empty", Root, wireless(u"1", u"1", u"1", u"", false), false,
         "Error!! Device Type must be between 0x00 and 0xFF"},
        {"key byte 7 empty", Root, wireless(u"1", u"$FFFFFFFF", u"1", u"7", true), false,
         "Error!! Key (Byte 7) must be between 0x00 and 0xFF"},
        // A valid wireless node whose device type equals a wired address is not refused.
        {"wireless without key", Root, wireless(u"1", u"$FFFFFFFF", u"1", u"5", false), false, ""},
        {"storage 2^32", NodeA, var(u"4294967296", u"0", 0, u"0", u"1", 0, 0, 0), true,
         "Error!! Storage Number must be between 0x00000000 and 0xFFFFFFFF "},
        {"tariff $100000", NodeA, var(u"0", u"$100000", 0, u"0", u"1", 0, 0, 0), true,
         "Error!! Tariff must be between 0x00000 and 0xFFFFF "},
        {"length 192", NodeA, var(u"0", u"0", 7, u"192", u"1", 0, 0, 0), true,
         "Error!! Length (Variable Len) must be between 0 and 191 "},
        {"length 192 without variable length", NodeA, var(u"0", u"0", 6, u"192", u"1", 0, 0, 0), true, ""},
        {"position 0 in the By Type layout", NodeA, var(u"0", u"0", 0, u"0", u"0", 0, 0, 0), true,
         "Error!! Variable position must be between 1 and 100 "},
        {"post operation with Time Point", NodeA, var(u"0", u"0", 0, u"0", u"1", 20, 0, 1), true,
         "Error!! Post Operation must be \"None\" for this \"Type of Data\""},
        {"post operation with VIFE Not Selected", NodeA, var(u"0", u"0", 0, u"0", u"1", 19, 0, 1), true,
         "Error!! Post Operation must be \"None\" for this type of \"VIFE\""},
        {"post operation with VIFE Volts", NodeA, var(u"0", u"0", 0, u"0", u"1", 19, 38, 1), true, ""},
    };
    Run([&](TFMeter_Bus& f) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            TTreeNode* a = f.NODE_ORIG->Item(0);
            a->Expand(false);
            Click_Item(f, c.select == Root ? f.NODE_ORIG : c.select == NodeA ? a : a->Item(0));
            c.set(f);
            const std::size_t nodes = f.Nodi_List.size(), vars = f.Nodi_List[0]->Var_List.size();
            const std::size_t boxes = responder().MessageBoxes().size();
            if (*c.message) responder().AnswerMessageBox(mrOk);
            Click(c.variable ? f.btn_Add_Var : f.btn_Add_Node);
            const auto texts = responder().MessageTexts();
            if (*c.message) {
                ASSERT_EQ(texts.size(), boxes + 1);
                EXPECT_EQ(U8(texts.back()), c.message);
                EXPECT_EQ(f.Nodi_List.size(), nodes);
                EXPECT_EQ(f.Nodi_List[0]->Var_List.size(), vars);
            } else {
                EXPECT_EQ(texts.size(), boxes);
                const bool added = c.select != NodeA || c.variable;
                EXPECT_EQ(f.Nodi_List.size() + f.Nodi_List[0]->Var_List.size(), nodes + vars + (added ? 1 : 0));
            }
        }
        f.SetModalResult(mrCancel);
    });
}

TEST_F(MeterBusTest, CheckVIFEPostOperation)
{
    for (int i = 0; i < 152; ++i) {
        const bool allowed = i == 38 || i == 39 || (i >= 51 && i <= 69);
        EXPECT_EQ(TFMeter_Bus::Check_VIFE_PostOpe(i), !allowed) << i;
    }
}

TEST_F(MeterBusTest, PasteNodeAsksTheAddressThroughTheDialog)
{
    Write_Fixture();
    Run([&](TFMeter_Bus& f) {
        Click_Item(f, f.NODE_ORIG->Item(0));
        f.CopyNode1Click();
        EXPECT_TRUE(f.PasteNode1->Enabled());
        // 256 is refused, 7 is free: the dialog closes and the node is pasted as primary 7.
        responder().ScriptModal<TFNewIDNode>([&](TFNewIDNode& d) {
            EXPECT_EQ(d.ClientWidth(), 265);
            EXPECT_EQ(d.ClientHeight(), 195);
            EXPECT_TRUE(d.RB_ID_Primary->Checked());
            EXPECT_EQ(d.E_New_Node_ID_Pri->Text(), u"1");
            EXPECT_FALSE(d.E_wMBus_Add->Visible());
            d.E_New_Node_ID_Pri->SetText(u"256");
            responder().AnswerMessageBox(mrOk);
            pt::Click(d.Btn_OK, 10, 10);
            EXPECT_EQ(U8(responder().MessageTexts().back()), "Error!! Primary ID Node M-Bus must be between 0 and 255 ");
            EXPECT_EQ(d.ModalResult(), mrNone);
            d.E_New_Node_ID_Pri->SetText(u"7");
            pt::Click(d.Btn_OK, 10, 10);
        });
        f.PasteNode1Click();
        ASSERT_EQ(f.Nodi_List.size(), 3u);
        EXPECT_EQ(f.Nodi_List[2]->Node_ID_Primary, 7);
        EXPECT_EQ(f.Nodi_List[2]->Var_List.size(), 2u);
        EXPECT_EQ(U8(f.NODE_ORIG->Item(2)->Text()), "ID 7 - Meter A");
        EXPECT_EQ(f.NODE_ORIG->Item(2)->Count(), 2);
        // Primary 7 is now held by a primary-kind node: refused.
        responder().ScriptModal<TFNewIDNode>([&](TFNewIDNode& d) {
            d.E_New_Node_ID_Pri->SetText(u"7");
            responder().AnswerMessageBox(mrOk);
            pt::Click(d.Btn_OK, 10, 10);
            EXPECT_EQ(U8(responder().MessageTexts().back()), "Error!! ID Node is already used ");
            d.SetModalResult(mrCancel);
        });
        f.PasteNode1Click();
        EXPECT_EQ(f.Nodi_List.size(), 3u);
        // Primary 5 is Meter B's secondary address: a different kind, accepted.
        responder().ScriptModal<TFNewIDNode>([&](TFNewIDNode& d) {
            d.E_New_Node_ID_Pri->SetText(u"5");
            pt::Click(d.Btn_OK, 10, 10);
        });
        f.PasteNode1Click();
        EXPECT_EQ(f.Nodi_List.size(), 4u);
        f.SetModalResult(mrCancel);
    });
}

TEST_F(MeterBusTest, PastingAWirelessNodeAsksItsAddress)
{
    TNodi_List nodes;
    auto w = std::make_unique<TNodo>();
    w->MBus_Type = 0;
    w->Description = u"Heat";
    w->wMBus_ManID = u"$2C2D";
    w->wMBus_Add = u"$12345678";
    w->wMBus_Ver = u"1";
    w->wMBus_DevType = u"7";
    w->wMBus_En_Key = 1;
    w->wMBus_Key.fill(u"$AA");
    nodes.push_back(std::move(w));
    Save_MBus_Network(File_M_Bus, nodes);
    Run([&](TFMeter_Bus& f) {
        Click_Item(f, f.NODE_ORIG->Item(0));
        EXPECT_EQ(f.E_Key[15]->Text(), u"$AA");
        f.CopyNode1Click();
        responder().ScriptModal<TFNewIDNode>([&](TFNewIDNode& d) {
            EXPECT_EQ(d.Form_Type, 2);
            EXPECT_EQ(d.E_wMBus_Add->Text(), u"$12345678");
            EXPECT_FALSE(d.RB_ID_Primary->Visible());
            d.E_wMBus_Add->SetText(String());
            responder().AnswerMessageBox(mrOk);
            pt::Click(d.Btn_OK, 10, 10);
            EXPECT_EQ(U8(responder().MessageTexts().back()),
                      "Error!! Address for a Node wM-Bus must be between 0x00000000 and 0xFFFFFFFF");
            d.E_wMBus_Add->SetText(u"$FFFFFFFF");
            pt::Click(d.Btn_OK, 10, 10);
        });
        f.PasteNode1Click();
        ASSERT_EQ(f.Nodi_List.size(), 2u);
        const TNodo& p = *f.Nodi_List[1];
        EXPECT_EQ(p.wMBus_Add, u"$FFFFFFFF");
        EXPECT_EQ(p.wMBus_ManID, u"$2C2D");
        EXPECT_EQ(p.wMBus_Key[15], u"$AA");
        EXPECT_EQ(f.NODE_ORIG->Item(1)->Text(), Node_Caption(p));
        f.SetModalResult(mrCancel);
    });
}

TEST_F(MeterBusTest, DeleteCopyAndPasteVariables)
{
    Write_Fixture();
    Run([&](TFMeter_Bus& f) {
        // Copy Variable without a variable selected.
        Click_Item(f, f.NODE_ORIG->Item(0));
        responder().AnswerMessageBox(mrOk);
        f.CopyVariable1Click();
        EXPECT_EQ(U8(responder().MessageTexts().back()), "Error! Select a Variable");
        responder().AnswerMessageBox(mrOk);
        f.PasteVariable1Click();
        EXPECT_EQ(U8(responder().MessageTexts().back()), "Error! Copy a Variable before");
        f.NODE_ORIG->Item(0)->Expand(false);
        Click_Item(f, f.NODE_ORIG->Item(0)->Item(0));
        f.CopyVariable1Click();
        Click_Item(f, f.NODE_ORIG->Item(1));
        f.PasteVariable1Click();
        EXPECT_EQ(f.Nodi_List[1]->Var_List.size(), 2u);
        EXPECT_EQ(U8(f.NODE_ORIG->Item(1)->Item(1)->Text()), "VAR - Energy 1");
        // Delete the node, answered No then Yes.
        responder().AnswerMessageBox(mrNo);
        f.btn_Delete_ItemClick();
        EXPECT_EQ(f.Nodi_List.size(), 2u);
        responder().AnswerMessageBox(mrYes);
        f.btn_Delete_ItemClick();
        EXPECT_EQ(U8(responder().MessageTexts().back()), "Are you sure to want to cancel this Node?");
        ASSERT_EQ(f.Nodi_List.size(), 1u);
        EXPECT_EQ(f.NODE_ORIG->Count(), 1);
        EXPECT_EQ(f.IND_NODO, -1);
        // Delete with nothing selected empties the network.
        responder().AnswerMessageBox(mrYes);
        f.btn_Delete_ItemClick();
        EXPECT_EQ(U8(responder().MessageTexts().back()), "Are you sure to want to cancel all Nodes?");
        EXPECT_TRUE(f.Nodi_List.empty());
        EXPECT_EQ(f.TW->Items()->Count(), 1);
        EXPECT_TRUE(f.Is_Change);
        f.SetModalResult(mrCancel);
    });
}

TEST_F(MeterBusTest, CancelAsksAfterAChangeAndTheFileStaysAsItWas)
{
    Write_Fixture();
    const std::string before = ReadAll(Fixture_Path());
    // Without a change Cancel closes at once.
    EXPECT_EQ(Run([](TFMeter_Bus& f) { Click(f.Btn_Cancel); }), mrCancel);
    EXPECT_TRUE(responder().MessageBoxes().empty());
    const TModalResult r = Run([&](TFMeter_Bus& f) {
        Click_Item(f, f.NODE_ORIG->Item(1));
        Retype(f.E_Desc_Node, u"Changed");
        Click(f.btn_Add_Node);
        responder().AnswerMessageBox(mrNo);
        Click(f.Btn_Cancel);
        EXPECT_EQ(f.ModalResult(), mrNone);
        EXPECT_EQ(U8(responder().MessageTexts().back()), "Do you want to exit without saving changes?");
        responder().AnswerMessageBox(mrYes);
        Click(f.Btn_Cancel);
    });
    EXPECT_EQ(r, mrCancel);
    EXPECT_EQ(ReadAll(Fixture_Path()), before);
    // Closed from the title bar after a change: no question, file unchanged.
    Run([&](TFMeter_Bus& f) {
        Click_Item(f, f.NODE_ORIG->Item(1));
        Retype(f.E_Desc_Node, u"Changed again");
        Click(f.btn_Add_Node);
        pt::CloseBox(&f);
    });
    EXPECT_EQ(ReadAll(Fixture_Path()), before);
    EXPECT_EQ(responder().MessageBoxes().size(), 2u);
}

TEST_F(MeterBusTest, ImportReplacesTheFileAfterTheQuestion)
{
    Write_Fixture();
    const std::string other = dir.native() + "/other.xml";
    {
        TNodi_List nodes;
        nodes.push_back(Wired(u"Imported", 9, 0, 0, 0));
        Save_MBus_Network(Utf8ToString(other), nodes);
    }
    Run([&](TFMeter_Bus& f) {
        responder().AnswerFileDialog(Utf8ToString(other));
        responder().AnswerMessageBox(mrNo);
        Click(f.Btn_ImportNet);
        EXPECT_EQ(U8(responder().MessageTexts().back()), "Do you really want to overwrite the existing M-Bus Network?");
        EXPECT_EQ(f.Nodi_List.size(), 2u);
        responder().AnswerFileDialog(Utf8ToString(other));
        responder().AnswerMessageBox(mrYes);
        Click(f.Btn_ImportNet);
        ASSERT_EQ(f.Nodi_List.size(), 1u);
        EXPECT_EQ(U8(f.NODE_ORIG->Item(0)->Text()), "ID 9 - Imported");
        f.SetModalResult(mrCancel);
    });
    EXPECT_EQ(ReadAll(Fixture_Path()), ReadAll(other));
}

TEST_F(MeterBusTest, APartlyReadFileIsNotOverwrittenWithoutAQuestion)
{
    // The second node has no "Descrizione": reading stops there.
    {
        std::ofstream(Fixture_Path())
            << "<M-Bus_Network><Nodo Descrizione=\"First\" ID_Primary=\"3\" MBus_Type=\"1\"/><Nodo ID_Primary=\"4\"/>"
               "<Nodo Descrizione=\"Third\" ID_Primary=\"5\"/></M-Bus_Network>";
    }
    const std::string before = ReadAll(Fixture_Path());
    responder().AnswerMessageBox(mrOk);  // the load's error box
    Run([&](TFMeter_Bus& f) {
        EXPECT_EQ(f.Nodi_List.size(), 1u);
        responder().AnswerMessageBox(mrNo);
        Click(f.Btn_OK);
        EXPECT_EQ(f.ModalResult(), mrNone);
        EXPECT_EQ(U8(responder().MessageTexts().back()),
                  "The M-Bus Network was read only in part: saving removes the nodes that were not read. Do you "
                  "want to save anyway?");
        f.SetModalResult(mrCancel);
    });
    EXPECT_EQ(ReadAll(Fixture_Path()), before);
}

TEST_F(MeterBusTest, TopicsComeFromThePublishTable)
{
    {
        std::ofstream(U8(File_MQTT_Set_Topic))
            << "<MQTT><MQTT_Publish><Row Topic=\"meters/energy\" Mnemonic=\"E1\"/>"
               "<Row Topic=\"meters/volume\" Mnemonic=\"V1\"/></MQTT_Publish></MQTT>";
    }
    Run([&](TFMeter_Bus& f) {
        ASSERT_EQ(f.MQTT_Topics.size(), 2u);
        EXPECT_EQ(U8(f.MQTT_Topics[0]), "1; meters/energy; E1;");
        EXPECT_EQ(U8(f.CB_Var_Topic->Items()->Strings(1)), "2; meters/volume; V1;");
        f.SetModalResult(mrCancel);
    });
}

TEST_F(MeterBusTest, LayoutsFollowTheKindAndTheVariablesList)
{
    Write_Fixture();
    Run([&](TFMeter_Bus& f) {
        f.CB_MBus_Type->SetItemIndex(0);
        f.CB_MBus_TypeChange();
        EXPECT_TRUE(f.P_Wireless->Visible());
        EXPECT_FALSE(f.E_ID_Primary->Visible());
        EXPECT_EQ(f.btn_Add_Node->Top(), 325);
        f.CB_MBus_Type->SetItemIndex(1);
        f.CB_MBus_TypeChange();
        EXPECT_FALSE(f.P_Wireless->Visible());
        EXPECT_EQ(f.btn_Add_Node->Top(), 231);
        f.Sposta_Oggetti_Var(1);
        EXPECT_FALSE(f.CB_Var_ToD->Visible());
        EXPECT_TRUE(f.E_Var_Position->Visible());
        EXPECT_EQ(f.E_Var_Position->Top(), 128);
        EXPECT_EQ(f.btn_Add_Var->Top(), 207);
        f.Sposta_Oggetti_Var(0);
        EXPECT_FALSE(f.E_Var_Position->Visible());
        EXPECT_EQ(f.CB_Var_PostOp->Top(), 320);
        EXPECT_EQ(f.btn_Add_Var->Top(), 344);
        // Enabling rules of the two dependent edits.
        f.CB_Var_ToD->SetItemIndex(21);
        f.CB_Var_ToDChange();
        EXPECT_TRUE(f.E_VIF_ASCII->Enabled());
        f.CB_Var_Dim->SetItemIndex(6);
        f.CB_Var_DimChange();
        EXPECT_FALSE(f.E_Var_Len->Enabled());
        f.SetModalResult(mrCancel);
    });
}

TEST_F(MeterBusTest, Pictures)
{
    const std::string dirName = testsupport::Picture_Dir();
    if (dirName.empty()) GTEST_SKIP() << "pictures are rendered on request (TEST_PICTURES)";
    Write_Fixture();
    Run([&](TFMeter_Bus& f) {
        f.NODE_ORIG->Item(0)->Expand(false);
        Click_Item(f, f.NODE_ORIG->Item(0));
        pt::SaveGrab(&f, Utf8ToString(dirName + "mbus_editor_wired.png"));
        f.CB_MBus_Type->SetItemIndex(0);
        f.CB_MBus_TypeChange();
        pt::SaveGrab(&f, Utf8ToString(dirName + "mbus_editor_wireless.png"));
        Click_Item(f, f.NODE_ORIG->Item(0)->Item(0));
        pt::SaveGrab(&f, Utf8ToString(dirName + "mbus_editor_by_type.png"));
        f.Sposta_Oggetti_Var(1);
        pt::SaveGrab(&f, Utf8ToString(dirName + "mbus_editor_by_position.png"));
        f.SetModalResult(mrCancel);
    });
    FNewIDNode->Form_Type = 1;
    responder().ScriptModal<TFNewIDNode>([&](TFNewIDNode& d) {
        pt::SaveGrab(&d, Utf8ToString(dirName + "mbus_node_id_1.png"));
        d.SetModalResult(mrCancel);
    });
    FNewIDNode->ShowModal();
    FNewIDNode->Form_Type = 2;
    responder().ScriptModal<TFNewIDNode>([&](TFNewIDNode& d) {
        pt::SaveGrab(&d, Utf8ToString(dirName + "mbus_node_id_2.png"));
        d.SetModalResult(mrCancel);
    });
    FNewIDNode->ShowModal();
}

} // namespace
