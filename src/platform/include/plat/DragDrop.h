#pragma once
// Data transfer by drag and drop: format descriptors, a data object offering data by format,
// its format enumerator, and the drop-source and drop-target interfaces with the platform's
// published result and effect numbers. Objects are shared (std::shared_ptr) for as long as any
// party of a drag holds them. Data travels as a block of bytes ("global memory" medium) that
// the receiver owns.
#include <cstdint>
#include <memory>
#include <vector>

#include "plat/Clipbrd.h"  // the format ids shared with the clipboard
#include "plat/Messages.h"
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

constexpr UINT CF_HDROP = 15;  // file list
constexpr int DVASPECT_CONTENT = 1;
constexpr int TYMED_HGLOBAL = 1;
constexpr int DATADIR_GET = 1;
constexpr int DATADIR_SET = 2;

using TDropEffect = std::uint32_t;
constexpr TDropEffect DROPEFFECT_NONE = 0;
constexpr TDropEffect DROPEFFECT_COPY = 1;
constexpr TDropEffect DROPEFFECT_MOVE = 2;
constexpr TDropEffect DROPEFFECT_LINK = 4;

// One offered format: the clipboard format id, the aspect, the index and the media kinds.
struct TFormatEtc {
    UINT Format = 0;
    int Aspect = DVASPECT_CONTENT;
    int Index = -1;
    int Tymed = TYMED_HGLOBAL;
};

// Data handed over: the medium kind and the block of bytes.
struct TStgMedium {
    int Tymed = 0;
    std::vector<std::uint8_t> Global;
};

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

class IDataObject {
public:
    virtual ~IDataObject() = default;
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

} // namespace plat
