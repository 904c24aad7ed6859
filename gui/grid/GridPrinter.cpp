#include "gui/grid/GridPrinter.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/grid/ResultGrid.h"
#include "gui/grid/GridLayout.h"
#include "gui/grid/GridPainter.h"

namespace rumone {

namespace {

// The grid font in pixels of the layout's resolution: a pixel size is not
// scaled again by the printer's resolution, only by the painter's scale.
QFont layoutFont()
{
    QFont font = GridWidget::gridFont();
    font.setPixelSize(static_cast<int>(std::lround(font.pointSizeF() * GridPrinter::kLayoutDpi / 72.0)));
    return font;
}

}  // namespace

// ---- the page's bands

PageFrame::PageFrame(const QPaintDevice& device, QString caption, QDate date)
    : caption_(std::move(caption)), date_(date), font_(GridWidget::gridFont())
{
    font_.setPointSize(10);
    line_ = QFontMetrics(font_, &device).height();
    page_ = QRect(0, 0, device.width(), device.height());
    const int band = line_ + line_ / 2;
    body_ = page_.adjusted(0, band, 0, -band);
    if (body_.height() < 1)  // a device too small for the bands
        body_ = page_;
}

void PageFrame::paint(QPainter& painter, int page, int pageCount) const
{
    painter.save();
    painter.setFont(font_);
    painter.setPen(Qt::black);
    const QFontMetrics fm = painter.fontMetrics();
    const QString date = date_.isValid() ? date_.toString(QStringLiteral("yyyy年M月d日")) : QString();
    const QRect top(page_.left(), page_.top(), page_.width(), line_);
    const int captionRoom = std::max(0, top.width() - fm.horizontalAdvance(date) - line_);
    painter.drawText(QRect(top.left(), top.top(), captionRoom, top.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     fm.elidedText(caption_, Qt::ElideRight, captionRoom));
    painter.drawText(top, Qt::AlignRight | Qt::AlignVCenter, date);
    const int rule = std::max(1, line_ / 16);
    painter.fillRect(QRect(page_.left(), top.bottom() + line_ / 4, page_.width(), rule), QColor(128, 128, 128));
    painter.drawText(QRect(page_.left(), page_.bottom() + 1 - line_, page_.width(), line_), Qt::AlignCenter,
                     QStringLiteral("%1 / %2").arg(page).arg(pageCount));
    painter.restore();
}

// ---- the table

GridPrinter::GridPrinter(const ResultGrid& grid, QString caption, QDate date)
    : grid_(grid), caption_(std::move(caption)), date_(date)
{
}

GridPrinter::~GridPrinter() = default;

void GridPrinter::layOut(const QPaintDevice& device)
{
    frame_ = std::make_unique<PageFrame>(device, caption_, date_);
    layout_ = std::make_unique<GridWidget::Layout>(&grid_, layoutFont(), kLayoutDpi);
    pages_.clear();

    const GridAxis& rows = layout_->rows();
    // Rows past the last one with a text are no data where the table says
    // its data ends there; otherwise every row prints.
    lastRow_ = grid_.restrictedToDataRows() ? std::max(grid_.lastDataRow(), rows.frozen) : rows.count();
    lastRow_ = std::min(lastRow_, rows.count());

    // As large as on screen, smaller where the page is narrower.
    const QRect body = frame_->body();
    const int tableWidth = layout_->columns().offsets.back() + 1;
    scale_ = std::min(device.logicalDpiX() / double(kLayoutDpi), body.width() / double(tableWidth));
    scale_ = std::max(scale_, 1e-3);
    room_ = std::max(1, static_cast<int>(std::floor(body.height() / scale_)));

    // Leading rows that would take more than half of every page are
    // printed once, as any other row.
    repeated_ = rows.frozen <= lastRow_ && rows.frozenExtent() <= room_ / 2 ? rows.frozen : 0;
    const int below = room_ - rows.offsets[repeated_];
    const int firstRow = chosen_.empty() ? repeated_ + 1 : std::max(repeated_ + 1, chosen_.first);
    const int lastRow = chosen_.empty() ? lastRow_ : std::min(lastRow_, chosen_.last);
    for (int first = firstRow; first <= lastRow;) {
        // At least one row a page; the + 1 is the closing line of the last.
        int last = first;
        while (last < lastRow && rows.end(last + 1) - rows.start(first) + 1 <= below)
            ++last;
        pages_.push_back({first, last});
        first = last + 1;
    }
    if (pages_.empty())
        pages_.push_back({repeated_ + 1, repeated_});
}

void GridPrinter::paintPage(QPainter& painter, int page) const
{
    if (!layout_ || page < 1 || page > pageCount())
        return;
    painter.save();
    frame_->paint(painter, page, pageCount());
    if (layout_->columns().count() > 0 && lastRow_ > 0) {
        painter.translate(frame_->body().topLeft());
        painter.scale(scale_, scale_);
        paintTable(painter, pageRows(page));
    }
    painter.restore();
}

// The page's rows below the repeated ones, then the repeated rows: they
// own the line on their boundary, as the frozen rows do on screen.
void GridPrinter::paintTable(QPainter& painter, const RowSpan& span) const
{
    const GridAxis& cols = layout_->columns();
    const GridAxis& rows = layout_->rows();
    const int width = cols.offsets.back() + 1;
    const int top = rows.offsets[repeated_];
    GridPane pane;
    pane.col1 = pane.spanCol1 = 1;
    pane.col2 = pane.spanCol2 = cols.count();
    GridPainter painterOfCells(painter, *layout_, 0, 0);  // no current cell on paper
    if (!span.empty()) {
        pane.row1 = span.first;
        pane.row2 = span.last;
        pane.shift = QPoint(0, top - rows.start(span.first));
        const int height = std::min(rows.end(span.last) - rows.start(span.first) + 1, room_ - top);
        pane.clip = QRect(0, top, width, height);
        painterOfCells.paintPane(pane);
    }
    if (repeated_ > 0) {
        pane.row1 = 1;
        pane.row2 = repeated_;
        pane.shift = QPoint(0, 0);
        pane.clip = QRect(0, 0, width, top + 1);
        painterOfCells.paintPane(pane);
    }
}

bool GridPrinter::print(QPagedPaintDevice& device, int first, int last)
{
    return print(device, first, last, PrintProgress()) == PrintResult::Printed;
}

PrintResult GridPrinter::print(QPagedPaintDevice& device, int first, int last, const PrintProgress& progress)
{
    layOut(device);
    const int n = pageCount();
    first = std::clamp(first, 1, n);
    last = last <= 0 ? n : std::min(last, n);
    QPainter painter;
    if (!painter.begin(&device))
        return PrintResult::Failed;
    for (int page = first; page <= last; ++page) {
        if (progress && !progress(page - first, last - first + 1)) {
            painter.end();
            return PrintResult::Cancelled;
        }
        if (page > first && !device.newPage()) {
            painter.end();
            return PrintResult::Failed;
        }
        paintPage(painter, page);
    }
    if (progress)
        progress(last - first + 1, last - first + 1);
    return painter.end() ? PrintResult::Printed : PrintResult::Failed;
}

}  // namespace rumone
