#include "core/analysis/interval/IntervalTable.h"

#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr int kColumns = 9;
constexpr int kVisibleRows = 52;
constexpr int kColumnWidth = 5;
constexpr int kTitleRowHeight = 15;
constexpr int kCaptionRowHeight = 12;
constexpr int kTitleColumn = 5;
constexpr int kDigitColumns[] = {2, 4, 6, 8};

}  // namespace

void buildIntervalView(ResultGrid& grid, const DrawHistory& history, const IntervalViewOperations& ops)
{
    ops.setup(grid, history);
    ops.writeHeader(grid, 1, 0);
    ops.writeHeader(grid, grid.rows() - 1, -1);
    ops.fill(grid, history);
}

int intervalTableRows(const DrawHistory& history)
{
    return static_cast<int>(history.storedRows().size()) + 4;
}

void setupNineColumnTable(ResultGrid& grid, int rows)
{
    layOutGrid(grid, kColumns, rows, kColumns, kVisibleRows, ScrollBars::Vertical, 0, 2);
    grid.restrictToDataRows(true);
    grid.setRowHeight(-1, ResultGrid::kDefaultRowHeight);
    grid.setRowHeight(1, kTitleRowHeight);
    grid.setRowHeight(2, kCaptionRowHeight);
    grid.setColumnWidth(-1, kColumnWidth);
    centreAllCells(grid);
    grid.setTextColour(Block::columns(1, 1), kRed);
    grid.setBackColour(Block::columns(1, 1), kLightYellow);
    for (int c : kDigitColumns)
        grid.setBackColour(Block{c, kFirstDrawRow, c, -1}, kLightCyan);
    grid.setBorder(Block::columns(1, kColumns), BorderSides::All, std::nullopt);
    grid.setActiveCell(0, 0);
}

HeaderRows headerRowsAt(int startRow, int mode)
{
    if (mode == -1)
        return {startRow + 1, startRow};
    return {startRow, startRow + 1};
}

void writeHeaderBlock(ResultGrid& grid, HeaderRows rows, const std::string& title, const std::string& stepCaption,
                      bool outline)
{
    const Block titleCells{2, rows.title, kColumns, rows.title};
    grid.setBorder(titleCells, BorderSides::None, std::nullopt);
    if (outline)
        grid.setBorder(titleCells, BorderSides::Outline, std::nullopt);
    for (int row : {rows.title, rows.caption}) {
        grid.setTextColour(Block{2, row, kColumns, row}, kBlack);
        grid.setBackColour(Block{2, row, kColumns, row}, kPink);
    }
    grid.setOverflow(true);
    grid.setAlignment(Block::cell(kTitleColumn, rows.title), HAlign::Left, VAlign::Centre);
    grid.setText(kTitleColumn, rows.title, title);

    grid.setText(1, rows.caption, kDrawColumnNames[0]);
    grid.setDrawColumn(1);
    for (int p = 1; p <= 4; ++p) {
        grid.setText(2 * p, rows.caption, kDrawColumnNames[p]);
        grid.setText(2 * p + 1, rows.caption, stepCaption);
    }
}

}  // namespace rumone
