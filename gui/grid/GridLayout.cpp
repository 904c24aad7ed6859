#include "gui/grid/GridLayout.h"

#include <QChar>
#include <algorithm>
#include <cmath>

namespace rumone {

int GridAxis::itemAt(int pos) const
{
    if (pos < 0)
        return 0;
    // First offset greater than pos: its index is the item covering pos.
    const auto it = std::upper_bound(offsets.begin(), offsets.end(), pos);
    return static_cast<int>(it - offsets.begin());
}

int GridAxis::lastFirst(int avail) const
{
    const int n = count();
    if (frozen >= n)
        return n + 1;
    // Smallest first item f > frozen with end(n) - start(f) + 1 <= avail
    // (the + 1 keeps the closing line of the last item in view).
    const int need = offsets[n] + 1 - std::max(avail, 1);
    const auto it = std::lower_bound(offsets.begin() + frozen, offsets.begin() + n, need);
    return std::min(static_cast<int>(it - offsets.begin()) + 1, n);
}

int GridAxis::lastVisible(int first, int avail) const
{
    if (first > count())
        return count();
    const int last = itemAt(start(first) + std::max(avail, 1) - 1);
    return std::min(last, count());
}

int GridAxis::firstShowing(int item, int avail) const
{
    const int need = end(item) + 1 - std::max(avail, 1);
    const auto it = std::lower_bound(offsets.begin() + frozen, offsets.begin() + item - 1, need);
    return static_cast<int>(it - offsets.begin()) + 1;
}

GridWidget::Layout::Layout(const ResultGrid* grid, const QFont& font, int dpiY)
    : grid_(grid),
      font_(font),
      metrics_(font),
      charWidth_(std::max(1, metrics_.averageCharWidth())),
      dpiY_(dpiY > 0 ? dpiY : 96)
{
    const int nc = grid->columns();
    const int nr = grid->rows();
    columns_.offsets.resize(static_cast<std::size_t>(nc) + 1);
    rows_.offsets.resize(static_cast<std::size_t>(nr) + 1);
    columns_.offsets[0] = rows_.offsets[0] = 0;
    // Offsets stop growing at kMaxOffset: what lies beyond has no room.
    const auto advance = [](int offset, int px) {
        return static_cast<int>(std::min<long long>(kMaxOffset, 0LL + offset + px));
    };
    for (int c = 1; c <= nc; ++c)
        columns_.offsets[c] = advance(columns_.offsets[c - 1], charsToPx(grid->columnWidth(c)));
    // Most rows share one height: convert each height once in a row.
    int lastUnits = -1, lastPx = 0;
    for (int r = 1; r <= nr; ++r) {
        const int units = grid->rowHeight(r);
        if (units != lastUnits) {
            lastUnits = units;
            lastPx = unitsToPx(units);
        }
        rows_.offsets[r] = advance(rows_.offsets[r - 1], lastPx);
    }
    columns_.frozen = std::min(grid->frozenColumns(), nc);
    rows_.frozen = std::min(grid->frozenRows(), nr);
    if (grid->columnLettersShown())
        headerHeight_ = unitsToPx(ResultGrid::kDefaultRowHeight);
    if (grid->rowNumbersShown())
        headerWidth_ = charsToPx(5);
    lastSelectableRow_ = grid->restrictedToDataRows() ? grid->lastDataRow() : nr;
}

int GridWidget::Layout::charsToPx(int chars) const
{
    return chars <= 0 ? 0 : std::min(chars, kMaxSize) * charWidth_ + 2 * kCellPadding;
}

int GridWidget::Layout::unitsToPx(int units) const
{
    return units <= 0 ? 0 : static_cast<int>(std::lround(std::min(units, kMaxSize) * dpiY_ / double(kUnitsPerInch)));
}

const GridText& GridWidget::Layout::text(const std::string& utf8) const
{
    GridText& t = texts_[&utf8];
    if (t.utf8 != utf8) {
        t.utf8 = utf8;
        const QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
        t.text = QStaticText(s);
        t.text.setTextFormat(Qt::PlainText);
        t.text.prepare(QTransform(), font_);
        t.width = static_cast<int>(std::lround(t.text.size().width()));  // trailing blanks included
        qsizetype inked = s.size();
        while (inked > 0 && (s.at(inked - 1) == u' ' || s.at(inked - 1) == QChar(0x3000)))
            --inked;
        t.inkWidth = inked == s.size() ? t.width : std::min(t.width, metrics_.horizontalAdvance(s.left(inked)));
    }
    return t;
}

}  // namespace rumone
