// The table model of the winning-data entry view over the editable draw
// set: every committed change goes straight to the file.
#pragma once

#include <QAbstractTableModel>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/calendar/DrawCalendar.h"
#include "core/store/DrawDetailsStore.h"
#include "core/store/DrawStore.h"

namespace rumone {

// Column 0 is 回数, columns 1-4 are 第1数字 .. 第4数字, column 5 (read
// only) the draw's date: the stored one, or the draw rule's marked 推定.
class EntryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 5;  // the draw table's columns
    static constexpr int kDateColumn = kColumnCount;

    explicit EntryTableModel(DrawDatabaseRef database, QObject* parent = nullptr);
    ~EntryTableModel() override;

    // The rows read before the first paint: the last ones, four screens.
    static constexpr std::size_t kRowsReadFirst = 200;

    // Starts opening the edit set on a thread of its own, so that the
    // window is built meanwhile; open() then takes what it opened.
    void startOpening();
    // Opens the edit set (or takes the one started) and shows its last
    // kRowsReadFirst rows (all of them when there are no more). Throws
    // StoreError.
    void open();
    bool isOpen() const { return set_.has_value(); }
    bool allRowsRead() const { return !set_ || set_->complete(); }
    // Reads the rows before those shown and puts them in above them; how
    // many came (0 when all were read already), -1 when the rows shown are
    // not the end of the file's (they are then all shown anew) or the file
    // could not be read (then reported and the rows shown stay).
    int readAllRows();
    // Reads the file again, e.g. after a refused write; keeps the rows it
    // has when the file cannot be read.
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A digit cell takes one digit 0-9 (half or full width) or nothing
    // (no value); it is written to the file before this returns.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The cell text as the grid shows it.
    QString cellText(int row, int column) const;
    // The rows read so far (readAllRows first for all of them).
    const std::vector<EditRow>& rows() const;

    // Writes; each returns false (or -1) and emits writeFailed when the file
    // refuses the change, which then leaves the file and the rows alone.
    // A blank row asked for after `row` (-1: before the first); returns
    // where it stands (see DrawEditSet::insertRow), -1 when refused.
    int insertRowAfter(int row);
    bool removeRow(int row);
    std::size_t countExisting(const std::vector<EditRow>& draws) const;
    // The stored dates and prizes, read now; empty when the file cannot
    // be read.
    StoredDetails readDetails() const;
    // The counts of what was written; nothing when the import failed.
    std::optional<ImportCounts> importPreviewed(const ImportPreview& preview, const WriteProgress& progress = {});
    // Whether a change reached the file since the last call.
    bool takeWritten() { return std::exchange(written_, false); }

signals:
    // `reread`: the file may hold something else than these rows (another
    // program changed it), so they should be read again.
    void writeFailed(const QString& message, bool reread);

private:
    // `row` counted anew once every row is read; -1 when it is lost.
    int rowOnceAllRead(int row);
    void reportFailure(const QString& lead, const StoreError& e);

    DrawDatabaseRef database_;
    std::optional<DrawEditSetOpening> opening_;  // kept: its end waits for its thread
    bool openingTaken_ = false;
    std::optional<DrawEditSet> set_;
    int shownRows_ = 0;  // the row count the views have been told
    // The date column's texts by draw number, made when the file is read
    // or written.
    void readDates();
    QString dateText(const DbValue& number) const;
    DrawCalendar calendar_;
    std::vector<std::optional<DrawDate>> dates_;
    bool written_ = false;
};

// The digit typed into a cell: nothing, or one digit in half or full width.
// False for anything else.
bool parseDigitInput(const QString& typed, std::optional<int>& digit);

}  // namespace rumone
