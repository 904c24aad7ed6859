#include "core/analysis/frequency/Dispersion.h"

#include "core/analysis/chance/ChanceLaws.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr int kColumns = 12;  // draw number, digits 0-9, draw number again
constexpr int kHeaderRows = 2;

int digitColumn(int digit)
{
    return digit + 2;
}

// Title, captions, one row per complete draw and the footer captions as
// the last row.
void setupDispersionGrid(ResultGrid& g, int drawRows)
{
    const int rows = kHeaderRows + drawRows + 1;
    layOutGrid(g, kColumns, rows, kColumns, 52, ScrollBars::Vertical, 0, kHeaderRows);
    g.restrictToDataRows(true);
    g.setRowHeight(-1, 10);
    g.setRowHeight(1, 15);
    g.setRowHeight(2, 15);
    g.setColumnWidth(-1, 2);
    g.setColumnWidth(1, 5);
    g.setColumnWidth(kColumns, 5);
    centreAllCells(g);

    g.setBorder({2, 1, 11, 1}, BorderSides::Outline, kLineBlue);
    g.setBorder(Block::cell(1, 1), BorderSides::Right, kLineBlue);

    g.setOverflow(true);
    g.setText(6, 1, "数\u3000\u3000\u3000\u3000\u3000\u3000\u3000字");
    g.setTextColour(Block::cell(6, 1), kBlue);
    g.setAlignment(Block::cell(6, 1), HAlign::Centre, VAlign::Centre);
    g.setBackColour({2, 1, 11, 1}, kPaleCyan);

    for (int c : {1, kColumns}) {
        g.setTextColour(Block::columns(c, c), kRed);
        g.setBackColour(Block::columns(c, c), kLightYellow);
    }
    g.setBorder(Block::rows(2, -1), BorderSides::All, kLineBlue);
    g.setActiveCell(0, 0);
}

void writeCaptionRow(ResultGrid& g, int row)
{
    g.setText(1, row, "回");
    g.setDrawColumn(1);
    for (int d = 0; d <= 9; ++d)
        g.setText(digitColumn(d), row, static_cast<long>(d));
    g.setText(kColumns, row, "回");
    g.setCellKind({1, row, kColumns, row}, CellKind::StaticText);
    g.setAlignment({1, row, kColumns, row}, HAlign::Centre, VAlign::Centre);
    g.setTextColour({2, row, 11, row}, kBlue);
    g.setBackColour({2, row, 11, row}, kPaleCyan);
}

// The captions over the chart and again below its last draw.
void writeDispersionHeader(ResultGrid& g, int footerRow)
{
    writeCaptionRow(g, kHeaderRows);
    writeCaptionRow(g, footerRow);
}

// One row per draw; a digit drawn more than once gives one mark.
void fillDispersionTable(ResultGrid& g, const DrawHistory& history)
{
    const ResultGrid::SharedText mark = g.shareText(kMark);
    const OptColour markColour = kMarkBlue;
    int row = kHeaderRows + 1;
    for (const Draw& draw : history.completeDraws()) {
        g.setText(1, row, static_cast<long>(draw.number));
        g.setText(kColumns, row, static_cast<long>(draw.number));
        for (int d : draw.digits)
            g.setText(digitColumn(d), row, mark);
        for (int d : draw.digits)
            g.setTextColour(Block::cell(digitColumn(d), row), markColour);
        ++row;
    }
}

}  // namespace

void buildDispersionView(ResultGrid& grid, const DrawHistory& history)
{
    setupDispersionGrid(grid, static_cast<int>(history.completeDraws().size()));
    writeDispersionHeader(grid, grid.rows());
    fillDispersionTable(grid, history);
}

AnalysisViewSpec dispersionView()
{
    return {
        .objectName = "バラツキ分析",
        .caption = "バラツキ分析",
        .menuAction = "mnuBaratsuki",
        .menuCaption = "バラツキ分析",
        .submenu = kTopLevelMenu,
        .helpKeyword = "バラツキ分析",
        .label1 = "過去の当選番号のバラツキを数字別に分析します",
        .widthTwips = 7630,
        .heightTwips = 13980,
        .hasPrintButton = false,
        .letMessagesRunAfterBuild = false,
        // Blue for the main digits, pink for bonus digits; the chart itself
        // only ever uses the blue style.
        .legend =
            {
                legendBall("Picture1", 4080, 120, 255, 255, kBallBlueBody, kBallBlueHighlight, 19),
                legendLabel("Label2", 4320, 165, 735, 255, "：本数字"),
                legendBall("Picture1", 5040, 120, 255, 255, rgb(204, 51, 153), rgb(255, 153, 204), 19),
                legendLabel("Label3", 5280, 165, 1215, 255, "：ボーナス数字"),
            },
        .build = &buildDispersionView,
        .chance = dispersionChance,
    };
}

}  // namespace rumone
