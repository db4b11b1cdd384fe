// The print settings of TExtStringGrid in a section of an INI file.
#include "ExtGrid.h"
#include "ExtGridSettings.h"
#include "plat/IniFiles.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

// Style bits of the stored mask.
constexpr int kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8;

int StyleMask(plat::TFontStyles Style) {
    return (Style.Contains(plat::fsBold) ? kBold : 0) | (Style.Contains(plat::fsItalic) ? kItalic : 0) |
           (Style.Contains(plat::fsUnderline) ? kUnderline : 0) | (Style.Contains(plat::fsStrikeOut) ? kStrikeOut : 0);
}

plat::TFontStyles MaskStyle(int Mask) {
    plat::TFontStyles s;
    if (Mask & kBold) s += plat::fsBold;
    if (Mask & kItalic) s += plat::fsItalic;
    if (Mask & kUnderline) s += plat::fsUnderline;
    if (Mask & kStrikeOut) s += plat::fsStrikeOut;
    return s;
}

// The title lines as one value: a backslash and "n" between lines (a CR of the text becomes
// the pair, an LF is dropped).
String EscapeLines(const plat::TStrings& Lines) {
    String out;
    for (int i = 0; i < Lines.Count(); ++i) {
        if (i) out += u"\\n";
        for (char16_t c : Lines[i]) {
            if (c == u'\r') out += u"\\n";
            else if (c != u'\n') out += c;
        }
    }
    return out;
}

void UnescapeLines(const String& Value, plat::TStrings& Lines) {
    Lines.BeginUpdate();
    Lines.Clear();
    if (!Value.empty()) {
        String line;
        for (std::size_t i = 0; i < Value.size(); ++i) {
            if (Value[i] == u'\\' && i + 1 < Value.size() && Value[i + 1] == u'n') {
                Lines.Add(line);
                line.clear();
                ++i;
            } else {
                line += Value[i];
            }
        }
        Lines.Add(line);
    }
    Lines.EndUpdate();
}

class TSection {
public:
    TSection(plat::TMemIniFile& Ini, const String& Section) : ini_(Ini), section_(Section) {}
    void Int(const char16_t* Key, int Value) { ini_.WriteInteger(section_, Key, Value); }
    void Text(const char16_t* Key, const String& Value) { ini_.WriteString(section_, Key, Value); }
    void YN(const char16_t* Key, bool Value) { ini_.WriteString(section_, Key, Value ? u"Y" : u"N"); }
    void Font(const String& Prefix, const plat::TFont& F) {
        ini_.WriteString(section_, Prefix + u"Name", F.Name());
        ini_.WriteInteger(section_, Prefix + u"Size", F.Size());
        ini_.WriteInteger(section_, Prefix + u"Style", StyleMask(F.Style()));
        ini_.WriteInteger(section_, Prefix + u"Color", static_cast<int>(F.Color()));
    }

    int ReadInt(const char16_t* Key, int Default) const { return ini_.ReadInteger(section_, Key, Default); }
    String ReadText(const char16_t* Key) const { return ini_.ReadString(section_, Key, String()); }
    bool ReadYN(const char16_t* Key, bool Default) const {
        return ini_.ReadString(section_, Key, Default ? u"Y" : u"N") == u"Y";
    }
    // An ordinal within [Lo, Hi] is taken, any other leaves Value as it is.
    template <class E>
    void ReadOrdinal(const char16_t* Key, int Lo, int Hi, E& Value) const {
        const int v = ReadInt(Key, 0);
        if (v >= Lo && v <= Hi) Value = static_cast<E>(v);
    }
    TPrintPosition ReadPosition(const char16_t* Key) const {
        const int v = ReadInt(Key, 0);
        return v >= ppTopLeft && v <= ppBottomCenter ? static_cast<TPrintPosition>(v) : ppNone;
    }
    // The style is the stored mask: a stored 0 clears a style the font had.
    void ReadFont(const String& Prefix, plat::TFont& F) const {
        F.SetName(ini_.ReadString(section_, Prefix + u"Name", u"Arial"));
        F.SetSize(ini_.ReadInteger(section_, Prefix + u"Size", 10));
        F.SetStyle(MaskStyle(ini_.ReadInteger(section_, Prefix + u"Style", 0)));
        F.SetColor(static_cast<TColor>(ini_.ReadInteger(section_, Prefix + u"Color", 0)));
    }

private:
    plat::TMemIniFile& ini_;
    const String& section_;
};

} // namespace

