#include "gui/grid/GridPainter.h"
#include "gui/common/QtConversions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace rumone {

namespace {

// A text wider than its room is condensed to at most this share of its width.
constexpr double kMinCondense = 0.6;

QColor backOf(const CellStyle& s)
{
    return s.back ? toQColor(*s.back) : GridDefaults::background();
}

QColor textOf(const CellStyle& s)
{
    return s.text ? toQColor(*s.text) : GridDefaults::text();
}

// "A" to "Z", then "AA", "AB", ... as spreadsheets name their columns.
QString columnLetters(int column)
{
    QString s;
    for (int n = column; n > 0; n = (n - 1) / 26)
        s.prepend(QChar(u'A' + (n - 1) % 26));
    return s;
}

// Rectangles of one colour joined where they touch or overlap along their
// length: a line one pixel high across (the sides two neighbours share, a
// line through a row of cells), anything else down (a line through a
// column, a background down the rows). The colours are opaque, so the
// pixels filled stay the same.
QList<QRect> joined(const QList<QRect>& rects)
{
    const auto flat = [](const QRect& r) { return r.height() == 1 && r.width() > 1; };
    // Sorted so that pieces to join follow each other: the flat ones by
    // row then start, the others by column and width then start.
    struct Keyed {
        std::uint64_t first, second;
        QRect rect;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<std::size_t>(rects.size()));
    for (const QRect& r : rects) {
        const auto x = static_cast<std::uint32_t>(r.left()), y = static_cast<std::uint32_t>(r.top());
        if (flat(r))
            keyed.push_back({std::uint64_t{y} << 32 | x, 0, r});
        else
            keyed.push_back(
                {std::uint64_t{1} << 63 | std::uint64_t{x} << 31 | static_cast<std::uint32_t>(r.width()), y, r});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return a.first != b.first ? a.first < b.first : a.second < b.second;
    });
    QList<QRect> out;
    out.reserve(rects.size());
    for (const Keyed& k : keyed) {
        const QRect& r = k.rect;
        if (!out.isEmpty()) {
            QRect& last = out.back();
            if (flat(r) && flat(last) && r.top() == last.top() && r.left() <= last.right() + 1) {
                last.setRight(std::max(last.right(), r.right()));
                continue;
            }
            if (!flat(r) && !flat(last) && r.left() == last.left() && r.width() == last.width() &&
                r.top() <= last.bottom() + 1) {
                last.setBottom(std::max(last.bottom(), r.bottom()));
                continue;
            }
        }
        out.push_back(r);
    }
    return out;
}

// Rectangles to fill, kept by colour.
class RectBatches {
public:
    void add(QRgb colour, const QRect& rect)
    {
        if (last_ < batches_.size() && batches_[last_].first == colour) {
            batches_[last_].second.push_back(rect);
            return;
        }
        for (last_ = 0; last_ < batches_.size(); ++last_)
            if (batches_[last_].first == colour)
                break;
        if (last_ == batches_.size())
            batches_.emplace_back(colour, QList<QRect>());
        batches_[last_].second.push_back(rect);
    }
    void fill(QPainter& painter) const
    {
        if (batches_.empty())
            return;
        painter.save();
        painter.setPen(Qt::NoPen);
        for (const auto& [colour, rects] : batches_) {
            painter.setBrush(QColor(colour));
            const QList<QRect> lines = joined(rects);
            painter.drawRects(lines.constData(), static_cast<int>(lines.size()));
        }
        painter.restore();
    }

private:
    std::vector<std::pair<QRgb, QList<QRect>>> batches_;
    std::size_t last_ = 0;
};

}  // namespace

GridPainter::GridPainter(QPainter& painter, const GridWidget::Layout& layout, int currentColumn, int currentRow)
    : p_(painter), layout_(layout), grid_(*layout.grid()), currentColumn_(currentColumn), currentRow_(currentRow)
{
}

void GridPainter::paintPane(const GridPane& pane)
{
    if (pane.empty())
        return;
    p_.save();
    p_.setClipRect(pane.clip);
    p_.translate(pane.shift);
    penSet_ = false;
    paintBackgrounds(pane);
    // Lines in a colour of their own are drawn last, so that they win over
    // a default line on the same edge.
    paintLines(pane, false);
    paintLines(pane, true);
    paintTexts(pane);
    paintSelection(pane);
    paintFocus(pane);
    p_.restore();
}

void GridPainter::paintBackgrounds(const GridPane& pane)
{
    const GridAxis& cols = layout_.columns();
    const GridAxis& rows = layout_.rows();
    // Neighbours of one colour are filled together, across a row and down
    // the rows below (a printer or a file writes each filling out).
    RectBatches batches;
    for (int r = pane.row1; r <= pane.row2; ++r) {
        const int y = rows.start(r);
        const int h = rows.end(r) - y;
        if (h <= 0)
            continue;
        int runStart = pane.col1;
        QColor runColour = backOf(grid_.style(runStart, r));
        for (int c = pane.col1 + 1; c <= pane.col2 + 1; ++c) {
            const QColor colour = c <= pane.col2 ? backOf(grid_.style(c, r)) : QColor();
            if (c <= pane.col2 && colour == runColour)
                continue;
            batches.add(runColour.rgb(), QRect(cols.start(runStart), y, cols.start(c) - cols.start(runStart), h));
            runStart = c;
            runColour = colour;
        }
    }
    batches.fill(p_);
    penSet_ = false;
}

