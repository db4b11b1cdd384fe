#include "PictureContainer.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <utility>

#include "plat/Files.h"
#include "plat/PictureDecode.h"
#include "plat/Resources.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

std::uint16_t U16(const std::string& d, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(d[at]) | (static_cast<std::uint8_t>(d[at + 1]) << 8));
}

// A graphic control block (21 F9 04 packed delay delay transparent 00) followed at once by
// an image descriptor (2C left top width height packed): 18 bytes from the 0x21.
constexpr std::size_t kFrameHeader = 18;

bool IsFrameStart(const std::string& d, std::size_t i) {
    return i + kFrameHeader <= d.size() && static_cast<std::uint8_t>(d[i]) == 0x21 &&
           static_cast<std::uint8_t>(d[i + 1]) == 0xF9 && static_cast<std::uint8_t>(d[i + 2]) == 0x04 &&
           static_cast<std::uint8_t>(d[i + 8]) == 0x2C;
}

// Offsets of the frame starts, in order.
std::vector<std::size_t> FrameStarts(const std::string& d) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i + kFrameHeader <= d.size(); ++i)
        if (IsFrameStart(d, i)) starts.push_back(i);
    return starts;
}

bool StartsWithNoCase(StringView s, StringView prefix) {
    return s.size() >= prefix.size() && plat::AnsiUpperCase(s.substr(0, prefix.size())) == plat::AnsiUpperCase(prefix);
}

} // namespace

// ---------------------------------------------------------------- THTMLPicture

THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::Reset() {
    FIsEmpty = true;
    FPicture.reset();
    FFrameCount = -1;
    FFrame = 1;
    FNextCount = -1;
    FTimerCount = -1;
}

bool THTMLPicture::IsGIF() const { return FData.size() >= 5 && FData.compare(0, 4, "GIF8") == 0; }

void THTMLPicture::Decode() {
    FFrameXPos = FFrameYPos = FFrameXSize = FFrameYSize = 0;
    FAnimMaxX = FAnimMaxY = 0;
    FPicture.reset();
    if (FData.empty()) {
        FIsEmpty = true;
        throw EInvalidGraphic(u"Empty image stream created");
    }
    const std::string* source = &FData;
    std::string copy;
    const int frames = FrameCount();
    if (IsGIF() && frames >= 1 && FData.size() >= 10) {
        FAnimMaxX = U16(FData, 6);
        FAnimMaxY = U16(FData, 8);
        const std::vector<std::size_t> starts = FrameStarts(FData);
        if (FFrame >= 1 && static_cast<std::size_t>(FFrame) <= starts.size()) {
            const std::size_t d = starts[static_cast<std::size_t>(FFrame) - 1] + 9;
            FFrameXPos = U16(FData, d);
            FFrameYPos = U16(FData, d + 2);
            FFrameXSize = U16(FData, d + 4);
            FFrameYSize = U16(FData, d + 6);
        }
        if (FFrame > 1 && starts.size() >= 2) {
            // The header and frame 1's lead-in, then the frames from FFrame on.
            const std::size_t cutFrom = starts[1];
            const std::size_t cutTo =
                static_cast<std::size_t>(FFrame) <= starts.size() ? starts[static_cast<std::size_t>(FFrame) - 1] : FData.size();
            copy.reserve(FData.size() - (cutTo - cutFrom));
            copy.append(FData, 0, starts[0]);
            copy.append(FData, cutTo, std::string::npos);
            source = &copy;
        }
    }
    auto bmp = std::make_unique<plat::TBitmap>();
    if (!plat::DecodePicture(source->data(), source->size(), *bmp)) {
        FIsEmpty = true;
        throw EInvalidGraphic(u"Could not load image. Invalid format");
    }
    // An animated GIF shows its current frame alone: the frame's own rectangle of the decoded
    // logical screen, placed by the caller at the frame's offset.
    if (frames > 1 && FFrameXSize > 0 && FFrameYSize > 0) {
        const int x0 = std::min<int>(FFrameXPos, bmp->Width()), y0 = std::min<int>(FFrameYPos, bmp->Height());
        const int w = std::min<int>(FFrameXSize, bmp->Width() - x0), h = std::min<int>(FFrameYSize, bmp->Height() - y0);
        if (w > 0 && h > 0 && (w != bmp->Width() || h != bmp->Height())) {
            auto part = std::make_unique<plat::TBitmap>(w, h);
            for (int y = 0; y < h; ++y)
                std::memcpy(part->ScanLine(y), static_cast<const std::uint8_t*>(std::as_const(*bmp).ScanLine(y0 + y)) + 4 * x0,
                            static_cast<std::size_t>(w) * 4);
            if (bmp->Transparent()) {
                part->SetTransparentColor(bmp->TransparentColor());
                part->SetTransparent(true);
            }
            bmp = std::move(part);
        }
    }
    FPicture = std::move(bmp);
    FIsEmpty = false;
}

