#include "app/MainWindow.h"

#include "about/AboutBox.h"
#include "app/EditCommands.h"
#include "app/IndexSettings.h"
#include "app/ShellOpen.h"
#include "backup/AutoRestoreDialog.h"
#include "backup/BackupRestore.h"
#include "panels/AddFilesPanel.h"
#include "panels/CategoriesPanel.h"
#include "panels/GridBinding.h"
#include "panels/HistoryDialog.h"
#include "print/DatabaseReport.h"
#include "print/LabelCode.h"
#include "print/LabelPrinting.h"
#include "search/KeywordSearch.h"
#include "search/RemindersDue.h"
#include "spreadsheet/SpreadsheetCommands.h"
#include "store/DataSource.h"
#include "store/PostgresEngine.h"
#include "store/SqliteEngine.h"
#include "tour/Slides.h"
#include "ui/Artwork.h"
#include "ui/BusyCursor.h"
#include "ui/ClickablePanel.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"
#include "ui/Fonts.h"
#include "ui/PicturePanel.h"
#include "ui/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace {

// Client area layout in twips: the strip on top, the five panels stacked over its lowest 135 twips.
constexpr int panelTop = 720;
constexpr int panelWidth = 10455;
constexpr int panelHeight = 6615;
constexpr int stripHeight = 855;

QFont sansSerif(qreal points)
{
    return designFont(QStringLiteral("MS Sans Serif"), points);
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

MainWindow::MainWindow(const QString &programFolder, Dialogs *dialogs, QWidget *parent)
    : MainWindow(programFolder, programFolder, dialogs, parent)
{
}

MainWindow::MainWindow(const QString &programFolder, const QString &dataFolder, Dialogs *dialogs, QWidget *parent)
    : QMainWindow(parent), m_programFolder(programFolder), m_dialogs(dialogs), m_store(dataFolder)
{
    setObjectName(QStringLiteral("frmVarnel"));
    setWindowTitle(QStringLiteral("Papyra!"));
    setWindowIcon(Artwork::appIcon());
    // Fixed single border with a minimize button and no maximize button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    for (DataSource *source : m_store.sources()) {
        connect(source, &DataSource::writeFailed, this, &MainWindow::onWriteFailed);
        connect(source, &DataSource::readFailed, this, &MainWindow::reportDataFailure);
    }

    m_client = std::make_unique<QWidget>();
    QWidget *client = m_client.get();
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(Twips::toPixels(panelWidth), Twips::toPixels(panelTop + panelHeight));
    setCentralWidget(client);
    buildTabStrip(client);

    const char *panelColours[] = {"white", nullptr, nullptr, nullptr, "black"};
    for (int i = 0; i < 5; ++i) {
        QFrame *panel = i == 4 ? new PicturePanel(QStringLiteral("Tabpanel(4)"), client) : new QFrame(client);
        panel->setObjectName(QStringLiteral("Tabpanel(%1)").arg(i));
        if (panelColours[i])
            setBackground(panel, QColor(QString::fromLatin1(panelColours[i])));
        if (i == 4)
            panel->setFrameStyle(QFrame::Box | QFrame::Plain);
        m_panels.append(panel);
    }
    buildSearchPanel(m_panels[0]);
    buildResultsPanel(m_panels[1]);
    m_addFiles = new AddFilesPanel(&m_store.file(), &m_store.popCat(), dialogs, m_panels[2]);
    m_addFiles->setGeometry(0, 0, Twips::toPixels(panelWidth), Twips::toPixels(panelHeight));
    m_addFiles->setNumberReader([this](const QString &answer) -> std::optional<qlonglong> {
        return LabelCode::scannedNumber(answer, LabelCode::lastPrefix(m_store.dataFolder()));
    });
    m_categoriesPanel = new CategoriesPanel(&m_store.categories(), dialogs, m_panels[3]);
    m_categoriesPanel->setGeometry(0, 0, Twips::toPixels(panelWidth), Twips::toPixels(panelHeight));

    buildMenus();
    buildStatusBar();
    // returnPressed comes for both Return and the keypad's Enter: the keys whose character code is 13.
    connect(m_txtFrontSearch, &QLineEdit::returnPressed, this, &MainWindow::runSearch);
    connect(m_command3, &QPushButton::clicked, this, &MainWindow::runSearch);
    for (const QKeySequence &key : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto *allWords = new QShortcut(key, m_txtFrontSearch, nullptr, nullptr, Qt::WidgetShortcut);
        connect(allWords, &QShortcut::activated, this, &MainWindow::runSearchForAllWords);
    }

    m_slidetimer = new QTimer(this);
    m_slidetimer->setObjectName(QStringLiteral("slidetimer"));
    m_slidetimer->setInterval(3000);
    connect(m_slidetimer, &QTimer::timeout, this, &MainWindow::slideTimerTick);
    m_slidetimer->start();

    openDataSources();
    m_settingsPath = IndexSettings::path(programFolder);
    m_store.setChangeHandler([this] { updateDueStatus(); });
    m_reconnectTimer = new QTimer(this);
    m_reconnectTimer->setInterval(2000);
    connect(m_reconnectTimer, &QTimer::timeout, this, &MainWindow::tryReconnect);
    m_heartbeat = new QTimer(this);
    m_heartbeat->setInterval(3000);
    connect(m_heartbeat, &QTimer::timeout, this, [this] {
        if (m_store.isShared() && !m_store.isLost())
            m_store.changeStamp(); // a query: it finds a connection that has gone
        noticeLost();
    });
    const QString shared = IndexSettings::sharedIndex(m_settingsPath);
    if (!shared.isEmpty() && !openSharedIndex({shared, QString(), false}, &m_startShareProblem, &m_startNeedsPassword))
        m_startShareUri = shared;
    updateIndexPanel();
    // The due count scans the reminders: it follows once the window is on screen (paintEvent).

    // The load procedure: stack the panels under the strip, Search panel showing, grids in place.
    for (int i = 0; i < m_panels.size(); ++i) {
        m_panels[i]->setGeometry(Twips::rect(0, panelTop, panelWidth, panelHeight));
        m_panels[i]->setVisible(i == 0);
        m_panels[i]->raise();
    }
    m_addFiles->grid()->move(Twips::toPixels(0), Twips::toPixels(600));
    m_grdSearch->move(Twips::toPixels(0), Twips::toPixels(100));

    setFixedSize(sizeHint());
    const QRect screen =
        QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect();
    if (screen.isValid())
        move(screen.center() - rect().center());
    m_tabStrip->setFocus();
}

