#pragma once

#include "ui/Dialogs.h"

#include <QString>
#include <QVector>
#include <functional>
#include <stdexcept>

namespace Bench {

// Set by --check: every benchmark runs its whole path once, on small databases, and reports what it
// ran instead of figures. CI runs it so that a benchmark that no longer works is noticed.
extern bool checkOnly;

// A benchmark that cannot run (a query refused, a command that reported a failure, a result that
// makes the figures meaningless) throws this; the program names the benchmark and ends with status 1.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};
[[noreturn]] void fail(const QString &why);

// Runs fn `runs` times and returns the median duration in milliseconds.
double medianMs(int runs, const std::function<void()> &fn);
// Runs fn `runs` times; fn times its own part and returns milliseconds. Returns the median.
double medianTimed(int runs, const std::function<double()> &fn);
double median(QVector<double> values);
double elapsedMs(const std::function<void()> &fn);

// A fresh program folder (under the system temp folder) holding a database of slotCount slots.
QString makeProgramFolder(const QString &name, int slotCount);

// Prints one figure; under --check only what ran.
void report(const QString &what, double ms, const QString &target = QString());
// Under --check, says what ran; otherwise nothing.
void ran(const QString &what);

// Says Yes to every question and names the same file in every file dialog; messages are only counted.
class AnsweringDialogs : public Dialogs
{
public:
    QString file;
    int messages = 0;
    void message(QWidget *, const QString &, Icon) override { ++messages; }
    void messageWithDetail(QWidget *, const QString &, const QString &, Icon) override { ++messages; }
    bool askYesNo(QWidget *, const QString &) override { return true; }
    QString saveFileName(QWidget *, const QString &) override { return file; }
    QString folderName(QWidget *, const QString &) override { return QString(); }
    QString openFileName(QWidget *, const QString &, const QString &, const QStringList &) override { return file; }
};

} // namespace Bench
