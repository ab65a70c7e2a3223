#include "gui/offscreen_context.h"

#include "gui/gui_frame.h"

OffscreenContext::OffscreenContext(GuiFrame* frame, std::int32_t width, std::int32_t height, const GuiColor& background)
    : DrawContext(frame, nullptr, nullptr), width(width), height(height), background(background) {
    HWND frameWindow = frame != nullptr ? frame->getWindowHandle() : nullptr;
    HDC windowContext = GetDC(frameWindow);
    deviceContext = CreateCompatibleDC(windowContext);
    bitmap = CreateCompatibleBitmap(windowContext, width, height);
    SelectObject(deviceContext, bitmap);
    ownsBitmap = true;
    ReleaseDC(frameWindow, windowContext);

    setFillColor(background);
    setLineColor(background);
    GuiRect whole(0, 0, width, height);
    fillRect(whole);
    drawRect(whole);
}

OffscreenContext::~OffscreenContext() {
    DeleteDC(deviceContext);
    deviceContext = nullptr;  // nothing left to select back into
    if (ownsBitmap && bitmap != nullptr) DeleteObject(bitmap);
}

void OffscreenContext::copyTo(DrawContext& destination, const GuiRect& destinationRect, const GuiPoint& sourceOffset) {
    BitBlt(destination.getDeviceContext(), destinationRect.left, destinationRect.top, destinationRect.width(),
           destinationRect.height(), deviceContext, sourceOffset.h, sourceOffset.v, SRCCOPY);
}
