#include "about/AboutBox.h"

#include "about/SystemInfo.h"
#include "ui/Artwork.h"
#include "ui/Fonts.h"
#include "ui/Twips.h"

#include "Version.h"

#include <QLabel>
#include <QPushButton>

namespace {

QLabel *addLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// One stroke of the etched separator: a grey line with a white line just below it.
void addLine(QWidget *parent, const char *name, const QRect &geometry, const QColor &color)
{
    auto *line = new QWidget(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setGeometry(geometry);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, color);
    line->setPalette(palette);
    line->setAutoFillBackground(true);
}

void setTextColor(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

} // namespace

QString AboutBox::disclaimer()
{
    return tr("Warning: this program is protected by copyright. Do not copy it or pass it on without the consent of "
              "its maker.");
}

AboutBox::AboutBox(Dialogs *dialogs, QWidget *parent, SystemInfo::Host *host)
    : QDialog(parent), m_dialogs(dialogs), m_host(host)
{
    if (!m_host) {
        m_ownHost = SystemInfo::platformHost();
        m_host = m_ownHost.get();
    }
    setObjectName(QStringLiteral("frmAbout"));
    // A fixed dialog border: no minimise or maximise button, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Twips::size(5655, 3585));
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setGeometry(Twips::rect(240, 240, 540, 540));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    icon->setPixmap(Artwork::iconPixmap(32));

    QLabel *title = addLabel(this, "lblTitle", QString(), Twips::rect(1050, 240, 3885, 480));
    title->setFont(designFont(QStringLiteral("Arial"), 14.25));
    setTextColor(title, Qt::red);
    QLabel *version = addLabel(this, "lblVersion", QString(), Twips::rect(1050, 780, 3885, 225));
    QLabel *description = addLabel(
        this, "lblDescription",
        tr("Papyra \u2122  is an easy to use file tracking system that will make your life easier in minutes!"),
        Twips::rect(1050, 1125, 3885, 1170));
    description->setFont(designFont(QStringLiteral("Arial"), 8.25));
    description->setWordWrap(true);
    setTextColor(description, Qt::black);

    addLine(this, "Line1(1)", QRect(Twips::toPixels(90), Twips::toPixels(2445), Twips::toPixels(5654 - 90), 1),
            QColor(128, 128, 128));
    addLine(this, "Line1(0)", QRect(Twips::toPixels(105), Twips::toPixels(2460), Twips::toPixels(5654 - 105), 2),
            Qt::white);

    QLabel *warning = addLabel(this, "lblDisclaimer", disclaimer(), Twips::rect(255, 2625, 3870, 825));
    warning->setWordWrap(true);
    setTextColor(warning, Qt::black);

    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(Twips::rect(4245, 2625, 1260, 345));
    ok->setDefault(true);
    auto *sysInfo = new QPushButton(tr("&System Info..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfo->setGeometry(Twips::rect(4260, 3075, 1245, 345));
    setTabOrder(ok, sysInfo);
    ok->setFocus();

    // Enter presses OK as the default button; Esc rejects the dialog, which closes it the same way.
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfo, &QPushButton::clicked, this, &AboutBox::StartSysInfo);

    setWindowTitle(tr("About Papyra (TM)"));
    version->setText(versionText());
    title->setText(QStringLiteral("Papyra \u2122"));
}

AboutBox::~AboutBox() = default;

void AboutBox::showModal(Dialogs *dialogs, QWidget *parent)
{
    AboutBox box(dialogs, parent);
    box.exec();
}

void AboutBox::StartSysInfo()
{
    SystemInfo::StartSysInfo(*m_host, m_dialogs, this);
}

QString AboutBox::versionText()
{
    return tr("Version %1.%2.%3").arg(PAPYRA_VERSION_MAJOR).arg(PAPYRA_VERSION_MINOR).arg(PAPYRA_VERSION_PATCH);
}