MainWindow::~MainWindow()
{
    if (m_snapshotThread) {
        m_snapshotThread->wait();
        delete m_snapshotThread;
    }
}

void MainWindow::buildTabStrip(QWidget *client)
{
    m_tabStrip = new QTabBar(client);
    m_tabStrip->setObjectName(QStringLiteral("TabStrip"));
    m_tabStrip->setGeometry(Twips::rect(0, 0, panelWidth, stripHeight));
    m_tabStrip->setFont(sansSerif(12));
    m_tabStrip->setUsesScrollButtons(false);
    m_tabStrip->setExpanding(false);
    m_tabStrip->setDrawBase(false);
    m_tabStrip->setFocusPolicy(Qt::StrongFocus);
    for (const char *caption :
         {QT_TR_NOOP("F1 - &Search"), QT_TR_NOOP("F2 - Search &Results"), QT_TR_NOOP("F3 - Add &Files"),
          QT_TR_NOOP("F4 - My &Categories"), QT_TR_NOOP("F9 - Start &Here")})
        m_tabStrip->addTab(tr(caption));
    m_tabStrip->setTabToolTip(4, tr("Click on this tab for Help"));
    narrowToFit(m_tabStrip); // all five tabs within the strip's width
    connect(m_tabStrip, &QTabBar::currentChanged, this, &MainWindow::onTabClick);
}

void MainWindow::buildSearchPanel(QWidget *panel)
{
    auto *box = new QFrame(panel);
    box->setObjectName(QStringLiteral("Picture1"));
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setGeometry(Twips::rect(2880, 3840, 5055, 675));
    setBackground(box, palette().color(QPalette::Button));

    auto *label = new QLabel(tr("Search For:"), box);
    label->setObjectName(QStringLiteral("Label1"));
    label->setFont(sansSerif(12));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(Twips::rect(240, 165, 1575, 375));

    m_txtFrontSearch = new QLineEdit(box);
    m_txtFrontSearch->setObjectName(QStringLiteral("txtFrontSearch"));
    m_txtFrontSearch->setAccessibleName(tr("Search for"));
    m_txtFrontSearch->setFont(sansSerif(12));
    m_txtFrontSearch->setGeometry(Twips::rect(1920, 120, 2295, 375));

    m_command3 = new QPushButton(tr("GO!"), box);
    m_command3->setObjectName(QStringLiteral("Command3"));
    m_command3->setGeometry(Twips::rect(4245, 120, 495, 375));

    auto *banner = new QLabel(panel);
    banner->setObjectName(QStringLiteral("Image1"));
    banner->setPixmap(Artwork::banner());
    banner->setGeometry(Twips::rect(840, 1440, 9000, 1125));

    auto *hint =
        new QLabel(tr("To begin, click on \"Start Here\" and view instructions. Then click \"Add Files\"."), panel);
    hint->setObjectName(QStringLiteral("Label3"));
    QFont hintFont = sansSerif(9.75);
    hintFont.setBold(true);
    hintFont.setUnderline(true);
    hint->setFont(hintFont);
    hint->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    hint->setWordWrap(true); // a translation may need a second line
    hint->setAttribute(Qt::WA_TranslucentBackground);
    hint->setGeometry(Twips::rect(480, 3120, 9735, 615));
}

