// Texts between our 8-bit strings and VST 3's UTF-16 ones. Our texts are
// ASCII (names, units, display texts); a host's text is read as ASCII too,
// any other character becoming '?', so it cannot match a unit by accident.
// Any thread; nothing allocates.
#pragma once

#include <cstddef>

class Utf16Text {
public:
    static constexpr std::size_t kString128Size = 128;  // code units of a String128, terminator included

    // Copies text into out (capacity code units, terminator included),
    // truncated where it does not fit; null gives "".
    static void fromAscii(const char* text, char16_t* out, std::size_t capacity);
    // Copies a host's zero-terminated text into out (capacity bytes, terminator
    // included), stopping at capacity - 1 characters.
    static void toAscii(const char16_t* text, char* out, std::size_t capacity);
};
