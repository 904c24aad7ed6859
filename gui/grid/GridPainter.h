// Paints the cells of one pane of a GridWidget: backgrounds, then border
// lines, then texts (with overflow into empty neighbours), then the frame
// of the current cell. Private to the grid widget.
#pragma once

#include <QPainter>
#include <QPoint>
#include <QRect>

#include "gui/grid/GridLayout.h"

namespace rumone {

// One of the four panes (frozen or scrolling, in each direction).
struct GridPane {
    int col1 = 1, col2 = 0, row1 = 1, row2 = 0;  // visible cells, inclusive
    int spanCol1 = 1, spanCol2 = 0;              // columns a text may run across
    QPoint shift;                                // layout + shift = viewport
    QRect clip;                                  // viewport coordinates
    bool empty() const { return col1 > col2 || row1 > row2 || clip.isEmpty(); }
};

class GridPainter {
public:
    GridPainter(QPainter& painter, const GridWidget::Layout& layout, int currentColumn, int currentRow);

    // Cells of `selection` are tinted over their own colours, so that
    // those stay readable; a selection of one cell is the current cell only.
    void setSelection(const CellRange& selection) { selection_ = selection; }
    void paintPane(const GridPane& pane);
    // Built-in headers, where the model shows them: letters above the
    // columns, numbers left of the rows. `pane` gives the cells they label.
    void paintColumnHeaders(const GridPane& pane);
    void paintRowHeaders(const GridPane& pane);

private:
    void paintBackgrounds(const GridPane& pane);
    void paintLines(const GridPane& pane, bool coloured);
    void paintTexts(const GridPane& pane);
    void paintCellText(const GridPane& pane, int column, int row);
    void paintSelection(const GridPane& pane);
    void paintFocus(const GridPane& pane);
    void paintHeaderCell(const QRect& rect, const QString& label);
    void usePen(const QColor& colour);

    QPainter& p_;
    const GridWidget::Layout& layout_;
    const ResultGrid& grid_;
    int currentColumn_, currentRow_;
    CellRange selection_;
    QRgb pen_ = 0;
    bool penSet_ = false;
};

}  // namespace rumone
