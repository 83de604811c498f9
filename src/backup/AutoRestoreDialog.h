#pragma once

#include <QDialog>

class Dialogs;
class QLabel;
class QPushButton;
class QTreeWidget;

// frmAutoRestore: the automatic backups, newest first (when, how many folders filled), and Restore,
// which closes the dialog with the chosen one; the window restores it as Restore Backup does. The
// second folder for copies of the backups is chosen here too.
class AutoRestoreDialog : public QDialog
{
    Q_OBJECT
public:
    AutoRestoreDialog(const QString &dataFolder, Dialogs *dialogs, QWidget *parent = nullptr);

    QTreeWidget *list() const { return m_list; }
    QPushButton *restoreButton() const { return m_restore; }
    // The backup to restore, once the dialog is accepted.
    QString chosen() const { return m_chosen; }

    void chooseSecondFolder();

private:
    void showSecondFolder();

    QString m_dataFolder;
    Dialogs *m_dialogs;
    QTreeWidget *m_list;
    QPushButton *m_restore;
    QLabel *m_secondFolder;
    QString m_chosen;
};
