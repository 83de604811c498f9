#pragma once

#include <QColor>
#include <QRectF>
#include <QStringList>

class QPainter;

// The tour's drawn pictures of paper things: folders, a drawer, a computer, labels and cards.
namespace Drawings {

inline const QColor manila(0xf2, 0xc9, 0x6b);
inline const QColor manilaDark(0xd9, 0xa8, 0x3e);
inline const QColor red(0xc8, 0x3a, 0x2a);

// A folder seen from the front with a tab on top; label is written on the tab. tabPosition runs
// from 0 (left) to 1 (right); a tab size of 0 is chosen from the folder's size and the label.
void folder(QPainter &p, const QRectF &r, const QString &label, const QColor &body = manila, qreal tabPosition = 0.5,
            qreal tabHeight = 0, qreal tabWidth = 0);
// Folders standing one behind the other in an open drawer, the first at the back. raised: index
// of a folder pulled half out (-1: none), whose place is returned. messy: folders askew with papers
// sticking out.
QRectF drawer(QPainter &p, const QRectF &r, const QStringList &labels, int raised = -1, bool messy = false);
// A sheet of paper with a few lines of writing and an optional heading.
void sheet(QPainter &p, const QRectF &r, const QString &heading = QString(), qreal angle = 0);
// A computer screen showing a search box with a word and a result number.
void computer(QPainter &p, const QRectF &r, const QString &word, const QString &result);
// A sheet of numbered labels: columns x rows, numbered from first.
void labelSheet(QPainter &p, const QRectF &r, int columns, int rows, int first);
// A business card with a number in its corner.
void card(QPainter &p, const QRectF &r, const QStringList &lines, int number, qreal angle = 0);
// An open card box holding numbered cards seen from above.
void cardBox(QPainter &p, const QRectF &r, int firstNumber, int count);
// A red grab-and-go box with a handle.
void kitBox(QPainter &p, const QRectF &r, const QString &label);
// A word in a rounded tag, for words that lead to a folder.
QRectF tag(QPainter &p, const QPointF &centre, const QString &word, int pixelSize = 16);

} // namespace Drawings
