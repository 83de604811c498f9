#include "store/Pattern.h"

#include <QChar>
#include <QList>
#include <algorithm>
#include <cstring>

namespace {

#ifdef Q_OS_WIN
// Windows' C library has no memmem: the same linear search, for the Windows build.
const void *memmem(const void *haystack, size_t haystackLength, const void *needle, size_t needleLength)
{
    const std::string_view text(static_cast<const char *>(haystack), haystackLength);
    const size_t at = text.find(std::string_view(static_cast<const char *>(needle), needleLength));
    return at == std::string_view::npos ? nullptr : static_cast<const char *>(haystack) + at;
}
#endif

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

constexpr char32_t zeroWidthJoiner = 0x200D;

bool isRegionalIndicator(char32_t c)
{
    return c >= 0x1F1E6 && c <= 0x1F1FF;
}

// Whether c belongs to the character that `cluster` has begun: combining marks (which include
// variation selectors), emoji skin tones, a joiner and what it joins, the second letter of a flag.
bool continues(const std::u32string &cluster, char32_t c)
{
    if (c < 0x80)
        return false;
    if (c == zeroWidthJoiner || cluster.back() == zeroWidthJoiner || QChar::isMark(c) || (c >= 0x1F3FB && c <= 0x1F3FF))
        return true;
    return isRegionalIndicator(c) && cluster.size() == 1 && isRegionalIndicator(cluster[0]);
}

// The letter under a character's accents: "u" for "ü"; 0 when the character is no accented letter.
// Only marks that sit on the letter count as accents (not, say, an enclosing circle).
char32_t baseLetter(const std::u32string &cluster)
{
    if (cluster.size() == 1 && cluster[0] < 0x80)
        return 0;
    const QList<uint> points =
        QString::fromUcs4(cluster.data(), qsizetype(cluster.size())).normalized(QString::NormalizationForm_D).toUcs4();
    if (points.size() < 2 || !QChar::isLetter(points[0]))
        return 0;
    for (qsizetype i = 1; i < points.size(); ++i) {
        if (QChar::category(points[i]) != QChar::Mark_NonSpacing)
            return 0;
    }
    return points[0];
}

constexpr char32_t sharpS = 0xDF;

// Reads one user-perceived character from p.
void nextCluster(const unsigned char *&p, const unsigned char *end, std::u32string &cluster)
{
    cluster.assign(1, nextCodePoint(p, end));
    while (p < end && *p >= 0x80) {
        const unsigned char *after = p;
        const char32_t c = nextCodePoint(after, end);
        if (!continues(cluster, c))
            break;
        cluster += c;
        p = after;
    }
}

QString foldedString(const QString &text)
{
    // Folding the decomposed form and composing afterwards compares canonically equivalent texts alike.
    const QList<uint> points = text.normalized(QString::NormalizationForm_D).toUcs4();
    std::u32string folded;
    folded.reserve(size_t(points.size()));
    for (const uint c : points)
        folded += QChar::toCaseFolded(char32_t(c));
    return QString::fromUcs4(folded.data(), qsizetype(folded.size())).normalized(QString::NormalizationForm_C);
}

// Folds characters of the pattern as appendFolded() folds a stored text.
std::u32string foldCluster(const std::u32string &cluster)
{
    if (std::all_of(cluster.cbegin(), cluster.cend(), [](char32_t c) { return c < 0x80; })) {
        std::u32string lower = cluster;
        for (char32_t &c : lower)
            c = c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
        return lower;
    }
    const QList<uint> points = foldedString(QString::fromUcs4(cluster.data(), qsizetype(cluster.size()))).toUcs4();
    return std::u32string(points.cbegin(), points.cend());
}

} // namespace

QString Pattern::fold(const QString &text)
{
    return foldedString(text);
}

std::string Pattern::foldUtf8(std::string_view utf8)
{
    std::string out;
    appendFolded(out, utf8);
    return out;
}

std::string Pattern::loosen(std::string_view folded)
{
    std::string out;
    out.reserve(folded.size());
    const auto *p = reinterpret_cast<const unsigned char *>(folded.data());
    const auto *end = p + folded.size();
    std::u32string cluster;
    while (p < end) {
        // An ASCII character stays as it is, unless a combining mark follows it.
        if (*p < 0x80 && (p + 1 == end || p[1] < 0x80)) {
            out += char(*p++);
            continue;
        }
        nextCluster(p, end, cluster);
        if (cluster.size() == 1 && cluster[0] == sharpS) {
            out += "ss";
        } else if (const char32_t base = baseLetter(cluster)) {
            appendUtf8(out, base);
        } else {
            for (const char32_t c : cluster)
                appendUtf8(out, c);
        }
    }
    return out;
}

