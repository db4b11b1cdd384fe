// The MQTT topic window: layout by working mode, validation with its exact messages, the
// file (old format, hidden attributes, rows the layout hides), the guards against losing
// rows, the row buttons, and the topic and template editor it opens.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ExtCGrid.h"
#include "TestSupport.h"
#include "UComon.h"
#include "ULanguage.h"
#include "UMQTT_Set_Topic.h"
#include "UTopicTemplate.h"
#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/Messages.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "plat/Xml.h"

using plat::String;
namespace pt = plat::testing;
namespace fs = std::filesystem;

namespace {

std::string Read(const String& file)
{
    std::ifstream in(plat::StringToUtf8(file), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void Write(const String& file, const std::string& text)
{
    std::ofstream(plat::StringToUtf8(file), std::ios::binary) << text;
}

std::string ParGen(int mode)
{
    return "<Par_Gen><Working_Mode>" + std::to_string(mode) + "</Working_Mode></Par_Gen>";
}

// Shown real columns of a grid, in order.
std::vector<int> Shown(grid::TExtColumnGrid* g)
{
    std::vector<int> v;
    for (int c = 0; c < g->ColCount() + g->NumHiddenColumns(); ++c)
        if (!g->IsHiddenColumn(c)) v.push_back(c);
    return v;
}

class MQTTSetTopicTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
        if (!Row_Copy) Row_Copy = new plat::TStringList();
        File_ParGen = dir / u"ParGen.xml";
        File_MQTT_Set_Topic = dir / u"MQTT_Set_Topic.xml";
        editor = std::make_unique<TFTopicTemplate>(nullptr);
        form = std::make_unique<TFMQTT_Set_Topic>(nullptr);
    }
    void TearDown() override
    {
        form.reset();
        editor.reset();
        pt::UiTest::TearDown();
    }
    // Shows the window modally; the script works in it and leaves with its own result.
    void Show(const std::function<void(TFMQTT_Set_Topic&)>& script)
    {
        responder().ScriptModal<TFMQTT_Set_Topic>([script](TFMQTT_Set_Topic& f) {
            script(f);
            if (f.ModalResult() == plat::mrNone) f.SetModalResult(plat::mrCancel);
        });
        form->ShowModal();
    }
    // Clicks OK inside a script; true when the window closed with OK.
    static bool Click_OK(TFMQTT_Set_Topic& f)
    {
        pt::Click(f.Btn_OK, 5, 5);
        return f.ModalResult() == plat::mrOk;
    }
    void Set_Row(grid::TExtColumnGrid* g, int r, std::initializer_list<std::pair<int, const char16_t*>> cells)
    {
        for (auto [c, t] : cells) g->SetCells(c, r, t);
    }
    testsupport::TempDir dir;
    std::unique_ptr<TFTopicTemplate> editor;
    std::unique_ptr<TFMQTT_Set_Topic> form;
};

TEST_F(MQTTSetTopicTest, LayoutFollowsTheWorkingMode)
{
    struct Case {
        const char* what;
        const char* pargen;  // nullptr: no file
        int mode;
        std::vector<int> pub, sub;
        int sub_rows;
    };
    const std::vector<int> async_pub{0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 18};
    const std::vector<int> async_sub{0, 1, 3, 4, 5, 6, 12, 15};
    const Case cases[] = {
        {"no ParGen.xml", nullptr, 0, {0, 1, 2, 3, 10, 18}, {0, 1, 3, 15}, 1},
        {"asynchronous", "<Par_Gen><Working_Mode>1</Working_Mode></Par_Gen>", 1, async_pub, async_sub, 1024},
        {"back to synchronous", "<Par_Gen><Working_Mode>0</Working_Mode></Par_Gen>", 0, {0, 1, 2, 3, 10, 18},
         {0, 1, 3, 15}, 1},
        {"mode 2 lays out as asynchronous", "<Par_Gen><Working_Mode>2</Working_Mode></Par_Gen>", 2, async_pub,
         async_sub, 1024},
        {"not a number", "<Par_Gen><Working_Mode>x</Working_Mode></Par_Gen>", 0, {0, 1, 2, 3, 10, 18},
         {0, 1, 3, 15}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(plat::StringToUtf8(File_ParGen));
        if (c.pargen) Write(File_ParGen, c.pargen);
        Show([&](TFMQTT_Set_Topic& f) {
            EXPECT_EQ(f.Working_Mode, c.mode);
            EXPECT_EQ(Shown(f.ACG_Pub), c.pub);
            EXPECT_EQ(Shown(f.ACG_Sub), c.sub);
            EXPECT_EQ(f.ACG_Pub->RowCount(), 1025);
            EXPECT_EQ(f.ACG_Sub->RowCount(), c.sub_rows + 1);
            EXPECT_EQ(f.PageControl1->ActivePage(), f.TS_MQTT_Publish);
            EXPECT_EQ(f.ACG_Pub->Cells(0, 1024), u"1024");
            EXPECT_EQ(f.ACG_Pub->Cells(10, 0), u"Template");
        });
    }
}

struct Check_Case {
    const char* what;
    int mode;
    bool subscribe;
    int row;  // the row given the cells (rows before it are valid)
    std::vector<std::pair<int, const char16_t*>> cells;
    const char16_t* message;  // nullptr: passes
};

class MQTTCheckTest : public MQTTSetTopicTest {
protected:
    void Run(const Check_Case& c)
    {
        SCOPED_TRACE(c.what);
        Write(File_ParGen, ParGen(c.mode));
        Show([&](TFMQTT_Set_Topic& f) {
            grid::TExtColumnGrid* g = c.subscribe ? f.ACG_Sub : f.ACG_Pub;
            for (int r = 1; r <= c.row; ++r) {
                Set_Row(g, r, {{1, u"t"}, {2, u"N"}, {3, u"0"}, {4, u"Int"}, {5, u"2"}, {6, u"0"}});
                Set_Row(g, r, {{c.subscribe ? 12 : 10, u"$VALUE$"}});
            }
            for (auto [col, text] : c.cells) g->SetCells(col, c.row, text);
            if (c.message) responder().AnswerMessageBox(plat::mrOk);
            EXPECT_EQ(f.Controllo_dati(), c.message == nullptr);
            if (c.message) EXPECT_EQ(responder().MessageTexts().back(), String(c.message));
        });
    }
};

TEST_F(MQTTCheckTest, PublishRowsWithTheExactMessages)
{
    const char16_t* pos = u"Error row 1!! [MQTT Publish] Position must be beetween 0 and 1439";
    const char16_t* end = u"Error row 1!! [MQTT Publish] Position + Dimension must not be greater than 1440";
    const char16_t* timer = u"Error row 1!! [MQTT Publish] Time(ms) must be between 1 and 1000000000";
    const Check_Case cases[] = {
        {"valid row", 1, false, 1, {}, nullptr},
        {"Int with Dimension 3", 1, false, 1, {{5, u"3"}},
         u"Error row 1!! [MQTT Publish] Dimension must be equal to 1 or 2 or 4 or 8"},
        {"FLOAT once trimmed, Dimension 2", 1, false, 1, {{4, u" float "}, {5, u"2"}},
         u"Error row 1!! [MQTT Publish] Dimension must be equal to 4 or 8"},
        {"no Data Type", 1, false, 1, {{4, u"  "}}, u"Error row 1!! [MQTT Publish] Data Type must be selected"},
        {"String with Dimension 100", 1, false, 1, {{4, u"String"}, {5, u"100"}, {6, u"0"}}, nullptr},
        {"SInt without Dimension", 1, false, 1, {{4, u"SInt"}, {5, u""}},
         u"Error row 1!! [MQTT Publish] Dimension must be major of 0"},
        {"Base64 with Dimension 1", 1, false, 1, {{4, u"Base64"}, {5, u"1"}}, nullptr},
        {"Position 1439, Dimension 1", 1, false, 1, {{4, u"SInt"}, {5, u"1"}, {6, u"1439"}}, nullptr},
        {"Position 1439, Dimension 2", 1, false, 1, {{6, u"1439"}}, end},
        {"Position 1432, Dimension 8", 1, false, 1, {{4, u"Float"}, {5, u"8"}, {6, u"1432"}}, nullptr},
        {"Position 1433, Dimension 8", 1, false, 1, {{4, u"Float"}, {5, u"8"}, {6, u"1433"}}, end},
        {"Position 1440", 1, false, 1, {{6, u"1440"}}, pos},
        {"Position -1", 1, false, 1, {{6, u"-1"}}, pos},
        {"Position abc", 1, false, 1, {{6, u"abc"}}, pos},
        {"Position that would wrap", 1, false, 1, {{6, u"4294967296"}}, pos},
        {"OnTimer, Time 1", 1, false, 1, {{13, u"Y"}, {14, u"1"}}, nullptr},
        {"OnTimer, Time 1000000000", 1, false, 1, {{13, u"y "}, {14, u"1000000000"}}, nullptr},
        {"OnTimer, Time 0", 1, false, 1, {{13, u"Y"}, {14, u"0"}}, timer},
        {"OnTimer, Time empty", 1, false, 1, {{13, u"Y"}, {14, u""}}, timer},
        {"OnTimer, Time 1000000001", 1, false, 1, {{13, u"Y"}, {14, u"1000000001"}}, timer},
        {"no OnTimer, Time 0", 1, false, 1, {{13, u"N"}, {14, u"0"}}, nullptr},
        {"$VALUE fails", 1, false, 1, {{10, u"$VALUE"}},
         u"Error row 1!! [MQTT Publish] Template not Correct, Check the Keywords"},
        {"any word between two $", 1, false, 1, {{10, u"x $ANY$ y"}}, nullptr},
        {"the failing row is named", 1, false, 3, {{5, u"5"}},
         u"Error row 3!! [MQTT Publish] Dimension must be equal to 1 or 2 or 4 or 8"},
        {"a blank Topic ends the table", 1, false, 3, {{1, u"  "}, {5, u"5"}}, nullptr},
        {"synchronous: hidden cells are not checked", 0, false, 1,
         {{4, u""}, {5, u"3"}, {6, u"abc"}, {13, u"Y"}, {14, u"0"}}, nullptr},
        {"synchronous: the template is", 0, false, 1, {{10, u"$x"}},
         u"Error row 1!! [MQTT Publish] Template not Correct, Check the Keywords"},
    };
    for (const Check_Case& c : cases) Run(c);
}

TEST_F(MQTTCheckTest, SubscribeRowsWithTheExactMessages)
{
    const Check_Case cases[] = {
        {"row 3 Float with Dimension 2", 1, true, 3, {{4, u"Float"}, {5, u"2"}},
         u"Error row 3!! [MQTT Subscribe] Dimension must be equal to 4 or 8"},
        {"Position 1440", 1, true, 1, {{6, u"1440"}},
         u"Error row 1!! [MQTT Subscribe] Position must be beetween 0 and 1439"},
        {"Position 1436, Dimension 8", 1, true, 1, {{4, u"Float"}, {5, u"8"}, {6, u"1436"}},
         u"Error row 1!! [MQTT Subscribe] Position + Dimension must not be greater than 1440"},
        {"Template $VALUE", 1, true, 1, {{12, u"$VALUE"}},
         u"Error row 1!! [MQTT Subscribe] Template not Correct, Check the Keywords"},
        {"no Data Type", 1, true, 1, {{4, u""}}, u"Error row 1!! [MQTT Subscribe] Data Type must be selected"},
        {"synchronous: nothing but the topic", 0, true, 1, {{4, u""}, {6, u"x"}, {12, u"$"}}, nullptr},
    };
    for (const Check_Case& c : cases) Run(c);
}

TEST_F(MQTTSetTopicTest, OldFormatFileSavesEveryAttribute)
{
    Write(File_ParGen, ParGen(1));
    Write(File_MQTT_Set_Topic,
          "<MQTT_Set_Topic><MQTT_Publish><row Topic=\" plant/a \" Retained=\"Y\" QoS=\"1\" Mnemonic=\"m\"/>"
          "</MQTT_Publish><MQTT_Subscribe><row Topic=\"cmd\" Retained=\"N\" QoS=\"2\" Mnemonic=\"s\"/>"
          "</MQTT_Subscribe></MQTT_Set_Topic>");
    Show([&](TFMQTT_Set_Topic& f) {
        EXPECT_FALSE(f.CB_Allow_CR_LF->Checked());
        EXPECT_EQ(f.ACG_Pub->Cells(8, 1), u"N");
        EXPECT_EQ(f.ACG_Pub->Cells(13, 1), u"N");
        EXPECT_EQ(f.ACG_Pub->Cells(16, 1), u"N");
        EXPECT_EQ(f.ACG_Sub->Cells(11, 1), u"N");
        // The async check needs a type for the saved rows.
        Set_Row(f.ACG_Pub, 1, {{4, u"String"}, {5, u"4"}, {6, u"0"}});
        Set_Row(f.ACG_Sub, 1, {{4, u"Int"}, {5, u"1"}, {6, u"0"}});
        EXPECT_TRUE(Click_OK(f));
    });
    const std::string saved = Read(File_MQTT_Set_Topic);
    EXPECT_EQ(saved.rfind("<MQTT_Set_Topic>", 0), 0u) << "nothing before the root";
    plat::TXMLDocument doc;
    doc.LoadFromXML(plat::Utf8ToString(saved));
    const plat::IXMLNode pub = doc.DocumentElement().ChildNodes()[u"MQTT_Publish"].ChildNodes()[0];
    std::vector<String> names;
    for (int i = 0; i < pub.AttributeCount(); ++i) names.push_back(pub.AttributeName(i));
    EXPECT_EQ(names, (std::vector<String>{u"Topic", u"Retained", u"QoS", u"DataType", u"Dimension", u"Position",
                                          u"IPAddress", u"FormatHex", u"InputTemplate", u"Template", u"OnChange",
                                          u"OnCMD", u"OnTimer", u"Time", u"Mnemonic"}));
    EXPECT_EQ(pub.Attributes(u"Topic").AsString(), u" plant/a ") << "saved untrimmed";
    const plat::IXMLNode sub = doc.DocumentElement().ChildNodes()[u"MQTT_Subscribe"].ChildNodes()[0];
    names.clear();
    for (int i = 0; i < sub.AttributeCount(); ++i) names.push_back(sub.AttributeName(i));
    EXPECT_EQ(names, (std::vector<String>{u"Topic", u"Retained", u"QoS", u"DataType", u"Dimension", u"Position",
                                          u"IPAddress", u"Port", u"EthType", u"InputTemplate", u"FormatHex",
                                          u"Template", u"Mnemonic"}));
    EXPECT_EQ(doc.DocumentElement().ChildNodes()[u"MQTT_Options"].ChildValues(u"Option_Allow_CR_LF").AsString(), u"N");
    // The comment after the root, and a file an outside checker accepts.
    EXPECT_NE(saved.find("</MQTT_Set_Topic>\n<!--SW_VERSION = 1.114-->"), std::string::npos) << saved;
    if (std::system("xmllint --version >/dev/null 2>&1") == 0) {
        const std::string file = plat::StringToUtf8(File_MQTT_Set_Topic);
        EXPECT_EQ(std::system(("xmllint --noout '" + file + "'").c_str()), 0);
        EXPECT_EQ(std::system(("test \"$(xmllint --xpath 'name(/*)' '" + file + "')\" = MQTT_Set_Topic").c_str()), 0);
        EXPECT_EQ(std::system(("test \"$(xmllint --xpath 'string(/comment())' '" + file +
                               "')\" = 'SW_VERSION = 1.114'").c_str()),
                  0);
    }
}

// A full row of every kind of text the attributes may hold, with the hidden columns filled.
const char* Full_File =
    "<MQTT_Set_Topic>"
    "<MQTT_Publish>"
    "<row Topic=\"a/b\" Retained=\"Y\" QoS=\"2\" DataType=\"Float\" Dimension=\"4\" Position=\"8\" "
    "IPAddress=\" 10.0.0.1 \" FormatHex=\"Y\" InputTemplate=\"in &amp; &quot;x&quot; &#13;&#10;\" "
    "Template=\"$VALUE$&#13;&#10;line\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"Y\" Time=\"500\" Mnemonic=\"temp \xC2\xB0\x43\"/>"
    "<row Topic=\"c\" Retained=\"N\" QoS=\"0\" DataType=\"Int\" Dimension=\"2\" Position=\"0\" IPAddress=\"\" "
    "FormatHex=\"N\" InputTemplate=\"\" Template=\"\" OnChange=\"N\" OnCMD=\"Y\" OnTimer=\"N\" Time=\"\" Mnemonic=\"\"/>"
    "</MQTT_Publish>"
    "<MQTT_Subscribe>"
    "<row Topic=\"s1\" Retained=\"Y\" QoS=\"1\" DataType=\"Int\" Dimension=\"1\" Position=\"3\" IPAddress=\"1.2.3.4\" "
    "Port=\"502\" EthType=\"UDP\" InputTemplate=\"&lt;i&gt;\" FormatHex=\"Y\" Template=\"$VALUE$\" Mnemonic=\"x\"/>"
    "<row Topic=\"s2\" Retained=\"N\" QoS=\"0\" DataType=\"Int\" Dimension=\"2\" Position=\"10\" IPAddress=\"\" "
    "Port=\"\" EthType=\"\" InputTemplate=\"\" FormatHex=\"N\" Template=\"\" Mnemonic=\"\"/>"
    "<row Topic=\"s3\" Retained=\"N\" QoS=\"0\" DataType=\"Int\" Dimension=\"2\" Position=\"12\" IPAddress=\"\" "
    "Port=\"7\" EthType=\"TCP\" InputTemplate=\"\" FormatHex=\"N\" Template=\"\" Mnemonic=\"three\"/>"
    "</MQTT_Subscribe>"
    "<MQTT_Options><Option_Allow_CR_LF>Y</Option_Allow_CR_LF></MQTT_Options>"
    "</MQTT_Set_Topic>";

// Every attribute of every row, as "table/row/name=value" lines.
std::vector<std::string> Attributes(const std::string& xml)
{
    plat::TXMLDocument doc;
    doc.LoadFromXML(plat::Utf8ToString(xml));
    std::vector<std::string> out;
    for (const char16_t* table : {u"MQTT_Publish", u"MQTT_Subscribe"}) {
        const plat::IXMLNodeList rows = doc.DocumentElement().ChildNodes()[table].ChildNodes();
        for (int r = 0; r < rows.Count(); ++r)
            for (int a = 0; a < rows[r].AttributeCount(); ++a) {
                const String name = rows[r].AttributeName(a);
                out.push_back(plat::StringToUtf8(String(table) + u"/" + plat::IntToStr(r) + u"/" + name + u"=" +
                                                 rows[r].Attributes(name).AsString()));
            }
    }
    return out;
}

TEST_F(MQTTSetTopicTest, HiddenAttributesAndHiddenRowsSurviveASave)
{
    const std::vector<std::string> original = Attributes(Full_File);
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        Write(File_ParGen, ParGen(mode));
        Write(File_MQTT_Set_Topic, Full_File);
        Show([&](TFMQTT_Set_Topic& f) {
            EXPECT_TRUE(f.CB_Allow_CR_LF->Checked());
            EXPECT_EQ(f.ACG_Sub->RowCount(), mode == 0 ? 2 : 1025);
            EXPECT_TRUE(Click_OK(f));
        });
        const std::string first = Read(File_MQTT_Set_Topic);
        EXPECT_EQ(Attributes(first), original) << "the synchronous layout shows one subscribe row of three";
        // A second round trip gives the same bytes.
        Show([&](TFMQTT_Set_Topic& f) { EXPECT_TRUE(Click_OK(f)); });
        EXPECT_EQ(Read(File_MQTT_Set_Topic), first);
    }
}

TEST_F(MQTTSetTopicTest, UnreadableFileClearsTheTablesAndAsksBeforeOverwriting)
{
    Write(File_ParGen, ParGen(0));
    Write(File_MQTT_Set_Topic, Full_File);
    Show([&](TFMQTT_Set_Topic& f) { EXPECT_EQ(f.ACG_Pub->Cells(1, 1), u"a/b"); });
    const std::string damaged = "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"x\"";
    Write(File_MQTT_Set_Topic, damaged);
    responder().AnswerMessageBox(plat::mrOk);     // the parse error
    responder().AnswerMessageBox(plat::mrNo);     // overwrite? No
    responder().AnswerMessageBox(plat::mrYes);    // overwrite? Yes
    Show([&](TFMQTT_Set_Topic& f) {
        EXPECT_EQ(f.ACG_Pub->Cells(1, 1), u"") << "nothing of the previous configuration";
        EXPECT_FALSE(f.CB_Allow_CR_LF->Checked());
        f.ACG_Pub->SetCells(1, 1, u"new");
        EXPECT_FALSE(Click_OK(f));
        EXPECT_EQ(Read(File_MQTT_Set_Topic), damaged);
        EXPECT_TRUE(Click_OK(f));
    });
    const std::vector<String> texts = responder().MessageTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].rfind(u"Error! The file cannot be read: " + File_MQTT_Set_Topic + u"\r\n", 0), 0u);
    EXPECT_EQ(texts[1], u"The file of this window was not read completely: saving replaces it with the rows shown. "
                        u"Do you want to save?");
    EXPECT_NE(Read(File_MQTT_Set_Topic).find("Topic=\"new\""), std::string::npos);
}

