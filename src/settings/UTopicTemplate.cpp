#include "UTopicTemplate.h"

#include "ExtGrid.h"
#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"

using namespace plat;

TFTopicTemplate* FTopicTemplate = nullptr;

TFTopicTemplate::TFTopicTemplate(TComponent* owner)
    : TDialogForm(owner, u"Set Topic", {1700, 1702, 1707, 1708}, 635, 396)
{
    FTopicTemplate = this;
    SetBorderIcons(biSystemMenu);
    Btn_OK->SetModalResult(mrOk);

    // Bottom to top above the button panel: legend, splitter; the edit field takes the rest.
    // Alignment orders the bottom controls by their places: each is put above the one below
    // before it is aligned.
    P_Legend = new TPanel(this);
    P_Legend->SetBounds(0, P_Button->Top() - 108, ClientWidth(), 108);
    P_Legend->SetParent(this);
    P_Legend->SetAlign(alBottom);
    P_Legend->SetBevelOuter(bvNone);

    L_List_Keywords = new TLabel(this);
    L_List_Keywords->SetParent(P_Legend);
    L_List_Keywords->SetAlign(alTop);
    L_List_Keywords->SetCaption(u"List of keywords");

    ESG_Keywords = new grid::TExtStringGrid(this);
    ESG_Keywords->SetName(u"ESG_Keywords");
    ESG_Keywords->SetParent(P_Legend);
    ESG_Keywords->SetAlign(alClient);
    ESG_Keywords->SetColCount(2);
    ESG_Keywords->SetRowCount(2);
    ESG_Keywords->SetFixedCols(0);
    ESG_Keywords->SetFixedRows(1);
    ESG_Keywords->SetColWidths(0, 200);
    ESG_Keywords->SetColWidths(1, 380);
    ESG_Keywords->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing});

    Splitter1 = new TSplitter(this);
    Splitter1->SetBounds(0, P_Legend->Top() - 3, ClientWidth(), 3);
    Splitter1->SetParent(this);
    Splitter1->SetAlign(alBottom);
    Splitter1->SetHeight(3);

    RE_TopicTemplate = new TRichEdit(this);
    RE_TopicTemplate->SetName(u"RE_TopicTemplate");
    RE_TopicTemplate->SetParent(this);
    RE_TopicTemplate->SetAlign(alClient);
    RE_TopicTemplate->SetWantReturns(true);

    OnShow = [this](TObject*) { FormShow(); };
    Set_Lang();
}

TFTopicTemplate::~TFTopicTemplate()
{
    if (FTopicTemplate == this) FTopicTemplate = nullptr;
}

void TFTopicTemplate::Set_Lang()
{
    TDialogForm::Set_Lang();
    Apply_Text(1704, [this](const String& t) { L_List_Keywords->SetCaption(t); });
    ESG_Keywords->SetCells(0, 0, Has_Text(Lang(1705)) ? Lang(1705) : String(u"Keyword"));
    ESG_Keywords->SetCells(1, 0, Has_Text(Lang(1706)) ? Lang(1706) : String(u"Description of Keyword"));
}

std::vector<TFTopicTemplate::TKeyword> TFTopicTemplate::Keywords(int working_mode, int topic_template, int pub_sub)
{
    const bool templ = topic_template != 0;
    const bool publish = pub_sub == 0;
    if (working_mode == 1) {
        if (!templ) return {};
        if (publish) return {{u"$VALUE$", 1712}, {u"$DESC$", 1714}, {u"$TIME$", 1715}};
        return {{u"$VALUE$", 1712}};
    }
    if (!publish) return {};
    if (templ)
        return {{u"$SOURCE$", 1709}, {u"$FC$", 1710}, {u"$CRC$", 1711}, {u"$VALUE$", 1712},
                {u"$DATA$", 1713},   {u"$DESC$", 1714}, {u"$TIME$", 1715}};
    return {{u"$SOURCE$", 1709}, {u"$FC$", 1710}};
}

void TFTopicTemplate::Laod_Keywords()
{
    const std::vector<TKeyword> list = Keywords(Working_Mode, TopicTemplate, Pub_Sub);
    const int rows = list.empty() ? 1 : static_cast<int>(list.size());
    ESG_Keywords->SetRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        const bool has = !list.empty();
        const TKeyword* k = has ? &list[static_cast<std::size_t>(r - 1)] : nullptr;
        ESG_Keywords->SetCells(0, r, k ? String(k->Keyword) : String());
        ESG_Keywords->SetCells(1, r, k ? Lang(k->Description) : String());
        ESG_Keywords->GetCellProperties(0, r)->ReadOnly = false;
        ESG_Keywords->GetCellProperties(1, r)->ReadOnly = true;
    }
}

void TFTopicTemplate::FormShow()
{
    const bool topic = TopicTemplate == 0;
    SetCaption(Lang(topic ? 1700 : 1701));
    L_SW_Desc->SetCaption(Lang(topic ? 1702 : 1703));
    Laod_Keywords();
    if (RE_TopicTemplate->CanFocus()) RE_TopicTemplate->SetFocus();
}
