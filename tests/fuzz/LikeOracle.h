#pragma once

// A second, deliberately naive reading of the dialect's pattern language, kept apart from LikePattern so that the
// two can be run side by side: the fuzzer and the corpus test feed both the same bytes and treat any disagreement
// as a fault. Everything here is written for obviousness, not speed (a full table over pattern x text positions).

#include "data/LikePattern.h"
#include "data/TextFold.h"

#include <QChar>
#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace LikeOracle {

// UTF-8 as RFC 3629 has it; any byte that does not begin a well-formed sequence stands for itself as 0xDC00 + byte.
inline std::u32string decodeAll(std::string_view s)
{
    std::u32string out;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
        const unsigned char lead = b(i);
        std::size_t len = 0;
        unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
        if (lead < 0x80)
            len = 1;
        else if (lead >= 0xC2 && lead <= 0xDF)
            len = 2;
        else if (lead == 0xE0)
            len = 3, lo = 0xA0;
        else if (lead == 0xED)
            len = 3, hi = 0x9F;
        else if (lead >= 0xE1 && lead <= 0xEF)
            len = 3;
        else if (lead == 0xF0)
            len = 4, lo = 0x90;
        else if (lead == 0xF4)
            len = 4, hi = 0x8F;
        else if (lead >= 0xF1 && lead <= 0xF3)
            len = 4;
        bool ok = len > 0 && i + len <= s.size();
        if (ok && len > 1)
            ok = b(i + 1) >= lo && b(i + 1) <= hi;
        for (std::size_t k = 2; ok && k < len; ++k)
            ok = b(i + k) >= 0x80 && b(i + k) <= 0xBF;
        if (!ok) {
            out.push_back(0xDC00 + lead);
            ++i;
            continue;
        }
        char32_t c = len == 1 ? lead : len == 2 ? (lead & 0x1F) : len == 3 ? (lead & 0x0F) : (lead & 0x07);
        for (std::size_t k = 1; k < len; ++k)
            c = (c << 6) | (b(i + k) & 0x3F);
        out.push_back(c);
        i += len;
    }
    return out;
}

inline char32_t fold(char32_t c)
{
    return QChar::toCaseFolded(c);
}

// The characters other than `f` itself whose folding is `f`, found once by asking Qt about every code point.
inline const std::vector<char32_t>& foldsTo(char32_t f)
{
    static const auto table = [] {
        std::unordered_map<char32_t, std::vector<char32_t>> t;
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (fold(c) != c)
                t[fold(c)].push_back(c);
        }
        return t;
    }();
    static const std::vector<char32_t> none;
    const auto it = table.find(f);
    return it == table.end() ? none : it->second;
}

struct Token
{
    enum Kind { Char, Any, Digit, Set, Star } kind = Char;
    char32_t ch = 0;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges; // as written, unfolded
};

inline Token token(Token::Kind kind, char32_t ch = 0)
{
    Token t;
    t.kind = kind;
    t.ch = ch;
    return t;
}

inline std::vector<Token> parse(const std::u32string& p)
{
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        if (c == U'*') {
            tokens.push_back(token(Token::Star));
        } else if (c == U'?') {
            tokens.push_back(token(Token::Any));
        } else if (c == U'#') {
            tokens.push_back(token(Token::Digit));
        } else if (c == U'[' && p.find(U']', i + 1) != std::u32string::npos) {
            const std::size_t close = p.find(U']', i + 1);
            Token set = token(Token::Set);
            std::size_t m = i + 1;
            if (m < close && p[m] == U'!') {
                set.negated = true;
                ++m;
            }
            while (m < close) {
                if (m + 2 < close && p[m + 1] == U'-') {
                    set.ranges.emplace_back(p[m], p[m + 2]);
                    m += 3;
                } else {
                    set.ranges.emplace_back(p[m], p[m]);
                    ++m;
                }
            }
            tokens.push_back(set);
            i = close;
        } else {
            tokens.push_back(token(Token::Char, c));
        }
    }
    return tokens;
}

inline bool inSet(const Token& set, char32_t c)
{
    // A member matches every character that folds as it does.
    const char32_t f = fold(c);
    const auto within = [&set](char32_t v) {
        for (const auto& [lo, hi] : set.ranges) {
            if (lo <= v && v <= hi)
                return true;
        }
        return false;
    };
    bool in = within(c) || (fold(f) == f && within(f));
    for (const char32_t v : foldsTo(f))
        in = in || within(v);
    return in != set.negated;
}

inline bool matchOne(const Token& t, char32_t c)
{
    switch (t.kind) {
    case Token::Char:
        return fold(t.ch) == fold(c);
    case Token::Any:
        return true;
    case Token::Digit:
        return c >= U'0' && c <= U'9';
    case Token::Set:
        return inSet(t, c);
    case Token::Star:
        break;
    }
    return false;
}

// can[p][t]: tokens from p on match the text from t on.
inline bool matches(std::string_view pattern, std::string_view text)
{
    const std::vector<Token> tokens = parse(decodeAll(pattern));
    const std::u32string s = decodeAll(text);
    const std::size_t P = tokens.size(), T = s.size();
    std::vector<std::vector<char>> can(P + 1, std::vector<char>(T + 1, 0));
    can[P][T] = 1;
    for (std::size_t p = P; p-- > 0;) {
        for (std::size_t t = T + 1; t-- > 0;) {
            if (tokens[p].kind == Token::Star)
                can[p][t] = can[p + 1][t] || (t < T && can[p][t + 1]);
            else
                can[p][t] = t < T && can[p + 1][t + 1] && matchOne(tokens[p], s[t]);
        }
    }
    return can[0][0];
}

// Runs LikePattern, TextFold and the reference on one input; returns a description of the first disagreement,
// empty when there is none. The input is "pattern\ntext" (no newline: the whole input is the pattern).
inline std::string check(std::string_view input)
{
    const std::size_t nl = input.find('\n');
    const std::string_view pattern = input.substr(0, nl);
    const std::string_view text = nl == std::string_view::npos ? std::string_view() : input.substr(nl + 1);

    for (const std::string_view s : {pattern, text}) {
        std::u32string mine;
        std::size_t pos = 0;
        while (pos < s.size())
            mine.push_back(TextFold::decode(s, pos));
        if (mine != decodeAll(s))
            return "TextFold::decode disagrees with the reference decoder";
    }

    const LikePattern like(pattern);
    const bool got = like.matches(text);
    if (got != matches(pattern, text))
        return got ? "LikePattern matches where the reference does not" : "LikePattern misses a match";

    // The search looks for the literal run first, so a match without it would be a row the search loses.
    if (got) {
        std::u32string folded = decodeAll(text);
        std::transform(folded.begin(), folded.end(), folded.begin(), fold);
        if (folded.find(like.longestLiteral()) == std::u32string::npos)
            return "a matching text lacks the pattern's longest literal";
    }

    return {};
}

} // namespace LikeOracle
