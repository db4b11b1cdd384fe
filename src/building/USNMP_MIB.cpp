#include "USNMP_MIB.h"

#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "UComon.h"
#include "UFormKit.h"
#include "ULanguage.h"
#include "UMaker.h"
#include "plat/Dialogs.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;

std::uint8_t MIB_Int_Flags[2 * kMIB_Max_Variables] = {};

namespace {

// A table's enabled rows: their descriptions, and the Int flags from `flags` on.
void Read_Table(IXMLNode root, StringView element, TStringList& list, std::uint8_t* flags)
{
    IXMLNode table = root.ChildNodes().FindNode(element);
    if (!table) return;
    IXMLNodeList rows = table.ChildNodes();
    const int n = rows.Count();
    int k = 0;
    for (int i = 0; i < n && k < kMIB_Max_Variables; ++i) {
        IXMLNode row = rows[i];
        if (row.NodeType() != ntElement) continue;
        if (UpperCase(row.Attributes(u"Enable").AsStringDef(u"")) != u"Y") continue;
        flags[k] = UpperCase(row.Attributes(u"Type").AsStringDef(u"")) == u"INT" ? 1 : 0;
        list.Add(row.Attributes(u"Description").AsStringDef(u""));
        ++k;
    }
}

TStringList& Ensure(TStringList*& list)
{
    if (!list) list = new TStringList();
    return *list;
}

// A descriptor as SMIv2 takes it and the editor allows it: a lower-case letter, then
// letters and digits, at most 64 characters.
bool Valid_Descriptor(StringView name)
{
    if (name.empty() || name.size() > 64 || name[0] < u'a' || name[0] > u'z') return false;
    for (char16_t c : name)
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))) return false;
    return true;
}

String Dec(int n) { return IntToStr(n); }

String Variable_Ref(bool read, int k) { return (read ? u"read variable " : u"write variable ") + Dec(k); }

} // namespace

bool Load_MIB_Variables(String* error)
{
    TStringList& read = Ensure(SNMP_MIB_Read_List);
    TStringList& write = Ensure(SNMP_MIB_Write_List);
    read.Clear();
    write.Clear();
    std::memset(MIB_Int_Flags, 0, sizeof MIB_Int_Flags);
    if (!FileExists(File_SNMP_Trap)) return true;
    TXMLDocument doc;
    try {
        doc.LoadFromFile(File_SNMP_Trap);
        IXMLNode root = doc.DocumentElement();
        if (!root) throw EXMLDocError(u"No root element");
        Read_Table(root, u"SNMP_Trap_Read", read, MIB_Int_Flags);
        Read_Table(root, u"SNMP_Trap_Write", write, MIB_Int_Flags + kMIB_Max_Variables);
    } catch (const Exception& e) {
        read.Clear();
        write.Clear();
        std::memset(MIB_Int_Flags, 0, sizeof MIB_Int_Flags);
        if (error) *error = e.Message();
        return false;
    }
    return true;
}

