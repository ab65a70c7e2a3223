#include "vst3/reverb_plug_view.h"

#include <algorithm>
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

using ScaleSupport = Steinberg_IPlugViewContentScaleSupport;

Steinberg_IPlugViewContentScaleSupportVtbl ReverbPlugView::scaleTable = {
    Thunk<ScaleSupport, &ReverbPlugView::queryInterface>::call,
    Thunk<ScaleSupport, &ReverbPlugView::addRef>::call,
    Thunk<ScaleSupport, &ReverbPlugView::release>::call,
    Thunk<ScaleSupport, &ReverbPlugView::setContentScaleFactor>::call,
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
    editor.setScale(controller.editorScale());
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
    if (sameInterfaceId(iid, Steinberg_IPlugViewContentScaleSupport_iid)) {
        addRef();
        *object = &scaleSupport;
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

float ReverbPlugView::scaleForSize(const Steinberg_ViewRect& size) const {
    const Steinberg_int32 width = size.right - size.left;
    const Steinberg_int32 height = size.bottom - size.top;
    if (width != height || editor.faceWidth() <= 0) return 0.0f;
    const float factor = static_cast<float>(width) / static_cast<float>(editor.faceWidth());
    return ReverbEditor::supportedScale(factor) == factor ? factor : 0.0f;
}

// Only the sizes the editor draws: onSize takes one of them, checkSizeConstraint
// answers the nearest.
Steinberg_tresult ReverbPlugView::onSize(Steinberg_ViewRect* newSize) {
    if (newSize == nullptr) return Steinberg_kInvalidArgument;
    const float factor = scaleForSize(*newSize);
    if (factor == 0.0f) return Steinberg_kResultFalse;
    editor.setScale(factor);
    controller.setEditorScale(editor.getScale());
    return Steinberg_kResultOk;
}

Steinberg_tresult ReverbPlugView::checkSizeConstraint(Steinberg_ViewRect* rect) {
    if (rect == nullptr) return Steinberg_kInvalidArgument;
    const Steinberg_int32 side = std::min(rect->right - rect->left, rect->bottom - rect->top);
    const float factor =
        ReverbEditor::supportedScale(static_cast<float>(side) / static_cast<float>(editor.faceWidth()));
    const auto sized = static_cast<Steinberg_int32>(static_cast<float>(editor.faceWidth()) * factor);
    rect->right = rect->left + sized;
    rect->bottom = rect->top + sized;
    return Steinberg_kResultTrue;
}

// The host's scale for the screen: the editor draws at the nearest it supports
// and, if that changed its size, asks the host's frame for the new size.
Steinberg_tresult ReverbPlugView::setContentScaleFactor(Steinberg_IPlugViewContentScaleSupport_ScaleFactor factor) {
    if (!(factor > 0.0f)) return Steinberg_kResultFalse;
    Steinberg_ViewRect before{};
    getSize(&before);
    editor.setScale(factor);
    controller.setEditorScale(editor.getScale());
    Steinberg_ViewRect after{};
    getSize(&after);
    if (frame != nullptr && isAttached && after.right != before.right)
        frame->lpVtbl->resizeView(frame, &view.interface, &after);
    return Steinberg_kResultTrue;
}

Steinberg_tresult ReverbPlugView::setFrame(Steinberg_IPlugFrame* newFrame) {
    frame = newFrame;
    return Steinberg_kResultOk;
}