void Pattern::appendFolded(std::string &out, std::string_view utf8)
{
    const bool ascii = std::all_of(utf8.cbegin(), utf8.cend(), [](char c) { return (unsigned char)c < 0x80; });
    if (!ascii) {
        out += foldedString(QString::fromUtf8(utf8.data(), qsizetype(utf8.size()))).toUtf8().toStdString();
        return;
    }
    const size_t from = out.size();
    out += utf8;
    for (size_t i = from; i < out.size(); ++i) {
        if (out[i] >= 'A' && out[i] <= 'Z')
            out[i] = char(out[i] - 'A' + 'a');
    }
}

Pattern::Pattern(QStringView text)
{
    const QList<uint> ucs4 = text.toString().normalized(QString::NormalizationForm_C).toUcs4();
    const std::u32string chars(ucs4.cbegin(), ucs4.cend());
    const size_t n = chars.size();
    // Where the next `]` stands, found in one pass so that a text of many `[` stays linear.
    std::vector<size_t> nextClose(n + 1, std::u32string::npos);
    for (size_t i = n; i-- > 0;)
        nextClose[i] = chars[i] == U']' ? i : nextClose[i + 1];
    // The character starting at i, with its combining marks, up to (not past) `limit`.
    auto clusterAt = [&](size_t i, size_t limit) {
        std::u32string cluster(1, chars[i]);
        while (i + cluster.size() < limit && continues(cluster, chars[i + cluster.size()]))
            cluster += chars[i + cluster.size()];
        return cluster;
    };

    m_loops.push_back(false);
    for (size_t i = 0; i < n;) {
        const char32_t c = chars[i];
        if (c == U'*') {
            m_loops.back() = true;
            ++i;
            continue;
        }
        if (c == U'?' || c == U'#') {
            m_tokens.push_back({c == U'?' ? Kind::AnyOne : Kind::Digit, {}, -1});
            m_loops.push_back(false);
            ++i;
        } else if (c == U'[' && nextClose[i + 1] != std::u32string::npos && nextClose[i + 1] != i + 1) {
            // A list runs to the first `]`. Without one, or with nothing between, the `[` is itself.
            const size_t close = nextClose[i + 1];
            CharSet set;
            size_t k = i + 1;
            // `[!]` has nothing to negate: it is the set holding `!`.
            if (close - k > 1 && chars[k] == U'!') {
                set.negated = true;
                ++k;
            }
            while (k < close) {
                const std::u32string member = clusterAt(k, close);
                const size_t last = k + member.size() + 1;
                if (member.size() == 1 && last < close && chars[last - 1] == U'-' &&
                    clusterAt(last, close).size() == 1) {
                    // A range written backwards, [Z-A], means the same characters as [A-Z].
                    set.ranges.emplace_back(std::min(member[0], chars[last]), std::max(member[0], chars[last]));
                    k = last + 1;
                } else {
                    set.members.push_back(foldCluster(member));
                    k += member.size();
                }
            }
            m_sets.push_back(std::move(set));
            m_tokens.push_back({Kind::Set, {}, int(m_sets.size()) - 1});
            i = close + 1;
            m_loops.push_back(false);
        } else {
            // A run of plain characters is folded as a whole and then cut into characters the way
            // a stored text is, since folding may change what belongs together (U+0345 becomes a
            // letter of its own).
            size_t j = i + 1;
            while (j < n && chars[j] != U'*' && chars[j] != U'?' && chars[j] != U'#' &&
                   !(chars[j] == U'[' && nextClose[j + 1] != std::u32string::npos && nextClose[j + 1] != j + 1))
                ++j;
            const std::u32string folded = foldCluster(chars.substr(i, j - i));
            for (size_t k = 0; k < folded.size();) {
                std::u32string cluster(1, folded[k]);
                while (k + cluster.size() < folded.size() && continues(cluster, folded[k + cluster.size()]))
                    cluster += folded[k + cluster.size()];
                k += cluster.size();
                const bool loose = cluster.size() == 1 && QChar::isLetter(cluster[0]) &&
                                   QChar::decompositionTag(cluster[0]) == QChar::NoDecomposition;
                m_loose = m_loose || loose;
                m_tokens.push_back({Kind::Literal, cluster, -1, loose});
                m_loops.push_back(false);
            }
            i = j;
        }
    }

    const size_t m = m_tokens.size();
    m_words = (m + 1 + 63) / 64;
    m_loopMask.assign(m_words, 0);
    for (size_t i = 0; i <= m; ++i) {
        if (m_loops[i])
            m_loopMask[i / 64] |= uint64_t(1) << (i % 64);
    }
    m_sMask.assign(m_words, 0);
    for (size_t t = 0; t < m; ++t) {
        if (m_tokens[t].kind == Kind::Literal && m_tokens[t].literal == U"s")
            m_sMask[(t + 1) / 64] |= uint64_t(1) << ((t + 1) % 64);
    }
    m_ascii.assign(128 * m_words, 0);
    std::u32string one(1, U'\0');
    for (char32_t c = 0; c < 128; ++c) {
        one[0] = c;
        for (size_t t = 0; t < m; ++t) {
            if (accepts(m_tokens[t], one))
                m_ascii[c * m_words + (t + 1) / 64] |= uint64_t(1) << ((t + 1) % 64);
        }
    }

    std::string run;
    bool allLiteral = true;
    for (size_t t = 0; t < m; ++t) {
        if (m_loops[t] || m_tokens[t].kind != Kind::Literal) {
            if (run.size() > m_required.size())
                m_required = run;
            run.clear();
        }
        if (m_tokens[t].kind != Kind::Literal) {
            allLiteral = false;
            continue;
        }
        for (const char32_t c : m_tokens[t].literal)
            appendUtf8(run, c);
        allLiteral = allLiteral && (t == 0 || !m_loops[t]);
    }
    if (run.size() > m_required.size())
        m_required = run;
    // A match of `*literal*` found by a substring search must start and end where characters do.
    const bool startsCleanly = m > 0 && m_tokens[0].literal.size() > 0 && !QChar::isMark(m_tokens[0].literal[0]) &&
                               m_tokens[0].literal[0] != zeroWidthJoiner &&
                               !isRegionalIndicator(m_tokens[0].literal[0]) &&
                               !(m_tokens[0].literal[0] >= 0x1F3FB && m_tokens[0].literal[0] <= 0x1F3FF);
    m_containsLiteral = allLiteral && startsCleanly && m_loops.front() && m_loops.back();
}

