// Media of the data exchange: global memory blocks, the medium release, a stream over a
// global memory block, the advise holder and the process id.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <new>

#include "plat/DragDrop.h"
#include "plat/Files.h"

namespace plat {

struct TGlobalHandle::Block {
    std::vector<std::uint8_t> bytes;
    int locks = 0;
};

TGlobalHandle::TGlobalHandle(std::vector<std::uint8_t> Bytes) : block_(std::make_shared<Block>())
{
    block_->bytes = std::move(Bytes);
}

TGlobalHandle TGlobalHandle::Alloc(std::size_t Size)
{
    TGlobalHandle h;
    try {
        h.block_ = std::make_shared<Block>();
        h.block_->bytes.assign(Size, 0);
    } catch (const std::bad_alloc&) {
        h.block_.reset();
    } catch (const std::length_error&) {
        h.block_.reset();
    }
    return h;
}

std::uint8_t* TGlobalHandle::Lock() const
{
    if (!block_) return nullptr;
    ++block_->locks;
    // A block of no bytes still locks: callers test the pointer for success.
    static std::uint8_t none = 0;
    return block_->bytes.empty() ? &none : block_->bytes.data();
}

bool TGlobalHandle::Unlock() const
{
    if (!block_ || block_->locks == 0) return false;
    --block_->locks;
    return true;
}

int TGlobalHandle::LockCount() const { return block_ ? block_->locks : 0; }
std::size_t TGlobalHandle::size() const { return block_ ? block_->bytes.size() : 0; }
std::uint8_t* TGlobalHandle::data() const { return block_ ? block_->bytes.data() : nullptr; }

bool TGlobalHandle::Resize(std::size_t Size) const
{
    if (!block_) return false;
    block_->bytes.resize(Size, 0);
    return true;
}

void TGlobalHandle::Reserve(std::size_t Size) const
{
    if (!block_ || Size <= block_->bytes.capacity()) return;
    block_->bytes.reserve(Size);
    // The room is filled by the writer that asked for it: in huge pages where the system
    // has them, one page fault per 2 MiB.
    AdviseHugePages(block_->bytes.data() + block_->bytes.size(), block_->bytes.capacity() - block_->bytes.size());
}

bool TGlobalHandle::WriteAt(std::size_t Offset, const void* Bytes, std::size_t Count) const
{
    if (!block_) return false;
    std::vector<std::uint8_t>& b = block_->bytes;
    if (Offset > b.size()) b.resize(Offset, 0);
    const auto* from = static_cast<const std::uint8_t*>(Bytes);
    const std::size_t inside = std::min(Count, b.size() - Offset);
    if (inside) std::memcpy(b.data() + Offset, from, inside);
    // The rest is appended straight from the source: nothing is filled twice.
    if (inside < Count) b.insert(b.end(), from + inside, from + Count);
    return true;
}

std::uint8_t* GlobalLock(const TGlobalHandle& Handle) { return Handle.Lock(); }
bool GlobalUnlock(const TGlobalHandle& Handle) { return Handle.Unlock(); }
std::size_t GlobalSize(const TGlobalHandle& Handle) { return Handle.size(); }

void ReleaseStgMedium(TStgMedium& Medium)
{
    // Whoever stands behind the release object frees the data when the last reference goes;
    // without one, this medium's references are the data's own.
    Medium = TStgMedium{};
}

namespace {

class HGlobalStream : public TStream {
public:
    explicit HGlobalStream(TGlobalHandle block) : block_(std::move(block)) {}

    std::size_t Read(void* Buffer, std::size_t Count) override
    {
        const std::size_t size = block_.size();
        if (pos_ >= size) return 0;
        const std::size_t n = std::min(Count, size - pos_);
        std::memcpy(Buffer, block_.data() + pos_, n);
        pos_ += n;
        return n;
    }
    std::size_t Write(const void* Buffer, std::size_t Count) override
    {
        if (Count == 0) return 0;
        block_.WriteAt(pos_, Buffer, Count);
        pos_ += Count;
        return Count;
    }
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override
    {
        std::int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? static_cast<std::int64_t>(pos_)
                                                                           : static_cast<std::int64_t>(block_.size());
        const std::int64_t to = std::max<std::int64_t>(0, base + Offset);
        pos_ = static_cast<std::size_t>(to);
        return to;
    }
    void SetSize(std::int64_t NewSize) override
    {
        block_.Resize(static_cast<std::size_t>(std::max<std::int64_t>(0, NewSize)));
        pos_ = std::min(pos_, block_.size());
    }
    std::int64_t Size() override { return static_cast<std::int64_t>(block_.size()); }

    TGlobalHandle Block() const { return block_; }

private:
    TGlobalHandle block_;
    std::size_t pos_ = 0;
};

class AdviseHolder : public IDataAdviseHolder {
public:
    HRESULT Advise(IDataObject*, const TFormatEtc& Format, std::uint32_t Advf, std::shared_ptr<IAdviseSink> Sink,
                   std::uint32_t& Connection) override
    {
        Connection = 0;
        if (!Sink) return E_INVALIDARG;
        Connection = ++last_;
        sinks_[Connection] = Entry{Format, Advf, std::move(Sink)};
        return S_OK;
    }
    HRESULT Unadvise(std::uint32_t Connection) override
    {
        return sinks_.erase(Connection) ? S_OK : OLE_E_NOCONNECTION;
    }
    HRESULT EnumAdvise() override { return E_NOTIMPL; }
    HRESULT SendOnDataChange(IDataObject* Data, std::uint32_t, std::uint32_t Advf) override
    {
        // A copy: a sink may unadvise while it is told.
        const auto sinks = sinks_;
        for (const auto& [id, e] : sinks) {
            TStgMedium m;
            if (Data && !((e.advf | Advf) & ADVF_NODATA)) {
                if (Data->GetData(e.format, m) != S_OK) m = TStgMedium{};
            }
            e.sink->OnDataChange(e.format, m);
            ReleaseStgMedium(m);
        }
        return S_OK;
    }

private:
    struct Entry {
        TFormatEtc format;
        std::uint32_t advf;
        std::shared_ptr<IAdviseSink> sink;
    };
    std::map<std::uint32_t, Entry> sinks_;
    std::uint32_t last_ = 0;
};

} // namespace

std::shared_ptr<TStream> CreateStreamOnHGlobal(const TGlobalHandle& Block, bool)
{
    TGlobalHandle b = Block ? Block : TGlobalHandle::Alloc(0);
    return std::make_shared<HGlobalStream>(std::move(b));
}

TGlobalHandle GetHGlobalFromStream(const TStream& Stream)
{
    const auto* s = dynamic_cast<const HGlobalStream*>(&Stream);
    return s ? s->Block() : TGlobalHandle();
}

HRESULT CreateDataAdviseHolder(std::shared_ptr<IDataAdviseHolder>& Out)
{
    Out = std::make_shared<AdviseHolder>();
    return S_OK;
}

std::uint32_t GetCurrentProcessId() { return static_cast<std::uint32_t>(::getpid()); }

} // namespace plat
