#include "UMQTT_SetAccess_Eth.h"

#include "ExtCGrid.h"
#include "plat/ComCtrls.h"
#include "plat/Controls.h"
#include "plat/SysUtils.h"

using namespace plat;

TFMQTT_SetAccess_Eth* FMQTT_SetAccess_Eth = nullptr;

namespace {

constexpr int kRows = 1024;

grid::TExtColumnGrid* New_Table(TFMQTT_SetAccess_Eth* form, TPageControl* pages, const char16_t* page_name,
                                const char16_t* caption, const char16_t* grid_name,
                                std::initializer_list<const char16_t*> headers, TTabSheet*& page)
{
    page = new TTabSheet(form);
    page->SetName(page_name);
    page->SetPageControl(pages);
    page->SetCaption(caption);
    auto* g = new grid::TExtColumnGrid(form);
    g->SetName(grid_name);
    g->SetParent(page);
    g->SetAlign(alClient);
    g->SetColCount(static_cast<int>(headers.size()));
    g->SetRowCount(kRows + 1);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SyncColumnCount();
    int c = 0;
    for (const char16_t* h : headers) {
        grid::TGridColumnItem* item = g->Columns()->GetItem(c);
        item->SetHeader(h);
        item->SetWidth(c == 0 ? 40 : c == 1 ? 50 : 100);
        if (c == 0) item->SetFixed(true);
        ++c;
    }
    g->SyncColumnHeaders();
    for (int r = 1; r <= kRows; ++r) g->SetCells(0, r, IntToStr(r));
    return g;
}

} // namespace

TFMQTT_SetAccess_Eth::TFMQTT_SetAccess_Eth(TComponent* owner)
    : TDialogForm(owner, u"MQTT Set Access", {}, 760, 337)
{
    FMQTT_SetAccess_Eth = this;
    PageControl1 = new TPageControl(this);
    PageControl1->SetName(u"PageControl1");
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
    ACG_Pub = New_Table(this, PageControl1, u"TS_MQTT_Publish", u"MQTT Publish", u"ACG_Pub",
                        {u"N", u"Enable", u"Topic", u"IP Address", u"Ethernet Data Form", u"Template MQTT", u"Mnemonic"},
                        TS_MQTT_Publish);
    ACG_Sub = New_Table(this, PageControl1, u"TS_MQTT_Subscribe", u"MQTT Subscribe", u"ACG_Sub",
                        {u"N", u"Enable", u"Topic", u"IP Address", u"Port", u"Type", u"Template MQTT",
                         u"Ethernet Data Form", u"Mnemonic"},
                        TS_MQTT_Subscribe);
}

TFMQTT_SetAccess_Eth::~TFMQTT_SetAccess_Eth()
{
    if (FMQTT_SetAccess_Eth == this) FMQTT_SetAccess_Eth = nullptr;
}
