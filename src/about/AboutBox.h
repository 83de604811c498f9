#pragma once

#include <QDialog>
#include <memory>

class Dialogs;
class QLabel;
class QPushButton;

namespace SystemInfo {
class Host;
}

// frmAbout: the program's name, version and a short description, and a button that starts the
// operating system's system information tool.
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    static QString disclaimer();

    // host: where the system information tool is looked up; nullptr for the running system.
    AboutBox(Dialogs *dialogs, QWidget *parent = nullptr, SystemInfo::Host *host = nullptr);
    ~AboutBox() override;

    // The Help menu's About item: a fresh box, modal, destroyed when it closes.
    static void showModal(Dialogs *dialogs, QWidget *parent);

    void StartSysInfo();

    static QString versionText();

private:
    Dialogs *m_dialogs;
    std::unique_ptr<SystemInfo::Host> m_ownHost;
    SystemInfo::Host *m_host;
};
