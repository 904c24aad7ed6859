// The text form of a ResultGrid: what the tests compare and what
// rumone-griddump prints. UTF-8, one record a line, tab-separated fields.
#pragma once

#include <iosfwd>
#include <string>

#include "ui/ResultGrid.h"

namespace rumone {

void DumpGrid(const ResultGrid& grid, std::ostream& out);
std::string DumpGrid(const ResultGrid& grid);

// Pieces of the dump, shared with tests that check single cells.
std::string DumpColour(const OptColour& colour);   // "#rrggbb" or "-"
std::string DumpBorder(const BorderLine& line);    // "-", "default" or "#rrggbb"
std::string EscapeDumpText(const std::string& text);

}  // namespace rumone
