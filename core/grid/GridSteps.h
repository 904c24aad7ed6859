// Layout steps that the views share: the first steps of every table, the
// mark of a drawn digit.
#pragma once

#include "core/grid/GridColours.h"
#include "core/grid/ResultGrid.h"

namespace rumone {

inline constexpr const char* kMark = "●";

// The first layout steps every analysis view runs: size, visible area,
// auto-size, built-in headers hidden, scroll bars only when needed, frozen
// leading columns and rows, Enter to the next cell.
inline void layOutGrid(ResultGrid& g, int columns, int rows, int visibleColumns, int visibleRows, ScrollBars bars,
                       int frozenColumns, int frozenRows, bool autoSize = true)
{
    g.setSize(columns, rows);
    g.setVisibleSize(visibleColumns, visibleRows);
    g.setAutoSize(autoSize);
    g.showBuiltInHeaders(false, false);
    g.setScrollBars(bars, true);
    g.setFrozen(frozenColumns, frozenRows);
    g.setEnterAction(EnterAction::NextCell);
}

// Every cell static text, centred both ways.
inline void centreAllCells(ResultGrid& g)
{
    g.setCellKind(Block::allCells(), CellKind::StaticText);
    g.setAlignment(Block::allCells(), HAlign::Centre, VAlign::Centre);
}

}  // namespace rumone
