// The records of saved rules written to a file others can check, and the
// check: every record with its salt and chain hashes, a line each, and for
// each line whether its fingerprint and chain hash follow from its fields
// and the line before.
//
// The file: a first line "rumone-rule-records 1", then per record
//   target <TAB> rule <TAB> numbers <TAB> recorded <TAB> salt <TAB>
//   previous <TAB> hash <TAB> fingerprint
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/rules/RuleRecords.h"

namespace rumone {

inline constexpr const char* kRecordExportHeader = "rumone-rule-records 1";

std::string recordExportText(const std::vector<RuleRecord>& records);

struct VerifiedRecord {
    int line = 0;
    int target = 0;
    std::string rule;
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