// Every side sits on the cell's edge: the right line of a cell and the left
// line of its neighbour are the same pixels, and so are a bottom and a top.
void GridPainter::paintLines(const GridPane& pane, bool coloured)
{
    const GridAxis& cols = layout_.columns();
    const GridAxis& rows = layout_.rows();
    const auto wanted = coloured ? BorderLine::Kind::Coloured : BorderLine::Kind::Default;
    // The lines are gathered by colour and each colour filled in one call:
    // a pane holds a few thousand line pieces but only a few colours.
    RectBatches batches;
    const QRgb defaultLine = GridDefaults::line().rgb();
    for (int r = pane.row1; r <= pane.row2; ++r) {
        const int top = rows.start(r);
        const int bottom = rows.end(r);
        for (int c = pane.col1; c <= pane.col2; ++c) {
            const CellStyle& s = grid_.style(c, r);
            const int left = cols.start(c);
            const int right = cols.end(c);
            auto add = [&](const BorderLine& line, const QRect& rect) {
                if (line.kind == wanted)
                    batches.add(coloured ? qRgb(line.colour.r, line.colour.g, line.colour.b) : defaultLine, rect);
            };
            add(s.left, QRect(left, top, 1, bottom - top + 1));
            add(s.right, QRect(right, top, 1, bottom - top + 1));
            add(s.top, QRect(left, top, right - left + 1, 1));
            add(s.bottom, QRect(left, bottom, right - left + 1, 1));
        }
    }
    batches.fill(p_);
    penSet_ = false;
}

void GridPainter::paintTexts(const GridPane& pane)
{
    p_.setFont(layout_.font());
    const bool overflow = grid_.overflow();
    for (int r = pane.row1; r <= pane.row2; ++r) {
        int from = pane.col1;
        int to = pane.col2;
        if (overflow) {
            // A text outside the pane's visible columns may run into them
            // across empty cells: look for the nearest text on either side.
            while (from > pane.spanCol1 && !grid_.hasText(from, r))
                --from;
            while (to < pane.spanCol2 && !grid_.hasText(to, r))
                ++to;
        }
        for (int c = from; c <= to; ++c)
            if (grid_.hasText(c, r))
                paintCellText(pane, c, r);
    }
}

void GridPainter::paintCellText(const GridPane& pane, int column, int row)
{
    const GridAxis& cols = layout_.columns();
    const GridAxis& rows = layout_.rows();
    const CellStyle& s = grid_.style(column, row);
    const GridText& t = layout_.text(grid_.getText(column, row));
    const QFontMetrics& fm = layout_.metrics();
    constexpr int pad = GridWidget::Layout::kCellPadding;

    const int left = cols.start(column);
    const int right = cols.end(column);
    const int top = rows.start(row);
    const int bottom = rows.end(row);
    int x = left + pad;
    if (s.hAlign == HAlign::Right)
        x = right - pad - t.width;
    else if (s.hAlign == HAlign::Centre)
        x = left + (right - left - t.width + 1) / 2;
    int y = top + (bottom - top - fm.height() + 1) / 2 + fm.ascent();
    if (s.vAlign == VAlign::Top)
        y = top + 1 + fm.ascent();
    else if (s.vAlign == VAlign::Bottom)
        y = bottom - fm.descent();

    // What has to find room: a left-aligned text ends at its last visible
    // character (its trailing blanks may be cut); otherwise the blanks on
    // both sides take part in placing the text.
    const int need = s.hAlign == HAlign::Left ? t.inkWidth : t.width;
    usePen(textOf(s));
    if (x > left && x + need <= right) {
        if (column >= pane.col1 && column <= pane.col2)
            p_.drawStaticText(QPoint(x, y - fm.ascent()), t.text);
        return;
    }
    // Too wide: clipped to the cell, or to the empty neighbours it runs into.
    int spanL = column;
    int spanR = column;
    if (grid_.overflow()) {
        if (s.hAlign != HAlign::Right)
            while (spanR < pane.spanCol2 && cols.end(spanR) < x + need && !grid_.hasText(spanR + 1, row))
                ++spanR;
        if (s.hAlign != HAlign::Left)
            while (spanL > pane.spanCol1 && cols.start(spanL) > x && !grid_.hasText(spanL - 1, row))
                --spanL;
        if (s.hAlign == HAlign::Centre) {
            // Cut short on one side (the table's edge, a written cell): the
            // room it lacks is taken on the other side where that is free.
            const auto short_ = [&] { return cols.end(spanR) - cols.start(spanL) - 2 * pad < t.width; };
            while (short_() && spanR < pane.spanCol2 && !grid_.hasText(spanR + 1, row))
                ++spanR;
            while (short_() && spanL > pane.spanCol1 && !grid_.hasText(spanL - 1, row))
                --spanL;
        }
    }
    if (spanR < pane.col1 || spanL > pane.col2)
        return;
    const int spanLeft = cols.start(spanL);
    const int spanRight = cols.end(spanR);
    p_.save();
    p_.setClipRect(QRect(QPoint(spanLeft + 1, top + 1), QPoint(spanRight - 1, bottom - 1)), Qt::IntersectClip);
    const int room = spanRight - spanLeft - 2 * pad;
    if (need > room && room > 0) {
        // Still too wide: condensed to the room there is (down to a limit
        // below which it would not read), aligned as the cell says.
        const double scale = std::max(kMinCondense, double(room) / need);
        const int drawn = static_cast<int>(std::ceil(need * scale));
        x = spanLeft + pad;
        if (s.hAlign == HAlign::Right)
            x = spanRight - pad - drawn;
        else if (s.hAlign == HAlign::Centre)
            x = spanLeft + (spanRight - spanLeft - drawn + 1) / 2;
        p_.translate(x, y - fm.ascent());
        p_.scale(scale, 1.0);
        p_.drawStaticText(QPoint(0, 0), t.text);
    } else {
        // It fits the room it runs into: kept whole inside it, however its
        // alignment placed it.
        x = std::clamp(x, spanLeft + pad, std::max(spanLeft + pad, spanRight - pad - need));
        p_.drawStaticText(QPoint(x, y - fm.ascent()), t.text);
    }
    p_.restore();
    penSet_ = false;
}

