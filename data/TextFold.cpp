#include "data/TextFold.h"

#include <QChar>

namespace TextFold {

namespace {

// Each byte of a malformed sequence becomes a character of its own, so that decoding stays injective: two
// different byte strings never decode to the same characters, and the matcher cannot call them equal.
constexpr char32_t invalidByte(unsigned char b)
{
    return 0xDC00 + b;
}

constexpr unsigned char asciiLower(unsigned char b)
{
    return b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b;
}

} // namespace

char32_t decode(std::string_view text, std::size_t& pos)
{
    if (pos >= text.size())
        return 0;
    const auto b0 = static_cast<unsigned char>(text[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }

    std::size_t trail;
    char32_t c;
    char32_t least; // smallest value the sequence length may carry; anything below is an overlong form
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        trail = 1;
        c = b0 & 0x1F;
        least = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        trail = 2;
        c = b0 & 0x0F;
        least = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        trail = 3;
        c = b0 & 0x07;
        least = 0x10000;
    } else {
        ++pos;
        return invalidByte(b0);
    }

    if (text.size() - pos <= trail) {
        ++pos;
        return invalidByte(b0);
    }
    for (std::size_t i = 1; i <= trail; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return invalidByte(b0);
        }
        c = (c << 6) | (b & 0x3F);
    }
    // Encoded surrogates must stay invalid: they would collide with the stand-ins for invalid bytes.
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return invalidByte(b0);
    }
    pos += trail + 1;
    return c;
}

char32_t fold(char32_t c)
{
    if (c < 0x80)
        return asciiLower(static_cast<unsigned char>(c));
    return QChar::toCaseFolded(c);
}

} // namespace TextFold
