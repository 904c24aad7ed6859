// Colours and layout steps that the analysis views share.
#pragma once

#include "core/grid/ResultGrid.h"

namespace rumone {

inline constexpr Rgb kRed = RGB(255, 0, 0);
inline constexpr Rgb kBlue = RGB(0, 0, 255);
inline constexpr Rgb kBlack = RGB(0, 0, 0);
inline constexpr Rgb kWhite = RGB(255, 255, 255);
inline constexpr Rgb kLightYellow = RGB(255, 255, 200);
inline constexpr Rgb kPink = RGB(255, 200, 200);
inline constexpr Rgb kLightCyan = RGB(200, 255, 255);
inline constexpr Rgb kLightGreen = RGB(200, 255, 200);
inline constexpr Rgb kLightMagenta = RGB(255, 200, 255);
inline constexpr Rgb kPaleCyan = RGB(222, 254, 253);
inline constexpr Rgb kLineBlue = RGB(136, 196, 255);
inline constexpr Rgb kMarkBlue = RGB(62, 158, 255);
inline constexpr Rgb kGrey = RGB(225, 225, 225);

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
