#include "core/rules/TriedRules.h"

#include <cmath>
#include <cstdio>
#include <map>

#include "core/backtest/Scoring.h"
#include "core/stats/CountChance.h"
#include "core/store/DrawDatabase.h"
#include "core/store/StoreFailure.h"
#include "core/store/WriteTransaction.h"

namespace rumone {

namespace {

const char* const kTriedSchema =
    "CREATE TABLE IF NOT EXISTS 試した条件 (番号 INTEGER PRIMARY KEY AUTOINCREMENT, 条件 TEXT NOT NULL,"
    " 試した時刻 TEXT NOT NULL, 対象回数 INTEGER NOT NULL, 当せん INTEGER NOT NULL, 期待値 REAL NOT NULL,"
    " p REAL NOT NULL);"
    "CREATE TABLE IF NOT EXISTS 試した条件の消去 (番号 INTEGER PRIMARY KEY AUTOINCREMENT,"
    " 消去時刻 TEXT NOT NULL, 消去した数 INTEGER NOT NULL)";

std::string pText(double p)
{
    char text[32];
    std::snprintf(text, sizeof text, p < 0.001 ? "%.1e" : "%.3f", p);
    return text;
}

std::string percentText(double share)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f%%", share * 100);
    return text;
}

template <typename Row>
void readRows(sqlite3* db, const std::string& path, const char* sql, Row&& row)
{
    sqlite::Statement st(db, sql);
    if (!st.ok())
        throw storeErrorFor(st.prepareCode(), path, false);
    int rc = SQLITE_OK;
    while ((rc = st.step()) == SQLITE_ROW)
        row(st);
    if (rc != SQLITE_DONE)
        throw storeErrorFor(rc, path, false);
}

}  // namespace

TriedRules readTriedRules(const DrawDatabaseRef& database)
{
    const sqlite::Connection db = openKeyedDatabase(database, OpenAccess::ReadOnly);
    TriedRules tried;
    if (sqlite::hasTable(db.get(), database.path, "試した条件"))
        readRows(db.get(), database.path,
                 "SELECT 条件, 試した時刻, 対象回数, 当せん, 期待値, p FROM 試した条件 ORDER BY 番号",
                 [&](const sqlite::Statement& st) {
                     const auto time = parseStoredTime(st.columnText(1));
                     if (!time)
                         return;
                     tried.rules.push_back({st.columnText(0), *time, static_cast<int>(st.columnInt(2)),
                                            static_cast<long>(st.columnInt(3)), st.column(4).real, st.column(5).real});
                 });
    if (sqlite::hasTable(db.get(), database.path, "試した条件の消去"))
        readRows(db.get(), database.path, "SELECT 消去時刻, 消去した数 FROM 試した条件の消去 ORDER BY 番号",
                 [&](const sqlite::Statement& st) {
                     if (const auto time = parseStoredTime(st.columnText(0)))
                         tried.clearings.push_back({*time, static_cast<int>(st.columnInt(1))});
                 });
    return tried;
}

void recordTriedRule(const DrawDatabaseRef& database, TriedRule rule)
{
    rule.tried = storedTimeNow();
    const sqlite::Connection db = openDurableDatabase(database, true);
    WriteTransaction tx(db.get(), database.path);
    tx.exec(kTriedSchema);
    auto insert = tx.prepare(
        "INSERT INTO 試した条件 (条件, 試した時刻, 対象回数, 当せん, 期待値, p) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    insert.bind(1, DbValue::fromText(rule.rule));
    insert.bind(2, DbValue::fromText(storedTimeText(rule.tried)));
    insert.bindInt(3, rule.targets);
    insert.bindInt(4, rule.wins);
    insert.bind(5, DbValue::fromReal(rule.expected));
    insert.bind(6, DbValue::fromReal(rule.p));
    tx.run(insert);
    tx.commit();
}

void clearTriedRules(const DrawDatabaseRef& database)
{
    const sqlite::Connection db = openDurableDatabase(database, true);
    WriteTransaction tx(db.get(), database.path);
    tx.exec(kTriedSchema);
    const long long removed = tx.count("SELECT COUNT(*) FROM 試した条件 WHERE ?1 = ?1", 0);
    tx.exec("DELETE FROM 試した条件");
    auto insert = tx.prepare("INSERT INTO 試した条件の消去 (消去時刻, 消去した数) VALUES (?1, ?2)");
    insert.bind(1, DbValue::fromText(storedTimeText(storedTimeNow())));
    insert.bindInt(2, removed);
    tx.run(insert);
    tx.commit();
}

TriedRule triedRuleOf(const Rule& rule, const RuleWalkResult& walk)
{
    const CountFigures wins = walk.winFigures();
    return {ruleText(rule), {}, walk.targets, walk.wins, wins.expected, wins.p};
}

std::vector<TriedRule> distinctTriedRules(const std::vector<TriedRule>& rules)
{
    std::map<std::string, std::size_t> latest;
    std::vector<TriedRule> distinct;
    for (const TriedRule& r : rules) {
        const auto [at, added] = latest.try_emplace(r.rule, distinct.size());
        if (added)
            distinct.push_back(r);
        else
            distinct[at->second] = r;
    }
    return distinct;
}

TriedVerdict judgeTriedRules(const std::vector<TriedRule>& rules)
{
    TriedVerdict verdict;
    const std::vector<TriedRule> distinct = distinctTriedRules(rules);
    verdict.tried = static_cast<int>(distinct.size());
    std::vector<double> ps;
    for (const TriedRule& r : distinct) {
        ps.push_back(r.p);
        verdict.bestP = std::min(verdict.bestP, r.p);
    }
    const std::vector<bool> different = holmDifferent(ps);
    for (std::size_t i = 0; i < distinct.size(); ++i)
        if (different[i] && distinct[i].targets >= kMinVerdictTargets)
            verdict.standOut.push_back(distinct[i]);
    verdict.bestByChance = 1 - std::pow(1 - verdict.bestP, verdict.tried);
    return verdict;
}

std::string triedRulesText(const TriedRules& rules)
{
    std::string text;
    if (!rules.clearings.empty()) {
        const TriedClearing& last = rules.clearings.back();
        text = localTimeText(last.cleared) + "に" + std::to_string(last.removed) + "通りを消去しました。";
    }
    const TriedVerdict verdict = judgeTriedRules(rules.rules);
    if (verdict.tried == 0)
        return text + "まだ条件を試していません。";
    text += "これまでに試した条件は" + std::to_string(verdict.tried) + "通り。";
    if (verdict.standOut.empty())
        return text + "補正すると、偶然と区別できる条件はありません。最も良く見えた条件も、" +
               std::to_string(verdict.tried) + "通り試せば偶然に出る程度です（最小のp=" + pText(verdict.bestP) +
               "、偶然でもこれ以下が出る確率" + percentText(verdict.bestByChance) + "）。";
    text += "補正しても偶然と区別できる条件が" + std::to_string(verdict.standOut.size()) + "通りあります：";
    for (std::size_t i = 0; i < verdict.standOut.size(); ++i) {
        const TriedRule& r = verdict.standOut[i];
        text += (i ? "、" : "") + std::string("「") + r.rule + "」（当せん" + std::to_string(r.wins) +
                (double(r.wins) > r.expected ? "回、偶然の期待より多い" : "回、偶然の期待より少ない") +
                "、p=" + pText(r.p) + "）";
    }
    return text + "。過去の抽せんに当てはめた結果で、これからの抽せんで確かめるまでは公正な試験ではありません。";
}

}  // namespace rumone
