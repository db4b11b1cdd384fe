#pragma once
// Editor of one MQTT topic or message template. The caller sets TopicTemplate, Working_Mode
// and Pub_Sub, puts the text into RE_TopicTemplate and shows the window modally; on the OK
// result it takes the text back (a line break typed in it reads as CR LF). The window never
// checks the text. The keyword list and the caption follow the case at every show; the
// other texts are set when the window is created only.
#include <vector>

#include "UFormKit.h"

namespace plat {
class TRichEdit;
class TSplitter;
class TPanel;
class TLabel;
} // namespace plat

namespace grid {
class TExtStringGrid;
}

class TFTopicTemplate : public TDialogForm {
public:
    explicit TFTopicTemplate(plat::TComponent* owner);
    ~TFTopicTemplate() override;
    plat::String ClassName() const override { return u"TFTopicTemplate"; }
    void Set_Lang() override;

    // Caption for the case, keyword list, focus into the edit field.
    void FormShow();
    // Fills ESG_Keywords for (Working_Mode, TopicTemplate, Pub_Sub): one row per keyword
    // with its description (read-only), or one empty row when the case has none.
    void Laod_Keywords();

    // Keyword and description text number of a case, in list order (Working_Mode 1 is the
    // asynchronous mode; every other value lists as synchronous).
    struct TKeyword {
        const char16_t* Keyword;
        int Description;
    };
    static std::vector<TKeyword> Keywords(int working_mode, int topic_template, int pub_sub);

    int TopicTemplate = 0;  // 0 topic, else template
    int Working_Mode = 0;   // 0 synchronous, 1 asynchronous
    int Pub_Sub = 0;        // 0 publish, else subscribe

    plat::TRichEdit* RE_TopicTemplate = nullptr;
    plat::TSplitter* Splitter1 = nullptr;
    plat::TPanel* P_Legend = nullptr;
    plat::TLabel* L_List_Keywords = nullptr;
    grid::TExtStringGrid* ESG_Keywords = nullptr;
};

extern TFTopicTemplate* FTopicTemplate;
