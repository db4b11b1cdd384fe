#pragma once
// Drag-and-drop objects of the grids: a data object offering text, Unicode text, rich text, a
// column index and a block of grid cells (TSourceDataObject with its format enumerator), a
// drop source with the drag's end and feedback rules, a drop target that recognises the same
// formats plus file lists and URLs and hands each to an overridable hook, and a reader of a
// foreign data object (TEnumFormats).
//
// Foreign data is untrusted: a "TExtStringGrid Cells" block whose byte count exceeds the
// bytes received, and a file list whose name offset or names run past its end, are refused
// as a whole (nothing is read beyond the block).
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "plat/DragDrop.h"
#include "plat/Streams.h"
#include "plat/String.h"

namespace grid {

using plat::String;

enum TDropFormat { dfText, dfFile, dfCol, dfRTF, dfURL, dfGridCells };
// A set of TDropFormat: bit 1 << format (dfText 1, dfFile 2, dfCol 4, dfRTF 8, dfURL 16,
// dfGridCells 32).
using TDropFormats = unsigned;
constexpr TDropFormats DropFormatBit(TDropFormat F) { return 1u << static_cast<unsigned>(F); }

// Rich text is offered and taken only while this unit-wide switch is on (off at start).
bool OleDropRTF();
void SetOleDropRTF(bool Value);

// The registered formats (the same number every time).
plat::UINT CF_RTF();        // "Rich Text Format"
plat::UINT CF_GRIDCOLUMN(); // "Grid Column"
plat::UINT CF_GRIDCELLS();  // "TExtStringGrid Cells"
plat::UINT CF_URL();        // "UniformResourceLocator"

// A cell block: 32-bit byte count N, four zero bytes, then the N bytes of the cell stream.
std::vector<std::uint8_t> MakeGridCellsBlock(const std::string& Cells);
// The N bytes, or false when the block is shorter than its header or than N says.
bool ReadGridCellsBlock(std::span<const std::uint8_t> Block, std::string& Cells);
// A file list: the names' offset in the first 32-bit field, the wide-characters flag in the
// fifth; NUL-ended names ended by an empty name.
std::vector<std::uint8_t> MakeFileDropList(const std::vector<String>& Names, bool Wide);
// The names, or false when the offset lies outside the block or the list is not ended
// inside it.
bool ReadFileDropList(std::span<const std::uint8_t> Block, std::vector<String>& Names);

// The data object of one drag. The cell stream is not owned: the caller keeps it alive
// until the drag ends.
class TSourceDataObject : public plat::IDataObject {
public:
    TSourceDataObject(String Text, String RTF, int ColIndex, const plat::TMemoryStream* Cells);
    plat::HRESULT GetData(const plat::TFormatEtc& Format, plat::TStgMedium& Medium) override;
    plat::HRESULT GetDataHere(const plat::TFormatEtc& Format, plat::TStgMedium& Medium) override;
    plat::HRESULT QueryGetData(const plat::TFormatEtc& Format) override;
    plat::HRESULT GetCanonicalFormatEtc(const plat::TFormatEtc& In, plat::TFormatEtc& Out) override;
    plat::HRESULT SetData(const plat::TFormatEtc& Format, const plat::TStgMedium& Medium, bool Release) override;
    plat::HRESULT EnumFormatEtc(int Direction, std::shared_ptr<plat::IEnumFormatEtc>& Out) override;

private:
    String textdata, rtfdata;
    int scolidx = -1;
    const plat::TMemoryStream* memstr = nullptr;
};

// Plain text, Unicode text and rich text, then "Grid Column" and "TExtStringGrid Cells" when
// the object holds them.
class TSourceEnumFormatEtc : public plat::IEnumFormatEtc {
public:
    TSourceEnumFormatEtc(bool HasCol, bool HasGridCells, int Index = 0);
    plat::HRESULT Next(std::uint32_t Count, plat::TFormatEtc* Out, std::uint32_t* Fetched) override;
    plat::HRESULT Skip(std::uint32_t Count) override;
    plat::HRESULT Reset() override;
    plat::HRESULT Clone(std::shared_ptr<plat::IEnumFormatEtc>& Out) override;

private:
    std::vector<plat::UINT> Formats() const;
    int FIndex = 0;
    bool FHasCol = false, FHasGridCells = false;
};

class TESGDropSource : public plat::IDropSource {
public:
    // Escape cancels, a released left button drops; DragEnded on both, QueryDrag always.
    plat::HRESULT QueryContinueDrag(bool EscapePressed, std::uint32_t KeyState) override;
    plat::HRESULT GiveFeedback(plat::TDropEffect Effect) override;
    bool NoAccept() const { return FNoAccept; }
    virtual void DragEnded() {}
    virtual void CurrentEffect(plat::TDropEffect) {}
    virtual void QueryDrag() {}

protected:
    bool FNoAccept = false;
};

class TESGDropTarget : public plat::IDropTarget {
public:
    plat::HRESULT DragEnter(const std::shared_ptr<plat::IDataObject>& Data, std::uint32_t KeyState, plat::TPoint Pt,
                            plat::TDropEffect& Effect) override;
    plat::HRESULT DragOver(std::uint32_t KeyState, plat::TPoint Pt, plat::TDropEffect& Effect) override;
    plat::HRESULT DragLeave() override;
    plat::HRESULT Drop(const std::shared_ptr<plat::IDataObject>& Data, std::uint32_t KeyState, plat::TPoint Pt,
                       plat::TDropEffect& Effect) override;
    TDropFormats DropFormats() const { return FDropFormats; }
    bool AcceptText = true, AcceptFiles = true, AcceptURLs = true, AcceptCols = false;

