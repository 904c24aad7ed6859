// The grid of the winning-data entry view: a table model over the editable
// draw set (every committed change goes straight to the file), the editor
// of a digit cell and the table view that shows them.
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <optional>
#include <string>
#include <vector>

#include "core/store/DrawStore.h"

namespace rumone {

// Column 0 is 回数, columns 1-4 are 第1数字 .. 第4数字.
class EntryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 5;

    explicit EntryTableModel(std::string connectionString, QObject* parent = nullptr);
    ~EntryTableModel() override;

    // Opens the edit set and shows its rows. Throws StoreError.
    void open();
    bool isOpen() const { return set_.has_value(); }
    // Reads the file again, e.g. after a refused write; keeps the rows it
    // has when the file cannot be read.
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A digit cell takes one digit 0-9 (half or full width) or nothing
    // (no value); it is written to the file before this returns.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The cell text as the grid shows it.
    QString cellText(int row, int column) const;
    const std::vector<EditRow>& rows() const;

    // Writes; each returns false and emits writeFailed when the file
    // refuses the change, which then leaves the file and the rows alone.
    bool insertRowAfter(int row);  // -1 inserts at the top
    bool removeRow(int row);
    // The counts of what was written; nothing when the import failed.
    std::optional<ImportCounts> importDraws(const std::vector<EditRow>& draws);
    std::size_t countExisting(const std::vector<EditRow>& draws) const;

signals:
    // `reread`: the file may hold something else than these rows (another
    // program changed it), so they should be read again.
    void writeFailed(const QString& message, bool reread);

private:
    void reportFailure(const QString& lead, const StoreError& e);

    std::string connectionString_;
    std::optional<DrawEditSet> set_;
    int shownRows_ = 0;  // the row count the views have been told
};

// Draws every cell of the grid and edits the digit cells: one character
// 0-9 or ０-９, or an empty cell. A stored value that is no single digit
// shows greyed in the empty editor; only what the user changed is written.
class DigitCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

class EntryGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int kVisibleRows = 50;
    static constexpr int kNumberColumnChars = 5;
    static constexpr int kDigitColumnChars = 7;
    static constexpr int kRowHeightUnits = 10;  // 1/64 inch each

    explicit EntryGrid(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // Pixels of a column `chars` characters of the grid font wide.
    int charsToPx(int chars) const;
    int rowHeightPx() const;
    // Fixed size: the five columns and the vertical scroll bar side by
    // side, the heading and 50 rows one above the other.
    void fitToVisibleRows();
    // Enter: the cell to the right, then the first digit of the next row.
    void moveToNextCell();
    // Commits the cell being edited, if any.
    void finishEditing();
    bool isEditing() const { return state() == EditingState; }

signals:
    // A right click on a row with data, which has become the current row.
    void popupRequested(const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void applyLayout();
    void rememberCurrent();
    void restoreCurrent();

    int savedRow_ = -1;
    int savedColumn_ = 1;
};

}  // namespace rumone