TEST_F(MQTTSetTopicTest, RowLackingARequiredAttributeKeepsTheRowsBefore)
{
    Write(File_ParGen, ParGen(1));
    Write(File_MQTT_Set_Topic,
          "<MQTT_Set_Topic><MQTT_Publish>"
          "<row Topic=\"a\" Retained=\"N\" QoS=\"0\" Mnemonic=\"\"/>"
          "<row Topic=\"b\" Retained=\"N\" QoS=\"0\" Mnemonic=\"\"/>"
          "<row Topic=\"c\" Retained=\"N\" Mnemonic=\"\"/>"
          "<row Topic=\"d\" Retained=\"N\" QoS=\"0\" Mnemonic=\"\"/>"
          "</MQTT_Publish></MQTT_Set_Topic>");
    responder().AnswerMessageBox(plat::mrOk);
    Show([&](TFMQTT_Set_Topic& f) {
        EXPECT_EQ(f.ACG_Pub->Cells(1, 2), u"b");
        EXPECT_EQ(f.ACG_Pub->Cells(1, 3), u"");
        responder().AnswerMessageBox(plat::mrNo);
        for (int r = 1; r <= 2; ++r) Set_Row(f.ACG_Pub, r, {{4, u"String"}, {5, u"1"}, {6, u"0"}});
        EXPECT_FALSE(Click_OK(f));
    });
    const std::vector<String> texts = responder().MessageTexts();
    ASSERT_GE(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind(u"Error! The reading stopped at row 3 of the file " + File_MQTT_Set_Topic + u"\r\n", 0),
              0u)
        << plat::StringToUtf8(texts[0]);
}

