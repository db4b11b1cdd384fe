#include <algorithm>
#include <numeric>

#include "plat/Classes.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"

namespace plat {

// ---- TStrings --------------------------------------------------------------------------

void TStrings::Error(const char16_t* Msg, int Data) { throw EListError(Format(Msg, {Data})); }

void TStrings::IndexError(int Index) { Error(u"List index out of bounds (%d)", Index); }

void TStrings::SetStrings(int Index, const String& S)
{
    TObject* obj = Objects(Index);
    BeginUpdate();
    Delete(Index);
    InsertObject(Index, S, obj);
    EndUpdate();
}

TObject* TStrings::Objects(int) const { return nullptr; }
void TStrings::SetObjects(int, TObject*) {}

int TStrings::Add(const String& S)
{
    const int i = Count();
    Insert(i, S);
    return i;
}

int TStrings::AddObject(const String& S, TObject* AObject)
{
    const int i = Add(S);
    SetObjects(i, AObject);
    return i;
}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject)
{
    Insert(Index, S);
    SetObjects(Index, AObject);
}

void TStrings::AddStrings(const TStrings& Strings)
{
    BeginUpdate();
    for (int i = 0; i < Strings.Count(); ++i)
        AddObject(Strings.Strings(i), Strings.Objects(i));
    EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    BeginUpdate();
    const String s = Strings(CurIndex);
    TObject* o = Objects(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
    EndUpdate();
}

void TStrings::Exchange(int Index1, int Index2)
{
    BeginUpdate();
    const String s1 = Strings(Index1);
    TObject* o1 = Objects(Index1);
    SetStrings(Index1, Strings(Index2));
    SetObjects(Index1, Objects(Index2));
    SetStrings(Index2, s1);
    SetObjects(Index2, o1);
    EndUpdate();
}

int TStrings::CompareStrings(StringView S1, StringView S2) const
{
    return caseSensitive_ ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

int TStrings::IndexOf(StringView S) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Strings(i), S) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const
{
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == AObject)
            return i;
    return -1;
}

int TStrings::IndexOfName(StringView Name) const
{
    for (int i = 0; i < Count(); ++i) {
        const String s = Strings(i);
        const auto p = s.find(nameValueSeparator_);
        if (p != String::npos && CompareStrings(StringView(s).substr(0, p), Name) == 0)
            return i;
    }
    return -1;
}

String TStrings::Text() const
{
    String r;
    for (int i = 0; i < Count(); ++i) {
        r += Strings(i);
        r += u"\r\n";
    }
    return r;
}

