#include "gui/entry/EntryGrid.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "gui/grid/GridWidget.h"

namespace rumone {

namespace {

constexpr int kCellPadding = 2;  // pixels on each side, as in the grid widget

const char* const kColumnNames[EntryTableModel::kColumnCount] = {"回数", "第1数字", "第2数字", "第3数字", "第4数字"};

// A stored value as the grid shows it: whole numbers in decimal, reals in
// their shortest form ("1.5", "10"), texts as they are.
QString valueText(const DbValue& v)
{
    switch (v.type) {
        case DbValue::Type::Null:
            return {};
        case DbValue::Type::Integer:
            return QString::number(v.integer);
        case DbValue::Type::Real:
            return QString::number(v.real, 'g', 15);
        case DbValue::Type::text:
        case DbValue::Type::Blob:
            break;
    }
    return QString::fromUtf8(v.text.data(), static_cast<qsizetype>(v.text.size()));
}

// The digit typed into a cell: nothing, or one digit in half or full width.
bool parseDigitInput(const QString& typed, std::optional<int>& digit)
{
    const QString t = typed.trimmed();
    if (t.isEmpty()) {
        digit.reset();
        return true;
    }
    if (t.size() != 1)
        return false;
    const char16_t c = t.at(0).unicode();
    if (c >= u'0' && c <= u'9')
        digit = c - u'0';
    else if (c >= u'０' && c <= u'９')
        digit = c - u'０';
    else
        return false;
    return true;
}

bool holds(const DbValue& stored, const std::optional<int>& digit)
{
    if (!digit)
        return stored.isNull();
    return stored.type == DbValue::Type::Integer && stored.integer == *digit;
}

// The editor of a digit cell. The shortcuts of the window's menu commands
// (行追加 Ctrl+A, 行削除 Ctrl+D) win over the editor's own keys for the
// same combinations, as menu accelerators do: the command then commits the
// digit being typed and runs.
class DigitEditor : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::ShortcutOverride && isWindowShortcut(*static_cast<QKeyEvent*>(e))) {
            e->ignore();
            return true;
        }
        return QLineEdit::event(e);
    }

private:
    bool isWindowShortcut(const QKeyEvent& key) const
    {
        const QKeySequence pressed(key.keyCombination());
        for (const QAction* action : window()->findChildren<QAction*>())
            if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed)
                return true;
        return false;
    }
};

}  // namespace

// ---------------------------------------------------------------- model

EntryTableModel::EntryTableModel(std::string connectionString, QObject* parent)
    : QAbstractTableModel(parent), connectionString_(std::move(connectionString))
{
}

EntryTableModel::~EntryTableModel() = default;

void EntryTableModel::open()
{
    DrawEditSet set = openDrawEditSet(connectionString_);
    beginResetModel();
    set_.emplace(std::move(set));
    shownRows_ = static_cast<int>(set_->recordCount());
    endResetModel();
}

void EntryTableModel::reload()
{
    try {
        open();
    } catch (const std::exception&) {
        // The rows in hand are what this set last read or wrote.
    }
}

const std::vector<EditRow>& EntryTableModel::rows() const
{
    static const std::vector<EditRow> none;
    return set_ ? set_->rows() : none;
}

int EntryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

int EntryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QString EntryTableModel::cellText(int row, int column) const
{
    const auto& stored = rows();
    if (row < 0 || row >= static_cast<int>(stored.size()) || column < 0 || column >= kColumnCount)
        return {};
    const EditRow& r = stored[static_cast<std::size_t>(row)];
    return valueText(column == 0 ? r.number : r.digits[static_cast<std::size_t>(column - 1)]);
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= shownRows_)
        return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return cellText(index.row(), index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        case Qt::ForegroundRole:
            return index.column() == 0 ? QVariant(QColor(255, 0, 0)) : QVariant();
        case Qt::BackgroundRole:
            return index.column() == 0 ? QVariant(QColor(255, 255, 200)) : QVariant();
        default:
            return {};
    }
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumnCount)
        return QString::fromUtf8(kColumnNames[section]);
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return {};
}

Qt::ItemFlags EntryTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    return index.column() == 0 ? base : base | Qt::ItemIsEditable;
}

