#include "panels/AddFilesPanel.h"

#include "panels/GridBinding.h"
#include "store/DataSource.h"
#include "store/RecordSources.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"
#include "ui/DropDownDelegate.h"
#include "ui/Twips.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>

namespace {

// CatList opens this far below the top of the current row: the column header and the row itself.
constexpr int pickListDropTwips = 500;

} // namespace

AddFilesPanel::AddFilesPanel(DataSource *file, DataSource *popCat, Dialogs *dialogs, QWidget *parent)
    : QWidget(parent), m_file(file), m_popCat(popCat), m_dialogs(dialogs),
      m_categoryColumn(file->columnIndex(QStringLiteral("Category")))
{
    struct ButtonSpec {
        const char *name;
        const char *caption;
        int left, top, width, height;
    };
    const ButtonSpec buttons[] = {
        {"Command1(0)", QT_TR_NOOP("F5 - Jump To Next &Open Slot"), 120, 120, 3255, 375},
        {"Command1(1)", QT_TR_NOOP("F6 - Jump To &Top"), 3480, 120, 2175, 375},
        {"Command6", QT_TR_NOOP("Jump to File#"), 5760, 120, 1935, 375},
        {"Command2", QT_TR_NOOP("Undo"), 7920, 120, 975, 375},
    };
    QPushButton *made[4] = {};
    int i = 0;
    for (const ButtonSpec &b : buttons) {
        auto *button = new QPushButton(tr(b.caption), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(Twips::rect(b.left, b.top, b.width, b.height));
        made[i++] = button;
    }

    m_grid = new DataGrid(QStringLiteral("grdFile"), this);
    m_grid->setAccessibleName(tr("File slots"));
    GridBinding::bind(m_grid, file, dialogs);
    m_grid->setGeometry(Twips::rect(0, 600, 10335, 5775));
    m_grid->setColumnWidthsTwips({1035, 4800, 1680, 2100});
    if (m_categoryColumn >= 0) {
        auto *delegate = new DropDownDelegate(m_grid);
        delegate->setCompletionModel(popCat);
        m_grid->setItemDelegateForColumn(m_categoryColumn, delegate);
        connect(delegate, &DropDownDelegate::dropDownRequested, this, [this] { openPickListByKey(); });
    }
    m_grid->viewport()->installEventFilter(this);
    m_grid->installEventFilter(this);

    m_catList = new QListView(this);
    m_catList->setObjectName(QStringLiteral("CatList"));
    m_catList->setAccessibleName(tr("Category pick list"));
    m_catList->setModel(popCat);
    m_catList->setGeometry(Twips::rect(6120, 720, 1695, 1740));
    m_catList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Opening and using the list leaves the keyboard where the user was typing.
    m_catList->setFocusPolicy(Qt::NoFocus);
    m_catList->hide();

    connect(made[0], &QPushButton::clicked, this, &AddFilesPanel::nextOpenSlot);
    connect(made[1], &QPushButton::clicked, this, &AddFilesPanel::topOfList);
    connect(made[2], &QPushButton::clicked, this, &AddFilesPanel::jumpToFile);
    connect(made[3], &QPushButton::clicked, this, &AddFilesPanel::undo);
    connect(m_catList, &QListView::clicked, this, &AddFilesPanel::pickCategory);
}

void AddFilesPanel::nextOpenSlot()
{
    // Reading the slots afresh puts the first row current; with no open slot the user stays where they were.
    const int before = m_file->currentRow();
    if (!m_file->refresh())
        return;
    int column = -1;
    if (m_file->findFirst(RecordSources::openSlot()))
        column = m_file->columnIndex(QStringLiteral("Keywords")); // ready for the keywords to be typed
    else
        m_file->setCurrentRow(before);
    showCurrentRow(column);
}

void AddFilesPanel::topOfList()
{
    const int column = m_grid->currentIndex().column();
    if (!m_file->refresh())
        return;
    m_file->moveFirst();
    showCurrentRow(column);
    m_grid->scrollToTop();
}

void AddFilesPanel::jumpToFile()
{
    const std::optional<QString> answer = m_dialogs->input(window(), tr("Please Enter File "));
    if (!answer)
        return;
    // Only a whole number is looked up, and only as a bound value: any other answer does nothing.
    bool isNumber = false;
    std::optional<qlonglong> number = answer->trimmed().toLongLong(&isNumber);
    if (!isNumber)
        number = m_readNumber ? m_readNumber(*answer) : std::nullopt;
    if (number)
        jumpTo(*number);
}

bool AddFilesPanel::jumpTo(qlonglong number)
{
    if (!m_file->findFirst(RecordSources::numbered(number)))
        return false;
    showCurrentRow();
    return true;
}

void AddFilesPanel::undo()
{
    m_grid->setFocus();
    m_grid->cancelRowEdit();
}

void AddFilesPanel::openPickList(int column)
{
    m_popCat->refresh();

    const int row = std::max(m_file->currentRow(), 0);
    const int visibleRow = row - std::max(m_grid->rowAt(0), 0);
    const int rowHeightTwips = Twips::fromPixels(m_grid->rowHeight(row));
    const int topTwips = rowHeightTwips * visibleRow + Twips::fromPixels(m_grid->y()) + pickListDropTwips;
    const QPoint columnRight = m_grid->viewport()->mapTo(
        this, QPoint(m_grid->columnViewportPosition(column) + m_grid->columnWidth(column), 0));

    // Below the current row even where that runs past the grid's lower edge.
    m_catList->move(columnRight.x() - m_catList->width(), Twips::toPixels(topTwips));
    m_catList->show();
    m_catList->raise();
}

void AddFilesPanel::openPickListByKey()
{
    if (m_categoryColumn < 0 || m_file->currentRow() < 0)
        return;
    // What was typed into the cell is kept as the row's edit; the list then has the keyboard's keys.
    m_grid->commitOpenEditor();
    m_grid->setFocus();
    m_grid->setCurrentIndex(m_grid->currentIndex().siblingAtColumn(m_categoryColumn));
    openPickList(m_categoryColumn);
    const QString current = m_file->index(m_file->currentRow(), m_categoryColumn).data().toString();
    const QModelIndexList same =
        m_popCat->match(m_popCat->index(0, 0), Qt::DisplayRole, current, 1, Qt::MatchFixedString);
    m_catList->setCurrentIndex(same.isEmpty() ? m_popCat->index(0, 0) : same.constFirst());
}

bool AddFilesPanel::pickListKey(int key)
{
    const int rows = m_popCat->rowCount();
    const int at = m_catList->currentIndex().isValid() ? m_catList->currentIndex().row() : -1;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (rows > 0)
            m_catList->setCurrentIndex(m_popCat->index(qBound(0, at + (key == Qt::Key_Up ? -1 : 1), rows - 1), 0));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (at >= 0)
            pickCategory(m_catList->currentIndex());
        else
            m_catList->hide();
        return true;
    case Qt::Key_Escape:
        m_catList->hide();
        return true;
    default:
        return false;
    }
}

