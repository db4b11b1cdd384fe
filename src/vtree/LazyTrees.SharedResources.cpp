#include "LazyTrees.SharedResources.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "LazyTrees.Assert.h"
#include "LazyTrees.ClipBoard.h"
#include "LazyTrees.Classes.h"
#include "LazyTrees.Utils.h"
#include "plat/Controls.h"
#include "plat/Graphics.h"
#include "plat/Forms.h"
#include "plat/Resources.h"
#include "plat/ImgList.h"

namespace vtree {

const char16_t* const SWrongMoveError = u"Target node cannot be a child node of the node to be moved.";
const char16_t* const SWrongStreamFormat = u"Unable to load tree structure, the format is wrong.";
const char16_t* const SWrongStreamVersion = u"Unable to load tree structure, the version is unknown.";
const char16_t* const SStreamTooSmall = u"Unable to load tree structure, not enough data available.";
const char16_t* const SCorruptStream1 = u"Stream data corrupt. A node's anchor chunk is missing.";
const char16_t* const SCorruptStream2 = u"Stream data corrupt. Unexpected data after node's end position.";
const char16_t* const SClipboardFailed = u"Clipboard operation failed.";

void RaiseTreeError(const String& Msg, int HelpContext)
{
    throw ELazyTreeError(Msg, HelpContext);
}

const TLazyTreeClassInfo BaseLazyTreeClass{u"TBaseLazyTree", nullptr};
const TLazyTreeClassInfo CustomLazyStringTreeClass{u"TCustomLazyStringTree", &BaseLazyTreeClass};

TCriticalSection* SharedImageLock = nullptr;
bool CpuHasMmx = false;
bool SystemIsVistaOrLater = false;
bool OleWasInitialized = false;

std::uint16_t TreeReferenceFormat = 0;
std::uint16_t TreeDataFormat = 0;
std::uint16_t HtmlFormat = 0;
std::uint16_t RtfNoObjectsFormat = 0;
std::uint16_t RtfFormat = 0;
std::uint16_t CsvFormat = 0;

plat::TImageList* CheckLightList = nullptr;
plat::TImageList* CheckDarkList = nullptr;
plat::TImageList* TickLightList = nullptr;
plat::TImageList* TickDarkList = nullptr;
plat::TImageList* CheckFlatList = nullptr;
plat::TImageList* CheckXPList = nullptr;
plat::TImageList* UtilitiesList = nullptr;
plat::TImageList* SystemDrawnCheckList = nullptr;
plat::TImageList* SystemDrawnFlatCheckList = nullptr;

namespace {

// ---- The strip pictures -------------------------------------------------------------
//
// Drawn pixel by pixel so that no smoothed edge mixes a shape's colour with the mask
// colour around it. Colours that follow the system scheme are drawn as white, silver and
// grey and mapped afterwards.

constexpr plat::TColor MaskColor = plat::clFuchsia;
constexpr int Cell = 16;

struct Painter {
    plat::TCanvas* C;
    int X0;  // left edge of the cell being drawn

