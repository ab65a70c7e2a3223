#include "platform/gdi/bitmap_font.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace win32subset {

constexpr int kMaxDesignRows = 9;

// A face as drawn at its design size.
struct FaceDesign {
    const char* const* glyphRows;  // 95 glyphs, ' ' to '~'
    const char* missingGlyphRows;  // for every other character
    int glyphRowCount;             // rows in each glyph
    int leadingRows;               // blank rows of the line above the glyphs
    int lineHeight;                // leading plus glyph rows
    int emHeight;                  // the character height it is drawn at unscaled
    bool wholeScales;              // scaled only by whole factors, so its strokes stay one pixel thick
};

struct Glyph {
    int width = 0;
    std::uint8_t rows[kMaxDesignRows] = {};  // bit (width - 1 - x) is column x
    bool ink(int x, int row) const { return (rows[row] >> (width - 1 - x)) & 1u; }
};

// A face's design with its glyphs parsed.
struct FontFace {
    explicit FontFace(const FaceDesign& design);
    const Glyph& of(unsigned char c) const { return (c >= 32 && c <= 126) ? printable[c - 32] : missing; }

    const FaceDesign& design;
    Glyph printable[95];
    Glyph missing;
};

namespace {

constexpr int kDefaultEmHeight = 12;
// Requests up to this character height get the small face whatever its name.
constexpr int kLargestSmallEmHeight = 10;

// Glyphs are written as rows separated by '|', '#' for ink and '.' for paper;
// a glyph's width is that of its first row, and rows left out are blank.
// The large face: glyphs from ' ' to '~' in nine rows, seven above the
// baseline and two below.
constexpr const char* kLargeGlyphRows[95] = {
    "...|...|...|...|...|...|...|...|...",                    // space
    "#|#|#|#|#|.|#|.|.",                                      // !
    "#.#|#.#|...|...|...|...|...|...|...",                    // "
    ".#.#.|.#.#.|#####|.#.#.|#####|.#.#.|.#.#.|.....|.....",  // #
    "..#..|.####|#.#..|.###.|..#.#|####.|..#..|.....|.....",  // $
    "##...|##..#|...#.|..#..|.#...|#..##|...##|.....|.....",  // %
    ".##..|#..#.|#.#..|.#...|#.#.#|#..#.|.##.#|.....|.....",  // &
    "#|#|.|.|.|.|.|.|.",                                      // '
    "..#|.#.|#..|#..|#..|.#.|..#|...|...",                    // (
    "#..|.#.|..#|..#|..#|.#.|#..|...|...",                    // )
    ".....|..#..|#.#.#|.###.|#.#.#|..#..|.....|.....|.....",  // *
    ".....|..#..|..#..|#####|..#..|..#..|.....|.....|.....",  // +
    "..|..|..|..|..|.#|.#|#.|..",                             // ,
    "....|....|....|####|....|....|....|....|....",           // -
    ".|.|.|.|.|.|#|.|.",                                      // .
    "....#|....#|...#.|..#..|.#...|#....|#....|.....|.....",  // /
    ".###.|#...#|#..##|#.#.#|##..#|#...#|.###.|.....|.....",  // 0
    "..#..|.##..|..#..|..#..|..#..|..#..|.###.|.....|.....",  // 1
    ".###.|#...#|....#|...#.|..#..|.#...|#####|.....|.....",  // 2
    "#####|...#.|..#..|...#.|....#|#...#|.###.|.....|.....",  // 3
    "...#.|..##.|.#.#.|#..#.|#####|...#.|...#.|.....|.....",  // 4
    "#####|#....|####.|....#|....#|#...#|.###.|.....|.....",  // 5
    "..##.|.#...|#....|####.|#...#|#...#|.###.|.....|.....",  // 6
    "#####|....#|...#.|..#..|.#...|.#...|.#...|.....|.....",  // 7
    ".###.|#...#|#...#|.###.|#...#|#...#|.###.|.....|.....",  // 8
    ".###.|#...#|#...#|.####|....#|...#.|.##..|.....|.....",  // 9
    ".|.|#|.|.|#|.|.|.",                                      // :
    "..|..|.#|..|..|.#|.#|#.|..",                             // ;
    "...#|..#.|.#..|#...|.#..|..#.|...#|....|....",           // <
    ".....|.....|#####|.....|#####|.....|.....|.....|.....",  // =
    "#...|.#..|..#.|...#|..#.|.#..|#...|....|....",           // >
    ".###.|#...#|....#|...#.|..#..|.....|..#..|.....|.....",  // ?
    ".###.|#...#|#.###|#.#.#|#.###|#....|.####|.....|.....",  // @
    ".###.|#...#|#...#|#####|#...#|#...#|#...#|.....|.....",  // A
    "####.|#...#|#...#|####.|#...#|#...#|####.|.....|.....",  // B
    ".###.|#...#|#....|#....|#....|#...#|.###.|.....|.....",  // C
    "###..|#..#.|#...#|#...#|#...#|#..#.|###..|.....|.....",  // D
    "#####|#....|#....|####.|#....|#....|#####|.....|.....",  // E
    "#####|#....|#....|####.|#....|#....|#....|.....|.....",  // F
    ".###.|#...#|#....|#.###|#...#|#...#|.####|.....|.....",  // G
    "#...#|#...#|#...#|#####|#...#|#...#|#...#|.....|.....",  // H
    "###|.#.|.#.|.#.|.#.|.#.|###|...|...",                    // I
    "..###|...#.|...#.|...#.|...#.|#..#.|.##..|.....|.....",  // J
    "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#|.....|.....",  // K
    "#....|#....|#....|#....|#....|#....|#####|.....|.....",  // L
    "#...#|##.##|#.#.#|#.#.#|#...#|#...#|#...#|.....|.....",  // M
    "#...#|#...#|##..#|#.#.#|#..##|#...#|#...#|.....|.....",  // N
    ".###.|#...#|#...#|#...#|#...#|#...#|.###.|.....|.....",  // O
    "####.|#...#|#...#|####.|#....|#....|#....|.....|.....",  // P
    ".###.|#...#|#...#|#...#|#.#.#|#..#.|.##.#|.....|.....",  // Q
    "####.|#...#|#...#|####.|#.#..|#..#.|#...#|.....|.....",  // R
    ".####|#....|#....|.###.|....#|....#|####.|.....|.....",  // S
    "#####|..#..|..#..|..#..|..#..|..#..|..#..|.....|.....",  // T
    "#...#|#...#|#...#|#...#|#...#|#...#|.###.|.....|.....",  // U
    "#...#|#...#|#...#|#...#|#...#|.#.#.|..#..|.....|.....",  // V
    "#...#|#...#|#...#|#.#.#|#.#.#|#.#.#|.#.#.|.....|.....",  // W
    "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#|.....|.....",  // X
    "#...#|#...#|.#.#.|..#..|..#..|..#..|..#..|.....|.....",  // Y
    "#####|....#|...#.|..#..|.#...|#....|#####|.....|.....",  // Z
    "###|#..|#..|#..|#..|#..|###|...|...",                    // [
    "#....|#....|.#...|..#..|...#.|....#|....#|.....|.....",  // backslash
    "###|..#|..#|..#|..#|..#|###|...|...",                    // ]
    "..#..|.#.#.|#...#|.....|.....|.....|.....|.....|.....",  // ^
    ".....|.....|.....|.....|.....|.....|.....|#####|.....",  // _
    "#.|.#|..|..|..|..|..|..|..",                             // `
    ".....|.....|.###.|....#|.####|#...#|.####|.....|.....",  // a
    "#....|#....|#.##.|##..#|#...#|#...#|####.|.....|.....",  // b
    ".....|.....|.###.|#....|#....|#...#|.###.|.....|.....",  // c
    "....#|....#|.##.#|#..##|#...#|#...#|.####|.....|.....",  // d
    ".....|.....|.###.|#...#|#####|#....|.###.|.....|.....",  // e
    "..##|.#..|.#..|###.|.#..|.#..|.#..|....|....",           // f
    ".....|.....|.####|#...#|#...#|#...#|.####|....#|.###.",  // g
    "#....|#....|#.##.|##..#|#...#|#...#|#...#|.....|.....",  // h
    "#|.|#|#|#|#|#|.|.",                                      // i
    "...#|....|..##|...#|...#|...#|...#|#..#|.##.",           // j
    "#...|#...|#..#|#.#.|##..|#.#.|#..#|....|....",           // k
    "##.|.#.|.#.|.#.|.#.|.#.|###|...|...",                    // l
    ".....|.....|##.#.|#.#.#|#.#.#|#.#.#|#.#.#|.....|.....",  // m
    ".....|.....|#.##.|##..#|#...#|#...#|#...#|.....|.....",  // n
    ".....|.....|.###.|#...#|#...#|#...#|.###.|.....|.....",  // o
    ".....|.....|####.|#...#|#...#|#...#|####.|#....|#....",  // p
    ".....|.....|.####|#...#|#...#|#...#|.####|....#|....#",  // q
    ".....|.....|#.##.|##..#|#....|#....|#....|.....|.....",  // r
    ".....|.....|.####|#....|.###.|....#|####.|.....|.....",  // s
    ".#..|.#..|###.|.#..|.#..|.#..|..##|....|....",           // t
    ".....|.....|#...#|#...#|#...#|#..##|.##.#|.....|.....",  // u
    ".....|.....|#...#|#...#|#...#|.#.#.|..#..|.....|.....",  // v
    ".....|.....|#...#|#...#|#.#.#|#.#.#|.#.#.|.....|.....",  // w
    ".....|.....|#...#|.#.#.|..#..|.#.#.|#...#|.....|.....",  // x
    ".....|.....|#...#|#...#|#...#|#...#|.####|....#|.###.",  // y
    ".....|.....|#####|...#.|..#..|.#...|#####|.....|.....",  // z
    "..#|.#.|.#.|#..|.#.|.#.|..#|...|...",                    // {
    "#|#|#|#|#|#|#|#|.",                                      // |
    "#..|.#.|.#.|..#|.#.|.#.|#..|...|...",                    // }
    ".....|.....|.#...|#.#.#|...#.|.....|.....|.....|.....",  // ~
};
constexpr const char* kLargeMissingGlyphRows = "#####|#...#|#...#|#...#|#...#|#...#|#####|.....|.....";

// The small face, after the narrow screen fonts used for 9-pixel labels:
// glyphs from ' ' to '~' in seven rows, five above the baseline (capitals and
// digits fill them, lower case takes the lower four) and two below. Digits
// share one width, so a number does not shift as it changes.
constexpr const char* kSmallGlyphRows[95] = {
    "..",                             // space
    "#|#|#|.|#",                      // !
    "#.#|#.#",                        // "
    ".#.#.|#####|.#.#.|#####|.#.#.",  // #
    ".##|##.|###|.##|##.",            // $
    "#.#|..#|.#.|#..|#.#",            // %
    ".#.|#.#|.#.|#.#|.##",            // &
    "#|#",                            // '
    ".#|#.|#.|#.|.#",                 // (
    "#.|.#|.#|.#|#.",                 // )
    "...|#.#|.#.|#.#",                // *
    "...|.#.|###|.#.",                // +
    ".|.|.|.|#|#",                    // ,
    "...|...|###",                    // -
    ".|.|.|.|#",                      // .
    "..#|..#|.#.|#..|#..",            // /
    "###|#.#|#.#|#.#|###",            // 0
    ".#.|##.|.#.|.#.|###",            // 1
    "###|..#|###|#..|###",            // 2
    "###|..#|.##|..#|###",            // 3
    "#.#|#.#|###|..#|..#",            // 4
    "###|#..|###|..#|###",            // 5
    "###|#..|###|#.#|###",            // 6
    "###|..#|..#|.#.|.#.",            // 7
    "###|#.#|###|#.#|###",            // 8
    "###|#.#|###|..#|###",            // 9
    ".|#|.|#",                        // :
    ".|.|#|.|#|#",                    // ;
    "..#|.#.|#..|.#.|..#",            // <
    "...|###|...|###",                // =
    "#..|.#.|..#|.#.|#..",            // >
    "###|..#|.##|...|.#.",            // ?
    ".##.|#..#|#.##|#...|.##.",       // @
    ".#.|#.#|###|#.#|#.#",            // A
    "##.|#.#|##.|#.#|##.",            // B
    ".##|#..|#..|#..|.##",            // C
    "##.|#.#|#.#|#.#|##.",            // D
    "###|#..|##.|#..|###",            // E
    "###|#..|##.|#..|#..",            // F
    ".##|#..|#.#|#.#|.##",            // G
    "#.#|#.#|###|#.#|#.#",            // H
    "###|.#.|.#.|.#.|###",            // I
    "..#|..#|..#|#.#|.#.",            // J
    "#.#|#.#|##.|#.#|#.#",            // K
    "#..|#..|#..|#..|###",            // L
    "#...#|##.##|#.#.#|#...#|#...#",  // M
    "#..#|##.#|#.##|#..#|#..#",       // N
    ".##.|#..#|#..#|#..#|.##.",       // O
    "##.|#.#|##.|#..|#..",            // P
    ".##.|#..#|#..#|#.#.|.#.#",       // Q
    "##.|#.#|##.|#.#|#.#",            // R
    ".##|#..|.#.|..#|##.",            // S
    "###|.#.|.#.|.#.|.#.",            // T
    "#.#|#.#|#.#|#.#|###",            // U
    "#.#|#.#|#.#|#.#|.#.",            // V
    "#...#|#...#|#.#.#|##.##|#...#",  // W
    "#.#|#.#|.#.|#.#|#.#",            // X
    "#.#|#.#|.#.|.#.|.#.",            // Y
    "###|..#|.#.|#..|###",            // Z
    "##|#.|#.|#.|##",                 // [
    "#..|#..|.#.|..#|..#",            // backslash
    "##|.#|.#|.#|##",                 // ]
    ".#.|#.#",                        // ^
    "...|...|...|...|...|###",        // _
    "#.|.#",                          // `
    "...|##.|.##|#.#|.##",            // a
    "#..|##.|#.#|#.#|##.",            // b
    "...|.##|#..|#..|.##",            // c
    "..#|.##|#.#|#.#|.##",            // d
    "...|.##|###|#..|.##",            // e
    ".##|.#.|###|.#.|.#.",            // f
    "...|.##|#.#|#.#|.##|..#|##.",    // g
    "#..|##.|#.#|#.#|#.#",            // h
    "#|.|#|#|#",                      // i
    ".#|..|.#|.#|.#|.#|#.",           // j
    "#..|#.#|##.|#.#|#.#",            // k
    "#|#|#|#|#",                      // l
    ".....|##.#.|#.#.#|#.#.#|#.#.#",  // m
    "...|##.|#.#|#.#|#.#",            // n
    "....|.##.|#..#|#..#|.##.",       // o
    "...|##.|#.#|#.#|##.|#..|#..",    // p
    "...|.##|#.#|#.#|.##|..#|..#",    // q
    "...|#.#|##.|#..|#..",            // r
    "...|###|##.|..#|###",            // s
    ".#.|###|.#.|.#.|..#",            // t
    "...|#.#|#.#|#.#|.##",            // u
    "...|#.#|#.#|#.#|.#.",            // v
    ".....|#...#|#...#|#.#.#|.#.#.",  // w
    "...|#.#|.#.|.#.|#.#",            // x
    "...|#.#|#.#|#.#|.##|..#|##.",    // y
    "...|###|..#|#..|###",            // z
    ".##|.#.|##.|.#.|.##",            // {
    "#|#|#|#|#|#",                    // |
    "##.|.#.|.##|.#.|##.",            // }
    "....|.#.#|#.#.",                 // ~
};
constexpr const char* kSmallMissingGlyphRows = "###|###|###|###|###";

// Line of 10: one row of leading over 7 + 2 rows.
constexpr FaceDesign kLargeFace{kLargeGlyphRows, kLargeMissingGlyphRows, 9, 1, 10, 9, false};
// Line of 10: three rows of leading over 5 + 2 rows, so that centred in an
// 8-pixel box the capitals and digits take its rows 2 to 6 and in a 10-pixel
// box its rows 3 to 7, leaving the same margin above as below inside the box's
// outline.
constexpr FaceDesign kSmallFace{kSmallGlyphRows, kSmallMissingGlyphRows, 7, 3, 10, 9, true};

Glyph parseGlyph(const char* text, int rowCount) {
    Glyph glyph;
    glyph.width = static_cast<int>(std::strcspn(text, "|"));
    int row = 0;
    int column = 0;
    for (const char* p = text; *p != '\0' && row < rowCount; ++p) {
        if (*p == '|') {
            ++row;
            column = 0;
            continue;
        }
        if (*p == '#') glyph.rows[row] |= static_cast<std::uint8_t>(1u << (glyph.width - 1 - column));
        ++column;
    }
    return glyph;
}

int emHeightOf(const LOGFONTA& logFont, const FaceDesign& face) {
    int em = kDefaultEmHeight;
    if (logFont.lfHeight < 0) em = -logFont.lfHeight;  // character height
    if (logFont.lfHeight > 0) {                        // cell height
        em = (logFont.lfHeight * face.emHeight + face.lineHeight / 2) / face.lineHeight;
    }
    return std::clamp(em, 1, 256);
}

bool namesSmallFonts(const char* faceName) {
    const char* expected = "small fonts";
    for (; *faceName != '\0' && *expected != '\0'; ++faceName, ++expected) {
        if (std::tolower(static_cast<unsigned char>(*faceName)) != *expected) return false;
    }
    return *faceName == '\0' && *expected == '\0';
}

// "Small Fonts" between the narrow face's first two whole sizes (an editor
// drawn at one and a half times): the narrow face doubled would overflow the
// boxes and single would look lost in them, while the large face's design
// size has capitals of 7 rows, between the narrow face's 5 and 10.
bool smallFontsBetweenWholeSizes(const LOGFONTA& logFont) {
    const int em = emHeightOf(logFont, kSmallFace);
    return namesSmallFonts(logFont.lfFaceName) && em > kLargestSmallEmHeight && em < 2 * kSmallFace.emHeight;
}

// "Small Fonts" and every small request get the narrow face (the large one,
// shrunk, would lose its strokes and not fit the editor's value boxes).
const FontFace& faceFor(const LOGFONTA& logFont) {
    static const FontFace large(kLargeFace);
    static const FontFace small(kSmallFace);
    if (smallFontsBetweenWholeSizes(logFont)) return large;
    if (namesSmallFonts(logFont.lfFaceName)) return small;
    return emHeightOf(logFont, kSmallFace) <= kLargestSmallEmHeight ? small : large;
}

double scaleOf(const LOGFONTA& logFont, const FaceDesign& face) {
    if (smallFontsBetweenWholeSizes(logFont)) return 1.0;
    const double scale = static_cast<double>(emHeightOf(logFont, face)) / face.emHeight;
    return face.wholeScales ? std::max(1.0, std::round(scale)) : scale;
}

}  // namespace

