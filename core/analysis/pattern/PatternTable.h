// The table that both combination-pattern views draw: draw number, the four
// digits marked by class, the two class counts and a pattern letter. The
// low/high and the even/odd views differ only in the rule passed here.
#pragma once

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"

namespace rumone {

// How one pattern view classifies digits.
struct PatternRule {
    // True for a digit counted in column 6 (low, even).
    bool (*inFirstClass)(int digit);
    // Colours the digit's cell after its value is written.
    void (*markDigit)(ResultGrid& grid, int digit, int column, int row);
    // The letter is chosen by the column 7 count rather than the column 6 one.
    bool letterBySecondCount;
};

void setupPatternGrid(ResultGrid& grid, int rows);
void writePatternHeader(ResultGrid& grid, int row, const char* firstCaption, const char* secondCaption);
void fillPatternTable(ResultGrid& grid, const DrawHistory& history, const PatternRule& rule);

}  // namespace rumone
