// Layout of the four prediction grids: five columns, the method label in
// column 1, the header band in row 1 and the data area in columns 2-5.
#include "analysis/Common.h"
#include "predict/Prediction.h"
#include "predict/PredictionTexts.h"

namespace rumone {

namespace {

constexpr int kColumns = 5;
constexpr int kColumnWidth = 5;
constexpr int kLabelColumnWidth = 8;
constexpr int kRowHeight = 10;
constexpr std::array<int, kPredictionGridCount> kGridRows = {5, 4, 3, 2};

void SizeGrid(ResultGrid& g, int rows)
{
    LayOutGrid(g, kColumns, rows, kColumns, rows, ScrollBars::None, 0, 0);
    g.SetRowHeight(-1, kRowHeight);
    g.SetColumnWidth(-1, kColumnWidth);
    g.SetColumnWidth(1, kLabelColumnWidth);
    CentreAllCells(g);
}

void DrawLines(ResultGrid& g, int index)
{
    const OptColour line;  // the widget's default line colour
    if (index == Prediction::kCycleGrid) {
        g.SetBorder(Block::AllCells(), BorderSides::TopBottom, line);
        g.SetBorder(Block::Columns(1, 1), BorderSides::Right, line);
    } else {
        g.SetBorder(Block::AllCells(), BorderSides::All, line);
    }
    // The header reads as one band.
    g.SetBorder(Block{2, 1, kColumns, 1}, BorderSides::None, line);
    // The label of the elimination and rapid-fire grids reads as one tall
    // cell over the data rows.
    if (index == Prediction::kEliminationGrid || index == Prediction::kRapidFireGrid) {
        const Block label{1, 2, 1, g.Rows()};
        g.SetBorder(label, BorderSides::None, line);
        g.SetBorder(label, BorderSides::Outline, line);
    }
}

void WriteLabels(ResultGrid& g, int index)
{
    switch (index) {
    case Prediction::kCycleGrid:
        for (int m = 0; m < kCycleMethodCount; ++m)
            g.SetText(1, m + 2, kCycleMethodLabels[static_cast<std::size_t>(m)]);
        break;
    case Prediction::kEliminationGrid: g.SetText(1, 3, kEliminationLabel); break;
    case Prediction::kRapidFireGrid: g.SetText(1, 2, kRapidFireLabel); break;
    case Prediction::kOneShotGrid: g.SetText(1, 2, kOneShotLabel); break;
    default: break;
    }
}

void WriteHeader(ResultGrid& g)
{
    const Block band{1, 1, kColumns, 1};
    g.SetText(2, 1, kPredictionHeader);
    g.SetAlignment(Block::Cell(2, 1), HAlign::Left, VAlign::Centre);
    g.SetOverflow(true);
    g.SetTextColour(band, kBlue);
    g.SetBackColour(band, kPink);
}

}  // namespace

void Prediction::LayOutGrids()
{
    for (int i = 0; i < kPredictionGridCount; ++i) {
        ResultGrid& g = *grids_[static_cast<std::size_t>(i)];
        g = ResultGrid();  // a fresh table in the same object the view shows
        SizeGrid(g, kGridRows[static_cast<std::size_t>(i)]);
        DrawLines(g, i);
        WriteLabels(g, i);
        WriteHeader(g);
        g.SetActiveCell(0, 0);
    }
}

}  // namespace rumone
