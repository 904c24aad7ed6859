// The records of saved rules written to a file others can check, and the
// check: every record with its salt and chain hashes, a line each, and for
// each line whether its fingerprint and chain hash follow from its fields
// and the line before.
//
// The file: a first line "rumone-rule-records 2" (files of "… 1", without
// the prediction log's rows, are still read), then per record
//   target <TAB> rule <TAB> numbers <TAB> recorded <TAB> salt <TAB>
//   previous <TAB> hash <TAB> fingerprint
// and per salted row of the prediction log (予想記録), in the order of
// recording,
//   log <TAB> target <TAB> recorded <TAB> reflect <TAB> the seven sets
//   <TAB> salt <TAB> order <TAB> previous <TAB> hash <TAB> fingerprint
// The log's first line may follow rows without a salt, which are not
// written, so its previous hash is taken as given unless it is the first
// row of the log.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/backtest/PredictionLog.h"
#include "core/rules/RuleRecords.h"

namespace rumone {

inline constexpr const char* kRecordExportHeader = "rumone-rule-records 2";
inline constexpr const char* kRecordExportHeaderWithoutLog = "rumone-rule-records 1";
inline constexpr const char* kLogLineMark = "log";

std::string recordExportText(const std::vector<RuleRecord>& records,
                             const std::vector<SaltedPrediction>& predictions = {});

struct VerifiedRecord {
    int line = 0;
    int target = 0;
    std::string rule;         // "予想記録" for a row of the prediction log
    std::string fingerprint;  // as the file gives it
    bool fingerprintMatches = false;
    bool chainMatches = false;  // its hash follows from its fields and the line before
    bool matches() const { return fingerprintMatches && chainMatches; }
};

struct RecordCheck {
    std::vector<VerifiedRecord> records;
    std::vector<std::string> problems;  // lines that could not be read, in Japanese
};

RecordCheck verifyRecordExport(std::string_view text);
// One line per record ("第7055回 sum=… 指紋 1a2b3c4d5e6f: 一致"), a count,
// and what a match proves and what it does not.
std::string recordCheckText(const RecordCheck& check);

}  // namespace rumone
