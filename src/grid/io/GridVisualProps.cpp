// The visual properties of TExtStringGrid as a text file of "name=value" lines.
#include <algorithm>
#include <map>
#include <span>

#include "BinStreamCodec.h"
#include "ExtGrid.h"
#include "ExtGridSettings.h"
#include "ExtGridSortSettings.h"
#include "GridTextIO.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

enum TKind { kColor, kBool, kInt, kFont, kEnum };

// One property's value in the form its kind needs: colours, integers and enumeration
// ordinals in Int, Booleans in Bool, a font as the grid's own object.
struct TValue {
    int Int = 0;
    bool Bool = false;
    plat::TFont* Font = nullptr;
};

using TGet = TValue (*)(TExtStringGrid&);
using TSet = void (*)(TExtStringGrid&, const TValue&);

struct TProp {
    const char16_t* Name;
    TKind Kind;
    TGet Get;
    TSet Set;  // none for fonts, which change in place
    std::span<const char16_t* const> Idents = {};  // value names of an enumeration, by ordinal
};

TValue I(int V) { return TValue{V, false, nullptr}; }
TValue B(bool V) { return TValue{0, V, nullptr}; }
TValue F(plat::TFont* V) { return TValue{0, false, V}; }

constexpr const char16_t* kControlStyles[] = {u"csClassic", u"csFlat",  u"csWinXP", u"csBorland",
                                              u"csZOD",     u"csGlyph", u"csTheme"};
constexpr const char16_t* kLooks[] = {u"glStandard", u"glSoft",  u"glClassic", u"glZOD",       u"glXP",
                                      u"glListView", u"glVista", u"glWin7",    u"glOffice2007"};
constexpr const char16_t* kDisplays[] = {u"bdTile", u"bdFixed", u"bdGradientHorz", u"bdGradientVert"};
constexpr const char16_t* kCells[] = {u"bcNormal", u"bcFixed", u"bcAll"};

