// papyra-bench: measures the program's speed targets on generated databases and prints medians.
#include "BenchUtil.h"

#include <QApplication>
#include <QHash>
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
void startProcessClock();
int tableChild(const QStringList &args);
void table(int slots, int runs, bool withSlowFigures);
void reportTable(int slots, int runs);
} // namespace Bench

int main(int argc, char **argv)
{
    Bench::startProcessClock();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    // One figure of --table in a fresh process of its own, started by the table run itself.
    if (args.value(0) == QLatin1String("--child"))
        return Bench::tableChild(args.mid(1));

    const bool check = Bench::checkOnly = args.contains(QStringLiteral("--check"));
    const int runs = check ? 1 : args.contains(QStringLiteral("--quick")) ? 3 : 11;
    // Options that take a number: --slots and --runs for --table, and the report's size for --report-table.
    QHash<QString, int> values{
        {QStringLiteral("--slots"), 100000}, {QStringLiteral("--runs"), 3}, {QStringLiteral("--report-table"), 10000}};
    for (int i = 0; i < args.size(); ++i) {
        bool number = false;
        const int value = args.value(i + 1).toInt(&number);
        if (values.contains(args.at(i)) && number) {
            values[args.at(i)] = value;
            args.removeAt(i + 1);
        }
    }
    const int tableRuns = check ? 1 : std::max(1, values.value(QStringLiteral("--runs")));

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
        // The large-index table of docs/PERFORMANCE.md: each figure from fresh processes.
        {QStringLiteral("--table"), QStringLiteral("large-index table"),
         [&] {
             Bench::table(check ? 10000 : values.value(QStringLiteral("--slots")), tableRuns,
                          !args.contains(QStringLiteral("--fast")));
         },
         true},
        {QStringLiteral("--report-table"), QStringLiteral("report to PDF table"),
         [&] { Bench::reportTable(check ? 100 : values.value(QStringLiteral("--report-table")), tableRuns); }, true},
    };
    QStringList known{QStringLiteral("--check"), QStringLiteral("--quick"), QStringLiteral("--fast")};
    for (const Benchmark &b : benchmarks)
        known << b.option;
    for (const QString &arg : std::as_const(args)) {
        if (!known.contains(arg) && !values.contains(arg)) {
            err << "papyra-bench: unknown option " << arg << "\nusage: papyra-bench [--quick | --check] "
                << "[--startup-only] [--search-only] [--print-only] [--spreadsheet-only] [--history-only] "
                   "[--shared-only]\n"
                << "       papyra-bench --table [--slots N] [--runs R] [--fast]\n"
                << "       papyra-bench --report-table [N] [--runs R]\n";
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
