// Column settings as text, one "[Column]" block per item.
#include <vector>

#include "ExtCGrid.h"
#include "ExtUtil.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

bool ReadInt(StringView v, int& Out) {
    int x = 0;
    if (!plat::TryStrToInt(v, x)) return false;
    Out = x;
    return true;
}

unsigned StyleBits(plat::TFontStyles s) {
    unsigned b = 0;
    for (int i = plat::fsBold; i <= plat::fsStrikeOut; ++i)
        if (s.Contains(static_cast<plat::TFontStyle>(i))) b |= 1u << i;
    return b;
}

plat::TFontStyles StylesOf(unsigned b) {
    plat::TFontStyles s;
    for (int i = plat::fsBold; i <= plat::fsStrikeOut; ++i)
        if (b & (1u << i)) s += static_cast<plat::TFontStyle>(i);
    return s;
}

String FontText(const plat::TFont& f) {
    plat::TStringList l;
    l.Add(f.Name());
    l.Add(plat::IntToStr(f.Height()));
    l.Add(plat::IntToStr(static_cast<int>(StyleBits(f.Style()))));
    l.Add(plat::IntToStr(static_cast<int>(f.Color())));
    return l.CommaText();
}

void ReadFont(StringView v, plat::TFont& f) {
    plat::TStringList l;
    l.SetCommaText(v);
    int h = 0, st = 0, col = 0;
    if (l.Count() != 4 || !ReadInt(l.Strings(1), h) || !ReadInt(l.Strings(2), st) || !ReadInt(l.Strings(3), col)) return;
    f.SetName(l.Strings(0));
    f.SetHeight(h);
    f.SetStyle(StylesOf(static_cast<unsigned>(st)));
    f.SetColor(static_cast<TColor>(col));
}

String PenText(const plat::TPen& p) {
    return plat::IntToStr(static_cast<int>(p.Color())) + u"," + plat::IntToStr(p.Width());
}

void ReadPen(StringView v, plat::TPen& p) {
    const size_t comma = v.find(u',');
    int c = 0, w = 0;
    if (comma == StringView::npos || !ReadInt(v.substr(0, comma), c) || !ReadInt(v.substr(comma + 1), w)) return;
    p.SetColor(static_cast<TColor>(c));
    p.SetWidth(w);
}

unsigned BorderBits(TCellBorders b) {
    unsigned r = 0;
    for (int i = cbTop; i <= cbBottom; ++i)
        if (b.Contains(static_cast<TCellBorder>(i))) r |= 1u << i;
    return r;
}

TCellBorders BordersOf(unsigned bits) {
    TCellBorders r;
    for (int i = cbTop; i <= cbBottom; ++i)
        if (bits & (1u << i)) r.Include(static_cast<TCellBorder>(i));
    return r;
}

} // namespace

// The items' fields are written and read directly: loading must not fire the setters'
// repaints and header writes for items that are not in the grid yet.
struct ColumnStreamer {
    struct Prop {
        const char16_t* Name;
        String (*Get)(TGridColumnItem&);
        void (*Set)(TGridColumnItem&, StringView);
    };

    template <class E>
    static void SetEnum(E& Field, StringView v, int Last) {
        int x = 0;
        if (ReadInt(v, x) && x >= 0 && x <= Last) Field = static_cast<E>(x);
    }
    static void SetBool(bool& Field, StringView v) {
        if (v == u"1") Field = true;
        else if (v == u"0") Field = false;
    }
    static String B(bool b) { return b ? u"1" : u"0"; }
    static String I(int i) { return plat::IntToStr(i); }

