// The general-parameters window: certificate picking into the configuration's Certificates
// folder, dot moving between address bytes, texts and the frame.
#include <cstdlib>

#include "ParGenTestKit.h"
#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"

using namespace pargen_test;

namespace {

void Pick(plat::TComboBox* c, int index)
{
    c->SetItemIndex(index);
    if (c->OnChange) c->OnChange(c);
}

using ParGenWindowTest = ParGenTest;

TEST_F(ParGenWindowTest, CertificatePickerCopiesIntoCertificatesAndStoresTheBareName)
{
    enum TAnswer { None, Yes, No, Cancel };
    struct TCase {
        const char* name;
        const char* existing;  // content already in Certificates under the name; nullptr: none
        const char* chosen;    // path chosen, relative to the configuration; nullptr: dialog cancelled
        TAnswer overwrite;     // answer to the overwrite question (None: not asked)
        bool copy_fails;
        const char* field;     // field afterwards
        const char* in_folder; // content in Certificates afterwards; nullptr: nothing there
    };
    const TCase cases[] = {
        {"new name from another folder", nullptr, "src/a.pem", None, false, "a.pem", "new"},
        {"already in the folder", "kept", "Certificates/a.pem", None, false, "a.pem", "kept"},
        {"name present, Yes replaces", "old", "src/a.pem", Yes, false, "a.pem", "new"},
        {"name present, No", "old", "src/a.pem", No, false, "prev", "old"},
        {"name present, Cancel", "old", "src/a.pem", Cancel, false, "prev", "old"},
        {"dialog cancelled", nullptr, nullptr, None, false, "prev", nullptr},
        {"chosen file gone", nullptr, "src/none.pem", None, false, "prev", nullptr},
        {"copy fails", nullptr, "src/a.pem", None, true, "prev", nullptr},
    };
    // The browse buttons show with their rows.
    W().CB_TLS_Enable->SetChecked(true);
    W().CB_TLS_En_Server_Auth->SetChecked(true);
    W().CB_TLS_En_Client_Auth->SetChecked(true);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(Dir() / "Certificates");
        Write(Dir() / "src" / "a.pem", "new");
        if (c.existing) Write(Dir() / "Certificates" / "a.pem", c.existing);
        // A folder in the way of the copy.
        if (c.copy_fails) std::filesystem::create_directories(Dir() / "Certificates" / "a.pem");
        W().E_TLS_CA_Cert->SetText(u"prev");
        if (c.chosen) responder().AnswerFileDialog(U((Dir() / c.chosen).string()));
        else responder().CancelFileDialog();
        if (c.overwrite == Yes) responder().AnswerMessageBox(plat::mrYes);
        if (c.overwrite == No) responder().AnswerMessageBox(plat::mrNo);
        if (c.overwrite == Cancel) responder().AnswerMessageBox(plat::mrCancel);
        if (c.copy_fails) responder().AnswerMessageBox(plat::mrOk);
        const size_t boxes = responder().MessageBoxes().size();

        W().Btn_TLS_CA_Cert->Click();

        EXPECT_EQ(W().E_TLS_CA_Cert->Text(), U(c.field));
        EXPECT_TRUE(std::filesystem::is_directory(Dir() / "Certificates"));
        const auto file = Dir() / "Certificates" / "a.pem";
        if (c.in_folder) {
            EXPECT_EQ(Read(file), c.in_folder);
        } else {
            EXPECT_FALSE(std::filesystem::is_regular_file(file));
        }
        const auto& calls = responder().MessageBoxes();
        EXPECT_EQ(calls.size(), boxes + (c.overwrite != None || c.copy_fails ? 1 : 0));
        if (c.overwrite != None) {
            EXPECT_EQ(calls.back().Request.Text,
                      u"This file is already present in Certificates folder. Do you want to overwrite?");
        }
        if (c.copy_fails) {
            EXPECT_EQ(calls.back().Request.Kind, plat::mtError);
        }
    }
}

