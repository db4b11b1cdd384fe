#pragma once
// The process-wide registry of clipboard formats the trees can render, each bound to the
// least derived tree class that renders it and ranked by priority, and the per-tree list of
// format names a tree offers.
#include <cstdint>
#include <vector>

#include "LazyTrees.TreeClass.h"
#include "plat/Classes.h"
#include "plat/String.h"

namespace vtree {

using plat::String;

// Format descriptor of the data exchange: format id, target device, aspect, index and the
// medium kinds.
struct TFormatEtc {
    std::uint16_t cfFormat = 0;
    void* ptd = nullptr;
    std::uint32_t dwAspect = 0;
    std::int32_t lindex = 0;
    std::uint32_t tymed = 0;

    friend bool operator==(const TFormatEtc&, const TFormatEtc&) = default;
};

constexpr std::uint32_t DVASPECT_CONTENT = 1;
constexpr std::uint32_t TYMED_HGLOBAL = 1;

struct TClipboardFormatListEntry {
    String Description;
    TLazyTreeClass TreeClass = nullptr;
    std::uint32_t Priority = 0;
    TFormatEtc FormatEtc;
};

struct TClipboardFormatEntry {
    std::uint16_t ID;
    const char16_t* Description;
};

// The built-in names of the predefined formats 1 to 17, in id order.
extern const TClipboardFormatEntry ClipboardDescriptions[17];

// Class-level operations on the one registry; safe to call from any thread.
class TClipboardFormatList {
public:
    TClipboardFormatList() = delete;

    static void Add(const String& FormatString, TLazyTreeClass AClass, std::uint32_t Priority,
                    const TFormatEtc& AFormatEtc);
    static void Clear();
    static int Count();
    // The entries in registry order (ascending priority).
    static std::vector<TClipboardFormatListEntry> Entries();

    // Descriptors of the formats AClass or an ancestor renders, in registry order; with
    // AllowedFormats only those whose names the list holds.
    static void EnumerateFormats(TLazyTreeClass AClass, std::vector<TFormatEtc>& Formats,
                                 const plat::TStrings* AllowedFormats = nullptr);
    // Names of the formats AClass or an ancestor renders, in registry order.
    static void EnumerateFormats(TLazyTreeClass AClass, plat::TStrings* Formats);

    // Lookups search from the most recently sorted end, names case-insensitively.
    static bool FindFormat(const String& FormatString, TClipboardFormatListEntry& Entry);
    // The entry's class and id; nullptr (Fmt unchanged) when absent.
    static TLazyTreeClass FindFormat(const String& FormatString, std::uint16_t& Fmt);
    // The entry's class and name; nullptr (Description unchanged) when absent.
    static TLazyTreeClass FindFormat(std::uint16_t Fmt, String& Description);
};

// Registers Description with the platform, adds it to the registry and returns its id.
std::uint16_t RegisterNamedClipboardFormat(const String& Description, TLazyTreeClass TreeClass,
                                           std::uint32_t Priority, std::uint32_t tymed = TYMED_HGLOBAL,
                                           void* ptd = nullptr, std::uint32_t dwAspect = DVASPECT_CONTENT,
                                           std::int32_t lindex = -1);

// Adds a predefined format (ids below 0xC000) under its known name.
void RegisterPredefinedClipboardFormat(std::uint16_t Format, TLazyTreeClass TreeClass, std::uint32_t Priority);

// The format names one tree offers: sorted, each once, only names its class can render.
class TClipboardFormats : public plat::TStringList {
public:
    // Owner is the tree; OwnerClass its class reference.
    TClipboardFormats(plat::TObject* Owner, TLazyTreeClass OwnerClass);
    String ClassName() const override { return u"TClipboardFormats"; }

    plat::TObject* Owner() const { return FOwner; }

    // -1 when the name is not registered for the owner's class.
    int Add(const String& S) override;
    // Names the owner cannot render are ignored; others meet the sorted list's refusal.
    void Insert(int Index, const String& S) override;
    // Replaces the list with the names of Source that the owner can render.
    void AssignFormats(const plat::TStrings* Source);

private:
    bool Accepts(const String& S) const;

    plat::TObject* FOwner;
    TLazyTreeClass FOwnerClass;
};

} // namespace vtree
