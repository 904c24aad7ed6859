#include "core/analysis/interval/AppearanceInterval.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/analysis/chance/ChanceLaws.h"
#include "core/analysis/interval/IntervalTable.h"

namespace rumone {

namespace {

constexpr int kNoDraw = -1;

// The complete draw stored under each draw number 0-32767, with a flag that
// tells a stored draw from a number that has none (which matches nothing).
class DigitsByDrawNumber {
public:
    DigitsByDrawNumber() : entries_(kMaxDrawNumber + 1) {}

    void store(int number, const std::array<int, 4>& digits)
    {
        entries_[static_cast<std::size_t>(number)] = Entry{digits, true};
    }

    bool holds(int number, int digit) const
    {
        const Entry& e = entries_[static_cast<std::size_t>(number)];
        return e.present && std::find(e.digits.begin(), e.digits.end(), digit) != e.digits.end();
    }

private:
    struct Entry {
        std::array<int, 4> digits{};
        bool present = false;
    };
    std::vector<Entry> entries_;
};

std::array<int, 4> digitsOf(const StoredRow& row)
{
    return {*row.digits[0], *row.digits[1], *row.digits[2], *row.digits[3]};
}

// Searches the draw numbers below `number`, nearest first, for a draw that
// holds `digit`; the interval to it, or 0 when there is none.
int searchBackward(const DigitsByDrawNumber& table, int number, int digit)
{
    for (int i = number - 1; i >= 0; --i)
        if (table.holds(i, digit))
            return number - i;
    return 0;
}

// The direct search, for rows in any order.
std::vector<DrawIntervals> intervalsBySearch(const std::vector<StoredRow>& rows)
{
    DigitsByDrawNumber table;
    std::vector<DrawIntervals> result;
    result.reserve(rows.size());
    for (const StoredRow& row : rows) {
        if (!row.complete) {
            result.emplace_back(std::nullopt);
            continue;
        }
        const std::array<int, 4> digits = digitsOf(row);
        table.store(row.number, digits);
        std::array<int, 4> intervals{};
        for (int p = 0; p < 4; ++p)
            intervals[p] = searchBackward(table, row.number, digits[p]);
        result.emplace_back(intervals);
    }
    return result;
}

// The same answer in one pass when the draw numbers never decrease: the
// highest earlier draw number holding each digit is kept as the rows go by.
// The digits of the current draw number (a number may be stored twice; the
// later complete row replaces the earlier) join it only once the rows move
// on to a higher number, since a draw never matches its own number.
std::vector<DrawIntervals> intervalsByLastSeen(const std::vector<StoredRow>& rows)
{
    std::array<int, 10> lastBelow;
    lastBelow.fill(kNoDraw);
    int current = kNoDraw;
    std::uint16_t currentDigits = 0;  // bit d: digit d in the current number's draw

    std::vector<DrawIntervals> result;
    result.reserve(rows.size());
    for (const StoredRow& row : rows) {
        if (row.number != current) {
            for (int d = 0; d <= 9; ++d)
                if (currentDigits & (1u << d))
                    lastBelow[d] = current;
            current = row.number;
            currentDigits = 0;
        }
        if (!row.complete) {
            result.emplace_back(std::nullopt);
            continue;
        }
        const std::array<int, 4> digits = digitsOf(row);
        std::array<int, 4> intervals{};
        currentDigits = 0;
        for (int p = 0; p < 4; ++p) {
            const int last = lastBelow[digits[p]];
            intervals[p] = last == kNoDraw ? 0 : row.number - last;
            currentDigits |= static_cast<std::uint16_t>(1u << digits[p]);
        }
        result.emplace_back(intervals);
    }
    return result;
}

void setupIntervalGrid(ResultGrid& grid, const DrawHistory& history)
{
    setupNineColumnTable(grid, intervalTableRows(history));
}

void writeIntervalHeader(ResultGrid& grid, int startRow, int mode)
{
    writeHeaderBlock(grid, headerRowsAt(startRow, mode), "    当 選 数 字     ", "出現", true);
}

// Writes interval cells: 0 as "初回", a positive interval as e.g. "3回前",
// a negative one not at all. Each text is made and shared once per table.
class IntervalCells {
public:
    explicit IntervalCells(ResultGrid& grid) : grid_(grid), first_(grid.shareText("初回")) {}

    void show(int interval, int column, int row)
    {
        if (interval == 0) {
            grid_.setText(column, row, first_);
            return;
        }
        if (interval < 0)
            return;
        const auto at = static_cast<std::size_t>(interval);
        if (at >= earlier_.size())
            earlier_.resize(at + 1);
        if (earlier_[at].id == 0)
            earlier_[at] = grid_.shareText(std::to_string(interval) + "回前");
        grid_.setText(column, row, earlier_[at]);
    }

private:
    ResultGrid& grid_;
    ResultGrid::SharedText first_;
    std::vector<ResultGrid::SharedText> earlier_;  // by interval; id 0: not made yet
};

void fillIntervalTable(ResultGrid& grid, const DrawHistory& history)
{
    const std::vector<StoredRow>& rows = history.storedRows();
    const std::vector<DrawIntervals> intervals = appearanceIntervals(history);
    IntervalCells cells(grid);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (!rows[k].complete)
            continue;
        const int r = kFirstDrawRow + static_cast<int>(k);
        grid.setText(1, r, static_cast<long>(rows[k].number));
        for (int p = 1; p <= 4; ++p) {
            grid.setText(2 * p, r, static_cast<long>(*rows[k].digits[p - 1]));
            cells.show((*intervals[k])[p - 1], 2 * p + 1, r);
        }
    }
}

}  // namespace

std::vector<DrawIntervals> appearanceIntervals(const DrawHistory& history)
{
    const std::vector<StoredRow>& rows = history.storedRows();
    const bool ascending = std::is_sorted(rows.begin(), rows.end(),
                                          [](const StoredRow& a, const StoredRow& b) { return a.number < b.number; });
    return ascending ? intervalsByLastSeen(rows) : intervalsBySearch(rows);
}

void buildAppearanceIntervalView(ResultGrid& grid, const DrawHistory& history)
{
    buildIntervalView(grid, history, {setupIntervalGrid, writeIntervalHeader, fillIntervalTable});
}

AnalysisViewSpec appearanceIntervalView()
{
    return {
        .objectName = "出現間隔分析",
        .caption = "出現間隔分析",
        .menuAction = "mnuSyutugenKankaku",
        .menuCaption = "出現間隔分析",
        .submenu = kIntervalSubmenu,
        .helpKeyword = "出現間隔分析",
        .label1 = "過去の当選数字が何回前に出現しているか分析します",
        .widthTwips = 6140,
        .heightTwips = 13800,
        .hasPrintButton = false,
        .letMessagesRunAfterBuild = false,
        .legend = {},
        .build = buildAppearanceIntervalView,
        .chance = appearanceIntervalChance,
    };
}

}  // namespace rumone
