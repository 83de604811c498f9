#include "panels/HistoryDialog.h"

#include "store/Dates.h"
#include "store/RecordStore.h"
#include "ui/Dialogs.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

HistoryDialog::HistoryDialog(RecordStore *store, qint64 number, Dialogs *dialogs, QWidget *parent)
    : QDialog(parent), m_store(store), m_number(number), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(tr("Folder History - File # %1").arg(number));
    auto *layout = new QVBoxLayout(this);
    auto *caption = new QLabel(
        tr("Earlier contents of file slot %1, newest first. Choose one and click Put Back.").arg(number), this);
    caption->setWordWrap(true);
    layout->addWidget(caption);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstHistory"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({tr("Keywords"), tr("Category"), tr("Reminder"), tr("Changed")});
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->setMinimumSize(640, 260);
    layout->addWidget(m_list);

    auto *buttons = new QDialogButtonBox(this);
    m_putBack = buttons->addButton(tr("Put Back"), QDialogButtonBox::ActionRole);
    m_putBack->setObjectName(QStringLiteral("cmdPutBack"));
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("cmdClose"));
    layout->addWidget(buttons);

    connect(m_putBack, &QPushButton::clicked, this, &HistoryDialog::putBack);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &HistoryDialog::putBack);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { m_putBack->setEnabled(current != nullptr); });
    reload();
}

bool HistoryDialog::reload()
{
    m_list->clear();
    QVector<History::Version> versions;
    QString error;
    const bool ok = m_store->slotHistory(m_number, &versions, &error);
    for (const History::Version &v : std::as_const(versions)) {
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(0, v.keywords);
        item->setText(1, v.category);
        item->setText(2, Dates::storageToDisplay(v.reminder));
        QString when = QLocale().toString(v.changedAt, QLocale::ShortFormat);
        if (!v.changedBy.isEmpty())
            when += QStringLiteral(" (%1)").arg(v.changedBy);
        item->setText(3, when);
        item->setData(0, Qt::UserRole, v.id);
    }
    for (int c = 1; c < m_list->columnCount(); ++c)
        m_list->resizeColumnToContents(c);
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    else if (ok)
        new QTreeWidgetItem(m_list, {tr("(no earlier contents are kept for this slot)")});
    m_putBack->setEnabled(m_list->currentItem() != nullptr);
    if (!ok)
        m_dialogs->message(this, tr("Papyra could not read the folder's history.\n\n%1").arg(error),
                           Dialogs::Icon::Warning);
    return ok;
}

void HistoryDialog::putBack()
{
    const QTreeWidgetItem *item = m_list->currentItem();
    if (!item || !item->data(0, Qt::UserRole).isValid())
        return;
    QString error;
    if (!m_store->putBack(item->data(0, Qt::UserRole).toLongLong(), nullptr, &error)) {
        m_dialogs->message(this, tr("Papyra could not put this version back.\n\n%1").arg(error),
                           Dialogs::Icon::Warning);
        return;
    }
    m_changed = true;
    accept();
}