void TStrings::SetText(StringView Value)
{
    BeginUpdate();
    try {
        Clear();
        for (const String& line : SplitLines(Value))
            Add(line);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

namespace {

String QuoteItem(StringView s, char16_t quote)
{
    String r(1, quote);
    for (char16_t c : s) {
        r += c;
        if (c == quote)
            r += c;
    }
    r += quote;
    return r;
}

String JoinDelimited(const TStrings& list, char16_t delim, char16_t quote, bool strict)
{
    const int n = list.Count();
    if (n == 1 && list.Strings(0).empty())
        return String(2, quote);
    String r;
    for (int i = 0; i < n; ++i) {
        const String s = list.Strings(i);
        bool needQuotes = false;
        for (char16_t c : s)
            if (c == quote || c == delim || c == 0 || (!strict && c <= u' '))
                needQuotes = true;
        if (i > 0)
            r += delim;
        r += needQuotes ? QuoteItem(s, quote) : s;
    }
    return r;
}

void SplitDelimited(TStrings& list, StringView v, char16_t delim, char16_t quote, bool strict)
{
    list.BeginUpdate();
    try {
        list.Clear();
        std::size_t i = 0;
        auto isBlank = [&](std::size_t k) { return k < v.size() && v[k] >= 1 && v[k] <= u' '; };
        if (!strict)
            while (isBlank(i))
                ++i;
        while (i < v.size()) {
            String item;
            if (v[i] == quote) {
                ++i;
                while (i < v.size()) {
                    if (v[i] == quote) {
                        if (i + 1 < v.size() && v[i + 1] == quote) {
                            item += quote;
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    item += v[i++];
                }
            } else {
                const std::size_t start = i;
                while (i < v.size() && v[i] != delim && (strict || v[i] > u' '))
                    ++i;
                item.assign(v.substr(start, i - start));
            }
            list.Add(item);
            if (!strict)
                while (isBlank(i))
                    ++i;
            if (i < v.size() && v[i] == delim) {
                // A delimiter at the very end stands for one more, empty item.
                if (i + 1 == v.size())
                    list.Add(String());
                ++i;
                if (!strict)
                    while (isBlank(i))
                        ++i;
            }
        }
    } catch (...) {
        list.EndUpdate();
        throw;
    }
    list.EndUpdate();
}

} // namespace

String TStrings::DelimitedText() const { return JoinDelimited(*this, delimiter_, quoteChar_, strictDelimiter_); }
void TStrings::SetDelimitedText(StringView Value) { SplitDelimited(*this, Value, delimiter_, quoteChar_, strictDelimiter_); }
String TStrings::CommaText() const { return JoinDelimited(*this, u',', u'"', false); }
void TStrings::SetCommaText(StringView Value) { SplitDelimited(*this, Value, u',', u'"', false); }

String TStrings::Names(int Index) const
{
    const String s = Strings(Index);
    const auto p = s.find(nameValueSeparator_);
    return p == String::npos ? String() : s.substr(0, p);
}

String TStrings::ValueFromIndex(int Index) const
{
    const String s = Strings(Index);
    const auto p = s.find(nameValueSeparator_);
    return p == String::npos ? String() : s.substr(p + 1);
}

String TStrings::Values(StringView Name) const
{
    const int i = IndexOfName(Name);
    return i >= 0 ? ValueFromIndex(i) : String();
}

void TStrings::SetValues(StringView Name, const String& Value)
{
    const int i = IndexOfName(Name);
    if (!Value.empty()) {
        String line = String(Name) + nameValueSeparator_ + Value;
        if (i < 0)
            Add(line);
        else
            SetStrings(i, line);
    } else if (i >= 0) {
        Delete(i);
    }
}

void TStrings::BeginUpdate()
{
    if (updateCount_ == 0)
        SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0)
        SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

void TStrings::LoadFromFile(const String& FileName)
{
    std::string bytes;
    String error;
    if (!ReadRegularFile(FileName, bytes, kDefaultFileCap, &error))
        throw EFileError(error);
    const std::vector<String> lines = SplitLines(DecodeText(bytes));
    BeginUpdate();
    try {
        Clear();
        for (const String& l : lines)
            Add(l);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::SaveToFile(const String& FileName) { SaveToFile(FileName, TTextEncoding::Ansi); }

void TStrings::SaveToFile(const String& FileName, TTextEncoding Encoding)
{
    if (!WriteTextFile(FileName, ToVector(), Encoding))
        throw EFileError(u"Cannot create file \"" + FileName + u"\"");
}

void TStrings::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TStrings*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    if (src == this)
        return;
    BeginUpdate();
    try {
        delimiter_ = src->delimiter_;
        quoteChar_ = src->quoteChar_;
        nameValueSeparator_ = src->nameValueSeparator_;
        strictDelimiter_ = src->strictDelimiter_;
        Clear();
        AddStrings(*src);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::vector<String> TStrings::ToVector() const
{
    std::vector<String> v;
    v.reserve(static_cast<std::size_t>(Count()));
    for (int i = 0; i < Count(); ++i)
        v.push_back(Strings(i));
    return v;
}

// ---- TStringList -----------------------------------------------------------------------

TStringList::~TStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    if (ownsObjects_)
        for (auto& it : items_)
            delete it.obj;
}

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
}

String TStringList::Strings(int Index) const { return At(Index); }

const String& TStringList::At(int Index) const
{
    CheckIndex(Index);
    return items_[static_cast<std::size_t>(Index)].s;
}

void TStringList::SetStrings(int Index, const String& S)
{
    if (sorted_)
        Error(u"Operation not allowed on sorted list", 0);
    CheckIndex(Index);
    Changing();
    items_[static_cast<std::size_t>(Index)].s = S;
    Changed();
}

TObject* TStringList::Objects(int Index) const
{
    CheckIndex(Index);
    return items_[static_cast<std::size_t>(Index)].obj;
}

void TStringList::SetObjects(int Index, TObject* AObject)
{
    CheckIndex(Index);
    Changing();
    items_[static_cast<std::size_t>(Index)].obj = AObject;
    Changed();
}

int TStringList::Add(const String& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const String& S, TObject* AObject)
{
    int index = Count();
    if (sorted_) {
        if (Find(S, index)) {
            if (duplicates_ == dupIgnore)
                return index;
            if (duplicates_ == dupError)
                Error(u"String list does not allow duplicates", 0);
        }
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::Insert(int Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const String& S, TObject* AObject)
{
    if (sorted_)
        Error(u"Operation not allowed on sorted list", 0);
    if (Index < 0 || Index > Count())
        IndexError(Index);
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject)
{
    Changing();
    items_.insert(items_.begin() + Index, Item{S, AObject});
    Changed();
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    Changing();
    TObject* obj = items_[static_cast<std::size_t>(Index)].obj;
    items_.erase(items_.begin() + Index);
    if (ownsObjects_)
        delete obj;
    Changed();
}

void TStringList::Clear()
{
    if (items_.empty())
        return;
    Changing();
    std::vector<Item> old;
    old.swap(items_);
    if (ownsObjects_)
        for (auto& it : old)
            delete it.obj;
    Changed();
}

void TStringList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(items_[static_cast<std::size_t>(Index1)], items_[static_cast<std::size_t>(Index2)]);
    Changed();
}

int TStringList::IndexOf(StringView S) const
{
    if (!sorted_)
        return TStrings::IndexOf(S);
    int i;
    return Find(S, i) ? i : -1;
}

bool TStringList::Find(StringView S, int& Index) const
{
    bool found = false;
    int l = 0;
    int h = Count() - 1;
    while (l <= h) {
        const int i = (l + h) / 2;
        const int c = CompareStrings(items_[static_cast<std::size_t>(i)].s, S);
        if (c < 0) {
            l = i + 1;
        } else {
            h = i - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != dupAccept)
                    l = i;
            }
        }
    }
    Index = l;
    return found;
}

void TStringList::Sort()
{
    CustomSort([](TStringList* list, int a, int b) {
        return list->CompareStrings(list->items_[static_cast<std::size_t>(a)].s,
                                    list->items_[static_cast<std::size_t>(b)].s);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
    if (Count() < 2)
        return;
    Changing();
    // The comparer sees indexes into the unchanged list; the order is applied afterwards.
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order)
        sorted.push_back(std::move(items_[static_cast<std::size_t>(i)]));
    items_.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool Value)
{
    if (Value == sorted_)
        return;
    if (Value)
        Sort();
    sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (Value == CaseSensitive())
        return;
    TStrings::SetCaseSensitive(Value);
    if (sorted_)
        Sort();
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating)
        Changing();
    else
        Changed();
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

} // namespace plat
