#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QSpinBox>
#include <QUrl>
#include <utility>

namespace {

QMessageBox::Icon toQt(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void Dialogs::message(QWidget *parent, const QString &text, Icon icon)
{
    QMessageBox box(toQt(icon), title(), text, QMessageBox::Ok, parent);
    box.exec();
}

void Dialogs::messageWithDetail(QWidget *parent, const QString &text, const QString &detail, Icon icon)
{
    QMessageBox box(toQt(icon), title(), text, QMessageBox::Ok, parent);
    box.setInformativeText(detail);
    box.exec();
}

bool Dialogs::askYesNo(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> Dialogs::input(QWidget *parent, const QString &prompt)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, title(), prompt, QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

namespace {

QString runFileDialog(QWidget *parent, const QString &proposed, QFileDialog::AcceptMode acceptMode,
                      QFileDialog::FileMode fileMode, const QString &folder = QString(),
                      const QStringList &filters = QStringList())
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(acceptMode);
    dialog.setFileMode(fileMode);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        // A name typed without an extension takes the chosen filter's.
        const auto suffixOf = [](const QString &filter) {
            const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
            return m.hasMatch() ? m.captured(1) : QString();
        };
        if (acceptMode == QFileDialog::AcceptSave) {
            dialog.setDefaultSuffix(suffixOf(filters.constFirst()));
            QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                             [&dialog, suffixOf](const QString &filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
        }
    }
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString Dialogs::saveFileName(QWidget *parent, const QString &proposed)
{
    return runFileDialog(parent, proposed, QFileDialog::AcceptSave, QFileDialog::AnyFile, QString(),
                         std::exchange(m_nameFilters, {}));
}

QString Dialogs::openFileName(QWidget *parent, const QString &proposed, const QString &folder,
                              const QStringList &filters)
{
    // Filters given with the call come first; otherwise those set for this next dialog.
    return runFileDialog(parent, proposed, QFileDialog::AcceptOpen, QFileDialog::ExistingFile, folder,
                         filters.isEmpty() ? std::exchange(m_nameFilters, {}) : filters);
}

QString Dialogs::folderName(QWidget *parent, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, title(), start);
}

QPrinterInfo Dialogs::defaultPrinter()
{
    return QPrinterInfo::defaultPrinter();
}

std::optional<Dialogs::ServerLogin> Dialogs::serverLogin(QWidget *parent, const ServerLogin &proposed,
                                                         const QString &note)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmShared"));
    dialog.setWindowTitle(title());
    auto *form = new QFormLayout(&dialog);
    auto *noteLabel = new QLabel(note, &dialog);
    noteLabel->setWordWrap(true);
    form->addRow(noteLabel);
    const QUrl proposedUrl(proposed.uri);
    auto *server = new QLineEdit(&dialog);
    server->setObjectName(QStringLiteral("txtServer"));
    server->setPlaceholderText(
        QCoreApplication::translate("Dialogs", "office-server, or a whole postgresql:// address"));
    // Wide enough for its hint in every language.
    server->setMinimumWidth(server->fontMetrics().horizontalAdvance(server->placeholderText()) + 32);
    server->setText(proposed.uri.isEmpty() ? QString() : proposed.uri);
    auto *port = new QSpinBox(&dialog);
    port->setObjectName(QStringLiteral("txtPort"));
    port->setRange(1, 65535);
    port->setValue(5432);
    auto *database = new QLineEdit(QStringLiteral("papyra"), &dialog);
    database->setObjectName(QStringLiteral("txtDatabase"));
    auto *user = new QLineEdit(qEnvironmentVariable("USER"), &dialog);
    user->setObjectName(QStringLiteral("txtUser"));
    auto *password = new QLineEdit(proposed.password, &dialog);
    password->setObjectName(QStringLiteral("txtPassword"));
    password->setEchoMode(QLineEdit::Password);
    auto *remember = new QCheckBox(QCoreApplication::translate("Dialogs", "Remember password (in ~/.pgpass)"), &dialog);
    remember->setObjectName(QStringLiteral("chkRemember"));
    form->addRow(QCoreApplication::translate("Dialogs", "&Server:"), server);
    form->addRow(QCoreApplication::translate("Dialogs", "P&ort:"), port);
    form->addRow(QCoreApplication::translate("Dialogs", "&Database:"), database);
    form->addRow(QCoreApplication::translate("Dialogs", "&User name:"), user);
    form->addRow(QCoreApplication::translate("Dialogs", "Pass&word:"), password);
    form->addRow(remember);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // A whole address in the first box stands for the other three.
    auto whole = [server] { return server->text().trimmed().startsWith(QLatin1String("postgres")); };
    auto follow = [=] {
        for (QWidget *w : std::initializer_list<QWidget *>{port, database, user})
            w->setEnabled(!whole());
    };
    QObject::connect(server, &QLineEdit::textChanged, &dialog, follow);
    follow();
    if (!proposed.uri.isEmpty())
        password->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    ServerLogin login;
    if (whole()) {
        login.uri = server->text().trimmed();
    } else {
        const QString host = server->text().trimmed();
        login.uri = QStringLiteral("postgresql://%1@%2:%3/%4")
                        .arg(QString::fromLatin1(QUrl::toPercentEncoding(user->text().trimmed())),
                             host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host)
                        .arg(port->value())
                        .arg(QString::fromLatin1(QUrl::toPercentEncoding(database->text().trimmed())));
    }
    login.password = password->text();
    login.rememberPassword = remember->isChecked();
    return login;
}
