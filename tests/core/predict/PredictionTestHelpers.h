// Helpers shared by the prediction tests.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/grid/GridDump.h"
#include "core/predict/Prediction.h"
#include "support/TestSupport.h"

namespace rumone::test {

inline constexpr std::array<int, 4> kCycleGaps = {7, 9, 11, 12};

// The texts of the data area of grid `index` (columns 2-5, rows 2 to the
// last), row by row; empty cells as "".
inline std::vector<std::string> dataTexts(const Prediction& p, int index)
{
    const ResultGrid& g = *p.grid(index);
    std::vector<std::string> out;
    for (int r = 2; r <= g.rows(); ++r)
        for (int c = 2; c <= 5; ++c)
            out.push_back(g.getText(c, r));
    return out;
}

inline std::string dumpGridText(const Prediction& p, int index)
{
    return dumpGrid(*p.grid(index));
}

// The texts of the filled cells of the data area, in placement order.
inline std::vector<std::string> placedTexts(const Prediction& p, int index)
{
    std::vector<std::string> out;
    for (const std::string& t : dataTexts(p, index))
        if (!t.empty())
            out.push_back(t);
    return out;
}

// Replaces all sixteen cycle digits; rows are methods (7, 9, 11, 12 draws),
// columns positions 1-4, "" for an empty cell.
inline void setCycleDigits(Prediction& p, const std::array<std::array<std::string, 4>, 4>& digits)
{
    for (int m = 0; m < 4; ++m)
        for (int pos = 1; pos <= 4; ++pos)
            p.storeCycleDigit(kCycleGaps[static_cast<std::size_t>(m)], pos,
                              digits[static_cast<std::size_t>(m)][static_cast<std::size_t>(pos - 1)]);
}

// A laid-out prediction scanned from `history`, with the first `reflect`
// switches set.
inline void prepare(Prediction& p, const DrawHistory& history, int reflect = 0)
{
    for (int i = 0; i < reflect; ++i)
        p.setFlag(i, true);
    p.layOutGrids();
    p.scanDraws(history);
}

// Rows `first`..`last` all holding `digits`.
inline void appendRun(std::vector<Row>& rows, int first, int last, std::array<int, 4> digits)
{
    for (int n = first; n <= last; ++n)
        rows.push_back({n, digits});
}

}  // namespace rumone::test
