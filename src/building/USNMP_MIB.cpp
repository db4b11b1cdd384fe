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

void Append_Int(String& s, int n)
{
    char16_t digits[12];
    int len = 0;
    do {
        digits[len++] = static_cast<char16_t>(u'0' + n % 10);
        n /= 10;
    } while (n > 0);
    while (len > 0) s += digits[--len];
}

// A name the module defines or imports besides its variables: the fixed tree, the imports
// and the notifications trapval1 .. trapval<n_read>.
bool Fixed_Name(StringView name, int n_read)
{
    static const std::unordered_set<StringView> fixed = [] {
        static const char16_t* const names[] = {
            u"identity",     u"varnok",       u"gateway",      u"application",  u"data",         u"hellostring",
            u"countin",      u"countout",     u"bufferin",     u"bufferinval",  u"bufferout",    u"bufferoutval",
            u"traps",        u"trapsval",     u"enterprises",  u"bufferinblk1", u"bufferinblk2", u"bufferinblk3",
            u"bufferinblk4", u"bufferinblk5", u"bufferinblk6", u"bufferinblk7", u"bufferinblk8", u"bufferoutblk1",
            u"bufferoutblk2", u"bufferoutblk3", u"bufferoutblk4", u"bufferoutblk5", u"bufferoutblk6",
            u"bufferoutblk7", u"bufferoutblk8"};
        return std::unordered_set<StringView>(std::begin(names), std::end(names));
    }();
    if (fixed.count(name)) return true;
    constexpr StringView trap = u"trapval";
    if (name.size() <= trap.size() || name.size() > trap.size() + 3 || name.substr(0, trap.size()) != trap) return false;
    int k = 0;
    for (char16_t c : name.substr(trap.size())) {
        if (c < u'0' || c > u'9') return false;
        k = k * 10 + (c - u'0');
    }
    return name[trap.size()] != u'0' && k >= 1 && k <= n_read;
}

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

