// DrawTextA: lines of text placed in a rectangle, clipped to it, in the
// device context's text colour (over the background colour when the
// background mode is OPAQUE).
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/bitmap_font.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/gdi_painter.h"

namespace win32subset {

namespace {

struct TextLine {
    const char* text;
    int length;
};

// One line with DT_SINGLELINE; otherwise the text broken at each line feed
// (a carriage return before it belongs to the break).
std::vector<TextLine> splitLines(const char* text, int length, bool singleLine) {
    if (singleLine) return {{text, length}};
    std::vector<TextLine> lines;
    int start = 0;
    for (int i = 0; i <= length; ++i) {
        if (i < length && text[i] != '\n') continue;
        int end = i;
        if (end > start && text[end - 1] == '\r') --end;
        lines.push_back({text + start, end - start});
        start = i + 1;
    }
    return lines;
}

void clipSpans(std::vector<Span>& spans, const RECT& rect) {
    for (Span& span : spans) {
        if (span.y < rect.top || span.y >= rect.bottom) span.x1 = span.x0;
        span.x0 = std::max<int>(span.x0, rect.left);
        span.x1 = std::min<int>(span.x1, rect.right);
    }
    spans.erase(std::remove_if(spans.begin(), spans.end(), [](const Span& s) { return s.x1 <= s.x0; }), spans.end());
}

LOGFONTA fontOf(const DeviceContextObject& dc) {
    const FontObject* font = GdiObjects::instance().findFont(dc.font);
    if (font != nullptr) return font->logFont;
    LOGFONTA fallback;
    std::memset(&fallback, 0, sizeof(fallback));
    return fallback;
}

}  // namespace

}  // namespace win32subset

int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    using namespace win32subset;
    DeviceContextObject* dc = GdiObjects::instance().findDc(hdc);
    if (dc == nullptr || lpchText == nullptr || lprc == nullptr) return 0;
    if (cchText < 0) cchText = static_cast<int>(std::strlen(lpchText));
    if (cchText == 0) return 0;

    const BitmapFont font(fontOf(*dc));
    const int lineHeight = font.lineHeight();
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    const RECT box = *lprc;
    int y = box.top;
    if (singleLine && (format & DT_VCENTER) != 0) {
        y = box.top + (box.bottom - box.top - lineHeight) / 2;
    } else if (singleLine && (format & DT_BOTTOM) != 0) {
        y = box.bottom - lineHeight;
    }
    const int firstTop = y;

    Painter painter(GdiObjects::instance().targetOf(*dc));
    const std::uint32_t textPixel = painter.pixelOf(dc->textColor);
    const std::uint32_t backgroundPixel = painter.pixelOf(dc->backgroundColor);
    for (const TextLine& line : splitLines(lpchText, cchText, singleLine)) {
        const int width = font.textWidth(line.text, line.length);
        int x = box.left;
        if ((format & DT_CENTER) != 0) {
            x = (box.left + box.right - width) / 2;
        } else if ((format & DT_RIGHT) != 0) {
            x = box.right - width;
        }
        if (dc->backgroundMode == OPAQUE) {
            std::vector<Span> cell;
            for (int row = y; row < y + lineHeight; ++row) cell.push_back({row, x, x + width});
            clipSpans(cell, box);
            painter.spans(cell, backgroundPixel);
        }
        std::vector<Span> ink = font.inkSpans(line.text, line.length, x, y);
        clipSpans(ink, box);
        painter.spans(ink, textPixel);
        y += lineHeight;
    }
    // GDI's answer: from the top of the rectangle to the bottom of the text
    // when placed vertically, else the height of the text.
    if (singleLine && (format & (DT_VCENTER | DT_BOTTOM)) != 0) return firstTop + lineHeight - box.top;
    return y - firstTop;
}
