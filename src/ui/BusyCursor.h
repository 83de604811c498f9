#pragma once

#include <QCursor>
#include <QGuiApplication>

// The busy (hourglass) pointer for the lifetime of the guard, so every return path restores it.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { restore(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

    // Gives the default pointer back early, before a message box for example.
    void restore()
    {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
        m_active = false;
    }

private:
    bool m_active = true;
};
