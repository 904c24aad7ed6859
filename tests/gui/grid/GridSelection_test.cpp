// Working with a table as a player does: choosing blocks, copying them,
// going to a draw, zooming, and what assistive technology reads.
#include <gtest/gtest.h>
#include <stdio.h>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTranslator>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/grid/GridExport.h"
#include "core/store/DrawStore.h"
#include "gui/MainWindow.h"
#include "gui/analysis/AnalysisWindow.h"
#include "gui/common/AppSettings.h"
#include "gui/common/FileDialogs.h"
#include "gui/common/QtJapanese.h"
#include "gui/grid/GridCommands.h"
#include "gui/grid/GridPrinter.h"
#include "gui/grid/GridWidget.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

// One frozen column of draw numbers and two frozen header rows above
// draws 101..100 + draws.
std::shared_ptr<ResultGrid> drawGrid(int draws, int visibleRows = 8)
{
    auto g = std::make_shared<ResultGrid>();
    g->setSize(5, draws + 2);
    g->setVisibleSize(5, visibleRows);
    g->setAutoSize(true);
    g->showBuiltInHeaders(false, false);
    g->setScrollBars(ScrollBars::Both, true);
    g->setFrozen(1, 2);
    g->setColumnWidth(-1, 5);
    g->restrictToDataRows(true);
    g->setDrawColumn(1);
    g->setText(1, 1, "回数");
    for (int c = 2; c <= 5; ++c)
        g->setText(c, 2, "d" + std::to_string(c));
    for (int i = 1; i <= draws; ++i) {
        g->setText(1, i + 2, static_cast<long>(100 + i));
        for (int c = 2; c <= 5; ++c)
            g->setText(c, i + 2, (i + c) % 3 ? "" : "●");
    }
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
    QPoint at(int column, int row) const { return widget->cellRect(column, row).center(); }
};

bool same(const CellRange& a, const CellRange& b)
{
    return a.col1 == b.col1 && a.row1 == b.row1 && a.col2 == b.col2 && a.row2 == b.row2;
}