    virtual void DropText(plat::TPoint, const String&) {}
    // The hook owns the stream.
    virtual void DropStream(plat::TPoint, std::unique_ptr<plat::TMemoryStream>) {}
    virtual void DropCol(plat::TPoint, int) {}
    virtual void DropRTF(plat::TPoint, const String&) {}
    virtual void DropFiles(plat::TPoint, const std::vector<String>&) {}
    virtual void DropURL(plat::TPoint, const String&) {}
    virtual void DragMouseMove(plat::TPoint, bool&, TDropFormats) {}
    virtual void DragMouseEnter() {}
    virtual void DragMouseLeave() {}

protected:
    bool FOk = false;
    TDropFormats FDropFormats = 0;
};

// Start a drag through the platform's drag loop and answer its result: a data object with
// the text, the rich text and the cell stream (none for nullptr) and no column, or with only
// the column index. When the source has set its refusal flag by the end, the answer is
// DRAGDROP_S_CANCEL.
plat::HRESULT BeginTextDragDrop(const std::shared_ptr<TESGDropSource>& Source, const String& Text, const String& RTF,
                                plat::TDropEffect& Effect, plat::TDropEffect OkEffects,
                                const plat::TMemoryStream* Cells);
plat::HRESULT BeginColumnDragDrop(const std::shared_ptr<TESGDropSource>& Source, int Column,
                                  plat::TDropEffect OkEffects, plat::TDropEffect& Effect);

// Reads what a foreign data object offers.
class TEnumFormats {
public:
    explicit TEnumFormats(std::shared_ptr<plat::IDataObject> Data);
    void SetDataObject(std::shared_ptr<plat::IDataObject> Data);
    bool Reset();
    bool Next();
    bool HasFormat(plat::UINT Format);
    // The bytes of the current format, empty when there are none.
    std::vector<std::uint8_t> GlobalHandle();
    bool HasText() { return HasFormat(plat::CF_UNICODETEXT); }
    bool HasRTF() { return HasFormat(CF_RTF()); }
    bool HasCol() { return HasFormat(CF_GRIDCOLUMN()); }
    bool HasFile() { return HasFormat(plat::CF_HDROP); }
    bool HasURL() { return HasFormat(CF_URL()); }
    bool HasGridCells() { return HasFormat(CF_GRIDCELLS()); }
    String Text();
    String RTF();
    int Col();  // -1 when absent
    // The cell bytes; none when absent or when the block is malformed.
    std::unique_ptr<plat::TMemoryStream> Stream();
    // Fills Files() with the dropped names; false when there are none or the list is malformed.
    bool ReadFiles();
    const std::vector<String>& Files() const { return FFiles; }
    bool Valid() const { return FValid; }
    int Count() const { return FCount; }

private:
    std::shared_ptr<plat::IDataObject> FDataObject;
    std::shared_ptr<plat::IEnumFormatEtc> FEnumerator;
    plat::TFormatEtc FFormatEtc;
    bool FValid = false;
    int FCount = 0;
    std::vector<String> FFiles;
};

} // namespace grid
