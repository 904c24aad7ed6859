// Printing a ResultGrid: the whole table, all rows, page after page, painted
// by the grid widget's own painter so that colours, lines and texts look as
// they do on screen. The table is scaled to the width of the page (never
// beyond its size on screen); the leading frozen rows (the column titles)
// repeat at the top of every page.
#pragma once

#include <QDate>
#include <QFont>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

#include "core/grid/GridDrawRows.h"
#include "gui/common/PrintProgress.h"
#include "gui/grid/GridWidget.h"

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace rumone {

class ResultGrid;

// The band above and below the content of a printed page: the caption on
// the left and the date on the right above, "n / m" below.
class PageFrame {
public:
    PageFrame(const QPaintDevice& device, QString caption, QDate date);

    // The paintable page and the room left between the two bands, in the
    // device's pixels.
    QRect page() const { return page_; }
    QRect body() const { return body_; }
    void paint(QPainter& painter, int page, int pageCount) const;

private:
    QString caption_;
    QDate date_;
    QFont font_;
    QRect page_, body_;
    int line_ = 0;
};

// A run of rows from first to last; empty when first > last.
struct RowSpan {
    int first = 1, last = 0;
    bool empty() const { return first > last; }
};

class GridPrinter {
public:
    // The table must outlive the printer.
    GridPrinter(const ResultGrid& grid, QString caption, QDate date = QDate::currentDate());
    ~GridPrinter();
    GridPrinter(const GridPrinter&) = delete;
    GridPrinter& operator=(const GridPrinter&) = delete;

    // Prints only these rows below the repeated ones (an empty run: all).
    void setRows(RowRun rows) { chosen_ = rows; }

    // Splits the table into pages for `device`: its paintable size and its
    // resolution decide the scale and the rows each page takes.
    void layOut(const QPaintDevice& device);

    // After layOut: the pages (at least one, also for an empty table), the
    // rows each shows below the repeated ones (page from 1), how many
    // leading rows repeat, device pixels per grid pixel, the page's bands.
    int pageCount() const { return static_cast<int>(pages_.size()); }
    RowSpan pageRows(int page) const { return pages_.at(static_cast<std::size_t>(page - 1)); }
    int repeatedRows() const { return repeated_; }
    double scale() const { return scale_; }
    const PageFrame& frame() const { return *frame_; }

    // Paints `page` (from 1) with a painter on the device laid out for.
    void paintPage(QPainter& painter, int page) const;

    // Lays out for `device` and prints pages first to last (0: to the end).
    // False when the device cannot be painted on or refuses a new page.
    bool print(QPagedPaintDevice& device, int first = 1, int last = 0);
    // The same, telling `progress` before each page; Cancelled when it
    // says stop (the device is ended, its output is the caller's to drop).
    PrintResult print(QPagedPaintDevice& device, int first, int last, const PrintProgress& progress);

    // The grid's pixel geometry is that of a screen of this resolution;
    // printing at the same size means a scale of device dpi / kLayoutDpi.
    static constexpr int kLayoutDpi = 96;

private:
    void paintTable(QPainter& painter, const RowSpan& rows) const;

    const ResultGrid& grid_;
    QString caption_;
    QDate date_;
    std::unique_ptr<GridWidget::Layout> layout_;
    std::unique_ptr<PageFrame> frame_;
    std::vector<RowSpan> pages_;
    RowRun chosen_;
    int repeated_ = 0;
    int lastRow_ = 0;
    int room_ = 0;  // grid pixels of height on a page
    double scale_ = 1.0;
};

}  // namespace rumone
