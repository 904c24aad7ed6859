// The table view of the winning-data entry view.
#pragma once

#include <QTableView>

namespace rumone {

class EntryGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int kDesignVisibleRows = 50;
    static constexpr int kLeastVisibleRows = 3;
    static constexpr int kNumberColumnChars = 5;
    static constexpr int kDigitColumnChars = 7;
    static constexpr int kDateColumnChars = 19;
    static constexpr int kRowHeightUnits = 10;  // 1/64 inch each

    explicit EntryGrid(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // Pixels of a column `chars` characters of the grid font wide.
    int charsToPx(int chars) const;
    int rowHeightPx() const;
    // Fixed width: the five columns and the vertical scroll bar side by
    // side; `height` high, or the heading and kLeastVisibleRows rows where
    // that is more.
    void fitToHeight(int height);
    // The heading and kDesignVisibleRows rows: the height at the view's
    // design size.
    int designHeight() const;
    // Enter: the cell to the right, then the first digit of the next row.
    void moveToNextCell();
    // The cell Enter or Tab moves to from `current`: invalid after the last
    // digit of the last row, where the cursor stays.
    QModelIndex nextCell(const QModelIndex& current) const;
    // Makes `index` current and scrolls it into view.
    void showCell(const QModelIndex& index);
    // Scrolls to `fromEnd` scroll steps before the end: rows put in above
    // those shown leave the same rows in view.
    void keepEndDistance(int fromEnd);
    // Commits the cell being edited, if any.
    void finishEditing();
    bool isEditing() const { return state() == EditingState; }

signals:
    // A right click on a row with data, which has become the current row.
    void popupRequested(const QPoint& globalPos);
    // Typed or pasted input a digit cell does not take (a second character,
    // several digits at once); `note` says why, for the status line.
    void inputRefused(const QString& note);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Tab runs like Enter and never wraps to the first draw.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void applyLayout();
    // Delete or Backspace on a digit cell that is not being edited.
    bool clearCurrentDigit();
    void moveOnAfterTypedDigit();
    void rememberCurrent();
    void restoreCurrent();

    int savedRow_ = -1;
    int savedColumn_ = 1;
};

}  // namespace rumone
