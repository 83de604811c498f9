#include "ui/DropDownDelegate.h"

#include <QApplication>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>

namespace {

QStyle *styleOf(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

} // namespace

QRect DropDownDelegate::buttonRect(const QRect &cell)
{
    const int width = std::min(cell.height(), 18);
    return QRect(cell.right() - width + 1, cell.top(), width, cell.height());
}

void DropDownDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QRect button = buttonRect(option.rect);
    QStyleOptionViewItem text = option;
    text.rect.setRight(button.left() - 1);
    QStyledItemDelegate::paint(painter, text, index);

    QStyle *style = styleOf(option);
    QStyleOptionButton bevel;
    bevel.initFrom(option.widget);
    bevel.rect = button.adjusted(1, 1, -1, -1);
    bevel.state = QStyle::State_Enabled | QStyle::State_Raised;
    style->drawPrimitive(QStyle::PE_PanelButtonBevel, &bevel, painter, option.widget);
    QStyleOption arrow;
    arrow.initFrom(option.widget);
    arrow.rect = bevel.rect.adjusted(3, 3, -3, -3);
    arrow.state = QStyle::State_Enabled;
    style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter, option.widget);
}

QWidget *DropDownDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    m_editing = index;
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (line && m_completionModel) {
        auto *completer = new QCompleter(m_completionModel, line);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setCompletionMode(QCompleter::InlineCompletion);
        line->setCompleter(completer);
    }
    return editor;
}

void DropDownDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (line && m_completionModel && m_completionModel->rowCount() > 0) {
        const QModelIndexList listed = m_completionModel->match(m_completionModel->index(0, 0), Qt::DisplayRole,
                                                                line->text(), 1, Qt::MatchFixedString);
        if (!listed.isEmpty() && !line->text().isEmpty()) {
            model->setData(index, listed.constFirst().data());
            return;
        }
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

bool DropDownDelegate::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier) && m_editing.isValid()) {
            emit dropDownRequested(m_editing);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

void DropDownDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                            const QModelIndex &index) const
{
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    QRect area = editor->geometry();
    area.setRight(std::min(area.right(), buttonRect(option.rect).left() - 1));
    editor->setGeometry(area);
}