TEST_F(MQTTSetTopicTest, UnreadableParGenIsReportedAndTheTablesStillLoad)
{
    Write(File_ParGen, "<Par_Gen><Working_Mode>1</Working_Mode>");
    Write(File_MQTT_Set_Topic, Full_File);
    responder().AnswerMessageBox(plat::mrOk);
    Show([&](TFMQTT_Set_Topic& f) {
        EXPECT_EQ(f.Working_Mode, 0);
        EXPECT_EQ(f.ACG_Sub->RowCount(), 2);
        EXPECT_EQ(f.ACG_Pub->Cells(1, 2), u"c");
    });
    ASSERT_EQ(responder().MessageTexts().size(), 1u);
    EXPECT_EQ(responder().MessageTexts()[0].rfind(u"Error! The file cannot be read: " + File_ParGen, 0), 0u);
}

// Damaged topic files of every kind: the window reads what it can, reports at most one
// error, and its validation and save never meet a broken table.
TEST_F(MQTTSetTopicTest, MutatedFilesLoadSafely)
{
    const std::string base = Full_File;
    Write(File_ParGen, ParGen(1));
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFFFF;
    };
    for (int i = 0; i < 300; ++i) {
        std::string text = base;
        const int edits = 1 + static_cast<int>(next() % 4);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const std::size_t at = next() % text.size();
            switch (next() % 4) {
            case 0: text[at] = static_cast<char>(next() & 0xFF); break;
            case 1: text.erase(at, 1 + next() % 40); break;
            case 2: text.insert(at, text.substr(next() % text.size(), 1 + next() % 60)); break;
            default: text.resize(at); break;
            }
        }
        Write(File_MQTT_Set_Topic, text);
        pt::Responder r;
        plat::SetUiResponder(&r);
        for (int k = 0; k < 4; ++k) r.AnswerMessageBox(plat::mrOk);
        form->FormShow();
        const std::size_t load_boxes = r.MessageBoxes().size();
        form->Controllo_dati();
        plat::SetUiResponder(&responder());
        SCOPED_TRACE(i);
        EXPECT_LE(load_boxes, 1u);
        for (const auto& b : r.MessageBoxes()) EXPECT_EQ(b.Request.Kind, plat::mtError);
        EXPECT_EQ(form->ACG_Pub->RowCount(), 1025);
        EXPECT_EQ(form->ACG_Pub->ColCount() + form->ACG_Pub->NumHiddenColumns(), 19);
    }
}

