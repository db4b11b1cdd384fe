// Sorting of TExtStringGrid: cell comparison by sort style, the single-column, indexed and
// group sorts, undoing a sort, and the row cross-reference that records the order before
// sorting.
#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <typeinfo>

#include "EsgHTMLE.h"
#include "ExtCGrid.h"
#include "ExtGrid.h"
#include "ExtUtil.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

bool IsCheckBoxKind(TCellType t) {
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
}

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// Ordinal comparison of UTF-16 code units; with NoCase a to z count as A to Z.
int CompareUnits(StringView a, StringView b, bool NoCase) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        char16_t x = a[i], y = b[i];
        if (NoCase) {
            if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
            if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
        }
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The date test of automatic detection: the locale's date separator at position 2 or 3
// (from 1), before the last character, with digits on both sides.
bool LooksLikeSeparated(StringView t, char16_t sep) {
    const auto at = t.find(sep);
    if (at == StringView::npos) return false;
    const std::size_t p = at + 1;
    return p >= 2 && p < 4 && p < t.size() && IsDigitChar(t[at - 1]) && IsDigitChar(t[at + 1]);
}

// Hours, minutes and optional seconds joined by the locale's time separator, optionally
// followed by the locale's AM or PM text; false for anything else.
bool TextToTime(StringView text, double& Value) {
    String t = plat::Trim(text);
    bool pm = false, am = false;
    const auto endsWith = [&](const String& suffix) {
        if (suffix.empty() || t.size() < suffix.size()) return false;
        if (!plat::SameText(StringView(t).substr(t.size() - suffix.size()), suffix)) return false;
        t = plat::Trim(StringView(t).substr(0, t.size() - suffix.size()));
        return true;
    };
    if (endsWith(plat::FormatSettings.TimePMString)) pm = true;
    else if (endsWith(plat::FormatSettings.TimeAMString)) am = true;
    const char16_t sep = plat::FormatSettings.TimeSeparator;
    int parts[3] = {0, 0, 0};
    int count = 0;
    std::size_t from = 0;
    while (count < 3) {
        const auto at = t.find(sep, from);
        const StringView part = StringView(t).substr(from, at == String::npos ? String::npos : at - from);
        if (part.empty() || part.size() > 2) return false;
        for (char16_t c : part)
            if (!IsDigitChar(c)) return false;
        parts[count++] = plat::StrToInt(part);
        if (at == String::npos) break;
        from = at + 1;
        if (count == 3) return false;
    }
    if (count < 2) return false;
    int hour = parts[0];
    if (am || pm) {
        if (hour < 1 || hour > 12) return false;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    plat::TDateTime v = 0;
    if (!plat::TryEncodeTime(hour, parts[1], parts[2], 0, v)) return false;
    Value = v;
    return true;
}

// What a cell's text becomes for a numeric style: the first prefix and suffix removed,
// every thousand separator removed for ssFinancial, the decimal separator made "."; a text
// that does not parse then counts as 0, as an empty one does.
// A plain decimal number ([-]digits[.digits]) read without building a text: the value the
// float parser gives for it; false for anything else.
bool PlainDecimal(StringView t, double& v) {
    if (t.empty() || t.size() > 40) return false;
    char buf[48];
    std::size_t n = 0, digits = 0, points = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char16_t c = t[i];
        if (c >= u'0' && c <= u'9') ++digits;
        else if (c == u'.') ++points;
        else if (!(c == u'-' && i == 0)) return false;
        buf[n++] = static_cast<char>(c);
    }
    if (digits == 0 || points > 1 || t.front() == u'.' || t.back() == u'.') return false;
    const auto r = std::from_chars(buf, buf + n, v);
    return r.ec == std::errc() && r.ptr == buf + n;
}

double NumberKey(StringView text, StringView prefix, StringView suffix, bool financial) {
    if (text.empty()) return 0;
    if (double v = 0; prefix.empty() && suffix.empty() && plat::FormatSettings.DecimalSeparator == u'.' &&
                      PlainDecimal(text, v))
        return v;
    String s(text);
    if (!prefix.empty())
        if (const auto at = s.find(prefix); at != String::npos) s.erase(at, prefix.size());
    if (!suffix.empty())
        if (const auto at = s.find(suffix); at != String::npos) s.erase(at, suffix.size());
    if (financial) {
        const char16_t ts = plat::FormatSettings.ThousandSeparator;
        s.erase(std::remove(s.begin(), s.end(), ts), s.end());
    }
    const char16_t ds = plat::FormatSettings.DecimalSeparator;
    if (ds != u'.')
        if (const auto at = s.find(ds); at != String::npos) s[at] = u'.';
    static const plat::TFormatSettings dot = [] {
        plat::TFormatSettings f;
        f.DecimalSeparator = u'.';
        return f;
    }();
    double v = 0;
    // A text the parser reads as not-a-number counts as 0 too, so every key is ordered.
    return plat::TryStrToFloat(s, v, dot) && !std::isnan(v) ? v : 0;
}

double DateKey(StringView text) {
    plat::TDateTime d = 0;
    return !text.empty() && TextToDateByFormat(text, d) ? d : 0;
}

double ShortDateKey(StringView text, bool monthFirst) {
    try {
        return monthFirst ? ParseMonthDayYear(text) : ParseDayMonthYear(text);
    } catch (const plat::Exception&) {
        return 0;
    }
}

// Stable merge sort. Any comparison answers are accepted: every read and write stays inside
// the array and the sort ends after n log n comparisons.
template <class T, class Less>
void StableSortIndexes(std::vector<T>& a, Less less) {
    const int n = static_cast<int>(a.size());
    constexpr int kRun = 24;
    for (int lo = 0; lo < n; lo += kRun) {
        const int hi = std::min(lo + kRun, n);
        for (int i = lo + 1; i < hi; ++i) {
            const T v = a[static_cast<std::size_t>(i)];
            int j = i;
            while (j > lo && less(v, a[static_cast<std::size_t>(j - 1)])) {
                a[static_cast<std::size_t>(j)] = a[static_cast<std::size_t>(j - 1)];
                --j;
            }
            a[static_cast<std::size_t>(j)] = v;
        }
    }
    if (n <= kRun) return;
    std::vector<T> buf(static_cast<std::size_t>(n));
    for (int width = kRun; width < n; width *= 2) {
        for (int lo = 0; lo + width < n; lo += 2 * width) {
            const int mid = lo + width, hi = std::min(lo + 2 * width, n);
            if (!less(a[static_cast<std::size_t>(mid)], a[static_cast<std::size_t>(mid - 1)])) continue;
            int i = lo, j = mid, k = lo;
            while (i < mid && j < hi) {
                if (less(a[static_cast<std::size_t>(j)], a[static_cast<std::size_t>(i)]))
                    buf[static_cast<std::size_t>(k++)] = a[static_cast<std::size_t>(j++)];
                else
                    buf[static_cast<std::size_t>(k++)] = a[static_cast<std::size_t>(i++)];
            }
            while (i < mid) buf[static_cast<std::size_t>(k++)] = a[static_cast<std::size_t>(i++)];
            while (j < hi) buf[static_cast<std::size_t>(k++)] = a[static_cast<std::size_t>(j++)];
            std::copy(buf.begin() + lo, buf.begin() + hi, a.begin() + lo);
        }
    }
}