TEST_F(ParGenWindowTest, EachBrowseButtonFillsItsOwnField)
{
    struct TCase {
        controls::TFadeButton* TFParGen::*button;
        plat::TRichEdit* TFParGen::*field;
    };
    const TCase cases[] = {{&TFParGen::Btn_TLS_Server_Cert, &TFParGen::E_TLS_Server_Cert},
                           {&TFParGen::Btn_TLS_CA_Cert, &TFParGen::E_TLS_CA_Cert},
                           {&TFParGen::Btn_TLS_Client_Cert, &TFParGen::E_TLS_Client_Cert},
                           {&TFParGen::Btn_TLS_Client_Cert_Key, &TFParGen::E_TLS_Client_Cert_Key}};
    W().CB_TLS_Enable->SetChecked(true);
    W().CB_TLS_En_Server_Auth->SetChecked(true);
    W().CB_TLS_En_Client_Auth->SetChecked(true);
    int n = 0;
    for (const TCase& c : cases) {
        const std::string name = "f" + std::to_string(++n) + ".pem";
        Write(Dir() / "src" / name, name);
        responder().AnswerFileDialog(U((Dir() / "src" / name).string()));
        (W().*c.button)->Click();
        for (const TCase& other : cases)
            EXPECT_EQ((W().*other.field)->Text() == U(name), other.field == c.field) << name;
        EXPECT_EQ(Read(Dir() / "Certificates" / name), name);
    }
    EXPECT_EQ(responder().FileDialogs().at(0).Request.Filter, u"Any Files (*.*)|*.*");
    EXPECT_EQ(responder().FileDialogs().at(0).Request.InitialDir, Project_Dir + u"/Certificates");
}

TEST_F(ParGenWindowTest, ADotMovesToTheNextAddressByte)
{
    struct TCase {
        plat::TEdit* TFParGen::*from;
        plat::TEdit* TFParGen::*to; // nullptr: the focus stays
    };
    const TCase cases[] = {
        {&TFParGen::E_Ethernet_IP1, &TFParGen::E_Ethernet_IP2},
        {&TFParGen::E_Ethernet_IP4, &TFParGen::E_Ethernet_SM1},
        {&TFParGen::E_Ethernet_SM4, &TFParGen::E_Ethernet_GAT1},
        {&TFParGen::E_Ethernet_GAT4, nullptr},
        {&TFParGen::E_EthConn_Pri_DNS_IP4, &TFParGen::E_EthConn_Sec_DNS_IP1},
        {&TFParGen::E_EthConn_Sec_DNS_IP4, nullptr},
        {&TFParGen::E_WiFi2_IP1_SM4, &TFParGen::E_WiFi2_IP1_GAT1},
        {&TFParGen::E_WiFi2_DHCP_First_IP4, &TFParGen::E_WiFi2_DHCP_SM1},
        {&TFParGen::E_WiFi2_DHCP_SM4, nullptr},
    };
    W().Show();  // shows the defaults of a new configuration
    Pick(W().CB_Select_Device_Device, 1);
    W().CB_WiFi2_En_DHCP->SetChecked(true);
    for (const TCase& c : cases) {
        plat::TEdit* from = W().*c.from;
        SCOPED_TRACE(plat::StringToUtf8(from->Name()));
        from->SetText(u"");
        ASSERT_TRUE(from->CanFocus());
        from->SetFocus();
        plat::testing::Type(u"1.");
        EXPECT_EQ(from->Text(), u"1");
        plat::TEdit* expected = c.to ? W().*c.to : from;
        EXPECT_TRUE(expected->Focused());
    }
    // The next byte cannot take the focus: the dot is dropped and the focus stays.
    W().E_Ethernet_SM1->SetEnabled(false);
    W().E_Ethernet_IP4->SetText(u"");
    W().E_Ethernet_IP4->SetFocus();
    plat::testing::Type(u"7.");
    EXPECT_TRUE(W().E_Ethernet_IP4->Focused());
    EXPECT_EQ(W().E_Ethernet_IP4->Text(), u"7");
    // Other fields take a dot as typed.
    W().E_MQTT_Server->SetFocus();
    plat::testing::Type(u"a.b");
    EXPECT_EQ(W().E_MQTT_Server->Text(), u"a.b");
    W().Hide();
}

