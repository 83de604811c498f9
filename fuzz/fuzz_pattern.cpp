// The search pattern against a text. Input: the pattern up to the first newline, the text after it.
// Besides crashes and sanitizer reports, it stops on answers that contradict each other.
#include "store/Pattern.h"

#include <QRegularExpression>

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *bytes = reinterpret_cast<const char *>(data);
    const char *newline = static_cast<const char *>(std::memchr(bytes, '\n', size));
    const size_t patternSize = newline ? size_t(newline - bytes) : size;
    const QString pattern = QString::fromUtf8(bytes, qsizetype(patternSize));
    const QString text = newline ? QString::fromUtf8(newline + 1, qsizetype(size - patternSize - 1)) : QString();

    const Pattern compiled(pattern);
    const bool asText = compiled.matches(text);
    // The search index keeps the stored text folded once; matching it must give the same answer.
    const bool asFolded = compiled.matches(Pattern::foldUtf8(text.toUtf8().toStdString()));
    if (asText != asFolded)
        std::abort();
    // A text matching the pattern contains a match of it: the search wraps every term in stars.
    const Pattern contained(QLatin1Char('*') + pattern + QLatin1Char('*'));
    if (asText && !contained.matches(text))
        std::abort();
    // Without wildcard characters a pattern is a text, and it matches itself.
    static const QRegularExpression wildcard(QStringLiteral("[*?#\\[]"));
    if (!pattern.contains(wildcard) && !compiled.matches(pattern))
        std::abort();
    // Raw bytes, not valid UTF-8, as a damaged database might hand them over.
    compiled.matches(std::string_view(bytes, size));
    return 0;
}
