#include "ExtObj.h"

#include <algorithm>

#include "plat/Exception.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

[[noreturn]] void IndexError(int index) {
    throw plat::EListError(u"List index out of bounds (" + plat::IntToStr(index) + u")");
}

constexpr std::uint32_t kDescending = 0x80000000u;
constexpr std::uint32_t kColumnBits = 0x7FFFFFFFu;

// The framework's lenient integer reader: leading blanks, a sign, a "$", "x", "X" or "0x"
// prefix for hexadecimal; it stops at the first character that does not belong to the
// number and keeps what it has read (0 when nothing).
int ReadLeadingInteger(StringView s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == u' ') ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) neg = s[i++] == u'-';
    int base = 10;
    if (i < s.size() && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    std::uint32_t v = 0;
    for (; i < s.size(); ++i) {
        int d;
        const char16_t c = s[i];
        if (c >= u'0' && c <= u'9') d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f') d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F') d = c - u'A' + 10;
        else break;
        v = v * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(d);
    }
    const int r = static_cast<int>(v);
    return neg ? -r : r;
}

} // namespace

// ---- TIntList ---------------------------------------------------------------------------

void TIntList::Changed() {
    if (OnChange) OnChange(this, FCol, FRow);
}

void TIntList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) IndexError(Index);
}

int TIntList::Add(int Value) {
    items_.push_back(Value);
    Changed();
    return Count() - 1;
}

void TIntList::Insert(int Index, int Value) {
    if (Index < 0 || Index > Count()) IndexError(Index);
    items_.insert(items_.begin() + Index, Value);
}

void TIntList::InsertEach(const std::vector<int>& Indexes, int Value) {
    if (Indexes.empty() || items_.empty()) return;
    std::vector<int> out;
    out.reserve(items_.size() + Indexes.size());
    std::size_t src = 0;
    for (int at : Indexes) {
        // The count at this insert's turn: the list built so far and the items still to come.
        if (at < 0) continue;
        if (static_cast<std::size_t>(at) < out.size()) break;
        while (out.size() < static_cast<std::size_t>(at) && src < items_.size()) out.push_back(items_[src++]);
        if (src == items_.size()) break;
        out.push_back(Value);
    }
    out.insert(out.end(), items_.begin() + static_cast<std::ptrdiff_t>(src), items_.end());
    items_ = std::move(out);
}

void TIntList::Delete(int Index) {
    CheckIndex(Index);
    items_.erase(items_.begin() + Index);
    Changed();
}

int TIntList::GetInteger(int Index) const {
    CheckIndex(Index);
    return items_[static_cast<std::size_t>(Index)];
}

void TIntList::SetInteger(int Index, int Value) {
    CheckIndex(Index);
    items_[static_cast<std::size_t>(Index)] = Value;
    Changed();
}

void TIntList::DeleteValue(int Value) {
    const auto it = std::find(items_.begin(), items_.end(), Value);
    if (it != items_.end()) Delete(static_cast<int>(it - items_.begin()));
}

bool TIntList::HasValue(int Value) const { return std::find(items_.begin(), items_.end(), Value) != items_.end(); }

String TIntList::StrValue() const {
    String out;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (i > 0) out += u',';
        out += plat::IntToStr(items_[i]);
    }
    return out;
}

void TIntList::SetStrValue(StringView Value) {
    plat::TStringList parts;
    parts.SetCommaText(Value);
    items_.clear();
    for (int i = 0; i < parts.Count(); ++i) Add(plat::StrToInt(parts.At(i)));
}

// ---- TSortIndexList -----------------------------------------------------------------------

void TSortIndexList::AddIndex(int ACol, bool Ascending) {
    std::uint32_t v = static_cast<std::uint32_t>(ACol) & kColumnBits;
    if (!Ascending) v |= kDescending;
    Add(static_cast<int>(v));
}

int TSortIndexList::FindIndex(int ACol) const {
    for (int i = 0; i < Count(); ++i)
        if ((static_cast<std::uint32_t>(items_[static_cast<std::size_t>(i)]) & kColumnBits) ==
            (static_cast<std::uint32_t>(ACol) & kColumnBits))
            return i;
    return -1;
}

int TSortIndexList::SortColumns(int Index) const {
    return static_cast<int>(static_cast<std::uint32_t>(GetInteger(Index)) & kColumnBits);
}

void TSortIndexList::SetSortColumns(int Index, int ACol) {
    const std::uint32_t v = static_cast<std::uint32_t>(GetInteger(Index));
    SetInteger(Index, static_cast<int>((v & kDescending) | (static_cast<std::uint32_t>(ACol) & kColumnBits)));
}

bool TSortIndexList::SortDirections(int Index) const {
    return (static_cast<std::uint32_t>(GetInteger(Index)) & kDescending) == 0;
}

void TSortIndexList::SetSortDirections(int Index, bool Ascending) {
    std::uint32_t v = static_cast<std::uint32_t>(GetInteger(Index));
    v = Ascending ? (v & kColumnBits) : (v | kDescending);
    SetInteger(Index, static_cast<int>(v));
}

void TSortIndexList::ToggleIndex(int ACol) {
    const int i = FindIndex(ACol);
    if (i >= 0) SetSortDirections(i, !SortDirections(i));
}

String TSortIndexList::SaveToString() const {
    String out;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0) out += u';';
        out += SortDirections(i) ? u'u' : u'd';
        out += plat::IntToStr(SortColumns(i) & 0xFFFF);
    }
    return out;
}

void TSortIndexList::LoadFromString(StringView Value) {
    Clear();
    std::size_t from = 0;
    while (from <= Value.size()) {
        auto to = Value.find(u';', from);
        if (to == StringView::npos) to = Value.size();
        const StringView entry = Value.substr(from, to - from);
        if (entry.size() >= 2) AddIndex(ReadLeadingInteger(entry.substr(1)), entry[0] == u'u');
        from = to + 1;
    }
}

// ---- TControlList -------------------------------------------------------------------------

void TControlList::AddControl(int X, int Y, plat::TControl* AControl) {
    items_.push_back(std::make_unique<TControlItem>(TControlItem{X, Y, AControl}));
}

int TControlList::ControlIndex(int X, int Y) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->X == X && items_[i]->Y == Y) return static_cast<int>(i);
    return -1;
}

TControlItem* TControlList::GetControl(int Index) const {
    if (Index < 0 || Index >= Count()) IndexError(Index);
    return items_[static_cast<std::size_t>(Index)].get();
}

void TControlList::RemoveControl(int Index) {
    if (Index < 0 || Index >= Count()) IndexError(Index);
    items_.erase(items_.begin() + Index);
}

// ---- TFileStringList ------------------------------------------------------------------------

void TFileStringList::Reset() {
    fp = 0;
    cache.clear();
}

void TFileStringList::ReadLn(String& Line) {
    Line = Strings(fp);
    ++fp;
}

void TFileStringList::WriteLn(StringView Text) {
    Add(cache + String(Text));
    cache.clear();
}

} // namespace grid