    void Pixel(int x, int y, plat::TColor c) const
    {
        if (x >= 0 && x < Cell && y >= 0 && y < Cell)
            C->SetPixels(X0 + x, y, c);
    }
    void Fill(int l, int t, int r, int b, plat::TColor c) const
    {
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x)
                Pixel(x, y, c);
    }
    void Frame(int l, int t, int r, int b, plat::TColor c) const
    {
        for (int x = l; x < r; ++x) {
            Pixel(x, t, c);
            Pixel(x, b - 1, c);
        }
        for (int y = t; y < b; ++y) {
            Pixel(l, y, c);
            Pixel(r - 1, y, c);
        }
    }
    // Disc of radius R (in half pixels) around the cell centre; Inner > 0 leaves a ring.
    void Disc(int R, int Inner, plat::TColor c) const
    {
        for (int y = 0; y < Cell; ++y)
            for (int x = 0; x < Cell; ++x) {
                const int dx = 2 * x + 1 - Cell, dy = 2 * y + 1 - Cell;
                const int d2 = dx * dx + dy * dy;
                if (d2 <= R * R && d2 > Inner * Inner)
                    Pixel(x, y, c);
            }
    }
    // A tick from (l, m) down to (l + s, m + s) and up to (l + 3s, m - s), Thick pixels high.
    void Tick(int l, int m, int s, int Thick, plat::TColor c) const
    {
        for (int i = 0; i <= s; ++i)
            for (int t = 0; t < Thick; ++t)
                Pixel(l + i, m + i + t, c);
        for (int i = 1; i <= 2 * s; ++i)
            for (int t = 0; t < Thick; ++t)
                Pixel(l + s + i, m + s - i + t, c);
    }
};

enum class CheckStyle { Light, Dark, TickLight, TickDark, Flat, XP };

// Cells: 0 empty; 1-4 radio unchecked, 5-8 radio checked, 9-12 box unchecked, 13-16 box
// checked, 17-20 box mixed, 21-24 push button; each group normal, hot, pressed, disabled.
void DrawCheckCell(const Painter& P, int Index, CheckStyle Style)
{
    if (Index == 0)
        return;
    const int group = (Index - 1) / 4;
    const int state = (Index - 1) % 4;
    const bool dark = Style == CheckStyle::Dark || Style == CheckStyle::TickDark;
    const bool xp = Style == CheckStyle::XP;
    const bool tick = Style == CheckStyle::TickLight || Style == CheckStyle::TickDark;

    plat::TColor face = dark ? plat::clSilver : plat::clWhite;
    plat::TColor frame = Style == CheckStyle::Flat ? plat::clBlack : plat::clGray;
    plat::TColor mark = plat::clBlack;
    if (xp) {
        face = 0xF4F4F4;
        frame = 0x80511C;
        mark = 0x21A121;
    }
    if (state == 1)  // hot
        frame = xp ? 0x3CC7FF : plat::clNavy;
    if (state == 2)  // pressed
        face = dark || xp ? plat::clGray : plat::clSilver;
    if (state == 3) {  // disabled
        face = plat::clSilver;
        mark = plat::clGray;
        frame = plat::clGray;
    }

    switch (group) {
    case 0:
    case 1:
        P.Disc(13, 0, frame);
        P.Disc(11, 0, face);
        if (group == 1)
            P.Disc(5, 0, mark);
        break;
    case 2:
    case 3:
    case 4:
        P.Fill(2, 2, 14, 14, face);
        P.Frame(2, 2, 14, 14, frame);
        if (Style != CheckStyle::Flat && !xp)
            P.Frame(3, 3, 13, 13, dark ? plat::clGray : plat::clSilver);
        if (group == 3) {
            if (tick)
                P.Tick(3, 7, 3, 3, mark);   // a bold tick reaching the frame
            else
                P.Tick(4, 7, 2, 2, mark);
        }
        if (group == 4)
            P.Fill(5, 5, 11, 11, tick ? mark : plat::clGray);
        break;
    default:  // push button
        P.Fill(0, 0, Cell, Cell, state == 2 ? plat::clGray : plat::clSilver);
        P.Frame(0, 0, Cell, Cell, state == 1 ? plat::clNavy : plat::clGray);
        break;
    }
}

// Cells: 0 and 1 drop marks at the left and right edge; 2 and 3 sort glyphs descending
// and ascending; 4 and 5 the small themed sort arrows (4 also marks a push-button cell as
// a drop-down); 6-8 unused.
void DrawUtilityCell(const Painter& P, int Index)
{
    const plat::TColor c = plat::clBlack;
    auto triangle = [&](int cx, int top, int rows, bool down) {
        for (int r = 0; r < rows; ++r) {
            const int half = down ? rows - 1 - r : r;
            for (int x = cx - half; x <= cx + half; ++x)
                P.Pixel(x, top + r, c);
        }
    };
    // The drop-mark bars leave the top row free: the strip's first pixel is its mask colour,
    // which the image list takes as the transparent one.
    switch (Index) {
    case 0:
        P.Fill(0, 1, 2, Cell, c);
        triangle(2, 4, 4, false);
        break;
    case 1:
        P.Fill(Cell - 2, 1, Cell, Cell, c);
        triangle(Cell - 3, 4, 4, false);
        break;
    case 2:
        triangle(7, 5, 5, true);
        break;
    case 3:
        triangle(7, 5, 5, false);
        break;
    case 4:
        triangle(7, 6, 3, true);
        break;
    case 5:
        triangle(7, 6, 3, false);
        break;
    default:
        break;
    }
}

void MapSystemColors(plat::TBitmap& B)
{
    const plat::TColor window = plat::ColorToRGB(plat::clWindow);
    const plat::TColor face = plat::ColorToRGB(plat::clBtnFace);
    const plat::TColor shadow = plat::ColorToRGB(plat::clBtnShadow);
    plat::TCanvas* c = B.Canvas();
    for (int y = 0; y < B.Height(); ++y)
        for (int x = 0; x < B.Width(); ++x) {
            const plat::TColor p = c->Pixels(x, y);
            if (p == plat::clWhite)
                c->SetPixels(x, y, window);
            else if (p == plat::clSilver)
                c->SetPixels(x, y, face);
            else if (p == plat::clGray)
                c->SetPixels(x, y, shadow);
        }
}

struct StripInfo {
    const char16_t* Name;
    int Cells;
    plat::TPixelFormat Format;
    int Style;  // a CheckStyle, or -1 for the utility strip
};

constexpr StripInfo Strips[] = {
    {u"LT_CHECK_LIGHT", 25, plat::pf4bit, static_cast<int>(CheckStyle::Light)},
    {u"LT_CHECK_DARK", 25, plat::pf4bit, static_cast<int>(CheckStyle::Dark)},
    {u"LT_TICK_LIGHT", 25, plat::pf4bit, static_cast<int>(CheckStyle::TickLight)},
    {u"LT_TICK_DARK", 25, plat::pf4bit, static_cast<int>(CheckStyle::TickDark)},
    {u"LT_FLAT", 25, plat::pf4bit, static_cast<int>(CheckStyle::Flat)},
    {u"LT_XP", 25, plat::pf24bit, static_cast<int>(CheckStyle::XP)},
    {u"LT_UTILITIES", 9, plat::pf8bit, -1},
};

// ---- Set-up state ---------------------------------------------------------------------

std::mutex SetUpMutex;
std::atomic<bool> Ready{false};
// The formats stay registered for the life of the process, across a release.
bool FormatsRegistered = false;

plat::TImageList** const AllLists[] = {
    &CheckLightList, &CheckDarkList, &TickLightList, &TickDarkList, &CheckFlatList,
    &CheckXPList, &UtilitiesList, &SystemDrawnCheckList, &SystemDrawnFlatCheckList,
};

// Caller holds SetUpMutex.
void FreeResources()
{
    for (plat::TImageList** list : AllLists) {
        delete *list;
        *list = nullptr;
    }
    delete SharedImageLock;
    SharedImageLock = nullptr;
    OleWasInitialized = false;
}

plat::TImageList* NewStripList(const char16_t* Resource, bool MapColors)
{
    auto* list = new plat::TImageList(nullptr);
    list->SetSize(Cell, Cell);
    try {
        LoadStripIntoImageList(list, Resource, MapColors);
    } catch (...) {
        delete list;
        throw;
    }
    return list;
}

void RunSetUp()
{
    SharedImageLock = new TCriticalSection;
    CpuHasMmx = CpuSupportsMmx();
    // The layer offers everything the newer platform generation did.
    SystemIsVistaOrLater = true;
    // The layer's data exchange needs no per-thread initialisation: nothing to undo later.
    OleWasInitialized = false;

    // Tree references never leave the process, so they are not offered through the registry.
    TreeReferenceFormat = static_cast<std::uint16_t>(plat::RegisterClipboardFormat(u"Lazy Tree Reference"));

    CheckLightList = NewStripList(u"LT_CHECK_LIGHT", true);
    CheckDarkList = NewStripList(u"LT_CHECK_DARK", true);
    TickLightList = NewStripList(u"LT_TICK_LIGHT", true);
    TickDarkList = NewStripList(u"LT_TICK_DARK", true);
    CheckFlatList = NewStripList(u"LT_FLAT", true);
    CheckXPList = NewStripList(u"LT_XP", false);
    UtilitiesList = NewStripList(u"LT_UTILITIES", true);
    constexpr unsigned ColorAndMask = 33;
    CreateSystemCheckImages(SystemDrawnCheckList, ColorAndMask, false);
    CreateSystemCheckImages(SystemDrawnFlatCheckList, ColorAndMask, true);
    // The column-edge and header-edge cursors of the header (and the node-height cursor).
    if (plat::Screen) {
        plat::Screen->SetCursors(63, plat::LoadCursorResource(u"LT_HEADERSPLIT"));
        plat::Screen->SetCursors(62, plat::LoadCursorResource(u"LT_VERTSPLIT"));
    }

    if (FormatsRegistered)
        return;
    TreeDataFormat = RegisterNamedClipboardFormat(u"Lazy Tree Data", &BaseLazyTreeClass, 50);
    HtmlFormat = RegisterNamedClipboardFormat(u"HTML Format", &CustomLazyStringTreeClass, 80);
    RtfNoObjectsFormat =
        RegisterNamedClipboardFormat(u"Rich Text Format Without Objects", &CustomLazyStringTreeClass, 84);
    RtfFormat = RegisterNamedClipboardFormat(u"Rich Text Format", &CustomLazyStringTreeClass, 85);
    CsvFormat = RegisterNamedClipboardFormat(u"CSV", &CustomLazyStringTreeClass, 90);
    RegisterPredefinedClipboardFormat(1, &CustomLazyStringTreeClass, 100);   // plain text
    RegisterPredefinedClipboardFormat(13, &CustomLazyStringTreeClass, 95);   // Unicode text
    FormatsRegistered = true;
}

// The module's end frees what is still held.
struct Finalizer {
    ~Finalizer() { ReleaseSharedResources(); }
} TheFinalizer;

} // namespace

