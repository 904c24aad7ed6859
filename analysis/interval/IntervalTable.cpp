#include "analysis/interval/IntervalTable.h"

#include "analysis/Common.h"

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

void BuildIntervalView(ResultGrid& grid, const DrawHistory& history, const IntervalViewOperations& ops)
{
    ops.setup(grid, history);
    ops.writeHeader(grid, 1, 0);
    ops.writeHeader(grid, grid.Rows() - 1, -1);
    ops.fill(grid, history);
}

int IntervalTableRows(const DrawHistory& history)
{
    return static_cast<int>(history.StoredRows().size()) + 4;
}

void SetupNineColumnTable(ResultGrid& grid, int rows)
{
    LayOutGrid(grid, kColumns, rows, kColumns, kVisibleRows, ScrollBars::Vertical, 0, 2);
    grid.RestrictToDataRows(true);
    grid.SetRowHeight(-1, ResultGrid::kDefaultRowHeight);
    grid.SetRowHeight(1, kTitleRowHeight);
    grid.SetRowHeight(2, kCaptionRowHeight);
    grid.SetColumnWidth(-1, kColumnWidth);
    CentreAllCells(grid);
    grid.SetTextColour(Block::Columns(1, 1), kRed);
    grid.SetBackColour(Block::Columns(1, 1), kLightYellow);
    for (int c : kDigitColumns)
        grid.SetBackColour(Block{c, kFirstDrawRow, c, -1}, kLightCyan);
    grid.SetBorder(Block::Columns(1, kColumns), BorderSides::All, std::nullopt);
    grid.SetActiveCell(0, 0);
}

HeaderRows HeaderRowsAt(int startRow, int mode)
{
    if (mode == -1)
        return {startRow + 1, startRow};
    return {startRow, startRow + 1};
}

void WriteHeaderBlock(ResultGrid& grid, HeaderRows rows, const std::string& title, const std::string& stepCaption,
                      bool outline)
{
    const Block titleCells{2, rows.title, kColumns, rows.title};
    grid.SetBorder(titleCells, BorderSides::None, std::nullopt);
    if (outline)
        grid.SetBorder(titleCells, BorderSides::Outline, std::nullopt);
    for (int row : {rows.title, rows.caption}) {
        grid.SetTextColour(Block{2, row, kColumns, row}, kBlack);
        grid.SetBackColour(Block{2, row, kColumns, row}, kPink);
    }
    grid.SetOverflow(true);
    grid.SetAlignment(Block::Cell(kTitleColumn, rows.title), HAlign::Left, VAlign::Centre);
    grid.SetText(kTitleColumn, rows.title, title);

    grid.SetText(1, rows.caption, "回数");
    for (int p = 1; p <= 4; ++p) {
        grid.SetText(2 * p, rows.caption, "第" + std::to_string(p) + "数字");
        grid.SetText(2 * p + 1, rows.caption, stepCaption);
    }
}

}  // namespace rumone