    static const std::vector<Prop>& Props() {
        using T = TGridColumnItem;
        static const std::vector<Prop> props = {
            {u"Width", [](T& c) { return I(c.FWidth); }, [](T& c, StringView v) { ReadInt(v, c.FWidth); }},
            {u"Alignment", [](T& c) { return I(c.FAlignment); },
             [](T& c, StringView v) { SetEnum(c.FAlignment, v, plat::taCenter); }},
            {u"Header", [](T& c) { return c.FColumnHeader; }, [](T& c, StringView v) { c.FColumnHeader = String(v); }},
            {u"SortStyle", [](T& c) { return I(c.SortStyle); },
             [](T& c, StringView v) { SetEnum(c.SortStyle, v, ssAlphaNumericNoCase); }},
            {u"SortPrefix", [](T& c) { return c.SortPrefix; }, [](T& c, StringView v) { c.SortPrefix = String(v); }},
            {u"SortSuffix", [](T& c) { return c.SortSuffix; }, [](T& c, StringView v) { c.SortSuffix = String(v); }},
            {u"EditMask", [](T& c) { return c.EditMask; }, [](T& c, StringView v) { c.EditMask = String(v); }},
            {u"EditLength", [](T& c) { return I(c.EditLength); }, [](T& c, StringView v) { ReadInt(v, c.EditLength); }},
            {u"Font", [](T& c) { return FontText(c.FFont); }, [](T& c, StringView v) { ReadFont(v, c.FFont); }},
            {u"Color", [](T& c) { return I(static_cast<int>(c.FColor)); },
             [](T& c, StringView v) { int x; if (ReadInt(v, x)) c.FColor = static_cast<TColor>(x); }},
            {u"Editor", [](T& c) { return I(c.FEditorType); },
             [](T& c, StringView v) { SetEnum(c.FEditorType, v, edMaskEditBtn); }},
            {u"Fixed", [](T& c) { return B(c.FFixed); }, [](T& c, StringView v) { SetBool(c.FFixed, v); }},
            {u"ReadOnly", [](T& c) { return B(c.ReadOnly); }, [](T& c, StringView v) { SetBool(c.ReadOnly, v); }},
            {u"ComboItems", [](T& c) { return c.FComboItems.CommaText(); },
             [](T& c, StringView v) { c.FComboItems.SetCommaText(v); }},
            {u"DropDownCount", [](T& c) { return I(c.DropDownCount); },
             [](T& c, StringView v) { ReadInt(v, c.DropDownCount); }},
            {u"SpinMin", [](T& c) { return I(c.SpinMin); }, [](T& c, StringView v) { ReadInt(v, c.SpinMin); }},
            {u"SpinMax", [](T& c) { return I(c.SpinMax); }, [](T& c, StringView v) { ReadInt(v, c.SpinMax); }},
            {u"SpinStep", [](T& c) { return I(c.SpinStep); }, [](T& c, StringView v) { ReadInt(v, c.SpinStep); }},
            {u"Password", [](T& c) { return B(c.FPassword); }, [](T& c, StringView v) { SetBool(c.FPassword, v); }},
            {u"PrintFont", [](T& c) { return FontText(c.FPrintFont); },
             [](T& c, StringView v) { ReadFont(v, c.FPrintFont); }},
            {u"PrintColor", [](T& c) { return I(static_cast<int>(c.PrintColor)); },
             [](T& c, StringView v) { int x; if (ReadInt(v, x)) c.PrintColor = static_cast<TColor>(x); }},
            {u"Borders", [](T& c) { return I(static_cast<int>(BorderBits(c.FBorders))); },
             [](T& c, StringView v) { int x; if (ReadInt(v, x)) c.FBorders = BordersOf(static_cast<unsigned>(x)); }},
            {u"BorderPen", [](T& c) { return PenText(c.FBorderPen); },
             [](T& c, StringView v) { ReadPen(v, c.FBorderPen); }},
            {u"PrintBorders", [](T& c) { return I(static_cast<int>(BorderBits(c.PrintBorders))); },
             [](T& c, StringView v) { int x; if (ReadInt(v, x)) c.PrintBorders = BordersOf(static_cast<unsigned>(x)); }},
            {u"PrintBorderPen", [](T& c) { return PenText(c.FPrintBorderPen); },
             [](T& c, StringView v) { ReadPen(v, c.FPrintBorderPen); }},
            {u"Tag", [](T& c) { return I(c.Tag); }, [](T& c, StringView v) { ReadInt(v, c.Tag); }},
            {u"Name", [](T& c) { return c.Name; }, [](T& c, StringView v) { c.Name = String(v); }},
            {u"CheckFalse", [](T& c) { return c.CheckFalse; }, [](T& c, StringView v) { c.CheckFalse = String(v); }},
            {u"CheckTrue", [](T& c) { return c.CheckTrue; }, [](T& c, StringView v) { c.CheckTrue = String(v); }},
            {u"ShowBands", [](T& c) { return B(c.FShowBands); }, [](T& c, StringView v) { SetBool(c.FShowBands, v); }},
            {u"Filter", [](T& c) { return c.FFilter.CommaText(); },
             [](T& c, StringView v) { c.FFilter.SetCommaText(v); }},
            {u"MaxSize", [](T& c) { return I(c.MaxSize); }, [](T& c, StringView v) { ReadInt(v, c.MaxSize); }},
            {u"MinSize", [](T& c) { return I(c.MinSize); }, [](T& c, StringView v) { ReadInt(v, c.MinSize); }},
            {u"AutoMinSize", [](T& c) { return I(c.AutoMinSize); }, [](T& c, StringView v) { ReadInt(v, c.AutoMinSize); }},
            {u"AutoMaxSize", [](T& c) { return I(c.AutoMaxSize); }, [](T& c, StringView v) { ReadInt(v, c.AutoMaxSize); }},
            {u"ColumnPopupType", [](T& c) { return I(c.ColumnPopupType); },
             [](T& c, StringView v) { SetEnum(c.ColumnPopupType, v, cpAllCellsLClick); }},
            {u"FilterCaseSensitive", [](T& c) { return B(c.FilterCaseSensitive); },
             [](T& c, StringView v) { SetBool(c.FilterCaseSensitive, v); }},
            {u"FloatFormat", [](T& c) { return c.FFloatFormat; }, [](T& c, StringView v) { c.FFloatFormat = String(v); }},
            {u"HeaderAlignment", [](T& c) { return I(c.FHeaderAlignment); },
             [](T& c, StringView v) { SetEnum(c.FHeaderAlignment, v, plat::taCenter); }},
            {u"HeaderFont", [](T& c) { return FontText(c.FHeaderFont); },
             [](T& c, StringView v) { ReadFont(v, c.FHeaderFont); }},
            {u"PrintBorderCustom", [](T& c) { return B(c.PrintBorderCustom); },
             [](T& c, StringView v) { SetBool(c.PrintBorderCustom, v); }},
            {u"PrintFontCustom", [](T& c) { return B(c.PrintFontCustom); },
             [](T& c, StringView v) { SetBool(c.PrintFontCustom, v); }},
        };
        return props;
    }
};

