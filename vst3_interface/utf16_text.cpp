#include "vst3_interface/utf16_text.h"

void Utf16Text::fromAscii(const char* text, char16_t* out, std::size_t capacity) {
    if (capacity == 0) return;
    std::size_t length = 0;
    if (text != nullptr)
        for (; length + 1 < capacity && text[length] != '\0'; ++length)
            out[length] = static_cast<char16_t>(static_cast<unsigned char>(text[length]));
    out[length] = u'\0';
}

void Utf16Text::toAscii(const char16_t* text, char* out, std::size_t capacity) {
    if (capacity == 0) return;
    std::size_t length = 0;
    if (text != nullptr)
        for (; length + 1 < capacity && text[length] != u'\0'; ++length)
            out[length] = text[length] < 0x80 ? static_cast<char>(text[length]) : '?';
    out[length] = '\0';
}
