#pragma once

#include "ScriptedDialogs.h"
#include "TestFolder.h"

#include "app/MainWindow.h"

#include <QSqlQuery>
#include <memory>

// The main window as the widget tests drive it: a throw-away program folder, dialogs answered by
// script, and the window shown and active, so that keys reach its menu shortcuts.
class WindowFixture
{
public:
    explicit WindowFixture(TestFolder::Contents contents = TestFolder::Contents::Ready) : m_folder(contents) {}

    // Makes the window, after replacing the database with slotCount open slots when slotCount > 0.
    // dialogs answers the window's questions instead of the fixture's own. False when a step failed.
    bool open(int slotCount = 0, ScriptedDialogs *dialogs = nullptr);

    TestFolder &folder() { return m_folder; }
    ScriptedDialogs &dialogs() { return *m_dialogs; }
    MainWindow &window() { return *m_window; }

    // Closes and deletes the window, which lets go of the database file; the folder stays.
    void closeWindow() { m_window.reset(); }

    // Runs a statement on the window's own connection, as an edit through a grid would.
    QSqlQuery sql(const QString &statement);

private:
    TestFolder m_folder;
    ScriptedDialogs m_ownDialogs;
    ScriptedDialogs *m_dialogs = &m_ownDialogs;
    std::unique_ptr<MainWindow> m_window;
};
