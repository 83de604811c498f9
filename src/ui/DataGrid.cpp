#include "ui/DataGrid.h"

#include "ui/Dialogs.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

DataGrid::DataGrid(const QString &name, QWidget *parent) : QTableView(parent)
{
    setObjectName(name);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows as compact as a classic data grid's (285 twips), so a screen shows some twenty slots.
    verticalHeader()->setMinimumSectionSize(Twips::toPixels(285));
    verticalHeader()->setDefaultSectionSize(Twips::toPixels(285));
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setFixedWidth(18);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void DataGrid::bind(QAbstractItemModel *model, QItemSelectionModel *selection, Dialogs *dialogs)
{
    m_dialogs = dialogs;
    QItemSelectionModel *own = selectionModel();
    setModel(model);
    QItemSelectionModel *created = selectionModel();
    setSelectionModel(selection);
    if (created != own)
        delete created;
}

void DataGrid::setColumnWidthsTwips(const QVector<int> &widths)
{
    for (int i = 0; i < widths.size(); ++i)
        setColumnWidth(i, Twips::toPixels(widths.at(i)));
}

void DataGrid::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    // The window's own focus widget, not the application's: a modal dialog may have the focus now.
    QWidget *editor = window()->focusWidget();
    while (editor && editor->parentWidget() != viewport())
        editor = editor->parentWidget();
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DataGrid::cancelRowEdit()
{
    emit cancelRowEditRequested();
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    if (model() && state() != QAbstractItemView::EditingState) {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            cancelRowEdit();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Delete && m_deletesRows) {
            emit deleteRowRequested();
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

QModelIndex DataGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    // Tab runs along the row; from the last cell it leaves the grid for the next control.
    const QModelIndex current = currentIndex();
    if (model() && current.isValid()) {
        if (cursorAction == MoveNext && current.column() == model()->columnCount() - 1) {
            QTimer::singleShot(0, this, [this] { QWidget::focusNextPrevChild(true); });
            return current;
        }
        if (cursorAction == MovePrevious && current.column() == 0) {
            QTimer::singleShot(0, this, [this] { QWidget::focusNextPrevChild(false); });
            return current;
        }
    }
    return QTableView::moveCursor(cursorAction, modifiers);
}

void DataGrid::showRefusedEntry(const QModelIndex &index, const QString &text, const QString &message)
{
    // Reported once the editor has closed.
    const QPersistentModelIndex where(index);
    QPointer<DataGrid> self(this);
    QTimer::singleShot(0, this, [self, where, text, message] {
        if (!self)
            return;
        if (self->m_dialogs)
            self->m_dialogs->message(self->window(), message, Dialogs::Icon::Warning);
        if (!self || !where.isValid())
            return;
        self->setFocus();
        self->setCurrentIndex(where);
        self->edit(where);
        if (auto *line = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
            line->setText(text);
    });
}