std::vector<String> Build_SNMP_MIB_Lines(const std::vector<String>& read, const std::vector<String>& write,
                                         const std::uint8_t (&int_flags)[2 * kMIB_Max_Variables], String& error)
{
    error.clear();
    const int n_read = std::min<int>(static_cast<int>(read.size()), kMIB_Max_Variables);
    const int n_write = std::min<int>(static_cast<int>(write.size()), kMIB_Max_Variables);

    // Names: the description, or the generated one of a variable without description.
    std::vector<String> read_names(static_cast<std::size_t>(n_read)), write_names(static_cast<std::size_t>(n_write));
    for (int k = 1; k <= n_read; ++k) {
        const String& d = read[static_cast<std::size_t>(k - 1)];
        read_names[static_cast<std::size_t>(k - 1)] = d.empty() ? u"bufferinval" + Dec(k) : d;
    }
    for (int k = 1; k <= n_write; ++k) {
        const String& d = write[static_cast<std::size_t>(k - 1)];
        write_names[static_cast<std::size_t>(k - 1)] = d.empty() ? u"bufferoutval" + Dec(k) : d;
    }

    // Every name the module defines or imports besides the variables.
    std::unordered_set<String> fixed = {u"identity", u"varnok",      u"gateway",     u"application",
                                        u"data",     u"hellostring", u"countin",     u"countout",
                                        u"bufferin", u"bufferinval", u"bufferout",   u"bufferoutval",
                                        u"traps",    u"trapsval",    u"enterprises"};
    for (int n = 1; n <= 8; ++n) {
        fixed.insert(u"bufferinblk" + Dec(n));
        fixed.insert(u"bufferoutblk" + Dec(n));
    }
    for (int k = 1; k <= n_read; ++k) fixed.insert(u"trapval" + Dec(k));

    std::unordered_map<String, std::vector<String>> owners;  // variable name -> its variables
    for (int t = 0; t < 2; ++t) {
        const bool is_read = t == 0;
        const std::vector<String>& names = is_read ? read_names : write_names;
        for (std::size_t i = 0; i < names.size(); ++i)
            owners[names[i]].push_back(Variable_Ref(is_read, static_cast<int>(i) + 1));
    }
    for (int t = 0; t < 2; ++t) {
        const bool is_read = t == 0;
        const std::vector<String>& names = is_read ? read_names : write_names;
        const std::vector<String>& descs = is_read ? read : write;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (descs[i].empty()) continue;  // generated names are valid and distinct
            const String& name = names[i];
            const String who = Variable_Ref(is_read, static_cast<int>(i) + 1);
            const String head = u"Error!! The MIB file is not written: the name \"" + name + u"\" of the " + who;
            if (!Valid_Descriptor(name)) {
                error = head + u" is not a valid name (a lower-case letter, then letters and digits, at most 64 characters)";
                return {};
            }
            if (fixed.count(name)) {
                error = head + u" is a name of the module itself";
                return {};
            }
            for (const String& other : owners.at(name))
                if (other != who) {
                    error = head + u" is also the name of the " + other;
                    return {};
                }
        }
    }

    std::vector<String> lines;
    lines.reserve(static_cast<std::size_t>(80 + 2 * n_read + n_write));
    auto add = [&lines](String s) { lines.push_back(std::move(s)); };
    add(u"GATEWAY DEFINITIONS ::= BEGIN");
    add(u"IMPORTS");
    add(u"       MODULE-IDENTITY,OBJECT-TYPE,NOTIFICATION-TYPE");
    add(u"         FROM SNMPv2-SMI");
    add(u"         DisplayString, TimeStamp");
    add(u"         FROM SNMPv2-TC");
    add(u"         enterprises");
    add(u"         FROM RFC1155-SMI;");
    add(u"");
    add(u"identity MODULE-IDENTITY");
    add(u"    LAST-UPDATED \"201701310000Z\"");
    add(u"    ORGANIZATION \"" + String(maker::Organization) + u"\"");
    add(u"    CONTACT-INFO");
    add(u"\t \"" + String(maker::Street));
    add(u"    " + String(maker::Postal_Town_Province));
    add(u"    " + String(maker::Country));
    add(u"    email:    " + String(maker::Email) + u"\"");
    add(u"    DESCRIPTION");
    add(u"\t\"MIB objects for agent module \"");
    add(u"    REVISION     \"201701310000Z\"");
    add(u"    DESCRIPTION");
    add(u"\t\"Corrected notification \"");
    add(u"    REVISION     \"200202060000Z\"");
    add(u"    DESCRIPTION");
    add(u"\t\"First draft\"");
    add(u"    ::= { varnok 2 }");
    add(u"varnok          OBJECT IDENTIFIER ::= { enterprises 57021 }");
    add(u"gateway OBJECT IDENTIFIER::= { varnok 1 }");
    add(u"application OBJECT IDENTIFIER::= { gateway 1 }");
    add(u"data OBJECT IDENTIFIER::= { application 1 }");
    add(u"hellostring OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only  STATUS current  DESCRIPTION \"\" ::= { data 1}");
    add(u"countin  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-only  STATUS current  DESCRIPTION \"\" ::= { data 2}");
    add(u"countout  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-write STATUS current  DESCRIPTION \"\" ::= { data 3}");
    add(u"bufferin OBJECT IDENTIFIER::= { data 4 }");
    for (int n = 1; n <= 8; ++n)
        add(u"bufferinblk" + Dec(n) +
            u" OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current DESCRIPTION \"data block n." + Dec(n) +
            u"\" ::= { bufferin " + Dec(n) + u" }");
    add(u" bufferinval OBJECT IDENTIFIER::= { bufferin 9 }");
    auto syntax = [&int_flags](int flag_index) {
        return int_flags[flag_index] == 1 ? u"INTEGER" : u"OCTET STRING";
    };
    for (int k = 1; k <= n_read; ++k)
        add(read_names[static_cast<std::size_t>(k - 1)] + u" OBJECT-TYPE SYNTAX " + syntax(k - 1) +
            u" MAX-ACCESS read-only STATUS current DESCRIPTION \"" + read[static_cast<std::size_t>(k - 1)] +
            u"\" ::= { bufferinval " + Dec(k) + u" }");
    add(u"bufferout OBJECT IDENTIFIER::= { data 5 }");
    for (int n = 1; n <= 8; ++n)
        add(u"bufferoutblk" + Dec(n) +
            u" OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write STATUS current DESCRIPTION \"data block n." +
            Dec(n) + u"\" ::= { bufferout " + Dec(n) + u" }");
    add(u" bufferoutval OBJECT IDENTIFIER::= { bufferout 9 }");
    for (int k = 1; k <= n_write; ++k)
        add(write_names[static_cast<std::size_t>(k - 1)] + u" OBJECT-TYPE SYNTAX " +
            syntax(kMIB_Max_Variables + k - 1) + u" MAX-ACCESS read-write STATUS current DESCRIPTION \"" +
            write[static_cast<std::size_t>(k - 1)] + u"\" ::= { bufferoutval " + Dec(k) + u" }");
    add(u"traps OBJECT IDENTIFIER::= { application 2 }");
    add(u" trapsval OBJECT IDENTIFIER::= { traps 1 }");
    for (int k = 1; k <= n_read; ++k)
        add(u"trapval" + Dec(k) + u" NOTIFICATION-TYPE OBJECTS { " + read_names[static_cast<std::size_t>(k - 1)] +
            u" } STATUS current DESCRIPTION \"" + read[static_cast<std::size_t>(k - 1)] + u"\" ::= { trapsval " +
            Dec(k) + u" }");
    add(u"END");
    return lines;
}

