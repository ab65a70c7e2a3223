// How our C++ objects answer the VST 3 C interfaces: each interface a host
// may hold is an InterfaceSlot inside the object, whose first member is the C
// struct with its function table, followed by a pointer back to the object.
// The host's interface pointer is the slot's address, so a table function
// finds its object from the pointer it is called with.
#pragma once

#include <vst3_c_api.h>

#include <atomic>
#include <cstdint>
#include <cstring>

template <typename Interface, typename Owner>
struct InterfaceSlot {
    Interface interface;  // first: the host's pointer to the interface is the slot's address
    Owner* owner;

    // Every interface is an FUnknown to begin with.
    Steinberg_FUnknown* asUnknown() { return reinterpret_cast<Steinberg_FUnknown*>(this); }
};

// Table entries: Thunk<Interface, &Owner::method>::call forwards the C call
// (with the host's calling convention) to the owner's member function.
template <typename Interface, auto Method>
struct Thunk;

template <typename Interface, typename Owner, typename Result, typename... Args, Result (Owner::*Method)(Args...)>
struct Thunk<Interface, Method> {
    static Result SMTG_STDMETHODCALLTYPE call(void* self, Args... args) {
        return (static_cast<InterfaceSlot<Interface, Owner>*>(self)->owner->*Method)(args...);
    }
};

inline bool sameInterfaceId(const Steinberg_TUID a, const Steinberg_TUID b) {
    return std::memcmp(a, b, sizeof(Steinberg_TUID)) == 0;
}

// queryInterface of an object that implements one interface (beside FUnknown) at self.
inline Steinberg_tresult answerInterfaceQuery(void* self, const char* iid, const Steinberg_TUID own, void** object) {
    if (object == nullptr) return Steinberg_kInvalidArgument;
    if (sameInterfaceId(iid, own) || sameInterfaceId(iid, Steinberg_FUnknown_iid)) {
        *object = self;
        return Steinberg_kResultOk;
    }
    *object = nullptr;
    return Steinberg_kNoInterface;
}

// The count behind addRef and release; any thread.
class ReferenceCount {
public:
    std::uint32_t add() { return count.fetch_add(1, std::memory_order_relaxed) + 1; }
    // The count left; the caller deletes its object at 0.
    std::uint32_t drop() { return count.fetch_sub(1, std::memory_order_acq_rel) - 1; }

private:
    std::atomic<std::uint32_t> count{1};
};
