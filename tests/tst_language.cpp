// The user's language: the Reminder caption in each locale's form, and a German window, its menus,
// dialogs and messages without an English word left.
#include "WindowFixture.h"

#include "about/AboutBox.h"
#include "app/MainWindow.h"
#include "app/Translations.h"
#include "backup/AutoRestoreDialog.h"
#include "panels/AddFilesPanel.h"
#include "panels/CategoriesPanel.h"
#include "panels/HistoryDialog.h"
#include "print/LabelsDialog.h"
#include "ui/DataGrid.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabBar>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// Names and words that German shares with English (Data Matrix, QR and ASN name codes; pgpass a file).
const QStringList sharedWords = {
    QStringLiteral("Papyra"), QStringLiteral("OK"),     QStringLiteral("Version"),    QStringLiteral("TM"),
    QStringLiteral("Export"), QStringLiteral("Import"), QStringLiteral("PDF"),        QStringLiteral("in"),
    QStringLiteral("an"),     QStringLiteral("Index"),  QStringLiteral("Server"),     QStringLiteral("Port"),
    QStringLiteral("Name"),   QStringLiteral("Code"),   QStringLiteral("QR"),         QStringLiteral("Data"),
    QStringLiteral("Matrix"), QStringLiteral("ASN"),    QStringLiteral("PostgreSQL"), QStringLiteral("pgpass")};

// Every word of the program's English texts, read from the German translation's sources.
QSet<QString> englishWords()
{
    QFile file(QStringLiteral(PAPYRA_SOURCE_DIR "/translations/papyra_de.ts"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QSet<QString> words;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("source")) {
            const QString text = xml.readElementText().remove(QLatin1Char('&'));
            for (const QString &word : text.split(QRegularExpression(QStringLiteral("[^\\p{L}]+")), Qt::SkipEmptyParts))
                words.insert(word.toLower());
        }
    }
    for (const QString &word : sharedWords)
        words.remove(word.toLower());
    return words;
}

// What a user reads on a widget and its children: captions, tool tips, menus, column captions.
QStringList shownTexts(QWidget *top)
{
    QStringList texts{top->windowTitle(), top->toolTip()};
    for (QWidget *w : top->findChildren<QWidget *>()) {
        texts << w->toolTip() << w->accessibleName();
        if (auto *label = qobject_cast<QLabel *>(w))
            texts << label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            texts << button->text();
        if (auto *box = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < box->count(); ++i)
                texts << box->itemText(i);
        }
        if (auto *tabs = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i) << tabs->tabToolTip(i);
        }
        if (auto *header = qobject_cast<QHeaderView *>(w)) {
            for (int i = 0; header->model() && i < header->count(); ++i)
                texts << header->model()->headerData(i, header->orientation()).toString();
        }
        if (auto *menu = qobject_cast<QMenu *>(w)) {
            texts << menu->title();
            for (QAction *action : menu->actions())
                texts << action->text();
        }
    }
    return texts;
}

} // namespace

class LanguageTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void reminderCaption_data();
    void reminderCaption();
    void germanThroughout();
};

void LanguageTest::cleanup()
{
    QLocale::setDefault(QLocale::c());
    Translations::install(TestFolder::builtProgramFolder(), QLocale::c());
}

void LanguageTest::reminderCaption_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("caption");
    QTest::newRow("no locale chosen") << QStringLiteral("C") << QStringLiteral("Reminder ( 12/31/02 )");
    QTest::newRow("en_US") << QStringLiteral("en_US") << QStringLiteral("Reminder ( 12/31/02 )");
    QTest::newRow("en_GB") << QStringLiteral("en_GB") << QStringLiteral("Reminder ( 31/12/02 )");
    QTest::newRow("de_DE") << QStringLiteral("de_DE") << QStringLiteral("Erinnerung ( 31.12.02 )");
}

