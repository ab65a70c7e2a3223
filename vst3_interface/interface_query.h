// What a host does with the interface pointers a VST 3 plug-in hands out:
// asks an object for another of its interfaces, and gives a pointer back.
#pragma once

#include <vst3_c_api.h>

// The object's interface `iid`, or null where it has none (or object is null).
template <typename Interface, typename Object>
Interface* queried(Object* object, const Steinberg_TUID iid) {
    void* found = nullptr;
    if (object == nullptr || object->lpVtbl->queryInterface(object, iid, &found) != Steinberg_kResultOk) return nullptr;
    return static_cast<Interface*>(found);
}

// Releases the reference and forgets the pointer.
template <typename Interface>
void releaseInterface(Interface*& object) {
    if (object != nullptr) object->lpVtbl->release(object);
    object = nullptr;
}
