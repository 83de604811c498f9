#pragma once

#include <QStyledItemDelegate>

// Paints a drop-down button at the right end of every cell of the column it is set on, and keeps a
// cell editor clear of that button so the button stays usable while the cell is being typed into.
// The delegate only draws; the view's owner decides what a press on the button does.
class DropDownDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The button's rectangle within a cell's rectangle.
    static QRect buttonRect(const QRect &cell);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
};
