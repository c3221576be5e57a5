// Opaque handles. Each object lives in a slot of its kind's table, and its
// handle is a 32-bit value that names the kind, the slot and the slot's
// generation:
//
//   bit  31      always 0
//   bits 27-30   kind (HandleKind, 1 to 15)
//   bits 14-26   generation of the slot (0 to 8191)
//   bits  0-13   slot (0 to 16383)
//
// - Handles of two kinds never equal each other, so a handle of one kind
//   handed where another kind is expected finds nothing.
// - A slot is reused only with the next generation, so a stale handle finds
//   nothing and the call that got it fails without effect, as on Windows.
// - A table makes new slots while it has room for them (1024 at first), and
//   then reuses freed slots, the one freed longest ago first, as long as at
//   least 256 are free; when fewer are, its room doubles. So between two
//   uses of a slot at least 255 other objects of the table are made, and a
//   handle's value comes back only after at least two million (256 times the
//   8192 generations) have been made after it; only a table that is nearly
//   full reuses its free slots sooner.
// - A handle is never 0, never below 0x08000000 (so it is not taken for a
//   small number that Win32 passes in the same places: a resource number, a
//   colour index plus one, a control id, a region's complexity) and never
//   above 0x7FFFFFFF: it keeps its value in a signed or unsigned 32-bit field
//   and when it is widened from one.
// - A table holds at most 16384 live objects (more than Windows allows a
//   process of windows or of GDI objects); when it is full, making one more
//   fails with a null handle.
// - The table's memory (16 bytes a slot, room for 1024 taken when the first
//   object comes) does not grow with objects made and freed, only with the
//   most that are live at one time.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace orvex_platform {

enum class HandleKind : std::uint32_t {
    window = 1,
    device_context,
    brush,
    bitmap,
    palette,
    region,
    gl_context,
    global_memory,
    cursor,  // cursors and icons, which share their handles as on Windows
};

namespace handle_layout {
inline constexpr unsigned kSlotBits = 14;
inline constexpr unsigned kGenerationBits = 13;
inline constexpr unsigned kKindShift = kSlotBits + kGenerationBits;
inline constexpr std::uint32_t kSlots = 1u << kSlotBits;
inline constexpr std::uint32_t kGenerations = 1u << kGenerationBits;
inline constexpr std::uint32_t kFirstRoom = 1024;
inline constexpr std::uint32_t kMinFreeSlots = 256;
static_assert(kKindShift + 4 == 31, "the kind ends below bit 31");

constexpr std::uint32_t make(HandleKind kind, std::uint32_t generation, std::uint32_t slot) {
    return (static_cast<std::uint32_t>(kind) << kKindShift) | (generation << kSlotBits) | slot;
}
constexpr std::uint32_t slot_of(std::uintptr_t handle) { return static_cast<std::uint32_t>(handle) & (kSlots - 1); }
}  // namespace handle_layout

template <class T>
class HandleTable {
public:
    // The new object's handle; null, and the object gone, when the table is full.
    template <class H>
    H add(HandleKind kind, std::unique_ptr<T> object) {
        using namespace handle_layout;
        // New slots while there is room; then the oldest free one, unless
        // too few are free, which doubles the room.
        if (slots_.size() == room_ && free_count_ < kMinFreeSlots && room_ < kSlots)
            room_ = std::min(room_ * 2, kSlots);
        if (slots_.capacity() < room_) slots_.reserve(room_);
        std::uint32_t index;
        if (slots_.size() < room_) {
            index = static_cast<std::uint32_t>(slots_.size());
            slots_.emplace_back();
        } else if (free_count_ > 0) {
            index = pop_free();
        } else {
            return nullptr;
        }
        Slot& s = slots_[index];
        s.object = std::move(object);
        s.kind = static_cast<std::uint8_t>(kind);
        ++live_;
        return reinterpret_cast<H>(static_cast<std::uintptr_t>(value(s, index)));
    }

    template <class H>
    T* find(H handle) const {
        const Slot* s = live_slot(reinterpret_cast<std::uintptr_t>(handle));
        return s ? s->object.get() : nullptr;
    }

    // Removes the object and hands it over; null for a handle that finds nothing.
    template <class H>
    std::unique_ptr<T> take(H handle) {
        const std::uintptr_t raw = reinterpret_cast<std::uintptr_t>(handle);
        if (!live_slot(raw)) return nullptr;
        const std::uint32_t index = handle_layout::slot_of(raw);
        Slot* s = &slots_[index];
        std::unique_ptr<T> object = std::move(s->object);
        s->generation = static_cast<std::uint16_t>((s->generation + 1) % handle_layout::kGenerations);
        push_free(index);
        --live_;
        return object;
    }

    std::size_t size() const { return live_; }
    std::size_t slots() const { return slots_.size(); }  // live and free

    template <class F>
    void for_each(F&& f) const {
        for (std::uint32_t i = 0; i < slots_.size(); ++i)
            if (slots_[i].object) f(static_cast<std::uintptr_t>(value(slots_[i], i)), *slots_[i].object);
    }

private:
    static constexpr std::uint32_t kNone = ~std::uint32_t{0};

    struct Slot {
        std::unique_ptr<T> object;
        std::uint32_t next_free = kNone;
        std::uint16_t generation = 0;
        std::uint8_t kind = 0;  // of the live object
    };

    static std::uint32_t value(const Slot& s, std::uint32_t index) {
        return handle_layout::make(static_cast<HandleKind>(s.kind), s.generation, index);
    }

    const Slot* live_slot(std::uintptr_t handle) const {
        const std::uint32_t index = handle_layout::slot_of(handle);
        if (index >= slots_.size()) return nullptr;
        const Slot& s = slots_[index];
        return (s.object && value(s, index) == handle) ? &s : nullptr;
    }

    void push_free(std::uint32_t index) {
        slots_[index].next_free = kNone;
        if (free_count_ == 0)
            free_head_ = index;
        else
            slots_[free_tail_].next_free = index;
        free_tail_ = index;
        ++free_count_;
    }

    std::uint32_t pop_free() {
        const std::uint32_t index = free_head_;
        free_head_ = slots_[index].next_free;
        --free_count_;
        return index;
    }

    std::vector<Slot> slots_;
    std::uint32_t room_ = handle_layout::kFirstRoom;  // slots the table makes before it reuses one
    std::uint32_t free_head_ = kNone;
    std::uint32_t free_tail_ = kNone;
    std::uint32_t free_count_ = 0;
    std::size_t live_ = 0;
};

}  // namespace orvex_platform
