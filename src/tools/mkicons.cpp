// Writes the application icon into a hicolor icon tree for the desktop: PNG at 48, 128 and 256
// pixels and SVG, all from the shapes the program draws its own window icon with.
//   papyra-mkicons OUTPUT-FOLDER ICON-NAME
// Run by scripts/make-icons.sh; the files it makes are committed under resources/desktop/icons.
#include "ui/Artwork.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>

namespace {

QString number(qreal value)
{
    return QString::number(value, 'f', 3).remove(QRegularExpression("\\.?0+$"));
}

QString pathData(const QPainterPath &path)
{
    QStringList parts;
    QPointF start;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QString point = number(e.x) + QLatin1Char(' ') + number(e.y);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            parts << QStringLiteral("M") + point;
            start = e;
            break;
        case QPainterPath::LineToElement:
            parts << QStringLiteral("L") + point;
            break;
        case QPainterPath::CurveToElement:
            parts << QStringLiteral("C") + point;
            break;
        case QPainterPath::CurveToDataElement:
            parts << point;
            break;
        }
        // A figure that ends where it began is closed, so its outline joins at that corner too.
        const bool lastOfFigure = i + 1 == path.elementCount() || path.elementAt(i + 1).isMoveTo();
        if (lastOfFigure && e.type != QPainterPath::MoveToElement && QPointF(e) == start)
            parts << QStringLiteral("Z");
    }
    return parts.join(QLatin1Char(' '));
}

bool writeSvg(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream out(&file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 32\">\n";
    for (const Artwork::Shape &shape : Artwork::iconShapes()) {
        out << "  <path fill=\"" << shape.fill.name() << "\" fill-rule=\""
            << (shape.path.fillRule() == Qt::OddEvenFill ? "evenodd" : "nonzero") << "\"";
        if (shape.strokeWidth > 0)
            out << " stroke=\"" << shape.stroke.name() << "\" stroke-width=\"" << number(shape.strokeWidth) << "\"";
        out << " d=\"" << pathData(shape.path) << "\"/>\n";
    }
    out << "</svg>\n";
    out.flush();
    return file.error() == QFile::NoError;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: papyra-mkicons OUTPUT-FOLDER ICON-NAME\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    bool ok = true;
    for (int size : {48, 128, 256}) {
        const QString folder = out.filePath(QStringLiteral("%1x%1/apps").arg(size));
        ok = QDir().mkpath(folder) && Artwork::iconPixmap(size).save(QDir(folder).filePath(name + ".png"), "PNG") && ok;
    }
    const QString scalable = out.filePath(QStringLiteral("scalable/apps"));
    ok = QDir().mkpath(scalable) && writeSvg(QDir(scalable).filePath(name + ".svg")) && ok;
    if (!ok)
        std::fprintf(stderr, "papyra-mkicons: could not write every icon under %s\n", argv[1]);
    return ok ? 0 : 1;
}
