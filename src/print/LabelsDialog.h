#pragma once

#include "print/LabelDefinitions.h"
#include "print/LabelLayout.h"
#include "print/LabelPainter.h"

#include <QDialog>
#include <QHash>
#include <functional>

class Dialogs;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// frmLabels: the label sheet type, the first label number and how many labels or pages to print,
// or the folders listed on Search Results; and the code each label carries.
class LabelsDialog : public QDialog
{
    Q_OBJECT
public:
    static QString notFoundMessage();
    static QString badFileMessage();

    // What Print asks for, checked.
    struct Run {
        LabelLayout::Sheet sheet;
        QVector<int> numbers;       // in print order
        bool keywordsGiven = false; // the listed folders: keywords holds theirs, nothing is to be read
        QHash<int, QString> keywords;
        LabelPainter::Code code;
    };
    // Prints the run; true when the pages went out (the dialog then closes).
    using PrintHandler = std::function<bool(const Run &run)>;

    LabelsDialog(const QString &programFolder, Dialogs *dialogs, QWidget *parent = nullptr);

    // The File menu's Print Labels item: a fresh dialog that reads labels.def and is shown modally,
    // unless reading failed, in which case the user has been told and nothing is shown. listed:
    // the folders on the Search Results tab, in their order.
    static void showModal(const QString &programFolder, Dialogs *dialogs, QWidget *parent, const PrintHandler &print,
                          const QVector<LabelLayout::Folder> &listed = {});

    void setPrintHandler(const PrintHandler &print) { m_print = print; }
    void setListed(const QVector<LabelLayout::Folder> &listed) { m_listed = listed; }

    // The Print button: checks the choices, tells the user what is wrong (focus on that control),
    // or hands the run to the print handler and closes after a successful print.
    void print();

    // Fills the list from labels.def in the program folder. On failure tells the user and returns
    // false: the dialog is then not to be shown.
    bool LoadDefs();

    const QVector<LabelDefinition> &definitions() const { return m_definitions; }
    QListWidget *labelList() const { return m_lstLabels; }
    QLineEdit *startNumber() const { return m_txtStart; }
    QLineEdit *count() const { return m_txtEnd; }
    QRadioButton *mode(int index) const { return m_optMode[index]; }
    QPushButton *printButton() const { return m_cmdApply; }
    QPushButton *cancelButton() const { return m_cmdCancel; }
    QComboBox *codeChoice() const { return m_cboCode; }
    QLineEdit *prefix() const { return m_txtPrefix; }
    QCheckBox *listedOnly() const { return m_chkListed; }

private:
    std::optional<Run> checkedRun(QString *error, QWidget **field);

    QString m_programFolder;
    Dialogs *m_dialogs;
    QVector<LabelDefinition> m_definitions;
    QVector<LabelLayout::Folder> m_listed;
    PrintHandler m_print;
    QPushButton *m_cmdCancel;
    QPushButton *m_cmdApply;
    QListWidget *m_lstLabels;
    QLineEdit *m_txtStart;
    QLineEdit *m_txtEnd;
    QRadioButton *m_optMode[2];
    QComboBox *m_cboCode;
    QLineEdit *m_txtPrefix;
    QCheckBox *m_chkListed;
};
