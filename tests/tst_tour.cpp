// The guided tour on the Start Here panel: when it starts, the order of its pictures, where it stops.
#include "ScriptedDialogs.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "app/PicturePanel.h"
#include "tour/Slides.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

namespace {

// Every slide of the test folder is a small picture whose width tells which one it is.
int pictureWidth(int index)
{
    return 10 + index;
}

bool writeNumberedSlides(const TestFolder &folder)
{
    QDir().mkpath(folder.filePath(QStringLiteral("slideshow/images")));
    const QStringList names = Slides::allPictures();
    for (int i = 0; i < names.size(); ++i) {
        QImage image(pictureWidth(i), 8, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        if (!image.save(Slides::path(folder.path(), names.at(i)), "JPEG"))
            return false;
    }
    return true;
}

// The index in the slide list of the picture on the panel; -1 for an empty panel.
int shownIndex(MainWindow &window)
{
    const QImage &picture = window.startHerePanel()->picture();
    return picture.isNull() ? -1 : picture.width() - 10;
}

} // namespace

class TourTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void timerIsTheWindowsClock();
    void atRestUntilTheFirstTabChange();
    void fullTourShowsEveryPictureInOrderAndStops();
    void ticksWorkWhileThePanelIsHidden();
    void restartsOnEveryTabChange_data();
    void restartsOnEveryTabChange();
    void namesAreTakenLiterally_data();
    void namesAreTakenLiterally();
    void missingOrBrokenPictureShowsBlackAndMovesOn_data();
    void missingOrBrokenPictureShowsBlackAndMovesOn();
    void shippedPicturesFillThePanel();

private:
    TestFolder *m_folder = nullptr;
    ScriptedDialogs m_dialogs;
    MainWindow *m_window = nullptr;
};

void TourTest::init()
{
    m_folder = new TestFolder;
    QVERIFY(writeNumberedSlides(*m_folder));
    m_dialogs.clear();
    m_window = new MainWindow(m_folder->path(), &m_dialogs);
}

void TourTest::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete m_folder;
    m_folder = nullptr;
}

void TourTest::timerIsTheWindowsClock()
{
    QTimer *timer = m_window->slideTimer();
    QCOMPARE(timer->objectName(), QStringLiteral("slidetimer"));
    QCOMPARE(timer->interval(), 3000);
    QVERIFY(timer->isActive());
    // The timer's own signal drives the step, not only the handler called by hand.
    m_window->SwitchTab(1);
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    QCOMPARE(m_window->slidestep(), qint16(2));
    QCOMPARE(shownIndex(*m_window), 1);
}

void TourTest::atRestUntilTheFirstTabChange()
{
    QCOMPARE(m_window->slidestep(), qint16(0));
    for (int i = 0; i < 5; ++i)
        m_window->slideTimerTick();
    QCOMPARE(m_window->slidestep(), qint16(0));
    QCOMPARE(shownIndex(*m_window), -1);
    QVERIFY(m_dialogs.shown.isEmpty());
}

void TourTest::fullTourShowsEveryPictureInOrderAndStops()
{
    m_window->SwitchTab(5);
    QCOMPARE(shownIndex(*m_window), 0);
    QCOMPARE(m_window->slidestep(), qint16(1));
    for (int step = 1; step <= Slides::stepCount; ++step) {
        m_window->slideTimerTick();
        QCOMPARE(shownIndex(*m_window), step);
        QCOMPARE(m_window->slidestep(), qint16(step == Slides::stepCount ? 0 : step + 1));
    }
    // The last picture stays and the tour is at rest.
    for (int i = 0; i < 3; ++i)
        m_window->slideTimerTick();
    QCOMPARE(shownIndex(*m_window), Slides::stepCount);
    QCOMPARE(m_window->slidestep(), qint16(0));
}

void TourTest::ticksWorkWhileThePanelIsHidden()
{
    m_window->SwitchTab(3);
    QVERIFY(!m_window->startHerePanel()->isVisibleTo(m_window));
    for (int i = 0; i < 20; ++i)
        m_window->slideTimerTick();
    QCOMPARE(shownIndex(*m_window), 20);
    QCOMPARE(m_window->slidestep(), qint16(21));
}

void TourTest::restartsOnEveryTabChange_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("tab");
    for (int tab = 1; tab <= 5; ++tab)
        QTest::addRow("click on tab %d", tab) << QStringLiteral("click") << tab;
    QTest::newRow("F9 menu item") << QStringLiteral("mnuStart") << 5;
    QTest::newRow("F1 menu item") << QStringLiteral("mnuAbout") << 1;
    QTest::newRow("F9 pressed on the Start Here tab") << QStringLiteral("keyF9") << 5;
    QTest::newRow("F9 pressed on the Search tab") << QStringLiteral("keyF9") << 1;
}

