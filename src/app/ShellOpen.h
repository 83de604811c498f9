#pragma once

#include <QString>

// The support web page that the Help menu opens.
inline const QString supportPageAddress = QStringLiteral("https://www.papyra.example/customersupport.html");

// Hands a web address or a file name to the desktop's "open" action (for a web address, the
// user's browser). Whether the desktop manages it is not examined and nothing is reported.
void ShellOpen(const QString &document);
