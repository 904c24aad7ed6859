// The frozen prediction log: the table 予想記録 of the draw database, one
// row per target draw, holding what the seven predictors offered before
// that draw was entered. A row is written once and never changed: the
// table refuses updates, deletions and a second row for a target (also by
// INSERT OR REPLACE), and the sets are stored as they were shown, so later
// edits of past draws leave them as they are.
//
// Each row is chained to the one recorded before it: it holds its place in
// the order of recording, the previous row's hash and its own (SHA-256 over
// its fields and that previous hash). A row recorded by this version also
// holds a random salt, taken into its hash, and has a fingerprint: the
// first 12 hexadecimal characters of the SHA-256 of its canonical text
// (core/digest/Fingerprint.h), which the player may publish before the
// draw; rows of older versions have no salt and no fingerprint and count
// as before. Reading checks the chain and the
// time each draw was first entered (core/store/FirstEntries.h), as times
// (core/store/StoredTime.h, which says how older texts are read); a row that
// cannot be evidence of a prediction made before its draw is left out of
// the entries and named, with the reason, in leftOut:
//   - a row without the chain: recorded by a version of the program from
//     before it, or written by something else; whether it came before its
//     draw cannot be told;
//   - a row whose hash does not match its fields: changed since;
//   - a row recorded no earlier than its draw, or than a later draw, was
//     first entered;
//   - a row for a draw that is entered but whose entry time is unknown
//     (entered by an older version).
// A break in the chain (a row removed or put in between) is named by the
// target of the row after it. The last rows removed leave no trace.
//
// The table is created by the first record; a database without it reads as
// an empty log.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/backtest/PredictorSets.h"
#include "core/store/DrawStore.h"
#include "core/store/StoredTime.h"

namespace rumone {

inline constexpr const char* kPredictionLogTable = "予想記録";

struct LoggedPrediction {
    int target = 0;           // the draw predicted
    StoredTime recordedAt{};  // stored as its UTC text; rows of older versions in local time
    int reflect = 0;          // switches on at the time, 0-10
    PredictorSets sets;
};

enum class LeftOutReason {
    Unchained,
    Changed,
    RecordedAfterTheDraw,
    EntryTimeUnknown,
};

struct LeftOutPrediction {
    int target = 0;
    LeftOutReason reason = LeftOutReason::Unchained;
};

// A row's fields as stored, in the order of the table's columns: target,
// recorded, reflect and the seven predictors' sets.
using PredictionFields = std::array<std::string, 3 + kPredictorCount>;

PredictionFields predictionFieldsOf(const LoggedPrediction& entry);

// The text a salted row's fingerprint is taken over: a line per field,
// its column's name and a tab before it, the salt last.
std::string canonicalPredictionText(const PredictionFields& fields, std::string_view salt);
// SHA-256 in lower-case hex over the fields, the row's place, the previous
// row's hash and the salt (left out when empty, as in older rows), each
// ended by a line feed.
std::string predictionChainHash(const PredictionFields& fields, long long order, std::string_view previous,
                                std::string_view salt);

// A row with a salt, its fields and chain exactly as stored.
struct SaltedPrediction {
    PredictionFields fields;
    std::string salt;
    long long order = 0;
    std::string previous;
    std::string hash;
    std::string fingerprint() const;
};

struct PredictionLogRead {
    std::vector<LoggedPrediction> entries;   // ascending target: the rows that count
    std::vector<SaltedPrediction> salted;    // the salted rows that count, in the order of recording
    std::vector<LeftOutPrediction> leftOut;  // ascending target
    std::vector<int> breaksBefore;           // in the order of recording
    int unreadable = 0;                      // rows that could not be read back
};

// Throws StoreError when the database cannot be opened or read.
PredictionLogRead readPredictionLog(const DrawDatabaseRef& database);

// Stores `entry` with a new random salt and returns the row's
// fingerprint. Throws StoreError, leaving the file unchanged, when the
// database cannot be written (Cause::ReadOnly for a read-only file or
// folder), when the target draw already holds four digits, or when a
// prediction for the target is already stored (Cause::Constraint).
std::string recordPrediction(const DrawDatabaseRef& database, const LoggedPrediction& entry);

// What the read leaves out and why, in one sentence per reason (empty when
// nothing is left out and the chain is whole).
std::string leftOutText(const PredictionLogRead& read);

}  // namespace rumone
