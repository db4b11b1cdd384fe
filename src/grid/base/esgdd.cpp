#include "esgdd.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

#include "plat/Controls.h"
#include "plat/Exception.h"

namespace grid {

using plat::HRESULT;
using plat::TDropEffect;
using plat::TFormatEtc;
using plat::TStgMedium;
using plat::UINT;

namespace {

std::atomic<bool> g_rtf{false};

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::vector<std::uint8_t> AnsiBytes(const String& text) {
    const plat::AnsiString a = plat::StringToAnsi(text);
    std::vector<std::uint8_t> out(a.begin(), a.end());
    out.push_back(0);
    return out;
}

std::vector<std::uint8_t> WideBytes(const String& text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() * 2 + 2);
    for (char16_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

// Text up to the first NUL unit (or the end of the block).
String WideText(std::span<const std::uint8_t> b) {
    String s;
    for (std::size_t i = 0; i + 1 < b.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(b[i] | (b[i + 1] << 8));
        if (c == 0) break;
        s += c;
    }
    return s;
}

String AnsiText(std::span<const std::uint8_t> b) {
    const auto end = std::find(b.begin(), b.end(), std::uint8_t{0});
    return plat::AnsiToString(std::string_view(reinterpret_cast<const char*>(b.data()), static_cast<std::size_t>(end - b.begin())));
}

// The key rule: Ctrl copies; otherwise move when the source allows it, else copy.
TDropEffect KeyEffect(std::uint32_t keyState, TDropEffect allowed) {
    if (keyState & plat::MK_CONTROL) return plat::DROPEFFECT_COPY;
    return (allowed & plat::DROPEFFECT_MOVE) ? plat::DROPEFFECT_MOVE : plat::DROPEFFECT_COPY;
}

bool Transferable(const TFormatEtc& f) { return f.Aspect == plat::DVASPECT_CONTENT && (f.Tymed & plat::TYMED_HGLOBAL); }

} // namespace

bool OleDropRTF() { return g_rtf.load(); }
void SetOleDropRTF(bool Value) { g_rtf.store(Value); }

UINT CF_RTF() { return plat::RegisterClipboardFormat(u"Rich Text Format"); }
UINT CF_GRIDCOLUMN() { return plat::RegisterClipboardFormat(u"Grid Column"); }
UINT CF_GRIDCELLS() { return plat::RegisterClipboardFormat(u"TExtStringGrid Cells"); }
UINT CF_URL() { return plat::RegisterClipboardFormat(u"UniformResourceLocator"); }

// ---- blocks -----------------------------------------------------------------------------

std::vector<std::uint8_t> MakeGridCellsBlock(const std::string& Cells) {
    std::vector<std::uint8_t> out;
    out.reserve(8 + Cells.size());
    Put32(out, static_cast<std::uint32_t>(Cells.size()));
    Put32(out, 0);
    out.insert(out.end(), Cells.begin(), Cells.end());
    return out;
}

bool ReadGridCellsBlock(std::span<const std::uint8_t> Block, std::string& Cells) {
    if (Block.size() < 8) return false;
    const std::uint64_t n = Get32(Block, 0);
    if (n > Block.size() - 8) return false;
    Cells.assign(reinterpret_cast<const char*>(Block.data() + 8), static_cast<std::size_t>(n));
    return true;
}

std::vector<std::uint8_t> MakeFileDropList(const std::vector<String>& Names, bool Wide) {
    std::vector<std::uint8_t> out;
    Put32(out, 20);  // offset of the names
    Put32(out, 0);   // drop point
    Put32(out, 0);
    Put32(out, 0);   // non-client flag
    Put32(out, Wide ? 1 : 0);
    for (const String& n : Names) {
        const std::vector<std::uint8_t> b = Wide ? WideBytes(n) : AnsiBytes(n);
        out.insert(out.end(), b.begin(), b.end());
    }
    out.push_back(0);
    if (Wide) out.push_back(0);
    return out;
}

bool ReadFileDropList(std::span<const std::uint8_t> Block, std::vector<String>& Names) {
    Names.clear();
    if (Block.size() < 20) return false;
    const std::uint64_t offset = Get32(Block, 0);
    const bool wide = Get32(Block, 16) != 0;
    if (offset < 20 || offset > Block.size()) return false;
    const std::size_t unit = wide ? 2 : 1;
    std::vector<String> names;
    std::size_t at = static_cast<std::size_t>(offset);
    for (;;) {
        // Each name must end inside the block; the list ends with an empty name.
        std::size_t end = at;
        bool ended = false;
        while (end + unit <= Block.size()) {
            const bool nul = wide ? (Block[end] == 0 && Block[end + 1] == 0) : Block[end] == 0;
            if (nul) {
                ended = true;
                break;
            }
            end += unit;
        }
        if (!ended) return false;
        if (end == at) break;
        const std::span<const std::uint8_t> name = Block.subspan(at, end - at + unit);
        names.push_back(wide ? WideText(name) : AnsiText(name));
        at = end + unit;
    }
    Names = std::move(names);
    return true;
}

// ---- data object ------------------------------------------------------------------------

TSourceDataObject::TSourceDataObject(String Text, String RTF, int ColIndex, const plat::TMemoryStream* Cells)
    : textdata(std::move(Text)), rtfdata(std::move(RTF)), scolidx(ColIndex), memstr(Cells) {}

HRESULT TSourceDataObject::QueryGetData(const TFormatEtc& Format) {
    if (!Transferable(Format)) return plat::DV_E_FORMATETC;
    const UINT f = Format.Format;
    if ((f == plat::CF_TEXT || f == plat::CF_UNICODETEXT) && !textdata.empty()) return plat::S_OK;
    if (f == CF_RTF() && !textdata.empty() && OleDropRTF()) return plat::S_OK;
    if (f == CF_GRIDCELLS() && memstr) return plat::S_OK;
    if (f == CF_GRIDCOLUMN() && scolidx != -1) return plat::S_OK;
    return plat::DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(const TFormatEtc& Format, TStgMedium& Medium) {
    Medium = TStgMedium{};
    if (QueryGetData(Format) != plat::S_OK) return plat::DV_E_FORMATETC;
    const UINT f = Format.Format;
    std::vector<std::uint8_t> block;
    if (f == plat::CF_TEXT) {
        block = AnsiBytes(textdata);
    } else if (f == plat::CF_UNICODETEXT) {
        block = WideBytes(textdata);
    } else if (f == CF_RTF()) {
        block = AnsiBytes(rtfdata);
    } else if (f == CF_GRIDCOLUMN()) {
        Put32(block, static_cast<std::uint32_t>(scolidx));
    } else {
        block = MakeGridCellsBlock(memstr->Bytes());
    }
    Medium.Tymed = plat::TYMED_HGLOBAL;
    Medium.Global = std::move(block);
    return plat::S_OK;
}

HRESULT TSourceDataObject::GetDataHere(const TFormatEtc&, TStgMedium&) { return plat::DV_E_FORMATETC; }
HRESULT TSourceDataObject::SetData(const TFormatEtc&, const TStgMedium&, bool) { return plat::DV_E_FORMATETC; }

HRESULT TSourceDataObject::GetCanonicalFormatEtc(const TFormatEtc& In, TFormatEtc& Out) {
    Out = In;
    return plat::E_NOTIMPL;
}

HRESULT TSourceDataObject::EnumFormatEtc(int Direction, std::shared_ptr<plat::IEnumFormatEtc>& Out) {
    Out.reset();
    if (Direction != plat::DATADIR_GET) return plat::E_NOTIMPL;
    Out = std::make_shared<TSourceEnumFormatEtc>(scolidx != -1, memstr != nullptr);
    return plat::S_OK;
}

// ---- format enumerator --------------------------------------------------------------------

TSourceEnumFormatEtc::TSourceEnumFormatEtc(bool HasCol, bool HasGridCells, int Index)
    : FIndex(Index), FHasCol(HasCol), FHasGridCells(HasGridCells) {}

std::vector<UINT> TSourceEnumFormatEtc::Formats() const {
    std::vector<UINT> f = {plat::CF_TEXT, plat::CF_UNICODETEXT, CF_RTF()};
    if (FHasCol) f.push_back(CF_GRIDCOLUMN());
    if (FHasGridCells) f.push_back(CF_GRIDCELLS());
    return f;
}

HRESULT TSourceEnumFormatEtc::Next(std::uint32_t Count, TFormatEtc* Out, std::uint32_t* Fetched) {
    const std::vector<UINT> f = Formats();
    std::uint32_t n = 0;
    while (n < Count && FIndex < static_cast<int>(f.size())) {
        Out[n] = TFormatEtc{f[static_cast<std::size_t>(FIndex)], plat::DVASPECT_CONTENT, -1, plat::TYMED_HGLOBAL};
        ++n;
        ++FIndex;
    }
    if (Fetched) *Fetched = n;
    return n == Count ? plat::S_OK : plat::S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(std::uint32_t Count) {
    const int size = static_cast<int>(Formats().size());
    if (static_cast<std::int64_t>(FIndex) + Count > size) {
        FIndex = size;
        return plat::S_FALSE;
    }
    FIndex += static_cast<int>(Count);
    return plat::S_OK;
}

HRESULT TSourceEnumFormatEtc::Reset() {
    FIndex = 0;
    return plat::S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(std::shared_ptr<plat::IEnumFormatEtc>& Out) {
    Out = std::make_shared<TSourceEnumFormatEtc>(FHasCol, FHasGridCells, FIndex);
    return plat::S_OK;
}

// ---- drop source --------------------------------------------------------------------------

HRESULT TESGDropSource::QueryContinueDrag(bool EscapePressed, std::uint32_t KeyState) {
    HRESULT r = plat::S_OK;
    if (EscapePressed) {
        DragEnded();
        r = plat::DRAGDROP_S_CANCEL;
    } else if (!(KeyState & plat::MK_LBUTTON)) {
        DragEnded();
        r = plat::DRAGDROP_S_DROP;
    }
    QueryDrag();
    return r;
}

HRESULT TESGDropSource::GiveFeedback(TDropEffect Effect) {
    FNoAccept = Effect == plat::DROPEFFECT_NONE;
    CurrentEffect(Effect);
    return plat::DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---- drop target --------------------------------------------------------------------------

HRESULT TESGDropTarget::DragEnter(const std::shared_ptr<plat::IDataObject>& Data, std::uint32_t KeyState, plat::TPoint,
                                  TDropEffect& Effect) {
    TEnumFormats f(Data);
    const bool text = f.HasText(), file = f.HasFile(), rtf = f.HasRTF(), col = f.HasCol(), url = f.HasURL(),
               cells = f.HasGridCells();
    FOk = (text && AcceptText) || (file && AcceptFiles) || (rtf && OleDropRTF() && AcceptText) || (col && AcceptCols) ||
          (url && AcceptURLs) || cells;
    FDropFormats = 0;
    if (text) FDropFormats |= DropFormatBit(dfText);
    if (file) FDropFormats |= DropFormatBit(dfFile);
    if (rtf) FDropFormats |= DropFormatBit(dfRTF);
    if (col) FDropFormats |= DropFormatBit(dfCol);
    if (url) FDropFormats |= DropFormatBit(dfURL);
    if (cells) FDropFormats |= DropFormatBit(dfGridCells);
    Effect = FOk ? KeyEffect(KeyState, Effect) : plat::DROPEFFECT_NONE;
    DragMouseEnter();
    return plat::S_OK;
}

HRESULT TESGDropTarget::DragOver(std::uint32_t KeyState, plat::TPoint Pt, TDropEffect& Effect) {
    Effect = FOk ? KeyEffect(KeyState, Effect) : plat::DROPEFFECT_NONE;
    bool allow = Effect != plat::DROPEFFECT_NONE;
    DragMouseMove(Pt, allow, FDropFormats);
    if (!allow) Effect = plat::DROPEFFECT_NONE;
    return plat::S_OK;
}

HRESULT TESGDropTarget::DragLeave() {
    DragMouseLeave();
    return plat::S_OK;
}

HRESULT TESGDropTarget::Drop(const std::shared_ptr<plat::IDataObject>& Data, std::uint32_t KeyState, plat::TPoint Pt,
                             TDropEffect& Effect) {
    if (!FOk) {
        Effect = plat::DROPEFFECT_NONE;
        return plat::S_OK;
    }
    TEnumFormats f(Data);
    if (f.HasCol()) {
        DropCol(Pt, f.Col());
    } else if (f.HasGridCells()) {
        // A malformed foreign block drops nothing.
        if (auto s = f.Stream()) DropStream(Pt, std::move(s));
    } else if (f.HasRTF() && OleDropRTF()) {
        DropRTF(Pt, f.RTF());
    } else if (f.HasText()) {
        DropText(Pt, f.Text());
    }
    if (f.HasFile() && f.ReadFiles()) DropFiles(Pt, f.Files());
    if (f.HasURL()) DropURL(Pt, f.Text());
    Effect = KeyEffect(KeyState, Effect);
    return plat::S_OK;
}

// ---- reader of a foreign data object -----------------------------------------------------

TEnumFormats::TEnumFormats(std::shared_ptr<plat::IDataObject> Data) {
    CF_RTF();
    CF_GRIDCOLUMN();
    CF_GRIDCELLS();
    CF_URL();
    SetDataObject(std::move(Data));
}

void TEnumFormats::SetDataObject(std::shared_ptr<plat::IDataObject> Data) {
    FDataObject = std::move(Data);
    FEnumerator.reset();
    if (!FDataObject || FDataObject->EnumFormatEtc(plat::DATADIR_GET, FEnumerator) != plat::S_OK || !FEnumerator)
        throw plat::Exception(u"Cannot get the format enumerator");
    Reset();
}

bool TEnumFormats::Reset() {
    FValid = false;
    FCount = 0;
    return FEnumerator && FEnumerator->Reset() == plat::S_OK;
}

bool TEnumFormats::Next() {
    ++FCount;
    std::uint32_t fetched = 0;
    FValid = FEnumerator && FEnumerator->Next(1, &FFormatEtc, &fetched) == plat::S_OK && fetched == 1;
    return FValid;
}

bool TEnumFormats::HasFormat(UINT Format) {
    Reset();
    while (Next())
        if (FFormatEtc.Format == Format) return true;
    return false;
}

std::vector<std::uint8_t> TEnumFormats::GlobalHandle() {
    if (!FValid || !(FFormatEtc.Tymed & plat::TYMED_HGLOBAL)) return {};
    TFormatEtc f = FFormatEtc;
    f.Tymed = plat::TYMED_HGLOBAL;
    TStgMedium m;
    if (FDataObject->GetData(f, m) != plat::S_OK || m.Tymed != plat::TYMED_HGLOBAL) return {};
    return std::move(m.Global);
}

String TEnumFormats::Text() {
    if (!HasFormat(plat::CF_UNICODETEXT)) return {};
    const std::vector<std::uint8_t> b = GlobalHandle();
    return WideText(b);
}

String TEnumFormats::RTF() {
    if (!HasFormat(CF_RTF())) return {};
    const std::vector<std::uint8_t> b = GlobalHandle();
    return AnsiText(b);
}

int TEnumFormats::Col() {
    if (!HasFormat(CF_GRIDCOLUMN())) return -1;
    const std::vector<std::uint8_t> b = GlobalHandle();
    if (b.size() < 4) return -1;
    return static_cast<std::int32_t>(Get32(b, 0));
}

std::unique_ptr<plat::TMemoryStream> TEnumFormats::Stream() {
    if (!HasFormat(CF_GRIDCELLS())) return nullptr;
    const std::vector<std::uint8_t> b = GlobalHandle();
    std::string cells;
    if (!ReadGridCellsBlock(b, cells)) return nullptr;
    auto s = std::make_unique<plat::TMemoryStream>();
    s->LoadFromBytes(std::move(cells));
    return s;
}

bool TEnumFormats::ReadFiles() {
    FFiles.clear();
    if (!HasFormat(plat::CF_HDROP)) return false;
    const std::vector<std::uint8_t> b = GlobalHandle();
    std::vector<String> names;
    if (!ReadFileDropList(b, names)) return false;
    FFiles = std::move(names);
    return !FFiles.empty();
}

// ---- starting a drag ---------------------------------------------------------------------

HRESULT BeginTextDragDrop(const std::shared_ptr<TESGDropSource>& Source, const String& Text, const String& RTF,
                          plat::TDropEffect& Effect, plat::TDropEffect OkEffects, const plat::TMemoryStream* Cells) {
    auto data = std::make_shared<TSourceDataObject>(Text, RTF, -1, Cells);
    const HRESULT r = plat::DoDragDrop(data, Source, OkEffects, Effect);
    return Source && Source->NoAccept() ? plat::DRAGDROP_S_CANCEL : r;
}

HRESULT BeginColumnDragDrop(const std::shared_ptr<TESGDropSource>& Source, int Column, plat::TDropEffect OkEffects,
                            plat::TDropEffect& Effect) {
    auto data = std::make_shared<TSourceDataObject>(String(), String(), Column, nullptr);
    const HRESULT r = plat::DoDragDrop(data, Source, OkEffects, Effect);
    return Source && Source->NoAccept() ? plat::DRAGDROP_S_CANCEL : r;
}

} // namespace grid
