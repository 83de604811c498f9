#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// The command-line options besides starting the window.
namespace CommandLine {

// papyra --create-shared-index URI [FILE]: makes the shared index in the database URI names, filled
// from FILE (default: the empty template in the program folder). Says what it did on out, or why
// not on err; the exit status.
int createSharedIndex(const QStringList &arguments, const QString &programFolder, QTextStream &out, QTextStream &err);

// papyra --index URI: the index to work on from now on, remembered as the menu choice is. False
// with the reason when URI is not an address Papyra can use.
bool chooseIndex(const QString &uri, const QString &settingsPath, QString *error);

} // namespace CommandLine