// Typing a whole address over the row's old one, through the real key path.
TEST_F(ParGenWindowTest, ATypedAddressReplacesTheRowByteByByte)
{
    struct TCase {
        const char* name;
        const char16_t* before[4];
        bool selectAll;
        const char16_t* typed;
        const char16_t* after[4];
        plat::TEdit* TFParGen::*focus;
    };
    const TCase cases[] = {
        {"over an old address", {u"10", u"0", u"0", u"1"}, true, u"192.168.1.50", {u"192", u"168", u"1", u"50"},
         &TFParGen::E_Ethernet_IP4},
        {"into an empty row", {u"", u"", u"", u""}, false, u"192.168.1.50", {u"192", u"168", u"1", u"50"},
         &TFParGen::E_Ethernet_IP4},
        {"a dot in the last field", {u"", u"", u"", u""}, false, u"1.2.3.4.", {u"1", u"2", u"3", u"4"},
         &TFParGen::E_Ethernet_SM1},
    };
    W().Show();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        plat::TEdit* row[] = {W().E_Ethernet_IP1, W().E_Ethernet_IP2, W().E_Ethernet_IP3, W().E_Ethernet_IP4};
        for (int i = 0; i < 4; ++i) row[i]->SetText(c.before[i]);
        W().E_Ethernet_SM1->SetText(u"255");
        row[0]->SetFocus();
        if (c.selectAll) row[0]->SelectAll();
        plat::testing::Type(c.typed);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(row[i]->Text(), c.after[i]) << i;
        EXPECT_TRUE((W().*c.focus)->Focused());
        EXPECT_EQ(W().E_Ethernet_SM1->Text(), u"255");
    }
    // A pasted dot never stays in a byte field.
    W().E_Ethernet_GAT2->SetText(u"16.8");
    EXPECT_EQ(W().E_Ethernet_GAT2->Text(), u"168");
    W().Hide();
}

TEST_F(ParGenWindowTest, TextsComeFromTheLanguageTable)
{
    TFParGen& w = W();
    EXPECT_EQ(w.Caption(), u"Set Communication");
    EXPECT_EQ(w.L_SW_Code->Caption(), SW_Code);
    EXPECT_EQ(w.L_EthConn_Device_Name->Caption(), u"Device Name (Hostname)");
    EXPECT_EQ(w.CB_EthConn_Enable_DNS->Caption(), u"Enable DNS");
    EXPECT_EQ(w.E_Ethernet_IP3->Hint(), Lang_Table[459]);
    EXPECT_EQ(w.E_Ethernet_IP1->Hint(), u"Insert First byte of IP Address");
    EXPECT_EQ(w.L_TLS_CA_Cert->Caption(), u"CA Certificate");
    EXPECT_EQ(w.CB_WiFi2_Type->Hint(), u" ");
    EXPECT_EQ(w.CB_WiFi2_Channel->Items()->Count(), 12);
    EXPECT_EQ(w.CB_WiFi2_Channel->Items()->Strings(0), u"Auto Search");
    EXPECT_EQ(w.CB_WiFi2_Secure_Type->Items()->Strings(3), u"WEP");
    EXPECT_EQ(w.CB_Select_Device_Device->Items()->Strings(0), u"Only Ethernet Cable ");
    EXPECT_EQ(w.Btn_TLS_Server_Cert->Caption(), u"...");

    // A language change while hidden: new texts, and the next showing still shows the
    // working mode and channel of the file.
    Write_ParGen({{"Working_Mode", "1"}, {"WiFi_Channel", "5"}, {"NTP_Poll_Time", "1"}});
    Apply_Language_Line(u"STR637 = Sincrono");
    Apply_Language_Line(u"STR4248 = Tipo");
    w.Set_Lang();
    EXPECT_EQ(w.L_Select_Device_Device->Caption(), u"Tipo");
    EXPECT_EQ(w.CB_WorkMode_WorkMode->ItemIndex(), 0);
    responder().ScriptModal<TFParGen>([](TFParGen& f) {
        EXPECT_EQ(f.CB_WorkMode_WorkMode->Items()->Strings(0), u"Sincrono");
        EXPECT_EQ(f.CB_WorkMode_WorkMode->ItemIndex(), 1);
        EXPECT_EQ(f.CB_WiFi2_Channel->ItemIndex(), 5);
        f.Btn_Cancel->Click();
    });
    w.ShowModal();
    Load_Default_Language();
}

