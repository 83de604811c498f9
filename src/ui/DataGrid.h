#pragma once

#include <QTableView>

class Dialogs;

// A grid behaving like a data-bound grid over any table model that writes a row when it is left:
// a record selector column, Escape cancels the pending edit of the whole row, Delete removes the
// current row where rows may be deleted, Tab moves along the row and on to the next control, and a
// refused entry is reported and left in its cell for correction. The row operations themselves are
// the model's: the grid asks for them with signals.
class DataGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DataGrid(const QString &name, QWidget *parent = nullptr);

    // Shows model, sharing the model's own current row (selection) with it.
    void bind(QAbstractItemModel *model, QItemSelectionModel *selection, Dialogs *dialogs);
    // Whether the Delete key asks for the current row to be deleted.
    void setDeletesRows(bool deletes) { m_deletesRows = deletes; }

    // Column widths in twips.
    void setColumnWidthsTwips(const QVector<int> &widths);

    // Writes what an open cell editor holds into the row's pending edit.
    void commitOpenEditor();

    // The Escape key of the grid: asks for the pending edit of the current row to be dropped.
    void cancelRowEdit();

    // Reports an entry the model refused, then puts the typed text back into its cell to be corrected.
    void showRefusedEntry(const QModelIndex &index, const QString &text, const QString &message);

signals:
    void cancelRowEditRequested();
    void deleteRowRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    Dialogs *m_dialogs = nullptr;
    bool m_deletesRows = false;
};
