// The rules of the four prediction methods as plain computation: the
// methods' state after a run of complete draws, and the digits each method
// offers from it with a given reflect count. The prediction view renders
// these digits into its four grids; the verification advances the state one
// draw at a time and scores them.
//
//   cycle method      the digit of each position that most recently came
//                     back after exactly 7, 9, 11 or 12 draws;
//   elimination       fifteen fixed formulas over the latest draws, moved
//                     one draw further back per switch set;
//   rapid-fire        cycle digits within 3 of an elimination digit,
//                     at most eight;
//   one-shot          cycle digits within 2 of an elimination digit,
//                     at most four.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/history/DrawHistory.h"
#include "core/history/LatestDraws.h"

namespace rumone {

inline constexpr int kCycleMethodCount = 4;  // 7, 9, 11 and 12 draws
inline constexpr int kEliminationRowCount = 15;
inline constexpr std::int8_t kNoDigit = -1;

// The method index (0-3) of a cycle gap of 7, 9, 11 or 12 draws; -1 for
// any other gap, which records nothing.
int cycleMethodOf(int gap);

// [method][position 0-3]: the cycle digit, or kNoDigit.
using CycleDigits = std::array<std::array<std::int8_t, 4>, kCycleMethodCount>;
// The digits of the fifteen formulas in table order, repeats kept.
using EliminationCandidates = std::array<std::int8_t, kEliminationRowCount>;

// Distinct digits in the order they were placed.
struct PlacedDigits {
    std::array<std::int8_t, 10> digits{};
    int count = 0;

    bool contains(int digit) const;
    // Adds `digit` unless it is there already.
    void place(int digit);
    const std::int8_t* begin() const { return digits.data(); }
    const std::int8_t* end() const { return digits.data() + count; }
};

// What the four methods offer for the draw after the latest.
struct PredictedDigits {
    CycleDigits cycle{};
    EliminationCandidates candidates{};
    PlacedDigits elimination;  // the candidates, each once, in table order
    PlacedDigits rapidFire;
    PlacedDigits oneShot;
};

// The digits by draw number and the cycle digits after the draws taken in.
class MethodState {
public:
    MethodState();

    // Takes in the next complete draw; draw numbers must ascend. A number
    // outside 0-32767 is left out.
    void advance(const Draw& draw);
    // Whether any draw has been taken in.
    bool started() const { return started_; }
    // The number of the last draw taken in (0 before any).
    int latestDrawNumber() const { return latest_; }
    // Digit at `position` (1-4) of draw `drawNumber`; 0 for a draw number
    // with no complete draw and for any number outside 0-32767.
    int digitAt(int drawNumber, int position) const;
    const CycleDigits& cycleDigits() const { return cycle_; }

private:
    friend MethodState methodStateOf(const DrawHistory& history);
    friend std::optional<MethodState> methodStateOf(const LatestDraws& latest);
    // The state after `draws`, in the store's order.
    static MethodState ofDraws(const std::vector<Draw>& draws);
    // The same state as taking in `draws` one by one, for draw numbers that
    // strictly ascend: read from the latest back until every cycle digit
    // is set. With `firstKnown`, the draws are only those from that number
    // on: a digit is taken only from a draw whose look back stays among
    // them, and false tells that some cycle digit was not settled so.
    bool takeInLatestFirst(const std::vector<Draw>& draws, std::optional<int> firstKnown = std::nullopt);
    // The gap from draw `n` back to the nearest earlier draw that holds
    // `digit` in any position; 0 when there is none down to draw 1.
    int gapToPrevious(int n, std::int8_t digit) const;

    // Indexed by draw number; [0] is position 1.
    std::vector<std::array<std::int8_t, 4>> digitsByDraw_;
    CycleDigits cycle_;
    int latest_ = 0;
    bool started_ = false;
};

// The state after every complete draw of `history`.
MethodState methodStateOf(const DrawHistory& history);
// The same state from the latest draws alone, when they settle it: every
// cycle digit named by a draw whose look back they hold, and every draw the
// fifteen formulas read, at any reflect count, among them. nullopt when
// they do not (the whole history is needed then).
std::optional<MethodState> methodStateOf(const LatestDraws& latest);

// Folds a value into a digit by 9, once: above 9 minus 9, 0 or below plus 9.
int wrapDigit(int value);
// Every cycle digit within `tolerance` of a candidate, in the order
// candidate, method, position, until `cells` are placed. A method's
// positions end at its first empty one.
PlacedDigits matchingCycleDigits(const CycleDigits& cycle, const EliminationCandidates& candidates, int tolerance,
                                 int cells);
// All four methods from `state` with `reflect` (0-10) switches on.
PredictedDigits predictDigits(const MethodState& state, int reflect);

}  // namespace rumone