void TExtStringGrid::SavePrintSettings(const String& Key, const String& Section) {
    const TPrintSettings& p = *PrintSettings();
    plat::TMemIniFile ini(Key);
    TSection s(ini, Section);
    s.Int(u"ColumnSpacing", p.ColumnSpacing);
    s.Int(u"RowSpacing", p.RowSpacing);
    s.Int(u"TitleSpacing", p.TitleSpacing);
    s.Int(u"FixedHeight", p.FixedHeight);
    s.Int(u"FixedWidth", p.FixedWidth);
    s.YN(u"Centered", p.Centered);
    s.YN(u"NoAutoSize", p.NoAutoSize);
    s.YN(u"UseFixedHeight", p.UseFixedHeight);
    s.YN(u"UseFixedWidth", p.UseFixedWidth);
    s.YN(u"RepeatFixedRows", p.RepeatFixedRows);
    s.YN(u"RepeatFixedCols", p.RepeatFixedCols);
    s.YN(u"UseDisplFont", p.UseDisplayFont);
    s.YN(u"UseDefOrientation", p.UseDefaultOrientation);
    s.Int(u"Borders", p.Borders);
    s.Int(u"BorderColor", static_cast<int>(p.BorderColor));
    s.Int(u"BorderStyle", p.BorderStyle);
    s.Int(u"Date", p.Date);
    s.Int(u"PageNr", p.PageNr);
    s.Int(u"Title", p.Title);
    s.Int(u"Time", p.Time);
    s.Text(u"DateFormat", p.DateFormat);
    s.Text(u"TitleText", p.TitleText);
    s.Int(u"FooterSize", p.FooterSize);
    s.Int(u"HeaderSize", p.HeaderSize);
    s.Int(u"LeftSize", p.LeftSize);
    s.Int(u"RightSize", p.RightSize);
    s.Int(u"FitToPage", p.FitToPage);
    s.Font(u"Font", p.Font);
    s.Font(u"HeaderFont", p.HeaderFont);
    s.Font(u"FooterFont", p.FooterFont);
    s.Text(u"PageNumSep", p.PageNumSep);
    s.Text(u"PageSuffix", p.PageSuffix);
    s.Text(u"PagePrefix", p.PagePrefix);
    s.Int(u"Orientation", p.Orientation);
    s.Text(u"TitleLines", EscapeLines(p.TitleLines));
    s.YN(u"PrintGraphics", p.PrintGraphics);
    ini.UpdateFile();
}

void TExtStringGrid::LoadPrintSettings(const String& Key, const String& Section) {
    TPrintSettings& p = *PrintSettings();
    plat::TMemIniFile ini(Key);
    const TSection s(ini, Section);
    p.ColumnSpacing = s.ReadInt(u"ColumnSpacing", 20);
    p.RowSpacing = s.ReadInt(u"RowSpacing", 20);
    p.TitleSpacing = s.ReadInt(u"TitleSpacing", 20);
    p.FixedHeight = s.ReadInt(u"FixedHeight", 0);
    p.FixedWidth = s.ReadInt(u"FixedWidth", 0);
    p.Centered = s.ReadYN(u"Centered", true);
    p.NoAutoSize = s.ReadYN(u"NoAutoSize", false);
    p.UseFixedHeight = s.ReadYN(u"UseFixedHeight", false);
    p.UseFixedWidth = s.ReadYN(u"UseFixedWidth", false);
    p.RepeatFixedRows = s.ReadYN(u"RepeatFixedRows", false);
    p.RepeatFixedCols = s.ReadYN(u"RepeatFixedCols", false);
    p.UseDisplayFont = s.ReadYN(u"UseDisplFont", false);
    p.UseDefaultOrientation = s.ReadYN(u"UseDefOrientation", false);
    p.DateFormat = s.ReadText(u"DateFormat");
    p.TitleText = s.ReadText(u"TitleText");
    p.FooterSize = s.ReadInt(u"FooterSize", 100);
    p.HeaderSize = s.ReadInt(u"HeaderSize", 100);
    p.LeftSize = s.ReadInt(u"LeftSize", 100);
    p.RightSize = s.ReadInt(u"RightSize", 100);
    p.PageNumSep = s.ReadText(u"PageNumSep");
    p.PageSuffix = s.ReadText(u"PageSuffix");
    p.PagePrefix = s.ReadText(u"PagePrefix");
    p.PrintGraphics = s.ReadYN(u"PrintGraphics", false);
    s.ReadOrdinal(u"Borders", pbNoborder, pbCustom, p.Borders);
    s.ReadOrdinal(u"BorderStyle", plat::psSolid, plat::psInsideFrame, p.BorderStyle);
    p.BorderColor = static_cast<TColor>(s.ReadInt(u"BorderColor", 0));
    p.Date = s.ReadPosition(u"Date");
    p.PageNr = s.ReadPosition(u"PageNr");
    p.Title = s.ReadPosition(u"Title");
    p.Time = s.ReadPosition(u"Time");
    s.ReadOrdinal(u"FitToPage", fpNever, fpCustom, p.FitToPage);
    s.ReadFont(u"Font", p.Font);
    s.ReadFont(u"HeaderFont", p.HeaderFont);
    s.ReadFont(u"FooterFont", p.FooterFont);
    UnescapeLines(s.ReadText(u"TitleLines"), p.TitleLines);
    s.ReadOrdinal(u"Orientation", plat::poPortrait, plat::poLandscape, p.Orientation);
    ini.UpdateFile();
}

} // namespace grid
