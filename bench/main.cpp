// papyra-bench: measures the program's speed targets on generated databases and prints medians.
#include "BenchUtil.h"

#include <QApplication>
#include <QStringList>

namespace Bench {
void startup(int slotCount, int runs);
void search(int runs);
void printAndBackup(int reportSlots, int backupSlots, int runs);
void spreadsheet(int runs);
void shared(int slotCount, int runs);
} // namespace Bench

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = args.contains(QStringLiteral("--quick")) ? 3 : 11;

    const bool only =
        args.contains(QStringLiteral("--search-only")) || args.contains(QStringLiteral("--startup-only")) ||
        args.contains(QStringLiteral("--print-only")) || args.contains(QStringLiteral("--spreadsheet-only")) ||
        args.contains(QStringLiteral("--shared-only"));
    if (!only || args.contains(QStringLiteral("--startup-only")))
        Bench::startup(100000, runs);
    if (!only || args.contains(QStringLiteral("--search-only")))
        Bench::search(runs);
    if (!only || args.contains(QStringLiteral("--print-only")))
        Bench::printAndBackup(10000, 100000, runs);
    if (!only || args.contains(QStringLiteral("--spreadsheet-only")))
        Bench::spreadsheet(runs);
    if (!only || args.contains(QStringLiteral("--shared-only")))
        Bench::shared(100000, runs);
    return 0;
}
