// Placeholder until the grid widget lands.
#include "ui/GridWidget.h"

namespace rumone {
class GridWidget::Layout {};
GridWidget::GridWidget(QWidget* parent) : QAbstractScrollArea(parent) {}
GridWidget::~GridWidget() = default;
void GridWidget::setGrid(std::shared_ptr<ResultGrid> grid) { grid_ = std::move(grid); }
void GridWidget::refresh() {}
QSize GridWidget::sizeHint() const { return QSize(200, 200); }
QSize GridWidget::minimumSizeHint() const { return QSize(50, 50); }
QFont GridWidget::gridFont() { return QFont(); }
int GridWidget::columnWidthPx(int) const { return 0; }
int GridWidget::rowHeightPx(int) const { return 0; }
int GridWidget::currentColumn() const { return currentColumn_; }
int GridWidget::currentRow() const { return currentRow_; }
void GridWidget::setCurrentCell(int c, int r) { currentColumn_ = c; currentRow_ = r; }
QRect GridWidget::cellRect(int, int) const { return {}; }
void GridWidget::scrollToRow(int) {}
void GridWidget::paintEvent(QPaintEvent*) {}
void GridWidget::resizeEvent(QResizeEvent*) {}
void GridWidget::keyPressEvent(QKeyEvent*) {}
void GridWidget::mousePressEvent(QMouseEvent*) {}
void GridWidget::scrollContentsBy(int, int) {}
}  // namespace rumone
