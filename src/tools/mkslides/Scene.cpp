#include "Scene.h"

#include "app/MainWindow.h"
#include "store/RecordSources.h"
#include "store/RecordStore.h"
#include "store/Schema.h"
#include "ui/Artwork.h"
#include "ui/DataGrid.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace {

bool writeSlots(const QString &folder, const QVector<Scene::Slot> &entries)
{
    QVector<SlotFill> fills;
    for (const Scene::Slot &slot : entries) {
        auto orNothing = [](const QString &text) { return text.isEmpty() ? std::nullopt : std::optional(text); };
        fills.append({slot.number, slot.keywords, orNothing(slot.category), orNothing(slot.reminder)});
    }
    RecordStore store(folder);
    return store.open() && store.fillSlots(fills);
}

// Both slot grids show the slot columns in the same order.
int slotColumn(const QString &field)
{
    const QVector<Column> columns = RecordSources::slotColumns();
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).field == field)
            return i;
    }
    return -1;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

} // namespace

Scene::Scene(const QVector<Slot> &entries)
{
    const QString database = QDir(m_dir.path()).filePath(Schema::databaseFileName);
    if (!Schema::createDatabase(database, 1000) || !writeSlots(m_dir.path(), entries))
        return;
    m_window = std::make_unique<MainWindow>(m_dir.path(), &m_dialogs);
    m_window->show();
    settle();
}

Scene::~Scene()
{
    // Closing first ends any open cell editor the way the program does, before the grids go.
    if (m_window)
        m_window->close();
}

void Scene::showSearchResults(const QString &word)
{
    // The real search, as the user starts it: the word in the search box, then GO!.
    m_window->SwitchTab(1);
    m_window->searchBox()->setText(word);
    m_window->goButton()->click();
    settle();
}

void Scene::typeIntoCell(int row, const QString &field, const QString &typed)
{
    DataGrid *grid = nullptr;
    for (DataGrid *candidate : m_window->findChildren<DataGrid *>())
        if (candidate->isVisible())
            grid = candidate;
    if (!grid)
        return;
    const QModelIndex cell = grid->model()->index(row, slotColumn(field));
    grid->setFocus();
    grid->setCurrentIndex(cell);
    grid->scrollTo(cell);
    grid->edit(cell);
    if (auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget())) {
        editor->setText(typed);
        editor->end(false);
    }
    settle();
}

QImage Scene::shot()
{
    settle();
    return framed(m_window->grab().toImage(), m_window->windowTitle());
}

QImage Scene::framed(const QImage &client, const QString &title)
{
    QImage image(client.width() + 2, client.height() + titleBarHeight + 1, QImage::Format_RGB32);
    image.fill(QColor(0x50, 0x5a, 0x68));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bar(0, 0, 0, titleBarHeight);
    bar.setColorAt(0, QColor(0x2f, 0x55, 0x8f));
    bar.setColorAt(1, QColor(0x1f, 0x3a, 0x68));
    p.fillRect(QRect(1, 1, client.width(), titleBarHeight - 1), bar);
    p.drawPixmap(6, 4, Artwork::iconPixmap(16));
    QFont font = QApplication::font();
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(28, 1, 300, titleBarHeight - 1), Qt::AlignVCenter | Qt::AlignLeft, title);
    // Minimise and close; Papyra's windows have no maximise button.
    const int right = client.width() - 6;
    p.setPen(QPen(Qt::white, 1.6));
    p.drawLine(QPointF(right - 36, 16), QPointF(right - 26, 16));
    p.drawLine(QPointF(right - 10, 7), QPointF(right, 17));
    p.drawLine(QPointF(right, 7), QPointF(right - 10, 17));
    p.drawImage(1, titleBarHeight, client);
    return image;
}

QRect Scene::where(const QWidget *widget) const
{
    if (!widget)
        return QRect();
    const QPoint topLeft = widget->mapTo(m_window.get(), QPoint(0, 0));
    return QRect(topLeft + QPoint(1, titleBarHeight), widget->size());
}

QRect Scene::where(const QString &objectName) const
{
    return where(m_window->findChild<QWidget *>(objectName));
}

QRect Scene::whereCell(const QString &gridName, int row, int column) const
{
    const auto *grid = m_window->findChild<DataGrid *>(gridName);
    if (!grid)
        return QRect();
    if (row < 0) {
        const QHeaderView *header = grid->horizontalHeader();
        const QRect inHeader(header->sectionViewportPosition(column), 0, header->sectionSize(column), header->height());
        return QRect(where(header->viewport()).topLeft() + inHeader.topLeft(), inHeader.size());
    }
    const QRect inViewport = grid->visualRect(grid->model()->index(row, column));
    return QRect(where(grid->viewport()).topLeft() + inViewport.topLeft(), inViewport.size());
}