bool Pattern::CharSet::contains(const Cluster &c) const
{
    bool inList = std::find(members.cbegin(), members.cend(), c) != members.cend();
    if (!inList && c.size() == 1) {
        // The range is read as typed; the character is in it when any of its case forms is.
        const char32_t forms[] = {c[0], QChar::toUpper(c[0]), QChar::toLower(c[0]), QChar::toTitleCase(c[0])};
        inList = std::any_of(ranges.cbegin(), ranges.cend(), [&](const std::pair<char32_t, char32_t> &r) {
            return std::any_of(std::begin(forms), std::end(forms),
                               [&](char32_t f) { return f >= r.first && f <= r.second; });
        });
    }
    return inList != negated;
}

bool Pattern::accepts(const Token &token, const Cluster &c) const
{
    switch (token.kind) {
    case Kind::Literal:
        return c == token.literal || (token.loose && baseLetter(c) == token.literal[0]);
    case Kind::AnyOne:
        return true;
    case Kind::Digit:
        return c.size() == 1 && c[0] >= U'0' && c[0] <= U'9';
    case Kind::Set:
        return m_sets[size_t(token.set)].contains(c);
    }
    return false;
}

const uint64_t *Pattern::maskFor(const Cluster &c) const
{
    if (c.size() == 1 && c[0] < 128)
        return &m_ascii[c[0] * m_words];
    auto known = m_other.find(c);
    if (known != m_other.end())
        return known->second.data();
    // Texts of many different characters would otherwise grow this without bound.
    if (m_other.size() >= 4096)
        m_other.clear();
    Mask mask(m_words, 0);
    for (size_t t = 0; t < m_tokens.size(); ++t) {
        if (accepts(m_tokens[t], c))
            mask[(t + 1) / 64] |= uint64_t(1) << ((t + 1) % 64);
    }
    return m_other.emplace(c, std::move(mask)).first->second.data();
}

bool Pattern::matches(const QString &text) const
{
    const QByteArray utf8 = fold(text).toUtf8();
    return matches(std::string_view(utf8.constData(), size_t(utf8.size())));
}

