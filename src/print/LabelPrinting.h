#pragma once

#include "print/LabelLayout.h"
#include "print/LabelsDialog.h"

#include <QHash>

class Dialogs;
class QWidget;
class RecordStore;

// The File menu's Print Labels command: the label dialog, and the print run it asks for.
namespace LabelPrinting {

// Shows the label dialog modally; Print there prints on the default printer or, without one, to
// a PDF file the user names.
// programFolder holds the shipped label definitions; a labels.def in the store's data folder is
// read instead. listed: the folders the Search Results tab shows, for the dialog's "Only the
// folders in Search Results".
void showDialog(RecordStore &store, Dialogs &dialogs, const QString &programFolder, QWidget *parent,
                const QVector<LabelLayout::Folder> &listed = {});

// Prints the run's labels. Returns true when the pages went out; every failure has been reported
// to the user. A prefix printed is remembered in the data folder, for scanned codes to be read.
bool print(RecordStore &store, Dialogs &dialogs, QWidget *parent, const LabelsDialog::Run &run);

} // namespace LabelPrinting