// Stable least-significant-digit radix sort of 64-bit keys, byte by byte, ascending (or
// descending, by sorting the complemented keys). Bytes that every key shares are passed over,
// so texts of plain letters (whose high bytes are all zero) take half the passes. Each pass
// reads the array once and writes it once: the cost stays proportional to the rows where a
// merge sort of the same keys goes over the whole array log n times.
template <class T>
void RadixSortByKey(std::vector<T>& a, bool Descending) {
    const std::size_t n = a.size();
    if (n < 2) return;
    const auto key = [Descending](const T& v) { return Descending ? ~v.Key() : v.Key(); };
    std::vector<std::array<std::uint32_t, 256>> counts(8);
    for (auto& c : counts) c.fill(0);
    for (const T& v : a) {
        const std::uint64_t k = key(v);
        for (int b = 0; b < 8; ++b) ++counts[static_cast<std::size_t>(b)][(k >> (8 * b)) & 0xFF];
    }
    std::vector<T> buf(n);
    std::vector<T>* from = &a;
    std::vector<T>* to = &buf;
    for (int b = 0; b < 8; ++b) {
        std::array<std::uint32_t, 256>& c = counts[static_cast<std::size_t>(b)];
        const std::uint64_t first = (key((*from)[0]) >> (8 * b)) & 0xFF;
        if (c[first] == n) continue;  // every key has this byte
        std::uint32_t sum = 0;
        for (std::uint32_t& x : c) {
            const std::uint32_t v = x;
            x = sum;
            sum += v;
        }
        for (const T& v : *from) (*to)[c[(key(v) >> (8 * b)) & 0xFF]++] = v;
        std::swap(from, to);
    }
    if (from != &a) a.swap(buf);
}

// Display rows a sort reads: a block Left .. Left + Count - 1, or a short list.
class TRowSet {
public:
    TRowSet(int Left, int Count) : FLeft(Left), FCount(Count) {}
    explicit TRowSet(std::vector<int> List) : FList(std::move(List)), FCount(static_cast<int>(FList.size())) {}
    std::size_t size() const { return static_cast<std::size_t>(FCount); }
    bool empty() const { return FCount == 0; }
    int operator[](std::size_t i) const { return FList.empty() ? FLeft + static_cast<int>(i) : FList[i]; }

private:
    std::vector<int> FList;
    int FLeft = 0;
    int FCount = 0;
};

} // namespace

// The keys of one column over a set of display rows, computed once: numbers and dates as
// values, texts in place in the cell store when no display-text hook applies.
class TColumnSortKeys {
public:
    enum TKind { kText, kTextNoCase, kAnsi, kAnsiNoCase, kNumber, kCustom, kRaw };

    // Lazy keys (a tie-break column) are computed per comparison instead of for every row.
    TColumnSortKeys(TExtStringGrid& Grid, int ACol, const TRowSet& Rows, bool Lazy = false)
        : FGrid(Grid), FCol(ACol), FRows(Rows), FLazy(Lazy) {
        TSettingsView s(Grid);
        TSortStyle style = s.AutoFormat ? ssAutomatic : (s.IgnoreCase ? ssAlphaNoCase : ssAlphabetic);
        String prefix, suffix;
        Grid.GetCellFormat(ACol, style, prefix, suffix);
        LoadTexts(s.Virtual);
        if (style == ssAutomatic) style = Detect(s.IgnoreCase);
        if (style == ssAlphaNumeric || style == ssAlphaNumericNoCase) {
            const bool numbers = AllNonEmpty([](StringView t) { return ClassifyNumberText(t) != nkNotANumber; });
            style = numbers ? ssNumeric : (style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase);
        }
        FStyle = style;
        const std::size_t n = FRows.size();
        if (Grid.SortSettings()->IgnoreBlanks) {
            FEmpty.resize(n);
            for (std::size_t i = 0; i < n; ++i) FEmpty[i] = NextText(i).empty();
        }
        switch (style) {
        case ssAlphaNoCase:
            FKind = kTextNoCase;
            Prefixes(true);
            break;
        case ssAnsiAlphaCase: FKind = kAnsi; break;
        case ssAnsiAlphaNoCase: FKind = kAnsiNoCase; break;
        case ssHTML:
            FKind = kText;
            Own();
            for (String& t : FOwned) t = MarkupToPlainText(t);
            Prefixes(false);
            break;
        case ssNumeric:
        case ssFinancial:
            Numbers([prefix, suffix, financial = style == ssFinancial](StringView t) {
                return NumberKey(t, prefix, suffix, financial);
            });
            break;
        case ssDate:
        case ssDateTime: Numbers([](StringView t) { return DateKey(t); }); break;
        case ssTime:
            Numbers([](StringView t) {
                double v = 0;
                return TextToTime(t, v) ? v : 0.0;
            });
            break;
        case ssShortDateEU: Numbers([](StringView t) { return ShortDateKey(t, false); }); break;
        case ssShortDateUS: Numbers([](StringView t) { return ShortDateKey(t, true); }); break;
        case ssCheckBox: {
            FKind = kNumber;
            FNumbers.resize(n);
            for (std::size_t i = 0; i < n; ++i) {
                bool state = false;
                Grid.GetCheckBoxState(ACol, Grid.RealRowIndex(FRows[i]), state);
                FNumbers[i] = state ? 1 : 0;
            }
            DropTexts();
            break;
        }
        case ssImages: {
            FKind = kNumber;
            FNumbers.resize(n);
            for (std::size_t i = 0; i < n; ++i) FNumbers[i] = ImageKey(FRows[i]);
            DropTexts();
            break;
        }
        case ssCustom:
            FKind = kCustom;
            Own();
            break;
        case ssRaw: FKind = kRaw; break;
        default:
            FKind = kText;
            Prefixes(false);
            break;
        }
    }