TEST_F(MQTTSetTopicTest, NoFileStartsWithTheOptionUnchecked)
{
    Write(File_ParGen, ParGen(0));
    Write(File_MQTT_Set_Topic, Full_File);
    Show([&](TFMQTT_Set_Topic& f) { EXPECT_TRUE(f.CB_Allow_CR_LF->Checked()); });
    fs::remove(plat::StringToUtf8(File_MQTT_Set_Topic));
    Show([&](TFMQTT_Set_Topic& f) {
        EXPECT_FALSE(f.CB_Allow_CR_LF->Checked());
        EXPECT_EQ(f.ACG_Pub->Cells(1, 1), u"");
    });
}

TEST_F(MQTTSetTopicTest, EmptyTopicEndsTheTableOnlyOnYes)
{
    Write(File_ParGen, ParGen(0));
    Show([&](TFMQTT_Set_Topic& f) {
        Set_Row(f.ACG_Pub, 1, {{1, u"one"}, {2, u"N"}, {3, u"0"}});
        Set_Row(f.ACG_Pub, 3, {{1, u"three"}, {2, u"N"}, {3, u"0"}});
        responder().AnswerMessageBox(plat::mrNo);
        EXPECT_FALSE(Click_OK(f));
        EXPECT_FALSE(fs::exists(plat::StringToUtf8(File_MQTT_Set_Topic)));
        EXPECT_EQ(responder().MessageTexts().back(),
                  u"The rows after an empty row are not saved. Do you want to save without them? First empty row: 2");
        responder().AnswerMessageBox(plat::mrYes);
        EXPECT_TRUE(Click_OK(f));
    });
    const std::vector<std::string> saved = Attributes(Read(File_MQTT_Set_Topic));
    EXPECT_EQ(std::count(saved.begin(), saved.end(), "MQTT_Publish/0/Topic=one"), 1);
    EXPECT_EQ(std::find(saved.begin(), saved.end(), "MQTT_Publish/1/Topic=three"), saved.end());
}