void MainWindow::buildResultsPanel(QWidget *panel)
{
    m_grdSearch = new DataGrid(QStringLiteral("grdSearch"), panel);
    m_grdSearch->setAccessibleName(tr("Search results"));
    GridBinding::bind(m_grdSearch, &m_store.search(), m_dialogs);
    m_grdSearch->setGeometry(Twips::rect(0, 100, 10335, 6270));
    m_grdSearch->setColumnWidthsTwips({1035, 5115, 1530, 2100});
    // A click on a column caption sorts the results by it, a second click the other way.
    m_grdSearch->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder); // each list's own order
    m_grdSearch->setSortingEnabled(true);
    auto *showFolder = new QAction(tr("Show on Add Files"), m_grdSearch);
    showFolder->setObjectName(QStringLiteral("mnuShowOnAddFiles"));
    showFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    showFolder->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_grdSearch->addAction(showFolder);
    m_grdSearch->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(showFolder, &QAction::triggered, this, &MainWindow::showResultOnAddFiles);
    QPalette palette = m_grdSearch->palette();
    palette.setColor(QPalette::Base, Qt::white);
    m_grdSearch->setPalette(palette);
}

void MainWindow::buildMenus()
{
    struct Item {
        const char *name;
        const char *caption; // nullptr: a separator
        QKeySequence key;
    };
    struct Menu {
        const char *name;
        const char *caption;
        std::vector<Item> items;
    };
    const Menu menus[] = {
        {"mnuFile",
         QT_TR_NOOP("File"),
         {{"mnuBackup", QT_TR_NOOP("&Backup Database"), QKeySequence(Qt::CTRL | Qt::Key_B)},
          {"mnuRestore", QT_TR_NOOP("&Restore Backup"), QKeySequence(Qt::CTRL | Qt::Key_R)},
          {"mnuAutoRestore", QT_TR_NOOP("Restore &Automatic Backup..."), {}},
          {"mnu24", nullptr, {}},
          {"mnuShared", QT_TR_NOOP("Open Shared Index..."), {}},
          {"mnuLocal", QT_TR_NOOP("Use My Own Index"), {}},
          {"mnu23", nullptr, {}},
          {"mnuPrint", QT_TR_NOOP("&Print Database Report"), QKeySequence(Qt::CTRL | Qt::Key_P)},
          {"mnuPrintLabels", QT_TR_NOOP("Print &Labels"), QKeySequence(Qt::CTRL | Qt::Key_L)},
          {"mnuExport", QT_TR_NOOP("E&xport to Spreadsheet..."), {}},
          {"mnuImport", QT_TR_NOOP("&Import from Spreadsheet..."), {}},
          {"mnu87", nullptr, {}},
          {"mnuExit", QT_TR_NOOP("&Quit Papyra (TM)"), QKeySequence(Qt::CTRL | Qt::Key_Q)}}},
        {"mnuEdit",
         QT_TR_NOOP("Edit"),
         {{"mnuUndo", QT_TR_NOOP("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z)},
          {"mnuCut", QT_TR_NOOP("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X)},
          {"mnuCopy", QT_TR_NOOP("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C)},
          {"mnuPaste", QT_TR_NOOP("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V)},
          {"mnu51", nullptr, {}},
          {"mnuHistory", QT_TR_NOOP("Folder &History"), QKeySequence(Qt::CTRL | Qt::Key_H)}}},
        {"mnuJump",
         QT_TR_NOOP("&Jump"),
         {{"mnuAbout", QT_TR_NOOP("Papyra!"), QKeySequence(Qt::Key_F1)},
          {"mnuData", QT_TR_NOOP("Search Results"), QKeySequence(Qt::Key_F2)},
          {"mnuFind", QT_TR_NOOP("Add Files"), QKeySequence(Qt::Key_F3)},
          {"mnuCat", QT_TR_NOOP("My Categories"), QKeySequence(Qt::Key_F4)},
          {"mnuStart", QT_TR_NOOP("Start Here"), QKeySequence(Qt::Key_F9)},
          {"mnu009", nullptr, {}},
          {"mnuOpen", QT_TR_NOOP("Next &Open File Slot"), QKeySequence(Qt::Key_F5)},
          {"mnuTop", QT_TR_NOOP("&Top Of List"), QKeySequence(Qt::Key_F6)},
          {"mnuDue", QT_TR_NOOP("Reminders &Due"), QKeySequence(Qt::CTRL | Qt::Key_D)},
          {"mnu877", nullptr, {}},
          {"mnuAddcat", QT_TR_NOOP("Add Category"), QKeySequence(Qt::Key_F7)},
          {"mnuDelcat", QT_TR_NOOP("Delete Category"), QKeySequence(Qt::Key_F8)}}},
        {"mnuHelp",
         QT_TR_NOOP("&Help"),
         {{"mnuHelpHelp", QT_TR_NOOP("Papyra! Help on our Website"), {}},
          {"mnu3434", nullptr, {}},
          {"mnuAbt", QT_TR_NOOP("About Papyra!"), {}}}},
    };
    for (const Menu &m : menus) {
        QMenu *menu = menuBar()->addMenu(tr(m.caption));
        menu->setObjectName(QString::fromLatin1(m.name));
        for (const Item &item : m.items) {
            QAction *action = item.caption ? menu->addAction(tr(item.caption)) : menu->addSeparator();
            action->setObjectName(QString::fromLatin1(item.name));
            if (!item.key.isEmpty())
                action->setShortcut(item.key);
        }
    }
    menuBar()->setObjectName(QStringLiteral("menuBar"));

    action(QStringLiteral("mnuAddcat"))->setEnabled(false);
    action(QStringLiteral("mnuDelcat"))->setEnabled(false);

    const struct {
        const char *name;
        Tab tab;
    } jumps[] = {{"mnuAbout", Tab::Search},
                 {"mnuData", Tab::SearchResults},
                 {"mnuFind", Tab::AddFiles},
                 {"mnuCat", Tab::MyCategories},
                 {"mnuStart", Tab::StartHere}};
    for (const auto &jump : jumps) {
        const Tab tab = jump.tab;
        connect(action(QString::fromLatin1(jump.name)), &QAction::triggered, this, [this, tab] { SwitchTab(tab); });
    }
    connect(action(QStringLiteral("mnuOpen")), &QAction::triggered, this, [this] {
        SwitchTab(Tab::AddFiles);
        m_addFiles->nextOpenSlot();
    });
    connect(action(QStringLiteral("mnuTop")), &QAction::triggered, this, [this] {
        SwitchTab(Tab::AddFiles);
        m_addFiles->topOfList();
    });
    connect(action(QStringLiteral("mnuAddcat")), &QAction::triggered, m_categoriesPanel, &CategoriesPanel::addCategory);
    connect(action(QStringLiteral("mnuDelcat")), &QAction::triggered, m_categoriesPanel,
            &CategoriesPanel::deleteCategory);
    connect(action(QStringLiteral("mnuExit")), &QAction::triggered, this, &QWidget::close);

    const struct {
        const char *name;
        EditCommands::Command command;
    } edits[] = {{"mnuUndo", EditCommands::Command::Undo},
                 {"mnuCut", EditCommands::Command::Cut},
                 {"mnuCopy", EditCommands::Command::Copy},
                 {"mnuPaste", EditCommands::Command::Paste}};
    for (const auto &edit : edits) {
        const EditCommands::Command command = edit.command;
        connect(action(QString::fromLatin1(edit.name)), &QAction::triggered, this,
                [this, command] { EditCommands::send(focusWidget(), command); });
    }
    connect(action(QStringLiteral("mnuPrintLabels")), &QAction::triggered, this, [this] {
        // The folders Search Results lists, as the tab would show them now, for labels of those alone.
        DataSource &search = m_store.search();
        search.refresh();
        const int number = search.columnIndex(QStringLiteral("FileNumber"));
        const int keywords = search.columnIndex(QStringLiteral("Keywords"));
        QVector<LabelLayout::Folder> listed;
        for (int row = 0; row < search.recordCount(); ++row)
            listed.append({search.index(row, number).data().toInt(), search.index(row, keywords).data().toString()});
        LabelPrinting::showDialog(m_store, *m_dialogs, m_programFolder, this, listed);
    });
    connect(action(QStringLiteral("mnuHelpHelp")), &QAction::triggered, this, [] { ShellOpen(supportPageAddress); });
    connect(action(QStringLiteral("mnuAbt")), &QAction::triggered, this,
            [this] { AboutBox::showModal(m_dialogs, this); });
    connect(action(QStringLiteral("mnuPrint")), &QAction::triggered, this,
            [this] { DatabaseReport::print(m_store, *m_dialogs, this); });
    connect(action(QStringLiteral("mnuBackup")), &QAction::triggered, this, [this] { runBackupRestore(true); });
    connect(action(QStringLiteral("mnuRestore")), &QAction::triggered, this, [this] { runBackupRestore(false); });
    connect(action(QStringLiteral("mnuShared")), &QAction::triggered, this, &MainWindow::chooseSharedIndex);
    connect(action(QStringLiteral("mnuLocal")), &QAction::triggered, this, &MainWindow::useOwnIndex);
    connect(action(QStringLiteral("mnuDue")), &QAction::triggered, this, &MainWindow::showRemindersDue);
    connect(action(QStringLiteral("mnuHistory")), &QAction::triggered, this, &MainWindow::showFolderHistory);
    connect(action(QStringLiteral("mnuAutoRestore")), &QAction::triggered, this, &MainWindow::showAutoRestore);
    // The grids' context menu offers the folder's history for the row under the mouse.
    for (DataGrid *grid : {m_addFiles->grid(), m_grdSearch}) {
        grid->setContextMenuPolicy(Qt::ActionsContextMenu);
        grid->addAction(action(QStringLiteral("mnuHistory")));
    }
    connect(action(QStringLiteral("mnuExport")), &QAction::triggered, this, [this] {
        m_store.commitPendingEdits();
        SpreadsheetCommands::exportSlots(m_store, *m_dialogs, this);
    });
    connect(action(QStringLiteral("mnuImport")), &QAction::triggered, this, [this] {
        m_store.commitPendingEdits();
        SpreadsheetCommands::importSlots(m_store, *m_dialogs, this, [this] {
            // Every grid shows the imported data, and the last search (or due list) runs again.
            for (DataSource *source : m_store.sources())
                refreshSource(*source);
            updateDueStatus();
        });
    });
}

void MainWindow::buildStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    const int widths[] = {3000, 1440, 1440, 6000};
    for (int i = 0; i < 4; ++i) {
        QLabel *part = nullptr;
        if (i == 0)
            part = m_duePanel = new ClickablePanel(statusBar()); // the reminders due
        else if (i == 3)
            part = m_indexPanel = new QLabel(statusBar()); // the index in use, or what the latest search found
        else
            part = new QLabel(i == 2 ? tr("Mode: READY") : QString(), statusBar());
        part->setObjectName(QStringLiteral("Panel(%1)").arg(i + 1));
        part->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        part->setFixedWidth(Twips::toPixels(widths[i]));
        statusBar()->addWidget(part);
    }
    // A click on the blank panel does nothing: it would replace the last search by an empty list.
    connect(m_duePanel, &ClickablePanel::clicked, this, [this] {
        if (!m_duePanel->text().isEmpty())
            showRemindersDue();
    });
}

void MainWindow::updateDueStatus()
{
    // Worked out again only when a reminder or the date has changed since the last time.
    const QDate today = QDate::currentDate();
    const QByteArray stamp = m_store.reminderStamp() + ' ' + today.toString(Qt::ISODate).toLatin1();
    if (stamp == m_dueStamp)
        return;
    m_dueStamp = stamp;
    const QString text = RemindersDue::statusText(RemindersDue::count(m_store, today));
    m_duePanel->setText(text);
    m_duePanel->setToolTip(text.isEmpty() ? QString() : tr("Click to list the reminders due"));
    m_duePanel->setCursor(text.isEmpty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
}

void MainWindow::showRemindersDue()
{
    m_searchOutcome.clear(); // the list is no search result
    updateIndexPanel();
    m_grdSearch->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    if (RemindersDue::list(m_store, QDate::currentDate()))
        m_failureShown = false;
    else
        reportDataFailure(m_store.search().lastError());
    SwitchTab(Tab::SearchResults);
}

QAction *MainWindow::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

PicturePanel *MainWindow::startHerePanel() const
{
    return static_cast<PicturePanel *>(m_panels.value(4));
}

void MainWindow::openDataSources()
{
    if (m_store.open(&m_openError))
        m_store.refreshAll(&m_openError);
    m_failureShown = !m_openError.isEmpty();
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    // A timer started in the constructor would run before the first paint: the events it posts come
    // ahead of the window's first update. With the count, the search reads ahead what its first run
    // would (the distinct reminders), before the user can have typed a word.
    if (m_dueCountWaits) {
        m_dueCountWaits = false;
        QTimer::singleShot(0, this, [this] {
            updateDueStatus();
            m_store.prepareSearch();
        });
    }
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    if (!m_openError.isEmpty()) {
        // Told once the window is on screen, so the user sees what the message is about.
        QTimer::singleShot(0, this, [this] {
            m_dialogs->message(this,
                               tr("Papyra could not open its database.\n\n%1\n\n"
                                  "The database file should be:\n%2")
                                   .arg(m_openError, QDir::toNativeSeparators(m_store.databasePath())),
                               Dialogs::Icon::Warning);
        });
    }
    if (!m_startShareUri.isEmpty()) {
        // The remembered shared index could not be opened: the password asked for, or the reason told,
        // with the user's own index in use meanwhile.
        QTimer::singleShot(0, this, [this] {
            const Dialogs::ServerLogin proposed{m_startShareUri, QString(), false};
            if (m_startNeedsPassword) {
                while (const auto login = m_dialogs->serverLogin(this, proposed, m_startShareProblem)) {
                    QString why;
                    if (openSharedIndex(*login, &why))
                        return;
                    m_dialogs->message(this, why, Dialogs::Icon::Warning);
                }
                return;
            }
            m_dialogs->message(this,
                               tr("Papyra could not open the shared index.\n\n%1\n\nYour own index is in "
                                  "use meanwhile; File > Open Shared Index... tries again.")
                                   .arg(m_startShareProblem),
                               Dialogs::Icon::Warning);
        });
    }
}

bool MainWindow::refreshSource(DataSource &source)
{
    if (!source.refresh()) {
        reportDataFailure(source.lastError());
        return false;
    }
    m_failureShown = false;
    return true;
}

void MainWindow::runSearch()
{
    // A label's code, typed by a scanner, shows its folder on Add Files as Jump to File# would.
    if (const auto number =
            LabelCode::scannedNumber(m_txtFrontSearch->text(), LabelCode::lastPrefix(m_store.dataFolder()))) {
        SwitchTab(Tab::AddFiles);
        m_addFiles->jumpTo(*number);
        return;
    }
    const bool ok = KeywordSearch::run(m_store, m_txtFrontSearch->text());
    if (ok)
        m_failureShown = false;
    else
        reportDataFailure(m_store.search().lastError());
    m_grdSearch->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    showSearchOutcome(ok ? KeywordSearch::words(m_txtFrontSearch->text()) : QStringList(), false);
    SwitchTab(Tab::SearchResults);
}

void MainWindow::runSearchForAllWords()
{
    const QStringList words = KeywordSearch::words(m_txtFrontSearch->text());
    const bool ok = words.isEmpty() ? KeywordSearch::run(m_store, QString()) : m_store.searchForAll(words);
    if (ok)
        m_failureShown = false;
    else
        reportDataFailure(m_store.search().lastError());
    m_grdSearch->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    showSearchOutcome(ok ? words : QStringList(), true);
    SwitchTab(Tab::SearchResults);
}

void MainWindow::showSearchOutcome(const QStringList &words, bool allWords)
{
    const int found = m_store.search().recordCount();
    QString text = found == 1 ? tr("1 folder found") : tr("%1 folders found").arg(found);
    if (found == 0 && !allWords && words.size() >= 2) {
        const int holding = m_store.countAll(words);
        if (holding == 1)
            text = tr("0 folders found; 1 holds all these words in any order: Ctrl+Enter lists it");
        else if (holding > 1)
            text = tr("0 folders found; %1 hold all these words in any order: Ctrl+Enter lists them").arg(holding);
    }
    m_searchOutcome = text;
    updateIndexPanel();
}

QString MainWindow::searchStatus() const
{
    return m_searchOutcome;
}

void MainWindow::showResultOnAddFiles()
{
    const int row = m_store.search().currentRow();
    const int number = m_store.search().columnIndex(QStringLiteral("FileNumber"));
    if (row < 0 || number < 0 || row >= m_store.search().recordCount())
        return;
    const qint64 slot = m_store.search().index(row, number).data().toLongLong();
    SwitchTab(Tab::AddFiles);
    m_addFiles->jumpTo(slot);
    m_addFiles->grid()->setFocus();
}

void MainWindow::runBackupRestore(bool backup)
{
    const BackupRestore::Outcome outcome = BackupRestore::run(
        m_store, *m_dialogs, this, backup ? BackupRestore::Mode::Backup : BackupRestore::Mode::Restore);
    if (outcome.readError.isEmpty())
        m_failureShown = false;
    else
        reportDataFailure(outcome.readError);
    updateDueStatus(); // the copy may hold other reminders
    BackupRestore::report(outcome, *m_dialogs, this);
}

void MainWindow::showFolderHistory()
{
    // The folder of the grid in use: the search results while they are shown, the slot grid otherwise.
    const bool results = m_tabStrip->currentIndex() + 1 == static_cast<int>(Tab::SearchResults);
    DataSource &source = results ? m_store.search() : m_store.file();
    const int row = source.currentRow();
    if (row < 0 || row >= source.recordCount()) {
        m_dialogs->message(this, tr("Please click on a file slot to select it."));
        return;
    }
    source.commitPending(); // what is being typed is written first, so its old value is in the history
    const QVariant number = source.data(source.index(row, source.columnIndex(QStringLiteral("FileNumber"))));
    HistoryDialog dialog(&m_store, number.toLongLong(), m_dialogs, this);
    dialog.exec();
    if (!dialog.changed())
        return;
    // Every grid shows the slot as put back; the grid in use stays on it.
    for (DataSource *s : m_store.sources())
        refreshSource(*s);
    source.setCurrentRow(row);
    updateDueStatus();
}

void MainWindow::showAutoRestore()
{
    m_store.commitPendingEdits();
    QString chosen;
    {
        AutoRestoreDialog dialog(m_store.dataFolder(), m_dialogs, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        chosen = dialog.chosen();
    }
    const BackupRestore::Outcome outcome = BackupRestore::restoreFile(m_store, chosen);
    if (outcome.readError.isEmpty())
        m_failureShown = false;
    else
        reportDataFailure(outcome.readError);
    updateDueStatus();
    BackupRestore::report(outcome, *m_dialogs, this);
}

void MainWindow::startAutomaticBackups()
{
    if (m_snapshotThread || !m_store.isOpen())
        return;
    const QString dataFolder = m_store.dataFolder();
    if (AutoBackup::takenOn(AutoBackup::folderOf(dataFolder), QDate::currentDate()))
        return;
    const QString second = AutoBackup::Settings(dataFolder).secondFolder();
    Engine *engine = &m_store.engine();
    // A thread of its own, so the window answers while the copy is written; the copy reads the
    // file through a connection of its own.
    m_snapshotThread = QThread::create([this, engine, dataFolder, second] {
        const AutoBackup::Result result = AutoBackup::take(*engine, dataFolder, second);
        QMetaObject::invokeMethod(
            this, [this, result] { onStartSnapshot(result); }, Qt::QueuedConnection);
    });
    m_snapshotThread->start(QThread::LowPriority);
}

void MainWindow::onStartSnapshot(const AutoBackup::Result &result)
{
    m_snapshotThread->wait();
    delete m_snapshotThread;
    m_snapshotThread = nullptr;
    QString text;
    if (!result.ok) {
        text = tr("The automatic backup could not be written: %1").arg(result.error);
    } else if (!result.secondError.isEmpty()) {
        // Told once a day: a USB stick left at home is no reason for a message at every start.
        AutoBackup::Settings settings(m_store.dataFolder());
        if (settings.missingToldOn() != QDate::currentDate()) {
            settings.setMissingToldOn(QDate::currentDate());
            text = result.secondError;
        }
    }
    if (!text.isEmpty())
        statusBar()->showMessage(text, 30000);
    emit startSnapshotDone(result.ok);
}

void MainWindow::reportDataFailure(const QString &error)
{
    if (noticeLost() || m_failureShown)
        return;
    m_failureShown = true;
    m_dialogs->message(this, tr("Papyra could not read its database.\n\n%1\n\n%2").arg(error, indexDescription()),
                       Dialogs::Icon::Warning);
}

void MainWindow::onWriteFailed(const QString &error)
{
    if (noticeLost())
        return;
    m_dialogs->message(this, tr("Papyra could not save your change.\n\n%1").arg(error), Dialogs::Icon::Warning);
}

QString MainWindow::indexDescription() const
{
    if (m_store.isShared())
        return tr("The shared index is %1.").arg(m_store.location());
    return tr("The database file should be:\n%1").arg(QDir::toNativeSeparators(m_store.databasePath()));
}

void MainWindow::updateIndexPanel()
{
    QString text = m_store.isShared() ? tr("Shared index: %1").arg(m_store.location())
                                      : QDir::toNativeSeparators(m_store.databasePath());
    if (m_store.isShared() && m_reconnectTimer->isActive())
        text += tr(" (cannot be reached, trying again)");
    else if (m_store.isShared() && !m_store.engine().mayWrite())
        text += tr(" (read only)");
    // What the latest search found, while its list shows; the index otherwise, and always while a
    // shared index cannot be reached. The tip always names the index.
    const bool lost = m_store.isShared() && m_reconnectTimer->isActive();
    m_indexPanel->setText(m_searchOutcome.isEmpty() || lost ? text : m_searchOutcome);
    m_indexPanel->setToolTip(text);
    action(QStringLiteral("mnuLocal"))->setEnabled(m_store.isShared());
}

bool MainWindow::openSharedIndex(const Dialogs::ServerLogin &login, QString *error, bool *needsPassword)
{
    if (needsPassword)
        *needsPassword = false;
    ServerAddress address;
    if (!ServerAddress::parse(login.uri, &address, error))
        return false;
    if (!login.password.isEmpty())
        address.password = login.password;
    auto engine = std::make_unique<PostgresEngine>(address);
    {
        BusyCursor busy;
        if (!engine->open(error)) {
            if (needsPassword)
                *needsPassword = engine->needsPassword();
            return false;
        }
    }
    QString why;
    if (login.rememberPassword && !login.password.isEmpty() &&
        !IndexSettings::rememberPassword(address, login.password, &why))
        m_dialogs->message(this, tr("The password could not be kept in the password file: %1").arg(why),
                           Dialogs::Icon::Warning);
    m_store.commitPendingEdits();
    m_store.setEngine(std::move(engine));
    m_store.refreshAll();
    m_reconnectTimer->stop();
    m_heartbeat->start();
    m_lostTold = false;
    m_failureShown = false;
    IndexSettings::setSharedIndex(m_settingsPath, address.toUri());
    m_searchOutcome.clear(); // the list now comes from another index
    updateIndexPanel();
    updateDueStatus();
    return true;
}

void MainWindow::chooseSharedIndex()
{
    Dialogs::ServerLogin proposed{IndexSettings::sharedIndex(m_settingsPath), QString(), false};
    QString note = tr("The office's shared index on a PostgreSQL server: its server, port, database and "
                      "your user name, or one postgresql:// address.");
    while (const auto login = m_dialogs->serverLogin(this, proposed, note)) {
        QString why;
        if (openSharedIndex(*login, &why))
            return;
        // Papyra stays on the index it had; the form comes back with the reason.
        note = why + tr("\n\nPapyra stays on the index it had.");
        proposed = *login;
    }
}

void MainWindow::useOwnIndex()
{
    m_store.commitPendingEdits();
    m_store.setEngine(std::make_unique<SqliteEngine>(m_store.databasePath()));
    m_reconnectTimer->stop();
    m_heartbeat->stop();
    IndexSettings::setSharedIndex(m_settingsPath, QString());
    m_openError.clear();
    if (m_store.open(&m_openError))
        m_store.refreshAll(&m_openError);
    m_failureShown = false;
    if (!m_openError.isEmpty())
        reportDataFailure(m_openError);
    m_searchOutcome.clear(); // the list now comes from another index
    updateIndexPanel();
    updateDueStatus();
}

bool MainWindow::noticeLost()
{
    if (!m_store.isShared() || (!m_store.isLost() && !m_reconnectTimer->isActive()))
        return false;
    if (!m_reconnectTimer->isActive()) {
        m_reconnectTimer->start();
        updateIndexPanel();
    }
    if (m_lostTold)
        return true;
    m_lostTold = true;
    QString kept;
    for (DataSource *source : {&m_store.file(), &m_store.search()}) {
        if (source->hasPendingEdit())
            kept = tr("\n\nYour change to folder %1 is kept: Papyra writes it as soon as the server can "
                      "be reached again.")
                       .arg(source->index(source->pendingRow(), 0).data().toString());
    }
    const auto *engine = static_cast<const PostgresEngine *>(&m_store.engine());
    m_dialogs->message(this,
                       tr("The shared index at %1 cannot be reached.%2\n\nPapyra keeps trying to reach it.")
                           .arg(engine->address().hostForMessages(), kept),
                       Dialogs::Icon::Warning);
    return true;
}

void MainWindow::tryReconnect()
{
    // Over the network, a connection attempt to a host that does not answer waits for libpq's
    // connect_timeout; a probe that does not block goes first, so the window stays responsive.
    const auto &address = static_cast<const PostgresEngine &>(m_store.engine()).address();
    if (!address.host.isEmpty() && !address.host.startsWith(QLatin1Char('/')) && !m_probe) {
        m_probe = new QTcpSocket(this);
        connect(m_probe, &QTcpSocket::connected, this, [this] {
            m_probe->abort();
            m_probe->deleteLater();
            m_probe = nullptr;
            reconnectNow();
        });
        connect(m_probe, &QTcpSocket::errorOccurred, this, [this] {
            m_probe->deleteLater();
            m_probe = nullptr;
        });
        m_probe->connectToHost(address.host, quint16(address.port > 0 ? address.port : 5432));
        return;
    }
    if (!m_probe)
        reconnectNow();
}

void MainWindow::reconnectNow()
{
    if (!m_store.isShared() || !m_store.reconnect())
        return;
    m_reconnectTimer->stop();
    m_lostTold = false;
    m_failureShown = false;
    updateIndexPanel();
    updateDueStatus();
}

void MainWindow::onTabClick()
{
    const int k = m_tabStrip->currentIndex() + 1;
    // The panel that stays on screen is not hidden and shown again: that would take the focus from it.
    for (int i = 0; i < m_panels.size(); ++i) {
        if (i != k - 1)
            m_panels[i]->hide();
    }
    if (k < 1 || k > m_panels.size())
        return;
    m_panels[k - 1]->show();
    Tabset(static_cast<qint16>(k));
    updateDueStatus();
    StartSlideShow();
}

void MainWindow::SwitchTab(qint16 i)
{
    // Selecting the tab already shown runs the click handling again, so F1 always lands in the
    // search box and F3 always shows the slots afresh.
    const quint64 restartsBefore = m_tourRestarts;
    if (i >= 1 && i <= m_tabStrip->count()) {
        if (m_tabStrip->currentIndex() == i - 1)
            onTabClick();
        else
            m_tabStrip->setCurrentIndex(i - 1);
    }
    // When the click handling has just restarted the tour, restarting it again would decode the
    // same start picture a second time for the same result, doubling the cost of a tab change.
    if (m_tourRestarts != restartsBefore)
        m_slidestep = 1;
    else
        StartSlideShow();
}

void MainWindow::Tabset(qint16 i)
{
    action(QStringLiteral("mnuAddcat"))->setEnabled(false);
    action(QStringLiteral("mnuDelcat"))->setEnabled(false);
    switch (static_cast<Tab>(i)) {
    case Tab::Search:
        m_txtFrontSearch->setFocus();
        m_txtFrontSearch->setSelection(0, m_txtFrontSearch->text().trimmed().size());
        break;
    case Tab::SearchResults:
        m_grdSearch->viewport()->update();
        break;
    case Tab::AddFiles:
        refreshSource(m_store.file());
        m_store.popCat().refresh(); // what a Category cell completes from
        m_addFiles->grid()->viewport()->update();
        break;
    case Tab::MyCategories:
        refreshSource(m_store.categories());
        action(QStringLiteral("mnuAddcat"))->setEnabled(true);
        action(QStringLiteral("mnuDelcat"))->setEnabled(true);
        break;
    case Tab::StartHere:
        break;
    }
}

void MainWindow::StartSlideShow()
{
    // Decoded when the Start Here panel is painted: most tab changes go elsewhere.
    startHerePanel()->setPicture([folder = m_programFolder] { return Slides::startImage(folder); });
    m_slidestep = 1;
    ++m_tourRestarts;
}

void MainWindow::slideTimerTick()
{
    const Slides::Tick tick = Slides::tick(m_slidestep, m_programFolder);
    if (tick.shows)
        startHerePanel()->setPicture(tick.picture);
    m_slidestep = tick.next;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_snapshotThread)
        m_snapshotThread->wait(); // the snapshot reads the file the store is about to let go
    // Quitting writes the row being edited, as leaving it would; only Escape discards typing.
    m_store.commitPendingEdits();
    event->accept();
}