void TExtColumnGrid::SaveColumnsToStream(plat::TStrings& Stream) const {
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem& c = *FColumnCollection->Items(i);
        const int keep = c.FWidth;
        c.FWidth = c.Width();  // the grid's width of the column is the one that counts
        Stream.Add(u"[Column]");
        for (const auto& p : ColumnStreamer::Props()) Stream.Add(String(p.Name) + u"=" + EscapeCellText(p.Get(c)));
        c.FWidth = keep;
    }
}

void TExtColumnGrid::LoadColumnsFromStream(const plat::TStrings& Stream) {
    std::vector<std::unique_ptr<TGridColumnItem>> read;
    for (int i = 0; i < Stream.Count(); ++i) {
        const String line = Stream.Strings(i);
        if (line == u"[Column]") {
            read.push_back(std::make_unique<TGridColumnItem>(nullptr));
            continue;
        }
        const size_t eq = line.find(u'=');
        if (read.empty() || eq == String::npos) continue;
        const StringView name = StringView(line).substr(0, eq);
        for (const auto& p : ColumnStreamer::Props())
            if (name == p.Name) {
                p.Set(*read.back(), UnescapeCellText(StringView(line).substr(eq + 1)));
                break;
            }
    }
    if (read.empty()) return;
    {
        TSuppress s(FColumnCollection.get());
        FColumnCollection->BeginUpdate();
        FColumnCollection->Clear();
        for (auto& r : read) {
            auto* item = static_cast<TGridColumnItem*>(FColumnCollection->plat::TCollection::Add());
            item->Assign(r.get());
            // Settings an item Assign leaves alone still belong to the stored column.
            item->FWidth = r->FWidth;
            item->ColumnPopupType = r->ColumnPopupType;
            item->PrintBorderCustom = r->PrintBorderCustom;
            item->PrintFontCustom = r->PrintFontCustom;
        }
        FColumnCollection->EndUpdate();
        // The column count follows the items read (at least the fixed columns stay).
        const int n = FColumnCollection->Count() - NumHiddenColumns();
        if (n > FixedCols() && n != ColCount()) SetColCount(n);
        SyncColumnCount();
    }
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        SetAllColWidths(i, FColumnCollection->Items(i)->FWidth);
    SyncColumnHeaders();
    Invalidate();
}

} // namespace grid