void THTMLPicture::Assign(const plat::TPersistent* Source) {
    Reset();
    if (!Source) {
        FData.clear();
        return;
    }
    if (const auto* p = dynamic_cast<const THTMLPicture*>(Source)) {
        FData = p->FData;
        if (!FData.empty()) {
            try {
                Decode();
            } catch (const EInvalidGraphic&) {
                // Undecodable bytes are kept and the copy stays empty, as the source is.
            }
        }
        Changed();
    }
}

void THTMLPicture::Draw(plat::TCanvas* Canvas, const plat::TRect& r) const {
    if (Empty() || !Canvas) return;
    if (Stretch)
        Canvas->StretchDraw(r, FPicture.get());
    else
        Canvas->Draw(r.Left, r.Top, FPicture.get());
}

bool THTMLPicture::Empty() const { return FIsEmpty || !FPicture; }
int THTMLPicture::Width() const { return FPicture ? FPicture->Width() : 0; }
int THTMLPicture::Height() const { return FPicture ? FPicture->Height() : 0; }
int THTMLPicture::GetMaxWidth() const { return FAnimMaxX > 0 ? FAnimMaxX : Width(); }
int THTMLPicture::GetMaxHeight() const { return FAnimMaxY > 0 ? FAnimMaxY : Height(); }

void THTMLPicture::LoadFromBytes(std::string Bytes) {
    Reset();
    FData = std::move(Bytes);
    FIsEmpty = false;
    Decode();
    Changed();
}

void THTMLPicture::LoadFromStream(plat::TStream* Stream) {
    if (!Stream) return;
    const std::int64_t left = std::max<std::int64_t>(0, Stream->Size() - Stream->Position());
    std::string bytes(static_cast<std::size_t>(left), '\0');
    bytes.resize(Stream->Read(bytes.data(), bytes.size()));
    LoadFromBytes(std::move(bytes));
}

void THTMLPicture::SaveToStream(plat::TStream* Stream) const {
    if (Stream && !FData.empty()) Stream->WriteBuffer(FData.data(), FData.size());
}

void THTMLPicture::LoadFromFile(const String& FileName) {
    std::string bytes;
    if (!plat::ReadRegularFile(FileName, bytes, plat::kPictureFileCap, nullptr)) {
        Reset();
        return;
    }
    try {
        LoadFromBytes(std::move(bytes));
    } catch (const plat::Exception&) {
        Reset();
    }
}

void THTMLPicture::SaveToFile(const String& FileName) const {
    plat::TAtomicFileStream f(FileName);
    SaveToStream(&f);
    f.Commit();
}

void THTMLPicture::ReadData(plat::TStream* Stream) {
    std::uint32_t n = 0;
    Stream->ReadBuffer(&n, sizeof n);
    const std::int64_t left = std::max<std::int64_t>(0, Stream->Size() - Stream->Position());
    if (n > left) throw plat::EReadError(u"Stream read error");
    std::string bytes(n, '\0');
    Stream->ReadBuffer(bytes.data(), n);
    Reset();
    FData = std::move(bytes);
    if (!FData.empty()) {
        FIsEmpty = false;
        Decode();
    }
}

void THTMLPicture::WriteData(plat::TStream* Stream) const {
    const auto n = static_cast<std::uint32_t>(FData.size());
    Stream->WriteBuffer(&n, sizeof n);
    if (n) Stream->WriteBuffer(FData.data(), n);
}