bool Pattern::matches(std::string_view text) const
{
    // Every character takes at least one byte, and a match must hold the longest literal run:
    // both tests are cheap and settle most non-matching texts. memmem is linear in the text.
    if (text.size() < m_tokens.size())
        return false;
    if (!m_required.empty() && !memmem(text.data(), text.size(), m_required.data(), m_required.size()))
        return mayMatchLoosely(text) && run(text);
    if (m_containsLiteral)
        return containsLiteral(text) || (mayMatchLoosely(text) && run(text));
    return run(text);
}

bool Pattern::mayMatchLoosely(std::string_view text) const
{
    // Accented letters and "ß" are never ASCII: in an ASCII text every literal matches only itself.
    return m_loose && std::any_of(text.cbegin(), text.cend(), [](char c) { return (unsigned char)c >= 0x80; });
}

bool Pattern::containsLiteral(std::string_view text) const
{
    const auto *begin = reinterpret_cast<const unsigned char *>(text.data());
    const auto *end = begin + text.size();
    const auto *needle = reinterpret_cast<const unsigned char *>(m_required.data());
    const size_t length = m_required.size();
    const std::u32string &last = m_tokens.back().literal;
    for (const unsigned char *from = begin; from < end;) {
        const auto *at = static_cast<const unsigned char *>(memmem(from, size_t(end - from), needle, length));
        if (!at)
            return false;
        const unsigned char *after = at + length;
        const bool endsCleanly = after == end || *after < 0x80 || !continues(last, nextCodePoint(after, end));
        const bool afterJoiner = at - begin >= 3 && std::memcmp(at - 3, "\xE2\x80\x8D", 3) == 0;
        if (endsCleanly && !afterJoiner)
            return true;
        from = at + 1;
    }
    return false;
}

bool Pattern::run(std::string_view text) const
{
    // The states are "the first i tokens matched", i = 0 .. tokens; a `*` lets its state stay on
    // any character. One step per character moves every state at once.
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    const auto *end = s + text.size();
    const size_t m = m_tokens.size();
    const size_t acceptWord = m / 64;
    const uint64_t acceptBit = uint64_t(1) << (m % 64);
    const bool endsInStar = m_loops.back();
    std::u32string cluster;
    bool isSharpS = false; // the character just read is "ß", which two literal `s` also take
    auto maskAt = [&]() -> const uint64_t * {
        isSharpS = false;
        if (*s < 0x80 && (s + 1 == end || s[1] < 0x80))
            return &m_ascii[size_t(*s++) * m_words];
        nextCluster(s, end, cluster);
        isSharpS = m_loose && cluster.size() == 1 && cluster[0] == sharpS;
        return maskFor(cluster);
    };

    if (m_words == 1) {
        const uint64_t loop = m_loopMask[0];
        const uint64_t sMask = m_sMask[0];
        uint64_t states = 1;
        while (s < end) {
            const uint64_t *mask = maskAt();
            const uint64_t before = states;
            states = ((states << 1) & mask[0]) | (states & loop);
            if (isSharpS)
                states |= ((((before << 1) & sMask)) << 1) & sMask;
            if (!states)
                return false;
            if (endsInStar && (states & acceptBit))
                return true;
        }
        return states & acceptBit;
    }

    std::vector<uint64_t> states(m_words, 0);
    std::vector<uint64_t> sharpSteps(m_words, 0);
    states[0] = 1;
    size_t top = 1; // words at and above top are all zero
    while (s < end) {
        const uint64_t *mask = maskAt();
        size_t limit = std::min(m_words, top + 1);
        if (isSharpS) {
            // Two steps through literal `s` tokens, beside the one step through the "ß" itself.
            limit = std::min(m_words, top + 2);
            uint64_t carry = 0, carry2 = 0;
            for (size_t w = 0; w < limit; ++w) {
                const uint64_t half = ((states[w] << 1) | carry) & m_sMask[w];
                carry = states[w] >> 63;
                const uint64_t full = ((half << 1) | carry2) & m_sMask[w];
                carry2 = half >> 63;
                sharpSteps[w] = full;
            }
        }
        uint64_t carry = 0;
        for (size_t w = 0; w < limit; ++w) {
            const uint64_t d = states[w];
            states[w] = (((d << 1) | carry) & mask[w]) | (d & m_loopMask[w]) | (isSharpS ? sharpSteps[w] : 0);
            carry = d >> 63;
        }
        top = limit;
        while (top > 0 && states[top - 1] == 0)
            --top;
        if (top == 0)
            return false;
        if (endsInStar && (states[acceptWord] & acceptBit))
            return true;
    }
    return states[acceptWord] & acceptBit;
}
