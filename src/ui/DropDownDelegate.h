#pragma once

#include <QStyledItemDelegate>

// Paints a drop-down button at the right end of every cell of the column it is set on, and keeps a
// cell editor clear of that button so the button stays usable while the cell is being typed into.
// The delegate only draws; the view's owner decides what a press on the button does, and what
// Alt+Down in the cell's editor does (dropDownRequested). With a completion list, the editor
// completes what is typed from it, case ignored, without forcing a choice from it.
class DropDownDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setCompletionModel(QAbstractItemModel *model) { m_completionModel = model; }
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // A text that is a listed one in another case takes the listed spelling.
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    // The button's rectangle within a cell's rectangle.
    static QRect buttonRect(const QRect &cell);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

signals:
    void dropDownRequested(const QModelIndex &index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractItemModel *m_completionModel = nullptr;
    mutable QPersistentModelIndex m_editing;
};
