#pragma once

#include <QWidget>
#include <functional>
#include <optional>

class DataGrid;
class DataSource;
class Dialogs;
class QListView;
class QPushButton;

// The Add Files tab: the slot grid and the commands that move about in it.
class AddFilesPanel : public QWidget
{
    Q_OBJECT
public:
    AddFilesPanel(DataSource *file, DataSource *popCat, Dialogs *dialogs, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }
    QListView *categoryList() const { return m_catList; }

    // The actions of Command1(0) (next open slot), Command1(1) (top of list), Command6 and Command2.
    void nextOpenSlot();
    void topOfList();
    void jumpToFile();
    void undo();

    // Makes the slot numbered `number` current and shows it, as Jump to File# does; false when no
    // slot has that number.
    bool jumpTo(qlonglong number);
    // Reads an answer to Jump to File# that is not a plain number (a scanned label code, say).
    using NumberReader = std::function<std::optional<qlonglong>(const QString &)>;
    void setNumberReader(const NumberReader &reader) { m_readNumber = reader; }

    // The drop-down button of a cell in the given grid column was pressed: show CatList below the
    // current row, its right edge on that column's right edge.
    void openPickList(int column);
    // Alt+Down in a Category cell: the pick list opens as its button opens it, and the arrow keys,
    // Enter and Escape work in it while the grid keeps the keyboard.
    void openPickListByKey();
    // An entry of CatList was clicked: it becomes the current slot's category, written when the row is left.
    void pickCategory(const QModelIndex &entry);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // Scrolls the current row into view, on the given column if one is given.
    void showCurrentRow(int column = -1);
    bool pickListKey(int key);

    DataSource *m_file;
    DataSource *m_popCat;
    Dialogs *m_dialogs;
    DataGrid *m_grid;
    QListView *m_catList;
    int m_categoryColumn;
    bool m_buttonPressed = false;
    NumberReader m_readNumber;
};
