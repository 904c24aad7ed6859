// The frozen prediction log: the table 予想記録 of the draw database, one
// row per target draw, holding what the seven predictors offered before
// that draw was entered. A row is written once and never changed: the
// table refuses updates and deletions, and the sets are stored as they
// were shown, so later edits of past draws leave them as they are.
//
// The table is created by the first record; a database without it reads as
// an empty log.
#pragma once

#include <string>
#include <vector>

#include "core/backtest/PredictorSets.h"

namespace rumone {

inline constexpr const char* kPredictionLogTable = "予想記録";

struct LoggedPrediction {
    int target = 0;          // the draw predicted
    std::string recordedAt;  // local time, "YYYY-MM-DD HH:MM:SS"
    int reflect = 0;         // switches on at the time, 0-10
    PredictorSets sets;
};

struct PredictionLogRead {
    std::vector<LoggedPrediction> entries;  // ascending target
    int unreadable = 0;                     // rows that could not be read back
};

// Throws StoreError when the database cannot be opened or read.
PredictionLogRead readPredictionLog(const std::string& connectionString);

// Stores `entry`. Throws StoreError, leaving the file unchanged, when the
// database cannot be written (Cause::ReadOnly for a read-only file or
// folder), when the target draw already holds four digits, or when a
// prediction for the target is already stored (Cause::Constraint).
void recordPrediction(const std::string& connectionString, const LoggedPrediction& entry);

// The local time now as "YYYY-MM-DD HH:MM:SS".
std::string currentTimeText();

}  // namespace rumone
