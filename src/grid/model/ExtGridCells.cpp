// Cell access API of TExtStringGrid: addressing forms, typed values, per-cell and per-row
// properties, cell controls, header lists, highlight and mark tags, fills, repainting,
// navigation, row and column selection, modified and enabled rows and the column order.
#include <algorithm>
#include <cstdlib>
#include <random>

#include "EsgHTMLE.h"
#include "ExtGrid.h"
#include "ExtUtil.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

String Trimmed(const String& s) { return plat::Trim(s); }

bool ParseWholeNumber(const String& t, int& v) {
    if (t.empty() || t == u"-") {
        v = 0;
        return true;
    }
    return plat::TryStrToInt(t, v);
}

} // namespace

// ---- addressing forms ----------------------------------------------------------------------

String TExtStringGrid::GetCellsEx(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return String();
    if (const int i = FGridItems.Find(ARow); i >= 0) {
        String v(FGridItems.Item(i).Text(ACol));
        DoGetDisplText(ACol, ARow, v);
        return v;
    }
    return GetCellEx(ACol, DisplRowIndex(ARow));
}

void TExtStringGrid::SetCellsEx(int ACol, int ARow, const String& Value) {
    if (ACol < 0 || ARow < 0) return;
    if (const int i = FGridItems.Find(ARow); i >= 0) {
        FGridItems.Item(i).SetText(ACol, Value);
        return;
    }
    const int r = DisplRowIndex(ARow);
    SetCellEx(ACol, r, Value);
    if (DisplColIndex(ACol) != ACol) RepaintCell(DisplColIndex(ACol), r);
}

String TExtStringGrid::GetGridCellsEx(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return String();
    if (const int i = FGridItems.Find(ARow); i >= 0) return String(FGridItems.Item(i).Text(ACol));
    return GetGridCell(ACol, DisplRowIndex(ARow));
}

void TExtStringGrid::SetGridCellsEx(int ACol, int ARow, const String& Value) {
    if (ACol < 0 || ARow < 0) return;
    if (const int i = FGridItems.Find(ARow); i >= 0) {
        // Only a cell the hidden row already stores is written.
        TGridItem& item = FGridItems.Item(i);
        if (!item.Text(ACol).empty() || item.Object(ACol)) item.SetText(ACol, Value);
        return;
    }
    SetGridCell(ACol, DisplRowIndex(ARow), Value);
}

plat::TObject* TExtStringGrid::GetAllGridObject(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return nullptr;
    if (const int i = FGridItems.Find(ARow); i >= 0) return FGridItems.Item(i).Object(ACol);
    return GetGridObject(ACol, DisplRowIndex(ARow));
}

plat::TObject* TExtStringGrid::GetObjectsEx(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return nullptr;
    if (const int i = FGridItems.Find(ARow); i >= 0) {
        auto* p = dynamic_cast<TCellProperties*>(FGridItems.Item(i).Object(ACol));
        return p ? reinterpret_cast<plat::TObject*>(p->CellObject) : nullptr;
    }
    return GetObjectEx(ACol, DisplRowIndex(ARow));
}

void TExtStringGrid::SetObjectsEx(int ACol, int ARow, plat::TObject* Value) {
    if (ACol < 0 || ARow < 0) return;
    if (const int i = FGridItems.Find(ARow); i >= 0) {
        // The stored object of a hidden cell is its properties, made here when it has none.
        TGridItem& item = FGridItems.Item(i);
        auto* p = dynamic_cast<TCellProperties*>(item.Object(ACol));
        if (!p) {
            p = new TCellProperties(this, ACol, ARow);
            item.SetObject(ACol, p);
        }
        p->CellObject = reinterpret_cast<std::uintptr_t>(Value);
        return;
    }
    SetObjectEx(ACol, DisplRowIndex(ARow), Value);
}

String TExtStringGrid::GetOriginalCells(int ACol, int ARow) {
    const int p = ColumnPosition(ACol);
    return GetCellEx(p == -1 ? ACol : p, ARow);
}

void TExtStringGrid::SetOriginalCells(int ACol, int ARow, const String& Value) {
    const int p = ColumnPosition(ACol);
    SetCellEx(p == -1 ? ACol : p, ARow, Value);
}

int TExtStringGrid::SortedRowIndex(int ARow) {
    int r = ARow;
    if (ARow >= 0 && ARow < FSortRowXRef->Count()) r = FSortRowXRef->GetInteger(ARow);
    return RealRowIndex(r);
}

int TExtStringGrid::UnSortedRowIndex(int ARow) {
    const int n = FSortRowXRef->Count();
    if (n == 0) return ARow;
    for (int i = 0; i < n; ++i)
        if (FSortRowXRef->GetInteger(i) == ARow) return i;
    return n;
}

String TExtStringGrid::GetUnSortedCell(int ACol, int ARow) {
    const int r = FSortRowXRef->Count() >= ARow && FSortRowXRef->Count() > 0 ? UnSortedRowIndex(ARow) : ARow;
    return GetCellEx(ACol, r);
}

