// A BMP file read back for checking: its header fields as written, its
// palette and its pixels. Handles the uncompressed 8- and 24-bit forms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb& other) const { return red == other.red && green == other.green && blue == other.blue; }
};

class BmpImage {
public:
    static BmpImage fromFile(const std::string& path);
    explicit BmpImage(std::vector<std::uint8_t> bytes);

    // False when the file is too short for its headers, palette or rows.
    bool isValid() const { return valid; }
    const std::vector<std::uint8_t>& bytes() const { return file; }

    std::uint32_t fileSizeField() const { return word(2); }
    std::uint32_t pixelOffset() const { return word(10); }
    std::uint32_t infoHeaderSize() const { return word(14); }
    int width() const { return static_cast<std::int32_t>(word(18)); }
    int storedHeight() const { return static_cast<std::int32_t>(word(22)); }  // positive: bottom-up
    int planes() const { return half(26); }
    int bitsPerPixel() const { return half(28); }
    std::uint32_t compression() const { return word(30); }
    const std::vector<Rgb>& palette() const { return colours; }

    // x from the left, y from the top.
    Rgb pixel(int x, int y) const;

private:
    std::uint32_t word(std::size_t at) const;
    int half(std::size_t at) const;
    void parse();

    std::vector<std::uint8_t> file;
    std::vector<Rgb> colours;
    std::size_t rowStride = 0;
    bool valid = false;
};

std::string describe(const Rgb& colour);
