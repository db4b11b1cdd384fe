#include "USettings.h"

#include <functional>

#include "UComon.h"
#include "plat/Files.h"
#include "plat/Xml.h"

using plat::IXMLNode;
using plat::String;

String Setting_File_Name() { return Program_Dir + u"/Tralvex.xml"; }

String Damaged_Setting_File_Name() { return Setting_File_Name() + u".damaged"; }

namespace {

// Text of parent/child under the root; false when either is missing or not a text element.
bool Child_Text(IXMLNode root, plat::StringView parent, plat::StringView child, String& text)
{
    const IXMLNode p = root.ChildNodes().FindNode(parent);
    if (!p)
        return false;
    const IXMLNode c = p.ChildNodes().FindNode(child);
    if (!c)
        return false;
    text = c.Text();
    return true;
}

// Each value is read in its own step; a step that fails in any way leaves the default.
void Guarded(const std::function<void()>& step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

// Moves the unreadable file aside: a rename keeps it byte for byte (a link stays a link),
// and the next save then writes a fresh file instead of replacing the user's.
void Keep_Damaged_File(const String& reason, String* Note)
{
    const String path = Setting_File_Name();
    const String kept = Damaged_Setting_File_Name();
    plat::DeleteFile(kept);
    const bool moved = plat::RenameFile(path, kept);
    if (!Note)
        return;
    *Note = u"The settings file could not be read: " + reason + u".";
    if (moved)
        *Note += u" It has been kept as \"" + kept + u"\".";
    *Note += u" The program starts with the default settings.";
}

} // namespace

void Read_Setting(String* Note)
{
    if (Note)
        Note->clear();
    Project_Name.clear();
    Project_Dir.clear();
    Last_IP_Address = u"192.168.2.205";
    Language_Name = u"English";
    Enable_Internet = false;
    Enable_Update = false;
    Enable_Jump_Field_Tables = false;
    Double_Click_Auto_Size = false;

    const String path = Setting_File_Name();
    if (!plat::PathEntryExists(path))
        return;
    plat::TXMLDocument doc;
    try {
        doc.LoadFromFile(path);
    } catch (const plat::Exception& e) {
        Keep_Damaged_File(e.Message(), Note);
        return;  // every value keeps its default
    }
    const IXMLNode root = doc.DocumentElement();
    if (!root)
        return;

    String text;
    Guarded([&] {
        if (Child_Text(root, u"lastproj", u"projectname", text))
            Project_Name = text;
    });
    Guarded([&] {
        if (Child_Text(root, u"lastipadd", u"ipaddress", text))
            Last_IP_Address = text;
    });
    Guarded([&] {
        if (Child_Text(root, u"lastlang", u"language", text))
            Language_Name = text;
    });
    // A Boolean is on only for the exact text "1".
    Guarded([&] { Enable_Internet = Child_Text(root, u"lastinternet", u"enable_internet", text) && text == u"1"; });
    Guarded([&] { Enable_Update = Child_Text(root, u"lastinternet", u"enable_update", text) && text == u"1"; });
    Guarded([&] {
        Enable_Jump_Field_Tables = Child_Text(root, u"lastinternet", u"enable_jump_field_tables", text) && text == u"1";
    });
    Guarded([&] {
        Double_Click_Auto_Size = Child_Text(root, u"lastinternet", u"Double_Click_Auto_Size", text) && text == u"1";
    });
}

bool Save_Setting(String* error)
{
    try {
        plat::TXMLDocument doc;
        doc.SetActive(true);
        doc.Clear();
        IXMLNode root = doc.AddChild(u"Conf_Settings");
        root.AddChild(u"lastproj").AddChild(u"projectname").SetText(Project_Name);
        root.AddChild(u"lastipadd").AddChild(u"ipaddress").SetText(Last_IP_Address);
        root.AddChild(u"lastlang").AddChild(u"language").SetText(Language_Name);
        IXMLNode internet = root.AddChild(u"lastinternet");
        auto flag = [](bool on) { return String(on ? u"1" : u"0"); };
        internet.AddChild(u"enable_internet").SetText(flag(Enable_Internet));
        internet.AddChild(u"enable_update").SetText(flag(Enable_Update));
        internet.AddChild(u"enable_jump_field_tables").SetText(flag(Enable_Jump_Field_Tables));
        internet.AddChild(u"Double_Click_Auto_Size").SetText(flag(Double_Click_Auto_Size));
        doc.SaveToFile(Setting_File_Name());
        return true;
    } catch (const plat::Exception& e) {
        if (error)
            *error = e.Message();
    } catch (const std::exception& e) {
        if (error)
            *error = plat::Utf8ToString(e.what());
    }
    return false;
}