bool LoadStripResource(const String& ResourceName, bool MapColors, plat::TBitmap& Strip)
{
    for (const StripInfo& info : Strips) {
        if (ResourceName != info.Name)
            continue;
        Strip.SetSize(info.Cells * Cell, Cell);
        Strip.SetPixelFormat(info.Format);
        plat::TCanvas* c = Strip.Canvas();
        c->Brush()->SetColor(MaskColor);
        c->FillRect(plat::TRect{0, 0, info.Cells * Cell, Cell});
        for (int i = 0; i < info.Cells; ++i) {
            const Painter p{c, i * Cell};
            if (info.Style < 0)
                DrawUtilityCell(p, i);
            else
                DrawCheckCell(p, i, static_cast<CheckStyle>(info.Style));
        }
        if (MapColors)
            MapSystemColors(Strip);
        return true;
    }
    return false;
}

void FillImageListFromStrip(plat::TCustomImageList* ImageList, const plat::TBitmap& Strip)
{
    const int h = Strip.Height();
    if (h <= 0)
        return;
    plat::TBitmap source;
    source.Assign(Strip);
    const plat::TColor mask = source.Canvas()->Pixels(0, 0);
    ImageList->Clear();
    ImageList->SetHeight(h);
    ImageList->SetWidth(h);
    plat::TBitmap cell(h, h);
    const int count = Strip.Width() / h;
    for (int i = 0; i < count; ++i) {
        cell.Canvas()->CopyRect(plat::TRect{0, 0, h, h}, source.Canvas(), plat::TRect{i * h, 0, i * h + h, h});
        ImageList->AddMasked(&cell, mask);
    }
}

