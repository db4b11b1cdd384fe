#include "UBACnet_EDE_File.h"

#include <cerrno>
#include <cstring>

#include "UComon.h"
#include "UFormKit.h"
#include "ULanguage.h"
#include "UMaker.h"
#include "plat/Dialogs.h"
#include "plat/Files.h"
#include "plat/Xml.h"

using namespace plat;

namespace {

struct TType_Entry {
    const char16_t* Text;
    int Number;
};

constexpr TType_Entry kTypes[] = {
    {u"ANALOG INPUT", 0},        {u"ANALOG OUT", 1},         {u"ANALOG VALUE", 2},
    {u"BINARY INPUT", 3},        {u"BINARY OUT", 4},         {u"BINARY VALUE", 5},
    {u"MULTI STATE INPUT", 13},  {u"MULTI STATE OUTPUT", 14}, {u"MULTI STATE VALUE", 19},
    {u"LIFE SAFETY POINT", 21},  {u"LIFE SAFETY ZONE", 22},  {u"ACCUMULATOR", 23},
    {u"ACCESS DOOR", 30},        {u"CHARACTERSTRING VALUE", 40}, {u"DATETIME VALUE", 44},
    {u"INTEGER VALUE", 45},      {u"LARGE ANALOG VALUE", 46}, {u"POSITIVE INTEGER VALUE", 48},
};
constexpr int kMax_Type = 48;

// A field as the file can hold it: ";" as ",", line breaks as blanks.
String Field(StringView text)
{
    String s(text);
    for (char16_t& c : s) {
        if (c == u';') c = u',';
        else if (c == u'\r' || c == u'\n') c = u' ';
    }
    return s;
}

String Two(int n) { return n < 10 ? u"0" + IntToStr(n) : IntToStr(n); }

// The text of a key element of ParGen.xml; empty when missing or not a text element.
bool Key_Text(IXMLNode root, StringView key, String& text)
{
    try {
        IXMLNode node = root.ChildNodes().FindNode(key);
        if (!node) return false;
        text = node.Text();
        return true;
    } catch (const Exception&) {
        return false;
    }
}

void Read_Device_Settings(IXMLNode root, TEDE_Build& build)
{
    String text;
    const int type = Key_Text(root, u"BACnet_Type", text) ? StrToIntDef(Trim(text), 0) : 0;
    if (Key_Text(root, type == 1 ? u"BACnet_Ser_DEV_IDE" : u"BACnet_DEV_IDE", text)) build.Device_Instance = text;
    if (Key_Text(root, u"BACnet_Desc_Chars_Limit", text)) build.Long_Names = text == u"1";
}

void Load_Objects(IXMLNode root, TEDE_Build& build)
{
    int counters[kMax_Type + 1] = {};
    for (const char16_t* element : {u"BACnet_in_Read", u"BACnet_in_Write"}) {
        IXMLNode table = root.ChildNodes().FindNode(element);
        if (!table) continue;
        IXMLNodeList rows = table.ChildNodes();
        const int n = rows.Count();
        for (int i = 0; i < n; ++i) {
            IXMLNode row = rows[i];
            if (row.NodeType() != ntElement) continue;
            const int type = EDE_Object_Type(row.Attributes(u"Data_Type").AsStringDef(u""));
            const String mnemonic = row.Attributes(u"Mnemonic").AsStringDef(u"");
            TBACnet_EDE_Obj o;
            o.ObjectName = mnemonic.substr(0, build.Long_Names ? 32 : 16);
            o.ObjectType = IntToStr(type);
            o.ObjectInstance = IntToStr(counters[type]++);
            o.Keyname = build.Device_Instance + u"_" + mnemonic + u"_" + o.ObjectInstance;
            o.DevObjInstance = build.Device_Instance;
            o.Description = o.ObjectName;
            o.UnitCode = row.Attributes(u"Eng_Unit").AsStringDef(u"");
            build.Objects.push_back(std::move(o));
        }
    }
}

// Loads `file` when it exists and hands its root to `read`; false with the reason otherwise.
template <class F>
bool With_Root(const String& file, String& error, F read)
{
    if (!FileExists(file)) return true;
    TXMLDocument doc;
    try {
        doc.LoadFromFile(file);
        IXMLNode root = doc.DocumentElement();
        if (!root) throw EXMLDocError(u"No root element");
        read(root);
        return true;
    } catch (const Exception& e) {
        error = Lang(1107) + file + u"\r\n" + e.Message();
        return false;
    }
}

} // namespace

int EDE_Object_Type(StringView data_type)
{
    const String key = UpperCase(Trim(data_type));
    for (const TType_Entry& t : kTypes)
        if (key == t.Text) return t.Number;
    return 0;
}

String Get_EDE_Timestamp(TDateTime time)
{
    int y, m, d, h, n, s, ms;
    DecodeDate(time, y, m, d);
    DecodeTime(time, h, n, s, ms);
    return Two(h) + u":" + Two(n) + u":" + Two(s) + u" " + Two(d) + u"/" + Two(m) + u"/" + IntToStr(y);
}

bool Build_EDE_File(TEDE_Build& build, String& error)
{
    build = {};
    error.clear();
    if (!With_Root(File_ParGen, error, [&](IXMLNode root) { Read_Device_Settings(root, build); })) return false;
    if (!With_Root(File_BACnet_Slave_SetAccess, error, [&](IXMLNode root) { Load_Objects(root, build); })) {
        build.Objects.clear();
        return false;
    }
    return true;
}

std::vector<String> EDE_File_Lines(const TEDE_Build& build, TDateTime time, StringView project_name)
{
    const String ident(maker::EDE_Identification);
    std::vector<String> lines;
    lines.reserve(7 + build.Objects.size());
    lines.push_back(u"PROJECT_NAME; " + ident + u"--" + Field(project_name) + u";;;;;;");
    lines.push_back(u"VERSION_OF_REFERENCEFILE;1.0;;;;;;");
    lines.push_back(u"TIMESTAMP_OF_LAST_CHANGE;" + Get_EDE_Timestamp(time) + u";;;;;;");
    lines.push_back(u"AUTHOR_OF_LAST_CHANGE;" + ident + u";;;;;;");
    lines.push_back(u"VERSION_OF_LAYOUT;2;;;;;;");
    lines.push_back(u"# mandatory;mandatory;mandatory;mandatory;mandatory;optional;optional;");
    lines.push_back(u"# keyname;device obj.-instance;object-name;object-type;object-instance;description;unit-code;");
    for (const TBACnet_EDE_Obj& o : build.Objects) {
        String line;
        line.reserve(o.Keyname.size() + 2 * o.ObjectName.size() + 32);
        for (const String* f : {&o.Keyname, &o.DevObjInstance, &o.ObjectName, &o.ObjectType, &o.ObjectInstance,
                                &o.Description, &o.UnitCode}) {
            line += Field(*f);
            line += u';';
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

bool Create_EDE_File(const String& path)
{
    TEDE_Build build;
    String error;
    if (!Build_EDE_File(build, error)) {
        MessageDlg(error, mtError, {mbOK});
        return false;
    }
    errno = 0;
    if (!WriteTextFile(path, EDE_File_Lines(build, Now(), Project_Name), TTextEncoding::Ansi)) {
        const int e = errno;
        MessageDlg(u"Error! The file cannot be written: " + path + u"\r\n" +
                       (e ? Utf8ToString(std::strerror(e)) : String(u"write failed")),
                   mtError, {mbOK});
        return false;
    }
    return true;
}
