// Draws and edits the cells of the entry grid.
#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace rumone {

// Pixels on each side of a cell's text, as in the grid widget.
inline constexpr int kEntryCellPadding = 2;

// Draws every cell of the grid and edits the digit cells: one character
// 0-9 or ０-９, or an empty cell. A second character, or a paste of more
// than one, is refused whole (never cut to its first digit) and reported
// through inputRefused. A stored value that is no single digit shows
// greyed in the empty editor; only what the user changed is written.
class DigitCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

signals:
    void inputRefused(const QString& note);

private:
    const QStaticText& laidOut(const QString& text, const QFont& font) const;

    mutable QHash<QString, QStaticText> texts_;
    mutable QFont textFont_;
};

}  // namespace rumone