void TExtStringGrid::SetUnSortedCell(int ACol, int ARow, const String& Value) {
    const int r = FSortRowXRef->Count() >= ARow && FSortRowXRef->Count() > 0 ? UnSortedRowIndex(ARow) : ARow;
    SetCellEx(ACol, r, Value);
}

String TExtStringGrid::GetStrippedCell(int ACol, int ARow) { return MarkupToPlainText(GetCellEx(ACol, ARow)); }

String TExtStringGrid::GetCtrlVal(int ACol, int ARow, const String& ID) {
    String v;
    return GetMarkupControlValue(GetCellEx(ACol, ARow), ID, v) ? v : String();
}

void TExtStringGrid::SetCtrlVal(int ACol, int ARow, const String& ID, const String& Value) {
    const String before = GetCellEx(ACol, ARow);
    String t = before;
    if (SetMarkupControlValue(t, ID, Value) && t != before) SetCellEx(ACol, ARow, t);
}

int TExtStringGrid::LinesInCell(int ACol, int ARow) { return LineCount(GetCellEx(ACol, ARow), MultilineCells); }

// ---- typed values ------------------------------------------------------------------------------

int TExtStringGrid::Ints(int ACol, int ARow) {
    int v = 0;
    if (!ParseWholeNumber(Trimmed(GetStrippedCell(ACol, ARow)), v))
        throw EExtGridError(u"Cell does not contain integer value");
    return v;
}

void TExtStringGrid::SetInts(int ACol, int ARow, int Value) {
    SetCellEx(ACol, ARow, plat::IntToStr(Value));
    if (NumHiddenColumns() > 0) RepaintCell(DisplColIndex(ACol), ARow);
}

int TExtStringGrid::AllInts(int ACol, int ARow) {
    int v = 0;
    if (!ParseWholeNumber(Trimmed(GetCellsEx(ACol, ARow)), v))
        throw EExtGridError(u"Cell does not contain integer value");
    return v;
}

void TExtStringGrid::SetAllInts(int ACol, int ARow, int Value) { SetCellsEx(ACol, ARow, plat::IntToStr(Value)); }

namespace {
double ParseFloatCell(const String& text) {
    const String t = ExtractNumericText(text);
    if (t.empty() || t == u"-") return 0;
    double v = 0;
    if (!plat::TryStrToFloat(t, v)) throw EExtGridError(u"Cell does not contain a float value");
    return v;
}

String FormatWith(const String& fmt, double value) { return plat::Format(fmt, {value}); }
} // namespace

double TExtStringGrid::Floats(int ACol, int ARow) { return ParseFloatCell(GetStrippedCell(ACol, ARow)); }

void TExtStringGrid::SetFloats(int ACol, int ARow, double Value) {
    SetCellEx(ACol, ARow, FormatWith(GetFloatFormat(ACol), Value));
}

double TExtStringGrid::AllFloats(int ACol, int ARow) { return ParseFloatCell(GetCellsEx(ACol, ARow)); }

void TExtStringGrid::SetAllFloats(int ACol, int ARow, double Value) {
    SetCellsEx(ACol, ARow, FormatWith(FloatFormat, Value));
}

plat::TDateTime TExtStringGrid::Dates(int ACol, int ARow) {
    const String t = GetCellEx(ACol, ARow);
    plat::TDateTime d = 0;
    if (!TextToDateByFormat(t, d)) throw plat::EConvertError(u"'" + t + u"' is not a valid date");
    return d;
}

void TExtStringGrid::SetDates(int ACol, int ARow, plat::TDateTime Value) {
    SetCellEx(ACol, ARow, Value > 0 || ShowNullDates ? plat::DateToStr(Value) : String());
}

plat::TDateTime TExtStringGrid::Times(int ACol, int ARow) {
    const String t = Trimmed(GetCellEx(ACol, ARow));
    // hours, minutes and optional seconds separated by the locale's time separator
    int parts[3] = {0, 0, 0};
    int n = 0;
    std::size_t i = 0;
    bool ok = !t.empty();
    while (ok && i < t.size() && n < 3) {
        std::size_t j = i;
        while (j < t.size() && t[j] >= u'0' && t[j] <= u'9') ++j;
        if (j == i || j - i > 2) {
            ok = false;
            break;
        }
        parts[n++] = plat::StrToIntDef(t.substr(i, j - i), 0);
        if (j == t.size()) {
            i = j;
            break;
        }
        if (t[j] != plat::FormatSettings.TimeSeparator) ok = false;
        i = j + 1;
    }
    plat::TDateTime v = 0;
    if (!ok || n < 2 || i != t.size() || !plat::TryEncodeTime(parts[0], parts[1], parts[2], 0, v))
        throw plat::EConvertError(u"'" + t + u"' is not a valid time");
    return v;
}

