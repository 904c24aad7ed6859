// Rendering and behaviour of the grid widget, checked on its pixels.
#include <gtest/gtest.h>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <memory>

#include "gui/grid/GridLayout.h"
#include "gui/grid/GridWidget.h"

namespace rumone {
namespace {

constexpr Rgb kRed = rgb(255, 0, 0);
constexpr Rgb kBlue = rgb(0, 0, 255);
constexpr Rgb kCyan = rgb(200, 255, 255);

// A table laid out the way the views lay theirs out.
std::shared_ptr<ResultGrid> viewLikeGrid(int columns, int rows, int visibleColumns, int visibleRows)
{
    auto g = std::make_shared<ResultGrid>();
    g->setSize(columns, rows);
    g->setVisibleSize(visibleColumns, visibleRows);
    g->setAutoSize(true);
    g->showBuiltInHeaders(false, false);
    g->setScrollBars(ScrollBars::Both, true);
    g->setColumnWidth(-1, 5);
    g->setRowHeight(-1, 10);
    g->setAlignment(Block::allCells(), HAlign::Centre, VAlign::Centre);
    g->setActiveCell(0, 0);
    return g;
}

struct Shown {
    std::unique_ptr<GridWidget> widget = std::make_unique<GridWidget>();
    explicit Shown(std::shared_ptr<ResultGrid> grid)
    {
        widget->setGrid(std::move(grid));
        widget->resize(widget->sizeHint());
        widget->show();
    }
    QImage image() const { return widget->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QRect cell(int column, int row) const { return widget->cellRect(column, row); }
};

QColor pixel(const QImage& image, QPoint at)
{
    return image.pixelColor(at);
}

bool is(const QColor& c, Rgb rgb)
{
    return c.red() == rgb.r && c.green() == rgb.g && c.blue() == rgb.b;
}

// Pixels inside `area` (shrunk by one to stay off the lines) that satisfy `ink`.
template <typename Ink>
int countInk(const QImage& image, const QRect& area, Ink ink)
{
    int n = 0;
    const QRect inner = area.adjusted(1, 1, -1, -1);
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x)
            n += ink(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

bool reddish(const QColor& c)
{
    return c.red() - c.blue() > 60 && c.red() - c.green() > 60;
}

bool notWhite(const QColor& c)
{
    return c.red() < 230 || c.green() < 230 || c.blue() < 230;
}

TEST(GridWidgetPaint, BackgroundsAndLinesLieOnTheCellEdges)
{
    auto g = viewLikeGrid(5, 5, 5, 5);
    g->setBackColour(Block::cell(2, 2), kCyan);
    g->setBorder(Block::cell(2, 2), BorderSides::Right, kRed);
    g->setBorder(Block::cell(4, 4), BorderSides::All, std::nullopt);
    Shown s(g);
    const QImage img = s.image();

    const QRect c22 = s.cell(2, 2);
    EXPECT_TRUE(is(pixel(img, c22.center()), kCyan));
    // The right line sits on the edge shared with the neighbour.
    EXPECT_TRUE(is(pixel(img, {c22.right() + 1, c22.center().y()}), kRed));
    EXPECT_TRUE(is(pixel(img, {c22.left(), c22.center().y()}), kCyan)) << "no left line was set";
    EXPECT_TRUE(is(pixel(img, {c22.center().x(), c22.top()}), kCyan)) << "no top line was set";

    // A default line in the widget's line colour; no line where none is set.
    const QRect c44 = s.cell(4, 4);
    EXPECT_TRUE(is(pixel(img, {c44.center().x(), c44.top()}), rgb(192, 192, 192)));
    EXPECT_TRUE(is(pixel(img, {c44.right() + 1, c44.center().y()}), rgb(192, 192, 192)));
    const QRect c33 = s.cell(3, 3);
    EXPECT_TRUE(is(pixel(img, {c33.right() + 1, c33.center().y()}), rgb(255, 255, 255)));
    EXPECT_TRUE(is(pixel(img, {c33.left(), c33.center().y()}), rgb(255, 255, 255)));
}

TEST(GridWidgetPaint, CurrentCellHasAFocusFrame)
{
    auto g = viewLikeGrid(3, 3, 3, 3);
    Shown s(g);
    const QRect c = s.cell(2, 2);
    const QPoint inside(c.left() + 1, c.center().y());
    EXPECT_TRUE(is(pixel(s.image(), inside), rgb(255, 255, 255))) << "(0, 0) shows no current cell";
    s.widget->setCurrentCell(2, 2);
    EXPECT_TRUE(is(pixel(s.image(), inside), rgb(0, 0, 0)));
}

// Row 1: a long left-aligned red title in column 1, empty columns 2 and 3,
// a blue text in column 4. Row 2: a long right-aligned red text in column 4
// with a blue text in column 1.
std::shared_ptr<ResultGrid> overflowGrid(bool overflow)
{
    auto g = viewLikeGrid(6, 2, 6, 2);
    g->setOverflow(overflow);
    g->setColumnWidth(-1, 3);
    const std::string longText = "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
    g->setText(1, 1, longText);
    g->setAlignment(Block::cell(1, 1), HAlign::Left, VAlign::Centre);
    g->setTextColour(Block::cell(1, 1), kRed);
    g->setText(4, 1, "i");
    g->setTextColour(Block::cell(4, 1), kBlue);
    g->setText(4, 2, longText);
    g->setAlignment(Block::cell(4, 2), HAlign::Right, VAlign::Centre);
    g->setTextColour(Block::cell(4, 2), kRed);
    g->setText(1, 2, "i");
    g->setTextColour(Block::cell(1, 2), kBlue);
    return g;
}

TEST(GridWidgetPaint, OverflowRunsAcrossEmptyCellsAndStopsAtAWrittenOne)
{
    Shown s(overflowGrid(true));
    const QImage img = s.image();
    // Left-aligned: to the right, through columns 2 and 3, not into 4 or past it.
    EXPECT_GT(countInk(img, s.cell(2, 1), reddish), 0);
    EXPECT_GT(countInk(img, s.cell(3, 1), reddish), 0);
    EXPECT_EQ(countInk(img, s.cell(4, 1), reddish), 0);
    EXPECT_EQ(countInk(img, s.cell(5, 1), reddish), 0);
    EXPECT_GT(countInk(img, s.cell(4, 1), notWhite), 0) << "the written cell is drawn normally";
    // Right-aligned: to the left, through columns 3 and 2, not into 1; and
    // not to the right either.
    EXPECT_GT(countInk(img, s.cell(3, 2), reddish), 0);
    EXPECT_GT(countInk(img, s.cell(2, 2), reddish), 0);
    EXPECT_EQ(countInk(img, s.cell(1, 2), reddish), 0);
    EXPECT_EQ(countInk(img, s.cell(5, 2), reddish), 0);
}

TEST(GridWidgetPaint, WithoutOverflowTextIsClippedToItsCell)
{
    Shown s(overflowGrid(false));
    const QImage img = s.image();
    EXPECT_GT(countInk(img, s.cell(1, 1), reddish), 0);
    EXPECT_EQ(countInk(img, s.cell(2, 1), reddish), 0);
    EXPECT_GT(countInk(img, s.cell(4, 2), reddish), 0);
    EXPECT_EQ(countInk(img, s.cell(3, 2), reddish), 0);
}

TEST(GridWidgetPaint, CentredOverflowSpreadsToBothSides)
{
    auto g = viewLikeGrid(5, 1, 5, 1);
    g->setOverflow(true);
    g->setColumnWidth(-1, 3);
    g->setText(3, 1, "WWWWWWWWWWWW");
    g->setTextColour(Block::cell(3, 1), kRed);
    Shown s(g);
    const QImage img = s.image();
    EXPECT_GT(countInk(img, s.cell(2, 1), reddish), 0);
    EXPECT_GT(countInk(img, s.cell(4, 1), reddish), 0);
    // Even on both sides: the ink reaches as far left as it does right.
    const int leftInk = countInk(img, s.cell(2, 1), reddish);
    const int rightInk = countInk(img, s.cell(4, 1), reddish);
    EXPECT_NEAR(leftInk, rightInk, leftInk / 4 + 2);
}

// A centred title at the left edge that runs into an empty neighbour is
// drawn whole, as much ink as the same text left-aligned.
TEST(GridWidgetPaint, CentredTitleAtTheEdgeIsNotCutByIt)
{
    auto g = viewLikeGrid(3, 2, 3, 2);
    g->setOverflow(true);
    g->setColumnWidth(-1, 4);
    g->setText(1, 1, "WWWWWW");
    g->setText(1, 2, "WWWWWW");
    g->setAlignment(Block::cell(1, 2), HAlign::Left, VAlign::Centre);
    g->setTextColour(Block::allCells(), kRed);
    Shown s(g);
    const QImage img = s.image();
    auto rowInk = [&](int row) { return countInk(img, s.cell(1, row).united(s.cell(3, row)), reddish); };
    ASSERT_GT(rowInk(2), 0);
    EXPECT_EQ(rowInk(1), rowInk(2));
}

// A text somewhat wider than the room it has is condensed to show whole:
// its ink ends inside the cell's padding instead of being cut at the line.
TEST(GridWidgetPaint, ATextTooWideForItsRoomIsCondensedToFit)
{
    auto g = viewLikeGrid(2, 1, 2, 1);
    g->setColumnWidth(-1, 6);
    g->setAlignment(Block::allCells(), HAlign::Left, VAlign::Centre);
    g->setText(1, 1, "\u7B2C1\u6570\u5B57\u5B57");  // about 1.3 times the column
    g->setTextColour(Block::cell(1, 1), kRed);
    g->setText(2, 1, "x");
    Shown s(g);
    const QImage img = s.image();
    const QRect cell = s.cell(1, 1);
    const int pad = GridWidget::Layout::kCellPadding;
    auto inkIn = [&](int x1, int x2) {
        return countInk(img, QRect(x1 - 1, cell.top(), x2 - x1 + 3, cell.height()), reddish);
    };
    EXPECT_GT(inkIn(cell.right() - pad - 6, cell.right() - pad), 0) << "the last character is drawn";
    EXPECT_EQ(inkIn(cell.right() - pad + 1, cell.right() + 1), 0) << "and not cut at the cell's edge";
    EXPECT_EQ(countInk(img, s.cell(2, 1), reddish), 0);
}

// Leading blanks, ASCII or ideographic, are part of the text and move it.
// Trailing blanks of a left-aligned text that find no room are cut: they
// neither condense the text nor move it.
TEST(GridWidgetPaint, LeadingBlanksPlaceTheTextAndTrailingOnesAreCut)
{
    auto g = viewLikeGrid(1, 4, 1, 4);
    g->setColumnWidth(-1, 20);
    g->setAlignment(Block::allCells(), HAlign::Left, VAlign::Centre);
    g->setText(1, 1, "AB");
    g->setText(1, 2, "    AB");
    g->setText(1, 3, "\u3000\u3000AB");
    g->setText(1, 4, "\u3000\u3000AB\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000");
    Shown s(g);
    ASSERT_GT(s.widget->fontMetrics().horizontalAdvance(QString::fromStdString(g->getText(1, 4))), s.cell(1, 4).width())
        << "the blanks reach beyond the cell";
    const QImage img = s.image();
    auto firstInk = [&](int row) {
        const QRect r = s.cell(1, row).adjusted(1, 1, -1, -1);
        for (int x = r.left(); x <= r.right(); ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                if (notWhite(img.pixelColor(x, y)))
                    return x;
        return -1;
    };
    const int plain = firstInk(1);
    ASSERT_GT(plain, 0);
    EXPECT_GT(firstInk(2), plain + 6);
    EXPECT_GT(firstInk(3), firstInk(2)) << "two ideographic blanks are wider than four ASCII ones";
    const QImage row3 = img.copy(s.cell(1, 3).adjusted(1, 1, -1, -1));
    const QImage row4 = img.copy(s.cell(1, 4).adjusted(1, 1, -1, -1));
    EXPECT_EQ(row4, row3) << "drawn exactly as without the trailing blanks";
}

TEST(GridWidgetScroll, FrozenRowsAndColumnsStayWhileTheRestScrolls)
{
    auto g = viewLikeGrid(30, 200, 6, 10);
    g->setFrozen(1, 2);
    g->setText(3, 1, "title");
    g->setBackColour(Block::rows(1, 2), rgb(255, 255, 200));
    for (int r = 3; r <= 200; ++r) {
        g->setText(1, r, static_cast<long>(r));
        g->setText(4, r, static_cast<long>(r * 7));
    }
    g->setBackColour({-1, 3, -1, 3}, kCyan);
    g->setBorder(Block::allCells(), BorderSides::All, std::nullopt);
    Shown s(g);
    const QRect frozenRow = s.cell(1, 1).united(s.cell(6, 2));
    const QRect firstScrolled = s.cell(2, 3).united(s.cell(6, 3));
    const QRect frozenColumn = s.cell(1, 3).united(s.cell(1, 10));
    const QImage before = s.image();

    s.widget->scrollToRow(50);
    const QImage vertical = s.image();
    EXPECT_EQ(s.cell(2, 50).top(), firstScrolled.top());
    EXPECT_EQ(vertical.copy(frozenRow), before.copy(frozenRow));
    EXPECT_NE(vertical.copy(firstScrolled), before.copy(firstScrolled));
    EXPECT_NE(vertical.copy(frozenColumn), before.copy(frozenColumn)) << "the frozen column scrolls vertically";

    s.widget->horizontalScrollBar()->setValue(5);
    const QImage both = s.image();
    EXPECT_EQ(s.cell(7, 50).left(), firstScrolled.left());
    EXPECT_EQ(both.copy(frozenColumn), vertical.copy(frozenColumn)) << "the frozen column stays horizontally";
    EXPECT_NE(both.copy(firstScrolled), vertical.copy(firstScrolled));
}

TEST(GridWidgetSize, SizeHintIsTheVisibleCellsPlusTheBarsNeeded)
{
    auto g = viewLikeGrid(6, 20, 3, 5);
    g->setColumnWidth(2, 8);
    g->setRowHeight(1, 15);
    GridWidget w;
    w.setGrid(g);
    const int frame = 2 * w.frameWidth();
    const int cells = w.columnWidthPx(1) + w.columnWidthPx(2) + w.columnWidthPx(3) + 1;
    int rows = 1;
    for (int r = 1; r <= 5; ++r)
        rows += w.rowHeightPx(r);
    const int vbar = w.verticalScrollBar()->sizeHint().width();
    const int hbar = w.horizontalScrollBar()->sizeHint().height();
    EXPECT_EQ(w.sizeHint(), QSize(cells + frame + vbar, rows + frame + hbar));

    // The units: a row-height unit is 1/64 inch, a width a number of characters.
    EXPECT_EQ(w.rowHeightPx(2), std::lround(10 * w.logicalDpiY() / 64.0));
    const int threeChars = w.columnWidthPx(2) - w.columnWidthPx(1);
    EXPECT_GT(threeChars, 0);
    EXPECT_EQ(threeChars % 3, 0);

    // Only the bars that are allowed, and only when there is more to show.
    g->setScrollBars(ScrollBars::Vertical, true);
    w.refresh();
    EXPECT_EQ(w.sizeHint(), QSize(cells + frame + vbar, rows + frame));
    g->setVisibleSize(6, 20);
    w.refresh();
    EXPECT_EQ(w.sizeHint().width() - frame - 1, w.columnWidthPx(1) * 5 + w.columnWidthPx(2))
        << "everything visible: no bar";
}

TEST(GridWidgetSize, BarsAppearOnlyWhenTheRoomIsShort)
{
    auto g = viewLikeGrid(6, 20, 6, 20);
    Shown s(g);
    EXPECT_FALSE(s.widget->verticalScrollBar()->isVisible());
    EXPECT_FALSE(s.widget->horizontalScrollBar()->isVisible());
    s.widget->resize(s.widget->sizeHint() - QSize(0, 50));
    EXPECT_TRUE(s.widget->verticalScrollBar()->isVisible());
    EXPECT_GT(s.widget->verticalScrollBar()->maximum(), 0);
    g->setScrollBars(ScrollBars::Horizontal, true);
    s.widget->refresh();
    EXPECT_FALSE(s.widget->verticalScrollBar()->isVisible()) << "not allowed by the table";
}

void press(GridWidget& w, int key)
{
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &e);
}

TEST(GridWidgetKeys, EnterMovesToTheNextCellInReadingOrderWithinTheDataRows)
{
    auto g = viewLikeGrid(4, 60, 4, 10);
    g->setEnterAction(EnterAction::NextCell);
    g->restrictToDataRows(true);
    for (int r = 1; r <= 40; ++r)
        g->setText(1, r, static_cast<long>(r));
    g->setActiveCell(2, 38);
    Shown s(g);
    QSignalSpy spy(s.widget.get(), &GridWidget::currentCellChanged);
    const auto current = [&] { return QPoint(s.widget->currentColumn(), s.widget->currentRow()); };
    press(*s.widget, Qt::Key_Return);
    EXPECT_EQ(current(), QPoint(3, 38)) << "the cell to the right";
    press(*s.widget, Qt::Key_Enter);
    EXPECT_EQ(current(), QPoint(4, 38));
    press(*s.widget, Qt::Key_Return);
    EXPECT_EQ(current(), QPoint(1, 39)) << "after the last column, the first cell of the next row";
    press(*s.widget, Qt::Key_Down);
    EXPECT_EQ(current(), QPoint(1, 40));
    EXPECT_EQ(spy.count(), 4);
    EXPECT_EQ(g->activeRow(), 40) << "the model follows the widget";
    // The current cell was scrolled into view.
    EXPECT_TRUE(s.widget->viewport()->rect().contains(s.cell(1, 40)));

    press(*s.widget, Qt::Key_Right);
    press(*s.widget, Qt::Key_Right);
    press(*s.widget, Qt::Key_Right);
    press(*s.widget, Qt::Key_Right);
    EXPECT_EQ(current(), QPoint(4, 40));
    press(*s.widget, Qt::Key_Return);
    EXPECT_EQ(current(), QPoint(4, 40)) << "the last cell of the last data row stays current";
    press(*s.widget, Qt::Key_PageUp);
    EXPECT_LT(s.widget->currentRow(), 40);
}

TEST(GridWidgetKeys, EnterDoesNothingWithoutTheNextCellAction)
{
    auto g = viewLikeGrid(4, 10, 4, 10);
    g->setText(1, 10, "x");
    g->setActiveCell(1, 1);
    Shown s(g);
    press(*s.widget, Qt::Key_Return);
    EXPECT_EQ(s.widget->currentRow(), 1);
}

// No table, an empty table and a table without data rows: painting, keys
// and clicks do nothing harmful.
TEST(GridWidgetEdges, EmptyTablesAreHarmless)
{
    GridWidget none;
    none.resize(100, 100);
    none.show();
    EXPECT_FALSE(none.grab().isNull());
    press(none, Qt::Key_Down);
    EXPECT_EQ(none.currentRow(), 0);

    auto empty = viewLikeGrid(0, 0, 5, 5);
    Shown s(empty);
    EXPECT_FALSE(s.image().isNull());
    press(*s.widget, Qt::Key_Down);
    EXPECT_EQ(s.widget->currentRow(), 0);

    auto noData = viewLikeGrid(3, 3, 3, 3);
    noData->restrictToDataRows(true);
    noData->setFrozen(5, 5);  // more than the table has
    Shown t(noData);
    press(*t.widget, Qt::Key_Down);
    QTest::mouseClick(t.widget->viewport(), Qt::LeftButton, {}, t.cell(2, 2).center());
    EXPECT_EQ(t.widget->currentRow(), 0) << "no row holds data";
    EXPECT_FALSE(t.image().isNull());
}

TEST(GridWidgetMouse, ClickSelectsACellWithinTheDataRows)
{
    auto g = viewLikeGrid(4, 10, 4, 10);
    g->restrictToDataRows(true);
    g->setText(1, 5, "x");
    Shown s(g);
    QTest::mouseClick(s.widget->viewport(), Qt::LeftButton, {}, s.cell(3, 4).center());
    EXPECT_EQ(s.widget->currentColumn(), 3);
    EXPECT_EQ(s.widget->currentRow(), 4);
    QTest::mouseClick(s.widget->viewport(), Qt::LeftButton, {}, s.cell(2, 8).center());
    EXPECT_EQ(s.widget->currentRow(), 4) << "row 8 lies below the last data row";
}

}  // namespace
}  // namespace rumone
