#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace {

// Kept for the life of the program: an installed translator must outlive its use.
std::unique_ptr<QTranslator> &ownTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::unique_ptr<QTranslator> &qtTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

bool replace(std::unique_ptr<QTranslator> &slot, const QLocale &locale, const QString &name, const QString &folder)
{
    if (slot)
        QCoreApplication::removeTranslator(slot.get());
    slot.reset();
    auto translator = std::make_unique<QTranslator>();
    // Tries each of the locale's UI languages in turn (de_DE, then de).
    if (!translator->load(locale, name, QStringLiteral("_"), folder))
        return false;
    QCoreApplication::installTranslator(translator.get());
    slot = std::move(translator);
    return true;
}

} // namespace

namespace Translations {

QString folder(const QString &programFolder)
{
    return programFolder + QStringLiteral("/translations");
}

bool install(const QString &programFolder, const QLocale &locale)
{
    // Qt's own texts follow only where Papyra has a translation too, so one window never mixes languages.
    const bool translated = replace(ownTranslator(), locale, QStringLiteral("papyra"), folder(programFolder));
    if (translated)
        replace(qtTranslator(), locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    else
        replace(qtTranslator(), QLocale::c(), QString(), QString());
    return translated;
}

} // namespace Translations
