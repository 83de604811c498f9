#pragma once

#include "print/LabelLayout.h"

#include <QHash>

class Dialogs;
class QWidget;
class RecordStore;

// The File menu's Print Labels command: the label dialog, and the print run it asks for.
namespace LabelPrinting {

// Shows the label dialog modally; Print there prints on the default printer or, without one, to
// a PDF file the user names.
// programFolder holds the shipped label definitions; a labels.def in the store's data folder is
// read instead.
void showDialog(RecordStore &store, Dialogs &dialogs, const QString &programFolder, QWidget *parent);

// Prints labels start .. start + count - 1 on the sheet type. Returns true when the pages went
// out; every failure has been reported to the user.
bool print(RecordStore &store, Dialogs &dialogs, QWidget *parent, const LabelLayout::Sheet &sheet, int start,
           int count);

} // namespace LabelPrinting
