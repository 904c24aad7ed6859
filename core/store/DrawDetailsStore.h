// Each draw's date and prize lines, kept beside the draw table in tables
// of their own (抽せん日, 当せん金), so that the draw table and its saved
// query keep their five columns. A database from before the tables reads
// as holding no details; the first write that brings any creates them.
// They are written only inside the edit set's write transactions, with the
// draws they came with.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/history/DrawResults.h"
#include "core/store/DrawStore.h"
#include "core/store/WriteTransaction.h"

namespace rumone {

// What a source gives beyond the digits: draw number → details.
using DrawDetailsList = std::vector<std::pair<int, DrawDetails>>;
using StoredDetails = std::map<int, DrawDetails>;

// The tables, each created only when missing.
extern const char* const kDrawDetailsSchema;

// Every stored date and prize line; empty without the tables. With
// `fromNumber`, only those of the draws numbered from it on (a read that
// touches only their rows). Throws StoreError.
StoredDetails readDrawDetails(sqlite3* db, const std::string& path, std::optional<int> fromNumber = std::nullopt);

// Every stored date alone (the prize lines left unread), or those from
// `fromNumber` on; empty without the table. Throws StoreError.
std::map<int, CivilDate> readDrawDates(sqlite3* db, const std::string& path,
                                       std::optional<int> fromNumber = std::nullopt);

// readDrawDetails on the database, opened for reading only. Throws
// StoreError.
StoredDetails readStoredDetails(const DrawDatabaseRef& database, std::optional<int> fromNumber = std::nullopt);
// readDrawDates on the database, opened for reading only. Throws
// StoreError.
std::map<int, CivilDate> readStoredDates(const DrawDatabaseRef& database);

// One draw whose date or prizes a write changes: what is stored, and the
// parts the write brings that are new or differ (a part the source did not
// give is left as stored).
struct DetailChange {
    int number = 0;
    DrawDetails stored;
    DrawDetails written;

    bool changesDate() const { return written.date.has_value(); }
    bool changesPrizes() const;
};

struct DetailsPreview {
    std::vector<DetailChange> changes;  // in draw order

    std::size_t dateCount() const;
    std::size_t prizeCount() const;
    bool empty() const { return changes.empty(); }
    // The parts to write, as a source would give them.
    DrawDetailsList incoming() const;
};

// `incoming` (a draw given twice: the later parts win) against `stored`.
DetailsPreview previewDetails(const DrawDetailsList& incoming, const StoredDetails& stored);

// "dates N prizes N".
std::string detailCountsLine(const DetailsPreview& preview);
// One line per change: "第7055回 抽せん日 2026年8月24日" (new) or
// "第7055回 抽せん日 2026年8月21日 → 2026年8月24日", and "第7055回 ストレート
// 18口 986,400円" likewise.
std::vector<std::string> detailLines(const DetailsPreview& preview);
// "18口 986,400円" or "該当なし".
std::string prizeLineText(const PrizeLine& line);

// Writes the changes inside `tx` (creating the tables when missing).
void writeDrawDetails(const WriteTransaction& tx, const DetailsPreview& preview);

}  // namespace rumone
