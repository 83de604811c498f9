#include "print/LabelsDialog.h"

#include "ui/Dialogs.h"
#include "ui/Fonts.h"
#include "ui/Twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <numeric>

namespace {

template <typename T> T *place(T *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

} // namespace

QString LabelsDialog::notFoundMessage()
{
    return tr("Sorry! Could not find label definitions. Please contact support for a new labels definition file.");
}

QString LabelsDialog::badFileMessage()
{
    return tr("Sorry! Bad label definition file. Please contact support for a new labels definition file.");
}

LabelsDialog::LabelsDialog(const QString &programFolder, Dialogs *dialogs, QWidget *parent)
    : QDialog(parent), m_programFolder(programFolder), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmLabels"));
    setWindowTitle(tr("Papyra! Labels"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // Wider than the first design by a column on the right for the code and the listed folders.
    setFixedSize(Twips::size(8820, 3975));
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8));

    // Created in tab order.
    m_cmdCancel = place(new QPushButton(tr("Cancel"), this), "cmdCancel", Twips::rect(3660, 3435, 1095, 375));
    m_cmdApply = place(new QPushButton(tr("Print"), this), "cmdApply", Twips::rect(4860, 3435, 1095, 375));
    m_cmdApply->setDefault(true);
    m_lstLabels = place(new QListWidget(this), "lstLabels", Twips::rect(480, 600, 4935, 1620));
    m_lstLabels->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstLabels->setAccessibleName(tr("Label type"));
    place(new QLabel(tr("Label Type:"), this), "Label1(0)", Twips::rect(480, 360, 855, 255));
    m_txtStart = place(new QLineEdit(QStringLiteral("1"), this), "txtStart", Twips::rect(2340, 2400, 735, 285));
    m_txtEnd = place(new QLineEdit(this), "txtEnd", Twips::rect(2340, 2880, 735, 285));
    auto *startCaption =
        place(new QLabel(tr("Start label numbering at"), this), "Label1(1)", Twips::rect(60, 2460, 2175, 255));
    startCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *countCaption =
        place(new QLabel(tr("Print a total of"), this), "Label1(2)", Twips::rect(600, 2940, 1575, 255));
    countCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_optMode[0] = place(new QRadioButton(tr("Labels"), this), "optMode(0)", Twips::rect(3300, 2940, 795, 195));
    m_optMode[1] = place(new QRadioButton(tr("Pages"), this), "optMode(1)", Twips::rect(4140, 2940, 975, 195));
    auto *modes = new QButtonGroup(this);
    modes->addButton(m_optMode[0], 0);
    modes->addButton(m_optMode[1], 1);
    m_optMode[0]->setChecked(true);

    place(new QLabel(tr("Code:"), this), "lblCode", Twips::rect(5640, 345, 1455, 240));
    m_cboCode = place(new QComboBox(this), "cboCode", Twips::rect(5640, 600, 2910, 315));
    m_cboCode->addItems(LabelCode::kindNames());
    m_cboCode->setAccessibleName(tr("Code on each label"));
    place(new QLabel(tr("Code prefix:"), this), "lblPrefix", Twips::rect(5640, 1065, 1455, 240));
    m_txtPrefix = place(new QLineEdit(this), "txtPrefix", Twips::rect(5640, 1320, 1455, 285));
    m_txtPrefix->setAccessibleName(tr("Code prefix"));
    m_txtPrefix->setToolTip(tr("Printed before the number in the code; with ASN the number has 5 digits"));
    m_chkListed = place(new QCheckBox(tr("Only the folders in Search Results"), this), "chkListed",
                        Twips::rect(5640, 2430, 3060, 255));
    connect(m_chkListed, &QCheckBox::toggled, this, [this](bool listed) {
        for (QWidget *run : std::initializer_list<QWidget *>{m_txtStart, m_txtEnd, m_optMode[0], m_optMode[1]})
            run->setEnabled(!listed);
    });

    // One font for every text of the dialog, narrowed as little as the longest caption needs.
    const QList<QWidget *> captions{findChild<QLabel *>(QStringLiteral("Label1(0)")),
                                    startCaption,
                                    countCaption,
                                    m_optMode[0],
                                    m_optMode[1],
                                    findChild<QLabel *>(QStringLiteral("lblCode")),
                                    findChild<QLabel *>(QStringLiteral("lblPrefix")),
                                    m_chkListed};
    const auto fits = [&captions] {
        return std::all_of(captions.begin(), captions.end(),
                           [](QWidget *caption) { return caption->sizeHint().width() <= caption->width(); });
    };
    QFont shared = font();
    for (int stretch = 96; stretch >= 60 && !fits(); stretch -= 4) {
        shared.setStretch(stretch);
        setFont(shared);
    }
    // Where a font cannot be narrowed (a bitmap font, a font engine that ignores the stretch), a
    // smaller size keeps every caption whole.
    for (qreal size = shared.pointSizeF() - 0.5; size >= 5 && !fits(); size -= 0.5) {
        shared.setPointSizeF(size);
        setFont(shared);
    }

