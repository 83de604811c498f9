#include "store/AddFilesPanel.h"

#include "app/Twips.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"

#include <QListView>
#include <QPushButton>

AddFilesPanel::AddFilesPanel(const QString &programFolder, DataSource *file, DataSource *popCat, Dialogs *dialogs,
                             QWidget *parent)
    : QWidget(parent), m_programFolder(programFolder), m_file(file), m_popCat(popCat), m_dialogs(dialogs)
{
    struct ButtonSpec {
        const char *name;
        const char *caption;
        int left, top, width, height;
    };
    const ButtonSpec buttons[] = {
        {"Command1(0)", "F5 - Jump To Next &Open Slot", 120, 120, 3255, 375},
        {"Command1(1)", "F6 - Jump To &Top", 3480, 120, 2175, 375},
        {"Command6", "Jump to File#", 5760, 120, 1935, 375},
        {"Command2", "Undo", 7920, 120, 975, 375},
    };
    QPushButton *made[4] = {};
    int i = 0;
    for (const ButtonSpec &b : buttons) {
        auto *button = new QPushButton(QString::fromLatin1(b.caption), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(Twips::rect(b.left, b.top, b.width, b.height));
        made[i++] = button;
    }

    m_grid = new DataGrid(QStringLiteral("grdFile"), this);
    m_grid->bind(file, dialogs);
    m_grid->setGeometry(Twips::rect(0, 600, 10335, 5775));
    m_grid->setColumnWidthsTwips({1035, 4800, 1680, 2100});

    m_catList = new QListView(this);
    m_catList->setObjectName(QStringLiteral("CatList"));
    m_catList->setModel(popCat);
    m_catList->setGeometry(Twips::rect(6120, 720, 1695, 1740));
    m_catList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_catList->hide();

    connect(made[0], &QPushButton::clicked, this, [this] { Command1Click(0); });
    connect(made[1], &QPushButton::clicked, this, [this] { Command1Click(1); });
    connect(made[2], &QPushButton::clicked, this, &AddFilesPanel::jumpToFile);
    connect(made[3], &QPushButton::clicked, this, &AddFilesPanel::undo);
}

void AddFilesPanel::Command1Click(int index)
{
    if (index == 0)
        nextOpenSlot();
    else
        topOfList();
}

void AddFilesPanel::nextOpenSlot() {}

void AddFilesPanel::topOfList() {}

void AddFilesPanel::jumpToFile() {}

void AddFilesPanel::undo() {}
