#include "ui/DropDownDelegate.h"

#include <QApplication>
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

void DropDownDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                            const QModelIndex &index) const
{
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    QRect area = editor->geometry();
    area.setRight(std::min(area.right(), buttonRect(option.rect).left() - 1));
    editor->setGeometry(area);
}
