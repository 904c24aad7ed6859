// The prediction view object: the ten reflect flags, the working tables of
// the four prediction methods and the four grids that show their results.
// It lives from start-up to exit; the window only shows what it holds.
//
// The methods, in the order ComputePredictions runs them:
//   cycle method      the digit of each position that most recently came
//                     back after exactly 7, 9, 11 or 12 draws (grid 0);
//   elimination       fifteen fixed formulas over the latest draws, moved
//                     one draw further back per switch set (grid 1);
//   rapid-fire        cycle digits within 3 of an elimination digit,
//                     at most eight (grid 2);
//   one-shot          cycle digits within 2 of an elimination digit,
//                     at most four (grid 3).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"
#include "core/predict/PredictionOptions.h"

namespace rumone {

inline constexpr int kPredictionGridCount = 4;
inline constexpr int kCycleMethodCount = 4;  // 7, 9, 11 and 12 draws
inline constexpr int kEliminationRowCount = 15;
inline constexpr int kEliminationSlotCount = 16;  // slot 15 is never filled

// One elimination formula: digit at `position` (1-4) of the draw `lookBack`
// draws before the latest, plus `addend`.
struct EliminationRow {
    int position;
    int addend;
    int lookBack;
};

inline constexpr std::array<EliminationRow, kEliminationRowCount> EliminationTable = {{
    {1, +1, 0},
    {2, +8, 0},
    {1, 0, 1},
    {4, -7, 1},
    {4, +8, 2},
    {2, -5, 2},
    {1, +3, 3},
    {4, +1, 3},
    {4, +4, 4},
    {1, +7, 4},
    {4, +6, 5},
    {4, -9, 5},
    {1, +4, 6},
    {2, +1, 7},
    {4, +9, 9},
}};

// The method index (0-3) of a cycle gap of 7, 9, 11 or 12 draws; -1 for
// any other gap, which records nothing.
int cycleMethodOf(int gap);

class Prediction {
public:
    // Grid indices.
    enum GridIndex { kCycleGrid = 0, kEliminationGrid = 1, kRapidFireGrid = 2, kOneShotGrid = 3 };

    Prediction();

    // --- the reflect flags and their file "ルモーネ.ini" in the current
    // working directory. A missing or unusable file keeps the flags as they
    // are; WriteInitFile returns false when the file cannot be written.
    void readInitFile();
    bool writeInitFile() const;
    // True when the file is read-only, so that the switches are not saved.
    bool initFileReadOnly() const;
    const PredictionOptions& options() const { return options_; }
    bool flag(int index) const;
    // A click on a switch: sets flag `index` (0-9) and recomputes at once.
    void setFlag(int index, bool reflect);

    // --- the grids (shown by the view; the objects stay the same for the
    // life of this object).
    std::shared_ptr<ResultGrid> grid(int index) const;
    void layOutGrids();

    // --- the methods
    // Walks the complete draws, fills DigitsByDraw and CycleDigits, then
    // runs ComputePredictions.
    void scanDraws(const DrawHistory& history);
    void computePredictions();
    // Records `digit` as the cycle digit of `position` (1-4) when `gap` is
    // 7, 9, 11 or 12; any other gap does nothing.
    void storeCycleDigit(int gap, int position, const std::string& digit);
    void fillCycleGrid();
    int countReflectedOptions() const;
    void computeElimination(int count);
    // Folds a value into a digit by 9, once: above 9 minus 9, 0 or below
    // plus 9. Plain decimal text.
    static std::string wrapDigit(int value);
    // True when `text` equals none of EliminationCandidates[0..i-1].
    bool isNewCandidate(const std::string& text, int i) const;
    void fillRapidFireGrid();
    void fillOneShotGrid();
    // True when no cell of the grid's data area (columns 2-5 of rows 2 to
    // the last) holds exactly `text`.
    static bool isNotInGrid(const ResultGrid& grid, std::string_view text);

    // --- the working tables, read back by tests and tools
    // Digit at `position` (1-4) of draw `drawNumber`; 0 for a draw number
    // with no complete draw and for any number outside 0-32767.
    int digitsByDraw(int drawNumber, int position) const;
    // Cycle digit of method m (0: 7 draws, 1: 9, 2: 11, 3: 12) at position
    // p (1-4), or empty text.
    const std::string& cycleDigits(int m, int p) const;
    const std::string& eliminationCandidates(int slot) const;
    int latestDrawNumber() const { return latestDrawNumber_; }

private:
    void searchPreviousAppearance(int drawNumber, int position, int digit);
    void fillMatchingCycleDigits(ResultGrid& grid, int tolerance, int cells);

    PredictionOptions options_;
    // Indexed by draw number 0-32767; [0] is position 1.
    std::vector<std::array<std::int8_t, 4>> digitsByDraw_;
    std::array<std::array<std::string, 4>, kCycleMethodCount> cycleDigits_;
    std::array<std::string, kEliminationSlotCount> eliminationCandidates_;
    int latestDrawNumber_ = 0;
    std::array<std::shared_ptr<ResultGrid>, kPredictionGridCount> grids_;
};

}  // namespace rumone
