#pragma once

class QWidget;

// The Edit menu: each command does in the focused control exactly what its standard key does there.
namespace EditCommands {

enum class Command { Undo, Cut, Copy, Paste };

// Hands the command's keystroke (Ctrl+Z, X, C, V) straight to target. Text boxes and cell editors
// then use their own undo and the clipboard; buttons and the tab strip ignore it. The keystroke
// goes to the control itself, never through the menu shortcuts, so one command acts once.
void send(QWidget *target, Command command);

} // namespace EditCommands
