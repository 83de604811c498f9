// libFuzzer target for typed reminder dates. The first byte picks one of Qt's locales, the rest is the
// typed text (UTF-8). Besides crashes and sanitizer findings it stops on a broken promise of the date
// functions: an accepted date outside the years 1000-9999, or a date (typed, or stored and shown) that
// does not read back as itself from the form Papyra shows it in.
#include "store/Dates.h"

#include <QList>
#include <QLocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char *what, const QString &text)
{
    std::fprintf(stderr, "%s: [%s] in %s\n", what, text.toUtf8().constData(), QLocale().name().toUtf8().constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    if (size == 0)
        return 0;
    QLocale::setDefault(locales.at(data[0] % locales.size()));
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    if (const auto typed = Dates::parseEntry(text)) {
        if (!typed->isValid() || typed->year() < 1000 || typed->year() > 9999)
            fail("accepted a date outside 1000-9999", text);
        const QString shown = Dates::toDisplay(*typed);
        if (Dates::parseEntry(shown) != typed)
            fail("shown date does not read back", shown);
        if (Dates::fromStorage(Dates::toStorage(*typed)) != *typed)
            fail("stored date does not read back", text);
    }

    // The same bytes as a stored value: what is shown either reads back as that date or is the stored text.
    const QString shown = Dates::storageToDisplay(text);
    const QDate stored = Dates::fromStorage(text);
    if (stored.isValid() && stored.year() >= 1000) {
        if (Dates::parseEntry(shown) != stored)
            fail("shown stored date does not read back", text);
    } else if (shown != text) {
        fail("stored text that is no date was changed", text);
    }
    return 0;
}
