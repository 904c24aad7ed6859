// Printing: tables into PDF files and into images of a page's size. Rows
// break across pages exactly once each, the title rows repeat at the top of
// every page, tables with nothing in them still print a page, and the
// prediction page shows the switches as they are set.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRadioButton>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "core/analysis/AnalysisView.h"
#include "core/predict/Prediction.h"
#include "gui/common/PrintDialog.h"
#include "gui/grid/GridPrinter.h"
#include "gui/predict/PredictionView.h"
#include "support/TestSupport.h"

using namespace rumone;

namespace {

constexpr Rgb kTitlePink = rgb(255, 200, 200);  // the title band of the division views

std::unique_ptr<QPdfWriter> a4Pdf(const std::string& path)
{
    auto writer = std::make_unique<QPdfWriter>(QString::fromStdString(path));
    writer->setPageSize(QPageSize(QPageSize::A4));
    writer->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer->setResolution(300);
    return writer;
}

int pdfPageCount(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::regex page(R"(/Type\s*/Page(?![a-zA-Z]))");
    return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

// The printable part of an A4 page inside 15 mm margins, at 100 dpi.
QImage blankPage()
{
    constexpr int dpi = 100;
    QImage image(180 * dpi * 10 / 254, 267 * dpi * 10 / 254, QImage::Format_RGB32);
    image.setDotsPerMeterX(std::lround(dpi / 0.0254));
    image.setDotsPerMeterY(std::lround(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

QImage renderPage(GridPrinter& printer, int page)
{
    QImage image = blankPage();
    printer.layOut(image);
    QPainter painter(&image);
    printer.paintPage(painter, page);
    return image;
}

double pinkShare(const QImage& image, int y, int x1, int x2)
{
    int hits = 0;
    for (int x = x1; x < x2; ++x)
        hits += image.pixel(x, y) == qRgb(kTitlePink.r, kTitlePink.g, kTitlePink.b);
    return double(hits) / std::max(1, x2 - x1);
}

int rowPx(const ResultGrid& grid, int row)
{
    return std::lround(grid.rowHeight(row) * GridPrinter::kLayoutDpi / 64.0);
}

std::shared_ptr<ResultGrid> divisionTable(int draws)
{
    auto grid = std::make_shared<ResultGrid>();
    const AnalysisViewSpec* view = findAnalysisView("分割3データ分析");
    EXPECT_NE(view, nullptr);
    if (view)
        view->build(*grid, test::randomHistory(draws, 3));
    return grid;
}

}  // namespace

TEST(GridPrinter, LongTableBreaksRowsAndRepeatsTheTitleRowsOnEveryPage)
{
    const int draws = 32767;
    auto grid = divisionTable(draws);
    ASSERT_EQ(grid->rows(), draws + 3);
    GridPrinter printer(*grid, QStringLiteral("3分割データ分析"));
    const int titles = rowPx(*grid, 1) + rowPx(*grid, 2) + rowPx(*grid, 3);
    test::TempDir dir;
    {
        auto writer = a4Pdf(dir.file("long.pdf"));
        printer.layOut(*writer);
        // Below the three title rows, as many draw rows (all of one height)
        // as fit with the closing line.
        ASSERT_EQ(printer.repeatedRows(), 3);
        const int room = static_cast<int>(std::floor(printer.frame().body().height() / printer.scale()));
        const int perPage = (room - titles - 1) / rowPx(*grid, 4);
        ASSERT_GT(perPage, 10);
        EXPECT_EQ(printer.pageCount(), (draws + perPage - 1) / perPage);
        int next = 4;
        for (int p = 1; p <= printer.pageCount(); ++p) {
            const RowSpan rows = printer.pageRows(p);
            ASSERT_EQ(rows.first, next) << "page " << p;
            if (p < printer.pageCount()) {
                EXPECT_EQ(rows.last - rows.first + 1, perPage) << "page " << p;
            }
            next = rows.last + 1;
        }
        EXPECT_EQ(next, grid->rows() + 1);
        // The whole width on the page, smaller than on screen.
        GridWidget widget;
        widget.setGrid(grid);
        int tableWidth = 1;
        for (int c = 1; c <= grid->columns(); ++c)
            tableWidth += widget.columnWidthPx(c);
        EXPECT_LE(printer.scale() * tableWidth, printer.frame().body().width() + 1);
        EXPECT_LT(printer.scale(), 300.0 / GridPrinter::kLayoutDpi);

        ASSERT_TRUE(printer.print(*writer, 2, 4));  // a page range from the dialog
    }
    EXPECT_EQ(pdfPageCount(dir.file("long.pdf")), 3);

    // Each page starts with the pink title band; the first draw row below
    // the titles is not pink.
    for (int p : {1, 2, 3, printer.pageCount()}) {
        SCOPED_TRACE(p);
        const QImage page = renderPage(printer, p);
        const int top = printer.frame().body().top();
        const double s = printer.scale();
        const int x1 = static_cast<int>(s * 60), x2 = static_cast<int>(s * 600);
        EXPECT_GT(pinkShare(page, top + static_cast<int>(s * rowPx(*grid, 1) / 2), x1, x2), 0.5);
        EXPECT_LT(pinkShare(page, top + static_cast<int>(s * (titles + rowPx(*grid, 4) / 2.0)), x1, x2), 0.05);
    }
}

TEST(GridPrinter, ShortAndEmptyTablesPrintOnePage)
{
    test::TempDir dir;
    ResultGrid empty;
    auto titlesOnly = divisionTable(0);
    auto short_ = divisionTable(20);
    int file = 0;
    for (const ResultGrid* grid : {&empty, titlesOnly.get(), short_.get()}) {
        SCOPED_TRACE(++file);
        const std::string path = dir.file(std::to_string(file) + ".pdf");
        GridPrinter printer(*grid, QStringLiteral("表"));
        {
            auto writer = a4Pdf(path);
            ASSERT_TRUE(printer.print(*writer));
        }
        EXPECT_EQ(printer.pageCount(), 1);
        EXPECT_EQ(pdfPageCount(path), 1);
        EXPECT_EQ(printer.pageRows(1).empty(), grid != short_.get());
        renderPage(printer, 2);  // no such page: nothing painted, no fault
    }

    // A narrow table is never enlarged beyond its size on screen.
    ResultGrid narrow;
    narrow.setSize(2, 2);
    GridPrinter printer(narrow, QStringLiteral("表"));
    auto writer = a4Pdf(dir.file("no-such-folder/narrow.pdf"));
    printer.layOut(*writer);
    EXPECT_DOUBLE_EQ(printer.scale(), 300.0 / GridPrinter::kLayoutDpi);
    EXPECT_FALSE(printer.print(*writer));  // a file that cannot be written is reported
}

// A print to a file that is cancelled part-way or fails leaves the file
// that was there as it was and nothing beside it; a finished one replaces
// it whole. Progress counts the pages up to the total.
TEST(GridPrinter, FileAppearsOnlyWhenEveryPageIsPrinted)
{
    auto grid = divisionTable(2000);
    struct Case {
        const char* name;
        int stopAfter;  // pages; -1: never
        bool failing;   // the job fails after its pages
        PrintResult expected;
    };
    const Case cases[] = {
        {"finished", -1, false, PrintResult::Printed},
        {"cancelled", 2, false, PrintResult::Cancelled},
        {"failed", -1, true, PrintResult::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string target = dir.file("table.pdf");
        std::ofstream(target) << "old";
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(target));
        std::vector<std::pair<int, int>> reports;
        const PrintProgress progress = [&](int done, int total) {
            reports.emplace_back(done, total);
            return c.stopAfter < 0 || done < c.stopAfter;
        };
        const PrintResult result = printToWholeFile(printer, progress, [&](QPrinter& p, const PrintProgress& report) {
            GridPrinter gridPrinter(*grid, QStringLiteral("表"));
            const PrintResult r = gridPrinter.print(p, 1, 0, report);
            return c.failing ? PrintResult::Failed : r;
        });
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(printer.outputFileName().toStdString(), target);
        const int files = static_cast<int>(std::distance(std::filesystem::directory_iterator(dir.path()), {}));
        EXPECT_EQ(files, 1);
        std::ifstream in(target, std::ios::binary);
        const std::string head((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(head.rfind("%PDF", 0) == 0, c.expected == PrintResult::Printed);
        ASSERT_FALSE(reports.empty());
        const int total = reports.front().second;
        EXPECT_GT(total, 3);
        for (std::size_t i = 0; i < reports.size(); ++i)
            EXPECT_EQ(reports[i], std::make_pair(static_cast<int>(i), total));
        if (c.expected == PrintResult::Cancelled) {
            EXPECT_EQ(reports.back().first, c.stopAfter);
        } else {
            EXPECT_EQ(reports.back().first, total);
        }
    }
}

// A PDF gets the permissions of any new file of the user's and is written
// where a link at its name points, the link kept.
TEST(PrintToFile, ThePdfHasTheUsualPermissionsAndALinkIsFollowed)
{
    auto grid = std::make_shared<ResultGrid>();
    grid->setSize(2, 2);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "link" : "plain");
        test::TempDir dir;
        const std::string real = dir.file("real.pdf");
        const std::string named = linked ? dir.file("table.pdf") : real;
        if (linked)
            std::filesystem::create_symlink("real.pdf", named);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(named));
        const PrintResult result = printToWholeFile(
            printer, [](int, int) { return true; },
            [&](QPrinter& p, const PrintProgress& report) {
                return GridPrinter(*grid, QStringLiteral("表")).print(p, 1, 0, report);
            });
        ASSERT_EQ(result, PrintResult::Printed);
        EXPECT_EQ(std::filesystem::is_symlink(named), linked);
        struct stat st {};
        ASSERT_EQ(::stat(real.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
        EXPECT_EQ(static_cast<int>(std::distance(std::filesystem::directory_iterator(dir.path()), {})), linked ? 2 : 1);
    }
}

TEST(PrintButtons, PredictionPageShowsTheSwitchesAsSet)
{
    struct Host : ViewHost {
        void setPropEnd(bool) override {}
        const DrawHistory& drawHistory() const override { return history; }
        DrawHistory history = test::randomHistory(400, 9);
    } host;
    Prediction prediction;
    QMdiArea area;
    area.resize(1200, 1000);
    area.show();
    auto* view = new PredictionView(host, prediction);
    QMdiSubWindow* sub = area.addSubWindow(view);
    view->load();
    sub->show();
    QApplication::processEvents();

    const auto page = [&] {
        QImage image = blankPage();
        QPainter painter(&image);
        view->paintPrintPage(painter, image);
        return image;
    };
    const QImage before = page();
    int ink = 0;
    for (int y = PageFrame(before, {}, {}).body().top(); y < before.height(); y += 2)
        for (int x = 0; x < before.width(); x += 2)
            ink += before.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(ink, 1000);
    view->reflectButton(4)->click();
    EXPECT_NE(page(), before);

    test::TempDir dir;
    {
        auto writer = a4Pdf(dir.file("prediction.pdf"));
        ASSERT_TRUE(view->printTo(*writer));
    }
    EXPECT_EQ(pdfPageCount(dir.file("prediction.pdf")), 1);
}
