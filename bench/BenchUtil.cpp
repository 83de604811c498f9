#include "BenchUtil.h"

#include "store/Schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <algorithm>

namespace Bench {

bool checkOnly = false;

void fail(const QString &why)
{
    throw Failure(why.toStdString());
}

double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const int mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double elapsedMs(const std::function<void()> &fn)
{
    QElapsedTimer timer;
    timer.start();
    fn();
    return timer.nsecsElapsed() / 1e6;
}

double medianMs(int runs, const std::function<void()> &fn)
{
    QVector<double> times;
    for (int i = 0; i < runs; ++i)
        times.append(elapsedMs(fn));
    return median(times);
}

double medianTimed(int runs, const std::function<double()> &fn)
{
    QVector<double> times;
    for (int i = 0; i < runs; ++i)
        times.append(fn());
    return median(times);
}

QString makeProgramFolder(const QString &name, int slotCount)
{
    const QString folder = QDir::temp().filePath(QStringLiteral("papyra-bench/") + name);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QString error;
    if (!Schema::createDatabase(QDir(folder).filePath(Schema::databaseFileName), slotCount, Schema::defaultCategories(),
                                1, &error))
        fail(QStringLiteral("cannot make the database in %1: %2").arg(folder, error));
    // The tour's start picture is decoded on every tab change, so the benchmark needs it too.
    const QDir programData(QStringLiteral(PAPYRA_PROGRAM_DIR));
    if (programData.exists(QStringLiteral("slideshow"))) {
        QDir().mkpath(folder + QStringLiteral("/slideshow/images"));
        for (const QString &f : QDir(programData.filePath(QStringLiteral("slideshow/images"))).entryList(QDir::Files))
            QFile::copy(programData.filePath(QStringLiteral("slideshow/images/") + f),
                        folder + QStringLiteral("/slideshow/images/") + f);
    }
    return folder;
}

void report(const QString &what, double ms, const QString &target)
{
    if (checkOnly) {
        ran(what);
        return;
    }
    QTextStream out(stdout);
    out << qSetFieldWidth(56) << Qt::left << what << qSetFieldWidth(0) << QString::number(ms, 'f', 2) << " ms";
    if (!target.isEmpty())
        out << "   (target " << target << ")";
    out << Qt::endl;
}

void ran(const QString &what)
{
    if (checkOnly)
        QTextStream(stdout) << "ran: " << what << Qt::endl;
}

} // namespace Bench
