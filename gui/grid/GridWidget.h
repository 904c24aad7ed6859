// The spreadsheet-like widget that shows a ResultGrid: frozen leading rows
// and columns, per-side solid borders, titles that run over empty cells,
// auto-size to the visible columns and rows. Only visible cells are painted.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QPoint>
#include <memory>

#include "core/grid/ResultGrid.h"

class QMenu;

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
    // Scrolls to the last rows with data; the current cell stays.
    void scrollToLastRows();

    // The selected block: from the anchor to the current cell, or the rows
    // and columns chosen on a frozen header. Empty without a current cell.
    CellRange selection() const;
    // Selects the block and makes its far corner current (scrolled into view).
    void selectBlock(int anchorColumn, int anchorRow, int column, int row);
    // The cells below the frozen rows and right of the frozen columns.
    void selectDataArea();
    // The selection as tab-separated text and as HTML with its colours.
    void copySelection() const;
    // Makes the row of draw `number` the first one below the frozen rows
    // and its cell in the current column current; false where the table
    // does not show that draw.
    bool goToDraw(long number);

    // Zoom of font, widths and heights together, in percent.
    static constexpr int kMinZoom = 50;
    static constexpr int kMaxZoom = 300;
    static constexpr int kZoomStep = 10;
    int zoom() const { return zoom_; }
    // Whether CSV出力 offers the data alone before the table as shown.
    bool csvDataFirst() const { return csvDataFirst_; }
    void setCsvDataFirst(bool on) { csvDataFirst_ = on; }
    // Clamped; emits zoomChanged on a change. A table without scroll bars
    // keeps its size.
    void setZoom(int percent);

    // The context menu's commands: copy, go to a draw, CSV export, print.
    QMenu* createContextMenu(QWidget* parent);

    // Pixel geometry of the grid, shared with its painter (GridLayout.h).
    class Layout;

signals:
    void currentCellChanged(int column, int row);
    void zoomChanged(int percent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBars();
    int firstScrollColumn() const;
    int firstScrollRow() const;
    QSize scrollingPaneSize() const;
    QPoint cellAt(const QPoint& pos) const;  // (column, row), (0, 0) outside
    void moveCurrent(int dColumn, int dRow, bool extend = false);
    void ensureVisible(int column, int row);
    void changeCurrent(int column, int row);
    void moveTo(int column, int row, bool extend);
    bool handleCommandKey(QKeyEvent* event);
    void selectHeaderLine(int column, int row, bool extend);
    int firstDataRow() const;

    std::shared_ptr<ResultGrid> grid_;
    std::unique_ptr<Layout> layout_;
    int currentColumn_ = 0;
    int currentRow_ = 0;
    QPoint anchor_;         // the selection's fixed corner
    CellRange lineChosen_;  // rows or columns chosen on a header; empty otherwise
    bool dragging_ = false;
    int zoom_ = 100;
    bool csvDataFirst_ = false;
};

}  // namespace rumone
