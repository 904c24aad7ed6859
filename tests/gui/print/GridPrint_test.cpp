// Printing a table: pages into a PDF file and into images of a page's size.
// The rows break across pages exactly once each, the title rows repeat at
// the top of every page, the table keeps to the page's width, and tables
// with nothing in them still print a page.
#include <QApplication>
#include <QImage>
#include <QMarginsF>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRadioButton>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <regex>

#include "analysis/AnalysisView.h"
#include "app/AnalysisWindow.h"
#include "predict/Prediction.h"
#include "predict/PredictionView.h"
#include "support/TestSupport.h"
#include "ui/GridPrintWidget.h"

using namespace rumone;

namespace {

constexpr Rgb kTitlePink = RGB(255, 200, 200);  // the title band of the division views
constexpr int kImageDpi = 100;

// An A4 PDF with margins, as a printer would give it.
std::unique_ptr<QPdfWriter> PdfWriter(const std::string& path)
{
    auto writer = std::make_unique<QPdfWriter>(QString::fromStdString(path));
    writer->setPageSize(QPageSize(QPageSize::A4));
    writer->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer->setResolution(300);
    return writer;
}

// Pages in a PDF file: its page objects.
int PdfPageCount(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::regex page(R"(/Type\s*/Page(?![a-zA-Z]))");
    return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

// A white A4 page of kImageDpi, the printable area inside 15 mm margins.
QImage BlankPage()
{
    const double mmToPx = kImageDpi / 25.4;
    QImage image(static_cast<int>((210 - 30) * mmToPx), static_cast<int>((297 - 30) * mmToPx), QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(std::lround(kImageDpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(kImageDpi / 0.0254)));
    image.fill(Qt::white);
    return image;
}

QImage RenderPage(GridPrinter& printer, int page)
{
    QImage image = BlankPage();
    printer.layOut(image);
    QPainter painter(&image);
    printer.paintPage(painter, page);
    return image;
}

// Share of the pixels along the line `y` across the table that are `rgb`.
double ShareOf(const QImage& image, int y, int x1, int x2, Rgb rgb)
{
    int hits = 0;
    for (int x = x1; x < x2; ++x) {
        const QColor c = image.pixelColor(x, y);
        hits += c.red() == rgb.r && c.green() == rgb.g && c.blue() == rgb.b;
    }
    return x2 > x1 ? double(hits) / (x2 - x1) : 0.0;
}

int RowPx(const ResultGrid& grid, int row)
{
    return static_cast<int>(std::lround(grid.RowHeight(row) * GridPrinter::kLayoutDpi / 64.0));
}

// A table the way the views set theirs up: a title row in pink, frozen.
std::shared_ptr<ResultGrid> SmallTable(int columns, int rows)
{
    auto g = std::make_shared<ResultGrid>();
    g->SetSize(columns, rows);
    g->ShowBuiltInHeaders(false, false);
    g->SetFrozen(0, 1);
    g->SetColumnWidth(-1, 6);
    g->SetBorder(Block::AllCells(), BorderSides::All, std::nullopt);
    g->SetBackColour(Block::Rows(1, 1), kTitlePink);
    for (int c = 1; c <= columns; ++c)
        g->SetText(c, 1, "見出し");
    for (int r = 2; r <= rows; ++r)
        g->SetText(1, r, r - 1);
    return g;
}

std::shared_ptr<ResultGrid> DivisionTable(int draws)
{
    const AnalysisViewSpec* view = FindAnalysisView("分割3データ分析");
    EXPECT_NE(view, nullptr);
    auto grid = std::make_shared<ResultGrid>();
    if (view)
        view->build(*grid, test::RandomHistory(draws, 3));
    return grid;
}

}  // namespace

TEST(GridPrinter, SmallTablePrintsOnOnePageAtItsScreenSize)
{
    test::TempDir dir;
    auto grid = SmallTable(4, 10);
    GridPrinter printer(*grid, QStringLiteral("小さな表"));
    {
        auto writer = PdfWriter(dir.file("small.pdf"));
        ASSERT_TRUE(printer.print(*writer));
        EXPECT_EQ(printer.pageCount(), 1);
        EXPECT_DOUBLE_EQ(printer.scale(), 300.0 / GridPrinter::kLayoutDpi);  // never enlarged
        EXPECT_EQ(printer.repeatedRows(), 1);
        EXPECT_EQ(printer.pageRows(1).first, 2);
        EXPECT_EQ(printer.pageRows(1).last, 10);
    }
    EXPECT_EQ(PdfPageCount(dir.file("small.pdf")), 1);

    const QImage page = RenderPage(printer, 1);
    const int top = printer.frame().body().top();
    const int titleMiddle = top + static_cast<int>(printer.scale() * RowPx(*grid, 1) / 2);
    EXPECT_GT(ShareOf(page, titleMiddle, 0, page.width() / 8, kTitlePink), 0.3);
}

TEST(GridPrinter, WideTableIsScaledToThePageWidth)
{
    auto grid = SmallTable(30, 5);
    GridPrinter printer(*grid, QStringLiteral("幅の広い表"));
    QImage page = BlankPage();
    printer.layOut(page);
    const double natural = double(kImageDpi) / GridPrinter::kLayoutDpi;
    EXPECT_LT(printer.scale(), natural);
    // The last column's colour reaches near the right edge, and no further.
    page = RenderPage(printer, 1);
    const int y = printer.frame().body().top() + static_cast<int>(printer.scale() * RowPx(*grid, 1) / 2);
    const int w = page.width();
    EXPECT_GT(ShareOf(page, y, w - w / 50, w - 2, kTitlePink), 0.3);
}

TEST(GridPrinter, LongTableBreaksRowsAndRepeatsTheTitleRowsOnEveryPage)
{
    const int draws = 32767;
    auto grid = DivisionTable(draws);
    ASSERT_EQ(grid->Rows(), draws + 3);
    GridPrinter printer(*grid, QStringLiteral("3分割データ分析"), QDate(2026, 12, 8));
    test::TempDir dir;
    {
        auto writer = PdfWriter(dir.file("long.pdf"));
        printer.layOut(*writer);
        // Three title rows, then draw rows of one height: as many to a page
        // as fit below the titles with the closing line.
        ASSERT_EQ(printer.repeatedRows(), 3);
        const int titles = RowPx(*grid, 1) + RowPx(*grid, 2) + RowPx(*grid, 3);
        const int room = static_cast<int>(std::floor(printer.frame().body().height() / printer.scale()));
        const int perPage = (room - titles - 1) / RowPx(*grid, 4);
        ASSERT_GT(perPage, 10);
        const int expectedPages = (draws + perPage - 1) / perPage;
        EXPECT_EQ(printer.pageCount(), expectedPages);
        // Every draw row exactly once, in order, full pages but the last.
        int next = 4;
        for (int p = 1; p <= printer.pageCount(); ++p) {
            const RowSpan rows = printer.pageRows(p);
            ASSERT_EQ(rows.first, next) << "page " << p;
            if (p < printer.pageCount()) {
                EXPECT_EQ(rows.last - rows.first + 1, perPage) << "page " << p;
            }
            next = rows.last + 1;
        }
        EXPECT_EQ(next, grid->Rows() + 1);
        // The whole width on the page.
        const int tableWidth = [&] {
            GridWidget widget;
            widget.setGrid(grid);
            int w = 1;
            for (int c = 1; c <= grid->Columns(); ++c)
                w += widget.columnWidthPx(c);
            return w;
        }();
        EXPECT_LE(printer.scale() * tableWidth, printer.frame().body().width() + 1);

        // Pages 2 to 4 only: what a page range chosen in the dialog prints.
        ASSERT_TRUE(printer.print(*writer, 2, 4));
    }
    EXPECT_EQ(PdfPageCount(dir.file("long.pdf")), 3);

    // Page 2, 3 and the last start with the pink title band; the first
    // draw row below the titles is not pink.
    for (int p : {2, 3, printer.pageCount()}) {
        SCOPED_TRACE(p);
        const QImage page = RenderPage(printer, p);
        const int top = printer.frame().body().top();
        const double s = printer.scale();
        const int x1 = static_cast<int>(s * 40), x2 = static_cast<int>(s * 600);
        EXPECT_GT(ShareOf(page, top + static_cast<int>(s * RowPx(*grid, 1) / 2), x1, x2, kTitlePink), 0.5);
        const int firstDrawMiddle = top + static_cast<int>(s * (RowPx(*grid, 1) + RowPx(*grid, 2) + RowPx(*grid, 3) + RowPx(*grid, 4) / 2));
        EXPECT_LT(ShareOf(page, firstDrawMiddle, x1, x2, kTitlePink), 0.05);
    }
}

TEST(GridPrinter, TablesWithoutRowsStillPrintOnePage)
{
    test::TempDir dir;
    ResultGrid empty;
    auto titlesOnly = DivisionTable(0);
    ASSERT_EQ(titlesOnly->Rows(), 3);
    int file = 0;
    for (const ResultGrid* grid : {&empty, titlesOnly.get()}) {
        SCOPED_TRACE(file);
        const std::string path = dir.file("empty" + std::to_string(++file) + ".pdf");
        GridPrinter printer(*grid, QStringLiteral("空の表"));
        {
            auto writer = PdfWriter(path);
            ASSERT_TRUE(printer.print(*writer));
        }
        EXPECT_EQ(printer.pageCount(), 1);
        EXPECT_TRUE(printer.pageRows(1).empty());
        EXPECT_EQ(PdfPageCount(path), 1);
        RenderPage(printer, 1);
        RenderPage(printer, 2);  // no such page: nothing painted, no fault
    }
}

TEST(GridPrinter, AFileThatCannotBeWrittenIsReported)
{
    test::TempDir dir;
    auto grid = SmallTable(3, 3);
    GridPrinter printer(*grid, QStringLiteral("表"));
    auto writer = PdfWriter(dir.file("no-such-folder/out.pdf"));
    EXPECT_FALSE(printer.print(*writer));
}

// ---- the windows behind the 印刷 buttons

namespace {

class FakeHost : public ViewHost {
public:
    void setPropEnd(bool) override {}
    const DrawHistory& drawHistory() const override { return history; }
    DrawHistory history = test::RandomHistory(400, 9);
};

template <typename View>
struct InMdiArea {
    QMdiArea area;
    View* view;
    explicit InMdiArea(View* v) : view(v)
    {
        area.resize(1200, 1000);
        area.show();
        QMdiSubWindow* sub = area.addSubWindow(view);
        view->Load();
        sub->show();
        QApplication::processEvents();
    }
};

}  // namespace

TEST(PrintButtons, AnalysisWindowPrintsItsWholeTable)
{
    FakeHost host;
    const AnalysisViewSpec* spec = FindAnalysisView("数字合計分析");
    ASSERT_NE(spec, nullptr);
    ASSERT_TRUE(spec->hasPrintButton);
    InMdiArea<AnalysisWindow> shown(new AnalysisWindow(host, *spec));
    test::TempDir dir;
    int expected = 0;
    {
        auto writer = PdfWriter(dir.file("window.pdf"));
        GridPrinter reference(*shown.view->gridWidget()->grid(), QString());
        reference.layOut(*writer);
        expected = reference.pageCount();
        ASSERT_GT(expected, 1);  // 400 draws do not fit on one page
        ASSERT_TRUE(shown.view->PrintGrid(*writer));
    }
    EXPECT_EQ(PdfPageCount(dir.file("window.pdf")), expected);
}

TEST(PrintButtons, PredictionPagePrintsTheSwitchesAsSet)
{
    FakeHost host;
    Prediction prediction;
    InMdiArea<PredictionView> shown(new PredictionView(host, prediction));
    const auto page = [&] {
        QImage image = BlankPage();
        QPainter painter(&image);
        shown.view->PaintPrintPage(painter, image);
        return image;
    };
    const QImage before = page();
    // Something printed below the top band.
    const int bodyTop = PageFrame(before, QString(), QDate()).body().top();
    int ink = 0;
    for (int y = bodyTop; y < before.height(); y += 2)
        for (int x = 0; x < before.width(); x += 2)
            ink += before.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(ink, 1000);

    shown.view->reflectButton(4)->click();
    EXPECT_NE(page(), before);

    test::TempDir dir;
    {
        auto writer = PdfWriter(dir.file("prediction.pdf"));
        ASSERT_TRUE(shown.view->PrintTo(*writer));
    }
    EXPECT_EQ(PdfPageCount(dir.file("prediction.pdf")), 1);
}
