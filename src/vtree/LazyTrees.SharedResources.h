#pragma once
// Resources every tree of the process shares: the check and utility image lists, the
// registered clipboard formats, two platform probes and the lock that guards reloading an
// image strip. They come into being with the first tree and stay until the module ends;
// destroying the last tree does not free them. Also the control's error class.
#include <cstdint>
#include <utility>

#include "LazyTrees.TreeClass.h"
#include "plat/Exception.h"
#include "plat/String.h"

namespace plat {
class TBitmap;
class TImageList;
class TCustomImageList;
} // namespace plat

namespace vtree {

using plat::String;

class TCriticalSection;

// Errors caused by data or callers; HelpContext carries the error number.
class ELazyTreeError : public plat::Exception {
public:
    ELazyTreeError(String Message, int HelpContext)
        : plat::Exception(std::move(Message)), FHelpContext(HelpContext) {}
    int HelpContext() const { return FHelpContext; }

private:
    int FHelpContext;
};

// Error numbers and their messages.
constexpr int hcTFWrongMoveError = 2001;
constexpr int hcTFWrongStreamFormat = 2002;
constexpr int hcTFWrongStreamVersion = 2003;
constexpr int hcTFStreamTooSmall = 2004;
constexpr int hcTFCorruptStream1 = 2005;
constexpr int hcTFCorruptStream2 = 2006;
constexpr int hcTFClipboardFailed = 2007;

extern const char16_t* const SWrongMoveError;
extern const char16_t* const SWrongStreamFormat;
extern const char16_t* const SWrongStreamVersion;
extern const char16_t* const SStreamTooSmall;
extern const char16_t* const SCorruptStream1;
extern const char16_t* const SCorruptStream2;
extern const char16_t* const SClipboardFailed;

[[noreturn]] void RaiseTreeError(const String& Msg, int HelpContext);

// Class records of the two tree classes the shared formats are bound to.
extern const TLazyTreeClassInfo BaseLazyTreeClass;
extern const TLazyTreeClassInfo CustomLazyStringTreeClass;

// Valid from the first PrepareSharedResources until ReleaseSharedResources.
extern TCriticalSection* SharedImageLock;
extern bool CpuHasMmx;
extern bool SystemIsVistaOrLater;
extern bool OleWasInitialized;

extern std::uint16_t TreeReferenceFormat;
extern std::uint16_t TreeDataFormat;
extern std::uint16_t HtmlFormat;
extern std::uint16_t RtfNoObjectsFormat;
extern std::uint16_t RtfFormat;
extern std::uint16_t CsvFormat;

extern plat::TImageList* CheckLightList;
extern plat::TImageList* CheckDarkList;
extern plat::TImageList* TickLightList;
extern plat::TImageList* TickDarkList;
extern plat::TImageList* CheckFlatList;
extern plat::TImageList* CheckXPList;
extern plat::TImageList* UtilitiesList;
extern plat::TImageList* SystemDrawnCheckList;
extern plat::TImageList* SystemDrawnFlatCheckList;

// Runs the set-up once per process. A caller that arrives while another thread is setting
// up waits for it, so no tree ever sees the lists or formats half made. A set-up that fails
// leaves nothing behind and is tried again by the next caller.
void PrepareSharedResources();
// Frees what the set-up made; a later PrepareSharedResources sets up anew.
void ReleaseSharedResources();
// True once the set-up has completed and until the release.
bool SharedResourcesReady();

// Refills ImageList from the named strip (square cells, left to right). With MapColors
// white, silver and grey become the window, button-face and button-shadow colours. A
// missing strip fails an assertion and leaves the list as it was.
void LoadStripIntoImageList(plat::TCustomImageList* ImageList, const String& ResourceName, bool MapColors);
// Refills ImageList with (width div height) square cells of Strip; the top-left pixel is
// the mask colour. An empty strip leaves the list as it was.
void FillImageListFromStrip(plat::TCustomImageList* ImageList, const plat::TBitmap& Strip);
// The strip picture of that name, drawn on demand; false for an unknown name.
bool LoadStripResource(const String& ResourceName, bool MapColors, plat::TBitmap& Strip);

// Builds one of the two lists drawn by the system: 25 cells, cell 0 empty.
void CreateSystemCheckImages(plat::TImageList*& List, unsigned Flags, bool Flat);

} // namespace vtree