void GridPainter::paintSelection(const GridPane& pane)
{
    const CellRange& s = selection_;
    if (s.empty() || (s.col1 == s.col2 && s.row1 == s.row2))
        return;
    const int c1 = std::max(s.col1, pane.col1), c2 = std::min(s.col2, pane.col2);
    const int r1 = std::max(s.row1, pane.row1), r2 = std::min(s.row2, pane.row2);
    if (c1 > c2 || r1 > r2)
        return;
    const GridAxis& cols = layout_.columns();
    const GridAxis& rows = layout_.rows();
    p_.fillRect(QRect(QPoint(cols.start(c1), rows.start(r1)), QPoint(cols.end(c2) - 1, rows.end(r2) - 1)),
                GridDefaults::selection());
}

void GridPainter::paintFocus(const GridPane& pane)
{
    const int c = currentColumn_;
    const int r = currentRow_;
    if (c < pane.col1 || c > pane.col2 || r < pane.row1 || r > pane.row2)
        return;
    const GridAxis& cols = layout_.columns();
    const GridAxis& rows = layout_.rows();
    const int left = cols.start(c) + 1, right = cols.end(c) - 1;
    const int top = rows.start(r) + 1, bottom = rows.end(r) - 1;
    if (right < left || bottom < top)
        return;
    const QColor focus = GridDefaults::focus();
    p_.fillRect(QRect(left, top, right - left + 1, 1), focus);
    p_.fillRect(QRect(left, bottom, right - left + 1, 1), focus);
    p_.fillRect(QRect(left, top, 1, bottom - top + 1), focus);
    p_.fillRect(QRect(right, top, 1, bottom - top + 1), focus);
}

void GridPainter::paintColumnHeaders(const GridPane& pane)
{
    if (pane.empty())
        return;
    p_.save();
    p_.setClipRect(pane.clip);
    p_.translate(pane.shift);
    penSet_ = false;
    const GridAxis& cols = layout_.columns();
    for (int c = pane.col1; c <= pane.col2; ++c)
        paintHeaderCell(
            QRect(cols.start(c), -layout_.headerHeight(), cols.end(c) - cols.start(c), layout_.headerHeight()),
            columnLetters(c));
    p_.restore();
}

void GridPainter::paintRowHeaders(const GridPane& pane)
{
    if (pane.empty())
        return;
    p_.save();
    p_.setClipRect(pane.clip);
    p_.translate(pane.shift);
    penSet_ = false;
    const GridAxis& rows = layout_.rows();
    for (int r = pane.row1; r <= pane.row2; ++r)
        paintHeaderCell(
            QRect(-layout_.headerWidth(), rows.start(r), layout_.headerWidth(), rows.end(r) - rows.start(r)),
            QString::number(r));
    p_.restore();
}

void GridPainter::paintHeaderCell(const QRect& rect, const QString& label)
{
    p_.fillRect(rect, GridDefaults::headerBackground());
    p_.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), GridDefaults::line());
    p_.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), GridDefaults::line());
    usePen(GridDefaults::text());
    p_.drawText(rect, Qt::AlignCenter, label);
}

void GridPainter::usePen(const QColor& colour)
{
    if (penSet_ && pen_ == colour.rgb())
        return;
    p_.setPen(colour);
    pen_ = colour.rgb();
    penSet_ = true;
}

}  // namespace rumone