    TSortStyle Style() const { return FStyle; }
    // Texts and numbers have a 64-bit key whose order is the cells' order wherever two keys
    // differ; equal keys leave the decision to CompareTie.
    bool Packable() const { return FKind == kText || FKind == kTextNoCase || FKind == kNumber; }
    std::uint64_t PackedKey(std::size_t i) const {
        if (FKind != kNumber) return FPrefix[i];
        const double v = FNumbers[i] == 0 ? 0.0 : FNumbers[i];  // -0 and +0 alike
        const auto bits = std::bit_cast<std::uint64_t>(v);
        return bits >> 63 ? ~bits : bits | (std::uint64_t(1) << 63);
    }
    int CompareTie(std::size_t i, std::size_t j) {
        if (FKind == kNumber || FExactKeys) return 0;
        ++FGrid.Compares;
        return CompareUnits(Text(i), Text(j), FKind == kTextNoCase);
    }
    void ReleaseKeys() {
        FPrefix = {};
        FNumbers = {};
    }
    bool Empty(std::size_t i) const { return FEmpty[i]; }
    bool TracksBlanks() const { return !FEmpty.empty(); }

    // Ascending order of the cells of rows i and j (indexes into Rows).
    int Compare(std::size_t i, std::size_t j) {
        ++FGrid.Compares;
        switch (FKind) {
        case kText:
        case kTextNoCase:
            // The keys decide most comparisons without reading the texts.
            if (!FPrefix.empty() && FPrefix[i] != FPrefix[j]) return FPrefix[i] < FPrefix[j] ? -1 : 1;
            return CompareUnits(Text(i), Text(j), FKind == kTextNoCase);
        case kAnsi: return Sign(plat::AnsiCompareStr(Text(i), Text(j)));
        case kAnsiNoCase: return Sign(plat::AnsiCompareText(Text(i), Text(j)));
        case kNumber: {
            const double a = FKeyOf ? FKeyOf(Text(i)) : FNumbers[i], b = FKeyOf ? FKeyOf(Text(j)) : FNumbers[j];
            return a < b ? -1 : (b < a ? 1 : 0);
        }
        case kCustom: {
            int res = 0;
            if (FGrid.OnCustomCompare) FGrid.OnCustomCompare(&FGrid, FOwned[i], FOwned[j], res);
            return Sign(res);
        }
        case kRaw: {
            int res = 0;
            if (FGrid.OnRawCompare) FGrid.OnRawCompare(&FGrid, FCol, FRows[i], FRows[j], res);
            return Sign(res);
        }
        }
        return 0;
    }

private:
    struct TSettingsView {
        explicit TSettingsView(TExtStringGrid& g)
            : AutoFormat(g.SortSettings()->AutoFormat), IgnoreCase(g.SortSettings()->IgnoreCase),
              Virtual(g.SortSettings()->SortOnVirtualCells) {}
        bool AutoFormat, IgnoreCase, Virtual;
    };

    // Stored texts are read where they lie; display texts and stripped markup are owned.
    StringView Text(std::size_t i) const {
        return FOwned.empty() ? (FVirtualTexts ? StringView() : FGrid.Store().CellView(FCol, FRows[i]))
                              : StringView(FOwned[i]);
    }
    // Text(i) in a pass over the rows in order: the cells of the rows a few steps ahead are
    // fetched into the cache meanwhile, so the pass does not wait for each row's memory in
    // turn (the rows' blocks lie scattered once rows have moved).
    StringView NextText(std::size_t i) const {
        if (FOwned.empty() && i + kAhead < FRows.size()) FGrid.Store().PrefetchRowCells(FRows[i + kAhead]);
        return Text(i);
    }
    static constexpr std::size_t kAhead = 12;
    // Keys whose order is the order of the texts' first code units: each unit that occurs in
    // the column's first kScan positions is replaced by its rank among them (0 marks the end of
    // a text), and as many ranks as fit are packed into 64 bits, first unit highest. Letters
    // alone need 5 bits a unit, so 12 units decide instead of 4: on a large column far fewer
    // rows tie, and a tie costs two reads of scattered texts. When no text is longer than the
    // packed units, equal keys are equal texts and ties need no reading at all.
    void Prefixes(bool NoCase) {
        if (FLazy) return;
        constexpr std::size_t kScan = 32;
        const std::size_t n = FRows.size();
        const auto fold = [NoCase](char16_t c) {
            return NoCase && c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
        };
        FPrefix.resize(n);
        if (n < 1024) {
            // Few rows: the units themselves, four to a key, without building the ranks.
            for (std::size_t i = 0; i < n; ++i) {
                const StringView t = NextText(i);
                std::uint64_t p = 0;
                for (std::size_t k = 0; k < 4; ++k) p = (p << 16) | (k < t.size() ? fold(t[k]) : 0);
                FPrefix[i] = p;
            }
            return;
        }
        std::vector<std::uint64_t> used(65536 / 64, 0);
        std::size_t longest = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const StringView t = NextText(i);
            longest = std::max(longest, t.size());
            const std::size_t m = std::min(t.size(), kScan);
            for (std::size_t k = 0; k < m; ++k) {
                const char16_t c = fold(t[k]);
                used[c >> 6] |= std::uint64_t(1) << (c & 63);
            }
        }
        std::vector<std::uint16_t> rank(65536, 0);
        std::uint32_t ranks = 1;
        for (std::uint32_t c = 0; c < 65536; ++c)
            if (used[c >> 6] >> (c & 63) & 1) rank[c] = static_cast<std::uint16_t>(ranks++);
        const int bits = std::max(1, static_cast<int>(std::bit_width(ranks - 1)));
        const std::size_t units = std::min<std::size_t>(64 / static_cast<std::size_t>(bits), kScan);
        FExactKeys = longest <= units;
        for (std::size_t i = 0; i < n; ++i) {
            const StringView t = NextText(i);
            const std::size_t m = std::min(t.size(), units);
            std::uint64_t p = 0;
            for (std::size_t k = 0; k < m; ++k) p |= std::uint64_t(rank[fold(t[k])]) << (64 - bits * static_cast<int>(k + 1));
            FPrefix[i] = p;
        }
    }

    // Display texts when asked for and a hook or a merged area can change them; otherwise the
    // stored texts, referenced where they lie.
    void LoadTexts(bool Virtual) {
        const std::size_t n = FRows.size();
        const bool hooked = Virtual && (FGrid.OnGetDisplText || FGrid.OnGetDisplWideText || FGrid.MergeCount() > 0);
        if (hooked) {
            FOwned.resize(n);
            for (std::size_t i = 0; i < n; ++i) FOwned[i] = FGrid.GetCellEx(FCol, FRows[i]);
            FVirtualTexts = true;
        }
    }
    void Own() {
        if (!FOwned.empty() || FRows.empty()) return;
        std::vector<String> owned(FRows.size());
        for (std::size_t i = 0; i < FRows.size(); ++i) owned[i] = String(NextText(i));
        FOwned = std::move(owned);
    }
    void DropTexts() { FOwned = {}; }
    template <class F>
    void Numbers(F&& Key) {
        FKind = kNumber;
        if (FLazy) {
            FKeyOf = Key;
            return;
        }
        FNumbers.resize(FRows.size());
        for (std::size_t i = 0; i < FRows.size(); ++i) FNumbers[i] = Key(NextText(i));
        DropTexts();
    }
    template <class P>
    bool AllNonEmpty(P&& Pred) const {
        bool any = false;
        for (std::size_t i = 0; i < FRows.size(); ++i) {
            const StringView t = NextText(i);
            if (t.empty()) continue;
            if (!Pred(t)) return false;
            any = true;
        }
        return any;
    }
    TSortStyle Detect(bool IgnoreCase) const {
        bool boxes = !FRows.empty();
        for (std::size_t i = 0; i < FRows.size(); ++i)
            if (!IsCheckBoxKind(FGrid.GetCellType(FCol, FRows[i]))) {
                boxes = false;
                break;
            }
        if (boxes) return ssCheckBox;
        if (AllNonEmpty([](StringView t) { return ClassifyNumberText(t) != nkNotANumber; })) return ssNumeric;
        const char16_t ds = plat::FormatSettings.DateSeparator, ts = plat::FormatSettings.TimeSeparator;
        if (AllNonEmpty([&](StringView t) { return LooksLikeSeparated(t, ds); })) {
            bool times = false;
            for (std::size_t i = 0; i < FRows.size() && !times; ++i) times = Text(i).find(ts) != StringView::npos;
            return times ? ssDateTime : ssDate;
        }
        if (AllNonEmpty([&](StringView t) { return LooksLikeSeparated(t, ts); })) return ssTime;
        return IgnoreCase ? ssAlphaNoCase : ssAlphabetic;
    }
    // The image-list index of a ctImageList cell, -1 without a picture; bitmaps and icons get
    // a key of their own object, which tells different pictures apart.
    double ImageKey(int ARow) {
        TCellGraphic* g = FGrid.GetCellGraphic(FCol, ARow);
        if (!g) return -1;
        switch (g->CellType) {
        case ctImageList: return g->CellIndex;
        case ctBitmap:
        case ctPicture:
        case ctFilePicture:
            return g->CellBitmap ? 1e12 + static_cast<double>(reinterpret_cast<std::uintptr_t>(g->CellBitmap) % 1000000007u)
                                 : -1;
        case ctIcon:
            return g->CellIcon ? 2e12 + static_cast<double>(reinterpret_cast<std::uintptr_t>(g->CellIcon) % 1000000007u)
                               : -1;
        default: return -1;
        }
    }

    TExtStringGrid& FGrid;
    int FCol;
    const TRowSet& FRows;
    TSortStyle FStyle = ssAlphabetic;
    TKind FKind = kText;
    std::vector<std::uint64_t> FPrefix;
    bool FExactKeys = false;  // every text lies whole in its key
    bool FVirtualTexts = false;
    bool FLazy = false;
    std::function<double(StringView)> FKeyOf;
    std::vector<String> FOwned;
    std::vector<double> FNumbers;
    std::vector<bool> FEmpty;
};