// In the order of the file. "Look" comes after "ControlLook.ProgressXP" in the file and is
// applied there; the grid line colours are applied right after "SearchFooter.ColorTo".
const TProp kProps[] = {
    {u"Color", kColor, [](TExtStringGrid& g) { return I(g.Color()); }, [](TExtStringGrid& g, const TValue& v) { g.SetColor(v.Int); }},
    {u"HintColor", kColor, [](TExtStringGrid& g) { return I(g.HintColor); }, [](TExtStringGrid& g, const TValue& v) { g.HintColor = v.Int; }},
    {u"SelectionColor", kColor, [](TExtStringGrid& g) { return I(g.SelectionColor()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetSelectionColor(v.Int); }},
    {u"SelectionColorTo", kColor, [](TExtStringGrid& g) { return I(g.SelectionColorTo()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetSelectionColorTo(v.Int); }},
    {u"SelectionMirrorColor", kColor, [](TExtStringGrid& g) { return I(g.SelectionMirrorColor()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetSelectionMirrorColor(v.Int); }},
    {u"SelectionMirrorColorTo", kColor, [](TExtStringGrid& g) { return I(g.SelectionMirrorColorTo()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetSelectionMirrorColorTo(v.Int); }},
    {u"SelectionTextColor", kColor, [](TExtStringGrid& g) { return I(g.SelectionTextColor()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetSelectionTextColor(v.Int); }},
    {u"URLColor", kColor, [](TExtStringGrid& g) { return I(g.URLColor()); }, [](TExtStringGrid& g, const TValue& v) { g.SetURLColor(v.Int); }},
    {u"URLShow", kBool, [](TExtStringGrid& g) { return B(g.URLShow()); }, [](TExtStringGrid& g, const TValue& v) { g.SetURLShow(v.Bool); }},
    {u"URLShowInText", kBool, [](TExtStringGrid& g) { return B(g.URLShowInText); },
     [](TExtStringGrid& g, const TValue& v) { g.URLShowInText = v.Bool; }},
    {u"ScrollColor", kColor, [](TExtStringGrid& g) { return I(g.ScrollColor); }, [](TExtStringGrid& g, const TValue& v) { g.ScrollColor = v.Int; }},
    {u"ActiveRowColor", kColor, [](TExtStringGrid& g) { return I(g.ActiveRowColor()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetActiveRowColor(v.Int); }},
    {u"ActiveRowShow", kBool, [](TExtStringGrid& g) { return B(g.ActiveRowShow()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetActiveRowShow(v.Bool); }},
    {u"ActiveCellShow", kBool, [](TExtStringGrid& g) { return B(g.ActiveCellShow()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetActiveCellShow(v.Bool); }},
    {u"Font", kFont, [](TExtStringGrid& g) { return F(g.Font()); }, nullptr},
    {u"ActiveCellColor", kColor, [](TExtStringGrid& g) { return I(g.ActiveCellColor()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetActiveCellColor(v.Int); }},
    {u"ActiveCellColorTo", kColor, [](TExtStringGrid& g) { return I(g.ActiveCellColorTo()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetActiveCellColorTo(v.Int); }},
    {u"ActiveCellFont", kFont, [](TExtStringGrid& g) { return F(g.ActiveCellFont()); }, nullptr},
    {u"FixedFont", kFont, [](TExtStringGrid& g) { return F(g.FixedFont()); }, nullptr},
    {u"Balloon.BackgroundColor", kColor, [](TExtStringGrid& g) { return I(g.Balloon().BackgroundColor); },
     [](TExtStringGrid& g, const TValue& v) { g.Balloon().BackgroundColor = v.Int; }},
    {u"Balloon.TextColor", kColor, [](TExtStringGrid& g) { return I(g.Balloon().TextColor); },
     [](TExtStringGrid& g, const TValue& v) { g.Balloon().TextColor = v.Int; }},
    // A byte: values beyond 0..255 are held at its ends.
    {u"Balloon.Transparency", kInt, [](TExtStringGrid& g) { return I(g.Balloon().Transparency); },
     [](TExtStringGrid& g, const TValue& v) { g.Balloon().Transparency = static_cast<std::uint8_t>(std::clamp(v.Int, 0, 255)); }},
    {u"Bands.PrimaryColor", kColor, [](TExtStringGrid& g) { return I(g.Bands()->PrimaryColor()); },
     [](TExtStringGrid& g, const TValue& v) { g.Bands()->SetPrimaryColor(v.Int); }},
    {u"Bands.SecondaryColor", kColor, [](TExtStringGrid& g) { return I(g.Bands()->SecondaryColor()); },
     [](TExtStringGrid& g, const TValue& v) { g.Bands()->SetSecondaryColor(v.Int); }},
    {u"Bands.Active", kBool, [](TExtStringGrid& g) { return B(g.Bands()->Active()); },
     [](TExtStringGrid& g, const TValue& v) { g.Bands()->SetActive(v.Bool); }},
    {u"SortSettings.IndexColor", kColor, [](TExtStringGrid& g) { return I(g.SortSettings()->IndexColor); },
     [](TExtStringGrid& g, const TValue& v) { g.SortSettings()->IndexColor = v.Int; }},
    {u"FloatingFooter.Color", kColor, [](TExtStringGrid& g) { return I(g.FloatingFooter()->Color()); },
     [](TExtStringGrid& g, const TValue& v) { g.FloatingFooter()->SetColor(v.Int); }},
    {u"ControlLook.CheckSize", kInt, [](TExtStringGrid& g) { return I(g.ControlLook()->CheckSize); },
     [](TExtStringGrid& g, const TValue& v) { g.ControlLook()->CheckSize = v.Int; }},
    {u"ControlLook.Color", kColor, [](TExtStringGrid& g) { return I(g.ControlLook()->Color); },
     [](TExtStringGrid& g, const TValue& v) { g.ControlLook()->Color = v.Int; }},
    {u"ControlLook.CommentColor", kColor, [](TExtStringGrid& g) { return I(g.ControlLook()->CommentColor); },
     [](TExtStringGrid& g, const TValue& v) { g.ControlLook()->CommentColor = v.Int; }},
    {u"ControlLook.ControlStyle", kEnum, [](TExtStringGrid& g) { return I(g.ControlLook()->ControlStyle); },
     [](TExtStringGrid& g, const TValue& v) { g.ControlLook()->ControlStyle = static_cast<TControlStyle>(v.Int); }, kControlStyles},
    {u"ControlLook.FixedGradientFrom", kColor, [](TExtStringGrid& g) { return I(g.ControlLook()->FixedGradientFrom()); },
     [](TExtStringGrid& g, const TValue& v) { g.ControlLook()->SetFixedGradientFrom(v.Int); }},
    {u"ControlLook.FixedGradientTo", kColor, [](TExtStringGrid& g) { return I(g.ControlLook()->FixedGradientTo()); },
     [](TExtStringGrid& g, const TValue& v) { g.ControlLook()->SetFixedGradientTo(v.Int); }},
    {u"ControlLook.RadioSize", kInt, [](TExtStringGrid& g) { return I(g.ControlLook()->RadioSize); },
     [](TExtStringGrid& g, const TValue& v) { g.ControlLook()->RadioSize = v.Int; }},
    {u"ControlLook.FlatButton", kBool, [](TExtStringGrid& g) { return B(g.ControlLook()->FlatButton); },
     [](TExtStringGrid& g, const TValue& v) { g.ControlLook()->FlatButton = v.Bool; }},
    {u"ControlLook.ProgressBorderColor", kColor, [](TExtStringGrid& g) { return I(g.ControlLook()->ProgressBorderColor); },
     [](TExtStringGrid& g, const TValue& v) { g.ControlLook()->ProgressBorderColor = v.Int; }},
    {u"ControlLook.ProgressXP", kBool, [](TExtStringGrid& g) { return B(g.ControlLook()->ProgressXP); },
     [](TExtStringGrid& g, const TValue& v) { g.ControlLook()->ProgressXP = v.Bool; }},
    // glCustom has no name: it is written empty, and an empty text leaves the look as it is.
    {u"Look", kEnum, [](TExtStringGrid& g) { return I(g.Look()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetLook(static_cast<TGridLook>(v.Int)); }, kLooks},
    {u"SearchFooter.Color", kColor, [](TExtStringGrid& g) { return I(g.SearchFooter()->Color()); },
     [](TExtStringGrid& g, const TValue& v) { g.SearchFooter()->SetColor(v.Int); }},
    {u"SearchFooter.ColorTo", kColor, [](TExtStringGrid& g) { return I(g.SearchFooter()->ColorTo()); },
     [](TExtStringGrid& g, const TValue& v) { g.SearchFooter()->SetColorTo(v.Int); }},
    {u"Grouping.HeaderColor", kColor, [](TExtStringGrid& g) { return I(g.Grouping()->HeaderColor); },
     [](TExtStringGrid& g, const TValue& v) { g.Grouping()->HeaderColor = v.Int; }},
    {u"Grouping.HeaderColorTo", kColor, [](TExtStringGrid& g) { return I(g.Grouping()->HeaderColorTo); },
     [](TExtStringGrid& g, const TValue& v) { g.Grouping()->HeaderColorTo = v.Int; }},
    {u"Grouping.HeaderTextColor", kColor, [](TExtStringGrid& g) { return I(g.Grouping()->HeaderTextColor); },
     [](TExtStringGrid& g, const TValue& v) { g.Grouping()->HeaderTextColor = v.Int; }},
    {u"Grouping.HeaderUnderline", kBool, [](TExtStringGrid& g) { return B(g.Grouping()->HeaderUnderline); },
     [](TExtStringGrid& g, const TValue& v) { g.Grouping()->HeaderUnderline = v.Bool; }},
    {u"Grouping.HeaderLineColor", kColor, [](TExtStringGrid& g) { return I(g.Grouping()->HeaderLineColor); },
     [](TExtStringGrid& g, const TValue& v) { g.Grouping()->HeaderLineColor = v.Int; }},
    {u"Grouping.HeaderLineWidth", kInt, [](TExtStringGrid& g) { return I(g.Grouping()->HeaderLineWidth); },
     [](TExtStringGrid& g, const TValue& v) { g.Grouping()->HeaderLineWidth = v.Int; }},
    {u"Grouping.SummaryColor", kColor, [](TExtStringGrid& g) { return I(g.Grouping()->SummaryColor); },
     [](TExtStringGrid& g, const TValue& v) { g.Grouping()->SummaryColor = v.Int; }},
    {u"Grouping.SummaryColorTo", kColor, [](TExtStringGrid& g) { return I(g.Grouping()->SummaryColorTo); },
     [](TExtStringGrid& g, const TValue& v) { g.Grouping()->SummaryColorTo = v.Int; }},
    {u"Grouping.SummaryTextColor", kColor, [](TExtStringGrid& g) { return I(g.Grouping()->SummaryTextColor); },
     [](TExtStringGrid& g, const TValue& v) { g.Grouping()->SummaryTextColor = v.Int; }},
    {u"Grouping.SummaryLine", kBool, [](TExtStringGrid& g) { return B(g.Grouping()->SummaryLine); },
     [](TExtStringGrid& g, const TValue& v) { g.Grouping()->SummaryLine = v.Bool; }},
    {u"Grouping.SummaryLineColor", kColor, [](TExtStringGrid& g) { return I(g.Grouping()->SummaryLineColor); },
     [](TExtStringGrid& g, const TValue& v) { g.Grouping()->SummaryLineColor = v.Int; }},
    {u"Grouping.SummaryLineWidth", kInt, [](TExtStringGrid& g) { return I(g.Grouping()->SummaryLineWidth); },
     [](TExtStringGrid& g, const TValue& v) { g.Grouping()->SummaryLineWidth = v.Int; }},
    {u"GridLineColor", kColor, [](TExtStringGrid& g) { return I(g.GridLineColor()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetGridLineColor(v.Int); }},
    {u"GridFixedLineColor", kColor, [](TExtStringGrid& g) { return I(g.GridFixedLineColor()); },
     [](TExtStringGrid& g, const TValue& v) { g.SetGridFixedLineColor(v.Int); }},
    {u"BackGround.Top", kInt, [](TExtStringGrid& g) { return I(g.BackGround()->Top()); },
     [](TExtStringGrid& g, const TValue& v) { g.BackGround()->SetTop(v.Int); }},
    {u"BackGround.Left", kInt, [](TExtStringGrid& g) { return I(g.BackGround()->Left()); },
     [](TExtStringGrid& g, const TValue& v) { g.BackGround()->SetLeft(v.Int); }},
    {u"BackGround.Display", kEnum, [](TExtStringGrid& g) { return I(g.BackGround()->Display()); },
     [](TExtStringGrid& g, const TValue& v) { g.BackGround()->SetDisplay(static_cast<TBackGroundDisplay>(v.Int)); }, kDisplays},
    {u"BackGround.Cells", kEnum, [](TExtStringGrid& g) { return I(g.BackGround()->Cells()); },
     [](TExtStringGrid& g, const TValue& v) { g.BackGround()->SetCells(static_cast<TBackGroundCells>(v.Int)); }, kCells},
    {u"BackGround.Color", kColor, [](TExtStringGrid& g) { return I(g.BackGround()->Color()); },
     [](TExtStringGrid& g, const TValue& v) { g.BackGround()->SetColor(v.Int); }},
    {u"BackGround.ColorTo", kColor, [](TExtStringGrid& g) { return I(g.BackGround()->ColorTo()); },
     [](TExtStringGrid& g, const TValue& v) { g.BackGround()->SetColorTo(v.Int); }},
};

// The standard colour name, else "$" and eight hexadecimal digits.
String ColorText(TColor C) {
    if (const char* name = io::bin::ColorIdent(C)) return plat::Utf8ToString(name);
    return u"$" + plat::IntToHex(static_cast<std::uint32_t>(C), 8);
}

// A missing or empty text is "not set"; a standard colour name (any case) or a number, else
// the conversion error of a number.
TColor TextColor(const String* Text) {
    if (!Text || Text->empty()) return plat::clNone;
    TColor c = 0;
    if (io::bin::IdentToColor(plat::StringToUtf8(*Text), c, /*IgnoreCase=*/true)) return c;
    return plat::StrToInt(*Text);
}

const char16_t* const kStyleNames[] = {u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"};

String StyleText(plat::TFontStyles S) {
    String out;
    for (int i = 0; i < 4; ++i)
        if (S.Contains(static_cast<plat::TFontStyle>(i))) {
            if (!out.empty()) out += u',';
            out += kStyleNames[i];
        }
    return out;
}

} // namespace

void TExtStringGrid::SaveVisualProps(const String& FileName) {
    String text;
    auto line = [&](const String& Name, const String& Value) { text += Name + u"=" + Value + u"\r\n"; };
    for (const TProp& p : kProps) {
        const TValue v = p.Get(*this);
        switch (p.Kind) {
        case kColor:
            line(p.Name, ColorText(v.Int));
            break;
        case kBool:
            line(p.Name, v.Bool ? u"true" : u"false");
            break;
        case kInt:
            line(p.Name, plat::IntToStr(v.Int));
            break;
        case kEnum:
            line(p.Name, v.Int >= 0 && v.Int < static_cast<int>(p.Idents.size()) ? String(p.Idents[static_cast<std::size_t>(v.Int)])
                                                                                  : String());
            break;
        case kFont: {
            const String n = p.Name;
            line(n + u".Color", ColorText(v.Font->Color()));
            line(n + u".Style", StyleText(v.Font->Style()));
            line(n + u".Size", plat::IntToStr(v.Font->Size()));
            line(n + u".Name", v.Font->Name());
            break;
        }
        }
    }
    if (!plat::WriteFileAtomic(FileName, plat::StringToAnsi(text)))
        throw plat::EFileError(u"Cannot Create " + FileName);
}

void TExtStringGrid::LoadVisualProps(const String& FileName) {
    std::string bytes;
    if (!io::ReadGridFile(FileName, bytes)) throw plat::EFileError(u"Cannot open file " + FileName);
    // Names without regard to case; the first line of a name wins.
    std::map<String, String> values;
    io::TLineReader lines(bytes);
    String l;
    while (lines.Next(l)) {
        const std::size_t eq = l.find(u'=');
        if (eq == String::npos) continue;
        values.emplace(plat::UpperCase(l.substr(0, eq)), l.substr(eq + 1));
    }
    auto find = [&](const String& Name) -> const String* {
        const auto it = values.find(plat::UpperCase(Name));
        return it == values.end() ? nullptr : &it->second;
    };
    auto apply = [&](const TProp& p) {
        const String* t = find(p.Name);
        switch (p.Kind) {
        case kColor:
            p.Set(*this, I(TextColor(t)));
            break;
        case kBool:
            p.Set(*this, B(t && plat::UpperCase(*t) == u"TRUE"));
            break;
        case kInt:
            p.Set(*this, I(plat::StrToInt(t ? *t : String())));
            break;
        case kEnum:
            if (t)
                for (std::size_t i = 0; i < p.Idents.size(); ++i)
                    if (plat::SameText(*t, p.Idents[i])) {
                        p.Set(*this, I(static_cast<int>(i)));
                        break;
                    }
            break;
        case kFont: {
            plat::TFont* f = p.Get(*this).Font;
            const String n = p.Name;
            f->SetColor(TextColor(find(n + u".Color")));
            const String* style = find(n + u".Style");
            plat::TFontStyles s;
            for (int i = 0; i < 4; ++i)
                if (style && style->find(kStyleNames[i]) != String::npos) s += static_cast<plat::TFontStyle>(i);
            f->SetStyle(s);
            const String* size = find(n + u".Size");
            f->SetSize(plat::StrToInt(size ? *size : String()));
            const String* name = find(n + u".Name");
            f->SetName(name ? *name : String());
            break;
        }
        }
    };
    auto isGridLine = [](const TProp& p) { return p.Name == StringView(u"GridLineColor") || p.Name == StringView(u"GridFixedLineColor"); };
    for (const TProp& p : kProps) {
        if (isGridLine(p)) continue;
        apply(p);
        if (p.Name == StringView(u"SearchFooter.ColorTo"))
            for (const TProp& q : kProps)
                if (isGridLine(q)) apply(q);
    }
}

} // namespace grid