void LanguageTest::reminderCaption()
{
    QFETCH(QString, locale);
    QFETCH(QString, caption);
    QLocale::setDefault(QLocale(locale));
    Translations::install(TestFolder::builtProgramFolder(), QLocale(locale));
    WindowFixture fixture;
    QVERIFY(fixture.open());
    for (DataGrid *grid : {fixture.window().searchGrid(), fixture.window().addFilesPanel()->grid()})
        QCOMPARE(grid->model()->headerData(3, Qt::Horizontal).toString(), caption);
}

void LanguageTest::germanThroughout()
{
    const QSet<QString> english = englishWords();
    QVERIFY2(english.size() > 100, "the English texts could not be read from translations/papyra_de.ts");
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    QVERIFY2(Translations::install(TestFolder::builtProgramFolder(), QLocale()),
             "no German translation in the built program folder");

    WindowFixture fixture;
    QVERIFY(fixture.open());
    MainWindow &window = fixture.window();
    QStringList texts = shownTexts(&window);
    for (QAction *action : window.menuBar()->actions())
        texts << action->text();

    // The dialogs, and the messages of a few wrong steps (they go through the dialog seam).
    AboutBox about(&fixture.dialogs(), &window);
    texts << shownTexts(&about);
    QVERIFY(fixture.folder().copyProgramData());
    LabelsDialog labels(fixture.folder().path(), &fixture.dialogs(), &window);
    QVERIFY(labels.LoadDefs());
    texts << shownTexts(&labels);
    labels.print(); // no label type chosen
    window.SwitchTab(Tab::MyCategories);
    window.categoriesPanel()->deleteCategory(); // no category chosen
    window.addFilesPanel()->jumpToFile();
    window.updateDueStatus();
    {
        HistoryDialog history(&window.store(), 1, &fixture.dialogs(), &window);
        texts << shownTexts(&history);
        AutoRestoreDialog backups(fixture.folder().path(), &fixture.dialogs(), &window);
        texts << shownTexts(&backups);
    }
    // The shared index's login form, as the program shows it (not the scripted stand-in).
    Dialogs real;
    QTimer::singleShot(0, &window, [&texts] {
        if (QWidget *form = QApplication::activeModalWidget()) {
            texts << shownTexts(form);
            QMetaObject::invokeMethod(form, "reject", Qt::QueuedConnection);
        }
    });
    QVERIFY(!real.serverLogin(&window, {}, QString()));
    window.chooseSharedIndex(); // the scripted form's note; answered with Cancel
    QString why;
    QVERIFY(!window.openSharedIndex({QStringLiteral("postgresql://office-server"), QString(), false}, &why));
    texts << why;
    texts << fixture.dialogs().messages();
    for (const ScriptedDialogs::Shown &shown : fixture.dialogs().shown)
        texts << shown.text;
    // Qt's own buttons and file dialog follow.
    QMessageBox box(QMessageBox::NoIcon, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    texts << shownTexts(&box);
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    texts << shownTexts(&files);
    // Paths (the data folder in the status bar, the file dialog's folder) are data, not texts of
    // the program: whatever words the folders' names hold.
    texts.replaceInStrings(QRegularExpression(QStringLiteral("(?<!\\S)(?:[A-Za-z]:)?[/\\\\]\\S*")), QString());

    QStringList left;
    for (const QString &text : std::as_const(texts)) {
        const QString plain = QString(text).remove(QLatin1Char('&'));
        for (const QString &word : plain.split(QRegularExpression(QStringLiteral("[^\\p{L}]+")), Qt::SkipEmptyParts)) {
            // Single letters are key names (F1) and units, the same in both languages.
            if (word.size() > 1 && english.contains(word.toLower()) && !left.contains(plain))
                left << plain;
        }
    }
    QVERIFY2(left.isEmpty(), qPrintable(QStringLiteral("English left: ") + left.join(QStringLiteral(" | "))));
    const QStringList buttons = shownTexts(&box).replaceInStrings(QStringLiteral("&"), QString());
    QVERIFY2(buttons.contains(QStringLiteral("Ja")) && buttons.contains(QStringLiteral("Nein")),
             "Qt's own texts are not German (qt6-translations-l10n)");
}

QTEST_MAIN(LanguageTest)
#include "tst_language.moc"
