#include "core/predict/Prediction.h"

#include <algorithm>

namespace rumone {

namespace {

const std::string kNoText;

// The data area of every prediction grid starts at column 2, row 2.
constexpr int kFirstDataColumn = 2;
constexpr int kLastDataColumn = 5;
constexpr int kFirstDataRow = 2;

// Columns 2-5 of rows 2 to the last.
Block dataArea(const ResultGrid& grid)
{
    return Block{kFirstDataColumn, kFirstDataRow, kLastDataColumn, grid.rows()};
}

// The value of a one-digit text as the methods write them; -1 otherwise.
int digitOf(const std::string& text)
{
    if (text.size() != 1 || text[0] < '0' || text[0] > '9')
        return -1;
    return text[0] - '0';
}

// Where the next digit goes: four cells a row, left to right, then down.
struct PlacementCursor {
    int column = kFirstDataColumn;
    int row = kFirstDataRow;
    int placed = 0;

    void place(ResultGrid& grid, const std::string& text)
    {
        grid.setText(column, row, text);
        ++placed;
        if (++column > kLastDataColumn) {
            column = kFirstDataColumn;
            ++row;
        }
    }
};

}  // namespace

int cycleMethodOf(int gap)
{
    switch (gap) {
        case 7:
            return 0;
        case 9:
            return 1;
        case 11:
            return 2;
        case 12:
            return 3;
        default:
            return -1;
    }
}

Prediction::Prediction() : digitsByDraw_(static_cast<std::size_t>(kMaxDrawNumber) + 1, std::array<std::int8_t, 4>{})
{
    for (auto& grid : grids_)
        grid = std::make_shared<ResultGrid>();
}

bool Prediction::flag(int index) const
{
    return index >= 0 && index < kOptionCount && options_.flags[static_cast<std::size_t>(index)];
}

void Prediction::setFlag(int index, bool reflect)
{
    if (index < 0 || index >= kOptionCount)
        return;
    options_.flags[static_cast<std::size_t>(index)] = reflect;
    computePredictions();
}

std::shared_ptr<ResultGrid> Prediction::grid(int index) const
{
    if (index < 0 || index >= kPredictionGridCount)
        return nullptr;
    return grids_[static_cast<std::size_t>(index)];
}

int Prediction::digitsByDraw(int drawNumber, int position) const
{
    if (drawNumber < 0 || drawNumber > kMaxDrawNumber || position < 1 || position > 4)
        return 0;
    return digitsByDraw_[static_cast<std::size_t>(drawNumber)][static_cast<std::size_t>(position - 1)];
}

const std::string& Prediction::cycleDigits(int m, int p) const
{
    if (m < 0 || m >= kCycleMethodCount || p < 1 || p > 4)
        return kNoText;
    return cycleDigits_[static_cast<std::size_t>(m)][static_cast<std::size_t>(p - 1)];
}

const std::string& Prediction::eliminationCandidates(int slot) const
{
    if (slot < 0 || slot >= kEliminationSlotCount)
        return kNoText;
    return eliminationCandidates_[static_cast<std::size_t>(slot)];
}

// ---------------------------------------------------------------- cycle method

void Prediction::scanDraws(const DrawHistory& history)
{
    for (const Draw& draw : history.completeDraws()) {
        // The history holds no draw number outside 0-32767; one that got
        // there anyway is left out rather than stored out of bounds.
        if (draw.number < 0 || draw.number > kMaxDrawNumber)
            continue;
        auto& stored = digitsByDraw_[static_cast<std::size_t>(draw.number)];
        for (std::size_t i = 0; i < 4; ++i)
            stored[i] = static_cast<std::int8_t>(draw.digits[i]);
        for (int p = 1; p <= 4; ++p)
            searchPreviousAppearance(draw.number, p, draw.digits[static_cast<std::size_t>(p - 1)]);
    }
    latestDrawNumber_ = std::clamp(history.latestDrawNumber(), 0, kMaxDrawNumber);
    computePredictions();
}

// Looks back from the draw before `drawNumber` to draw 1 for the nearest
// draw that holds `digit` in any position. A draw number with no complete
// draw reads as four 0 digits, so the search for a 0 stops there. Draw 0 is
// never searched.
void Prediction::searchPreviousAppearance(int drawNumber, int position, int digit)
{
    const auto wanted = static_cast<std::int8_t>(digit);
    for (int k = drawNumber - 1; k >= 1; --k) {
        const auto& d = digitsByDraw_[static_cast<std::size_t>(k)];
        if (d[0] == wanted || d[1] == wanted || d[2] == wanted || d[3] == wanted) {
            storeCycleDigit(drawNumber - k, position, std::to_string(digit));
            return;
        }
    }
}

void Prediction::storeCycleDigit(int gap, int position, const std::string& digit)
{
    const int m = cycleMethodOf(gap);
    if (m < 0 || position < 1 || position > 4)
        return;
    cycleDigits_[static_cast<std::size_t>(m)][static_cast<std::size_t>(position - 1)] = digit;
}

void Prediction::computePredictions()
{
    fillCycleGrid();
    const int count = countReflectedOptions();
    computeElimination(count);
    fillRapidFireGrid();
    fillOneShotGrid();
}

void Prediction::fillCycleGrid()
{
    ResultGrid& grid = *grids_[kCycleGrid];
    for (int m = 0; m < kCycleMethodCount; ++m)
        for (int p = 1; p <= 4; ++p)
            grid.setText(p + 1, m + 2, cycleDigits(m, p));
}

int Prediction::countReflectedOptions() const
{
    return static_cast<int>(std::count(options_.flags.begin(), options_.flags.end(), true));
}

// ----------------------------------------------------------------- elimination

void Prediction::computeElimination(int count)
{
    ResultGrid& grid = *grids_[kEliminationGrid];
    grid.clearText(dataArea(grid));
    PlacementCursor cursor;
    for (int i = 0; i < kEliminationRowCount; ++i) {
        const EliminationRow& row = EliminationTable[static_cast<std::size_t>(i)];
        // Before draw 0 there is nothing to read: four 0 digits, as for a
        // missing draw number.
        const int n = latestDrawNumber_ - row.lookBack - count;
        const int v = digitsByDraw(n, row.position) + row.addend;
        auto& slot = eliminationCandidates_[static_cast<std::size_t>(i)];
        slot = wrapDigit(v);
        if (isNewCandidate(slot, i))
            cursor.place(grid, slot);
    }
}

std::string Prediction::wrapDigit(int value)
{
    if (value > 9)
        value -= 9;
    else if (value <= 0)
        value += 9;
    return std::to_string(value);
}

bool Prediction::isNewCandidate(const std::string& text, int i) const
{
    const int end = std::clamp(i, 0, kEliminationSlotCount);
    for (int j = 0; j < end; ++j)
        if (eliminationCandidates_[static_cast<std::size_t>(j)] == text)
            return false;
    return true;
}

// ------------------------------------------------------ rapid-fire and one-shot

void Prediction::fillRapidFireGrid()
{
    fillMatchingCycleDigits(*grids_[kRapidFireGrid], 3, 8);
}

void Prediction::fillOneShotGrid()
{
    fillMatchingCycleDigits(*grids_[kOneShotGrid], 2, 4);
}

// Places, in the order candidate, method, position, every cycle digit that
// lies within `tolerance` of an elimination candidate and is not yet in the
// grid, until `cells` digits are placed. A method's positions end at its
// first empty one.
void Prediction::fillMatchingCycleDigits(ResultGrid& grid, int tolerance, int cells)
{
    grid.clearText(dataArea(grid));
    PlacementCursor cursor;
    for (int a = 0; a < kEliminationRowCount; ++a) {
        const int e = digitOf(eliminationCandidates_[static_cast<std::size_t>(a)]);
        for (int m = 0; m < kCycleMethodCount; ++m) {
            for (int p = 1; p <= 4; ++p) {
                const std::string& text = cycleDigits(m, p);
                if (text.empty())
                    break;
                const int s = digitOf(text);
                if (s < 0 || e < 0 || e < s - tolerance || e > s + tolerance || !isNotInGrid(grid, text))
                    continue;
                cursor.place(grid, text);
                if (cursor.placed >= cells)
                    return;
            }
        }
    }
}

bool Prediction::isNotInGrid(const ResultGrid& grid, std::string_view text)
{
    for (int r = kFirstDataRow; r <= grid.rows(); ++r)
        for (int c = kFirstDataColumn; c <= std::min(kLastDataColumn, grid.columns()); ++c)
            if (grid.getText(c, r) == text)
                return false;
    return true;
}

}  // namespace rumone
