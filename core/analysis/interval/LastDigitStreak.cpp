#include "core/analysis/interval/LastDigitStreak.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "core/analysis/chance/ChanceLaws.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr int kColumns = 11;  // the draw number, then digits 0-9
constexpr int kVisibleColumns = 29;
constexpr int kVisibleRows = 52;
constexpr int kColumnWidth = 5;
constexpr int kTitleRowHeight = 20;
constexpr int kFirstDrawRow = 3;

int digitColumn(int digit)
{
    return digit + 2;
}

std::string streakTitle()
{
    const std::string ideographicSpace = "\u3000";
    return std::string(43, ' ') + "下一桁数字" + std::string(27, ' ') + ideographicSpace + ideographicSpace +
           ideographicSpace + std::string(18, ' ');
}

void setupStreakGrid(ResultGrid& grid, int latestDrawNumber)
{
    const int rows = latestDrawNumber + 4;
    layOutGrid(grid, kColumns, rows, kVisibleColumns, kVisibleRows, ScrollBars::Vertical, 1, 2);
    grid.restrictToDataRows(true);
    grid.setRowHeight(-1, ResultGrid::kDefaultRowHeight);
    grid.setRowHeight(1, kTitleRowHeight);
    grid.setRowHeight(rows, kTitleRowHeight);
    grid.setColumnWidth(-1, kColumnWidth);
    centreAllCells(grid);
    grid.setBorder(Block::allCells(), BorderSides::All, std::nullopt);
    grid.setTextColour(Block::columns(1, 1), kRed);
    grid.setBackColour(Block::columns(1, 1), kLightYellow);
}

// One header block: the title row ("回数" and the padded title running to
// the right) and the row of digits 0-9.
void writeStreakHeader(ResultGrid& grid, int titleRow, int digitsRow)
{
    for (int row : {titleRow, digitsRow}) {
        grid.setTextColour(Block{2, row, kColumns, row}, kBlue);
        grid.setBackColour(Block{2, row, kColumns, row}, kPink);
    }
    grid.setOverflow(true);
    grid.setText(1, titleRow, "回数");
    grid.setDrawColumn(1);
    grid.setAlignment(Block::cell(2, titleRow), HAlign::Left, VAlign::Centre);
    grid.setText(2, titleRow, streakTitle());
    for (int d = 0; d <= 9; ++d)
        grid.setText(digitColumn(d), digitsRow, static_cast<long>(d));
}

void writeDrawNumbers(ResultGrid& grid, int latestDrawNumber)
{
    for (int n = 1; n <= latestDrawNumber; ++n)
        grid.setText(1, n + kFirstDrawRow - 1, static_cast<long>(n));
}

// Follows each digit through the complete draws in draw order, one entry
// per position (a digit drawn twice in a draw is met twice). A run goes on
// while the digit's next entry is the same draw or the next one; each step
// of a run writes the run counter into the later draw's row. Draw numbers
// outside 1 to the latest draw have no row and are not written. The digits
// are followed side by side, so that the table is written row by row.
void fillStreakTable(ResultGrid& grid, const DrawHistory& history, int latestDrawNumber)
{
    struct Run {
        bool started = false;
        int previousDraw = 0;
        int counter = 0;
    };
    std::array<Run, 10> runs{};
    // The backgrounds by counter, made once: every counter from the last
    // one on shares its background.
    constexpr int kLastOwnBackground = 13;
    std::array<OptColour, kLastOwnBackground + 1> backgrounds{};
    for (int counter = 1; counter <= kLastOwnBackground; ++counter)
        backgrounds[static_cast<std::size_t>(counter)] = streakBackground(counter);
    const OptColour defaultLine = std::nullopt;
    for (const Draw& draw : history.completeDraws())
        for (int d : draw.digits) {
            Run& run = runs[static_cast<std::size_t>(d)];
            const int e = run.previousDraw;
            const int f = draw.number;
            run.previousDraw = f;
            if (!std::exchange(run.started, true))
                continue;
            if (f != e && f != e + 1) {
                run.counter = 0;
                continue;
            }
            ++run.counter;
            if (f < 1 || f > latestDrawNumber)
                continue;
            const int row = f + kFirstDrawRow - 1;
            grid.setText(digitColumn(d), row, static_cast<long>(run.counter));
            grid.setBorder(Block::cell(digitColumn(d), row), BorderSides::Bottom, defaultLine);
            grid.setBackColour(Block::cell(digitColumn(d), row),
                               backgrounds[static_cast<std::size_t>(std::min(run.counter, kLastOwnBackground))]);
        }
}

}  // namespace

Rgb streakBackground(int counter)
{
    switch (counter) {
        case 1:
            return kWhite;
        case 2:
        case 3:
            return kLightCyan;
        case 4:
        case 5:
            return kLightGreen;
        case 6:
        case 7:
            return kLightYellow;
        case 8:
        case 9:
            return kLightMagenta;
        case 12:
            return kGrey;
        default:
            return kPink;
    }
}

void buildLastDigitStreakView(ResultGrid& grid, const DrawHistory& history)
{
    const int latest = history.latestDrawNumber();
    setupStreakGrid(grid, latest);
    writeStreakHeader(grid, 1, 2);
    writeStreakHeader(grid, latest + 4, latest + 3);
    writeDrawNumbers(grid, latest);
    fillStreakTable(grid, history, latest);
}

AnalysisViewSpec lastDigitStreakView()
{
    return {
        .objectName = "下一桁連続出現回数分析",
        .caption = "下一桁連続出現回数分析",
        .menuAction = "mnuShimoHitoketa",
        .menuCaption = "下一桁連続出現回数分析",
        .submenu = kIntervalSubmenu,
        .helpKeyword = "下一桁連続出現回数分析",
        .label1 = "過去の当選番号の下一桁数字が何回続けて出現しているか分析します",
        .widthTwips = 7370,
        .heightTwips = 13935,
        .hasPrintButton = true,
        .letMessagesRunAfterBuild = false,
        .legend = {},
        .build = buildLastDigitStreakView,
        .chance = lastDigitRunChance,
    };
}

}  // namespace rumone
