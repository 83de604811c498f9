#pragma once

#include "backup/AutoBackup.h"
#include "store/RecordStore.h"
#include "ui/Dialogs.h"

#include <QMainWindow>
#include <QVector>
#include <memory>

class AddFilesPanel;
class CategoriesPanel;
class ClickablePanel;
class DataGrid;
class DataSource;
class Dialogs;
class PicturePanel;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QThread;
class QTcpSocket;
class QTimer;

// The tabs by their one-based number on the strip; panel Tabpanel(k - 1) belongs to tab k.
enum class Tab : qint16 { Search = 1, SearchResults = 2, AddFiles = 3, MyCategories = 4, StartHere = 5 };

// frmVarnel: the one working window. It builds the tab strip, panels, menus and status bar, owns
// the record store and routes every tab change through the same click handling.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // programFolder holds the program's own files (template, label definitions, tour pictures);
    // dataFolder holds Varnel.mdb.
    MainWindow(const QString &programFolder, const QString &dataFolder, Dialogs *dialogs, QWidget *parent = nullptr);
    // Portable use: the data lives beside the program.
    MainWindow(const QString &programFolder, Dialogs *dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    QString programFolder() const { return m_programFolder; }
    RecordStore &store() { return m_store; }

    QTabBar *tabStrip() const { return m_tabStrip; }
    QWidget *panel(int index) const { return m_panels.value(index); }
    PicturePanel *startHerePanel() const;
    AddFilesPanel *addFilesPanel() const { return m_addFiles; }
    CategoriesPanel *categoriesPanel() const { return m_categoriesPanel; }
    DataGrid *searchGrid() const { return m_grdSearch; }
    QLineEdit *searchBox() const { return m_txtFrontSearch; }
    QPushButton *goButton() const { return m_command3; }
    QAction *action(const QString &name) const;
    QTimer *slideTimer() const { return m_slidetimer; }
    // The status bar's last panel: what the latest search found.
    QString searchStatus() const;

    void SwitchTab(qint16 i);
    void SwitchTab(Tab tab) { SwitchTab(static_cast<qint16>(tab)); }
    void Tabset(qint16 i);
    void StartSlideShow();
    // The slidetimer's tick: shows the tour's next picture while a tour runs.
    void slideTimerTick();
    qint16 slidestep() const { return m_slidestep; }
    void setSlidestep(qint16 step) { m_slidestep = step; }

    // Reads a data source afresh, telling the user once if the database cannot be read.
    bool refreshSource(DataSource &source);

    // The shared index: the File menu's choices, also used at start for the remembered one.
    // Opens the index the login names, keeping the current one when it cannot be used (the
    // message then says why); needsPassword tells that the server asked for a password.
    bool openSharedIndex(const Dialogs::ServerLogin &login, QString *error, bool *needsPassword = nullptr);
    void chooseSharedIndex();
    void useOwnIndex();
    QString settingsPath() const { return m_settingsPath; }
    QTimer *reconnectTimer() const { return m_reconnectTimer; }

    // Reminders Due: Search lists the slots due by today's date, shown on the Search Results tab.
    void showRemindersDue();
    // The status bar's first panel: how many reminders are due.
    void updateDueStatus();

    // Folder History for the current slot of the grid in use.
    void showFolderHistory();
    // Restore Automatic Backup.
    void showAutoRestore();
    // Takes the day's first automatic backup, on a thread of its own, once the window is shown;
    // nothing when one was taken today. startSnapshotDone tells when it is written.
    void startAutomaticBackups();

signals:
    void startSnapshotDone(bool ok);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildTabStrip(QWidget *client);
    void buildSearchPanel(QWidget *panel);
    void buildResultsPanel(QWidget *panel);
    void buildMenus();
    void buildStatusBar();
    void openDataSources();
    void onTabClick();
    void runSearch();
    // Ctrl+Enter in the search box: the slots that hold every word of the text, in any order.
    void runSearchForAllWords();
    // The result's count on the status bar, and after a miss of several words the count of the
    // slots that hold them all in any order.
    void showSearchOutcome(const QStringList &words, bool allWords);
    // The current search result's slot on the Add Files tab.
    void showResultOnAddFiles();
    void runBackupRestore(bool backup);
    void reportDataFailure(const QString &error);
    void onWriteFailed(const QString &error);
    void onStartSnapshot(const AutoBackup::Result &result);
    // The shared index's server has gone: told once, retried until it is back. False when the
    // store's connection is not lost.
    bool noticeLost();
    void tryReconnect();
    void reconnectNow();
    void updateIndexPanel();
    QString indexDescription() const;

    QString m_programFolder;
    Dialogs *m_dialogs;
    // Declared before the client area: the grids and lists go first, so no open cell editor
    // outlives the data source it writes to.
    RecordStore m_store;
    std::unique_ptr<QWidget> m_client;

    QTabBar *m_tabStrip = nullptr;
    QVector<QWidget *> m_panels;
    QLineEdit *m_txtFrontSearch = nullptr;
    QPushButton *m_command3 = nullptr;
    DataGrid *m_grdSearch = nullptr;
    AddFilesPanel *m_addFiles = nullptr;
    CategoriesPanel *m_categoriesPanel = nullptr;
    QTimer *m_slidetimer = nullptr;
    ClickablePanel *m_duePanel = nullptr;
    QLabel *m_indexPanel = nullptr;
    QString m_settingsPath;
    QTimer *m_reconnectTimer = nullptr; // while the shared index cannot be reached
    QTimer *m_heartbeat = nullptr;      // notices a server that went away while nobody acted
    QTcpSocket *m_probe = nullptr;      // is the server's port answering again?
    bool m_lostTold = false;
    QString m_startShareProblem; // why the remembered shared index could not be opened at start
    bool m_startNeedsPassword = false;
    QString m_startShareUri;
    QString m_searchOutcome; // what the latest search found, shown in the index panel while its list shows
    QByteArray m_dueStamp;   // the data and date the due count was worked out for
    qint16 m_slidestep = 0;
    quint64 m_tourRestarts = 0; // counts StartSlideShow runs

    QString m_openError;         // why the database could not be opened at creation
    bool m_failureShown = false; // one message per run of failures, not one per tab change
    bool m_shownOnce = false;
    bool m_dueCountWaits = true;
    QThread *m_snapshotThread = nullptr;
};