TEST(GridSelection, KeysClicksAndDragsChooseBlocks)
{
    struct Case {
        const char* what;
        std::function<void(Shown&)> act;
        CellRange want;
    };
    const Case cases[] = {
        {"Shift+arrows",
         [](Shown& s) {
             s.widget->setCurrentCell(2, 3);
             QTest::keyClick(s.widget.get(), Qt::Key_Right, Qt::ShiftModifier);
             QTest::keyClick(s.widget.get(), Qt::Key_Down, Qt::ShiftModifier);
         },
         {2, 3, 3, 4}},
        {"Shift+click",
         [](Shown& s) {
             QTest::mouseClick(s.widget->viewport(), Qt::LeftButton, {}, s.at(4, 5));
             QTest::mouseClick(s.widget->viewport(), Qt::LeftButton, Qt::ShiftModifier, s.at(2, 3));
         },
         {2, 3, 4, 5}},
        {"drag",
         [](Shown& s) {
             QTest::mousePress(s.widget->viewport(), Qt::LeftButton, {}, s.at(2, 4));
             QMouseEvent move(QEvent::MouseMove, s.at(3, 6), s.widget->viewport()->mapToGlobal(s.at(3, 6)),
                              Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(s.widget->viewport(), &move);
             QTest::mouseRelease(s.widget->viewport(), Qt::LeftButton, {}, s.at(3, 6));
         },
         {2, 4, 3, 6}},
        {"plain arrow ends a block",
         [](Shown& s) {
             s.widget->selectBlock(2, 3, 4, 5);
             QTest::keyClick(s.widget.get(), Qt::Key_Left);
         },
         {3, 5, 3, 5}},
        {"frozen row chooses its column",
         [](Shown& s) { QTest::mouseClick(s.widget->viewport(), Qt::LeftButton, {}, s.at(3, 2)); },
         {3, 1, 3, 22}},
        {"frozen column chooses its row",
         [](Shown& s) { QTest::mouseClick(s.widget->viewport(), Qt::LeftButton, {}, s.at(1, 5)); },
         {1, 5, 5, 5}},
        {"Ctrl+A chooses the data area",
         [](Shown& s) { QTest::keyClick(s.widget.get(), Qt::Key_A, Qt::ControlModifier); },
         {2, 3, 5, 22}},
    };
    for (const Case& c : cases) {
        Shown s(drawGrid(20, 30));
        c.act(s);
        const CellRange got = s.widget->selection();
        EXPECT_TRUE(same(got, c.want)) << c.what << ": " << got.col1 << "," << got.row1 << " - " << got.col2 << ","
                                       << got.row2;
    }
}

TEST(GridSelection, CopyPutsTheBlockAsTextAndHtml)
{
    Shown s(drawGrid(20, 30));
    s.widget->selectBlock(1, 3, 3, 5);
    QTest::keyClick(s.widget.get(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->text().toStdString(), blockTsv(*s.widget->grid(), {1, 3, 3, 5}));
    s.widget->grid()->setText(1, 4, "changed");  // made when asked for, from the cells as copied
    EXPECT_EQ(copied->text().toStdString(), "101\t●\t\n102\t\t\n103\t\t●\n");
    EXPECT_TRUE(copied->html().contains(QStringLiteral("<td")));
}

TEST(GridSelection, CtrlHomeEndAndGoToDrawMoveByRows)
{
    Shown s(drawGrid(300));
    s.widget->setCurrentCell(3, 10);
    QTest::keyClick(s.widget.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(s.widget->currentRow(), 302);
    EXPECT_EQ(s.widget->currentColumn(), 3) << "the column stays";
    QTest::keyClick(s.widget.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(s.widget->currentRow(), 3) << "the first row below the headers";

    ASSERT_TRUE(s.widget->goToDraw(250));
    EXPECT_EQ(s.widget->currentRow(), 152);
    EXPECT_EQ(s.widget->verticalScrollBar()->value(), 152 - 3) << "the draw's row right below the frozen rows";
    EXPECT_FALSE(s.widget->goToDraw(100));
    EXPECT_FALSE(s.widget->goToDraw(401));
    EXPECT_EQ(s.widget->currentRow(), 152);
}

TEST(GridSelection, ZoomScalesWidthsAndHeightsTogether)
{
    Shown s(drawGrid(20));
    const int width = s.widget->columnWidthPx(2);
    const int height = s.widget->rowHeightPx(3);
    int told = 0;
    QObject::connect(s.widget.get(), &GridWidget::zoomChanged, [&](int percent) { told = percent; });
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(s.widget.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(told, 130);
    EXPECT_GT(s.widget->columnWidthPx(2), width * 1.1);  // the font grows in steps of its own
    EXPECT_NEAR(s.widget->rowHeightPx(3), height * 1.3, 2);
    QTest::keyClick(s.widget.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(s.widget->columnWidthPx(2), width);
    s.widget->setZoom(1000);
    EXPECT_EQ(s.widget->zoom(), GridWidget::kMaxZoom);
}

TEST(GridSelection, PrinterTakesOnlyTheChosenDraws)
{
    auto g = drawGrid(300);
    GridPrinter printer(*g, "t");
    printer.setRows(latestDrawRows(*g, 50));
    QImage page(800, 1100, QImage::Format_RGB32);
    printer.layOut(page);
    EXPECT_EQ(printer.pageRows(1).first, 253);
    EXPECT_EQ(printer.pageRows(printer.pageCount()).last, 302);
    EXPECT_EQ(printer.repeatedRows(), 2) << "the headers still head every page";
}

std::unique_ptr<MainWindow> frameWith(DrawHistory history)
{
    auto frame = std::make_unique<MainWindow>();
    frame->loadWithHistory(std::move(history));
    frame->resize(1200, 900);
    frame->show();
    return frame;
}

TEST(GridSelection, ViewsOpenAtTheLatestDrawsAndShareAKeptZoom)
{
    auto frame = frameWith(test::randomHistory(400));
    auto* view = qobject_cast<AnalysisWindow*>(frame->showView(QStringLiteral("数字合計分析")));
    ASSERT_TRUE(view);
    GridWidget* grid = view->gridWidget();
    QScrollBar* bar = grid->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    grid->setZoom(140);  // as Ctrl+wheel does
    EXPECT_EQ(frame->gridZoom(), 140);
    EXPECT_EQ(AppSettings().gridZoom(), 140) << AppSettings::filePath().toStdString();
    auto* other = qobject_cast<AnalysisWindow*>(frame->showView(QStringLiteral("出現頻度分析")));
    EXPECT_EQ(other->gridWidget()->zoom(), 140) << "a view opened later takes the zoom";
    frame->closeAllViews();
    QApplication::processEvents();
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
    frame->setGridZoom(100);
}

// A screen reader's walk: the table, its size, each cell's text and place
// and its headers from the frozen rows and column.
TEST(GridSelection, AssistiveTechnologyReadsTheTable)
{
    auto frame = frameWith(test::randomHistory(30));
    auto* view = qobject_cast<AnalysisWindow*>(frame->showView(QStringLiteral("数字合計分析")));
    ASSERT_TRUE(view);
    GridWidget* grid = view->gridWidget();
    const ResultGrid& model = *grid->grid();
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface* t = table->tableInterface();
    ASSERT_TRUE(t);
    EXPECT_EQ(t->rowCount(), model.rows());
    EXPECT_EQ(t->columnCount(), model.columns());
    const int frozenRows = model.frozenRows();
    for (int r = 0; r < t->rowCount(); r += 7) {
        for (int c = 0; c < t->columnCount(); ++c) {
            QAccessibleInterface* cell = t->cellAt(r, c);
            ASSERT_TRUE(cell && cell->tableCellInterface());
            QAccessibleTableCellInterface* ci = cell->tableCellInterface();
            EXPECT_EQ(ci->rowIndex(), r);
            EXPECT_EQ(ci->columnIndex(), c);
            EXPECT_EQ(cell->text(QAccessible::Name).toStdString(), model.getText(c + 1, r + 1));
            if (r >= frozenRows && c >= model.frozenColumns()) {
                for (QAccessibleInterface* h : ci->columnHeaderCells())
                    EXPECT_LT(h->tableCellInterface()->rowIndex(), frozenRows);
                for (QAccessibleInterface* h : ci->rowHeaderCells()) {
                    EXPECT_LT(h->tableCellInterface()->columnIndex(), model.frozenColumns());
                    EXPECT_EQ(h->tableCellInterface()->rowIndex(), r);
                }
                if (model.frozenColumns() > 0 && model.hasText(1, r + 1)) {
                    EXPECT_FALSE(ci->rowHeaderCells().isEmpty());
                }
            }
        }
    }

    // The cell a moved current cell is announced as.
    grid->setCurrentCell(3, frozenRows + 2);
    QAccessibleInterface* focused = table->focusChild();
    ASSERT_TRUE(focused && focused->tableCellInterface());
    EXPECT_EQ(focused->tableCellInterface()->rowIndex(), frozenRows + 1);
    EXPECT_EQ(focused->tableCellInterface()->columnIndex(), 2);
    EXPECT_TRUE(focused->state().focused);
}

// Every choice of the print dialog in Japanese, its page range too.
TEST(GridSelection, PrintDialogSpeaksJapanese)
{
    std::unique_ptr<QTranslator> japanese(installQtJapanese(*qApp));
    if (!japanese)
        GTEST_SKIP() << "Qt's Japanese translations are not installed";
    QPrinter printer;
    QPrintDialog dialog(&printer);
    for (const QRadioButton* choice : dialog.findChildren<QRadioButton*>()) {
        const QString text = choice->text();
        EXPECT_TRUE(std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetter() && c.unicode() < 128; }))
            << text.toStdString();
    }
    QCoreApplication::removeTranslator(japanese.get());
}

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// An analysis view's CSV出力 offers the data alone first, the table as
// shown after it; the file type chosen decides what is written.
TEST(GridSelection, AnAnalysisViewExportsItsDataAloneUnlessTheTableIsChosen)
{
    auto frame = frameWith(test::randomHistory(60));
    auto* view = qobject_cast<AnalysisWindow*>(frame->showView(QStringLiteral("出現間隔分析")));
    ASSERT_TRUE(view);
    const ResultGrid& grid = *view->gridWidget()->grid();
    test::TempDir dir;
    const std::string data = dir.path() + "/data.csv", shown = dir.path() + "/shown.csv";
    {
        ScriptedFileChoices choices({{QString::fromStdString(data), 0}, {QString::fromStdString(shown), 2}});
        chooseFileAndExportCsv(*view->gridWidget());
        chooseFileAndExportCsv(*view->gridWidget());
    }
    EXPECT_EQ(contentOf(data), "\xEF\xBB\xBF" + gridDataCsv(grid));
    EXPECT_EQ(contentOf(shown), "\xEF\xBB\xBF" + gridCsv(grid));
    EXPECT_NE(contentOf(data), contentOf(shown));
}

// The command line writes the view's export, byte for byte.
TEST(GridSelection, GridDumpCsvEqualsTheViewsExport)
{
    const std::string db = std::string(RUMONE_BIN_DIR) + "/Rumone.mdb";
    if (!std::ifstream(db))
        GTEST_SKIP() << "no sample database";
    auto frame = frameWith(loadDrawHistory(drawDatabaseAt(db)));
    test::TempDir dir;
    for (const char* name : {"出現頻度分析", "数字合計分析"}) {
        auto* view = qobject_cast<AnalysisWindow*>(frame->showView(QString::fromUtf8(name)));
        ASSERT_TRUE(view);
        for (const auto& [encoding, flag] :
             {std::pair{TextEncoding::Utf8WithBom, ""}, std::pair{TextEncoding::Cp932, " --cp932"}}) {
            const std::string path = dir.path() + "/view.csv";
            ASSERT_EQ(exportGridCsv(*view->gridWidget()->grid(), QString::fromStdString(path), encoding), QString());
            const std::string command =
                std::string(RUMONE_BIN_DIR) + "/rumone-griddump '" + db + "' " + name + " --csv" + flag;
            FILE* pipe = popen(command.c_str(), "r");
            ASSERT_TRUE(pipe);
            std::string printed;
            char buf[65536];
            for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
                printed.append(buf, n);
            EXPECT_EQ(pclose(pipe), 0);
            EXPECT_TRUE(printed == contentOf(path)) << name << flag;
            EXPECT_GT(printed.size(), 1000u);
        }
    }
}

}  // namespace
}  // namespace rumone