void TourTest::restartsOnEveryTabChange()
{
    QFETCH(QString, how);
    QFETCH(int, tab);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    // The tour already on its way, on a tab other than the one selected next (except for F9 on tab 5).
    m_window->SwitchTab(qint16(how == QLatin1String("keyF9") ? tab : (tab % 5) + 1));
    for (int i = 0; i < 20; ++i)
        m_window->slideTimerTick();
    QCOMPARE(m_window->slidestep(), qint16(21));

    if (how == QLatin1String("click"))
        m_window->tabStrip()->setCurrentIndex(tab - 1);
    else if (how == QLatin1String("keyF9"))
        QTest::keyClick(m_window, Qt::Key_F9);
    else
        m_window->action(how)->trigger();

    QCOMPARE(m_window->slidestep(), qint16(1));
    QCOMPARE(shownIndex(*m_window), 0);
    m_window->slideTimerTick();
    QCOMPARE(shownIndex(*m_window), 1);
}

void TourTest::namesAreTakenLiterally_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("lookalike");
    QTest::newRow("two spaces") << 4 << QStringLiteral("b.  messy.jpg") << QStringLiteral("b. messy.jpg");
    QTest::newRow("two spaces inside") << 18 << QStringLiteral("l. pull out 454  you're done.jpg")
                                       << QStringLiteral("l. pull out 454 you're done.jpg");
    QTest::newRow("double dot") << 20 << QStringLiteral("o. how to use..jpg") << QStringLiteral("o. how to use.jpg");
    QTest::newRow("lower case") << 10 << QStringLiteral("g. papyra main page.jpg")
                                << QStringLiteral("g. Papyra main page.jpg");
}

void TourTest::namesAreTakenLiterally()
{
    QFETCH(int, step);
    QFETCH(QString, name);
    QFETCH(QString, lookalike);
    QCOMPARE(Slides::stepPicture(step), name);

    // Only the exact name is read: with the picture under a look-alike name the step shows nothing.
    QVERIFY(QFile::rename(Slides::path(m_folder->path(), name), Slides::path(m_folder->path(), lookalike)));
    m_window->SwitchTab(1);
    for (int i = 1; i < step; ++i)
        m_window->slideTimerTick();
    QCOMPARE(shownIndex(*m_window), step - 1);
    m_window->slideTimerTick();
    QCOMPARE(shownIndex(*m_window), -1);
}

void TourTest::missingOrBrokenPictureShowsBlackAndMovesOn_data()
{
    QTest::addColumn<QByteArray>("contents"); // empty: no file at all
    QTest::addColumn<bool>("directory");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("not a picture") << QByteArray("this is not a JPEG file") << false;
    QTest::newRow("cut short") << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10) << false;
    QTest::newRow("a folder in its place") << QByteArray() << true;
}

void TourTest::missingOrBrokenPictureShowsBlackAndMovesOn()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, directory);
    const QString broken = Slides::path(m_folder->path(), Slides::stepPicture(5));
    QVERIFY(QFile::remove(broken));
    if (directory) {
        QVERIFY(QDir().mkpath(broken));
    } else if (!contents.isEmpty()) {
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    m_window->SwitchTab(2);
    for (int i = 0; i < 4; ++i)
        m_window->slideTimerTick();
    QCOMPARE(shownIndex(*m_window), 4);
    m_window->slideTimerTick();
    QCOMPARE(shownIndex(*m_window), -1);
    QCOMPARE(m_window->slidestep(), qint16(6));
    m_window->slideTimerTick();
    QCOMPARE(shownIndex(*m_window), 6);
    QVERIFY(m_dialogs.shown.isEmpty());
}

void TourTest::shippedPicturesFillThePanel()
{
    // The pictures that come with the program: every name present, each the panel's size.
    const QString folder = TestFolder::builtProgramFolder();
    qint64 total = 0;
    for (const QString &name : Slides::allPictures()) {
        const QString path = Slides::path(folder, name);
        QImageReader reader(path);
        QVERIFY2(reader.canRead(), qPrintable(name));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), QSize(697, 441));
        total += QFileInfo(path).size();
    }
    QVERIFY2(total < 3 * 1024 * 1024, qPrintable(QString::number(total)));
}

QTEST_MAIN(TourTest)
#include "tst_tour.moc"
