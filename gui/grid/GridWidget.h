// The spreadsheet-like widget that shows a ResultGrid: frozen leading rows
// and columns, per-side solid borders, titles that run over empty cells,
// auto-size to the visible columns and rows. Only visible cells are painted.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <memory>

#include "core/grid/ResultGrid.h"

namespace rumone {

class GridWidget : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit GridWidget(QWidget* parent = nullptr);
    ~GridWidget() override;

    // Shows `grid`; call refresh() whenever the model changes afterwards.
    void setGrid(std::shared_ptr<ResultGrid> grid);
    ResultGrid* grid() const { return grid_.get(); }
    void refresh();

    // With auto-size on: exactly the visible columns and rows, plus the
    // scroll bars that are needed. Otherwise a default size.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The grid font: "ＭＳ Ｐゴシック" 9 pt, or an installed proportional
    // Japanese Gothic font in its place.
    static QFont gridFont();
    int columnWidthPx(int column) const;  // widths in characters of the grid font
    int rowHeightPx(int row) const;       // heights in row-height units

    // The current cell; (0, 0) when no data cell is current.
    int currentColumn() const;
    int currentRow() const;
    void setCurrentCell(int column, int row);

    // The rectangle of a cell in viewport coordinates (scrolling applied).
    QRect cellRect(int column, int row) const;
    // Scrolls so that `row` is the first scrolling row below the frozen ones.
    void scrollToRow(int row);

    // Pixel geometry of the grid, shared with its painter (GridLayoutWidget.h).
    class Layout;

signals:
    void currentCellChanged(int column, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBars();
    int firstScrollColumn() const;
    int firstScrollRow() const;
    QSize scrollingPaneSize() const;
    QPoint cellAt(const QPoint& pos) const;  // (column, row), (0, 0) outside
    void moveCurrent(int dColumn, int dRow);
    void ensureVisible(int column, int row);
    void changeCurrent(int column, int row);

    std::shared_ptr<ResultGrid> grid_;
    std::unique_ptr<Layout> layout_;
    int currentColumn_ = 0;
    int currentRow_ = 0;
};

}  // namespace rumone
