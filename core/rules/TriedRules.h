// Every rule the player walked, kept in the table 試した条件 of the draw
// database (the rule's text, when, targets, wins, their chance expectation
// and p), so that the conclusion is corrected over all of them: trying
// twenty rules and keeping the best finds a "winner" by chance alone. The
// list can be cleared; each clearing is kept in 試した条件の消去 with its
// time and how many rows it removed, and the conclusion says so, so that
// the count never restarts unseen. The tables are created by the first
// write; a database without them reads as an empty list.
#pragma once

#include <string>
#include <vector>

#include "core/rules/RuleWalk.h"
#include "core/store/DrawStore.h"
#include "core/store/StoredTime.h"

namespace rumone {

struct TriedRule {
    std::string rule;  // canonical text
    StoredTime tried{};
    int targets = 0;
    long wins = 0;
    double expected = 0;
    double p = 1;
};

struct TriedClearing {
    StoredTime cleared{};
    int removed = 0;
};

struct TriedRules {
    std::vector<TriedRule> rules;          // in the order tried
    std::vector<TriedClearing> clearings;  // in the order cleared
};

// The walk of `rule` as one tried rule, to record (its time set then).
TriedRule triedRuleOf(const Rule& rule, const RuleWalkResult& walk);

// Throws StoreError.
TriedRules readTriedRules(const DrawDatabaseRef& database);
// Adds `rule` (its time now) in one durable write. Throws StoreError.
void recordTriedRule(const DrawDatabaseRef& database, TriedRule rule);
// Removes every row and records the clearing. Throws StoreError.
void clearTriedRules(const DrawDatabaseRef& database);

// The rules the correction counts: each text once, at its latest walk.
std::vector<TriedRule> distinctTriedRules(const std::vector<TriedRule>& rules);

struct TriedVerdict {
    int tried = 0;  // distinct rules
    // Different from chance after Holm's correction over all of them, of
    // those with enough targets for a verdict (kMinVerdictTargets).
    std::vector<TriedRule> standOut;
    double bestP = 1;  // the smallest p of them all
    // The chance that the smallest of `tried` independent p's falls at or
    // below bestP by chance alone.
    double bestByChance = 1;
};

TriedVerdict judgeTriedRules(const std::vector<TriedRule>& rules);

// The conclusion in plain Japanese, e.g. "これまでに試した条件は23通り。補正す
// ると、偶然と区別できる条件はありません。…"; the latest clearing, if any,
// named with its date.
std::string triedRulesText(const TriedRules& rules);

}  // namespace rumone