namespace {

// Final order of two rows over a list of key columns, built lazily: a column's keys are
// computed when the first tie reaches it.
class TRowOrder {
public:
    struct TKey {
        int Col;
        bool Descending;
    };
    TRowOrder(TExtStringGrid& Grid, std::vector<TKey> Keys, const TRowSet& Rows)
        : FGrid(Grid), FKeys(std::move(Keys)), FRows(Rows), FColumns(FKeys.size()) {
        const TSortSettings* s = Grid.SortSettings();
        FIgnoreBlanks = s->IgnoreBlanks;
        FBlanksLast = s->BlankPos == blLast;
    }
    // A row's place in the packed form of the sort: the first column's key and the row.
    struct TPacked {
        std::uint32_t Lo, Hi;
        std::int32_t Index;
        std::uint64_t Key() const { return (std::uint64_t(Hi) << 32) | Lo; }
    };
    // The packed form when the first column has packed keys and blanks take no place of
    // their own; the column's own key array is then freed.
    bool Pack(std::vector<TPacked>& Out) {
        if (FIgnoreBlanks) return false;
        TColumnSortKeys& c = Column(0);
        if (!c.Packable()) return false;
        Out.resize(FRows.size());
        for (std::size_t i = 0; i < FRows.size(); ++i) {
            const std::uint64_t k = c.PackedKey(i);
            Out[i] = {std::uint32_t(k), std::uint32_t(k >> 32), std::int32_t(i)};
        }
        c.ReleaseKeys();
        return true;
    }
    bool FirstDescending() const { return FKeys[0].Descending; }
    // The order of two rows whose packed keys are equal.
    int Tie(std::size_t i, std::size_t j) {
        const int r = Column(0).CompareTie(i, j);
        if (r != 0) return FKeys[0].Descending ? -r : r;
        for (std::size_t k = 1; k < FKeys.size(); ++k) {
            const int v = Compare(k, i, j);
            if (v != 0) return v;
        }
        return 0;
    }
    // Negative when row i goes before row j.
    int operator()(std::size_t i, std::size_t j) {
        for (std::size_t k = 0; k < FKeys.size(); ++k) {
            const int v = Compare(k, i, j);
            if (v != 0) return v;
        }
        return 0;
    }

private:
    int Compare(std::size_t k, std::size_t i, std::size_t j) {
        TColumnSortKeys& c = Column(k);
        if (FIgnoreBlanks && c.TracksBlanks()) {
            const bool ei = c.Empty(i), ej = c.Empty(j);
            if (ei != ej) return ei == FBlanksLast ? 1 : -1;
        }
        const int r = c.Compare(i, j);
        return FKeys[k].Descending ? -r : r;
    }

    TColumnSortKeys& Column(std::size_t k) {
        if (!FColumns[k]) FColumns[k] = std::make_unique<TColumnSortKeys>(FGrid, FKeys[k].Col, FRows, k > 0);
        return *FColumns[k];
    }
    TExtStringGrid& FGrid;
    std::vector<TKey> FKeys;
    const TRowSet& FRows;
    std::vector<std::unique_ptr<TColumnSortKeys>> FColumns;
    bool FIgnoreBlanks = false, FBlanksLast = false;
};

} // namespace

