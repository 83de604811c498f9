#pragma once

#include <QWidget>

class DataGrid;
class DataSource;
class Dialogs;

// The My Categories tab: the user's list of category names.
class CategoriesPanel : public QWidget
{
    Q_OBJECT
public:
    CategoriesPanel(DataSource *categories, Dialogs *dialogs, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }

    // The actions of Command4 (F7) and Command5 (F8).
    void addCategory();
    void deleteCategory();

private:
    // F7 and F8 on an index the user may only read: says why and refuses.
    bool refusedToReader();
    DataSource *m_categories;
    Dialogs *m_dialogs;
    DataGrid *m_grid;
};
