// Writes the empty template database: papyra-mktemplate OUTPUT [SLOTS]
#include "store/Schema.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: papyra-mktemplate OUTPUT [SLOTS]\n");
        return 2;
    }
    const QString output = args.at(1);
    const int slotCount = args.size() > 2 ? args.at(2).toInt() : 1000;
    QFile::remove(output);
    QString error;
    if (!Schema::createDatabase(output, slotCount, Schema::defaultCategories(), 1, &error)) {
        std::fprintf(stderr, "papyra-mktemplate: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
