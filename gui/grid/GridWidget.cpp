#include "gui/grid/GridWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "core/grid/GridDrawRows.h"
#include "core/grid/GridExport.h"
#include "gui/common/JapaneseFont.h"
#include "gui/grid/GridAccessible.h"
#include "gui/grid/GridCommands.h"
#include "gui/grid/GridLayout.h"
#include "gui/grid/GridMimeData.h"
#include "gui/grid/GridPainter.h"

namespace rumone {

GridWidget::GridWidget(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFont(gridFont());
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    installGridAccessibility();
}

GridWidget::~GridWidget() = default;

QFont GridWidget::gridFont()
{
    return japaneseFont(9);
}

void GridWidget::setGrid(std::shared_ptr<ResultGrid> grid)
{
    layout_.reset();  // it points into the grid being replaced
    grid_ = std::move(grid);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    refresh();
}

void GridWidget::refresh()
{
    if (!grid_) {
        layout_.reset();
        currentColumn_ = currentRow_ = 0;
    } else {
        // Zoom scales the font and the row-height unit alike; column widths
        // follow the font.
        QFont zoomed = font();
        zoomed.setPointSizeF(font().pointSizeF() * zoom_ / 100.0);
        layout_ = std::make_unique<Layout>(grid_.get(), zoomed, logicalDpiY() * zoom_ / 100);
        const int c = grid_->activeColumn();
        const int r = grid_->activeRow();
        const bool inTable = c >= 1 && c <= grid_->columns() && r >= 1 && r <= grid_->rows();
        currentColumn_ = inTable ? c : 0;
        currentRow_ = inTable ? r : 0;
    }
    anchor_ = QPoint(currentColumn_, currentRow_);
    lineChosen_ = {};
    updateScrollBars();
    updateGeometry();
    viewport()->update();
}

// ---- sizes

int GridWidget::columnWidthPx(int column) const
{
    return layout_ && column >= 1 && column <= layout_->columns().count()
               ? layout_->columns().end(column) - layout_->columns().start(column)
               : 0;
}

int GridWidget::rowHeightPx(int row) const
{
    return layout_ && row >= 1 && row <= layout_->rows().count() ? layout_->rows().end(row) - layout_->rows().start(row)
                                                                 : 0;
}

QSize GridWidget::sizeHint() const
{
    if (!layout_ || !grid_->autoSize())
        return QAbstractScrollArea::sizeHint();
    const GridAxis& cols = layout_->columns();
    const GridAxis& rows = layout_->rows();
    // Visible columns and rows from the first; 0 means all of them. The
    // extra pixel holds the closing line of the last one.
    const int nc = grid_->visibleColumns() > 0 ? std::min(grid_->visibleColumns(), cols.count()) : cols.count();
    const int nr = grid_->visibleRows() > 0 ? std::min(grid_->visibleRows(), rows.count()) : rows.count();
    int w = layout_->headerWidth() + cols.offsets[nc] + 1 + 2 * frameWidth();
    int h = layout_->headerHeight() + rows.offsets[nr] + 1 + 2 * frameWidth();
    const ScrollBars bars = grid_->scrollBarsShown();
    const bool allowH = bars == ScrollBars::Horizontal || bars == ScrollBars::Both;
    const bool allowV = bars == ScrollBars::Vertical || bars == ScrollBars::Both;
    const bool always = !grid_->scrollBarsOnlyWhenNeeded();
    if (allowV && (always || rows.count() > nr))
        w += verticalScrollBar()->sizeHint().width();
    if (allowH && (always || cols.count() > nc))
        h += horizontalScrollBar()->sizeHint().height();
    return {w, h};
}

QSize GridWidget::minimumSizeHint() const
{
    return QAbstractScrollArea::minimumSizeHint();
}

// ---- scrolling

int GridWidget::firstScrollColumn() const
{
    return layout_->columns().frozen + 1 + horizontalScrollBar()->value();
}

int GridWidget::firstScrollRow() const
{
    return layout_->rows().frozen + 1 + verticalScrollBar()->value();
}

// Room for the scrolling columns and rows, beside the headers and the
// frozen part.
QSize GridWidget::scrollingPaneSize() const
{
    return {viewport()->width() - layout_->headerWidth() - layout_->columns().frozenExtent(),
            viewport()->height() - layout_->headerHeight() - layout_->rows().frozenExtent()};
}

// The scroll bars count columns and rows, not pixels: the value is the
// number of scrolling columns (rows) hidden before the first visible one.
void GridWidget::updateScrollBars()
{
    QScrollBar* hbar = horizontalScrollBar();
    QScrollBar* vbar = verticalScrollBar();
    if (!layout_) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        hbar->setRange(0, 0);
        vbar->setRange(0, 0);
        return;
    }
    const GridAxis& cols = layout_->columns();
    const GridAxis& rows = layout_->rows();
    const int totalW = layout_->headerWidth() + cols.offsets.back() + 1;
    const int totalH = layout_->headerHeight() + rows.offsets.back() + 1;
    const QRect area = contentsRect();
    const int barW = vbar->sizeHint().width();
    const int barH = hbar->sizeHint().height();
    const ScrollBars bars = grid_->scrollBarsShown();
    const bool allowH = bars == ScrollBars::Horizontal || bars == ScrollBars::Both;
    const bool allowV = bars == ScrollBars::Vertical || bars == ScrollBars::Both;
    bool showH = allowH, showV = allowV;
    if (grid_->scrollBarsOnlyWhenNeeded()) {
        showV = allowV && totalH > area.height();
        showH = allowH && totalW > area.width() - (showV ? barW : 0);
        if (showH && !showV)
            showV = allowV && totalH > area.height() - barH;
    }
    const auto policy = [](bool on) { return on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff; };
    if (horizontalScrollBarPolicy() != policy(showH) || verticalScrollBarPolicy() != policy(showV)) {
        setHorizontalScrollBarPolicy(policy(showH));
        setVerticalScrollBarPolicy(policy(showV));
        // The scroll area lays its bars out only while shown; this makes it
        // do so now, before the first paint.
        setViewportMargins(0, 0, 0, 0);
    }