// ---- keys and the shared row sort ---------------------------------------------------------------

std::vector<TExtStringGrid::TSortKey> TExtStringGrid::ColumnSortKeys(int ACol) const {
    std::vector<TSortKey> keys;
    const bool desc = FSortSettings->Direction == sdDescending;
    const int last = FSortSettings->Full ? AllColCount() - 1 : ACol;
    for (int c = ACol; c <= last; ++c)
        if (!IsIgnoredColumn(c)) keys.push_back({c, desc});
    return keys;
}

std::vector<TExtStringGrid::TSortKey> TExtStringGrid::IndexSortKeys() const {
    std::vector<TSortKey> keys;
    const int n = FSortSettings->Full ? FSortIndexes->Count() : std::min(FSortIndexes->Count(), 1);
    for (int k = 0; k < n; ++k) {
        const int entry = FSortIndexes->GetInteger(k);
        const int col = entry & 0x7FFFFFFF;
        if (col >= AllColCount() || IsIgnoredColumn(col)) continue;
        keys.push_back({col, entry < 0});
    }
    return keys;
}

void TExtStringGrid::SortRows(int Left, int Right, const std::vector<TSortKey>& Keys) {
    Left = std::max(Left, 0);
    Right = std::min(Right, RowCount() - 1);
    if (Right <= Left || Keys.empty()) return;
    const int n = Right - Left + 1;
    const TRowSet rows(Left, n);
    std::vector<int> perm;
    {
        std::vector<TRowOrder::TKey> keys;
        for (const TSortKey& k : Keys) keys.push_back({k.Col, k.Descending});
        TRowOrder order(*this, std::move(keys), rows);
        std::vector<TRowOrder::TPacked> packed;
        if (order.Pack(packed)) {
            // 12 bytes per row and its copy while merging; most comparisons read only them.
            // Ordered by key first; rows with equal keys stay in their order (the radix sort
            // is stable) and each run of them is then ordered by the texts and tie columns.
            RadixSortByKey(packed, order.FirstDescending());
            for (std::size_t lo = 0; lo < packed.size();) {
                std::size_t hi = lo + 1;
                while (hi < packed.size() && packed[hi].Key() == packed[lo].Key()) ++hi;
                if (hi - lo > 1) {
                    std::vector<TRowOrder::TPacked> run(packed.begin() + static_cast<std::ptrdiff_t>(lo),
                                                        packed.begin() + static_cast<std::ptrdiff_t>(hi));
                    StableSortIndexes(run, [&](const TRowOrder::TPacked& a, const TRowOrder::TPacked& b) {
                        return order.Tie(static_cast<std::size_t>(a.Index), static_cast<std::size_t>(b.Index)) < 0;
                    });
                    std::copy(run.begin(), run.end(), packed.begin() + static_cast<std::ptrdiff_t>(lo));
                }
                lo = hi;
            }
            perm.resize(static_cast<std::size_t>(n));
            for (int i = 0; i < n; ++i) perm[static_cast<std::size_t>(i)] = packed[static_cast<std::size_t>(i)].Index;
            packed = {};
        } else {
            perm.resize(static_cast<std::size_t>(n));
            std::iota(perm.begin(), perm.end(), 0);
            StableSortIndexes(perm, [&](int a, int b) {
                return order(static_cast<std::size_t>(a), static_cast<std::size_t>(b)) < 0;
            });
        }
    }
    ApplyRowPermutation(Left, perm);
}

namespace {

// Swaps that moving rows position by position takes for the permutation: one fewer than
// the rows of each cycle, none for a row that stays. Following one cycle at a time would
// wait for memory at every step, so several walks run side by side, each from a row no walk
// has reached and each ending on the first row already reached; that row is always where
// another walk (or the same one) started. Walks that meet are joined, and a walk that ends
// on its own group's start closes a cycle, exactly once per cycle.
long long SwapsOf(const std::vector<int>& Perm) {
    const std::size_t n = Perm.size();
    std::vector<int> owner(n, -1);  // the start of the walk that reached the row
    std::vector<int> group(n);      // joined walks, by start
    const auto root = [&](int a) {
        while (group[static_cast<std::size_t>(a)] != a) {
            const int up = group[static_cast<std::size_t>(group[static_cast<std::size_t>(a)])];
            group[static_cast<std::size_t>(a)] = up;
            a = up;
        }
        return a;
    };
    constexpr int kWalks = 16;
    std::array<int, kWalks> at{}, from{};
    std::array<bool, kWalks> live{};
    std::size_t next = 0;
    const auto start = [&](int w) {
        while (next < n && owner[next] != -1) ++next;
        live[static_cast<std::size_t>(w)] = next < n;
        if (next == n) return;
        const int r = static_cast<int>(next++);
        owner[static_cast<std::size_t>(r)] = group[static_cast<std::size_t>(r)] = r;
        at[static_cast<std::size_t>(w)] = from[static_cast<std::size_t>(w)] = r;
    };
    for (int w = 0; w < kWalks; ++w) start(w);
    long long cycles = 0;
    for (bool any = true; any;) {
        any = false;
        for (int w = 0; w < kWalks; ++w) {
            const auto k = static_cast<std::size_t>(w);
            if (!live[k]) continue;
            any = true;
            const auto j = static_cast<std::size_t>(Perm[static_cast<std::size_t>(at[k])]);
            if (owner[j] == -1) {
                owner[j] = from[k];
                at[k] = static_cast<int>(j);
                continue;
            }
            const int a = root(owner[j]), b = root(from[k]);
            if (a == b) ++cycles;
            else group[static_cast<std::size_t>(a)] = b;
            start(w);
        }
    }
    return static_cast<long long>(n) - cycles;
}

// A flag list that ends among the rows [Left, End) while holding a set flag there is
// extended with unset entries to cover them all, so every flag can follow its row.
void CoverMovingRows(TIntList& List, int Left, int End) {
    if (List.Count() <= Left || List.Count() >= End) return;
    for (int i = Left; i < List.Count(); ++i)
        if (List.GetInteger(i) != 0) {
            while (List.Count() < End) List.Add(0);
            return;
        }
}

// The list's entries of rows [Left, Left + Perm.size()) follow their rows. A list that ends
// among them holds no set flag there (see CoverMovingRows): nothing to move.
void GatherListEntries(TIntList& List, int Left, const std::vector<int>& Perm) {
    const int n = static_cast<int>(Perm.size());
    if (List.Count() < Left + n) return;
    std::vector<int> old(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) old[static_cast<std::size_t>(i)] = List.GetInteger(Left + i);
    for (int i = 0; i < n; ++i) {
        const int v = old[static_cast<std::size_t>(Perm[static_cast<std::size_t>(i)])];
        if (v != old[static_cast<std::size_t>(i)]) List.SetInteger(Left + i, v);
    }
}

} // namespace