TEST_F(ParGenWindowTest, TheClientWidthStaysAt460)
{
    TFParGen& w = W();
    EXPECT_EQ(w.ClientWidth(), 460);
    EXPECT_EQ(w.ClientHeight(), 700);
    EXPECT_EQ(w.CPG->Height(), 591);
    for (int width : {700, 300}) {
        w.SetWidth(width);
        EXPECT_EQ(w.ClientWidth(), 460);
    }
    w.SetHeight(w.Height() + 50);
    EXPECT_EQ(w.ClientHeight(), 750);
}

TEST_F(ParGenWindowTest, TheWheelScrollsThePanelsOnlyOverThem)
{
    TFParGen& w = W();
    w.Show();
    // The wheel goes to the focused control first; a button leaves it to the window.
    w.Btn_OK->SetFocus();
    ASSERT_GT(w.CPG->MaxScrollPos(), 0);
    plat::testing::Wheel(w.L_SW_Desc, -120, 5, 5);
    EXPECT_EQ(w.CPG->ScrollPos(), 0);
    plat::testing::Wheel(w.L_ModbusMaster_TimeOut, -120, 5, 5);
    const int down = w.CPG->ScrollPos();
    EXPECT_GT(down, 0);
    plat::testing::Wheel(w.L_MQTT_Server, 120, 2, 2);
    EXPECT_LT(w.CPG->ScrollPos(), down);
    w.Hide();
}

TEST_F(ParGenWindowTest, DeviceNameCheckFlagsCharactersOutsideLettersAndDigits)
{
    const struct {
        const char16_t* name;
        bool flagged;
    } cases[] = {{u"", false}, {u"Conv07", false}, {u"conv-07", true}, {u"a b", true}, {u"\u00e8", true}};
    for (const auto& c : cases) EXPECT_EQ(TFParGen::Check_Device_Name(c.name), c.flagged) << plat::StringToUtf8(c.name);
    plat::String name1, name2;
    EXPECT_EQ(W().Check_Device_IP_Address_WiFi(name1, name2), 1);
    EXPECT_EQ(name1, u"MQTT");
    EXPECT_EQ(name2, u"");
}

// Pictures of the window for a look by eye, written to TEST_PICTURES when it is set: the
// defaults, each of the model's ten panels open alone, and two option sets.
TEST_F(ParGenWindowTest, Pictures)
{
    const std::string dir = testsupport::Picture_Dir();
    if (dir.empty()) GTEST_SKIP() << "pictures are written on request (TEST_PICTURES)";
    TFParGen& w = W();
    w.Show();
    w.SetClientHeight(1400);
    plat::testing::SaveGrab(&w, U(dir + "pargen-defaults.png"));
    plat::TCategoryPanel* const panels[] = {w.CP_Select_Device, w.CP_Ethernet_Connection, w.CP_Working_Mode,
                                            w.CP_Modbus_Master, w.CP_MQTT,    w.CP_Ethernet,
                                            w.CP_TLS,           w.CP_NTP,     w.CP_WiFi2,
                                            w.CP_GSM_GPRS};
    for (size_t i = 0; i < std::size(panels); ++i) {
        for (plat::TCategoryPanel* p : panels) p->Collapse();
        panels[i]->Expand();
        w.CPG->SetScrollPos(0);
        plat::testing::SaveGrab(&w, U(dir + "pargen-panel-" + std::to_string(i + 1) + ".png"));
    }
    for (plat::TCategoryPanel* p : panels) p->Expand();
    w.CB_MQTT_WillFlag->SetChecked(true);
    w.CB_MQTT_PublishTopicConnection->SetChecked(true);
    w.CB_TLS_Enable->SetChecked(true);
    w.CB_TLS_En_Client_Auth->SetChecked(true);
    w.CB_EthConn_En_DHCP_Cable->SetChecked(true);
    plat::testing::SaveGrab(&w, U(dir + "pargen-mqtt-tls.png"));
    for (int i = 0; i < 10; ++i) w.CPG->Panels(i)->Collapse();
    w.CP_MQTT->Collapse();
    w.CP_Ethernet_Connection->Collapse();
    w.CP_Modbus_Master->Collapse();
    w.CP_TLS->Collapse();
    Pick(w.CB_Select_Device_Device, 1);
    Pick(w.CB_WiFi2_Secure_Type, 2);
    w.CB_WiFi2_En_DHCP->SetChecked(true);
    w.CPG->SetScrollPos(0);
    plat::testing::SaveGrab(&w, U(dir + "pargen-wifi.png"));
    w.Hide();
}

} // namespace
