#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A wildcard pattern matched against a whole text: `*` any run of characters, `?` any one
// character, `#` any one digit, `[list]` one character of the list, `[!list]` one character not in
// it, with ranges such as `[A-C]` (`[C-A]` means the same). `[*]`, `[?]`, `[#]` and `[[]` stand for
// those characters. Any other character stands for itself, and so does text that does not form a
// wildcard: an unclosed `[`, a lone `]`, an empty `[]`, and `[!]` (the list holding `!`). No input
// makes a pattern invalid.
//
// Characters are Unicode code points; the texts matched are UTF-8. Matching is exact, so callers
// fold both sides to upper case first (fold(), foldUtf8()) to ignore case.
class Pattern
{
public:
    explicit Pattern(QStringView text);

    bool matches(std::string_view utf8) const;
    bool matches(const QString &text) const;

    // Upper case as Unicode defines it, not ASCII only, so "é" and "É" fold alike.
    static QString fold(const QString &text) { return text.toUpper(); }
    static std::string foldUtf8(std::string_view utf8);
    static void appendFolded(std::string &out, std::string_view utf8);

private:
    enum class Kind { Literal, AnyOne, Digit, Set, AnyRun };
    struct Token {
        Kind kind;
        char32_t ch = 0; // Literal
        int set = -1;    // Set: index into m_sets
    };
    struct CharSet {
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges;
        bool contains(char32_t c) const;
    };

    void compileSet(const std::u32string &list);
    bool tokenMatches(const Token &token, char32_t c) const;
    const unsigned char *nextStart(size_t token, const unsigned char *from, const unsigned char *end) const;
    bool matchTokens(std::string_view text) const;

    std::vector<Token> m_tokens;
    std::vector<CharSet> m_sets;
    size_t m_minChars = 0;          // characters the pattern needs at least
    std::string m_required;         // the longest run of literal characters, in UTF-8: any match contains it
    bool m_containsLiteral = false; // the pattern is `*literal*`: a plain substring test
};
