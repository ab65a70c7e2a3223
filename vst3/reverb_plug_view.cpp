#include "vst3/reverb_plug_view.h"

#include <cstring>
#include <new>

using View = Steinberg_IPlugView;

Steinberg_IPlugViewVtbl ReverbPlugView::viewTable = {
    Thunk<View, &ReverbPlugView::queryInterface>::call,
    Thunk<View, &ReverbPlugView::addRef>::call,
    Thunk<View, &ReverbPlugView::release>::call,
    Thunk<View, &ReverbPlugView::isPlatformTypeSupported>::call,
    Thunk<View, &ReverbPlugView::attached>::call,
    Thunk<View, &ReverbPlugView::removed>::call,
    Thunk<View, &ReverbPlugView::onWheel>::call,
    Thunk<View, &ReverbPlugView::onKeyDown>::call,
    Thunk<View, &ReverbPlugView::onKeyUp>::call,
    Thunk<View, &ReverbPlugView::getSize>::call,
    Thunk<View, &ReverbPlugView::onSize>::call,
    Thunk<View, &ReverbPlugView::onFocus>::call,
    Thunk<View, &ReverbPlugView::setFrame>::call,
    Thunk<View, &ReverbPlugView::canResize>::call,
    Thunk<View, &ReverbPlugView::checkSizeConstraint>::call,
};

namespace {

#if defined(_WIN32)
const char* const kWindowType = Steinberg_kPlatformTypeHWND;
#else
const char* const kWindowType = Steinberg_kPlatformTypeX11EmbedWindowID;
#endif

}  // namespace

Steinberg_IPlugView* ReverbPlugView::create(Steinberg_FUnknown* plugin, ReverbEditController& controller) {
    auto* made = new (std::nothrow) ReverbPlugView(plugin, controller);
    return made != nullptr ? &made->view.interface : nullptr;
}

ReverbPlugView::ReverbPlugView(Steinberg_FUnknown* plugin, ReverbEditController& controller)
    : plugin(plugin),
      controller(controller),
      editor(controller, nullptr),
      idleTimer(view.asUnknown(), idleEditor, this) {
    plugin->lpVtbl->addRef(plugin);
}

ReverbPlugView::~ReverbPlugView() {
    if (isAttached) removed();
    plugin->lpVtbl->release(plugin);
}

Steinberg_uint32 ReverbPlugView::release() {
    const Steinberg_uint32 left = references.drop();
    if (left == 0) delete this;
    return left;
}

Steinberg_tresult ReverbPlugView::queryInterface(const char* iid, void** object) {
    if (object == nullptr) return Steinberg_kInvalidArgument;
    if (sameInterfaceId(iid, Steinberg_FUnknown_iid) || sameInterfaceId(iid, Steinberg_IPlugView_iid)) {
        addRef();
        *object = &view;
        return Steinberg_kResultOk;
    }
    *object = nullptr;
    return Steinberg_kNoInterface;
}

Steinberg_tresult ReverbPlugView::isPlatformTypeSupported(Steinberg_FIDString type) {
    return type != nullptr && std::strcmp(type, kWindowType) == 0 ? Steinberg_kResultTrue : Steinberg_kResultFalse;
}

Steinberg_tresult ReverbPlugView::attached(void* parent, Steinberg_FIDString type) {
    if (parent == nullptr || isAttached || isPlatformTypeSupported(type) != Steinberg_kResultTrue)
        return Steinberg_kResultFalse;
    if (editor.open(parent) == 0) return Steinberg_kResultFalse;
    isAttached = true;
    controller.setEditorListener(&editor);
    idleTimer.start(frame, parent);
    return Steinberg_kResultOk;
}

Steinberg_tresult ReverbPlugView::removed() {
    if (!isAttached) return Steinberg_kResultFalse;
    idleTimer.stop();
    controller.setEditorListener(nullptr);
    editor.close();
    isAttached = false;
    return Steinberg_kResultOk;
}

Steinberg_tresult ReverbPlugView::getSize(Steinberg_ViewRect* size) {
    if (size == nullptr) return Steinberg_kInvalidArgument;
    ERect* rect = nullptr;
    editor.getRect(&rect);
    if (rect == nullptr) return Steinberg_kResultFalse;
    *size = {0, 0, rect->right - rect->left, rect->bottom - rect->top};
    return Steinberg_kResultOk;
}

// The size is fixed: onSize takes only ours, checkSizeConstraint answers with it.
Steinberg_tresult ReverbPlugView::onSize(Steinberg_ViewRect* newSize) {
    if (newSize == nullptr) return Steinberg_kInvalidArgument;
    Steinberg_ViewRect fixed{};
    getSize(&fixed);
    const bool same = newSize->right - newSize->left == fixed.right && newSize->bottom - newSize->top == fixed.bottom;
    return same ? Steinberg_kResultOk : Steinberg_kResultFalse;
}

Steinberg_tresult ReverbPlugView::setFrame(Steinberg_IPlugFrame* newFrame) {
    frame = newFrame;
    return Steinberg_kResultOk;
}
