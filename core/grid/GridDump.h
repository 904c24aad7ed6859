// The text form of a ResultGrid: what the tests compare and what
// rumone-griddump prints. UTF-8, one record a line, tab-separated fields.
#pragma once

#include <iosfwd>
#include <string>

#include "core/grid/ResultGrid.h"

namespace rumone {

void dumpGrid(const ResultGrid& grid, std::ostream& out);
std::string dumpGrid(const ResultGrid& grid);

// Pieces of the dump, shared with tests that check single cells.
std::string dumpColour(const OptColour& colour);  // "#rrggbb" or "-"
std::string dumpBorder(const BorderLine& line);   // "-", "default" or "#rrggbb"
std::string escapeDumpText(const std::string& text);

}  // namespace rumone
