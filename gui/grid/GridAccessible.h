// What assistive technology reads in a grid widget: a table whose cells
// give their text, row and column, and the frozen rows and columns as
// their headers. The grid is painted by hand, so it says all of this
// itself.
#pragma once

namespace rumone {

class GridWidget;

// Makes Qt ask this file for the accessible side of every grid widget
// (done once, the first time a grid is made).
void installGridAccessibility();

// Tells assistive technology that the grid's current cell changed.
void announceCurrentCell(GridWidget& grid);

}  // namespace rumone
