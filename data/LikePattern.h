#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A LIKE pattern of the file's statement dialect, compiled once and matched against many texts.
//
//   *        any run of characters, also an empty one
//   ?        exactly one character
//   #        exactly one decimal digit 0-9
//   [abc]    one character of the set; ranges such as [a-z]; [!...] negates the set
//   other    the character itself, compared without regard to letter case
//
// Patterns and texts are UTF-8. Letters compare by Unicode simple case folding, so é matches É and Hebrew text
// (which has no case) matches itself. A "[" without its closing "]" stands for a literal "[". Bytes that are not
// valid UTF-8 are treated as characters of their own, never as an error. Matching runs in O(pattern x text) at
// worst: a "*" never makes it backtrack more than once per text position.
//
// Sets: the first "]" closes a set, so "]" cannot be a member, and "[]" is a set of nothing that no character
// matches ("[!]" then matches any one character). "[[]", "[*]", "[?]" and "[#]" match those characters literally.
// A "-" between two members makes a range of code points; elsewhere ("[-a]", "[a-]") it is a member. A range
// whose first end lies above its last ("[z-a]") holds nothing. A character is in a set when its case folding
// equals the folding of some member, so [A-C] matches "b" and [a-c] matches "B".
class LikePattern
{
public:
    explicit LikePattern(std::string_view utf8Pattern);

    bool matches(std::string_view utf8Text) const;

    // The longest run of characters that every match contains literally (folded), empty when the pattern has
    // none. A search can look for it first and test the pattern only where it occurs.
    std::u32string longestLiteral() const;
    // True for "*#*" (and runs of stars around the "#"): the pattern matches exactly the texts that hold a digit.
    bool findsAnyDigit() const;

private:
    struct Token
    {
        enum Kind : std::uint8_t { Char, AnyChar, Digit, Set, Star } kind;
        bool negated = false;
        char32_t ch = 0;         // Char: the folded character
        std::uint32_t first = 0; // Set: index of its first range in m_ranges
        std::uint32_t count = 0; // Set: number of ranges
    };
    struct Range
    {
        char32_t lo;
        char32_t hi;
    };

    // Reads a set from just after its "[" and adds it, moving `pos` past its "]"; false (nothing read) when no
    // "]" closes it.
    bool readSet(std::string_view pattern, std::size_t& pos);
    // The folded values of a set's members and ranges, sorted by their first value.
    static std::vector<Range> foldedMembers(const std::vector<char32_t>& members);

    std::vector<Token> m_tokens;
    std::vector<Range> m_ranges; // folded values of the sets' members, merged and sorted per set
};