TEST_F(MQTTSetTopicTest, UnwritableFileKeepsTheWindowOpen)
{
    Write(File_ParGen, ParGen(0));
    File_MQTT_Set_Topic = dir / u"missing-folder/MQTT_Set_Topic.xml";
    Show([&](TFMQTT_Set_Topic& f) {
        f.ACG_Pub->SetCells(1, 1, u"kept");
        responder().AnswerMessageBox(plat::mrOk);
        EXPECT_FALSE(Click_OK(f));
        EXPECT_EQ(f.ACG_Pub->Cells(1, 1), u"kept");
        EXPECT_EQ(responder().MessageBoxes().back().Request.Kind, plat::mtError);
    });
}

TEST_F(MQTTSetTopicTest, CopyOnPublishCannotBePastedOnSubscribe)
{
    Write(File_ParGen, ParGen(1));
    Show([&](TFMQTT_Set_Topic& f) {
        f.ACG_Pub->SetCells(1, 1, u"p");
        f.ACG_Pub->SetRow(1);
        pt::Click(f.Btn_CopyRow, 5, 5);
        f.PageControl1->SetActivePage(f.TS_MQTT_Subscribe);
        const plat::TRect tab = f.PageControl1->TabRect(1);
        pt::Click(f.PageControl1, tab.Left + 5, tab.Top + 5);
        responder().AnswerMessageBox(plat::mrOk);
        pt::Click(f.Btn_PasteRow, 5, 5);
        EXPECT_EQ(responder().MessageTexts().back(), u"Error!!! Copy a valid row before Paste it");
        EXPECT_EQ(f.ACG_Sub->Cells(1, 1), u"");
        // Insert on the subscribe page leaves the publish table alone and puts no "Y".
        f.ACG_Sub->SetCells(1, 1, u"s");
        pt::Click(f.Btn_InsRow, 5, 5);
        EXPECT_EQ(f.ACG_Sub->Cells(1, 1), u"");
        EXPECT_EQ(f.ACG_Sub->Cells(1, 2), u"s");
        EXPECT_EQ(f.ACG_Pub->Cells(1, 1), u"p");
    });
}

