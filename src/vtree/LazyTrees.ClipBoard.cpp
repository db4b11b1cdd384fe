#include "LazyTrees.ClipBoard.h"

#include <algorithm>
#include <map>
#include <memory>

#include "plat/Controls.h"
#include "plat/SysUtils.h"
#include "plat/Threads.h"

namespace vtree {

const TClipboardFormatEntry ClipboardDescriptions[17] = {
    {1, u"Plain text"},
    {2, u"Windows bitmap"},
    {3, u"Windows metafile"},
    {4, u"Symbolic link"},
    {5, u"Data interchange format"},
    {6, u"Tiff image"},
    {7, u"OEM text"},
    {8, u"DIB image"},
    {9, u"Palette data"},
    {10, u"Pen data"},
    {11, u"Riff audio data"},
    {12, u"Wav audio data"},
    {13, u"Unicode text"},
    {14, u"Enhanced metafile image"},
    {15, u"File name(s)"},
    {16, u"Locale descriptor"},
    {17, u"DIB image V5"},
};

namespace {

// Trees on the UI thread and data objects rendered for other threads share the registry,
// so every access holds the lock.
struct Registry {
    plat::TCriticalSection Lock;
    std::vector<std::unique_ptr<TClipboardFormatListEntry>> List;
    // Names this process registered, by id, for predefined-format lookups of those ids.
    std::map<std::uint16_t, String> RegisteredNames;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

struct Locked {
    explicit Locked(Registry& r) : R(r) { R.Lock.Enter(); }
    ~Locked() { R.Lock.Leave(); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    Registry& R;
};

const TClipboardFormatListEntry* FindByName(const Registry& r, const String& FormatString)
{
    for (auto it = r.List.rbegin(); it != r.List.rend(); ++it)
        if (plat::AnsiSameText((*it)->Description, FormatString))
            return it->get();
    return nullptr;
}

} // namespace

void TClipboardFormatList::Add(const String& FormatString, TLazyTreeClass AClass, std::uint32_t Priority,
                               const TFormatEtc& AFormatEtc)
{
    auto entry = std::make_unique<TClipboardFormatListEntry>();
    entry->Description = FormatString;
    entry->TreeClass = AClass;
    entry->Priority = Priority;
    entry->FormatEtc = AFormatEtc;
    Locked lock(TheRegistry());
    auto& list = lock.R.List;
    list.push_back(std::move(entry));
    std::sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a->Priority < b->Priority; });
}

void TClipboardFormatList::Clear()
{
    Locked lock(TheRegistry());
    lock.R.List.clear();
}

int TClipboardFormatList::Count()
{
    Locked lock(TheRegistry());
    return static_cast<int>(lock.R.List.size());
}

std::vector<TClipboardFormatListEntry> TClipboardFormatList::Entries()
{
    Locked lock(TheRegistry());
    std::vector<TClipboardFormatListEntry> result;
    result.reserve(lock.R.List.size());
    for (const auto& e : lock.R.List)
        result.push_back(*e);
    return result;
}

void TClipboardFormatList::EnumerateFormats(TLazyTreeClass AClass, std::vector<TFormatEtc>& Formats,
                                            const plat::TStrings* AllowedFormats)
{
    Locked lock(TheRegistry());
    Formats.clear();
    Formats.reserve(lock.R.List.size());
    for (const auto& e : lock.R.List) {
        if (!InheritsFrom(AClass, e->TreeClass))
            continue;
        if (AllowedFormats && AllowedFormats->IndexOf(e->Description) < 0)
            continue;
        Formats.push_back(e->FormatEtc);
    }
}

void TClipboardFormatList::EnumerateFormats(TLazyTreeClass AClass, plat::TStrings* Formats)
{
    Locked lock(TheRegistry());
    for (const auto& e : lock.R.List)
        if (InheritsFrom(AClass, e->TreeClass))
            Formats->Add(e->Description);
}

bool TClipboardFormatList::FindFormat(const String& FormatString, TClipboardFormatListEntry& Entry)
{
    Locked lock(TheRegistry());
    const TClipboardFormatListEntry* e = FindByName(lock.R, FormatString);
    if (!e)
        return false;
    Entry = *e;
    return true;
}

TLazyTreeClass TClipboardFormatList::FindFormat(const String& FormatString, std::uint16_t& Fmt)
{
    Locked lock(TheRegistry());
    const TClipboardFormatListEntry* e = FindByName(lock.R, FormatString);
    if (!e)
        return nullptr;
    Fmt = e->FormatEtc.cfFormat;
    return e->TreeClass;
}

TLazyTreeClass TClipboardFormatList::FindFormat(std::uint16_t Fmt, String& Description)
{
    Locked lock(TheRegistry());
    const auto& list = lock.R.List;
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if ((*it)->FormatEtc.cfFormat == Fmt) {
            Description = (*it)->Description;
            return (*it)->TreeClass;
        }
    }
    return nullptr;
}

