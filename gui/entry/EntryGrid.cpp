#include "gui/entry/EntryGrid.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "gui/entry/DigitCellDelegate.h"
#include "gui/entry/EntryTableModel.h"
#include "gui/grid/GridCommands.h"
#include "gui/grid/GridWidget.h"

namespace rumone {

namespace {

// The grid lines in the grey of the result grids. A style sheet would say
// the same in one line, but it puts the whole table behind Qt's style sheet
// style: 1-2 ms more on every open of the entry view (frame_bench).
class GridLineStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_Table_GridLineColor)
            return static_cast<int>(qRgb(192, 192, 192));
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

EntryGrid::EntryGrid(QWidget* parent) : QTableView(parent)
{
    auto* delegate = new DigitCellDelegate(this);
    connect(delegate, &DigitCellDelegate::inputRefused, this, &EntryGrid::inputRefused);
    setItemDelegate(delegate);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setShowGrid(true);  // shared lines: every cell is closed on all four sides
    setGridStyle(Qt::SolidLine);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    auto* gridLines = new GridLineStyle;
    gridLines->setParent(this);
    setStyle(gridLines);
    verticalHeader()->hide();
    applyLayout();
}

int EntryGrid::charsToPx(int chars) const
{
    // The grid widget's unit: the average character width of the grid
    // font, plus two pixels of padding on each side.
    const int charWidth = std::max(1, QFontMetrics(GridWidget::gridFont()).averageCharWidth());
    return chars * charWidth + 2 * kEntryCellPadding;
}

int EntryGrid::rowHeightPx() const
{
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return static_cast<int>(std::lround(kRowHeightUnits * dpi / 64.0));
}

void EntryGrid::applyLayout()
{
    const QFont font = GridWidget::gridFont();
    setFont(font);
    horizontalHeader()->setFont(font);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setFixedHeight(rowHeightPx());
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(rowHeightPx());
}

void EntryGrid::fitToHeight(int height)
{
    int width = charsToPx(kDateColumnChars);
    for (int c = 0; c < EntryTableModel::kColumnCount; ++c)
        width += charsToPx(c == 0 ? kNumberColumnChars : kDigitColumnChars);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int least = rowHeightPx() * (kLeastVisibleRows + 1) + 2 * frameWidth();
    setFixedSize(width + bar + 2 * frameWidth(), std::max(height, least));
}

int EntryGrid::designHeight() const
{
    return rowHeightPx() * (kDesignVisibleRows + 1) + 2 * frameWidth();
}

void EntryGrid::setModel(QAbstractItemModel* model)
{
    QTableView::setModel(model);
    for (int c = 0; c < EntryTableModel::kColumnCount; ++c)
        setColumnWidth(c, charsToPx(c == 0 ? kNumberColumnChars : kDigitColumnChars));
    setColumnWidth(EntryTableModel::kDateColumn, charsToPx(kDateColumnChars));
    if (model) {
        connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &EntryGrid::rememberCurrent);
        connect(model, &QAbstractItemModel::modelReset, this, &EntryGrid::restoreCurrent);
    }
}

void EntryGrid::rememberCurrent()
{
    const QModelIndex current = currentIndex();
    savedRow_ = current.isValid() ? current.row() : -1;
    savedColumn_ = current.isValid() ? current.column() : 1;
}

// After the rows were read again: the same cell, or the nearest one that
// still has data.
void EntryGrid::restoreCurrent()
{
    const int rows = model()->rowCount();
    if (rows == 0)
        return;
    const int row = std::clamp(savedRow_, 0, rows - 1);
    setCurrentIndex(model()->index(row, savedColumn_));
}

QModelIndex EntryGrid::nextCell(const QModelIndex& current) const
{
    if (!current.isValid())
        return {};
    if (current.column() + 1 < EntryTableModel::kColumnCount)
        return model()->index(current.row(), current.column() + 1);
    if (current.row() + 1 < model()->rowCount())
        return model()->index(current.row() + 1, 1);
    return {};
}

// After the last digit of the last row the cursor stays: a new draw is a
// row the user adds (a blank row written on the fly would stand in the
// file as a draw not yet drawn). The note says how.
void EntryGrid::moveToNextCell()
{
    const QModelIndex current = currentIndex();
    const QModelIndex next = nextCell(current);
    if (next.isValid()) {
        setCurrentIndex(next);
        scrollTo(next);
    } else if (current.isValid()) {
        emit inputRefused(QStringLiteral("最後の行です。次の回は「行追加」（Ctrl+N）で加えます。"));
    }
}

QModelIndex EntryGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (action != MoveNext)
        return QTableView::moveCursor(action, modifiers);
    const QModelIndex current = currentIndex();
    const QModelIndex next = nextCell(current);
    if (!next.isValid() && current.isValid())
        emit inputRefused(QStringLiteral("最後の行です。次の回は「行追加」（Ctrl+N）で加えます。"));
    return next.isValid() ? next : current;
}

void EntryGrid::keepEndDistance(int fromEnd)
{
    executeDelayedItemsLayout();  // the scroll range of the rows now in
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum() - fromEnd);
}

void EntryGrid::showCell(const QModelIndex& index)
{
    setCurrentIndex(index);
    scrollTo(index);
}

void EntryGrid::finishEditing()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void EntryGrid::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
        moveToNextCell();
        event->accept();
        return;
    }
    if (isContextMenuKey(*event) && state() != EditingState && currentIndex().isValid()) {
        const QPoint at = visualRect(currentIndex()).center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
        contextMenuEvent(&menu);
        return;
    }
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && event->modifiers() == Qt::NoModifier &&
        state() != EditingState && clearCurrentDigit()) {
        event->accept();
        return;
    }
    const bool typedDigit = state() != EditingState && event->text().size() == 1 && event->text()[0].isDigit();
    QTableView::keyPressEvent(event);
    if (typedDigit)
        moveOnAfterTypedDigit();
}

// A digit typed on a cell that was not being edited is written at once and
// the cursor goes to the next digit, so four keys enter a draw. After the
// last digit of the last row it stays, silently: the draw is complete. An
// editor opened with F2 or a double click keeps its text until Enter.
void EntryGrid::moveOnAfterTypedDigit()
{
    const QModelIndex current = currentIndex();
    if (state() != EditingState || current.column() < 1)
        return;
    auto* editor = qobject_cast<QLineEdit*>(indexWidget(current));
    if (!editor || editor->text().size() != 1)
        return;
    commitData(editor);
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (const QModelIndex next = nextCell(current); next.isValid())
        showCell(next);
}

// The digit is stored as no value; the row then counts as not yet drawn.
bool EntryGrid::clearCurrentDigit()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !(model()->flags(current) & Qt::ItemIsEditable))
        return false;
    model()->setData(current, QString(), Qt::EditRole);
    return true;
}

// Enter in a cell editor commits the cell (the delegate's "submit" hint)
// and then moves on like Enter outside an editor.
void EntryGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (hint == QAbstractItemDelegate::SubmitModelCache) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        moveToNextCell();
        return;
    }
    QTableView::closeEditor(editor, hint);
}

void EntryGrid::contextMenuEvent(QContextMenuEvent* event)
{
    const QModelIndex index = indexAt(event->pos());
    if (!index.isValid()) {
        event->ignore();
        return;
    }
    finishEditing();
    setCurrentIndex(index);
    emit popupRequested(event->globalPos());
    event->accept();
}

}  // namespace rumone
