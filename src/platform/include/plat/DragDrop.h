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

} // namespace plat