std::uint16_t RegisterNamedClipboardFormat(const String& Description, TLazyTreeClass TreeClass,
                                           std::uint32_t Priority, std::uint32_t tymed, void* ptd,
                                           std::uint32_t dwAspect, std::int32_t lindex)
{
    const auto id = static_cast<std::uint16_t>(plat::RegisterClipboardFormat(Description));
    {
        Locked lock(TheRegistry());
        lock.R.RegisteredNames.emplace(id, Description);
    }
    TFormatEtc formatEtc;
    formatEtc.cfFormat = id;
    formatEtc.ptd = ptd;
    formatEtc.dwAspect = dwAspect;
    formatEtc.lindex = lindex;
    formatEtc.tymed = tymed;
    TClipboardFormatList::Add(Description, TreeClass, Priority, formatEtc);
    return id;
}

void RegisterPredefinedClipboardFormat(std::uint16_t Format, TLazyTreeClass TreeClass, std::uint32_t Priority)
{
    String description;
    if (Format <= 17) {
        const auto* known =
            std::find_if(std::begin(ClipboardDescriptions), std::end(ClipboardDescriptions),
                         [Format](const TClipboardFormatEntry& e) { return e.ID == Format; });
        if (known == std::end(ClipboardDescriptions))
            return;
        description = known->Description;
    } else {
        // The platform layer offers no name lookup by id; the names this process registered
        // are the ones it can know.
        Locked lock(TheRegistry());
        const auto it = lock.R.RegisteredNames.find(Format);
        if (it != lock.R.RegisteredNames.end())
            description = it->second;
    }
    TFormatEtc formatEtc;
    formatEtc.cfFormat = Format;
    formatEtc.ptd = nullptr;
    formatEtc.dwAspect = DVASPECT_CONTENT;
    formatEtc.lindex = -1;
    formatEtc.tymed = TYMED_HGLOBAL;
    TClipboardFormatList::Add(description, TreeClass, Priority, formatEtc);
}

TClipboardFormats::TClipboardFormats(plat::TObject* Owner, TLazyTreeClass OwnerClass)
    : FOwner(Owner), FOwnerClass(OwnerClass)
{
    SetSorted(true);
    SetDuplicates(plat::dupIgnore);
}

bool TClipboardFormats::Accepts(const String& S) const
{
    std::uint16_t id = 0;
    const TLazyTreeClass cls = TClipboardFormatList::FindFormat(S, id);
    return cls && InheritsFrom(FOwnerClass, cls);
}

int TClipboardFormats::Add(const String& S)
{
    if (!Accepts(S))
        return -1;
    return plat::TStringList::Add(S);
}

void TClipboardFormats::Insert(int Index, const String& S)
{
    if (Accepts(S))
        plat::TStringList::Insert(Index, S);
}

void TClipboardFormats::AssignFormats(const plat::TStrings* Source)
{
    // Names are taken first, so assigning the list to itself keeps what it holds.
    std::vector<String> names;
    if (Source)
        for (int i = 0; i < Source->Count(); ++i)
            names.push_back(Source->Strings(i));
    BeginUpdate();
    Clear();
    for (const String& name : names)
        Add(name);
    EndUpdate();
}

} // namespace vtree
