#include "panels/CategoriesPanel.h"

#include "panels/GridBinding.h"
#include "store/DataSource.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"
#include "ui/Twips.h"

#include <QHeaderView>
#include <QPushButton>

CategoriesPanel::CategoriesPanel(DataSource *categories, Dialogs *dialogs, QWidget *parent)
    : QWidget(parent), m_categories(categories), m_dialogs(dialogs)
{
    auto *add = new QPushButton(tr("F7 - &Add Category *"), this);
    add->setObjectName(QStringLiteral("Command4"));
    add->setGeometry(Twips::rect(120, 120, 2655, 375));
    auto *remove = new QPushButton(tr("F8 - &Delete Category"), this);
    remove->setObjectName(QStringLiteral("Command5"));
    remove->setGeometry(Twips::rect(120, 600, 2655, 375));

    m_grid = new DataGrid(QStringLiteral("grdCategories"), this);
    m_grid->setAccessibleName(tr("My categories"));
    GridBinding::bind(m_grid, categories, dialogs);
    m_grid->setGeometry(Twips::rect(120, 1080, 2655, 5295));
    m_grid->horizontalHeader()->setStretchLastSection(true);

    connect(add, &QPushButton::clicked, this, &CategoriesPanel::addCategory);
    connect(remove, &QPushButton::clicked, this, &CategoriesPanel::deleteCategory);
}

bool CategoriesPanel::refusedToReader()
{
    if (m_categories->mayWrite())
        return false;
    m_dialogs->message(window(), tr("Your user may only read the shared index, so categories cannot be "
                                    "added or deleted here. Ask the index's administrator for editing "
                                    "rights."));
    return true;
}

void CategoriesPanel::addCategory()
{
    if (refusedToReader())
        return;
    m_categories->addNew();
    m_grid->setFocus();
    m_grid->scrollTo(m_grid->currentIndex());
}

void CategoriesPanel::deleteCategory()
{
    if (refusedToReader())
        return;
    // Any written row may go, the first one included; the add-new row and no row at all may not.
    const bool onRecord = !m_categories->isBof() && !m_categories->isEof() && m_categories->absolutePosition() >= 0;
    if (!onRecord) {
        m_dialogs->message(window(), tr("Please click on a category record to select it."));
        return;
    }
    if (!m_dialogs->askYesNo(window(), tr("Are you sure?")))
        return;
    if (m_categories->deleteCurrent()) {
        // No neighbour becomes current: a second F8 asks for a row to be clicked, not for one the user never chose.
        m_categories->selectionModel()->clear();
    }
}
