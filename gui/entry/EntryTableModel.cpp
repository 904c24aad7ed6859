#include "gui/entry/EntryTableModel.h"

#include <QColor>

#include "core/calendar/HistoryDates.h"
#include "core/grid/GridColours.h"
#include "gui/common/QtConversions.h"

namespace rumone {

namespace {

bool holds(const DbValue& stored, const std::optional<int>& digit)
{
    if (!digit)
        return stored.isNull();
    return stored.type == DbValue::Type::Integer && stored.integer == *digit;
}

}  // namespace

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

EntryTableModel::EntryTableModel(DrawDatabaseRef database, QObject* parent)
    : QAbstractTableModel(parent), database_(std::move(database))
{
}

EntryTableModel::~EntryTableModel() = default;

void EntryTableModel::startOpening()
{
    if (!opening_)
        opening_.emplace(database_, kRowsReadFirst);
}

void EntryTableModel::open()
{
    // The set started is taken once; reading again afterwards (reload)
    // opens anew.
    const bool started = opening_ && !openingTaken_;
    openingTaken_ = openingTaken_ || started;
    DrawEditSet set = started ? opening_->take() : openDrawEditSet(database_, kRowsReadFirst);
    beginResetModel();
    set_.emplace(std::move(set));
    shownRows_ = static_cast<int>(set_->recordCount());
    readDates();
    endResetModel();
}

void EntryTableModel::readDates()
{
    std::map<int, CivilDate> stored;
    try {
        if (set_)
            stored = set_->readDates();
    } catch (const StoreError&) {
    }
    calendar_ = DrawCalendar(std::move(stored));
    int last = 0;
    if (set_ && !set_->rows().empty())
        last = drawNumberOf(set_->rows().back().number).value_or(0);
    dates_ = calendar_.datesThrough(last);
}

QString EntryTableModel::dateText(const DbValue& number) const
{
    const std::optional<int> n = drawNumberOf(number);
    if (!n)
        return {};
    const std::optional<DrawDate> date =
        *n < static_cast<int>(dates_.size()) ? dates_[static_cast<std::size_t>(*n)] : calendar_.dateOf(*n);
    return date ? QString::fromStdString(drawDateCellText(*date)) : QString();
}

StoredDetails EntryTableModel::readDetails() const
{
    try {
        return set_ ? set_->readDetails() : StoredDetails{};
    } catch (const StoreError&) {
        return {};
    }
}

void EntryTableModel::reload()
{
    try {
        open();
    } catch (const std::exception&) {
        // The rows in hand are what this set last read or wrote.
    }
}

int EntryTableModel::readAllRows()
{
    if (allRowsRead())
        return 0;
    std::vector<EditRow> all;
    try {
        all = set_->readAllRows();
    } catch (const StoreError& e) {
        reportFailure(QStringLiteral("当選データを最後まで読めませんでした。"), e);
        return -1;
    }
    const std::optional<std::size_t> before = rowsBefore(all, set_->rows());
    if (!before) {
        beginResetModel();
        set_->adoptAllRows(std::move(all));
        shownRows_ = static_cast<int>(set_->recordCount());
        endResetModel();
        return -1;
    }
    if (*before == 0) {
        set_->adoptAllRows(std::move(all));
        return 0;
    }
    const int count = static_cast<int>(*before);
    beginInsertRows({}, 0, count - 1);
    set_->adoptAllRows(std::move(all));
    shownRows_ += count;
    endInsertRows();
    return count;
}

int EntryTableModel::rowOnceAllRead(int row)
{
    const int above = readAllRows();
    return above < 0 ? -1 : row + above;
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
    return parent.isValid() ? 0 : kColumnCount + 1;
}

QString EntryTableModel::cellText(int row, int column) const
{
    const auto& stored = rows();
    if (row < 0 || row >= static_cast<int>(stored.size()) || column < 0 || column > kDateColumn)
        return {};
    const EditRow& r = stored[static_cast<std::size_t>(row)];
    if (column == kDateColumn)
        return dateText(r.number);
    return QString::fromStdString(valueText(column == 0 ? r.number : r.digits[static_cast<std::size_t>(column - 1)]));
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
            return index.column() == 0 ? QVariant(toQColor(kRed)) : QVariant();
        case Qt::BackgroundRole:
            return index.column() == 0 ? QVariant(toQColor(kLightYellow)) : QVariant();
        default:
            return {};
    }
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumnCount)
        return QString::fromUtf8(kDrawColumnNames[static_cast<std::size_t>(section)]);
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == kDateColumn)
        return QStringLiteral("抽せん日");
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return {};
}

Qt::ItemFlags EntryTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    return index.column() == 0 || index.column() == kDateColumn ? base : base | Qt::ItemIsEditable;
}

bool EntryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !set_ || !index.isValid() || index.column() == 0 || index.column() == kDateColumn ||
        index.row() >= shownRows_)
        return false;
    std::optional<int> digit;
    if (!parseDigitInput(value.toString(), digit))
        return false;
    const int at = rowOnceAllRead(index.row());
    if (at < 0)
        return false;
    const QModelIndex cell = this->index(at, index.column());
    const auto row = static_cast<std::size_t>(at);
    const int position = index.column();
    if (holds(set_->rows()[row].digits[static_cast<std::size_t>(position - 1)], digit))
        return true;  // nothing to write
    try {
        set_->setDigit(row, position, digit);
    } catch (const StoreError& e) {
        reportFailure(QStringLiteral("入力した数字を保存できませんでした。"), e);
        emit dataChanged(cell, cell);
        return false;
    }
    written_ = true;
    emit dataChanged(cell, cell);
    return true;
}

int EntryTableModel::insertRowAfter(int row)
{
    if (!set_ || row < -1 || row >= shownRows_)
        return -1;
    const int above = readAllRows();
    if (above < 0)
        return -1;
    if (row >= 0)
        row += above;
    std::size_t at = 0;
    try {
        at = set_->insertRow(static_cast<std::size_t>(row + 1));
    } catch (const StoreError& e) {
        reportFailure(QStringLiteral("行を追加できませんでした。"), e);
        return -1;
    }
    written_ = true;
    const int added = static_cast<int>(at);
    beginInsertRows({}, added, added);
    ++shownRows_;
    endInsertRows();
    return added;
}

bool EntryTableModel::removeRow(int row)
{
    if (!set_ || row < 0 || row >= shownRows_)
        return false;
    if ((row = rowOnceAllRead(row)) < 0)
        return false;
    try {
        set_->deleteRow(static_cast<std::size_t>(row));
    } catch (const StoreError& e) {
        reportFailure(QStringLiteral("行を削除できませんでした。"), e);
        return false;
    }
    written_ = true;
    beginRemoveRows({}, row, row);
    --shownRows_;
    endRemoveRows();
    return true;
}

std::optional<ImportCounts> EntryTableModel::importPreviewed(const ImportPreview& preview,
                                                             const WriteProgress& progress)
{
    if (!set_)
        return std::nullopt;
    beginResetModel();
    std::optional<ImportCounts> done;
    try {
        done = set_->importPreviewed(preview, progress);
        written_ = true;
    } catch (const StoreError& e) {
        reportFailure(QStringLiteral("取り込めませんでした。何も取り込んでいません。"), e);
    }
    shownRows_ = static_cast<int>(set_->recordCount());
    readDates();
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

}  // namespace rumone
