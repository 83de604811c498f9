// papyra-bench: measures the program's speed targets on generated databases and prints medians.
#include "BenchUtil.h"

#include <QApplication>
#include <QStringList>
#include <QTextStream>
#include <algorithm>

namespace Bench {
void startup(int slotCount, int runs);
void search(int runs);
void printAndBackup(int reportSlots, int backupSlots, int runs);
void spreadsheet(int runs);
void history(int runs);
void shared(int slotCount, int runs);
} // namespace Bench

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const bool check = Bench::checkOnly = app.arguments().contains(QStringLiteral("--check"));
    const int runs = check ? 1 : app.arguments().contains(QStringLiteral("--quick")) ? 3 : 11;

    struct Benchmark {
        QString option, name;
        std::function<void()> run;
        bool onRequestOnly = false; // long: runs only when named (and once, small, under --check)
    };
    const Benchmark benchmarks[] = {
        {QStringLiteral("--startup-only"), QStringLiteral("start-up"),
         [&] { Bench::startup(check ? 1000 : 100000, runs); }},
        {QStringLiteral("--search-only"), QStringLiteral("search"), [&] { Bench::search(runs); }},
        {QStringLiteral("--print-only"), QStringLiteral("report, backup and restore"),
         [&] { Bench::printAndBackup(check ? 100 : 10000, check ? 1000 : 100000, runs); }},
        {QStringLiteral("--spreadsheet-only"), QStringLiteral("spreadsheet"), [&] { Bench::spreadsheet(runs); }},
        {QStringLiteral("--history-only"), QStringLiteral("backups and history"), [&] { Bench::history(runs); }, true},
        {QStringLiteral("--shared-only"), QStringLiteral("shared index"),
         [&] { Bench::shared(check ? 1000 : 100000, runs); }},
    };
    QStringList known{QStringLiteral("--check"), QStringLiteral("--quick")};
    for (const Benchmark &b : benchmarks)
        known << b.option;
    const QStringList args = app.arguments().mid(1);
    for (const QString &arg : args) {
        if (!known.contains(arg)) {
            err << "papyra-bench: unknown option " << arg << "\nusage: papyra-bench [--quick | --check] "
                << "[--startup-only] [--search-only] [--print-only] [--spreadsheet-only] [--history-only] "
                   "[--shared-only]\n";
            return 2;
        }
    }

    const bool only = std::any_of(std::begin(benchmarks), std::end(benchmarks),
                                  [&](const Benchmark &b) { return args.contains(b.option); });
    int ran = 0, failed = 0;
    for (const Benchmark &b : benchmarks) {
        if (only ? !args.contains(b.option) : b.onRequestOnly && !check)
            continue;
        ++ran;
        try {
            b.run();
        } catch (const Bench::Failure &failure) {
            ++failed;
            err << "papyra-bench: the " << b.name << " benchmark cannot run: " << QString::fromStdString(failure.what())
                << Qt::endl;
        }
    }
    if (failed) {
        err << "papyra-bench: " << failed << " of " << ran << " benchmarks cannot run" << Qt::endl;
        return 1;
    }
    if (check)
        QTextStream(stdout) << "papyra-bench --check: all " << ran << " benchmarks ran to the end" << Qt::endl;
    return 0;
}
