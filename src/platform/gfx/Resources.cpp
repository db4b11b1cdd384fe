#include "plat/Resources.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "plat/PictureDecode.h"
#include "plat/SysUtils.h"

namespace plat {

std::vector<std::pair<String, std::string>> BuiltinBitmaps();

namespace {

struct Table {
    std::mutex lock;
    std::map<std::pair<int, String>, std::shared_ptr<const std::vector<std::uint8_t>>> entries;
};

// Created on first use, so that registrations from static objects of any unit find it;
// it starts with the program's own named bitmaps.
Table& TheTable() {
    static Table* table = [] {
        auto* t = new Table;
        for (auto& [name, bytes] : BuiltinBitmaps())
            t->entries[{static_cast<int>(RT_BITMAP), AnsiUpperCase(name)}] =
                std::make_shared<const std::vector<std::uint8_t>>(bytes.begin(), bytes.end());
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

} // namespace plat
