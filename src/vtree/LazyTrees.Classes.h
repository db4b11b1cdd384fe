#pragma once
// A lock object of the tree control's own units (unrelated to the serial port's lock of the
// same name), and the growable text buffers of the content export.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "plat/Files.h"
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
// Each buffer keeps its text in one block whose capacity is a whole multiple of 4096 units.
// A growth adds the needed amount rounded up to 4096 and at least the current capacity, so
// the block doubles: an export of n units copies O(n) units in all, not O(n^2 / 4096).
// Both start empty.
namespace vtree {

template <class Unit>
class TBufferedText {
public:
    TBufferedText() = default;
    TBufferedText(const TBufferedText&) = delete;
    TBufferedText& operator=(const TBufferedText&) = delete;

    // An empty text adds nothing. When the text is at least as long as the free space, the
    // block grows by its length rounded up to a multiple of 4096 units (at least doubling).
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
    // CR LF; the block grows by 4096 units (at least doubling) when 4 (text) or 2 (bytes)
    // units or fewer are free.
    void AddNewLine()
    {
        if (Free() <= NewLineReserve)
            Grow(4096);
        *FPosition++ = Unit('\r');
        *FPosition++ = Unit('\n');
    }
    // The text as a string of its own. A long text is copied into storage advised as huge
    // pages before it is first touched: the copy then costs one page fault per 2 MiB instead
    // of one per 4 KiB.
    std::basic_string<Unit> AsString() const
    {
        std::basic_string<Unit> s;
        s.reserve(Length());
        plat::AdviseHugePages(s.data(), Length() * sizeof(Unit));
        s.assign(View());
        return s;
    }
    std::basic_string_view<Unit> View() const { return std::basic_string_view<Unit>(FStart, Length()); }
    std::size_t Length() const { return std::size_t(FPosition - FStart); }
    std::size_t Capacity() const { return std::size_t(FEnd - FStart); }
    // Room for at least Units units in all (rounded up to 4096), for writers that know the
    // size of their output beforehand.
    void Reserve(std::size_t Units)
    {
        if (Units > Capacity()) Grow(RoundUp(Units) - Capacity());
    }
    // Frees the block; the buffer is empty again.
    void Destroy()
    {
        if (FStart) plat::FreePages(FStart, Capacity() * sizeof(Unit));
        FStart = FPosition = FEnd = nullptr;
    }
    ~TBufferedText() { Destroy(); }

private:
    static constexpr std::size_t NewLineReserve = sizeof(Unit) == 1 ? 2 : 4;
    static std::size_t RoundUp(std::size_t N) { return (N + 4095) / 4096 * 4096; }
    std::size_t Free() const { return std::size_t(FEnd - FPosition); }
    // Blocks come in whole pages (huge pages from 2 MiB on): filling a long export costs one
    // page fault per 2 MiB, and nothing is zero-filled first.
    void Grow(std::size_t By)
    {
        const std::size_t used = Length(), capacity = Capacity() + std::max(By, Capacity());
        auto* block = static_cast<Unit*>(plat::AllocatePages(capacity * sizeof(Unit)));
        if (!block) throw std::bad_alloc();
        if (used) std::memcpy(block, FStart, used * sizeof(Unit));
        Destroy();
        FStart = block;
        FPosition = block + used;
        FEnd = block + capacity;
    }

    Unit* FStart = nullptr;
    Unit* FPosition = nullptr;
    Unit* FEnd = nullptr;
};

// UTF-16 text.
using TBufferedString = TBufferedText<char16_t>;
// Bytes (8-bit text).
using TBufferedRawByteString = TBufferedText<char>;

} // namespace vtree
