// Layout of the four prediction grids: five columns, the method label in
// column 1, the header band in row 1 and the data area in columns 2-5.
#include "core/grid/GridSteps.h"
#include "core/predict/Prediction.h"
#include "core/predict/PredictionTexts.h"

namespace rumone {

namespace {

constexpr int kColumns = 5;
constexpr int kColumnWidth = 5;
constexpr int kLabelColumnWidth = 8;
constexpr int kRowHeight = 10;
constexpr std::array<int, kPredictionGridCount> kGridRows = {5, 4, 3, 2};

void sizeGrid(ResultGrid& g, int rows)
{
    layOutGrid(g, kColumns, rows, kColumns, rows, ScrollBars::None, 0, 0);
    g.setRowHeight(-1, kRowHeight);
    g.setColumnWidth(-1, kColumnWidth);
    g.setColumnWidth(1, kLabelColumnWidth);
    centreAllCells(g);
}

void drawLines(ResultGrid& g, int index)
{
    const OptColour line;  // the widget's default line colour
    if (index == Prediction::kCycleGrid) {
        g.setBorder(Block::allCells(), BorderSides::TopBottom, line);
        g.setBorder(Block::columns(1, 1), BorderSides::Right, line);
    } else {
        g.setBorder(Block::allCells(), BorderSides::All, line);
    }
    // The header reads as one band.
    g.setBorder(Block{2, 1, kColumns, 1}, BorderSides::None, line);
    // The label of the elimination and rapid-fire grids reads as one tall
    // cell over the data rows.
    if (index == Prediction::kEliminationGrid || index == Prediction::kRapidFireGrid) {
        const Block label{1, 2, 1, g.rows()};
        g.setBorder(label, BorderSides::None, line);
        g.setBorder(label, BorderSides::Outline, line);
    }
}

void writeLabels(ResultGrid& g, int index)
{
    switch (index) {
        case Prediction::kCycleGrid:
            for (int m = 0; m < kCycleMethodCount; ++m)
                g.setText(1, m + 2, kCycleMethodLabels[static_cast<std::size_t>(m)]);
            break;
        case Prediction::kEliminationGrid:
            g.setText(1, 3, kEliminationLabel);
            break;
        case Prediction::kRapidFireGrid:
            g.setText(1, 2, kRapidFireLabel);
            break;
        case Prediction::kOneShotGrid:
            g.setText(1, 2, kOneShotLabel);
            break;
        default:
            break;
    }
}

void writeHeader(ResultGrid& g)
{
    const Block band{1, 1, kColumns, 1};
    g.setText(2, 1, kPredictionHeader);
    g.setAlignment(Block::cell(2, 1), HAlign::Left, VAlign::Centre);
    g.setOverflow(true);
    g.setTextColour(band, kBlue);
    g.setBackColour(band, kPink);
}

}  // namespace

void Prediction::layOutGrids()
{
    for (int i = 0; i < kPredictionGridCount; ++i) {
        ResultGrid& g = *grids_[static_cast<std::size_t>(i)];
        g = ResultGrid();  // a fresh table in the same object the view shows
        sizeGrid(g, kGridRows[static_cast<std::size_t>(i)]);
        drawLines(g, i);
        writeLabels(g, i);
        writeHeader(g);
        g.setActiveCell(0, 0);
    }
}

}  // namespace rumone
