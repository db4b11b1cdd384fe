#pragma once
// A lock object of the tree control's own units (unrelated to the serial port's lock of the
// same name), and the growable text buffers of the content export.
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "plat/Threads.h"

namespace vtree {

class TCriticalSection {
public:
    TCriticalSection() = default;
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Enter() { FSection.Enter(); }
    void Leave() { FSection.Leave(); }

private:
    plat::TCriticalSection FSection;
};

} // namespace vtree

// ---- growable text buffers of the content export ----
// Each buffer keeps its text in one block that grows in steps of whole multiples of 4096
// units, so long exports do not reallocate per cell. Both start empty.
namespace vtree {

template <class Unit>
class TBufferedText {
public:
    TBufferedText() = default;
    TBufferedText(const TBufferedText&) = delete;
    TBufferedText& operator=(const TBufferedText&) = delete;

    // An empty text adds nothing. When the text is at least as long as the free space, the
    // block grows by its length rounded up to a multiple of 4096 units.
    void Add(std::basic_string_view<Unit> Text)
    {
        if (Text.empty())
            return;
        if (Text.size() >= Free())
            Grow(RoundUp(Text.size()));
        std::memcpy(FPosition, Text.data(), Text.size() * sizeof(Unit));
        FPosition += Text.size();
    }
    void Add(Unit C) { Add(std::basic_string_view<Unit>(&C, 1)); }
    // CR LF; the block grows by 4096 units when 4 (text) or 2 (bytes) units or fewer are free.
    void AddNewLine()
    {
        if (Free() <= NewLineReserve)
            Grow(4096);
        *FPosition++ = Unit('\r');
        *FPosition++ = Unit('\n');
    }
    std::basic_string<Unit> AsString() const { return std::basic_string<Unit>(FStart, FPosition); }
    std::size_t Length() const { return std::size_t(FPosition - FStart); }
    std::size_t Capacity() const { return std::size_t(FEnd - FStart); }
    // Frees the block; the buffer is empty again.
    void Destroy()
    {
        FBlock.reset();
        FStart = FPosition = FEnd = nullptr;
    }

private:
    static constexpr std::size_t NewLineReserve = sizeof(Unit) == 1 ? 2 : 4;
    static std::size_t RoundUp(std::size_t N) { return (N + 4095) / 4096 * 4096; }
    std::size_t Free() const { return std::size_t(FEnd - FPosition); }
    void Grow(std::size_t By)
    {
        std::size_t used = Length(), capacity = Capacity() + By;
        std::unique_ptr<Unit[]> block(new Unit[capacity]);
        if (used)
            std::memcpy(block.get(), FStart, used * sizeof(Unit));
        FBlock = std::move(block);
        FStart = FBlock.get();
        FPosition = FStart + used;
        FEnd = FStart + capacity;
    }

    std::unique_ptr<Unit[]> FBlock;
    Unit* FStart = nullptr;
    Unit* FPosition = nullptr;
    Unit* FEnd = nullptr;
};

// UTF-16 text.
using TBufferedString = TBufferedText<char16_t>;
// Bytes (8-bit text).
using TBufferedRawByteString = TBufferedText<char>;

} // namespace vtree
