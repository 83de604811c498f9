// The guided tour on the Start Here panel: when it starts, the order of its pictures, where it stops.
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "tour/Slides.h"
#include "ui/PicturePanel.h"

#include <QAction>
#include <QImageReader>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

class TourTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fixture.reset(); }

    void fullTourShowsEveryPictureInOrderAndStops();
    void restartsFromTheStartPicture();
    void missingOrBrokenPictureShowsBlackAndMovesOn_data();
    void missingOrBrokenPictureShowsBlackAndMovesOn();
    void shippedPicturesFillThePanel();

private:
    // The index in the slide list of the picture on the panel (its width tells); -1 for none.
    int shown() const
    {
        const QImage &picture = m_window->startHerePanel()->picture();
        return picture.isNull() ? -1 : picture.width() - 10;
    }
    void tick(int times)
    {
        for (int i = 0; i < times; ++i)
            m_window->slideTimerTick();
    }

    std::unique_ptr<WindowFixture> m_fixture;
    MainWindow *m_window = nullptr;
};

void TourTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    QDir().mkpath(m_fixture->folder().filePath(QStringLiteral("slideshow/images")));
    const QStringList names = Slides::allPictures();
    for (int i = 0; i < names.size(); ++i) {
        QImage image(10 + i, 8, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(Slides::path(m_fixture->folder().path(), names.at(i)), "JPEG"));
    }
    QVERIFY(m_fixture->open());
    m_window = &m_fixture->window();
}

void TourTest::fullTourShowsEveryPictureInOrderAndStops()
{
    // At rest until the first tab change.
    QVERIFY(m_window->slideTimer()->isActive());
    tick(5);
    QCOMPARE(shown(), -1);

    m_window->SwitchTab(5);
    QCOMPARE(shown(), 0);
    for (int step = 1; step <= Slides::stepCount; ++step) {
        // The timer's own signal drives the step, not only the handler called by hand.
        QVERIFY(QMetaObject::invokeMethod(m_window->slideTimer(), "timeout"));
        QCOMPARE(shown(), step);
    }
    // The last picture stays and the tour is at rest.
    tick(3);
    QCOMPARE(shown(), Slides::stepCount);
    QCOMPARE(m_window->slidestep(), qint16(0));
    QVERIFY(m_fixture->dialogs().shown.isEmpty());
}

void TourTest::restartsFromTheStartPicture()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    // The tour runs on while the panel is hidden behind another tab.
    m_window->SwitchTab(3);
    tick(20);
    QCOMPARE(shown(), 20);
    m_window->tabStrip()->setCurrentIndex(1);
    QCOMPARE(shown(), 0);
    tick(2);
    QCOMPARE(shown(), 2);

    // F9 on the Start Here tab itself restarts it too.
    m_window->SwitchTab(5);
    tick(5);
    QTest::keyClick(m_window, Qt::Key_F9);
    QCOMPARE(shown(), 0);
    tick(1);
    QCOMPARE(shown(), 1);
}

void TourTest::missingOrBrokenPictureShowsBlackAndMovesOn_data()
{
    QTest::addColumn<QString>("inItsPlace");
    QTest::newRow("missing, a look-alike name beside it") << QString();
    QTest::newRow("not a picture") << QStringLiteral("file");
    QTest::newRow("a folder") << QStringLiteral("folder");
}

void TourTest::missingOrBrokenPictureShowsBlackAndMovesOn()
{
    QFETCH(QString, inItsPlace);
    // Step 4's picture has two spaces in its name; only that exact name is read.
    const QString name = Slides::stepPicture(4);
    const QString picture = Slides::path(m_fixture->folder().path(), name);
    const QString lookalike = QString(name).replace(QStringLiteral("  "), QStringLiteral(" "));
    QVERIFY(QFile::rename(picture, Slides::path(m_fixture->folder().path(), lookalike)));
    QFile file(picture);
    if (inItsPlace == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(picture));
    else if (inItsPlace == QLatin1String("file"))
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("\xFF\xD8\xFF\xE0 not a JPEG") > 0);
    file.close();

    m_window->SwitchTab(2);
    tick(3);
    QCOMPARE(shown(), 3);
    tick(1);
    QCOMPARE(shown(), -1);
    tick(1);
    QCOMPARE(shown(), 5);
    QVERIFY(m_fixture->dialogs().shown.isEmpty());
}

void TourTest::shippedPicturesFillThePanel()
{
    // The pictures that come with the program: every name present, each the panel's size.
    const QString folder = TestFolder::builtProgramFolder();
    qint64 total = 0;
    for (const QString &name : Slides::allPictures()) {
        QImageReader reader(Slides::path(folder, name));
        QVERIFY2(reader.canRead(), qPrintable(name));
        QCOMPARE(reader.size(), QSize(697, 441));
        total += QFileInfo(reader.fileName()).size();
    }
    QVERIFY2(total < 3 * 1024 * 1024, qPrintable(QString::number(total)));
}

QTEST_MAIN(TourTest)
#include "tst_tour.moc"
