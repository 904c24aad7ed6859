#include "gui/grid/GridAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <mutex>
#include <unordered_map>

#include "core/grid/ResultGrid.h"
#include "gui/grid/GridWidget.h"

namespace rumone {

namespace {

class GridTable;

// One cell, at 0-based row and column of the table. It reads the grid
// whenever it is asked, so that it never tells an old text.
class GridCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCell(GridWidget* grid, int row, int column) : grid_(grid), row_(row), column_(column) {}

    bool isValid() const override
    {
        return grid_ && grid_->grid() && row_ < grid_->grid()->rows() && column_ < grid_->grid()->columns();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(grid_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value))
            return {};
        return QString::fromStdString(grid_->grid()->getText(column_ + 1, row_ + 1));
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = grid_->cellRect(column_ + 1, row_ + 1);
        return QRect(grid_->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override
    {
        if (!isValid())
            return QAccessible::Cell;
        if (row_ < grid_->grid()->frozenRows())
            return QAccessible::ColumnHeader;
        if (column_ < grid_->grid()->frozenColumns())
            return QAccessible::RowHeader;
        return QAccessible::Cell;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.focusable = true;
        s.selectable = true;
        s.readOnly = true;
        s.selected = isSelected();
        s.focused = grid_ && grid_->currentColumn() == column_ + 1 && grid_->currentRow() == row_ + 1;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override
    {
        if (!grid_)
            return false;
        const CellRange s = grid_->selection();
        return !s.empty() && column_ + 1 >= s.col1 && column_ + 1 <= s.col2 && row_ + 1 >= s.row1 && row_ + 1 <= s.row2;
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<GridWidget> grid_;
    int row_, column_;
};

class GridTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridTable(GridWidget* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~GridTable() override
    {
        for (const auto& [key, id] : cells_)
            QAccessible::deleteAccessibleInterface(id);
    }

    GridWidget* gridWidget() const { return static_cast<GridWidget*>(widget()); }
    const ResultGrid* model() const { return gridWidget()->grid(); }

    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override
    {
        const int columns = columnCount();
        return columns > 0 && index >= 0 ? cellAt(index / columns, index % columns) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child || child->role() == QAccessible::ScrollBar)
            return -1;
        auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        return cell ? cell->rowIndex() * columnCount() + cell->columnIndex() : -1;
    }
    QAccessibleInterface* focusChild() const override
    {
        const GridWidget* g = gridWidget();
        return g->currentColumn() > 0 ? cellAt(g->currentRow() - 1, g->currentColumn() - 1) : nullptr;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
            return nullptr;
        const long long key = static_cast<long long>(row) * 65536 + column;
        if (const auto it = cells_.find(key); it != cells_.end())
            if (QAccessibleInterface* known = QAccessible::accessibleInterface(it->second))
                return known;
        auto* cell = new GridCell(gridWidget(), row, column);
        cells_[key] = QAccessible::registerAccessibleInterface(cell);
        return cell;
    }
    int columnCount() const override { return model() ? model()->columns() : 0; }
    int rowCount() const override { return model() ? model()->rows() : 0; }
    int selectedCellCount() const override
    {
        const CellRange s = gridWidget()->selection();
        return s.empty() ? 0 : (s.col2 - s.col1 + 1) * (s.row2 - s.row1 + 1);
    }
    int selectedColumnCount() const override { return static_cast<int>(selectedColumns().size()); }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    QString columnDescription(int column) const override
    {
        return model() && model()->frozenRows() > 0
                   ? QString::fromStdString(model()->getText(column + 1, model()->frozenRows()))
                   : QString();
    }
    QString rowDescription(int row) const override
    {
        return model() && model()->frozenColumns() > 0 ? QString::fromStdString(model()->getText(1, row + 1))
                                                       : QString();
    }
    QList<int> selectedColumns() const override
    {
        QList<int> out;
        const CellRange s = gridWidget()->selection();
        if (!s.empty() && s.row1 <= 1 && s.row2 >= rowCount())
            for (int c = s.col1; c <= s.col2; ++c)
                out.push_back(c - 1);
        return out;
    }
    QList<int> selectedRows() const override
    {
        QList<int> out;
        const CellRange s = gridWidget()->selection();
        if (!s.empty() && s.col1 <= 1 && s.col2 >= columnCount())
            for (int r = s.row1; r <= s.row2; ++r)
                out.push_back(r - 1);
        return out;
    }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> out;
        const CellRange s = gridWidget()->selection();
        constexpr int kMostListed = 10000;  // a screen reader asks for a block, not a table
        for (int r = s.row1; r <= s.row2 && out.size() < kMostListed; ++r)
            for (int c = s.col1; c <= s.col2 && out.size() < kMostListed; ++c)
                out.push_back(cellAt(r - 1, c - 1));
        return out;
    }
    bool isColumnSelected(int column) const override { return selectedColumns().contains(column); }
    bool isRowSelected(int row) const override { return selectedRows().contains(row); }
    bool selectRow(int row) override
    {
        gridWidget()->selectBlock(1, row + 1, columnCount(), row + 1);
        return true;
    }
    bool selectColumn(int column) override
    {
        gridWidget()->selectBlock(column + 1, 1, column + 1, rowCount());
        return true;
    }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    mutable std::unordered_map<long long, QAccessible::Id> cells_;
};

GridTable* tableOf(const QPointer<GridWidget>& grid)
{
    return grid ? dynamic_cast<GridTable*>(QAccessible::queryAccessibleInterface(grid.data())) : nullptr;
}

QList<QAccessibleInterface*> GridCell::columnHeaderCells() const
{
    QList<QAccessibleInterface*> out;
    GridTable* table = tableOf(grid_);
    if (!table || !isValid() || row_ < grid_->grid()->frozenRows())
        return out;
    for (int r = 0; r < grid_->grid()->frozenRows(); ++r)
        if (grid_->grid()->hasText(column_ + 1, r + 1))
            out.push_back(table->cellAt(r, column_));
    return out;
}

QList<QAccessibleInterface*> GridCell::rowHeaderCells() const
{
    QList<QAccessibleInterface*> out;
    GridTable* table = tableOf(grid_);
    if (!table || !isValid() || column_ < grid_->grid()->frozenColumns())
        return out;
    for (int c = 0; c < grid_->grid()->frozenColumns(); ++c)
        if (grid_->grid()->hasText(c + 1, row_ + 1))
            out.push_back(table->cellAt(row_, c));
    return out;
}

QAccessibleInterface* gridFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("rumone::GridWidget") && object && object->isWidgetType())
        return new GridTable(static_cast<GridWidget*>(object));
    return nullptr;
}

}  // namespace

void installGridAccessibility()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(gridFactory); });
}

void announceCurrentCell(GridWidget& grid)
{
    if (!QAccessible::isActive() || grid.currentColumn() == 0 || grid.currentRow() == 0)
        return;
    GridTable* table = tableOf(&grid);
    if (!table)
        return;
    if (QAccessibleInterface* cell = table->cellAt(grid.currentRow() - 1, grid.currentColumn() - 1)) {
        QAccessibleEvent event(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace rumone