    // Ranges from the viewport the bars leave, also while a bar is hidden:
    // the keyboard still scrolls.
    const int paneW = area.width() - (showV ? barW : 0) - layout_->headerWidth() - cols.frozenExtent();
    const int paneH = area.height() - (showH ? barH : 0) - layout_->headerHeight() - rows.frozenExtent();
    const int maxH = std::max(0, cols.lastFirst(paneW) - cols.frozen - 1);
    const int maxV = std::max(0, rows.lastFirst(paneH) - rows.frozen - 1);
    hbar->setRange(0, maxH);
    vbar->setRange(0, maxV);
    hbar->setSingleStep(1);
    vbar->setSingleStep(1);
    const int firstC = cols.frozen + 1 + hbar->value();
    const int firstR = rows.frozen + 1 + vbar->value();
    hbar->setPageStep(std::max(1, cols.lastVisible(firstC, paneW) - firstC));
    vbar->setPageStep(std::max(1, rows.lastVisible(firstR, paneH) - firstR));
}

void GridWidget::scrollToRow(int row)
{
    if (layout_)
        verticalScrollBar()->setValue(row - layout_->rows().frozen - 1);
}

void GridWidget::scrollToLastRows()
{
    updateScrollBars();  // the range of a grid not yet shown
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void GridWidget::scrollContentsBy(int, int)
{
    viewport()->update();
}

// A table scrolled to its end (the latest draws) stays there at any size.
void GridWidget::resizeEvent(QResizeEvent* event)
{
    const QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->maximum() > 0 && bar->value() == bar->maximum();
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    if (atEnd)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void GridWidget::ensureVisible(int column, int row)
{
    if (!layout_)
        return;
    const GridAxis& cols = layout_->columns();
    const GridAxis& rows = layout_->rows();
    const QSize pane = scrollingPaneSize();
    if (column > cols.frozen && column <= cols.count()) {
        const int first = firstScrollColumn();
        if (column < first)
            horizontalScrollBar()->setValue(column - cols.frozen - 1);
        else if (cols.end(column) + 1 - cols.start(first) > pane.width())
            horizontalScrollBar()->setValue(cols.firstShowing(column, pane.width()) - cols.frozen - 1);
    }
    if (row > rows.frozen && row <= rows.count()) {
        const int first = firstScrollRow();
        if (row < first)
            verticalScrollBar()->setValue(row - rows.frozen - 1);
        else if (rows.end(row) + 1 - rows.start(first) > pane.height())
            verticalScrollBar()->setValue(rows.firstShowing(row, pane.height()) - rows.frozen - 1);
    }
}

// ---- geometry of cells

QRect GridWidget::cellRect(int column, int row) const
{
    if (!layout_ || column < 1 || row < 1 || column > layout_->columns().count() || row > layout_->rows().count())
        return {};
    const GridAxis& cols = layout_->columns();
    const GridAxis& rows = layout_->rows();
    int x = cols.start(column);
    if (column > cols.frozen)
        x += cols.frozenExtent() - cols.start(firstScrollColumn());
    int y = rows.start(row);
    if (row > rows.frozen)
        y += rows.frozenExtent() - rows.start(firstScrollRow());
    return QRect(layout_->headerWidth() + x, layout_->headerHeight() + y, cols.end(column) - cols.start(column),
                 rows.end(row) - rows.start(row));
}

QPoint GridWidget::cellAt(const QPoint& pos) const
{
    if (!layout_)
        return {};
    const GridAxis& cols = layout_->columns();
    const GridAxis& rows = layout_->rows();
    const int x = pos.x() - layout_->headerWidth();
    const int y = pos.y() - layout_->headerHeight();
    if (x < 0 || y < 0)
        return {};
    const int c = x < cols.frozenExtent() ? cols.itemAt(x)
                                          : cols.itemAt(x - cols.frozenExtent() + cols.start(firstScrollColumn()));
    const int r =
        y < rows.frozenExtent() ? rows.itemAt(y) : rows.itemAt(y - rows.frozenExtent() + rows.start(firstScrollRow()));
    if (c < 1 || c > cols.count() || r < 1 || r > rows.count())
        return {};
    return {c, r};
}

// ---- the current cell

int GridWidget::currentColumn() const
{
    return currentColumn_;
}

int GridWidget::currentRow() const
{
    return currentRow_;
}

void GridWidget::setCurrentCell(int column, int row)
{
    if (!layout_ || (column == 0 && row == 0) || layout_->columns().count() == 0 || layout_->rows().count() == 0) {
        changeCurrent(0, 0);
        return;
    }
    column = std::clamp(column, 1, layout_->columns().count());
    row = std::clamp(row, 1, layout_->rows().count());
    changeCurrent(column, row);
    anchor_ = QPoint(column, row);
    lineChosen_ = {};
    ensureVisible(column, row);
}

void GridWidget::changeCurrent(int column, int row)
{
    if (grid_)
        grid_->setActiveCell(column, row);
    if (column == currentColumn_ && row == currentRow_)
        return;
    currentColumn_ = column;
    currentRow_ = row;
    viewport()->update();
    announceCurrentCell(*this);
    emit currentCellChanged(column, row);
}

// Moves within the table and, when the model says so, within the rows
// that hold data. Without a current cell the move starts from the first
// scrolling cell in view.
void GridWidget::moveCurrent(int dColumn, int dRow, bool extend)
{
    if (!layout_)
        return;
    const int lastColumn = layout_->columns().count();
    const int lastRow = layout_->lastSelectableRow();
    if (lastColumn < 1 || lastRow < 1)
        return;
    int c = currentColumn_;
    int r = currentRow_;
    if (c == 0 || r == 0) {
        c = std::min(firstScrollColumn(), lastColumn);
        r = std::min(firstScrollRow(), lastRow);
    } else {
        c += dColumn;
        r += dRow;
    }
    moveTo(std::clamp(c, 1, lastColumn), std::clamp(r, 1, lastRow), extend);
}

void GridWidget::moveTo(int column, int row, bool extend)
{
    const bool hadCurrent = currentColumn_ != 0 && currentRow_ != 0;
    changeCurrent(column, row);
    if (!extend || !hadCurrent)
        anchor_ = QPoint(column, row);
    lineChosen_ = {};
    ensureVisible(column, row);
    viewport()->update();
}

int GridWidget::firstDataRow() const
{
    return layout_ ? std::min(layout_->rows().frozen + 1, layout_->lastSelectableRow()) : 0;
}

// ---- selection

CellRange GridWidget::selection() const
{
    if (!lineChosen_.empty())
        return lineChosen_;
    if (currentColumn_ == 0 || currentRow_ == 0)
        return {};
    return CellRange{std::min(anchor_.x(), currentColumn_), std::min(anchor_.y(), currentRow_),
                     std::max(anchor_.x(), currentColumn_), std::max(anchor_.y(), currentRow_)};
}

void GridWidget::selectBlock(int anchorColumn, int anchorRow, int column, int row)
{
    if (!layout_ || layout_->columns().count() < 1 || layout_->lastSelectableRow() < 1)
        return;
    const int lastColumn = layout_->columns().count();
    const int lastRow = layout_->lastSelectableRow();
    moveTo(std::clamp(anchorColumn, 1, lastColumn), std::clamp(anchorRow, 1, lastRow), false);
    moveTo(std::clamp(column, 1, lastColumn), std::clamp(row, 1, lastRow), true);
}

void GridWidget::selectDataArea()
{
    if (!layout_ || layout_->columns().count() < 1 || layout_->lastSelectableRow() < 1)
        return;
    const int firstColumn = std::min(layout_->columns().frozen + 1, layout_->columns().count());
    // The whole area is chosen; the view stays where it was.
    if (currentColumn_ == 0 || currentRow_ == 0)
        changeCurrent(firstColumn, firstDataRow());
    anchor_ = QPoint(currentColumn_, currentRow_);
    lineChosen_ = CellRange{firstColumn, firstDataRow(), layout_->columns().count(), layout_->lastSelectableRow()};
    viewport()->update();
}

// A click on a frozen row chooses its column, on a frozen column its row,
// on the corner where both meet the whole table.
void GridWidget::selectHeaderLine(int column, int row, bool extend)
{
    const GridAxis& cols = layout_->columns();
    const GridAxis& rows = layout_->rows();
    const int lastRow = layout_->lastSelectableRow();
    const bool inFrozenRow = row <= rows.frozen;
    const bool inFrozenColumn = column <= cols.frozen;
    CellRange chosen{1, 1, cols.count(), lastRow};
    if (inFrozenRow && !inFrozenColumn) {
        const int from = extend && anchor_.x() > 0 ? anchor_.x() : column;
        chosen.col1 = std::min(from, column);
        chosen.col2 = std::max(from, column);
    } else if (inFrozenColumn && !inFrozenRow) {
        const int from = extend && anchor_.y() > 0 ? anchor_.y() : row;
        chosen.row1 = std::min(from, row);
        chosen.row2 = std::max(from, row);
    }
    const int keepRow = currentRow_ > rows.frozen ? currentRow_ : firstDataRow();
    const int keepColumn = currentColumn_ > cols.frozen ? currentColumn_ : std::min(cols.frozen + 1, cols.count());
    const int c = inFrozenRow && !inFrozenColumn ? column : keepColumn;
    const int r = inFrozenColumn && !inFrozenRow ? row : keepRow;
    if (!extend)
        anchor_ = QPoint(c, r);
    changeCurrent(c, r);
    lineChosen_ = chosen;
    viewport()->update();
}

void GridWidget::copySelection() const
{
    const CellRange block = selection();
    if (!grid_ || block.empty())
        return;
    QApplication::clipboard()->setMimeData(new GridMimeData(CopiedBlock(*grid_, block)));
}

bool GridWidget::goToDraw(long number)
{
    if (!grid_ || !layout_)
        return false;
    const std::optional<int> row = rowOfDraw(*grid_, number);
    if (!row || *row > layout_->lastSelectableRow())
        return false;
    const GridAxis& cols = layout_->columns();
    const int column = currentColumn_ > cols.frozen ? currentColumn_ : std::min(cols.frozen + 1, cols.count());
    moveTo(column, *row, false);
    scrollToRow(*row);
    return true;
}

// ---- zoom

void GridWidget::setZoom(int percent)
{
    // A table without scroll bars is sized to show whole (the prediction
    // grids): zoomed it would hide cells that nothing could bring back.
    if (grid_ && grid_->scrollBarsShown() == ScrollBars::None)
        return;
    percent = std::clamp(percent, kMinZoom, kMaxZoom);
    if (percent == zoom_)
        return;
    zoom_ = percent;
    const QPoint keepAnchor = anchor_;
    const CellRange keepLines = lineChosen_;
    refresh();
    anchor_ = keepAnchor;
    lineChosen_ = keepLines;
    emit zoomChanged(zoom_);
}

QMenu* GridWidget::createContextMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName("mnuGridContext");
    QAction* copy = menu->addAction(QStringLiteral("コピー(&C)"), this, [this] { copySelection(); });
    copy->setObjectName("mnuGridCopy");
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(!selection().empty());
    menu->addSeparator();
    QAction* go = menu->addAction(QStringLiteral("指定の回へ移動(&G)…"), this, [this] { askAndGoToDraw(*this); });
    go->setObjectName("mnuGridGoTo");
    go->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    go->setEnabled(grid_ && grid_->drawColumn() != 0);
    menu->addSeparator();
    QAction* csv = menu->addAction(QStringLiteral("CSV出力(&S)…"), this, [this] { chooseFileAndExportCsv(*this); });
    csv->setObjectName("mnuGridCsv");
    QAction* print = menu->addAction(QStringLiteral("印刷(&P)…"), this, [this] { printWithPreview(*this); });
    print->setObjectName("mnuGridPrint");
    csv->setEnabled(grid_ != nullptr);
    print->setEnabled(grid_ != nullptr);
    return menu;
}

void GridWidget::keyPressEvent(QKeyEvent* event)
{
    if (!layout_) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (handleCommandKey(event)) {
        event->accept();
        return;
    }
    if (isContextMenuKey(*event)) {
        // At the current cell, as the menu key would open it.
        const QRect cell = cellRect(currentColumn_, currentRow_);
        const QPoint at = cell.isValid() ? cell.center() : viewport()->rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
        contextMenuEvent(&menu);
        return;
    }
    const int page = std::max(1, verticalScrollBar()->pageStep());
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
        case Qt::Key_Left:
            moveCurrent(-1, 0, extend);
            break;
        case Qt::Key_Right:
            moveCurrent(1, 0, extend);
            break;
        case Qt::Key_Up:
            moveCurrent(0, -1, extend);
            break;
        case Qt::Key_Down:
            moveCurrent(0, 1, extend);
            break;
        case Qt::Key_PageUp:
            moveCurrent(0, -page, extend);
            break;
        case Qt::Key_PageDown:
            moveCurrent(0, page, extend);
            break;
        case Qt::Key_Home:
            if (ctrl && currentRow_ != 0)
                moveTo(currentColumn_, firstDataRow(), extend);
            else
                moveCurrent(-layout_->columns().count(), 0, extend);
            break;
        case Qt::Key_End:
            if (ctrl && currentRow_ != 0)
                moveTo(currentColumn_, layout_->lastSelectableRow(), extend);
            else
                moveCurrent(layout_->columns().count(), 0, extend);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (grid_->enterKeyAction() != EnterAction::NextCell) {
                QAbstractScrollArea::keyPressEvent(event);
                return;
            }
            // The next cell in reading order: the one to the right, after the
            // last column the first cell of the next row.
            if (currentColumn_ == 0 || currentColumn_ < layout_->columns().count()) {
                moveCurrent(1, 0);
            } else if (currentRow_ < layout_->lastSelectableRow()) {
                horizontalScrollBar()->setValue(0);
                moveTo(1, currentRow_ + 1, false);
            }
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    event->accept();
}

// The keys that act on the table as a whole; true when `event` was one.
bool GridWidget::handleCommandKey(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return true;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectDataArea();
        return true;
    }
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    switch (event->key()) {
        case Qt::Key_G:
            if (grid_ && grid_->drawColumn() != 0)
                askAndGoToDraw(*this);
            return true;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            setZoom(zoom_ + kZoomStep);
            return true;
        case Qt::Key_Minus:
            setZoom(zoom_ - kZoomStep);
            return true;
        case Qt::Key_0:
            setZoom(100);
            return true;
        default:
            return false;
    }
}