String Build_SNMP_MIB_Text(const std::vector<String>& read, const std::vector<String>& write,
                           const std::uint8_t (&int_flags)[2 * kMIB_Max_Variables], String& error)
{
    error.clear();
    const int n_read = std::min<int>(static_cast<int>(read.size()), kMIB_Max_Variables);
    const int n_write = std::min<int>(static_cast<int>(write.size()), kMIB_Max_Variables);

    // Variable v: read variable v + 1 for v < n_read, else write variable v - n_read + 1. Its
    // name is the description, or the generated one of a variable without description.
    const int n = n_read + n_write;
    std::vector<String> names(static_cast<std::size_t>(n));
    std::size_t text_size = 4096;
    auto is_read = [n_read](int v) { return v < n_read; };
    auto number = [n_read](int v) { return v < n_read ? v + 1 : v - n_read + 1; };
    auto desc = [&](int v) -> const String& {
        return v < n_read ? read[static_cast<std::size_t>(v)] : write[static_cast<std::size_t>(v - n_read)];
    };
    for (int v = 0; v < n; ++v) {
        String& name = names[static_cast<std::size_t>(v)];
        if (desc(v).empty()) {
            name = is_read(v) ? u"bufferinval" : u"bufferoutval";
            Append_Int(name, number(v));
        } else {
            name = desc(v);
        }
        text_size += 3 * name.size() + 200;
    }

    // The first two variables of each name: a described variable sharing its name is refused.
    std::unordered_map<StringView, std::pair<int, int>> users;
    users.reserve(static_cast<std::size_t>(n) * 2);
    for (int v = 0; v < n; ++v) {
        auto [it, fresh] = users.try_emplace(names[static_cast<std::size_t>(v)], v, -1);
        if (!fresh && it->second.second < 0) it->second.second = v;
    }
    for (int v = 0; v < n; ++v) {
        if (desc(v).empty()) continue;  // generated names are valid and distinct
        const String& name = names[static_cast<std::size_t>(v)];
        auto refuse = [&](const String& reason) {
            error = u"Error!! The MIB file is not written: the name \"" + name + u"\" of the " +
                    Variable_Ref(is_read(v), number(v)) + reason;
            return String();
        };
        if (!Valid_Descriptor(name))
            return refuse(u" is not a valid name (a lower-case letter, then letters and digits, at most 64 characters)");
        if (Fixed_Name(name, n_read)) return refuse(u" is a name of the module itself");
        const auto [first, second] = users.at(name);
        if (second >= 0) {
            const int other = first == v ? second : first;
            return refuse(u" is also the name of the " + Variable_Ref(is_read(other), number(other)));
        }
    }

    String l;  // the module, every line followed by CR LF
    l.reserve(text_size);
    auto add = [&l](StringView line) {
        l += line;
        l += u"\r\n";
    };
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

    // "<name> OBJECT-TYPE SYNTAX <syntax> MAX-ACCESS <access> STATUS current DESCRIPTION
    // "<description>" ::= { <parent> <k> }"
    auto object = [&l](StringView name, StringView syntax, StringView access, StringView description,
                       StringView parent, int k) {
        l += name;
        l += u" OBJECT-TYPE SYNTAX ";
        l += syntax;
        l += u" MAX-ACCESS ";
        l += access;
        l += u" STATUS current DESCRIPTION \"";
        l += description;
        l += u"\" ::= { ";
        l += parent;
        l += u' ';
        Append_Int(l, k);
        l += u" }\r\n";
    };
    auto syntax = [&int_flags](int flag_index) -> StringView {
        return int_flags[flag_index] == 1 ? u"INTEGER" : u"OCTET STRING";
    };
    String block;
    add(u"bufferin OBJECT IDENTIFIER::= { data 4 }");
    for (int b = 1; b <= 8; ++b) {
        block = u"data block n.";
        Append_Int(block, b);
        object(u"bufferinblk" + Dec(b), u"OCTET STRING", u"read-only", block, u"bufferin", b);
    }
    add(u" bufferinval OBJECT IDENTIFIER::= { bufferin 9 }");
    for (int k = 1; k <= n_read; ++k)
        object(names[static_cast<std::size_t>(k - 1)], syntax(k - 1), u"read-only", desc(k - 1), u"bufferinval", k);
    add(u"bufferout OBJECT IDENTIFIER::= { data 5 }");
    for (int b = 1; b <= 8; ++b) {
        block = u"data block n.";
        Append_Int(block, b);
        object(u"bufferoutblk" + Dec(b), u"OCTET STRING", u"read-write", block, u"bufferout", b);
    }
    add(u" bufferoutval OBJECT IDENTIFIER::= { bufferout 9 }");
    for (int k = 1; k <= n_write; ++k)
        object(names[static_cast<std::size_t>(n_read + k - 1)], syntax(kMIB_Max_Variables + k - 1), u"read-write",
               desc(n_read + k - 1), u"bufferoutval", k);
    add(u"traps OBJECT IDENTIFIER::= { application 2 }");
    add(u" trapsval OBJECT IDENTIFIER::= { traps 1 }");
    for (int k = 1; k <= n_read; ++k) {
        const String& name = names[static_cast<std::size_t>(k - 1)];
        const String& d = desc(k - 1);
        l += u"trapval";
        Append_Int(l, k);
        l += u" NOTIFICATION-TYPE OBJECTS { ";
        l += name;
        l += u" } STATUS current DESCRIPTION \"";
        l += d;
        l += u"\" ::= { trapsval ";
        Append_Int(l, k);
        l += u" }\r\n";
    }
    add(u"END");
    return l;
}

bool Write_SNMP_MIB(const String& path)
{
    TStringList& read_list = Ensure(SNMP_MIB_Read_List);
    TStringList& write_list = Ensure(SNMP_MIB_Write_List);
    const std::vector<String> read = read_list.ToVector();
    const std::vector<String> write = write_list.ToVector();
    String error;
    const String text = Build_SNMP_MIB_Text(read, write, MIB_Int_Flags, error);
    if (!error.empty()) {
        MessageDlg(error, mtError, {mbOK});
        return false;
    }
    errno = 0;
    if (!WriteTextFile(path, text, TTextEncoding::Ansi)) {
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
