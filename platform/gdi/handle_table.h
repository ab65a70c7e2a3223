// Handles of our Win32 subset: an index into a table of objects plus a
// generation that changes whenever the slot is freed, so a deleted (stale)
// handle never reaches the object that later reuses its slot. A tag in the low
// bits keeps the tables apart: a window handle passed where a GDI object is
// expected is simply not found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace win32subset {

template <class Object>
class HandleTable {
public:
    // tag: 1 to 15, distinct for each table.
    explicit HandleTable(unsigned tag) : tag(tag) {}
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // The new object's handle value, or 0 when the table is full.
    std::uintptr_t add(std::unique_ptr<Object> object) {
        std::size_t index;
        if (!freeSlots.empty()) {
            index = freeSlots.front();
            freeSlots.pop_front();
        } else {
            if (slots.size() >= kMaxSlots) return 0;
            index = slots.size();
            slots.emplace_back();
        }
        slots[index].object = std::move(object);
        return encode(index, slots[index].generation);
    }

    Object* find(std::uintptr_t handle) const {
        const Slot* slot = slotOf(handle);
        return slot != nullptr ? slot->object.get() : nullptr;
    }

    // Takes the object out of the table; its handle is stale from now on.
    std::unique_ptr<Object> remove(std::uintptr_t handle) {
        Slot* slot = const_cast<Slot*>(slotOf(handle));
        if (slot == nullptr) return nullptr;
        std::unique_ptr<Object> object = std::move(slot->object);
        slot->generation = (slot->generation + 1) & kGenerationMask;
        if (slot->generation == 0) slot->generation = 1;
        freeSlots.push_back(static_cast<std::size_t>(slot - slots.data()));
        return object;
    }

private:
    static constexpr unsigned kTagBits = 4;
    static constexpr unsigned kIndexBits = 16;
    static constexpr std::size_t kMaxSlots = std::size_t{1} << kIndexBits;
    static constexpr unsigned kGenerationBits = sizeof(std::uintptr_t) * 8 - kTagBits - kIndexBits;
    static constexpr std::uintptr_t kGenerationMask = (std::uintptr_t{1} << kGenerationBits) - 1;

    struct Slot {
        std::unique_ptr<Object> object;
        // Never 0, so no handle is a small number (those mean system colours to FillRect).
        std::uintptr_t generation = 1;
    };

    std::uintptr_t encode(std::size_t index, std::uintptr_t generation) const {
        return (generation << (kTagBits + kIndexBits)) | (std::uintptr_t{index} << kTagBits) | tag;
    }

    const Slot* slotOf(std::uintptr_t handle) const {
        if ((handle & ((1u << kTagBits) - 1)) != tag) return nullptr;
        const std::size_t index = (handle >> kTagBits) & (kMaxSlots - 1);
        if (index >= slots.size()) return nullptr;
        const Slot& slot = slots[index];
        if (slot.object == nullptr || encode(index, slot.generation) != handle) return nullptr;
        return &slot;
    }

    unsigned tag;
    std::vector<Slot> slots;
    std::deque<std::size_t> freeSlots;  // reused oldest first, spreading generations
};

}  // namespace win32subset