bool TExtStringGrid::GatherRowPermutation(int Left, const std::vector<int>& Perm) {
    // Only the grids whose SortSwapRows is this one's: an override sees every swap.
    if (typeid(*this) != typeid(TExtStringGrid) && typeid(*this) != typeid(TExtColumnGrid)) return false;
    if (FSortSettings->SingleColumn) return false;
    const int n = static_cast<int>(Perm.size());
    const int end = Left + n;
    std::vector<int>& x = FSortRowXRef->Items();
    // The swaps exchange cross-reference entries only where both exist.
    const auto spans = [&](int count) { return count <= Left || count >= end; };
    if (Left < 0 || end > RowCount() || !spans(static_cast<int>(x.size()))) return false;
    // A list that tells of its changes sees them one by one.
    for (const TIntList* l : {ModifiedRows(), FEnabledRows.get()})
        if (l->Count() > Left && l->OnChange) return false;
    const long long swaps = SwapsOf(Perm);
    if (!Store().GatherRows(Left, Perm)) return false;
    Swaps += static_cast<int>(swaps);
    if (static_cast<int>(x.size()) >= end) {
        const std::vector<int> old(x.begin() + Left, x.begin() + end);
        for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(Left + i)] = old[static_cast<std::size_t>(Perm[static_cast<std::size_t>(i)])];
    }
    GatherRowHeights(Left, Perm);
    if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort) {
        // Selection is kept by real row; it grows to cover every row that moves.
        std::vector<int> real(static_cast<std::size_t>(n));
        std::size_t need = FRowSelect.size();
        for (int i = 0; i < n; ++i) {
            real[static_cast<std::size_t>(i)] = RealRowIndex(Left + i);
            if (Perm[static_cast<std::size_t>(i)] != i) need = std::max(need, static_cast<std::size_t>(real[static_cast<std::size_t>(i)]) + 1);
        }
        FRowSelect.resize(need);
        std::vector<bool> old(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) old[static_cast<std::size_t>(i)] = FRowSelect[static_cast<std::size_t>(real[static_cast<std::size_t>(i)])];
        for (int i = 0; i < n; ++i)
            if (Perm[static_cast<std::size_t>(i)] != i)
                FRowSelect[static_cast<std::size_t>(real[static_cast<std::size_t>(i)])] = old[static_cast<std::size_t>(Perm[static_cast<std::size_t>(i)])];
    }
    for (TIntList* l : {ModifiedRows(), FEnabledRows.get()}) GatherListEntries(*l, Left, Perm);
    if (FSortRow >= Left && FSortRow < end) {
        const auto at = std::find(Perm.begin(), Perm.end(), FSortRow - Left);
        FSortRow = Left + static_cast<int>(at - Perm.begin());
    }
    return true;
}

void TExtStringGrid::ApplyRowPermutation(int Left, std::vector<int>& Perm) {
    // Where the swaps would add nothing but their order, the store, the heights, the
    // cross-reference and the row flags are permuted in one pass each.
    for (TIntList* l : {ModifiedRows(), FEnabledRows.get()})
        CoverMovingRows(*l, Left, Left + static_cast<int>(Perm.size()));
    if (GatherRowPermutation(Left, Perm)) return;
    // Position by position: the row Perm[i] asks for is fetched to i by one swap, so each
    // swap puts one row at its place for good (as many swaps as following the cycles, which
    // would chain every step on the memory read of the step before). Where each row lies
    // now (Pos) and which row lies at each position (At) are kept up to date; the lookups of
    // the steps ahead are independent of the current one, so they and the rows they touch
    // are fetched into the cache a few steps early: a long sort waits for memory once per
    // batch rather than once per row.
    const int n = static_cast<int>(Perm.size());
    std::vector<int> pos(static_cast<std::size_t>(n)), at(static_cast<std::size_t>(n));
    std::iota(pos.begin(), pos.end(), 0);
    std::iota(at.begin(), at.end(), 0);
    constexpr int kAhead = 16;
    const std::vector<int>& x = FSortRowXRef->Items();
    const auto prefetch = [&](int row) {
        Store().PrefetchRow(row);
        if (static_cast<std::size_t>(row) < x.size()) __builtin_prefetch(&x[static_cast<std::size_t>(row)], 1);
        PrefetchRowHeight(row);
    };
    const auto ref = [](std::vector<int>& v, int i) -> int& { return v[static_cast<std::size_t>(i)]; };
    for (int i = 0; i < n; ++i) {
        if (i + 2 * kAhead < n) __builtin_prefetch(&ref(pos, ref(Perm, i + 2 * kAhead)));
        if (i + kAhead < n) {
            const int k = ref(pos, ref(Perm, i + kAhead));
            prefetch(Left + i + kAhead);
            prefetch(Left + k);
            __builtin_prefetch(&ref(at, k), 1);
        }
        const int j = ref(Perm, i);
        const int q = ref(pos, j);
        if (q == i) continue;
        SortSwapRows(Left + i, Left + q);
        const int r = ref(at, i);
        ref(at, q) = r;
        ref(pos, r) = q;
        ref(at, i) = j;
        ref(pos, j) = i;
    }
}