bool EntryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !set_ || !index.isValid() || index.column() == 0 || index.row() >= shownRows_)
        return false;
    std::optional<int> digit;
    if (!parseDigitInput(value.toString(), digit))
        return false;
    const auto row = static_cast<std::size_t>(index.row());
    const int position = index.column();
    if (holds(set_->rows()[row].digits[static_cast<std::size_t>(position - 1)], digit))
        return true;  // nothing to write
    try {
        set_->setDigit(row, position, digit);
    } catch (const StoreError& e) {
        reportFailure(QStringLiteral("入力した数字を保存できませんでした。"), e);
        emit dataChanged(index, index);
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

bool EntryTableModel::insertRowAfter(int row)
{
    if (!set_ || row < -1 || row >= shownRows_)
        return false;
    try {
        set_->insertRow(static_cast<std::size_t>(row + 1));
    } catch (const StoreError& e) {
        reportFailure(QStringLiteral("行を追加できませんでした。"), e);
        return false;
    }
    beginInsertRows({}, row + 1, row + 1);
    ++shownRows_;
    endInsertRows();
    return true;
}

bool EntryTableModel::removeRow(int row)
{
    if (!set_ || row < 0 || row >= shownRows_)
        return false;
    try {
        set_->deleteRow(static_cast<std::size_t>(row));
    } catch (const StoreError& e) {
        reportFailure(QStringLiteral("行を削除できませんでした。"), e);
        return false;
    }
    beginRemoveRows({}, row, row);
    --shownRows_;
    endRemoveRows();
    return true;
}

std::optional<ImportCounts> EntryTableModel::importDraws(const std::vector<EditRow>& draws)
{
    if (!set_)
        return std::nullopt;
    beginResetModel();
    std::optional<ImportCounts> done;
    try {
        done = set_->importDraws(draws);
    } catch (const StoreError& e) {
        reportFailure(QStringLiteral("取り込めませんでした。何も取り込んでいません。"), e);
    }
    shownRows_ = static_cast<int>(set_->recordCount());
    endResetModel();
    return done;
}

std::size_t EntryTableModel::countExisting(const std::vector<EditRow>& draws) const
{
    return set_ ? set_->countExisting(draws) : 0;
}

void EntryTableModel::reportFailure(const QString& lead, const StoreError& e)
{
    emit writeFailed(lead + QStringLiteral("\n\n") + QString::fromUtf8(e.what()),
                     e.cause() == StoreError::Cause::Other);
}

// ---------------------------------------------------------------- delegate

QWidget* DigitCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* editor = new DigitEditor(parent);
    editor->setFrame(false);
    editor->setAlignment(Qt::AlignCenter);
    editor->setMaxLength(1);
    editor->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9０-９]?")), editor));
    return editor;
}

// The style's item margins are wider than the grid's two pixels and would
// cut a four-digit draw number in its five-character column, so the text
// is drawn here, centred in the cell less that padding.
void DigitCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    painter->save();
    painter->setFont(opt.font);
    const bool selected = opt.state & QStyle::State_Selected;
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(opt.rect.adjusted(kCellPadding, 0, -kCellPadding, 0), Qt::AlignCenter, text);
    painter->restore();
}

void DigitCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (!edit)
        return;
    const QString stored = index.data(Qt::EditRole).toString();
    std::optional<int> digit;
    const bool fits = parseDigitInput(stored, digit) && stored.trimmed().size() <= 1;
    edit->setText(fits ? stored.trimmed() : QString());
    edit->setPlaceholderText(fits ? QString() : stored);
    edit->setModified(false);
}

void DigitCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (edit && edit->isModified())
        model->setData(index, edit->text(), Qt::EditRole);
}

// ---------------------------------------------------------------- grid

EntryGrid::EntryGrid(QWidget* parent) : QTableView(parent)
{
    setItemDelegate(new DigitCellDelegate(this));
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
    setStyleSheet(QStringLiteral("QTableView { gridline-color: rgb(192, 192, 192); }"));
    verticalHeader()->hide();
    applyLayout();
}

int EntryGrid::charsToPx(int chars) const
{
    // The grid widget's unit: the average character width of the grid
    // font, plus two pixels of padding on each side.
    const int charWidth = std::max(1, QFontMetrics(GridWidget::gridFont()).averageCharWidth());
    return chars * charWidth + 2 * kCellPadding;
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

void EntryGrid::fitToVisibleRows()
{
    int width = 0;
    for (int c = 0; c < EntryTableModel::kColumnCount; ++c)
        width += charsToPx(c == 0 ? kNumberColumnChars : kDigitColumnChars);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setFixedSize(width + bar + 2 * frameWidth(), rowHeightPx() * (kVisibleRows + 1) + 2 * frameWidth());
}

void EntryGrid::setModel(QAbstractItemModel* model)
{
    QTableView::setModel(model);
    for (int c = 0; c < EntryTableModel::kColumnCount; ++c)
        setColumnWidth(c, charsToPx(c == 0 ? kNumberColumnChars : kDigitColumnChars));
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

void EntryGrid::moveToNextCell()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    QModelIndex next;
    if (current.column() + 1 < EntryTableModel::kColumnCount)
        next = model()->index(current.row(), current.column() + 1);
    else if (current.row() + 1 < model()->rowCount())
        next = model()->index(current.row() + 1, 1);
    if (next.isValid()) {
        setCurrentIndex(next);
        scrollTo(next);
    }
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
    QTableView::keyPressEvent(event);
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
