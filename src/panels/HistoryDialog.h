#pragma once

#include <QDialog>

class Dialogs;
class QPushButton;
class QTreeWidget;
class RecordStore;

// frmHistory: the earlier values of one file slot, newest first, and Put Back, which writes the
// chosen version back as a new change (itself kept in the history, so it can be undone the same way).
class HistoryDialog : public QDialog
{
    Q_OBJECT
public:
    HistoryDialog(RecordStore *store, qint64 number, Dialogs *dialogs, QWidget *parent = nullptr);

    QTreeWidget *list() const { return m_list; }
    QPushButton *putBackButton() const { return m_putBack; }
    // Whether a version was put back while the dialog was open.
    bool changed() const { return m_changed; }

    // Reads the slot's versions afresh; false (and a message) when they cannot be read.
    bool reload();
    void putBack();

private:
    RecordStore *m_store;
    qint64 m_number;
    Dialogs *m_dialogs;
    QTreeWidget *m_list;
    QPushButton *m_putBack;
    bool m_changed = false;
};
