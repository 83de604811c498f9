#include "ui/Dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QRegularExpression>
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
                      QFileDialog::FileMode fileMode, const QStringList &filters)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(acceptMode);
    dialog.setFileMode(fileMode);
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
    return runFileDialog(parent, proposed, QFileDialog::AcceptSave, QFileDialog::AnyFile,
                         std::exchange(m_nameFilters, {}));
}

QString Dialogs::openFileName(QWidget *parent, const QString &proposed)
{
    return runFileDialog(parent, proposed, QFileDialog::AcceptOpen, QFileDialog::ExistingFile,
                         std::exchange(m_nameFilters, {}));
}

QPrinterInfo Dialogs::defaultPrinter()
{
    return QPrinterInfo::defaultPrinter();
}
