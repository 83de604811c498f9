#pragma once

#include <QPageLayout>
#include <QString>
#include <memory>

class Dialogs;
class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;
class QSaveFile;
class QWidget;

// Where a print job's pages go: the default printer or, on a machine without one, a PDF file that
// the user names. The PDF is written beside its target and renamed over it only when complete, so a
// failed job never replaces an older file with a broken one. The job tells the user about its own
// failures; the caller only paints on device().
class PrintJob
{
public:
    // what names the document in messages, for example "the database report".
    PrintJob(QWidget *parent, Dialogs *dialogs, const QString &what);
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    // Prepares the pages. Without a printer it says so and offers a PDF file instead. False when
    // the user declines or cancels, or the target cannot be used (already reported).
    bool start(const QString &proposedPdfName, QPageLayout::Orientation orientation);

    QPagedPaintDevice *device() const;

    // Completes the job once painting has ended; painted is false when the painting failed, with
    // paintError saying why. True when the pages went out; otherwise errorString() says why.
    bool finish(bool painted, const QString &paintError = QString());
    QString errorString() const { return m_error; }
    // Tells the user that the job failed and why.
    void reportFailure();
    // Drops the job: nothing reaches the printer and no file is written.
    void cancel();

private:
    bool failStart(const QString &error);

    QWidget *m_parent;
    Dialogs *m_dialogs;
    QString m_what;
    QString m_pdfPath;
    QString m_error;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QSaveFile> m_pdfFile;
    std::unique_ptr<QPdfWriter> m_pdfWriter; // writes into m_pdfFile, so it goes first
};