void TExtStringGrid::SetTimes(int ACol, int ARow, plat::TDateTime Value) {
    SetCellEx(ACol, ARow, plat::TimeToStr(Value));
}

int TExtStringGrid::PrintColWidth(int ACol) const {
    if (ACol < 0 || ACol > 511) throw EExtGridError(u"Columns is not in valid range");
    return MaxWidths[ACol];
}

int TExtStringGrid::PrintColOffset(int ACol) const {
    if (ACol < 0 || ACol > 511) throw EExtGridError(u"Columns is not in valid range");
    return Indents[ACol];
}

// ---- per-cell properties ------------------------------------------------------------------

TColor TExtStringGrid::Colors(int ACol, int ARow) {
    auto* p = Map().Props(ACol, ARow);
    return p ? p->BrushColor() : plat::clNone;
}

void TExtStringGrid::SetColors(int ACol, int ARow, TColor Value) {
    GetCellProperties(ACol, ARow)->SetBrushColor(Value);
    if (UpdateCount() == 0) RepaintCell(DisplColIndex(ACol), ARow);
}

TColor TExtStringGrid::ColorsTo(int ACol, int ARow) {
    auto* p = Map().Props(ACol, ARow);
    return p ? p->BrushColorTo() : plat::clNone;
}

void TExtStringGrid::SetColorsTo(int ACol, int ARow, TColor Value) {
    GetCellProperties(ACol, ARow)->SetBrushColorTo(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

TCellGradientDirection TExtStringGrid::Gradients(int ACol, int ARow) {
    auto* p = Map().Props(ACol, ARow);
    return p ? p->GradientDirection : GradientVertical;
}

void TExtStringGrid::SetGradients(int ACol, int ARow, TCellGradientDirection Value) {
    GetCellProperties(ACol, ARow)->GradientDirection = Value;
    RepaintCell(DisplColIndex(ACol), ARow);
}

bool TExtStringGrid::ReadOnly(int ACol, int ARow) {
    auto* p = Map().Props(ACol, ARow);
    return p && p->ReadOnly;
}

void TExtStringGrid::SetReadOnly(int ACol, int ARow, bool Value) {
    GetCellProperties(ACol, ARow)->ReadOnly = Value;
    RepaintCell(DisplColIndex(ACol), ARow);
}

bool TExtStringGrid::WordWraps(int ACol, int ARow) { return GetCellProperties(ACol, ARow)->WordWrap(); }

void TExtStringGrid::SetWordWraps(int ACol, int ARow, bool Value) {
    GetCellProperties(ACol, ARow)->SetWordWrap(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

TColor TExtStringGrid::FontColors(int ACol, int ARow) {
    auto* p = Map().Props(ACol, ARow);
    return p ? p->FontColor : plat::clNone;
}

void TExtStringGrid::SetFontColors(int ACol, int ARow, TColor Value) {
    GetCellProperties(ACol, ARow)->FontColor = Value;
    RepaintCell(DisplColIndex(ACol), ARow);
}

plat::TFontStyles TExtStringGrid::FontStyles(int ACol, int ARow) {
    auto* p = Map().Props(ACol, ARow);
    return p ? p->FontStyle : plat::TFontStyles{};
}

void TExtStringGrid::SetFontStyles(int ACol, int ARow, plat::TFontStyles Value) {
    GetCellProperties(ACol, ARow)->FontStyle = Value;
    RepaintCell(DisplColIndex(ACol), ARow);
}

String TExtStringGrid::FontNames(int ACol, int ARow) {
    auto* p = Map().Props(ACol, ARow);
    return p ? p->FontName : String();
}

void TExtStringGrid::SetFontNames(int ACol, int ARow, const String& Value) {
    GetCellProperties(ACol, ARow)->FontName = Value;
    RepaintCell(DisplColIndex(ACol), ARow);
}

int TExtStringGrid::FontSizes(int ACol, int ARow) {
    auto* p = Map().Props(ACol, ARow);
    return p ? p->FontSize : 0;
}

void TExtStringGrid::SetFontSizes(int ACol, int ARow, int Value) {
    GetCellProperties(ACol, ARow)->FontSize = Value;
    RepaintCell(DisplColIndex(ACol), ARow);
}

plat::TAlignment TExtStringGrid::Alignments(int ACol, int ARow) {
    auto* p = Map().Props(ACol, ARow);
    return p ? p->Alignment : plat::taLeftJustify;
}

void TExtStringGrid::SetAlignments(int ACol, int ARow, plat::TAlignment Value) {
    GetCellProperties(ACol, ARow)->Alignment = Value;
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::SetFonts(int ACol, int ARow, const plat::TFont& Value) {
    TCellProperties* p = GetCellProperties(ACol, ARow);
    p->FontName = Value.Name();
    p->FontSize = Value.Size();
    p->FontStyle = Value.Style();
    p->FontColor = Value.Color();
    if (UpdateCount() == 0) RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::SetRowColor(int ARow, TColor Value) {
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (Value == plat::clNone) {
            if (auto* p = Map().Props(c, ARow)) p->SetBrushColor(plat::clNone);
        } else {
            GetCellProperties(c, ARow)->SetBrushColor(Value);
        }
    }
    RepaintRow(ARow);
}

void TExtStringGrid::SetRowColorTo(int ARow, TColor Value) {
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (Value == plat::clNone) {
            if (auto* p = Map().Props(c, ARow)) p->SetBrushColorTo(plat::clNone);
        } else {
            GetCellProperties(c, ARow)->SetBrushColorTo(Value);
        }
    }
    RepaintRow(ARow);
}

void TExtStringGrid::SetRowFontColor(int ARow, TColor Value) {
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (Value == plat::clNone) {
            if (auto* p = Map().Props(c, ARow)) p->FontColor = plat::clNone;
        } else {
            GetCellProperties(c, ARow)->FontColor = Value;
        }
    }
    RepaintRow(ARow);
}

plat::TControl* TExtStringGrid::GetCellControls(int ACol, int ARow) {
    auto* p = Map().Props(ACol, ARow);
    return p ? p->Control : nullptr;
}

void TExtStringGrid::SetCellControls(int ACol, int ARow, plat::TControl* AControl) {
    const int real = RealRowIndex(ARow);
    const int idx = FControlList->ControlIndex(ACol, real);
    const bool had = GetCellControls(ACol, ARow) != nullptr;
    if (!AControl) {
        if (had) {
            if (idx >= 0) FControlList->RemoveControl(idx);
            --FNumCellControls;
        }
        if (auto* p = Map().Props(ACol, ARow)) p->Control = nullptr;
        return;
    }
    if (idx >= 0) FControlList->RemoveControl(idx);
    if (!had) ++FNumCellControls;
    FControlList->AddControl(ACol, real, AControl);
    GetCellProperties(ACol, ARow)->Control = AControl;
    AControl->SetParent(this);
    const plat::TRect r = CellRect(DisplColIndex(ACol), ARow);
    AControl->SetBounds(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
}

// ---- header lists ----------------------------------------------------------------------------

void TExtStringGrid::SetColumnHeaders(const plat::TStrings& Value) {
    FColumnHeaders->Assign(&Value);
    if (FixedRows() > 0) ClearColumnHeaders();
    ShowColumnHeaders();
}

void TExtStringGrid::ClearColumnHeaders() {
    for (int c = 0; c < ColCount(); ++c) SetCellEx(c, 0, String());
}

void TExtStringGrid::ShowColumnHeaders() {
    if (FixedRows() == 0) return;
    for (int i = 0; i < FColumnHeaders->Count() && i < TotalColCount(); ++i)
        SetCellEx(i, 0, EscapedNewlineToLineBreak(FColumnHeaders->Strings(i)));
}

void TExtStringGrid::SetRowHeaders(const plat::TStrings& Value) {
    FRowHeaders->Assign(&Value);
    if (IsDesigning() && FixedCols() > 0) ClearRowHeaders();
    ShowRowHeaders();
}

void TExtStringGrid::ClearRowHeaders() {
    for (int r = 0; r < RowCount(); ++r) SetCellEx(0, r, String());
}

void TExtStringGrid::ShowRowHeaders() {
    if (FixedCols() == 0) return;
    for (int i = 0; i < FRowHeaders->Count() && i < RowCount(); ++i)
        SetCellEx(0, i, EscapedNewlineToLineBreak(FRowHeaders->Strings(i)));
}

// ---- highlight and mark tags --------------------------------------------------------------------

String TExtStringGrid::HilightText(bool DoCase, const String& S, const String& Text) {
    return HighlightMarkupText(S, Text, u"hi", DoCase);
}
String TExtStringGrid::MarkText(bool DoCase, const String& S, const String& Text) {
    return HighlightMarkupText(S, Text, u"e", DoCase);
}
String TExtStringGrid::UnHilightText(const String& S) { return RemoveMarkupTag(S, u"hi"); }
String TExtStringGrid::UnMarkText(const String& S) { return RemoveMarkupTag(S, u"e"); }

void TExtStringGrid::TagRange(int FromCol, int ToCol, int FromRow, int ToRow,
                              const std::function<String(const String&)>& f) {
    for (int r = std::max(FromRow, 0); r <= ToRow; ++r)
        for (int c = std::max(FromCol, 0); c <= ToCol; ++c) {
            if (!IsBaseCell(c, r)) continue;
            const String t = OnGetDisplText ? GetCellEx(c, r) : GetGridCell(c, r);
            SetCellEx(c, r, f(t));
        }
}

namespace {
std::function<String(const String&)> AddTag(const String& Text, const String& Tag, bool DoCase) {
    return [=](const String& t) {
        return HighlightMarkupText(EscapeMarkupText(t, false), EscapeMarkupText(Text, false), Tag, DoCase);
    };
}
std::function<String(const String&)> DropTag(const String& Tag) {
    return [=](const String& t) { return RemoveMarkupTag(UnescapeMarkupText(t, false), Tag); };
}
} // namespace

void TExtStringGrid::HilightInCell(int ACol, int ARow, const String& Text, bool DoCase) {
    TagRange(ACol, ACol, ARow, ARow, AddTag(Text, u"hi", DoCase));
}
void TExtStringGrid::MarkInCell(int ACol, int ARow, const String& Text, bool DoCase) {
    TagRange(ACol, ACol, ARow, ARow, AddTag(Text, u"e", DoCase));
}
void TExtStringGrid::UnHilightInCell(int ACol, int ARow) { TagRange(ACol, ACol, ARow, ARow, DropTag(u"hi")); }
void TExtStringGrid::UnMarkInCell(int ACol, int ARow) { TagRange(ACol, ACol, ARow, ARow, DropTag(u"e")); }

void TExtStringGrid::HilightInCol(bool DoFixed, bool DoCase, int ACol, const String& Text) {
    TagRange(ACol, ACol, DoFixed ? 0 : FixedRows(), DoFixed ? RowCount() - 1 : NormalLastRow(),
             AddTag(Text, u"hi", DoCase));
}
void TExtStringGrid::MarkInCol(bool DoFixed, bool DoCase, int ACol, const String& Text) {
    TagRange(ACol, ACol, DoFixed ? 0 : FixedRows(), DoFixed ? RowCount() - 1 : NormalLastRow(),
             AddTag(Text, u"e", DoCase));
}
void TExtStringGrid::UnHilightInCol(bool DoFixed, int ACol) {
    TagRange(ACol, ACol, DoFixed ? 0 : FixedRows(), DoFixed ? RowCount() - 1 : NormalLastRow(), DropTag(u"hi"));
}
void TExtStringGrid::UnMarkInCol(bool DoFixed, int ACol) {
    TagRange(ACol, ACol, DoFixed ? 0 : FixedRows(), DoFixed ? RowCount() - 1 : NormalLastRow(), DropTag(u"e"));
}

void TExtStringGrid::HilightInRow(bool DoFixed, bool DoCase, int ARow, const String& Text) {
    TagRange(DoFixed ? 0 : FixedCols(), DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols - 1, ARow, ARow,
             AddTag(Text, u"hi", DoCase));
}
void TExtStringGrid::MarkInRow(bool DoFixed, bool DoCase, int ARow, const String& Text) {
    TagRange(DoFixed ? 0 : FixedCols(), DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols - 1, ARow, ARow,
             AddTag(Text, u"e", DoCase));
}
void TExtStringGrid::UnHilightInRow(bool DoFixed, int ARow) {
    const int h = NumHiddenColumns();
    TagRange(DoFixed ? 0 : FixedCols(), (DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols - 1) + h, ARow,
             ARow, DropTag(u"hi"));
}
void TExtStringGrid::UnMarkInRow(bool DoFixed, int ARow) {
    const int h = NumHiddenColumns();
    TagRange(DoFixed ? 0 : FixedCols(), (DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols - 1) + h, ARow,
             ARow, DropTag(u"e"));
}

void TExtStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const String& Text) {
    TagRange(DoFixed ? 0 : FixedCols(), DoFixed ? ColCount() - 1 : AllColCount() - FixedRightCols - 1,
             DoFixed ? 0 : FixedRows(), DoFixed ? RowCount() - 1 : NormalLastRow(), AddTag(Text, u"hi", DoCase));
}
void TExtStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const String& Text) {
    TagRange(DoFixed ? 0 : FixedCols(), DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols - 1,
             DoFixed ? 0 : FixedRows(), DoFixed ? RowCount() - 1 : NormalLastRow(), AddTag(Text, u"e", DoCase));
}
void TExtStringGrid::UnHilightInGrid(bool DoFixed) {
    TagRange(DoFixed ? 0 : FixedCols(), DoFixed ? AllColCount() - 1 : AllColCount() - FixedRightCols - 1,
             DoFixed ? 0 : FixedRows(), DoFixed ? RowCount() - 1 : NormalLastRow(), DropTag(u"hi"));
}
void TExtStringGrid::UnMarkInGrid(bool DoFixed) {
    TagRange(DoFixed ? 0 : FixedCols(), DoFixed ? AllColCount() - 1 : AllColCount() - FixedRightCols - 1,
             DoFixed ? 0 : FixedRows(), DoFixed ? RowCount() - 1 : NormalLastRow(), DropTag(u"e"));
}

// ---- fills ------------------------------------------------------------------------------------

void TExtStringGrid::ForFillCells(bool DoFixed, const std::function<void(int, int)>& f) {
    const int r0 = DoFixed ? 0 : FixedRows(), r1 = DoFixed ? RowCount() - 1 : NormalLastRow();
    const int c0 = DoFixed ? 0 : FixedCols(), c1 = DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols - 1;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) f(c, r);
}

void TExtStringGrid::TextFill(bool DoFixed, const String& Text) {
    ForFillCells(DoFixed, [&](int c, int r) { SetCellEx(c, r, Text); });
}

void TExtStringGrid::FormatFill(bool DoFixed, const String& Fmt) {
    ForFillCells(DoFixed, [&](int c, int r) { SetCellEx(c, r, plat::Format(Fmt, {c, r})); });
}

void TExtStringGrid::RandomFill(bool DoFixed, int Max) {
    static std::minstd_rand rng(std::random_device{}());
    ForFillCells(DoFixed, [&](int c, int r) { SetInts(c, r, Max > 0 ? static_cast<int>(rng() % Max) : 0); });
}

void TExtStringGrid::LinearFill(bool DoFixed) {
    ForFillCells(DoFixed, [&](int c, int r) { SetCellEx(c, r, plat::IntToStr(c) + u":" + plat::IntToStr(r)); });
}

// ---- repainting and navigation ---------------------------------------------------------------

void TExtStringGrid::RepaintRect(const plat::TRect& R) {
    if (R.Left < 0 || R.Top < 0 || R.Right < 0 || R.Bottom < 0) return;
    const plat::TRect a = CellRect(R.Left, R.Top);
    const plat::TRect b = CellRect(std::min(FixedCols() + VisibleColCount(), R.Right), R.Bottom);
    if (a.Right <= a.Left || b.Right <= b.Left || a.Bottom <= a.Top || b.Bottom <= b.Top) {
        Invalidate();
        return;
    }
    const plat::TRect u{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                        std::max(a.Bottom, b.Bottom)};
    InvalidateRect(&u, true);
}

void TExtStringGrid::RepaintRow(int ARow) {
    const plat::TRect a = CellRect(0, ARow);
    const plat::TRect b = CellRect(LeftCol() + VisibleColCount(), ARow);
    const plat::TRect u{a.Left, a.Top, std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
    InvalidateRect(&u, false);
}

void TExtStringGrid::RepaintCol(int ACol) {
    const plat::TRect a = CellRect(ACol, TopRow());
    const plat::TRect b = CellRect(ACol, TopRow() + VisibleRowCount());
    const plat::TRect u{a.Left, a.Top, std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
    InvalidateRect(&u, false);
}

void TExtStringGrid::SwapCells(TPoint FromCell, TPoint ToCell) {
    const String t = GetGridCell(FromCell.X, FromCell.Y);
    plat::TObject* o = GetGridObject(FromCell.X, FromCell.Y);
    const String t2 = GetGridCell(ToCell.X, ToCell.Y);
    plat::TObject* o2 = GetGridObject(ToCell.X, ToCell.Y);
    SetGridObject(FromCell.X, FromCell.Y, nullptr);
    SetGridObject(ToCell.X, ToCell.Y, nullptr);
    SetGridCell(FromCell.X, FromCell.Y, t2);
    SetGridCell(ToCell.X, ToCell.Y, t);
    SetGridObject(FromCell.X, FromCell.Y, o2);
    SetGridObject(ToCell.X, ToCell.Y, o);
}

void TExtStringGrid::MoveToCell(int ACol, int ARow) { MoveColRow(ACol, ARow, true, true); }

void TExtStringGrid::GotoCell(int ACol, int ARow) {
    SetRow(ARow);
    SetCol(ACol);
}

void TExtStringGrid::FocusCell(int ACol, int ARow) { SetSelection({ACol, ARow, ACol, ARow}); }

String TExtStringGrid::GetCurrentCell() {
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    return GetGridCell(b.X, b.Y);
}

void TExtStringGrid::SetCurrentCell(const String& Value) {
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    SetCellEx(b.X, b.Y, Value);
}

String TExtStringGrid::GetCurrentCellText() {
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    return GetCellEx(b.X, b.Y);
}

void TExtStringGrid::SetCurrentEditText(const String& Value) {
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    if (IsBaseCell(RealColIndex(Col()), Row()))
        SetEditText(Col(), Row(), Value);
    else
        SetEditText(b.X, b.Y, Value);
}

// ---- row and column selection -------------------------------------------------------------

bool TExtStringGrid::GetRowSelect(int ARow) {
    if (!FMouseActions->RowSelectPersistent && (ARow < 0 || ARow >= RowCount() + NumHiddenRows()))
        throw EExtGridError(u"Invalid row " + plat::IntToStr(ARow) + u" accessed");
    if (FMouseActions->DisjunctRowSelect()) {
        if (ARow < 0) return false;
        if (static_cast<int>(FRowSelect.size()) <= ARow) FRowSelect.resize(static_cast<std::size_t>(ARow) + 1);
        return FRowSelect[static_cast<std::size_t>(ARow)];
    }
    const plat::TGridRect s = Selection();
    return ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TExtStringGrid::SetRowSelect(int ARow, bool Value) {
    if (ARow < 0 || (ARow >= RowCount() + NumHiddenRows() && RowCount() > FixedRows()))
        throw EExtGridError(u"Invalid row accessed");
    const auto at = static_cast<std::size_t>(ARow);
    if (OnRowDisjunctSelect && (at >= FRowSelect.size() || FRowSelect[at] != Value)) {
        bool allow = true;
        OnRowDisjunctSelect(this, ARow, Value, allow);
        if (!allow) return;
    }
    if (FRowSelect.size() <= at) FRowSelect.resize(at + 1);
    if (Value) {
        if (!FRowSelect[at]) RepaintRow(ARow);
        FRowSelect[at] = true;
        if (!FSelectedRows->HasValue(ARow) && ARow >= FixedRows()) FSelectedRows->Add(ARow);
    } else {
        if (FRowSelect[at]) RepaintRow(ARow);
        FRowSelect[at] = false;
        FSelectedRows->DeleteValue(ARow);
    }
    if (OnRowDisjunctSelected) OnRowDisjunctSelected(this, ARow);
}

int TExtStringGrid::RowSelectCount() {
    if (FMouseActions->DisjunctRowSelect()) {
        const std::size_t n = std::min(FRowSelect.size(), static_cast<std::size_t>(RowCount() + NumHiddenRows()));
        return static_cast<int>(std::count(FRowSelect.begin(), FRowSelect.begin() + static_cast<long>(n), true));
    }
    const plat::TGridRect s = Selection();
    return std::abs(s.Bottom - s.Top) + 1;
}

void TExtStringGrid::SelectRows(int RowIndex, int RCount) {
    if (RowIndex + RCount > RowCount()) RCount = RowCount() - RowIndex;
    if (!FMouseActions->DisjunctRowSelect()) {
        SetSelection({FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1});
    } else {
        for (int i = 0; i < RCount; ++i) {
            const int r = FMouseActions->RowSelectPersistent ? RealRowIndex(RowIndex + i) : RowIndex + i;
            if (r < RowCount()) SetRowSelect(r, true);
        }
    }
}

void TExtStringGrid::UnSelectRows(int RowIndex, int RCount) {
    if (!FMouseActions->DisjunctRowSelect()) return;
    for (int i = 0; i < RCount; ++i) {
        const int r = FMouseActions->RowSelectPersistent ? RealRowIndex(RowIndex + i) : RowIndex + i;
        if (r < RowCount()) SetRowSelect(r, false);
    }
}

void TExtStringGrid::ClearRowSelect() {
    for (std::size_t i = 0; i < FRowSelect.size(); ++i) {
        if (FRowSelect[i]) RepaintRow(static_cast<int>(i));
        FRowSelect[i] = false;
    }
    FSelectedRows->Clear();
}

void TExtStringGrid::SelectionToRowSelect(bool All) {
    plat::TGridRect s = Selection();
    s.Bottom = std::min(s.Bottom, NormalLastRow());
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const bool inside = r >= s.Top && r <= s.Bottom;
        if (inside || All) SetRowSelect(FMouseActions->RowSelectPersistent ? RealRowIndex(r) : r, inside);
    }
    if (NumHiddenRows() > 0) Invalidate();
}

bool TExtStringGrid::GetColSelect(int ACol) {
    if (ACol < 0 || ACol >= ColCount()) throw EExtGridError(u"Invalid column accessed");
    if (static_cast<int>(FColSelect.size()) <= ACol) FColSelect.resize(static_cast<std::size_t>(ACol) + 1);
    return FColSelect[static_cast<std::size_t>(ACol)];
}

void TExtStringGrid::SetColSelect(int ACol, bool Value) {
    if (ACol < 0 || ACol >= ColCount()) throw EExtGridError(u"Invalid column accessed");
    const auto at = static_cast<std::size_t>(ACol);
    if (FColSelect.size() <= at) FColSelect.resize(at + 1);
    if (FColSelect[at] != Value) RepaintCol(ACol);
    FColSelect[at] = Value;
}

int TExtStringGrid::ColSelectCount() {
    if (FMouseActions->DisjunctColSelect()) return static_cast<int>(std::count(FColSelect.begin(), FColSelect.end(), true));
    const plat::TGridRect s = Selection();
    return s.Right - s.Left + 1;
}

void TExtStringGrid::SelectCols(int ColIndex, int CCount) {
    if (!FMouseActions->DisjunctColSelect()) {
        SetSelection({ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - 1});
        return;
    }
    for (int c = ColIndex; c < ColIndex + CCount && c < ColCount(); ++c) SetColSelect(c, true);
}

void TExtStringGrid::UnSelectCols(int ColIndex, int CCount) {
    if (!FMouseActions->DisjunctColSelect()) return;
    for (int c = ColIndex; c < ColIndex + CCount && c < ColCount(); ++c) SetColSelect(c, false);
}

void TExtStringGrid::ClearColSelect() {
    for (std::size_t i = 0; i < FColSelect.size(); ++i) {
        if (FColSelect[i]) RepaintCol(static_cast<int>(i));
        FColSelect[i] = false;
    }
}

void TExtStringGrid::SelectionToColSelect(bool All) {
    const plat::TGridRect s = Selection();
    for (int c = FixedCols(); c < ColCount(); ++c) {
        const bool inside = c >= s.Left && c <= s.Right;
        if (inside || All) SetColSelect(c, inside);
    }
}

void TExtStringGrid::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow) {
    SetRow(ToRow);
    SetCol(ToCol);
    SetSelection({FromCol, FromRow, ToCol, ToRow});
}

bool TExtStringGrid::RowModified(int ARow) const {
    return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->GetInteger(ARow) == 1;
}

void TExtStringGrid::SetRowModified(int ARow, bool Value) {
    if (ARow < 0) return;
    while (FModifiedRows->Count() <= ARow) FModifiedRows->Add(0);
    FModifiedRows->SetInteger(ARow, Value ? 1 : 0);
    RepaintCell(0, ARow);
}

int TExtStringGrid::ModifiedRowCount() const {
    int n = 0;
    for (int i = 0; i < FModifiedRows->Count(); ++i) n += FModifiedRows->GetInteger(i) == 1;
    return n;
}

bool TExtStringGrid::RowEnabled(int ARow) const {
    return ARow < 0 || ARow >= FEnabledRows->Count() || FEnabledRows->GetInteger(ARow) == 0;
}

void TExtStringGrid::SetRowEnabled(int ARow, bool Value) {
    if (ARow < 0) return;
    // Only disabling the current row moves the current row.
    if (!Value && ARow == Row()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (r != ARow && RowEnabled(r)) {
                SetRow(r);
                break;
            }
    }
    FEnabledRowsUsed = true;
    while (FEnabledRows->Count() <= ARow) FEnabledRows->Add(0);
    FEnabledRows->SetInteger(ARow, Value ? 0 : 1);
    RepaintRow(ARow);
}

// ---- column order -----------------------------------------------------------------------

void TExtStringGrid::SetColumnOrder() {
    FColumnOrder->Clear();
    for (int c = 0; c < ColCount(); ++c) FColumnOrder->Add(c);
}

int TExtStringGrid::ColumnPosition(int ACol) {
    if (FColumnOrder->Count() == 0) return ACol;
    int p = ACol;
    const int n = std::min(FColumnOrder->Count(), AllColCount());
    for (int i = 0; i < n; ++i)
        if (FColumnOrder->GetInteger(i) == ACol) {
            p = i;
            break;
        }
    return p;
}

int TExtStringGrid::ColumnAtPosition(int P) {
    if (FColumnOrder->Count() == 0) SetColumnOrder();
    if (FColumnOrder->Count() == 0 || P < 0 || P >= FColumnOrder->Count()) return P;
    return FColumnOrder->GetInteger(P);
}

int TExtStringGrid::ColumnByHeader(const String& Value) {
    for (int c = 0; c < TotalColCount(); ++c)
        if (GetCellsEx(c, 0) == Value) return c;
    return -1;
}

// ---- search footer placement ----------------------------------------------------------------

bool TExtStringGrid::IsLastRowAboveSearchFooter() {
    if (!FSearchFooter->Visible()) return false;
    if (TopRow() + VisibleRowCount() < RowCount() - 1) return false;
    // A row out of view has an empty rectangle: it is not above the panel.
    const plat::TRect r = CellRect(0, RowCount() - 1);
    return r.Bottom > r.Top && r.Bottom < ClientHeight() - SearchPanelHeight() + 2;
}

void TExtStringGrid::ScrollForSearchFooter() {
    if (!FSearchFooter->Visible() || ClientHeight() <= DefaultRowHeight() + SearchPanelHeight()) return;
    const int line = ClientHeight() - SearchPanelHeight();
    while (CellRect(0, RowCount() - 1).Bottom > line) {
        if (Row() >= RowCount() || TopRow() + 1 >= RowCount()) break;
        const int before = TopRow();
        SetTopRow(before + 1);
        // A top row that cannot grow ends the scroll.
        if (TopRow() == before) break;
    }
}

// ---- sizing hooks and column order ---------------------------------------------

void TExtStringGrid::UpdateColumnSize(int ACol, int& AWidth) {
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TExtStringGrid::UpdateAutoColumnSize(int ACol, int& AWidth) {
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TExtStringGrid::ResetColumnOrder() {
    UnHideColumnsAll();
    if (FColumnOrder->Count() == 0) {
        SetColumnOrder();
        return;
    }
    // Each move puts the column of one position at its place for good, so the passes end.
    const int n = std::min(ColCount(), FColumnOrder->Count());
    bool moved = true;
    for (int pass = 0; moved && pass <= n; ++pass) {
        moved = false;
        for (int p = 0; p < n; ++p) {
            const int e = FColumnOrder->GetInteger(p);
            if (e >= 0 && e < p) {
                MoveColumn(p, e);
                moved = true;
            }
        }
    }
}

} // namespace grid
