#include "plat/Resources.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "plat/PictureDecode.h"
#include "plat/SysUtils.h"

namespace plat {

std::vector<std::pair<String, std::string>> BuiltinBitmaps();
std::vector<std::tuple<TResourceType, String, std::vector<std::uint8_t>>> BuiltinPointerArt();

namespace {

struct Table {
    std::mutex lock;
    std::map<std::pair<int, String>, std::shared_ptr<const std::vector<std::uint8_t>>> entries;
};

// Created on first use, so that registrations from static objects of any unit find it;
// it starts with the program's own named bitmaps, cursors and panning anchors.
Table& TheTable() {
    static Table* table = [] {
        auto* t = new Table;
        for (auto& [name, bytes] : BuiltinBitmaps())
            t->entries[{static_cast<int>(RT_BITMAP), AnsiUpperCase(name)}] =
                std::make_shared<const std::vector<std::uint8_t>>(bytes.begin(), bytes.end());
        for (auto& [type, name, bytes] : BuiltinPointerArt())
            t->entries[{static_cast<int>(type), AnsiUpperCase(name)}] =
                std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
        return t;
    }();
    return *table;
}

} // namespace

void RegisterResource(TResourceType Type, StringView Name, const void* Data, std::size_t Size) {
    const auto* d = static_cast<const std::uint8_t*>(Data);
    auto bytes = std::make_shared<const std::vector<std::uint8_t>>(d, d + (d ? Size : 0));
    Table& t = TheTable();
    std::lock_guard<std::mutex> guard(t.lock);
    t.entries[{static_cast<int>(Type), AnsiUpperCase(Name)}] = std::move(bytes);
}

bool FindResource(TResourceType Type, StringView Name, std::span<const std::uint8_t>& Bytes) {
    Table& t = TheTable();
    std::lock_guard<std::mutex> guard(t.lock);
    const auto it = t.entries.find({static_cast<int>(Type), AnsiUpperCase(Name)});
    if (it == t.entries.end()) return false;
    Bytes = std::span<const std::uint8_t>(it->second->data(), it->second->size());
    return true;
}

bool LoadBitmapResource(StringView Name, TBitmap& Bitmap) {
    std::span<const std::uint8_t> bytes;
    if (!FindResource(RT_BITMAP, Name, bytes)) return false;
    return DecodePicture(bytes.data(), bytes.size(), Bitmap);
}

std::vector<std::uint8_t> MakeCursorResource(TPoint HotSpot, const void* Picture, std::size_t Size) {
    std::vector<std::uint8_t> out;
    out.reserve(4 + Size);
    for (int v : {HotSpot.X, HotSpot.Y}) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    }
    const auto* p = static_cast<const std::uint8_t*>(Picture);
    if (p) out.insert(out.end(), p, p + Size);
    return out;
}

HCURSOR LoadCursorResource(StringView Name) {
    // One decoded image per name for the whole run: handles are compared and kept in tables.
    static std::mutex lock;
    static std::map<String, std::unique_ptr<TCursorImage>> cache;
    const String key = AnsiUpperCase(Name);
    std::span<const std::uint8_t> bytes;
    if (!FindResource(RT_CURSOR, key, bytes) || bytes.size() < 4) return nullptr;
    {
        std::lock_guard<std::mutex> guard(lock);
        const auto it = cache.find(key);
        if (it != cache.end()) return it->second.get();
    }
    const TPoint hot{bytes[0] | (bytes[1] << 8), bytes[2] | (bytes[3] << 8)};
    TBitmap picture;
    if (!DecodePicture(bytes.data() + 4, bytes.size() - 4, picture)) return nullptr;
    const int w = picture.Width(), h = picture.Height();
    if (w <= 0 || h <= 0 || hot.X >= w || hot.Y >= h) return nullptr;
    auto image = std::make_unique<TCursorImage>();
    image->Width = w;
    image->Height = h;
    image->HotSpot = hot;
    image->Pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    const bool alpha = picture.PixelFormat() == pf32bit;
    for (int y = 0; y < h; ++y) {
        const auto* row = static_cast<const std::uint32_t*>(std::as_const(picture).ScanLine(y));
        for (int x = 0; x < w; ++x) {
            std::uint32_t argb = row[x];
            if (!alpha) argb = (argb & 0xFFFFFF) == 0xFF00FF ? 0 : (argb | 0xFF000000u);
            image->Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] = argb;
        }
    }
    std::lock_guard<std::mutex> guard(lock);
    auto& slot = cache[key];
    if (!slot) slot = std::move(image);
    return slot.get();
}

HCURSOR LoadCursorResource(int Id) { return LoadCursorResource(IntToStr(Id)); }

} // namespace plat
