#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// A wildcard pattern matched against a whole text: `*` any run of characters, `?` any one
// character, `#` any one digit 0-9, `[list]` one character of the list, `[!list]` one character
// not in it, with ranges such as `[A-C]` (`[C-A]` means the same). `[*]`, `[?]`, `[#]` and `[[]`
// stand for those characters. Any other character stands for itself, and so does text that does
// not form a wildcard: an unclosed `[`, a lone `]`, an empty `[]`, and `[!]` (the list holding
// `!`). No input makes a pattern invalid.
//
// The pattern is read first and compared afterwards, character by character, ignoring case per
// character (Unicode simple case folding: "ß" stays one character and never becomes "SS"). A
// character is what the user sees as one: a letter with its combining accents, an emoji with its
// modifiers. Both sides are compared in Unicode normal form C, so an accent typed precomposed
// matches the same accent stored as a combining mark.
//
// The search forgives missing accents: a letter in the pattern that carries none also matches
// that letter with accents (`u` finds "ü", `e` finds "É"), while a letter typed with an accent
// matches only itself. Two `s` in a row also match one "ß" (`strasse` finds "Straße"); wildcards
// and lists are unchanged (`?` and `[ß]` take the "ß" as one character).
//
// Matching runs in time linear in the text's length for any pattern: the pattern's positions are
// tracked together as bits, one step per character of the text.
class Pattern
{
public:
    explicit Pattern(QStringView text);

    // text as prepared by fold(), foldUtf8() or appendFolded().
    bool matches(std::string_view folded) const;
    // Any text; prepared here.
    bool matches(const QString &text) const;

    // A text in the form matches() compares: normal form C, each character case-folded.
    static QString fold(const QString &text);
    static std::string foldUtf8(std::string_view utf8);
    static void appendFolded(std::string &out, std::string_view utf8);

    // A folded text with every accent taken off its letter and "ß" written "ss": whenever the
    // pattern matches a text, loosen(text) contains loosen(requiredText()), so an index of the
    // loosened texts finds every text an accent-forgiving search can match.
    static std::string loosen(std::string_view folded);

    // The longest run of literal characters, folded, in UTF-8: every text the pattern matches
    // contains it. Empty when the pattern has no literal character.
    const std::string &requiredText() const { return m_required; }

private:
    using Cluster = std::u32string; // one user-perceived character, folded
    using Mask = std::vector<uint64_t>;
    enum class Kind { Literal, AnyOne, Digit, Set };
    struct Token {
        Kind kind;
        Cluster literal;    // Literal
        int set = -1;       // Set: index into m_sets
        bool loose = false; // Literal: a letter without accents, which finds its accented forms too
    };
    struct CharSet {
        bool negated = false;
        std::vector<Cluster> members;
        std::vector<std::pair<char32_t, char32_t>> ranges;
        bool contains(const Cluster &c) const;
    };

    bool accepts(const Token &token, const Cluster &c) const;
    const uint64_t *maskFor(const Cluster &c) const;
    bool run(std::string_view text) const;
    bool mayMatchLoosely(std::string_view text) const;
    bool containsLiteral(std::string_view text) const;

    std::vector<Token> m_tokens; // every token but `*`
    std::vector<bool> m_loops;   // m_loops[i]: a `*` stands after the first i tokens
    std::vector<CharSet> m_sets;
    size_t m_words = 1; // 64-bit words per state set: positions 0 .. tokens
    Mask m_loopMask;
    std::vector<uint64_t> m_ascii;                     // 128 masks of m_words words, one per ASCII character
    mutable std::unordered_map<Cluster, Mask> m_other; // the masks of other characters, made as met
    std::string m_required;         // the longest run of literal characters, in UTF-8: any match contains it
    bool m_containsLiteral = false; // the pattern is `*literal*`: a substring test
    bool m_loose = false;           // some literal finds more than itself: the two tests above may miss
    Mask m_sMask;                   // the literal `s` tokens, which in pairs also take a "ß"
};