FontFace::FontFace(const FaceDesign& design) : design(design) {
    for (int i = 0; i < 95; ++i) printable[i] = parseGlyph(design.glyphRows[i], design.glyphRowCount);
    missing = parseGlyph(design.missingGlyphRows, design.glyphRowCount);
}

BitmapFont::BitmapFont(const LOGFONTA& logFont)
    : face(faceFor(logFont)), scale(scaleOf(logFont, face.design)), bold(logFont.lfWeight >= 600) {
    lineHeight_ = std::max(1, static_cast<int>(std::lround(face.design.lineHeight * scale)));
    spacing = std::max(1, static_cast<int>(std::lround(scale)));
}

int BitmapFont::scaledWidth(int designWidth) const {
    return std::max(1, static_cast<int>(std::lround(designWidth * scale)));
}

int BitmapFont::advance(unsigned char c) const { return scaledWidth(face.of(c).width) + spacing + (bold ? 1 : 0); }

int BitmapFont::textWidth(const char* text, int length) const {
    int width = 0;
    for (int i = 0; i < length; ++i) width += advance(static_cast<unsigned char>(text[i]));
    return width;
}

std::vector<Span> BitmapFont::inkSpans(const char* text, int length, int x, int y) const {
    std::vector<Span> spans;
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const Glyph& glyph = face.of(c);
        const int width = scaledWidth(glyph.width);
        for (int row = 0; row < lineHeight_; ++row) {
            // Nearest neighbour: the design row under the centre of this row.
            const FaceDesign& design = face.design;
            const int designRow = (2 * row + 1) * design.lineHeight / (2 * lineHeight_) - design.leadingRows;
            if (designRow < 0 || designRow >= design.glyphRowCount) continue;
            for (int column = 0; column < width; ++column) {
                const int designColumn = (2 * column + 1) * glyph.width / (2 * width);
                if (!glyph.ink(designColumn, designRow)) continue;
                // Bold: each ink pixel also covers its right neighbour.
                spans.push_back({y + row, x + column, x + column + (bold ? 2 : 1)});
            }
        }
        x += advance(c);
    }
    return spans;
}

}  // namespace win32subset
