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

// The text a grid shows for a digit of the methods: "" for none.
inline std::string digitText(int digit)
{
    return digit == kNoDigit ? std::string() : std::to_string(digit);
}

// Cycle digit of method m (0: 7 draws, 1: 9, 2: 11, 3: 12) at position
// `pos` (1-4) as grid 0 shows it.
inline std::string cycleText(const Prediction& p, int m, int pos)
{
    return digitText(p.digits().cycle[static_cast<std::size_t>(m)][static_cast<std::size_t>(pos - 1)]);
}

// The fifteen elimination candidates in table order.
inline std::vector<std::string> candidateTexts(const Prediction& p)
{
    std::vector<std::string> out;
    for (const int d : p.digits().candidates)
        out.push_back(digitText(d));
    return out;
}

// Rows `first`..`last` all holding `digits`.
inline void appendRun(std::vector<Row>& rows, int first, int last, std::array<int, 4> digits)
{
    for (int n = first; n <= last; ++n)
        rows.push_back({n, digits});
}

}  // namespace rumone::test
