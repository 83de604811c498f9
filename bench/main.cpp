// papyra-bench: measures the program's speed targets on generated databases and prints medians.
#include "BenchUtil.h"

#include <QApplication>
#include <QStringList>

namespace Bench {
void startup(int slotCount, int runs);
void search(int runs);
void printAndBackup(int reportSlots, int backupSlots, int runs);
void spreadsheet(int runs);
void startProcessClock();
int tableChild(const QStringList &args);
int table(int slots, int runs, bool withSlowFigures);
int reportTable(int slots, int runs);
} // namespace Bench

int main(int argc, char **argv)
{
    Bench::startProcessClock();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    {
        // --table [--slots N] [--runs R] [--fast]: the figures of one index size, each from fresh
        // processes; --report-table N: the report to PDF of N filled slots.
        const QStringList a = app.arguments();
        const int childAt = a.indexOf(QStringLiteral("--child"));
        if (childAt > 0)
            return Bench::tableChild(a.mid(childAt + 1));
        auto valueOf = [&](const char *option, int fallback) {
            const int at = a.indexOf(QLatin1String(option));
            return at > 0 && at + 1 < a.size() ? a.at(at + 1).toInt() : fallback;
        };
        if (a.contains(QStringLiteral("--table")))
            return Bench::table(valueOf("--slots", 100000), valueOf("--runs", 3),
                                !a.contains(QStringLiteral("--fast")));
        if (a.contains(QStringLiteral("--report-table")))
            return Bench::reportTable(valueOf("--report-table", 10000), valueOf("--runs", 3));
    }
    const QStringList args = app.arguments();
    const int runs = args.contains(QStringLiteral("--quick")) ? 3 : 11;

    const bool only =
        args.contains(QStringLiteral("--search-only")) || args.contains(QStringLiteral("--startup-only")) ||
        args.contains(QStringLiteral("--print-only")) || args.contains(QStringLiteral("--spreadsheet-only"));
    if (!only || args.contains(QStringLiteral("--startup-only")))
        Bench::startup(100000, runs);
    if (!only || args.contains(QStringLiteral("--search-only")))
        Bench::search(runs);
    if (!only || args.contains(QStringLiteral("--print-only")))
        Bench::printAndBackup(10000, 100000, runs);
    if (!only || args.contains(QStringLiteral("--spreadsheet-only")))
        Bench::spreadsheet(runs);
    return 0;
}