    QWidget *order[] = {m_cmdCancel,  m_cmdApply,   m_lstLabels, m_txtStart,  m_txtEnd,
                        m_optMode[0], m_optMode[1], m_cboCode,   m_txtPrefix, m_chkListed};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_cmdCancel->setFocus();

    // Esc rejects the dialog as Cancel does; Enter presses Print, the default button.
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_cmdApply, &QPushButton::clicked, this, &LabelsDialog::print);
}

void LabelsDialog::showModal(const QString &programFolder, Dialogs *dialogs, QWidget *parent, const PrintHandler &print,
                             const QVector<LabelLayout::Folder> &listed)
{
    LabelsDialog dialog(programFolder, dialogs, parent);
    dialog.setPrintHandler(print);
    dialog.setListed(listed);
    if (dialog.LoadDefs())
        dialog.exec();
}

bool LabelsDialog::LoadDefs()
{
    m_definitions.clear();
    m_lstLabels->clear();
    const LabelDefinitions::Result result =
        LabelDefinitions::read(QDir(m_programFolder).filePath(LabelDefinitions::fileName));
    QWidget *owner = parentWidget() ? parentWidget() : this;
    switch (result.status) {
    case LabelDefinitions::Status::NotOpened:
        m_dialogs->message(owner, notFoundMessage());
        return false;
    case LabelDefinitions::Status::Bad:
        m_dialogs->message(owner, badFileMessage());
        return false;
    case LabelDefinitions::Status::Read:
        break;
    }
    m_definitions = result.definitions;
    for (const LabelDefinition &definition : m_definitions)
        m_lstLabels->addItem(definition.name);
    return true;
}

void LabelsDialog::print()
{
    QString error;
    QWidget *field = nullptr;
    const std::optional<Run> run = checkedRun(&error, &field);
    if (!run) {
        m_dialogs->message(this, error, Dialogs::Icon::Warning);
        field->setFocus();
        if (auto *edit = qobject_cast<QLineEdit *>(field))
            edit->selectAll();
        return;
    }
    if (m_print && m_print(*run))
        accept();
}

std::optional<LabelsDialog::Run> LabelsDialog::checkedRun(QString *error, QWidget **field)
{
    auto refuse = [&](QWidget *control, const QString &message) -> std::optional<Run> {
        *error = message;
        *field = control;
        return std::nullopt;
    };
    const int row = m_lstLabels->currentRow();
    const bool chosen = row >= 0 && row < m_definitions.size() && m_lstLabels->item(row)->isSelected();
    std::optional<LabelLayout::Sheet> sheet;
    if (chosen) {
        QString why;
        sheet = LabelLayout::sheetFor(m_definitions.at(row), &why);
        if (!sheet)
            return refuse(m_lstLabels, why);
    }
    Run run;
    if (m_chkListed->isChecked()) {
        if (!sheet)
            return refuse(m_lstLabels, tr("Please choose a label type from the list."));
        if (m_listed.isEmpty())
            return refuse(m_chkListed, tr("The Search Results tab lists no folders. Please search for "
                                          "the folders first, or print a run of numbers."));
        const int most = LabelLayout::maxSheets * sheet->labelsPerSheet();
        if (m_listed.size() > most)
            return refuse(m_chkListed, tr("The Search Results tab lists %1 folders; at most %2 labels "
                                          "(%3 pages of this label type) are printed at a time.")
                                           .arg(m_listed.size())
                                           .arg(most)
                                           .arg(LabelLayout::maxSheets));
        run.keywordsGiven = true;
        for (const LabelLayout::Folder &folder : m_listed) {
            run.numbers.append(folder.number);
            if (!folder.keywords.simplified().isEmpty())
                run.keywords.insert(folder.number, folder.keywords.simplified());
        }
    } else {
        const LabelLayout::Request request =
            LabelLayout::checkRequest(sheet, m_txtStart->text(), m_txtEnd->text(), m_optMode[1]->isChecked());
        if (!request.ok())
            return refuse(findChild<QWidget *>(request.field), request.error);
        run.numbers.resize(request.count);
        std::iota(run.numbers.begin(), run.numbers.end(), request.start);
    }
    run.sheet = *sheet;
    run.code.kind = LabelCode::Kind(qMax(0, m_cboCode->currentIndex()));
    run.code.prefix = m_txtPrefix->text().trimmed();
    if (!LabelCode::isValidPrefix(run.code.prefix))
        return refuse(m_txtPrefix, tr("Please enter a code prefix of up to 10 letters, digits, \"-\", "
                                      "\".\" or \"/\" that begins with a letter, or leave it empty."));
    const QString tooSmall = LabelPainter::checkCodes(run.sheet, run.numbers, run.code);
    if (!tooSmall.isEmpty())
        return refuse(m_cboCode, tooSmall);
    return run;
}
