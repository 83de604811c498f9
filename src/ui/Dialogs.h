#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QPrinterInfo;
class QWidget;

// Every message box, the input box, the file dialogs and the choice of printer go through this seam. The program uses
// this class as it is (real Qt dialogs titled "Papyra"); tests derive from it and answer in advance.
class Dialogs
{
public:
    enum class Icon { None, Information, Warning, Critical };

    virtual ~Dialogs() = default;

    static QString title() { return QStringLiteral("Papyra"); }

    // A message with an OK button only.
    virtual void message(QWidget *parent, const QString &text, Icon icon = Icon::None);
    // The same with a second, smaller text under the first.
    virtual void messageWithDetail(QWidget *parent, const QString &text, const QString &detail, Icon icon = Icon::None);
    // Yes and No, no icon; true for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &text);
    // A one-line input box with OK and Cancel; nullopt for Cancel.
    virtual std::optional<QString> input(QWidget *parent, const QString &prompt);
    // File dialogs proposing a file name; an empty result means the user cancelled. The open dialog
    // may start in a folder and offer name filters ("Papyra backups (*.bkp *.mdb)"), the first chosen.
    virtual QString saveFileName(QWidget *parent, const QString &proposed);
    virtual QString openFileName(QWidget *parent, const QString &proposed, const QString &folder = QString(),
                                 const QStringList &filters = QStringList());
    // A folder dialog starting in start; an empty result means the user cancelled.
    virtual QString folderName(QWidget *parent, const QString &start);
    // Where a shared index lies and who connects: a postgresql:// URI (built from server, port,
    // database and user name, or typed whole), a password for this session, and whether libpq's
    // password file should keep it.
    struct ServerLogin {
        QString uri;
        QString password;
        bool rememberPassword = false;
    };
    // The form asking for it, proposing what proposed holds; nullopt for Cancel.
    virtual std::optional<ServerLogin> serverLogin(QWidget *parent, const ServerLogin &proposed, const QString &note);
    // Name filters ("CSV file (*.csv)") for the next file dialog only; the first is chosen at the start.
    void setNextNameFilters(const QStringList &filters) { m_nameFilters = filters; }
    // The printer a print job goes to; a null printer when none is installed. Tests answer "none",
    // so they see the pages as a PDF file whatever printers the machine has.
    virtual QPrinterInfo defaultPrinter();

private:
    QStringList m_nameFilters;
};
