#pragma once

#include <QMainWindow>
#include <QVector>

class AddFilesPanel;
class CategoriesPanel;
class ClickablePanel;
class DataGrid;
class DataSource;
class Database;
class Dialogs;
class PicturePanel;
class QAction;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTimer;

// frmVarnel: the one working window. It builds the tab strip, panels, menus and status bar, owns
// the four data sources and routes every tab change through the same click handling.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(const QString &programFolder, Dialogs *dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    QString programFolder() const { return m_programFolder; }
    Dialogs *dialogs() const { return m_dialogs; }
    Database *database() const { return m_database; }

    DataSource *fileSource() const { return m_file; }
    DataSource *searchSource() const { return m_search; }
    DataSource *categoriesSource() const { return m_categories; }
    DataSource *popCatSource() const { return m_popCat; }
    // In the order backup and restore release them: File, Search, PopCat, Categories.
    QVector<DataSource *> dataSources() const { return {m_file, m_search, m_popCat, m_categories}; }

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

    void SwitchTab(qint16 i);
    void Tabset(qint16 i);
    void StartSlideShow();
    // The slidetimer's tick: shows the tour's next picture while a tour runs.
    void slideTimerTick();
    qint16 slidestep() const { return m_slidestep; }
    void setSlidestep(qint16 step) { m_slidestep = step; }

    // Re-points and refreshes a data source, telling the user once if the database cannot be read.
    bool refreshSource(DataSource *source);

    // Writes every row that is being edited, as leaving it would.
    void commitPendingEdits();

    // Reminders Due: Search lists the slots due by today's date, shown on the Search Results tab.
    void showRemindersDue();
    // The status bar's first panel: how many reminders are due.
    void updateDueStatus();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildTabStrip(QWidget *client);
    void buildSearchPanel(QWidget *panel);
    void buildResultsPanel(QWidget *panel);
    void buildMenus();
    void buildStatusBar();
    void openDataSources();
    void onTabClick();
    void reportDataFailure(const QString &error);
    void onWriteFailed(const QString &error);

    QString m_programFolder;
    Dialogs *m_dialogs;
    Database *m_database;
    DataSource *m_file;
    DataSource *m_search;
    DataSource *m_categories;
    DataSource *m_popCat;

    QTabBar *m_tabStrip = nullptr;
    QVector<QWidget *> m_panels;
    QLineEdit *m_txtFrontSearch = nullptr;
    QPushButton *m_command3 = nullptr;
    DataGrid *m_grdSearch = nullptr;
    AddFilesPanel *m_addFiles = nullptr;
    CategoriesPanel *m_categoriesPanel = nullptr;
    QTimer *m_slidetimer = nullptr;
    ClickablePanel *m_duePanel = nullptr;
    QByteArray m_dueStamp; // the data and date the due count was worked out for
    qint16 m_slidestep = 0;
    quint64 m_tourRestarts = 0; // counts StartSlideShow runs

    QString m_openError;       // why the database could not be opened at creation
    bool m_failureShown = false; // one message per run of failures, not one per tab change
    bool m_shownOnce = false;
};
