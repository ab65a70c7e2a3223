// The bitmap resources of builds without Windows resources, and LoadBitmapA
// over them. Registration happens during static initialisation, so the
// registry is built on first use.
#include "platform/gdi/embedded_bitmaps.h"

#include <map>
#include <utility>

#include "platform/gdi/bmp_decoder.h"
#include "platform/gdi/gdi_objects.h"

namespace {

using EmbeddedBitmap = std::pair<const unsigned char*, std::size_t>;

std::map<int, EmbeddedBitmap>& embeddedBitmaps() {
    // Never destroyed: code running during static destruction may still load bitmaps.
    static auto* bitmaps = new std::map<int, EmbeddedBitmap>;
    return *bitmaps;
}

}  // namespace

void registerEmbeddedBitmap(int resourceId, const unsigned char* data, std::size_t size) {
    embeddedBitmaps()[resourceId] = {data, size};
}

// The instance handle is not consulted: every module of the process shares
// the embedded bitmaps. Named (non-numeric) resources do not exist.
HBITMAP WINAPI LoadBitmapA(HINSTANCE, LPCSTR lpBitmapName) {
    if (!IS_INTRESOURCE(lpBitmapName)) return nullptr;
    const auto found = embeddedBitmaps().find(LOWORD(lpBitmapName));
    if (found == embeddedBitmaps().end()) return nullptr;
    std::unique_ptr<win32subset::Surface> pixels = win32subset::decodeBmp(found->second.first, found->second.second);
    if (pixels == nullptr) return nullptr;
    auto bitmap = std::make_unique<win32subset::BitmapObject>(0, 0, false);
    bitmap->surface = std::move(*pixels);
    return static_cast<HBITMAP>(win32subset::GdiObjects::instance().add(std::move(bitmap)));
}
