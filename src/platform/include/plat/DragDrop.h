#pragma once
// Data transfer by drag and drop: format descriptors, a data object offering data by format,
// its format enumerator, and the drop-source and drop-target interfaces with the platform's
// published result and effect numbers. Objects are shared (std::shared_ptr) for as long as any
// party of a drag holds them. Data travels as a medium: a global memory block, a stream or a
// file name, released by whoever receives it (ReleaseStgMedium).
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "plat/Clipbrd.h"  // the format ids shared with the clipboard
#include "plat/Messages.h"
#include "plat/Streams.h"
#include "plat/String.h"
#include "plat/Types.h"

namespace plat {

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064u);
constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003u);
constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100u);
constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101u);
constexpr HRESULT DRAGDROP_E_INVALIDHWND = static_cast<HRESULT>(0x80040102u);
// ---- Result codes of data objects, media and the clipboard of data objects ----
constexpr HRESULT DV_E_DVTARGETDEVICE = static_cast<HRESULT>(0x80040065u);
constexpr HRESULT DV_E_STGMEDIUM = static_cast<HRESULT>(0x80040066u);
constexpr HRESULT DV_E_LINDEX = static_cast<HRESULT>(0x80040068u);
constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069u);
constexpr HRESULT DV_E_CLIPFORMAT = static_cast<HRESULT>(0x8004006Au);
constexpr HRESULT DV_E_DVASPECT = static_cast<HRESULT>(0x8004006Bu);
constexpr HRESULT DATA_S_SAMEFORMATETC = 0x00040130;
constexpr HRESULT OLE_S_USEREG = 0x00040000;
constexpr HRESULT CLIPBRD_E_CANT_OPEN = static_cast<HRESULT>(0x800401D0u);
constexpr HRESULT CLIPBRD_E_CANT_SET = static_cast<HRESULT>(0x800401D2u);
constexpr HRESULT CLIPBRD_E_CANT_CLOSE = static_cast<HRESULT>(0x800401D4u);
constexpr HRESULT STG_E_ACCESSDENIED = static_cast<HRESULT>(0x80030005u);
inline bool Succeeded(HRESULT Result) { return Result >= 0; }

constexpr UINT CF_HDROP = 15;  // file list
constexpr int DVASPECT_CONTENT = 1;
constexpr int TYMED_NULL = 0;
constexpr int TYMED_HGLOBAL = 1;
constexpr int TYMED_FILE = 2;
constexpr int TYMED_ISTREAM = 4;
constexpr int TYMED_ISTORAGE = 8;
constexpr int TYMED_GDI = 16;
constexpr int TYMED_MFPICT = 32;
constexpr int TYMED_ENHMF = 64;
constexpr int DATADIR_GET = 1;
constexpr int DATADIR_SET = 2;

using TDropEffect = std::uint32_t;
constexpr TDropEffect DROPEFFECT_NONE = 0;
constexpr TDropEffect DROPEFFECT_COPY = 1;
constexpr TDropEffect DROPEFFECT_MOVE = 2;
constexpr TDropEffect DROPEFFECT_LINK = 4;

// One offered format: the clipboard format id, the aspect, the index, the media kinds and
// the target device (an opaque pointer compared by identity; null for none).
struct TFormatEtc {
    UINT Format = 0;
    int Aspect = DVASPECT_CONTENT;
    int Index = -1;
    int Tymed = TYMED_HGLOBAL;
    const void* Ptd = nullptr;
};

// ---- Global memory ----------------------------------------------------------------------
// A movable block of bytes known by its handle. Copies of a handle name the same block (a
// write through one is seen through all); the block lives while any handle names it.
// Assigning bytes to a handle makes it name a new block with those bytes. Lock answers the
// block's bytes and counts the lock; a null handle cannot be locked (nullptr).
class TGlobalHandle {
public:
    TGlobalHandle() = default;
    TGlobalHandle(std::vector<std::uint8_t> Bytes);
    TGlobalHandle(std::initializer_list<std::uint8_t> Bytes) : TGlobalHandle(std::vector<std::uint8_t>(Bytes)) {}
    TGlobalHandle& operator=(std::vector<std::uint8_t> Bytes) { return *this = TGlobalHandle(std::move(Bytes)); }
    TGlobalHandle& operator=(std::initializer_list<std::uint8_t> Bytes)
    {
        return *this = TGlobalHandle(std::vector<std::uint8_t>(Bytes));
    }

    // A zero-initialised block of Size bytes; a null handle when it cannot be allocated.
    static TGlobalHandle Alloc(std::size_t Size);

    explicit operator bool() const { return block_ != nullptr; }
    bool SameBlock(const TGlobalHandle& Other) const { return block_ == Other.block_; }
    // Handles naming the block (0 for a null handle).
    long UseCount() const { return block_.use_count(); }
    void Reset() { block_.reset(); }

    std::uint8_t* Lock() const;
    // False when the block was not locked.
    bool Unlock() const;
    int LockCount() const;

