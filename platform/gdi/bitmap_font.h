// The typefaces of our GDI, two hand-drawn bitmap faces with variable widths:
// - a small face of 3-pixel-wide capitals and digits, 5 rows high, for
//   "Small Fonts" and for every request of 10 pixels or less; it is scaled
//   only by whole factors, so 9-pixel text stays sharp and narrow enough for
//   the editor's 32-pixel value boxes ("7350 Hz" is 26 pixels wide);
//   "Small Fonts" between its 1x and 2x sizes (11 to 17 pixels) gets the
//   large face at its design size instead;
// - a large 5 × 7 face with descenders for everything else, scaled by
//   nearest neighbour to the requested character height (9 pixels is its
//   design size: a line of 10 rows, one of leading, seven for capitals and
//   digits, two for descenders).
// Bold is drawn twice, one pixel apart. Characters outside printable ASCII
// show as a box.
#pragma once

#include <vector>

#include "platform/gdi/shape_geometry.h"
#include "platform/win32.h"

namespace win32subset {

struct FontFace;

class BitmapFont {
public:
    explicit BitmapFont(const LOGFONTA& logFont);

    // The height of a line (GDI's tmHeight).
    int lineHeight() const { return lineHeight_; }
    int textWidth(const char* text, int length) const;
    // The ink of the text whose line starts at (x, y) (top-left corner).
    std::vector<Span> inkSpans(const char* text, int length, int x, int y) const;

private:
    int scaledWidth(int designWidth) const;
    int advance(unsigned char c) const;

    const FontFace& face;
    double scale;
    int lineHeight_;
    int spacing;
    bool bold;
};

}  // namespace win32subset
