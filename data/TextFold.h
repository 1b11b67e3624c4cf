#pragma once

#include <string_view>

// Case-insensitive text rules of the statement dialect, shared by the LIKE matcher and the search's copy.
namespace TextFold {

// Decodes one character at text[pos] and advances pos. A byte that does not start a valid UTF-8 sequence decodes
// to 0xDC00 + byte (a lone low surrogate, which no valid text holds) and advances by one; overlong forms, encoded
// surrogates, values above U+10FFFF and sequences cut short by the end of the text count as such bytes. At the end
// of the text it returns 0 and leaves pos alone.
char32_t decode(std::string_view text, std::size_t& pos);

// Unicode simple case folding of one character (A -> a, É -> é, Σ/ς -> σ); characters without case are returned
// unchanged.
char32_t fold(char32_t c);

} // namespace TextFold