// The grid's own keys come before the shortcuts of the menus around it.
bool GridWidget::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride && layout_) {
        auto* key = static_cast<QKeyEvent*>(e);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        const int k = key->key();
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll) ||
            (ctrl && (k == Qt::Key_G || k == Qt::Key_Plus || k == Qt::Key_Equal || k == Qt::Key_Minus ||
                      k == Qt::Key_0 || k == Qt::Key_Home || k == Qt::Key_End))) {
            e->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(e);
}

void GridWidget::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.isNull() || !layout_ || layout_->lastSelectableRow() < 1) {
        event->ignore();
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool onHeader = cell.y() <= layout_->rows().frozen || cell.x() <= layout_->columns().frozen;
    if (event->button() == Qt::LeftButton && onHeader && cell.y() <= layout_->lastSelectableRow() + 1) {
        selectHeaderLine(cell.x(), cell.y(), extend);
        event->accept();
        return;
    }
    if (cell.y() > layout_->lastSelectableRow()) {
        event->ignore();
        return;
    }
    // A right click inside the selection keeps it for the context menu.
    const CellRange chosen = selection();
    const bool inside =
        cell.x() >= chosen.col1 && cell.x() <= chosen.col2 && cell.y() >= chosen.row1 && cell.y() <= chosen.row2;
    if (event->button() == Qt::RightButton && inside) {
        event->accept();
        return;
    }
    moveTo(cell.x(), cell.y(), extend);
    dragging_ = event->button() == Qt::LeftButton;
    event->accept();
}

void GridWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_ || !layout_)
        return;
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.isNull() || cell.y() > layout_->lastSelectableRow())
        return;
    if (cell.x() != currentColumn_ || cell.y() != currentRow_)
        moveTo(cell.x(), cell.y(), true);
    event->accept();
}

void GridWidget::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    event->accept();
}

void GridWidget::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        const int notches = event->angleDelta().y() / 120;
        if (notches != 0)
            setZoom(zoom_ + notches * kZoomStep);
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void GridWidget::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createContextMenu(this));
    menu->exec(event->globalPos());
    event->accept();
}

// ---- painting

namespace {

struct AxisPane {
    int first = 1, last = 0;  // visible items
    int spanFirst = 1, spanLast = 0;
    int shift = 0;  // layout position + shift = viewport position
    int clipFrom = 0, clipTo = 0;
};

// The strip of built-in headers across one axis, `extent` pixels deep.
AxisPane headerStrip(int extent)
{
    AxisPane strip;
    strip.first = strip.last = 1;
    strip.shift = extent;
    strip.clipTo = extent;
    return strip;
}

// The frozen and the scrolling pane along one axis.
std::pair<AxisPane, AxisPane> splitAxis(const GridAxis& axis, int header, int viewportExtent, int firstScrolling)
{
    AxisPane frozen, scrolling;
    const int frozenEnd = axis.frozenExtent();
    if (axis.frozen > 0) {
        frozen.first = frozen.spanFirst = 1;
        frozen.spanLast = axis.frozen;
        frozen.last = std::min(axis.frozen, axis.itemAt(viewportExtent - header - 1));
        frozen.shift = header;
        frozen.clipFrom = header;
        frozen.clipTo = std::min(viewportExtent, header + frozenEnd + 1);  // with the boundary line
    }
    if (firstScrolling <= axis.count()) {
        scrolling.first = firstScrolling;
        scrolling.last = axis.lastVisible(firstScrolling, viewportExtent - header - frozenEnd);
        scrolling.spanFirst = axis.frozen + 1;
        scrolling.spanLast = axis.count();
        scrolling.shift = header + frozenEnd - axis.start(firstScrolling);
        scrolling.clipFrom = header + frozenEnd;
        scrolling.clipTo = viewportExtent;
    }
    return {frozen, scrolling};
}

GridPane makePane(const AxisPane& c, const AxisPane& r)
{
    GridPane pane;
    pane.col1 = c.first;
    pane.col2 = c.last;
    pane.row1 = r.first;
    pane.row2 = r.last;
    pane.spanCol1 = c.spanFirst;
    pane.spanCol2 = c.spanLast;
    pane.shift = QPoint(c.shift, r.shift);
    pane.clip = QRect(QPoint(c.clipFrom, r.clipFrom), QPoint(c.clipTo - 1, r.clipTo - 1));
    return pane;
}

}  // namespace

void GridWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    p.fillRect(event->rect(), palette().color(QPalette::Window));
    if (!layout_)
        return;
    const int hx = layout_->headerWidth();
    const int hy = layout_->headerHeight();
    const auto [frozenCols, scrollCols] = splitAxis(layout_->columns(), hx, viewport()->width(), firstScrollColumn());
    const auto [frozenRows, scrollRows] = splitAxis(layout_->rows(), hy, viewport()->height(), firstScrollRow());

    GridPainter painter(p, *layout_, currentColumn_, currentRow_);
    painter.setSelection(selection());
    // Frozen panes last: they own the line on their boundary.
    painter.paintPane(makePane(scrollCols, scrollRows));
    painter.paintPane(makePane(scrollCols, frozenRows));
    painter.paintPane(makePane(frozenCols, scrollRows));
    painter.paintPane(makePane(frozenCols, frozenRows));

    if (hy > 0) {
        painter.paintColumnHeaders(makePane(scrollCols, headerStrip(hy)));
        painter.paintColumnHeaders(makePane(frozenCols, headerStrip(hy)));
    }
    if (hx > 0) {
        painter.paintRowHeaders(makePane(headerStrip(hx), scrollRows));
        painter.paintRowHeaders(makePane(headerStrip(hx), frozenRows));
    }
    if (hx > 0 && hy > 0)
        p.fillRect(QRect(0, 0, hx, hy), GridDefaults::headerBackground());
}

}  // namespace rumone
