#pragma once
// The data object a tree hands to the clipboard and to drags: it offers the tree's formats,
// renders them when a consumer asks, keeps the media consumers set on it, and answers the
// tree reference by which a receiver in this process finds the source tree. Also the format
// enumerator, the read-only stream over a transfer's memory and the process-wide set of live
// trees that tree references are checked against.
#include <cstdint>
#include <memory>
#include <vector>

#include "plat/DragDrop.h"
#include "plat/Streams.h"

namespace vtree {

class TBaseLazyTree;

class TLTDataObject : public plat::IDataObject, public std::enable_shared_from_this<TLTDataObject> {
public:
    // A medium stored through SetData, with the format id it was set for.
    struct TInternalStgMedium {
        std::uint16_t Format = 0;
        plat::TStgMedium Medium;
    };

    // Offers the formats AOwner collects. ForClipboard: renders the cut/copy set and cancels
    // the owner's marks when released (unless the clipboard is being flushed); otherwise
    // renders the selection.
    TLTDataObject(TBaseLazyTree* AOwner, bool ForClipboard);
    ~TLTDataObject() override;
    TLTDataObject(const TLTDataObject&) = delete;
    TLTDataObject& operator=(const TLTDataObject&) = delete;

    plat::HRESULT DAdvise(const plat::TFormatEtc& Format, std::uint32_t Advf, std::shared_ptr<plat::IAdviseSink> Sink,
                          std::uint32_t& Connection) override;
    plat::HRESULT DUnadvise(std::uint32_t Connection) override;
    plat::HRESULT EnumDAdvise() override;
    plat::HRESULT EnumFormatEtc(int Direction, std::shared_ptr<plat::IEnumFormatEtc>& Out) override;
    plat::HRESULT GetCanonicalFormatEtc(const plat::TFormatEtc& In, plat::TFormatEtc& Out) override;
    // The tree reference whatever the request's other fields (it is neither enumerated nor
    // reported by QueryGetData); a stored medium shared with the consumer; otherwise the
    // owner's rendering. A request naming a target device answers DV_E_FORMATETC; a format
    // the owner renders answers E_FAIL once the owner is gone.
    plat::HRESULT GetData(const plat::TFormatEtc& Format, plat::TStgMedium& Medium) override;
    plat::HRESULT GetDataHere(const plat::TFormatEtc& Format, plat::TStgMedium& Medium) override;
    plat::HRESULT QueryGetData(const plat::TFormatEtc& Format) override;
    // Stores a medium for the descriptor (a new one is offered from then on; a format the
    // owner renders gets a stored medium handed out instead of rendering). Release: the
    // object takes Medium over; otherwise it keeps a copy (global memory copied, streams and
    // file names shared). An earlier medium of the format is released.
    plat::HRESULT SetData(const plat::TFormatEtc& Format, const plat::TStgMedium& Medium, bool Release) override;

    TBaseLazyTree* Owner() const { return FOwner; }
    bool ForClipboard() const { return FForClipboard; }
    const std::vector<plat::TFormatEtc>& FormatEtcArray() const { return FFormatEtcArray; }
    const std::vector<TInternalStgMedium>& InternalStgMediumArray() const { return FInternalStgMediumArray; }
    // The owner is being destroyed: tree-rendered formats answer E_FAIL from now on.
    void DetachOwner() { FOwner = nullptr; }

protected:
    // Index of the first offered descriptor equal to Format (format id, target device,
    // aspect, index, overlapping media); -1 when none.
    int FindFormatEtc(const plat::TFormatEtc& Format) const;
    // The stored medium for a format id, null when none.
    TInternalStgMedium* FindInternalStgMedium(std::uint16_t Format);
    // Copies Source into Dest by the medium's kind (CopyMedium: copies global memory; else
    // shares it with this object as the release object).
    plat::HRESULT CopyMediumReference(const plat::TStgMedium& Source, plat::TStgMedium& Dest, bool CopyMedium);

private:
    TBaseLazyTree* FOwner;
    bool FForClipboard;
    std::vector<plat::TFormatEtc> FFormatEtcArray;
    std::vector<TInternalStgMedium> FInternalStgMediumArray;
    std::shared_ptr<plat::IDataAdviseHolder> FAdviseHolder;
};

class TEnumFormatEtc : public plat::IEnumFormatEtc {
public:
    TEnumFormatEtc(TBaseLazyTree* Tree, std::vector<plat::TFormatEtc> Formats);
    // Copies up to Count descriptors; S_OK when all Count were copied, else S_FALSE.
    plat::HRESULT Next(std::uint32_t Count, plat::TFormatEtc* Out, std::uint32_t* Fetched) override;
    // S_OK when Count descriptors remain (and skips them); else S_FALSE without moving.
    plat::HRESULT Skip(std::uint32_t Count) override;
    plat::HRESULT Reset() override;
    plat::HRESULT Clone(std::shared_ptr<plat::IEnumFormatEtc>& Out) override;

    int CurrentIndex() const { return FCurrentIndex; }

private:
    TBaseLazyTree* FTree;
    std::vector<plat::TFormatEtc> FFormatEtcArray;
    int FCurrentIndex = 0;
};

// Reads a transfer's memory without copying it; writing raises EStreamError "Can't write to
// a read-only resource stream".
class TOLEMemoryStream : public plat::TCustomMemoryStream {
public:
    using plat::TCustomMemoryStream::TCustomMemoryStream;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
};

// The tree reference: the source's process id (4 bytes), then the number naming the tree in
// that process (8 bytes), little-endian.
constexpr std::size_t TreeReferenceSize = 12;
std::vector<std::uint8_t> MakeTreeReference(const TBaseLazyTree& Tree);
// The live tree of this process a reference names; null for another process, a tree that
// is gone, or a block that is not a reference.
TBaseLazyTree* TreeOfReference(const std::uint8_t* Block, std::size_t Size);

// The process's live trees, by exchange number.
void RegisterLiveTree(TBaseLazyTree* Tree);
void UnregisterLiveTree(TBaseLazyTree* Tree);
TBaseLazyTree* FindLiveTree(std::uint64_t ExchangeId);

// Reads the "Lazy Tree Data" block of global memory: a 32-bit signed size, then that many
// bytes of node chunks. False for a block shorter than the prefix, a negative size or one
// larger than the bytes after the prefix (nothing is read past the block).
bool TreeDataChunks(const std::uint8_t* Block, std::size_t BlockSize, const std::uint8_t*& Chunks,
                    std::size_t& ChunkSize);

} // namespace vtree
