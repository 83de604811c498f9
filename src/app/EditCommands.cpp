#include "app/EditCommands.h"

#include <QKeyEvent>
#include <QWidget>

namespace EditCommands {

void send(QWidget *target, Command command)
{
    if (!target)
        return;
    Qt::Key key = Qt::Key_Z;
    switch (command) {
    case Command::Undo:
        key = Qt::Key_Z;
        break;
    case Command::Cut:
        key = Qt::Key_X;
        break;
    case Command::Copy:
        key = Qt::Key_C;
        break;
    case Command::Paste:
        key = Qt::Key_V;
        break;
    }
    // Handed to the control's own event handler, not through QCoreApplication::sendEvent: Qt runs a
    // sent key press through the shortcut map first, which would trigger this same menu item again.
    // No text in the event, so a grid does not take the keystroke for typing that opens a cell editor.
    QObject *receiver = target;
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    receiver->event(&press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
    receiver->event(&release);
}

} // namespace EditCommands
