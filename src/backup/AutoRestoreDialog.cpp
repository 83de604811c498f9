#include "backup/AutoRestoreDialog.h"

#include "backup/AutoBackup.h"
#include "store/SqliteFile.h"
#include "ui/Dialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

AutoRestoreDialog::AutoRestoreDialog(const QString &dataFolder, Dialogs *dialogs, QWidget *parent)
    : QDialog(parent), m_dataFolder(dataFolder), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmAutoRestore"));
    setWindowTitle(tr("Restore Automatic Backup"));
    auto *layout = new QVBoxLayout(this);
    auto *caption = new QLabel(tr("Papyra keeps a copy of your database each day it starts, and "
                                  "before every restore and import. Choose one to go back to."),
                               this);
    caption->setWordWrap(true);
    layout->addWidget(caption);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstBackups"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("When"), tr("Folders filled")});
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->setMinimumSize(560, 240);
    layout->addWidget(m_list);
    for (const AutoBackup::Snapshot &s : AutoBackup::list(AutoBackup::folderOf(dataFolder))) {
        const int filled = SqliteFile::filledCount(s.path);
        auto *item = new QTreeWidgetItem(m_list, {QLocale().toString(s.when, QLocale::LongFormat),
                                                  filled < 0 ? tr("(cannot be read)") : QLocale().toString(filled)});
        item->setData(0, Qt::UserRole, s.path);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));

    m_secondFolder = new QLabel(this);
    m_secondFolder->setObjectName(QStringLiteral("lblSecondFolder"));
    m_secondFolder->setWordWrap(true);
    layout->addWidget(m_secondFolder);
    showSecondFolder();

    auto *buttons = new QDialogButtonBox(this);
    m_restore = buttons->addButton(tr("&Restore"), QDialogButtonBox::AcceptRole);
    m_restore->setObjectName(QStringLiteral("cmdRestore"));
    m_restore->setEnabled(m_list->currentItem() != nullptr);
    QPushButton *second = buttons->addButton(tr("Second &Folder..."), QDialogButtonBox::ActionRole);
    second->setObjectName(QStringLiteral("cmdSecondFolder"));
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("cmdClose"));
    layout->addWidget(buttons);

    connect(m_restore, &QPushButton::clicked, this, [this] {
        if (const QTreeWidgetItem *item = m_list->currentItem()) {
            m_chosen = item->data(0, Qt::UserRole).toString();
            accept();
        }
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, m_restore, &QPushButton::click);
    connect(second, &QPushButton::clicked, this, &AutoRestoreDialog::chooseSecondFolder);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void AutoRestoreDialog::showSecondFolder()
{
    const QString folder = AutoBackup::Settings(m_dataFolder).secondFolder();
    m_secondFolder->setText(folder.isEmpty() ? tr("Copies also go to: (no second folder chosen)")
                                             : tr("Copies also go to: %1").arg(QDir::toNativeSeparators(folder)));
}

void AutoRestoreDialog::chooseSecondFolder()
{
    AutoBackup::Settings settings(m_dataFolder);
    const QString start = settings.secondFolder().isEmpty() ? QDir::homePath() : settings.secondFolder();
    const QString folder = m_dialogs->folderName(this, start);
    if (folder.isEmpty())
        return;
    settings.setSecondFolder(folder);
    showSecondFolder();
}
