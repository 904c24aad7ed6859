// Saved rules and their frozen records. A saved rule (table 自分の条件)
// buys, for each draw still to come, the tickets it picks from the draws
// before it; they are recorded before the draw in 自分の条件の記録, a row
// per rule and target that is written once and never changed (its
// triggers refuse updates, deletions and a second row for the same rule
// and target, INSERT OR REPLACE included). Each row holds its canonical
// text's parts, a random salt and the chain hash over the row before it
// (core/digest/Fingerprint.h). Reading checks every row's hash and the
// time its draw was first entered (core/store/FirstEntries.h): a row that
// does not match, or was recorded no earlier than its draw (or a later one)
// was first entered, is left out of the score and named. Only these rows,
// recorded since the rule was saved, are a fair test of it; its walk over
// the past is not.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/history/DrawHistory.h"
#include "core/rules/Rule.h"
#include "core/stats/CountChance.h"
#include "core/store/DrawStore.h"
#include "core/store/StoredTime.h"

namespace rumone {

struct SavedRule {
    std::string rule;  // canonical text
    StoredTime saved{};
};

struct RuleRecord {
    std::string rule;  // canonical text
    int target = 0;
    std::vector<Ticket> tickets;  // ascending, all of the rule's type
    StoredTime recorded{};
    std::string salt;      // hexadecimal
    std::string previous;  // the chain hash of the row before; "" for the first
    std::string hash;      // this row's chain hash

    // The text the fingerprint and the chain hash are taken over: every
    // field above but the two hashes, a line each.
    std::string canonicalText() const;
    std::string fingerprint() const;
};

// The canonical text of a record from its fields as written: a line each,
// "rule", "target", "numbers", "recorded" and "salt" with a tab before
// the value.
std::string canonicalRecordText(std::string_view rule, int target, std::string_view numbers, std::string_view recorded,
                                std::string_view salt);
// "0123 4567": the tickets' numbers as a record holds them.
std::string recordNumbersText(const std::vector<Ticket>& tickets);

struct RuleRecordsRead {
    std::vector<SavedRule> rules;      // in the order saved
    std::vector<RuleRecord> records;   // in the order recorded: the rows that count
    std::vector<std::string> leftOut;  // one Japanese sentence per row left out
};

// Throws StoreError.
RuleRecordsRead readRuleRecords(const DrawDatabaseRef& database);

// Saves `rule` (once; saving it again keeps the first time) and records
// the next draw's tickets of every saved rule that has none yet. Returns
// how many records it wrote. Throws StoreError.
int saveRule(const DrawDatabaseRef& database, const Rule& rule, const DrawHistory& history);
// The same for the rules already saved.
int recordSavedRules(const DrawDatabaseRef& database, const DrawHistory& history);

// A saved rule's records scored against the draws entered since.
struct SavedRuleScore {
    std::string rule;
    StoredTime saved{};
    int targets = 0;  // records whose draw is entered
    long tickets = 0;
    long wins = 0;
    TrialCounts winTrials;
    long long cost = 0;
    long long paid = 0;                  // theoretical prizes
    const RuleRecord* latest = nullptr;  // the latest record, scored or not

    CountFigures winFigures() const { return chanceFiguresOf(winTrials, wins); }
};

std::vector<SavedRuleScore> scoreSavedRules(const RuleRecordsRead& read, const DrawHistory& history);
// One line per saved rule: its record since it was saved and its latest
// fingerprint, and the sentence that only this record is a fair test.
std::string savedRulesText(const std::vector<SavedRuleScore>& scores);

}  // namespace rumone