    // The block's bytes (empty for a null handle).
    std::size_t size() const;
    bool empty() const { return size() == 0; }
    std::uint8_t* data() const;
    std::uint8_t* begin() const { return data(); }
    std::uint8_t* end() const { return data() + size(); }
    std::uint8_t& operator[](std::size_t I) const { return data()[I]; }
    std::uint8_t& back() const { return data()[size() - 1]; }
    template <class It>
    void assign(It First, It Last) { *this = TGlobalHandle(std::vector<std::uint8_t>(First, Last)); }
    // Grows or shrinks the block in place (new bytes are zero); false for a null handle.
    bool Resize(std::size_t Size) const;
    // Makes room for the block to grow to Size bytes without moving.
    void Reserve(std::size_t Size) const;
    // Puts Count bytes at Offset, growing the block as needed; bytes between the old end and
    // Offset are zero, the written ones are not zeroed first. False for a null handle.
    bool WriteAt(std::size_t Offset, const void* Bytes, std::size_t Count) const;
    operator std::vector<std::uint8_t>() const { return std::vector<std::uint8_t>(begin(), end()); }
    friend bool operator==(const TGlobalHandle& A, const std::vector<std::uint8_t>& B)
    {
        return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin());
    }

private:
    struct Block;
    std::shared_ptr<Block> block_;
};

std::uint8_t* GlobalLock(const TGlobalHandle& Handle);
bool GlobalUnlock(const TGlobalHandle& Handle);
std::size_t GlobalSize(const TGlobalHandle& Handle);

// Data handed over: the medium kind and, by kind, the global memory, the stream or the file
// name. ReleaseObject, when set, stands for the party that frees the data: releasing the
// medium then drops that object instead of the data itself.
struct TStgMedium {
    int Tymed = TYMED_NULL;
    TGlobalHandle Global;
    std::shared_ptr<TStream> Stream;
    String FileName;
    std::shared_ptr<void> ReleaseObject;
};

// Frees what the medium holds (or drops its release object) and clears it to TYMED_NULL.
void ReleaseStgMedium(TStgMedium& Medium);

// A stream reading and writing a global memory block (a new empty one for a null handle),
// growing it as it writes. The block lives while the stream or any other handle names it, so
// DeleteOnRelease (the block goes with the stream) needs nothing more.
std::shared_ptr<TStream> CreateStreamOnHGlobal(const TGlobalHandle& Block, bool DeleteOnRelease);
// The block a stream of CreateStreamOnHGlobal writes to (null for other streams).
TGlobalHandle GetHGlobalFromStream(const TStream& Stream);

// The process's id, as other processes see it.
std::uint32_t GetCurrentProcessId();

