#include "print/PrintJob.h"

#include "ui/Dialogs.h"
#include "ui/FreedMemory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

PrintJob::PrintJob(QWidget *parent, Dialogs *dialogs, const QString &what)
    : m_parent(parent), m_dialogs(dialogs), m_what(what)
{
}

PrintJob::~PrintJob()
{
    cancel();
}

bool PrintJob::start(const QString &proposedPdfName, QPageLayout::Orientation orientation)
{
    // Qt's PDF writer (also behind a printer here) drops large buffers page after page.
    FreedMemory::keep();
    const QPrinterInfo defaultPrinter = m_dialogs->defaultPrinter();
    if (!defaultPrinter.isNull()) {
        m_printer = std::make_unique<QPrinter>(defaultPrinter, QPrinter::HighResolution);
        m_printer->setDocName(QStringLiteral("Papyra"));
        m_printer->setPageOrientation(orientation);
        if (!m_printer->isValid())
            return failStart(QCoreApplication::translate("PrintJob", "The printer %1 cannot be used.")
                                 .arg(defaultPrinter.printerName()));
        return true;
    }

    if (!m_dialogs->askYesNo(m_parent,
                             QCoreApplication::translate("PrintJob", "No printer is installed.\n\n"
                                                                     "Do you want to save %1 as a PDF file instead?")
                                 .arg(m_what)))
        return false;
    const QString path = m_dialogs->saveFileName(m_parent, proposedPdfName);
    if (path.isEmpty())
        return false;
    m_pdfPath = path;
    m_pdfFile = std::make_unique<QSaveFile>(path);
    if (!m_pdfFile->open(QIODevice::WriteOnly))
        return failStart(m_pdfFile->errorString());
    m_pdfWriter = std::make_unique<QPdfWriter>(m_pdfFile.get());
    m_pdfWriter->setCreator(QStringLiteral("Papyra"));
    m_pdfWriter->setTitle(QFileInfo(path).completeBaseName());
    const QPageSize size(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                    : QPageSize::A4);
    // Half an inch all round, about what a printer cannot reach anyway.
    m_pdfWriter->setPageLayout(QPageLayout(size, orientation, QMarginsF(36, 36, 36, 36), QPageLayout::Point));
    return true;
}

QPagedPaintDevice *PrintJob::device() const
{
    if (m_pdfWriter)
        return m_pdfWriter.get();
    return m_printer.get();
}

bool PrintJob::failStart(const QString &error)
{
    m_error = error;
    reportFailure();
    cancel();
    return false;
}

bool PrintJob::finish(bool painted, const QString &paintError)
{
    m_error = paintError;
    if (m_pdfFile) {
        m_pdfWriter.reset();
        if (painted && !m_pdfFile->commit()) {
            painted = false;
            m_error = m_pdfFile->errorString();
        }
        m_pdfFile.reset(); // uncommitted: the temporary file goes and the target is left alone
    }
    m_printer.reset();
    FreedMemory::release();
    return painted;
}

void PrintJob::cancel()
{
    if (m_printer && m_printer->printerState() == QPrinter::Active)
        m_printer->abort();
    m_printer.reset();
    m_pdfWriter.reset();
    m_pdfFile.reset();
}

void PrintJob::reportFailure()
{
    QString text = m_pdfPath.isEmpty()
                       ? QCoreApplication::translate("PrintJob", "Papyra could not print %1.").arg(m_what)
                       : QCoreApplication::translate("PrintJob", "Papyra could not save %1 as the PDF file\n%2")
                             .arg(m_what, QDir::toNativeSeparators(m_pdfPath));
    if (!m_error.isEmpty())
        text += QStringLiteral("\n\n") + m_error;
    m_dialogs->message(m_parent, text, Dialogs::Icon::Warning);
}
