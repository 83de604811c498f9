#pragma once

#include <QDate>
#include <QStringList>

class DataSource;
class Dialogs;
class PrintSurface;
class QWidget;
class RecordStore;

// The plain-text database report: a heading, then one block per file slot that holds keywords.
namespace DatabaseReport {

// The keyword text cut for printing: five pieces of 50 characters, then the rest on one piece.
// Nothing is trimmed, so the pieces joined give the text back.
QStringList keywordPieces(const QString &keywords);

// The print operations of the report for the slots of file, in its order, ending the document.
// Returns what endDocument returns.
bool write(DataSource &file, PrintSurface &surface, const QDate &today);

// The Print Database Report command: reads the slots afresh and prints them on the default
// printer (or a PDF file when there is none), with the busy pointer meanwhile.
void print(RecordStore &store, Dialogs &dialogs, QWidget *parent);

} // namespace DatabaseReport