class IEnumFormatEtc {
public:
    virtual ~IEnumFormatEtc() = default;
    // Up to Count descriptors into Out; Fetched (when given) receives how many. S_OK when all
    // Count were fetched, S_FALSE otherwise.
    virtual HRESULT Next(std::uint32_t Count, TFormatEtc* Out, std::uint32_t* Fetched) = 0;
    virtual HRESULT Skip(std::uint32_t Count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(std::shared_ptr<IEnumFormatEtc>& Out) = 0;
};

class IDataObject;

// Told when the data of an object it watches changes.
class IAdviseSink {
public:
    virtual ~IAdviseSink() = default;
    virtual void OnDataChange(const TFormatEtc& Format, const TStgMedium& Medium) = 0;
};

// Advise flags.
constexpr std::uint32_t ADVF_NODATA = 1;

// Keeps the sinks advised of a data object's changes. Advise answers a connection number
// from 1 on; Unadvise of an unknown connection answers OLE_E_NOCONNECTION; EnumAdvise is not
// offered (E_NOTIMPL). SendOnDataChange tells every sink, rendering the data for it unless
// it asked for ADVF_NODATA.
constexpr HRESULT OLE_E_NOCONNECTION = static_cast<HRESULT>(0x80040004u);
class IDataAdviseHolder {
public:
    virtual ~IDataAdviseHolder() = default;
    virtual HRESULT Advise(IDataObject* Data, const TFormatEtc& Format, std::uint32_t Advf,
                           std::shared_ptr<IAdviseSink> Sink, std::uint32_t& Connection) = 0;
    virtual HRESULT Unadvise(std::uint32_t Connection) = 0;
    virtual HRESULT EnumAdvise() = 0;
    virtual HRESULT SendOnDataChange(IDataObject* Data, std::uint32_t Reserved, std::uint32_t Advf) = 0;
};
HRESULT CreateDataAdviseHolder(std::shared_ptr<IDataAdviseHolder>& Out);

class IDataObject {
public:
    virtual ~IDataObject() = default;
    // Change notifications; an object that offers none keeps these answers.
    virtual HRESULT DAdvise(const TFormatEtc&, std::uint32_t, std::shared_ptr<IAdviseSink>, std::uint32_t& Connection)
    {
        Connection = 0;
        return OLE_E_ADVISENOTSUPPORTED;
    }
    virtual HRESULT DUnadvise(std::uint32_t) { return OLE_E_ADVISENOTSUPPORTED; }
    virtual HRESULT EnumDAdvise() { return OLE_E_ADVISENOTSUPPORTED; }
    virtual HRESULT GetData(const TFormatEtc& Format, TStgMedium& Medium) = 0;
    virtual HRESULT GetDataHere(const TFormatEtc& Format, TStgMedium& Medium) = 0;
    virtual HRESULT QueryGetData(const TFormatEtc& Format) = 0;
    virtual HRESULT GetCanonicalFormatEtc(const TFormatEtc& In, TFormatEtc& Out) = 0;
    virtual HRESULT SetData(const TFormatEtc& Format, const TStgMedium& Medium, bool Release) = 0;
    virtual HRESULT EnumFormatEtc(int Direction, std::shared_ptr<IEnumFormatEtc>& Out) = 0;
};

// Key state of the drag protocol: the MK_* flags (MK_LBUTTON 1, MK_SHIFT 4, MK_CONTROL 8).
class IDropSource {
public:
    virtual ~IDropSource() = default;
    virtual HRESULT QueryContinueDrag(bool EscapePressed, std::uint32_t KeyState) = 0;
    virtual HRESULT GiveFeedback(TDropEffect Effect) = 0;
};

// Points are screen coordinates. Effect carries the source's allowed effects in and the
// target's chosen effect out.
class IDropTarget {
public:
    virtual ~IDropTarget() = default;
    virtual HRESULT DragEnter(const std::shared_ptr<IDataObject>& Data, std::uint32_t KeyState, TPoint Pt,
                              TDropEffect& Effect) = 0;
    virtual HRESULT DragOver(std::uint32_t KeyState, TPoint Pt, TDropEffect& Effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(const std::shared_ptr<IDataObject>& Data, std::uint32_t KeyState, TPoint Pt,
                         TDropEffect& Effect) = 0;
};

// Key-state flag of the drag protocol for the Alt key (the MK_* mouse flags are in Messages.h).
constexpr std::uint32_t MK_ALT = 0x20;

// ---- Drag and drop between windows ------------------------------------------------------
// A window (its handle) receives drops through the target registered for it: S_OK, or
// DRAGDROP_E_INVALIDHWND for a handle that is no window, DRAGDROP_E_ALREADYREGISTERED when it
// has one, E_INVALIDARG without a target. RevokeDragDrop answers DRAGDROP_E_NOTREGISTERED
// when there is none; a window revokes its target when it is destroyed.
HRESULT RegisterDragDrop(HWND Window, std::shared_ptr<IDropTarget> Target);
HRESULT RevokeDragDrop(HWND Window);
// The target registered for a window, null when none.
std::shared_ptr<IDropTarget> RegisteredDropTarget(HWND Window);

// Runs a drag of Data until it is dropped or cancelled and answers DRAGDROP_S_DROP or
// DRAGDROP_S_CANCEL (E_INVALIDARG without data or source, E_UNEXPECTED while another drag
// runs). Effect receives the effect of the drop (DROPEFFECT_NONE when cancelled or refused).
// Every change of the pointer or the key state asks the source first
// (QueryContinueDrag with Escape and the MK_* key state): S_OK goes on with the target
// under the pointer (the nearest window upwards with a registered target; DragEnter when it
// changes, after DragLeave of the previous one, else DragOver; the target's effect is
// limited to OkEffects) and then GiveFeedback with that effect; DRAGDROP_S_DROP drops on a
// target that accepted with an effect (Drop), otherwise the target gets DragLeave.
// Two drivers run it: on a desktop, the system's drag (other programs take part, data goes
// as MIME types through the clipboard's format table); in-process, the layer's own session
// fed by the layer's mouse and key input, used by the test kit and wherever no system drag
// exists (an offscreen display without scripted input ends the session at once with the
// pointer and buttons as they are).
HRESULT DoDragDrop(std::shared_ptr<IDataObject> Data, std::shared_ptr<IDropSource> Source, TDropEffect OkEffects,
                   TDropEffect& Effect);
// A drag of DoDragDrop is running.
bool DragDropRunning();

class TBitmap;

// The picture the system's drag shows under the pointer for the next DoDragDrop of Data:
// Picture's B, G, R, A bytes (straight alpha) with HotSpot (picture coordinates) at the
// pointer. It answers whether the system's drag will run that drag and show it; when not (an
// in-process session, or a display without a compositing manager, where the picture would
// show as an opaque box), the caller draws its own picture. Either way the picture is kept for
// Data until its drag ends or another picture is set. SystemDragImage copies the picture
// kept for Data into Picture and answers false when there is none.
bool SetSystemDragImage(const IDataObject* Data, const TBitmap& Picture, TPoint HotSpot);
bool SystemDragImage(const IDataObject* Data, TBitmap& Picture, TPoint& HotSpot);

} // namespace plat