void TExtStringGrid::SortSwapRows(int Index, int Index2) {
    ++Swaps;
    if (Index == Index2) return;
    std::vector<int>& x = FSortRowXRef->Items();
    const auto i1 = static_cast<std::size_t>(Index), i2 = static_cast<std::size_t>(Index2);
    if (Index >= 0 && Index2 >= 0 && i1 < x.size() && i2 < x.size()) std::swap(x[i1], x[i2]);
    if (FSortSettings->SingleColumn) {
        const int c = FSortSettings->Column;
        if (c < 0) return;
        const String t1 = Store().Cell(c, Index), t2 = Store().Cell(c, Index2);
        plat::TObject* o1 = Store().Object(c, Index);
        plat::TObject* o2 = Store().Object(c, Index2);
        Store().SetCell(c, Index, t2);
        Store().SetObject(c, Index, o2);
        Store().SetCell(c, Index2, t1);
        Store().SetObject(c, Index2, o1);
        return;
    }
    Store().SwapRows(Index, Index2);
    const int h1 = RowHeights(Index), h2 = RowHeights(Index2);
    if (h1 != h2) {
        SetRowHeights(Index, h2);
        SetRowHeights(Index2, h1);
    }
    if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort) {
        const auto r1 = static_cast<std::size_t>(RealRowIndex(Index)), r2 = static_cast<std::size_t>(RealRowIndex(Index2));
        if (std::max(r1, r2) >= FRowSelect.size()) FRowSelect.resize(std::max(r1, r2) + 1);
        const bool s = FRowSelect[r1];
        FRowSelect[r1] = FRowSelect[r2];
        FRowSelect[r2] = s;
    }
    for (TIntList* l : {ModifiedRows(), FEnabledRows.get()}) {
        // Rows past the list's end have their flag unset; a set flag that moves there takes
        // the list along, so no flag stays behind with another row.
        const int lo = std::min(Index, Index2), hi = std::max(Index, Index2);
        if (lo < 0 || lo >= l->Count()) continue;
        if (hi >= l->Count()) {
            if (l->GetInteger(lo) == 0) continue;
            while (l->Count() <= hi) l->Add(0);
        }
        const int v = l->GetInteger(Index);
        l->SetInteger(Index, l->GetInteger(Index2));
        l->SetInteger(Index2, v);
    }
    if (FSortRow == Index) FSortRow = Index2;
    else if (FSortRow == Index2) FSortRow = Index;
}

// ---- comparison --------------------------------------------------------------------------------

int TExtStringGrid::CompareCells(int ACol, int ARow1, int ARow2, TSortDirection Direction) {
    const TRowSet rows(std::vector<int>{ARow1, ARow2});
    TColumnSortKeys keys(*this, ACol, rows);
    if (FSortSettings->IgnoreBlanks && keys.TracksBlanks() && keys.Empty(0) != keys.Empty(1)) {
        const bool last = FSortSettings->BlankPos == blLast;
        const int asc = keys.Empty(0) == last ? 1 : -1;
        return Direction == sdDescending ? -asc : asc;
    }
    return keys.Compare(0, 1);
}

bool TExtStringGrid::SortLine(int ACol, int ARow1, int ARow2) {
    if (ACol < 0 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount()) return false;
    std::vector<TSortKey> keys;
    const bool desc = FSortSettings->Direction == sdDescending;
    for (int c = ACol; c < AllColCount(); ++c)
        if (!IsIgnoredColumn(c)) keys.push_back({c, desc});
    const TRowSet rows(std::vector<int>{ARow1, ARow2});
    std::vector<TRowOrder::TKey> k;
    for (const TSortKey& s : keys) k.push_back({s.Col, s.Descending});
    TRowOrder order(*this, std::move(k), rows);
    // Rows given in display order: out of order when the first should follow the second.
    const int r = order(0, 1);
    const bool swap = ARow1 < ARow2 ? r > 0 : r < 0;
    if (swap) SortSwapRows(ARow1, ARow2);
    return swap;
}

// ---- entry points ----------------------------------------------------------------------------

void TExtStringGrid::Sort(int ACol, TSortDirection Direction) {
    FSortSettings->Column = ACol;
    FSortSettings->Direction = Direction;
    QSort();
}

void TExtStringGrid::SortByColumn(int ACol) {
    if (RowCount() <= 1) return;
    FSortSettings->Column = ACol;
    QSort();
}

void TExtStringGrid::InitSortXRef() {
    std::vector<int>& x = FSortRowXRef->Items();
    x.resize(static_cast<std::size_t>(RowCount()));
    std::iota(x.begin(), x.end(), 0);
}

namespace {

// Column 0's texts set aside while rows move, and put back by row (NormalCellsOnly).
class TColumnZeroKeeper {
public:
    TExtStringGrid& Grid;
    bool Active;
    std::vector<String> Texts;
    TColumnZeroKeeper(TExtStringGrid& G, int Left, int Right)
        : Grid(G), Active(G.SortSettings()->NormalCellsOnly && G.FixedCols() > 0), From(Left) {
        if (!Active) return;
        for (int r = Left; r <= Right; ++r) Texts.push_back(Grid.Store().Cell(0, r));
    }
    void Restore() {
        if (!Active) return;
        for (std::size_t i = 0; i < Texts.size(); ++i) Grid.Store().SetCell(0, From + static_cast<int>(i), Texts[i]);
    }

private:
    int From;
};

} // namespace

void TExtStringGrid::QSort() {
    const int col = FSortSettings->Column;
    if (col < 0 || col >= AllColCount()) return;
    if (FSortRowXRef->Count() != RowCount()) InitSortXRef();
    FSortIndexes->Clear();
    const int left = FixedRows(), right = RowCount() - FixedFooters - 1;
    const int oldRow = Row(), top = TopRow();
    BeginUpdate();
    TColumnZeroKeeper col0(*this, left, right);
    FSortRow = oldRow;
    SortRows(left, right, ColumnSortKeys(col));
    col0.Restore();
    if (!FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort && FSortRow >= FixedRows() &&
        FSortRow < RowCount()) {
        SetRowEx(FSortRow);
        FOldRowSel = -1;
    }
    if (FNavigation->KeepScrollOnSort && top < RowCount()) SetTopRow(top);
    EndUpdate();
    Invalidate();
    CellsChanged(plat::TRect{0, left, ColCount() - 1, right});
    if (!FNavigation->MoveRowOnSort && OnRowChanged) OnRowChanged(this, oldRow, Row());
}

void TExtStringGrid::QSortIndexed() {
    if (FSortIndexes->Count() == 0) throw EExtGridError(u"No indexes specified for indexed sort");
    if (FSortRowXRef->Count() != RowCount()) InitSortXRef();
    const int left = FixedRows(), right = RowCount() - FixedFooters - 1;
    const int top = TopRow();
    BeginUpdate();
    TColumnZeroKeeper col0(*this, left, right);
    FSortRow = Row();
    SortRows(left, right, IndexSortKeys());
    col0.Restore();
    if (FNavigation->MoveRowOnSort && FSortRow >= FixedRows() && FSortRow < RowCount()) {
        SetRowEx(FSortRow);
        FOldRowSel = -1;
    }
    if (FNavigation->KeepScrollOnSort && top < RowCount()) SetTopRow(top);
    EndUpdate();
    Invalidate();
    CellsChanged(plat::TRect{0, left, ColCount() - 1, right});
}

void TExtStringGrid::QuickSort(int ACol, int Left, int Right) {
    if (ACol < 0 || ACol >= AllColCount()) return;
    BeginUpdate();
    SortRows(Left, Right, ColumnSortKeys(ACol));
    EndUpdate();
    CellsChanged(plat::TRect{0, Left, ColCount() - 1, Right});
}

