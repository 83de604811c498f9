#include "search/Pattern.h"

#include <QVector>
#include <algorithm>
#include <cstring>

namespace {

// Reads one code point and advances p. Never reads past end; stray bytes count as one character each.
char32_t nextCodePoint(const unsigned char *&p, const unsigned char *end)
{
    const unsigned lead = *p++;
    if (lead < 0x80)
        return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = lead & (0x3Fu >> extra);
    while (extra-- > 0 && p < end && (*p & 0xC0) == 0x80)
        c = (c << 6) | (*p++ & 0x3F);
    return c;
}

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

Pattern::Pattern(QStringView text)
{
    const QList<uint> ucs4 = text.toUcs4();
    const std::u32string chars(ucs4.cbegin(), ucs4.cend());
    const size_t n = chars.size();
    // Where the next `]` stands, found in one pass so that a text of many `[` stays linear.
    std::vector<size_t> nextClose(n + 1, std::u32string::npos);
    for (size_t i = n; i-- > 0;)
        nextClose[i] = chars[i] == U']' ? i : nextClose[i + 1];
    for (size_t i = 0; i < n; ++i) {
        const char32_t c = chars[i];
        if (c == U'*') {
            if (m_tokens.empty() || m_tokens.back().kind != Kind::AnyRun)
                m_tokens.push_back({Kind::AnyRun});
        } else if (c == U'?') {
            m_tokens.push_back({Kind::AnyOne});
        } else if (c == U'#') {
            m_tokens.push_back({Kind::Digit});
        } else if (c == U'[') {
            // A list runs to the first `]`. Without one, or with nothing between, the `[` is itself.
            const size_t close = nextClose[i + 1];
            if (close == std::u32string::npos || close == i + 1) {
                m_tokens.push_back({Kind::Literal, c});
                continue;
            }
            compileSet(chars.substr(i + 1, close - i - 1));
            m_tokens.push_back({Kind::Set, 0, int(m_sets.size()) - 1});
            i = close;
        } else {
            m_tokens.push_back({Kind::Literal, c});
        }
    }

    std::string run;
    for (const Token &t : m_tokens) {
        if (t.kind != Kind::AnyRun)
            ++m_minChars;
        if (t.kind == Kind::Literal) {
            appendUtf8(run, t.ch);
            continue;
        }
        if (run.size() > m_required.size())
            m_required = run;
        run.clear();
    }
    if (run.size() > m_required.size())
        m_required = run;
    const size_t literals =
        std::count_if(m_tokens.cbegin(), m_tokens.cend(), [](const Token &t) { return t.kind == Kind::Literal; });
    const bool starAtBothEnds =
        !m_tokens.empty() && m_tokens.front().kind == Kind::AnyRun && m_tokens.back().kind == Kind::AnyRun;
    m_containsLiteral = starAtBothEnds && literals + (m_tokens.size() == 1 ? 1 : 2) == m_tokens.size();
}

void Pattern::compileSet(const std::u32string &list)
{
    CharSet set;
    size_t k = 0;
    // `[!]` has nothing to negate: it is the set holding `!`.
    if (list.size() > 1 && list[0] == U'!') {
        set.negated = true;
        k = 1;
    }
    while (k < list.size()) {
        const char32_t first = list[k];
        if (k + 2 < list.size() && list[k + 1] == U'-') {
            const char32_t last = list[k + 2];
            // A range written backwards, [Z-A], means the same characters as [A-Z].
            set.ranges.emplace_back(std::min(first, last), std::max(first, last));
            k += 3;
        } else {
            set.ranges.emplace_back(first, first);
            ++k;
        }
    }
    m_sets.push_back(std::move(set));
}

bool Pattern::CharSet::contains(char32_t c) const
{
    const bool inList = std::any_of(ranges.cbegin(), ranges.cend(), [c](const std::pair<char32_t, char32_t> &r) {
        return c >= r.first && c <= r.second;
    });
    return inList != negated;
}

bool Pattern::tokenMatches(const Token &token, char32_t c) const
{
    switch (token.kind) {
    case Kind::Literal:
        return c == token.ch;
    case Kind::AnyOne:
        return true;
    case Kind::Digit:
        return c >= U'0' && c <= U'9';
    case Kind::Set:
        return m_sets[size_t(token.set)].contains(c);
    case Kind::AnyRun:
        break;
    }
    return false;
}

bool Pattern::matches(const QString &text) const
{
    const QByteArray utf8 = text.toUtf8();
    return matches(std::string_view(utf8.constData(), size_t(utf8.size())));
}

bool Pattern::matches(std::string_view text) const
{
    // Every character takes at least one byte, and a match must hold the longest literal run:
    // both tests are cheap and settle most non-matching texts.
    if (text.size() < m_minChars)
        return false;
    if (!m_required.empty() && text.find(m_required) == std::string_view::npos)
        return false;
    if (m_containsLiteral)
        return true;
    return matchTokens(text);
}

const unsigned char *Pattern::nextStart(size_t token, const unsigned char *from, const unsigned char *end) const
{
    const Token &t = m_tokens[token];
    if (t.kind == Kind::Literal && t.ch < 0x80)
        return static_cast<const unsigned char *>(std::memchr(from, int(t.ch), size_t(end - from)));
    return from;
}

bool Pattern::matchTokens(std::string_view text) const
{
    // Greedy matching that remembers only the last `*`: every other token takes exactly one
    // character, so the leftmost fit of what follows a star is the one to keep, backtracking to
    // the last star is enough, and the cost stays text x pattern.
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    const auto *end = s + text.size();
    const size_t n = m_tokens.size();
    size_t t = 0;
    size_t starToken = n;
    const unsigned char *starText = nullptr;
    while (true) {
        if (t < n && m_tokens[t].kind == Kind::AnyRun) {
            if (++t == n)
                return true;
            // What follows the star can only begin where its first character occurs.
            if (!(s = nextStart(t, s, end)))
                return false;
            starToken = t;
            starText = s;
            continue;
        }
        if (s == end)
            break;
        if (t < n) {
            const unsigned char *after = s;
            if (tokenMatches(m_tokens[t], nextCodePoint(after, end))) {
                s = after;
                ++t;
                continue;
            }
        }
        if (!starText)
            return false;
        nextCodePoint(starText, end);
        if (!(starText = nextStart(starToken, starText, end)))
            return false;
        s = starText;
        t = starToken;
    }
    while (t < n && m_tokens[t].kind == Kind::AnyRun)
        ++t;
    return t == n;
}

std::string Pattern::foldUtf8(std::string_view utf8)
{
    std::string out;
    appendFolded(out, utf8);
    return out;
}

void Pattern::appendFolded(std::string &out, std::string_view utf8)
{
    const bool ascii = std::all_of(utf8.cbegin(), utf8.cend(), [](char c) { return (unsigned char)c < 0x80; });
    if (!ascii) {
        out += fold(QString::fromUtf8(utf8.data(), qsizetype(utf8.size()))).toUtf8().toStdString();
        return;
    }
    const size_t from = out.size();
    out += utf8;
    for (size_t i = from; i < out.size(); ++i) {
        if (out[i] >= 'a' && out[i] <= 'z')
            out[i] = char(out[i] - 'a' + 'A');
    }
}