bool THTMLPicture::LoadFromResourceName(StringView ResName) {
    std::span<const std::uint8_t> bytes;
    if (!plat::FindResource(plat::RT_RCDATA, ResName, bytes)) return false;
    LoadFromBytes(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

void THTMLPicture::LoadFromURL(StringView Address) {
    if (StartsWithNoCase(Address, u"RES://")) {
        ID = String(Address);
        try {
            LoadFromResourceName(Address.substr(6));
        } catch (const plat::Exception&) {
            Reset();
        }
        return;
    }
    if (StartsWithNoCase(Address, u"FILE://")) {
        ID = String(Address);
        LoadFromFile(String(Address.substr(7)));
        return;
    }
    // Nothing is fetched over a network: the address is remembered, so that a cache finds
    // this (empty) picture again instead of adding one per lookup.
    URL = String(Address);
    ID = String(Address);
}

int THTMLPicture::FrameCount() {
    if (FFrameCount < 0 && IsGIF()) FFrameCount = static_cast<int>(FrameStarts(FData).size());
    return IsGIF() ? FFrameCount : -1;
}

int THTMLPicture::GetFrameTime(int i) {
    if (!IsGIF() || i < 1) return -1;
    const std::vector<std::size_t> starts = FrameStarts(FData);
    if (static_cast<std::size_t>(i) > starts.size()) return -1;
    const std::size_t at = starts[static_cast<std::size_t>(i) - 1];
    const auto packed = static_cast<std::uint8_t>(FData[at + 3]);
    FFrameTransp = (packed & 1) != 0;
    FFrameDisposal = static_cast<std::uint16_t>((packed >> 2) & 7);
    return U16(FData, at + 4);
}

void THTMLPicture::SetFrame(int Value) {
    FFrame = Value;
    if (FData.empty()) return;
    try {
        Decode();
    } catch (const EInvalidGraphic&) {
        // The frame cannot be shown: the picture stays empty until another frame is chosen.
    }
    if (OnFrameChange) OnFrameChange(this);
}

void THTMLPicture::FrameNext() {
    const int n = FrameCount();
    SetFrame(FFrame >= n ? 1 : FFrame + 1);
}

void THTMLPicture::FramePrev() {
    const int n = FrameCount();
    SetFrame(FFrame <= 1 ? std::max(n, 1) : FFrame - 1);
}

bool THTMLPicture::Step() {
    if (FData.empty() || FrameCount() < 2) return false;
    if (FTimerCount < 0) FTimerCount = 0;
    if (FNextCount < 0) FNextCount = std::max(0, GetFrameTime(FFrame));
    bool changed = false;
    if (10 * FTimerCount >= FNextCount) {
        FrameNext();
        FNextCount += std::max(0, GetFrameTime(FFrame));
        changed = true;
    }
    ++FTimerCount;
    return changed;
}

// ---------------------------------------------------------------- THTMLPictureCache

THTMLPicture* THTMLPictureCache::AddPicture() {
    FItems.push_back(std::make_unique<THTMLPicture>());
    return FItems.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(StringView ID) const {
    for (const auto& p : FItems)
        if (p->ID == ID) return p.get();
    return nullptr;
}

bool THTMLPictureCache::Animate() {
    bool any = false;
    for (const auto& p : FItems) any = p->Step() || any;
    return any;
}

// ---------------------------------------------------------------- collection and container

TPictureItem::TPictureItem(plat::TCollection* Collection)
    : plat::TCollectionItem(Collection), FPicture(std::make_unique<THTMLPicture>()) {}

TPictureItem::~TPictureItem() = default;

void TPictureItem::Assign(const plat::TPersistent* Source) {
    if (const auto* item = dynamic_cast<const TPictureItem*>(Source)) {
        SetPicture(item->Picture());
        Tag = item->Tag;
        Name = item->Name;
        return;
    }
    plat::TCollectionItem::Assign(Source);
}

void TPictureItem::SetPicture(const THTMLPicture* Value) { FPicture->Assign(Value); }

bool TPictureCollection::Animate() {
    bool any = false;
    for (int i = 0; i < Count(); ++i) any = Items(i)->Picture()->Step() || any;
    return any;
}

TPictureContainer::TPictureContainer(plat::TComponent* AOwner)
    : plat::TComponent(AOwner), FItems(std::make_unique<TPictureCollection>(this)) {}

TPictureContainer::~TPictureContainer() = default;

THTMLPicture* TPictureContainer::FindPicture(StringView s) const {
    const String key = plat::AnsiUpperCase(s);
    for (int i = 0; i < FItems->Count(); ++i)
        if (plat::AnsiUpperCase(FItems->Items(i)->Name) == key) return FItems->Items(i)->Picture();
    return nullptr;
}

} // namespace grid
