#pragma once

#include "ui/Dialogs.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <QVector>
#include <memory>

class MainWindow;
class QWidget;

// One state of the real program, set up for a picture: a throw-away program folder whose database
// holds the given slots, the real main window over it, and a grab of that window.
class Scene
{
public:
    struct Slot {
        int number;
        QString keywords;
        QString category;
        QString reminder; // yyyy-MM-dd or empty
    };

    explicit Scene(const QVector<Slot> &entries = {});
    ~Scene();

    bool isValid() const { return m_window != nullptr; }
    MainWindow &window() { return *m_window; }
    QString programFolder() const { return m_dir.path(); }

    // Lists the slots holding word in their keywords, category or reminder on the Search Results
    // tab, as the keyword search does, with the word left in the search box.
    void showSearchResults(const QString &word);
    // Opens the cell editor of a slot's Keywords (or other) cell holding typed, as after typing.
    void typeIntoCell(int row, const QString &field, const QString &typed);

    // The window as the user sees it, with a plain title bar drawn above the client area.
    QImage shot();
    // Where a control of the window lies in shot().
    QRect where(const QWidget *widget) const;
    QRect where(const QString &objectName) const;
    // Where a cell, or with row -1 a column heading, of a grid lies in shot().
    QRect whereCell(const QString &gridName, int row, int column) const;

    // A window or dialog with the same plain title bar as shot().
    static QImage framed(const QImage &client, const QString &title);

    static constexpr int titleBarHeight = 24;

private:
    QTemporaryDir m_dir;
    Dialogs m_dialogs;
    std::unique_ptr<MainWindow> m_window;
};
