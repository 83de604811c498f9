#pragma once

#include <QTableView>

class DataSource;
class Dialogs;

// A grid bound to one data source, behaving like a data-bound grid: a record selector column,
// Escape cancels the pending edit of the whole row, Tab moves along the row and on to the next
// control, and a refused entry is reported and left in its cell for correction.
class DataGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DataGrid(const QString &name, QWidget *parent = nullptr);

    void bind(DataSource *source, Dialogs *dialogs);
    DataSource *dataSource() const { return m_source; }

    // Column widths in twips.
    void setColumnWidthsTwips(const QVector<int> &widths);

    // Writes what an open cell editor holds into the row's pending edit.
    void commitOpenEditor();

    // The Escape key of the grid: drops the pending edit of the current row.
    void cancelRowEdit();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void onEntryRefused(const QModelIndex &index, const QString &text, const QString &message);

    DataSource *m_source = nullptr;
    Dialogs *m_dialogs = nullptr;
};
