// Draws the guided tour's pictures from the program's own windows:
//   papyra-mkslides OUTPUT_FOLDER PROGRAM_DATA_FOLDER
// OUTPUT_FOLDER receives the 47 JPEG files under their slide list names; PROGRAM_DATA_FOLDER is
// where labels.def lies (resources/program). Run by scripts/make-slides.sh.
#include "Tour.h"

#include "tour/Slides.h"

#include <QApplication>
#include <QDir>
#include <QImageWriter>
#include <cstdio>

int main(int argc, char *argv[])
{
    // The pictures never depend on a screen: always draw offscreen, at the usual 96 dots per inch.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Papyra"));
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: papyra-mkslides OUTPUT_FOLDER PROGRAM_DATA_FOLDER\n");
        return 2;
    }
    const QDir output(args.at(1));
    if (!QDir().mkpath(output.path())) {
        std::fprintf(stderr, "papyra-mkslides: cannot make %s\n", qPrintable(output.path()));
        return 1;
    }

    const QVector<QImage> pictures = drawTour(args.at(2));
    const QStringList names = Slides::allPictures();
    if (pictures.size() != names.size()) {
        std::fprintf(stderr, "papyra-mkslides: %d pictures drawn for %d names\n", int(pictures.size()),
                     int(names.size()));
        return 1;
    }
    for (int i = 0; i < names.size(); ++i) {
        QImageWriter writer(output.filePath(names.at(i)), "jpeg");
        writer.setQuality(80);
        writer.setOptimizedWrite(true);
        writer.setProgressiveScanWrite(false);
        if (!writer.write(pictures.at(i))) {
            std::fprintf(stderr, "papyra-mkslides: %s: %s\n", qPrintable(names.at(i)),
                         qPrintable(writer.errorString()));
            return 1;
        }
    }
    return 0;
}
