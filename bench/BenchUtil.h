#pragma once

#include <QString>
#include <QVector>
#include <functional>

namespace Bench {

// Runs fn `runs` times and returns the median duration in milliseconds.
double medianMs(int runs, const std::function<void()> &fn);
// Runs fn `runs` times; fn times its own part and returns milliseconds. Returns the median.
double medianTimed(int runs, const std::function<double()> &fn);
double median(QVector<double> values);
double elapsedMs(const std::function<void()> &fn);

// A fresh program folder (under the system temp folder) holding a database of slotCount slots.
QString makeProgramFolder(const QString &name, int slotCount);

void report(const QString &what, double ms, const QString &target = QString());

} // namespace Bench
