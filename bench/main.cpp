// papyra-bench: measures the program's speed targets on generated databases and prints medians.
#include "BenchUtil.h"

#include <QApplication>
#include <QStringList>

namespace Bench {
void startup(int slotCount, int runs);
void search(int runs);
} // namespace Bench

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = args.contains(QStringLiteral("--quick")) ? 3 : 11;

    if (!args.contains(QStringLiteral("--search-only")))
        Bench::startup(100000, runs);
    Bench::search(runs);
    return 0;
}
