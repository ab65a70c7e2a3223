// The one typeface of our GDI: a hand-drawn 5 × 7 bitmap font (with
// descenders, variable width) scaled by nearest neighbour to the requested
// character height. A 9-pixel font is the design size: 10 rows a line, of
// which one is leading, seven carry capitals and digits and two descenders,
// so a 9-pixel text keeps its capitals and digits inside an 8-pixel box when
// centred. Bold is drawn twice, one pixel apart. Every face name gets this
// font; characters outside printable ASCII show as a box.
#pragma once

#include <vector>

#include "platform/shape_geometry.h"
#include "platform/win32.h"

namespace win32subset {

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

    int lineHeight_;
    double scale;
    int spacing;
    bool bold;
};

}  // namespace win32subset