TEST_F(MQTTSetTopicTest, DoubleClickOpensTheEditorWhereTheModeAllows)
{
    struct Case {
        const char* what;
        int mode;
        bool subscribe;
        int real_col;
        bool opens;
        int topic_template;
    };
    const Case cases[] = {
        {"sync publish Mnemonic: topic mode", 0, false, 18, true, 0},
        {"sync publish Template", 0, false, 10, true, 1},
        {"async publish Template", 1, false, 10, true, 1},
        {"async publish Topic", 1, false, 1, false, 0},
        {"async subscribe Template", 1, true, 12, true, 1},
        {"sync subscribe Topic", 0, true, 1, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Write(File_ParGen, ParGen(c.mode));
        Show([&](TFMQTT_Set_Topic& f) {
            grid::TExtColumnGrid* g = c.subscribe ? f.ACG_Sub : f.ACG_Pub;
            if (c.subscribe) f.PageControl1->SetActivePage(f.TS_MQTT_Subscribe);
            g->SetCells(c.real_col, 1, u"old");
            const plat::TRect r = g->CellRect(g->DisplCol(c.real_col), 1);
            if (c.opens)
                responder().ScriptModal<TFTopicTemplate>([&](TFTopicTemplate& t) {
                    EXPECT_EQ(t.TopicTemplate, c.topic_template);
                    EXPECT_EQ(t.Pub_Sub, c.subscribe ? 1 : 0);
                    EXPECT_EQ(t.RE_TopicTemplate->Text(), u"old");
                    t.RE_TopicTemplate->SetText(u"new");
                    pt::Click(t.Btn_OK, 5, 5);
                });
            pt::DoubleClick(g, r.Left + 4, r.Top + 4);
            EXPECT_EQ(g->Cells(c.real_col, 1), c.opens ? u"new" : u"old");
            // The same double click may have opened the cell's own editor: leaving the cell
            // must not write the text it held back over the edited one.
            const plat::TRect other = g->CellRect(g->DisplCol(c.real_col == 1 ? 2 : 1), 2);
            pt::Click(g, other.Left + 4, other.Top + 4);
            EXPECT_EQ(g->Cells(c.real_col, 1), c.opens ? u"new" : u"old") << "after leaving the cell";
        });
    }
}

TEST_F(MQTTSetTopicTest, TemplateEditorKeywordsAndCaptions)
{
    struct Case {
        int mode, topic_template, pub_sub;
        std::vector<String> keywords;
        const char16_t* caption;
    };
    const std::vector<String> sync_template{u"$SOURCE$", u"$FC$", u"$CRC$", u"$VALUE$", u"$DATA$", u"$DESC$", u"$TIME$"};
    const Case cases[] = {
        {1, 1, 0, {u"$VALUE$", u"$DESC$", u"$TIME$"}, u"Set Template"},
        {1, 1, 1, {u"$VALUE$"}, u"Set Template"},
        {1, 0, 0, {u""}, u"Set Topic"},
        {1, 0, 1, {u""}, u"Set Topic"},
        {0, 1, 0, sync_template, u"Set Template"},
        {0, 0, 0, {u"$SOURCE$", u"$FC$"}, u"Set Topic"},
        {0, 1, 1, {u""}, u"Set Template"},
        {0, 0, 1, {u""}, u"Set Topic"},
        {2, 1, 0, sync_template, u"Set Template"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + std::to_string(c.topic_template) + std::to_string(c.pub_sub));
        editor->Working_Mode = c.mode;
        editor->TopicTemplate = c.topic_template;
        editor->Pub_Sub = c.pub_sub;
        responder().ScriptModal<TFTopicTemplate>([&](TFTopicTemplate& t) {
            std::vector<String> got;
            for (int r = 1; r < t.ESG_Keywords->RowCount(); ++r) {
                got.push_back(t.ESG_Keywords->Cells(0, r));
                EXPECT_TRUE(t.ESG_Keywords->GetCellProperties(1, r)->ReadOnly);
                EXPECT_FALSE(t.ESG_Keywords->GetCellProperties(0, r)->ReadOnly);
            }
            EXPECT_EQ(got, c.keywords);
            EXPECT_EQ(t.Caption(), c.caption);
            EXPECT_EQ(t.L_SW_Desc->Caption(), c.caption);
            pt::Click(t.Btn_Cancel, 5, 5);
        });
        editor->ShowModal();
    }
    // Header cells from the language table; from the top: title, edit field, splitter,
    // legend (108), buttons (40).
    EXPECT_EQ(editor->ESG_Keywords->Cells(1, 0), u"Description of Keyword");
    EXPECT_EQ(editor->ESG_Keywords->ColWidths(0), 200);
    EXPECT_EQ(editor->ESG_Keywords->ColWidths(1), 380);
    EXPECT_EQ(editor->RE_TopicTemplate->Top(), 69);
    EXPECT_EQ(editor->RE_TopicTemplate->Top() + editor->RE_TopicTemplate->Height(), editor->Splitter1->Top());
    EXPECT_EQ(editor->Splitter1->Top() + editor->Splitter1->Height(), editor->P_Legend->Top());
    EXPECT_EQ(editor->P_Legend->Height(), 108);
    EXPECT_EQ(editor->P_Legend->Top() + 108, editor->P_Button->Top());
    EXPECT_EQ(editor->BorderIcons(), plat::biSystemMenu);
}

TEST_F(MQTTSetTopicTest, TemplateEditorOkAndCancelAndLineBreaks)
{
    Write(File_ParGen, ParGen(1));
    Show([&](TFMQTT_Set_Topic& f) {
        f.ACG_Pub->SetCells(10, 1, u"$VALUE$");
        // Cancel leaves the cell even after a change.
        responder().ScriptModal<TFTopicTemplate>([&](TFTopicTemplate& t) {
            t.RE_TopicTemplate->SetText(u"changed");
            pt::Click(t.Btn_Cancel, 5, 5);
        });
        f.Show_Form_Topic(f.Pub(), 1, 10);
        EXPECT_EQ(f.ACG_Pub->Cells(10, 1), u"$VALUE$");
        // A line break typed in the field comes back as CR LF.
        responder().ScriptModal<TFTopicTemplate>([&](TFTopicTemplate& t) {
            EXPECT_TRUE(t.RE_TopicTemplate->Focused());
            t.RE_TopicTemplate->SetSelStart(static_cast<int>(t.RE_TopicTemplate->Text().size()));
            pt::Key(plat::VK_RETURN);
            pt::Type(u"x");
            pt::Click(t.Btn_OK, 5, 5);
        });
        f.Show_Form_Topic(f.Pub(), 1, 10);
        EXPECT_EQ(f.ACG_Pub->Cells(10, 1), u"$VALUE$\r\nx");
    });
}

// A publish row typed in as a user would: text cells, two list editors, a check box.
TEST_F(MQTTSetTopicTest, RowEnteredThroughTheGridIsSaved)
{
    Write(File_ParGen, ParGen(1));
    Show([&](TFMQTT_Set_Topic& f) {
        grid::TExtColumnGrid* g = f.ACG_Pub;
        const auto cell = [&](int real_col) {
            const plat::TRect r = g->CellRect(g->DisplCol(real_col), 1);
            return plat::TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
        };
        const auto type_into = [&](int real_col, const String& text) {
            const plat::TPoint p = cell(real_col);
            pt::Click(g, p.X, p.Y);
            pt::Type(text);
            pt::Key(plat::VK_RETURN);
        };
        type_into(1, u"plant/temp");
        type_into(3, u"0");
        type_into(4, u"Int");
        type_into(5, u"2");
        type_into(6, u"0");
        g->ScrollInView(g->DisplCol(14), 1);
        const plat::TPoint timer = cell(13);
        pt::Click(g, timer.X, timer.Y);
        type_into(14, u"1000");
        EXPECT_EQ(g->Cells(1, 1), u"plant/temp");
        EXPECT_EQ(g->Cells(3, 1), u"0");
        EXPECT_EQ(g->Cells(4, 1), u"Int");
        EXPECT_EQ(g->Cells(13, 1), u"Y");
        EXPECT_EQ(g->Cells(14, 1), u"1000");
        EXPECT_TRUE(Click_OK(f));
    });
    const std::vector<std::string> saved = Attributes(Read(File_MQTT_Set_Topic));
    for (const char* a : {"MQTT_Publish/0/Topic=plant/temp", "MQTT_Publish/0/QoS=0", "MQTT_Publish/0/DataType=Int",
                          "MQTT_Publish/0/Dimension=2", "MQTT_Publish/0/Position=0", "MQTT_Publish/0/OnTimer=Y",
                          "MQTT_Publish/0/Time=1000"})
        EXPECT_NE(std::find(saved.begin(), saved.end(), a), saved.end()) << a;
}

TEST_F(MQTTSetTopicTest, Pictures)
{
    if (testsupport::Picture_Dir().empty()) GTEST_SKIP() << "TEST_PICTURES not set";
    for (int mode : {0, 1}) {
        Write(File_ParGen, ParGen(mode));
        Write(File_MQTT_Set_Topic, Full_File);
        Show([&](TFMQTT_Set_Topic& f) {
            pt::SaveGrab(&f, u"mqtt_set_topic_pub_mode" + plat::IntToStr(mode) + u".png");
            f.PageControl1->SetActivePage(f.TS_MQTT_Subscribe);
            pt::ProcessEvents();
            pt::SaveGrab(&f, u"mqtt_set_topic_sub_mode" + plat::IntToStr(mode) + u".png");
        });
        editor->Working_Mode = mode;
        editor->TopicTemplate = 1;
        editor->Pub_Sub = 0;
        responder().ScriptModal<TFTopicTemplate>([&](TFTopicTemplate& t) {
            t.RE_TopicTemplate->SetText(u"{\"v\": $VALUE$, \"t\": \"$TIME$\"}");
            pt::SaveGrab(&t, u"topic_template_mode" + plat::IntToStr(mode) + u".png");
            pt::Click(t.Btn_Cancel, 5, 5);
        });
        editor->ShowModal();
    }
}

} // namespace
