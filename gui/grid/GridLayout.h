// Pixel geometry of a ResultGrid as GridWidget shows it: the two unit
// conversions, cumulative column and row offsets, the look-ups by position
// and a cache of the measured cell texts. Private to the grid widget.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QStaticText>
#include <QString>
#include <string>
#include <unordered_map>
#include <vector>

#include "gui/grid/GridWidget.h"

namespace rumone {

// The colours the grid uses where the model leaves a colour open.
struct GridDefaults {
    static QColor background() { return QColor(255, 255, 255); }
    static QColor text() { return QColor(0, 0, 0); }
    static QColor line() { return QColor(192, 192, 192); }
    static QColor focus() { return QColor(0, 0, 0); }
    static QColor headerBackground() { return QColor(224, 224, 224); }
    static QColor selection() { return QColor(0, 90, 200, 64); }
};

// Offsets along one axis: offsets[i] is where item i + 1 starts, so item i
// covers [offsets[i - 1], offsets[i]) and its closing line lies on offsets[i].
struct GridAxis {
    std::vector<int> offsets{0};
    int frozen = 0;

    int count() const { return static_cast<int>(offsets.size()) - 1; }
    int start(int item) const { return offsets[item - 1]; }
    int end(int item) const { return offsets[item]; }
    int frozenExtent() const { return offsets[frozen]; }
    // The item that covers position `pos`; 0 before the first, count() + 1
    // past the last.
    int itemAt(int pos) const;
    // The largest first scrolling item: the one from which the rest of the
    // table fits into `avail` pixels of the scrolling pane.
    int lastFirst(int avail) const;
    // The last item that is visible, at least partly, when the scrolling
    // pane of `avail` pixels starts with item `first`.
    int lastVisible(int first, int avail) const;
    // The first scrolling item that shows `item` completely at the far end
    // of a scrolling pane of `avail` pixels.
    int firstShowing(int item, int avail) const;
};

// A cell text ready to draw: laid out once, drawn many times.
struct GridText {
    std::string utf8;  // what it was made from
    QStaticText text;
    int width = 0;     // trailing blanks included: they count where the text is aligned
    int inkWidth = 0;  // up to the last character that is not a blank
};

class GridWidget::Layout {
public:
    // A column is this many characters of the grid font (its average
    // character width) plus the padding on both sides; a row-height unit
    // is 1/64 inch at the screen's logical resolution.
    static constexpr int kCellPadding = 2;
    static constexpr int kUnitsPerInch = 64;
    // Limits that keep pixel positions well inside int.
    static constexpr int kMaxSize = 1000;  // characters or units per column or row
    static constexpr int kMaxOffset = 1 << 29;

    Layout(const ResultGrid* grid, const QFont& font, int dpiY);

    int charsToPx(int chars) const;
    int unitsToPx(int units) const;

    const ResultGrid* grid() const { return grid_; }
    const QFont& font() const { return font_; }
    const QFontMetrics& metrics() const { return metrics_; }
    const GridAxis& columns() const { return columns_; }
    const GridAxis& rows() const { return rows_; }
    int headerWidth() const { return headerWidth_; }
    int headerHeight() const { return headerHeight_; }
    // The last row the user may move the current cell to.
    int lastSelectableRow() const { return lastSelectableRow_; }
    // The text of a cell with its width, measured once per distinct text.
    // Looked up by the address of the model's string and checked against
    // its content, so that a text changed in place is measured again.
    const GridText& text(const std::string& utf8) const;

private:
    const ResultGrid* grid_;
    QFont font_;
    QFontMetrics metrics_;
    int charWidth_;
    int dpiY_;
    GridAxis columns_, rows_;
    int headerWidth_ = 0, headerHeight_ = 0;
    int lastSelectableRow_ = 0;
    mutable std::unordered_map<const std::string*, GridText> texts_;
};

}  // namespace rumone
