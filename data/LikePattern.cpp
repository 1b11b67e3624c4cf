#include "data/LikePattern.h"

#include "data/TextFold.h"

#include <algorithm>

namespace {

// The matcher runs once per row and column, so the ASCII cases stay inline here instead of calling into TextFold.
inline char32_t nextChar(std::string_view text, std::size_t& pos)
{
    const auto b = static_cast<unsigned char>(text[pos]);
    if (b < 0x80) {
        ++pos;
        return b;
    }
    return TextFold::decode(text, pos);
}

inline char32_t foldChar(char32_t c)
{
    if (c < 0x80)
        return c - U'A' < 26u ? c + (U'a' - U'A') : c;
    return TextFold::fold(c);
}

// Every character whose folded form is another character, in order. Built once: a range such as [!-\U0010FFFF]
// then costs a look-up instead of a pass over every character it spans.
const std::vector<char32_t>& charactersThatFold()
{
    static const std::vector<char32_t> cased = [] {
        std::vector<char32_t> list;
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (foldChar(c) != c)
                list.push_back(c);
        }
        return list;
    }();
    return cased;
}

} // namespace

LikePattern::LikePattern(std::string_view utf8Pattern)
{
    std::size_t pos = 0;
    while (pos < utf8Pattern.size()) {
        const char32_t c = TextFold::decode(utf8Pattern, pos);
        switch (c) {
        case U'*':
            // A run of stars means the same as one; keeping one saves work on every backtrack.
            if (m_tokens.empty() || m_tokens.back().kind != Token::Star)
                m_tokens.push_back(Token{Token::Star});
            continue;
        case U'?':
            m_tokens.push_back(Token{Token::AnyChar});
            continue;
        case U'#':
            m_tokens.push_back(Token{Token::Digit});
            continue;
        case U'[':
            if (readSet(utf8Pattern, pos))
                continue;
            break;
        default:
            break;
        }
        Token literal{Token::Char};
        literal.ch = foldChar(c);
        m_tokens.push_back(literal);
    }
}

bool LikePattern::readSet(std::string_view pattern, std::size_t& pos)
{
    // Collect the members up to the first "]". Without one, the "[" is an ordinary character and what follows it
    // is read as pattern again.
    std::size_t p = pos;
    bool negated = false;
    if (p < pattern.size() && pattern[p] == '!') {
        negated = true;
        ++p;
    }
    std::vector<char32_t> members;
    for (;;) {
        if (p >= pattern.size())
            return false;
        const char32_t m = TextFold::decode(pattern, p);
        if (m == U']')
            break;
        members.push_back(m);
    }
    pos = p;

    const std::vector<Range> folded = foldedMembers(members);
    Token set{Token::Set};
    set.negated = negated;
    set.first = static_cast<std::uint32_t>(m_ranges.size());
    for (const Range& r : folded) {
        if (m_ranges.size() > set.first && r.lo <= m_ranges.back().hi + 1)
            m_ranges.back().hi = std::max(m_ranges.back().hi, r.hi);
        else
            m_ranges.push_back(r);
    }
    set.count = static_cast<std::uint32_t>(m_ranges.size()) - set.first;
    m_tokens.push_back(set);
    return true;
}

std::vector<LikePattern::Range> LikePattern::foldedMembers(const std::vector<char32_t>& members)
{
    // A set is stored as the folded values of all its characters, as merged intervals, so that a text character
    // matches when any case variant of it lies in the set: [A-C] takes "b", [Z-a] takes "z".
    std::vector<Range> folded;
    for (std::size_t i = 0; i < members.size();) {
        if (i + 2 < members.size() && members[i + 1] == U'-') {
            const char32_t lo = members[i];
            const char32_t hi = members[i + 2];
            i += 3;
            if (lo > hi)
                continue; // a reversed range holds nothing
            // Most characters fold to themselves: take the range as it stands, then add the folded forms of the
            // few in it that have case. A character that folds to another is never the folded form of any text
            // character, so keeping it is harmless.
            folded.push_back(Range{lo, hi});
            const auto& cased = charactersThatFold();
            for (auto it = std::lower_bound(cased.begin(), cased.end(), lo); it != cased.end() && *it <= hi; ++it) {
                const char32_t f = foldChar(*it);
                folded.push_back(Range{f, f});
            }
        } else {
            const char32_t f = foldChar(members[i]);
            folded.push_back(Range{f, f});
            ++i;
        }
    }
    std::sort(folded.begin(), folded.end(), [](const Range& x, const Range& y) { return x.lo < y.lo; });
    return folded;
}

bool LikePattern::matches(std::string_view utf8Text) const
{
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    const std::size_t tokenCount = m_tokens.size();
    std::size_t ti = 0;
    std::size_t pi = 0;
    // The most recent star and the text position it has swallowed up to. Only the last star ever needs to take
    // more text: everything before it already matched as early as possible, which keeps the match linear per star.
    std::size_t starPi = none;
    std::size_t starTi = 0;

    while (ti < utf8Text.size()) {
        if (pi < tokenCount) {
            const Token& t = m_tokens[pi];
            if (t.kind == Token::Star) {
                if (pi + 1 == tokenCount)
                    return true;
                starPi = ++pi;
                starTi = ti;
                continue;
            }
            std::size_t next = ti;
            const char32_t c = nextChar(utf8Text, next);
            bool ok;
            switch (t.kind) {
            case Token::Char:
                ok = c == t.ch || foldChar(c) == t.ch;
                break;
            case Token::Digit:
                ok = c - U'0' < 10u;
                break;
            case Token::Set: {
                const char32_t f = foldChar(c);
                bool in = false;
                for (std::uint32_t r = t.first; r < t.first + t.count; ++r) {
                    if (f >= m_ranges[r].lo && f <= m_ranges[r].hi) {
                        in = true;
                        break;
                    }
                }
                ok = in != t.negated;
                break;
            }
            default: // AnyChar
                ok = true;
                break;
            }
            if (ok) {
                ti = next;
                ++pi;
                continue;
            }
        }
        if (starPi == none)
            return false;
        nextChar(utf8Text, starTi);
        ti = starTi;
        pi = starPi;
    }
    while (pi < tokenCount && m_tokens[pi].kind == Token::Star)
        ++pi;
    return pi == tokenCount;
}

std::u32string LikePattern::longestLiteral() const
{
    std::u32string best;
    std::u32string run;
    for (const Token& token : m_tokens) {
        if (token.kind == Token::Char) {
            run.push_back(token.ch);
            continue;
        }
        if (run.size() > best.size())
            best = run;
        run.clear();
    }
    return run.size() > best.size() ? run : best;
}

bool LikePattern::findsAnyDigit() const
{
    return m_tokens.size() == 3 && m_tokens[0].kind == Token::Star && m_tokens[1].kind == Token::Digit &&
           m_tokens[2].kind == Token::Star;
}