void AddFilesPanel::pickCategory(const QModelIndex &entry)
{
    const int row = m_file->currentRow();
    if (entry.isValid() && row >= 0 && m_categoryColumn >= 0) {
        // Text still in an open cell editor goes into the row first, so closing it later cannot undo the pick.
        m_grid->commitOpenEditor();
        m_file->setData(m_file->index(row, m_categoryColumn), entry.data());
    }
    m_catList->hide();
}

bool AddFilesPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (m_catList->isVisible() && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            pickListKey(key->key()))
            return true;
        if (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier) &&
            m_grid->currentIndex().column() == m_categoryColumn) {
            openPickListByKey();
            return true;
        }
    }
    if (watched != m_grid->viewport())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint pos = mouse->position().toPoint();
        const QModelIndex cell = m_grid->indexAt(pos);
        if (mouse->button() != Qt::LeftButton || !cell.isValid() || cell.column() != m_categoryColumn ||
            !DropDownDelegate::buttonRect(m_grid->visualRect(cell)).contains(pos))
            break;
        // The button's press belongs to the pick list only: the cell does not start an editor.
        m_buttonPressed = true;
        m_grid->setCurrentIndex(cell);
        openPickList(cell.column());
        return true;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (m_buttonPressed) {
            if (event->type() == QEvent::MouseButtonRelease)
                m_buttonPressed = false;
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void AddFilesPanel::hideEvent(QHideEvent *event)
{
    // Leaving the tab closes the list; minimising the window does not.
    if (!event->spontaneous())
        m_catList->hide();
    QWidget::hideEvent(event);
}

void AddFilesPanel::showCurrentRow(int column)
{
    QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    if (column >= 0 && column != current.column()) {
        current = current.siblingAtColumn(column);
        m_grid->setCurrentIndex(current);
    }
    m_grid->scrollTo(current);
}
