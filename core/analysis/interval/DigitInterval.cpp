#include "core/analysis/interval/DigitInterval.h"

#include <array>
#include <string>

#include "core/analysis/chance/ChanceLaws.h"
#include "core/analysis/interval/IntervalTable.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

void setupDigitIntervalGrid(ResultGrid& grid, const DrawHistory& history)
{
    setupNineColumnTable(grid, intervalTableRows(history));
}

void writeDigitIntervalHeader(ResultGrid& grid, int startRow, int mode)
{
    writeHeaderBlock(grid, headerRowsAt(startRow, mode), "   当 選 数 字", "差分", false);
}

// The step cells: "+3", "0", or "-4" on light magenta; the texts of the
// rises and falls are made and shared once per table.
class StepCells {
public:
    explicit StepCells(ResultGrid& grid) : grid_(grid)
    {
        for (int step = 1; step <= 9; ++step) {
            rises_[static_cast<std::size_t>(step)] = grid.shareText("+" + std::to_string(step));
            falls_[static_cast<std::size_t>(step)] = grid.shareText(std::to_string(-step));
        }
    }

    void show(int step, int column, int row)
    {
        if (step > 0) {
            grid_.setText(column, row, rises_[static_cast<std::size_t>(step)]);
        } else if (step == 0) {
            grid_.setText(column, row, 0L);
        } else {
            grid_.setBackColour(Block::cell(column, row), fallBack_);
            grid_.setText(column, row, falls_[static_cast<std::size_t>(-step)]);
        }
    }

private:
    ResultGrid& grid_;
    const OptColour fallBack_ = kLightMagenta;  // made once, not for every cell
    // A step is a difference of two digits: at most 9 either way.
    std::array<ResultGrid::SharedText, 10> rises_{};
    std::array<ResultGrid::SharedText, 10> falls_{};
};

// The first complete draw has nothing to be compared with, wherever it
// stands; an incomplete row leaves the previous digits as they are.
void fillDigitIntervalTable(ResultGrid& grid, const DrawHistory& history)
{
    StepCells steps(grid);
    std::array<int, 4> previousDigits{};
    bool hasPrevious = false;
    int r = kFirstDrawRow;
    for (const StoredRow& row : history.storedRows()) {
        if (row.complete) {
            grid.setText(1, r, static_cast<long>(row.number));
            for (int p = 1; p <= 4; ++p)
                grid.setText(2 * p, r, static_cast<long>(*row.digits[p - 1]));
            for (int p = 1; p <= 4; ++p) {
                const int digit = *row.digits[p - 1];
                if (hasPrevious)
                    steps.show(digit - previousDigits[p - 1], 2 * p + 1, r);
                previousDigits[p - 1] = digit;
            }
            hasPrevious = true;
        }
        ++r;
    }
}

}  // namespace

void buildDigitIntervalView(ResultGrid& grid, const DrawHistory& history)
{
    buildIntervalView(grid, history, {setupDigitIntervalGrid, writeDigitIntervalHeader, fillDigitIntervalTable});
}

AnalysisViewSpec digitIntervalView()
{
    return {
        .objectName = "数字間隔分析",
        .caption = "数字間隔分析",
        .menuAction = "mnuNumberKankaku",
        .menuCaption = "数字間隔分析",
        .submenu = kIntervalSubmenu,
        .helpKeyword = "数字間隔分析",
        .label1 = "当選数字を第1数字～第4数字別に前回数字との数字の間隔を分析します",
        .widthTwips = 7050,
        .heightTwips = 13820,
        .hasPrintButton = false,
        .letMessagesRunAfterBuild = true,
        // What the coloured steps mean, at the right end of the top band.
        .legend =
            {
                legendSwatch("Picture1", 3900, 120, 255, 255, kLightMagenta),
                legendLabel("Label2", 4215, 120, 2055, 255, "：前回より小さい（マイナス）"),
            },
        .build = buildDigitIntervalView,
        .chance = digitStepChance,
    };
}

}  // namespace rumone
