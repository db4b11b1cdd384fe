// Validation of the general parameters: the first fault's message, and nothing written.
#include <functional>

#include "ParGenTestKit.h"
#include "plat/ComCtrls.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"

using namespace pargen_test;

namespace {

void Pick(plat::TComboBox* c, int index)
{
    c->SetItemIndex(index);
    if (c->OnChange) c->OnChange(c);
}

class ParGenCheckTest : public ParGenTest {
protected:
    // A configuration that passes: the defaults with an NTP poll time.
    void Valid()
    {
        W().Load_Defaults();
        W().E_NTP_Poll_Time->SetText(u"0");
        W().Move_GroupBoxs();
    }
};

struct TCase {
    const char* name;
    std::function<void(TFParGen&)> set;
    int message; // text number of the message; -1: passes
};

TEST_F(ParGenCheckTest, FirstFaultShowsItsMessage)
{
    auto text = [](plat::TEdit* TFParGen::*field, const char16_t* value) {
        return [field, value](TFParGen& w) { (w.*field)->SetText(value); };
    };
    const TCase cases[] = {
        {"valid", [](TFParGen&) {}, -1},
        {"empty NTP poll time", text(&TFParGen::E_NTP_Poll_Time, u""), 618},
        {"NTP poll time at the limit", text(&TFParGen::E_NTP_Poll_Time, u"10000000"), -1},
        {"NTP poll time over", text(&TFParGen::E_NTP_Poll_Time, u"10000001"), 618},
        {"time-out at the limit", text(&TFParGen::E_ModbusMaster_TimeOut, u"100000"), -1},
        {"time-out over", text(&TFParGen::E_ModbusMaster_TimeOut, u"100001"), 640},
        {"time-out negative", text(&TFParGen::E_ModbusMaster_TimeOut, u"-5"), 640},
        {"time-out not whole", text(&TFParGen::E_ModbusMaster_TimeOut, u"1e3"), 640},
        {"cyclic delay over", text(&TFParGen::E_ModbusMaster_CyclicDelay, u"10001"), 641},
        {"two stop bits, no parity", [](TFParGen& w) { w.CB_ModbusMaster_StopBits->SetItemIndex(1); }, -1},
        {"two stop bits with parity, before the time-out",
         [](TFParGen& w) {
             w.CB_ModbusMaster_StopBits->SetItemIndex(1);
             w.CB_ModbusMaster_Parity->SetItemIndex(2);
             w.E_ModbusMaster_TimeOut->SetText(u"x");
         },
         639},
        {"primary DNS ignored while DNS is off", text(&TFParGen::E_EthConn_Pri_DNS_IP1, u"300"), -1},
        {"secondary DNS byte 2",
         [](TFParGen& w) {
             w.CB_EthConn_Enable_DNS->SetChecked(true);
             w.E_EthConn_Sec_DNS_IP2->SetText(u"256");
         },
         5184},
        {"primary DNS byte 4",
         [](TFParGen& w) {
             w.CB_EthConn_Enable_DNS->SetChecked(true);
             w.E_EthConn_Pri_DNS_IP4->SetText(u"");
         },
         5182},
        {"Ethernet address byte 1", text(&TFParGen::E_Ethernet_IP1, u"256"), 576},
        {"Ethernet mask byte 3", text(&TFParGen::E_Ethernet_SM3, u"a"), 582},
        {"gateway ignored while off", text(&TFParGen::E_Ethernet_GAT1, u"300"), -1},
        {"gateway byte 1",
         [](TFParGen& w) {
             w.CB_Ethernet_En_GAT->SetChecked(true);
             w.E_Ethernet_GAT1->SetText(u"300");
         },
         584},
        {"hidden Ethernet DNS never checked",
         [](TFParGen& w) {
             w.CB_Ethernet_En_DNS->SetChecked(true);
             w.E_Ethernet_DNS1->SetText(u"300");
         },
         -1},
        {"hidden reprogramming value never checked", text(&TFParGen::E_MQTT_Reproram_Value, u"999"), -1},
        {"access point address byte 2", text(&TFParGen::E_WiFi2_IP1_IP2, u"999"), 5188},
        {"access point gateway byte 4",
         [](TFParGen& w) {
             w.CB_WiFi2_IP1_En_GAT->SetChecked(true);
             w.E_WiFi2_IP1_GAT4->SetText(u"");
         },
         5198},
        {"lease time 0 without DHCP server", text(&TFParGen::E_WiFi2_Lease_Time, u"0"), -1},
        {"lease time 0 with DHCP server",
         [](TFParGen& w) {
             w.CB_WiFi2_En_DHCP->SetChecked(true);
             w.E_WiFi2_Lease_Time->SetText(u"0");
         },
         5207},
        {"lease time at the limit",
         [](TFParGen& w) {
             w.CB_WiFi2_En_DHCP->SetChecked(true);
             w.E_WiFi2_Lease_Time->SetText(u"99999999");
         },
         -1},
        {"DHCP mask byte 1",
         [](TFParGen& w) {
             w.CB_WiFi2_En_DHCP->SetChecked(true);
             w.E_WiFi2_DHCP_SM1->SetText(u"-1");
         },
         5203},
        {"station address byte 3",
         [](TFParGen& w) {
             Pick(w.CB_WiFi2_Type, 1);
             w.E_WiFi2_IP1_IP3->SetText(u"256");
         },
         5210},
        {"station address from DHCP is not checked",
         [](TFParGen& w) {
             Pick(w.CB_Select_Device_Device, 1);
             Pick(w.CB_WiFi2_Type, 1);
             w.CB_EthConn_En_DHCP_WiFi->SetChecked(true);
             w.E_WiFi2_IP1_IP3->SetText(u"256");
         },
         -1},
        {"station: second address rows checked when shown",
         [](TFParGen& w) {
             Pick(w.CB_WiFi2_Type, 1);
             w.E_WiFi2_IP2_IP1->SetVisible(true);
             w.E_WiFi2_IP2_SM2->SetText(u"x");
         },
         5225},
        {"station: the access-point DHCP rows are not checked",
         [](TFParGen& w) {
             w.CB_WiFi2_En_DHCP->SetChecked(true);
             w.E_WiFi2_Lease_Time->SetText(u"0");
             Pick(w.CB_WiFi2_Type, 1);
         },
         -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Valid();
        c.set(W());
        const size_t before = responder().MessageBoxes().size();
        if (c.message >= 0) responder().AnswerMessageBox(plat::mrOk);
        EXPECT_EQ(W().Controllo_Dati(), c.message < 0);
        const auto& boxes = responder().MessageBoxes();
        ASSERT_EQ(boxes.size(), before + (c.message < 0 ? 0 : 1));
        if (c.message >= 0) {
            EXPECT_EQ(boxes.back().Request.Text, Lang_Table[static_cast<size_t>(c.message)]);
            EXPECT_EQ(boxes.back().Request.Kind, plat::mtError);
        }
    }
}

TEST_F(ParGenCheckTest, MobileBlockHoldsAtMost512Characters)
{
    // "PIN=\r\nAPN=\r\nAUTHTYPE=0\r\nUSERNAME=\r\nPASSWORD=\r\n" is 46 characters.
    const size_t base = 46;
    struct TMobile {
        const char* name;
        size_t apn;       // characters in the APN
        bool second_sim;
        bool passes;
    };
    const TMobile cases[] = {
        {"exactly 512", 512 - base, false, true},
        {"one more", 513 - base, false, false},
        // The second SIM adds its five lines even when empty (51 characters).
        {"second SIM lines count", 512 - base - 50, true, false},
        {"second SIM at the limit", 512 - base - 51, true, true},
    };
    for (const TMobile& c : cases) {
        SCOPED_TRACE(c.name);
        Valid();
        W().E_GSM_GPRS_APN->SetText(plat::String(c.apn, u'a'));
        W().CB_GSM_GPRS_En_Second_SIM->SetChecked(c.second_sim);
        if (!c.passes) responder().AnswerMessageBox(plat::mrOk);
        EXPECT_EQ(W().Controllo_Dati(), c.passes);
        if (!c.passes) {
            EXPECT_EQ(responder().MessageTexts().back(), Lang_Table[4155]);
        }
    }
}

TEST_F(ParGenCheckTest, OKWritesOnlyAfterTheChecksPass)
{
    // A new configuration: the empty NTP poll time stops OK, nothing is written.
    responder().AnswerMessageBox(plat::mrOk);
    responder().ScriptModal<TFParGen>([](TFParGen& w) {
        w.Btn_OK->Click();
        EXPECT_EQ(w.ModalResult(), plat::mrNone);
        w.E_NTP_Poll_Time->SetText(u"60");
        w.E_MQTT_Server->SetText(u"broker.example");
        w.Btn_OK->Click();
    });
    EXPECT_EQ(W().ShowModal(), plat::mrOk);
    EXPECT_EQ(responder().MessageTexts().front(), Lang_Table[618]);
    auto saved = Saved_Map(File());
    EXPECT_EQ(saved["NTP_Poll_Time"], "60");
    EXPECT_EQ(saved["MQTT_Server_URL"], "broker.example");
    EXPECT_EQ(saved["MQTT_ASync_Send_Time"], "10");

    // Cancel discards: the file stays as written and the next showing reloads it.
    const std::string before = Read(File());
    responder().ScriptModal<TFParGen>([](TFParGen& w) {
        EXPECT_EQ(w.E_MQTT_Server->Text(), u"broker.example");
        w.E_MQTT_Server->SetText(u"other");
        w.Btn_Cancel->Click();
    });
    EXPECT_EQ(W().ShowModal(), plat::mrCancel);
    EXPECT_EQ(Read(File()), before);
    responder().ScriptModal<TFParGen>([](TFParGen& w) {
        EXPECT_EQ(w.E_MQTT_Server->Text(), u"broker.example");
        plat::testing::CloseBox(&w);
    });
    EXPECT_EQ(W().ShowModal(), plat::mrCancel);
    EXPECT_EQ(Read(File()), before);
}

TEST_F(ParGenCheckTest, AFailedSaveIsReportedAndKeepsTheWindowOpen)
{
    // A folder that is not there (removed behind the program's back): nothing can be written.
    File_ParGen = Project_Dir + u"/gone/ParGen.xml";
    responder().AnswerMessageBox(plat::mrOk);
    responder().ScriptModal<TFParGen>([](TFParGen& w) {
        w.E_NTP_Poll_Time->SetText(u"60");
        w.Btn_OK->Click();
        EXPECT_EQ(w.ModalResult(), plat::mrNone);
        EXPECT_EQ(w.E_NTP_Poll_Time->Text(), u"60");
        w.Btn_Cancel->Click();
    });
    EXPECT_EQ(W().ShowModal(), plat::mrCancel);
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Kind, plat::mtError);
    EXPECT_FALSE(std::filesystem::exists(Dir() / "gone"));
}

} // namespace