void LoadStripIntoImageList(plat::TCustomImageList* ImageList, const String& ResourceName, bool MapColors)
{
    // Without the lock (only during the set-up itself) there is no other tree to race with.
    TCriticalSection* lock = SharedImageLock;
    if (lock)
        lock->Enter();
    try {
        plat::TBitmap strip;
        if (!LoadStripResource(ResourceName, MapColors, strip) || strip.Height() < 1)
            throw EAssertionFailed(u"Internal image \"" + ResourceName + u"\" is missing or corrupt.");
        FillImageListFromStrip(ImageList, strip);
    } catch (...) {
        if (lock)
            lock->Leave();
        throw;
    }
    if (lock)
        lock->Leave();
}

void CreateSystemCheckImages(plat::TImageList*& List, [[maybe_unused]] unsigned Flags, bool Flat)
{
    // The layer has no separate menu check-mark metric; the drawn cells match the strips.
    const int cx = Cell, cy = Cell;
    constexpr plat::TColor Red = plat::clRed;
    auto* list = new plat::TImageList(nullptr);
    list->SetSize(cx, cy);
    plat::TBitmap bmp(cx, cy);
    plat::TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(Red);
    const plat::TRect all{0, 0, cx, cy};
    c->FillRect(all);
    list->AddMasked(&bmp, Red);
    for (int i = 0; i < 20; ++i) {
        c->Brush()->SetColor(Red);
        c->FillRect(all);
        unsigned state = i < 8 ? plat::DFCS_BUTTONRADIO : plat::DFCS_BUTTONCHECK;
        if (i >= 16)
            state |= plat::DFCS_BUTTON3STATE;
        switch (i % 4) {
        case 1: state |= plat::DFCS_HOT; break;
        case 2: state |= plat::DFCS_PUSHED; break;
        case 3: state |= plat::DFCS_INACTIVE; break;
        default: break;
        }
        if ((i >= 4 && i <= 7) || (i >= 12 && i <= 19))
            state |= plat::DFCS_CHECKED;
        if (Flat)
            state |= plat::DFCS_FLAT;
        plat::DrawFrameControl(c, all, plat::DFC_BUTTON, state);
        list->AddMasked(&bmp, Red);
    }
    const plat::TImageList* source = Flat ? CheckFlatList : CheckDarkList;
    for (int i = 21; i <= 24; ++i) {
        c->Brush()->SetColor(Red);
        c->FillRect(all);
        if (source)
            source->Draw(c, (cx - 16) / 2, (cy - 16) / 2, i);
        list->AddMasked(&bmp, Red);
    }
    delete List;
    List = list;
}

void PrepareSharedResources()
{
    if (Ready.load(std::memory_order_acquire))
        return;
    // A second caller waits here until the first has finished, rather than going on with
    // lists and formats not yet made.
    std::lock_guard<std::mutex> guard(SetUpMutex);
    if (Ready.load(std::memory_order_relaxed))
        return;
    try {
        RunSetUp();
    } catch (...) {
        FreeResources();
        throw;
    }
    Ready.store(true, std::memory_order_release);
}

void ReleaseSharedResources()
{
    std::lock_guard<std::mutex> guard(SetUpMutex);
    if (!Ready.load(std::memory_order_relaxed))
        return;
    Ready.store(false, std::memory_order_release);
    FreeResources();
}

bool SharedResourcesReady()
{
    return Ready.load(std::memory_order_acquire);
}

} // namespace vtree