void TExtStringGrid::QuickSortIndexed(int Left, int Right) {
    BeginUpdate();
    SortRows(Left, Right, IndexSortKeys());
    EndUpdate();
    CellsChanged(plat::TRect{0, Left, ColCount() - 1, Right});
}

namespace {

// Display row ranges below the expanded nodes of the deepest node level that hold at least
// two rows (a closing summary row stays in place).
std::vector<std::pair<int, int>> DeepestGroups(TExtStringGrid& g) {
    std::vector<std::pair<int, int>> ranges;
    const std::vector<int> nodes = g.NodeRealRows();
    int deepest = -1;
    for (int r : nodes) deepest = std::max(deepest, g.RealRowLevel(r));
    for (int r : nodes) {
        if (g.RealRowLevel(r) != deepest || g.IsHiddenRow(r)) continue;
        const int d = g.DisplRowIndex(r);
        if (g.GetNodeState(d)) continue;  // contracted
        const int lastReal = g.NodeGroupEnd(r);
        int last = d;
        while (last + 1 < g.RowCount() && g.RealRowIndex(last + 1) <= lastReal) ++last;
        if (last > d && g.IsSummary(last)) --last;
        if (last - d >= 2) ranges.emplace_back(d + 1, last);
    }
    return ranges;
}

} // namespace

void TExtStringGrid::QSortGroup() {
    const int col = FSortSettings->Column;
    if (col < 0 || col >= AllColCount()) return;
    if (FSortRowXRef->Count() != RowCount()) InitSortXRef();
    BeginUpdate();
    for (const auto& [from, to] : DeepestGroups(*this)) SortRows(from, to, ColumnSortKeys(col));
    EndUpdate();
    Invalidate();
    CellsChanged(plat::TRect{0, FixedRows(), ColCount() - 1, RowCount() - 1});
}

void TExtStringGrid::QSortGroupIndexed() {
    if (FSortRowXRef->Count() != RowCount()) InitSortXRef();
    BeginUpdate();
    for (const auto& [from, to] : DeepestGroups(*this)) SortRows(from, to, IndexSortKeys());
    EndUpdate();
    Invalidate();
    CellsChanged(plat::TRect{0, FixedRows(), ColCount() - 1, RowCount() - 1});
}

void TExtStringGrid::QUnSort() {
    std::vector<int>& x = FSortRowXRef->Items();
    const int n = static_cast<int>(x.size());
    if (n == 0 || n != RowCount()) return;
    // The row recorded at position p goes back to p.
    std::vector<int> perm(static_cast<std::size_t>(n), -1);
    bool identity = true;
    for (int i = 0; i < n; ++i) {
        const int p = x[static_cast<std::size_t>(i)];
        if (p < 0 || p >= n || perm[static_cast<std::size_t>(p)] != -1) return;  // not a permutation
        perm[static_cast<std::size_t>(p)] = i;
        identity = identity && p == i;
    }
    if (identity) return;
    FUnSortRowXRef->Items() = x;
    BeginUpdate();
    TColumnZeroKeeper col0(*this, 0, n - 1);
    FSortRow = Row();
    ApplyRowPermutation(0, perm);
    col0.Restore();
    EndUpdate();
    Invalidate();
    CellsChanged(plat::TRect{0, 0, ColCount() - 1, RowCount() - 1});
}

void TExtStringGrid::ClickSort(int ACol) {
    if (OnClickSort) OnClickSort(this, ACol);
}

// ---- the cross-reference follows inserted and removed rows ------------------------------------

void TExtStringGrid::SortXRefRowsInserted(int RowIndex, int RCount) {
    std::vector<int>& x = FSortRowXRef->Items();
    if (x.empty() || RowIndex < 0 || RCount <= 0) return;
    const int base = static_cast<int>(x.size());
    const auto at = static_cast<std::size_t>(std::min(RowIndex, base));
    std::vector<int> fresh(static_cast<std::size_t>(RCount));
    std::iota(fresh.begin(), fresh.end(), base);
    x.insert(x.begin() + static_cast<std::ptrdiff_t>(at), fresh.begin(), fresh.end());
}

void TExtStringGrid::SortXRefRowsRemoved(int RowIndex, int RCount) {
    std::vector<int>& x = FSortRowXRef->Items();
    if (x.empty() || RowIndex < 0 || RCount <= 0 || RowIndex >= static_cast<int>(x.size())) return;
    const auto from = static_cast<std::size_t>(RowIndex);
    const auto to = std::min(x.size(), from + static_cast<std::size_t>(RCount));
    // The remaining positions close up so they stay 0 .. n - 1.
    std::vector<char> gone(x.size(), 0);
    for (std::size_t i = from; i < to; ++i)
        if (x[i] >= 0 && static_cast<std::size_t>(x[i]) < gone.size()) gone[static_cast<std::size_t>(x[i])] = 1;
    std::vector<int> below(gone.size() + 1, 0);
    for (std::size_t v = 0; v < gone.size(); ++v) below[v + 1] = below[v] + gone[v];
    x.erase(x.begin() + static_cast<std::ptrdiff_t>(from), x.begin() + static_cast<std::ptrdiff_t>(to));
    for (int& v : x)
        if (v >= 0 && static_cast<std::size_t>(v) < gone.size()) v -= below[static_cast<std::size_t>(v)];
}

// ---- string form of the sort settings --------------------------------------------------------

String TSortSettings::SaveToString() const {
    if (IndexShow) return u"i;" + (FOwner ? FOwner->SortIndexes()->SaveToString() : String());
    return String(Direction == sdDescending ? u"d" : u"u") + plat::IntToStr(Column);
}

void TSortSettings::LoadFromString(const String& Value) {
    if (Value.empty()) return;
    SetShow(true);
    if (Value.size() < 2) throw EExtGridError(u"Invalid sort settings specifier");
    if (Value.find(u"i;") != String::npos) {
        IndexShow = true;
        const String rest = Value.substr(2);
        if (!rest.empty() && FOwner) {
            FOwner->SortIndexes()->Clear();
            FOwner->SortIndexes()->LoadFromString(rest);
            FOwner->QSortIndexed();
        }
        return;
    }
    IndexShow = false;
    Direction = Value.find(u'u') != String::npos ? sdAscending : sdDescending;
    int c = 0;
    if (plat::TryStrToInt(StringView(Value).substr(1), c)) {
        Column = c;
        if (FOwner) FOwner->QSort();
    }
}

} // namespace grid
