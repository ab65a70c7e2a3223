#include "host/loader/vst3_editor_view.h"

namespace {

#if defined(_WIN32)
const Steinberg_FIDString kNativeViewType = Steinberg_kPlatformTypeHWND;
#else
const Steinberg_FIDString kNativeViewType = Steinberg_kPlatformTypeX11EmbedWindowID;
#endif

void releaseView(Steinberg_IPlugView*& view) {
    view->lpVtbl->release(view);
    view = nullptr;
}

}  // namespace

bool Vst3EditorView::open(Steinberg_Vst_IEditController* controller, void* parentWindow) {
    if (attached != nullptr) return false;
    attached = controller->lpVtbl->createView(controller, "editor");
    if (attached == nullptr) return false;
    if (attached->lpVtbl->isPlatformTypeSupported(attached, kNativeViewType) != Steinberg_kResultOk ||
        attached->lpVtbl->setFrame(attached, plugFrame.frame()) != Steinberg_kResultOk ||
        attached->lpVtbl->attached(attached, parentWindow, kNativeViewType) != Steinberg_kResultOk) {
        attached->lpVtbl->setFrame(attached, nullptr);
        releaseView(attached);
        return false;
    }
    return true;
}

void Vst3EditorView::close() {
    if (attached == nullptr) return;
    attached->lpVtbl->removed(attached);
    attached->lpVtbl->setFrame(attached, nullptr);
    releaseView(attached);
}
