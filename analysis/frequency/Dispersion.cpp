#include "analysis/frequency/Dispersion.h"

#include "analysis/Common.h"

namespace rumone {

namespace {

constexpr int kColumns = 12;  // draw number, digits 0-9, draw number again
constexpr int kHeaderRows = 2;

int DigitColumn(int digit) { return digit + 2; }

// Title, captions, one row per complete draw and the footer captions as
// the last row.
void SetupDispersionGrid(ResultGrid& g, int drawRows)
{
    const int rows = kHeaderRows + drawRows + 1;
    LayOutGrid(g, kColumns, rows, kColumns, 52, ScrollBars::Vertical, 0, kHeaderRows);
    g.RestrictToDataRows(true);
    g.SetRowHeight(-1, 10);
    g.SetRowHeight(1, 15);
    g.SetRowHeight(2, 15);
    g.SetColumnWidth(-1, 2);
    g.SetColumnWidth(1, 5);
    g.SetColumnWidth(kColumns, 5);
    CentreAllCells(g);

    g.SetBorder({2, 1, 11, 1}, BorderSides::Outline, kLineBlue);
    g.SetBorder(Block::Cell(1, 1), BorderSides::Right, kLineBlue);

    g.SetOverflow(true);
    g.SetText(6, 1, "数\u3000\u3000\u3000\u3000\u3000\u3000\u3000字");
    g.SetTextColour(Block::Cell(6, 1), kBlue);
    g.SetAlignment(Block::Cell(6, 1), HAlign::Centre, VAlign::Centre);
    g.SetBackColour({2, 1, 11, 1}, kPaleCyan);

    for (int c : {1, kColumns}) {
        g.SetTextColour(Block::Columns(c, c), kRed);
        g.SetBackColour(Block::Columns(c, c), kLightYellow);
    }
    g.SetBorder(Block::Rows(2, -1), BorderSides::All, kLineBlue);
    g.SetActiveCell(0, 0);
}

void WriteCaptionRow(ResultGrid& g, int row)
{
    g.SetText(1, row, "回");
    for (int d = 0; d <= 9; ++d)
        g.SetText(DigitColumn(d), row, static_cast<long>(d));
    g.SetText(kColumns, row, "回");
    g.SetCellKind({1, row, kColumns, row}, CellKind::StaticText);
    g.SetAlignment({1, row, kColumns, row}, HAlign::Centre, VAlign::Centre);
    g.SetTextColour({2, row, 11, row}, kBlue);
    g.SetBackColour({2, row, 11, row}, kPaleCyan);
}

// The captions over the chart and again below its last draw.
void WriteDispersionHeader(ResultGrid& g, int footerRow)
{
    WriteCaptionRow(g, kHeaderRows);
    WriteCaptionRow(g, footerRow);
}

// One row per draw; a digit drawn more than once gives one mark.
void FillDispersionTable(ResultGrid& g, const DrawHistory& history)
{
    int row = kHeaderRows + 1;
    for (const Draw& draw : history.CompleteDraws()) {
        g.SetText(1, row, static_cast<long>(draw.number));
        g.SetText(kColumns, row, static_cast<long>(draw.number));
        for (int d : draw.digits)
            g.SetText(DigitColumn(d), row, kMark);
        for (int d : draw.digits)
            g.SetTextColour(Block::Cell(DigitColumn(d), row), kMarkBlue);
        ++row;
    }
}

}  // namespace

void BuildDispersionView(ResultGrid& grid, const DrawHistory& history)
{
    SetupDispersionGrid(grid, static_cast<int>(history.CompleteDraws().size()));
    WriteDispersionHeader(grid, grid.Rows());
    FillDispersionTable(grid, history);
}

AnalysisViewSpec DispersionView()
{
    AnalysisViewSpec v;
    v.objectName = "バラツキ分析";
    v.caption = "バラツキ分析";
    v.menuAction = "mnuBaratsuki";
    v.label1 = "過去の当選番号のバラツキを数字別に分析します";
    v.widthTwips = 7630;
    v.heightTwips = 13980;
    v.hasPrintButton = false;

    // Blue for the main digits, pink for bonus digits; the chart itself
    // only ever uses the blue style.
    v.legend = {
        LegendBall("Picture1", 4080, 120, 255, 255, kBallBlueBody, kBallBlueHighlight, 19),
        LegendLabel("Label2", 4320, 165, 735, 255, "：本数字"),
        LegendBall("Picture1", 5040, 120, 255, 255, RGB(204, 51, 153), RGB(255, 153, 204), 19),
        LegendLabel("Label3", 5280, 165, 1215, 255, "：ボーナス数字"),
    };
    v.build = &BuildDispersionView;
    return v;
}

}  // namespace rumone