bool Write_SNMP_MIB(const String& path)
{
    TStringList& read_list = Ensure(SNMP_MIB_Read_List);
    TStringList& write_list = Ensure(SNMP_MIB_Write_List);
    const std::vector<String> read = read_list.ToVector();
    const std::vector<String> write = write_list.ToVector();
    String error;
    const std::vector<String> lines = Build_SNMP_MIB_Lines(read, write, MIB_Int_Flags, error);
    if (!error.empty()) {
        MessageDlg(error, mtError, {mbOK});
        return false;
    }
    errno = 0;
    if (!WriteTextFile(path, lines, TTextEncoding::Ansi)) {
        const int e = errno;
        MessageDlg(u"Error! The file cannot be written: " + path + u"\r\n" +
                       (e ? Utf8ToString(std::strerror(e)) : String(u"write failed")),
                   mtError, {mbOK});
        return false;
    }
    return true;
}

void Create_SNMP_MIB(TSaveDialog& dialog)
{
    dialog.SetInitialDir(Project_Dir);
    if (!dialog.Execute()) return;
    const String name = dialog.FileName();
    if (FileExists(name) && MessageDlg(Lang(1105), mtConfirmation, mbYesNo) != mrYes) return;
    String error;
    if (!Load_MIB_Variables(&error)) {
        MessageDlg(Lang(1107) + File_SNMP_Trap + u"\r\n" + error, mtError, {mbOK});
        return;
    }
    Write_SNMP_MIB(name);
}
