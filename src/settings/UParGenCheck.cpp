// Validation of the general parameters before they are written: the numeric fields that
// the converter takes as numbers and the size of the mobile settings block. The first
// fault is shown with its message and nothing is written.
#include "UParGen.h"

#include "UComon.h"
#include "plat/Dialogs.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"

using namespace plat;

namespace {

// A field's whole number; -1 for an empty text or one that is not a whole number, so it
// fails every range (all start at 0 or 1).
long long Field_Number(const TCustomEdit* e)
{
    std::int64_t value = 0;
    if (!TryStrToInt64(e->Text(), value)) return -1;
    return value;
}

bool In_Range(const TCustomEdit* e, long long low, long long high)
{
    const long long v = Field_Number(e);
    return v >= low && v <= high;
}

} // namespace

bool TFParGen::Controllo_Dati()
{
    auto fail = [](int text) {
        MessageDlg(Lang(text), mtError, {mbOK});
        return false;
    };
    // Four address bytes; the messages of bytes 1 to 4 are consecutive texts.
    auto bytes = [](const TAddress_Row& row, int first_text) {
        for (int i = 0; i < 4; ++i)
            if (!In_Range(row.E[static_cast<size_t>(i)], 0, 255)) return first_text + i;
        return -1;
    };
    int bad = -1;

    if (CB_EthConn_Enable_DNS->Checked()) {
        if ((bad = bytes(Row_EthConn_Pri_DNS, 5179)) >= 0) return fail(bad);
        if ((bad = bytes(Row_EthConn_Sec_DNS, 5183)) >= 0) return fail(bad);
    }
    if (CB_ModbusMaster_StopBits->ItemIndex() > 0 && CB_ModbusMaster_Parity->ItemIndex() > 0) return fail(639);
    if (!In_Range(E_ModbusMaster_TimeOut, 0, 100000)) return fail(640);
    if (!In_Range(E_ModbusMaster_CyclicDelay, 0, 10000)) return fail(641);
    if (E_MQTT_Reproram_Value->Visible() && !In_Range(E_MQTT_Reproram_Value, 0, 255)) return fail(4242);
    if ((bad = bytes(Row_Ethernet_IP, 576)) >= 0) return fail(bad);
    if ((bad = bytes(Row_Ethernet_SM, 580)) >= 0) return fail(bad);
    if (CB_Ethernet_En_GAT->Checked() && (bad = bytes(Row_Ethernet_GAT, 584)) >= 0) return fail(bad);
    if (CB_Ethernet_En_DNS->Visible() && CB_Ethernet_En_DNS->Checked() && (bad = bytes(Row_Ethernet_DNS, 588)) >= 0)
        return fail(bad);

    if (CB_WiFi2_Type->ItemIndex() == 0) {
        if ((bad = bytes(WiFi2_Block1.IP, 5187)) >= 0) return fail(bad);
        if ((bad = bytes(WiFi2_Block1.SM, 5191)) >= 0) return fail(bad);
        if (CB_WiFi2_IP1_En_GAT->Checked() && (bad = bytes(WiFi2_Block1.GAT, 5195)) >= 0) return fail(bad);
        if (CB_WiFi2_En_DHCP->Checked()) {
            if ((bad = bytes(Row_WiFi2_DHCP_First_IP, 5199)) >= 0) return fail(bad);
            if ((bad = bytes(Row_WiFi2_DHCP_SM, 5203)) >= 0) return fail(bad);
            if (!In_Range(E_WiFi2_Lease_Time, 1, 99999999)) return fail(5207);
        }
    } else {
        if (E_WiFi2_IP1_IP1->Visible() && E_WiFi2_IP1_IP1->Enabled()) {
            if ((bad = bytes(WiFi2_Block1.IP, 5208)) >= 0) return fail(bad);
            if ((bad = bytes(WiFi2_Block1.SM, 5212)) >= 0) return fail(bad);
            if (CB_WiFi2_IP1_En_GAT->Checked() && (bad = bytes(WiFi2_Block1.GAT, 5216)) >= 0) return fail(bad);
        }
        if (E_WiFi2_IP2_IP1->Visible() && E_WiFi2_IP2_IP1->Enabled()) {
            if ((bad = bytes(WiFi2_Block2.IP, 5220)) >= 0) return fail(bad);
            if ((bad = bytes(WiFi2_Block2.SM, 5224)) >= 0) return fail(bad);
            if (CB_WiFi2_IP2_En_GAT->Checked() && (bad = bytes(WiFi2_Block2.GAT, 5228)) >= 0) return fail(bad);
        }
    }
    if (!In_Range(E_NTP_Poll_Time, 0, 10000000)) return fail(618);

    // The converter keeps the mobile settings as one text block of at most 512 characters.
    const String crlf = u"\r\n";
    String code;
    APN_Auth_Type_Code(CB_GSM_GPRS_AuthType->Text(), code);
    String block = u"PIN=" + E_GSM_GPRS_PIN->Text() + crlf + u"APN=" + E_GSM_GPRS_APN->Text() + crlf + u"AUTHTYPE=" +
                   code + crlf + u"USERNAME=" + E_GSM_GPRS_UserName->Text() + crlf + u"PASSWORD=" +
                   E_GSM_GPRS_Password->Text() + crlf;
    if (CB_GSM_GPRS_En_Second_SIM->Checked()) {
        APN_Auth_Type_Code(CB_GSM_GPRS_AuthType2->Text(), code);
        block += u"PIN2=" + E_GSM_GPRS_PIN2->Text() + crlf + u"APN2=" + E_GSM_GPRS_APN2->Text() + crlf +
                 u"AUTHTYPE2=" + code + crlf + u"USERNAME2=" + E_GSM_GPRS_UserName2->Text() + crlf + u"PASSWORD2=" +
                 E_GSM_GPRS_Password2->Text() + crlf;
    }
    if (block.size() > 512) return fail(4155);
    return true;
}
