#include "core/rules/RuleRecords.h"

#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "core/backtest/TicketGrid.h"
#include "core/digest/Fingerprint.h"
#include "core/rules/RulePurchases.h"
#include "core/rules/RuleWalk.h"
#include "core/store/DrawDatabase.h"
#include "core/store/FirstEntries.h"
#include "core/store/StoreFailure.h"
#include "core/store/WriteTransaction.h"
#include "core/tickets/TicketBook.h"

namespace rumone {

namespace {

const char* const kRecordSchema =
    "CREATE TABLE IF NOT EXISTS 自分の条件 (番号 INTEGER PRIMARY KEY AUTOINCREMENT, 条件 TEXT NOT NULL UNIQUE,"
    " 保存時刻 TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS 自分の条件の記録 (番号 INTEGER PRIMARY KEY AUTOINCREMENT, 条件 TEXT NOT NULL,"
    " 対象回 INTEGER NOT NULL, 数字 TEXT NOT NULL, 記録時刻 TEXT NOT NULL, 塩 TEXT NOT NULL, 前の鎖 TEXT NOT NULL,"
    " 鎖 TEXT NOT NULL, UNIQUE (条件, 対象回));"
    "CREATE TRIGGER IF NOT EXISTS 自分の条件の記録_変更不可 BEFORE UPDATE ON 自分の条件の記録"
    " BEGIN SELECT RAISE(ABORT, '記録は変更できません'); END;"
    "CREATE TRIGGER IF NOT EXISTS 自分の条件の記録_削除不可 BEFORE DELETE ON 自分の条件の記録"
    " BEGIN SELECT RAISE(ABORT, '記録は削除できません'); END;"
    "CREATE TRIGGER IF NOT EXISTS 自分の条件の記録_一度だけ BEFORE INSERT ON 自分の条件の記録"
    " WHEN EXISTS (SELECT 1 FROM 自分の条件の記録 WHERE 条件 = NEW.条件 AND 対象回 = NEW.対象回)"
    " BEGIN SELECT RAISE(ABORT, '記録は一度だけです'); END;";

std::optional<std::vector<Ticket>> parseNumbers(const std::string& text, std::size_t type)
{
    std::vector<Ticket> tickets;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        const auto digits = parseNumberText(word);
        if (!digits)
            return std::nullopt;
        tickets.push_back({type, *digits});
    }
    return tickets;
}

std::size_t typeOfRule(const std::string& text)
{
    const RuleParse read = parseRule(text);
    return read.rule ? read.rule->type : kStraightTicket;
}

std::string lastChainHash(const WriteTransaction& tx)
{
    sqlite::Statement st = tx.prepare("SELECT 鎖 FROM 自分の条件の記録 ORDER BY 番号 DESC LIMIT 1");
    const int rc = st.step();
    tx.check(rc);
    return rc == SQLITE_ROW ? st.columnText(0) : std::string();
}

// Records the next draw's tickets of each of `rules` that has none yet.
int recordNextDraw(const WriteTransaction& tx, const std::vector<std::string>& rules, const DrawHistory& history)
{
    const std::vector<Draw>& draws = history.completeDraws();
    const int target = draws.empty() ? 1 : draws.back().number + 1;
    if (target > kMaxDrawNumber)
        return 0;
    std::map<int, PredictorSets> methodSets;  // by reflect count
    std::string previous = lastChainHash(tx);
    int written = 0;
    for (const std::string& text : rules) {
        const RuleParse read = parseRule(text);
        if (!read.rule)
            continue;
        sqlite::Statement has = tx.prepare("SELECT 1 FROM 自分の条件の記録 WHERE 条件 = ?1 AND 対象回 = ?2");
        has.bind(1, DbValue::fromText(text));
        has.bindInt(2, target);
        const int rc = has.step();
        tx.check(rc);
        if (rc == SQLITE_ROW)
            continue;
        const int reflect = read.rule->reflectCount();
        if (read.rule->method && !methodSets.contains(reflect))
            methodSets.emplace(reflect, nextMethodSets(history, reflect));
        RuleRecord record;
        record.rule = text;
        record.target = target;
        record.tickets = nextDrawTickets(
            *read.rule, draws,
            read.rule->method ? &methodSets.at(reflect).sets[static_cast<std::size_t>(*read.rule->method)] : nullptr);
        record.recorded = storedTimeNow();
        record.salt = randomSalt();
        record.previous = previous;
        record.hash = chainHashOf(record.canonicalText(), record.previous);
        sqlite::Statement insert = tx.prepare(
            "INSERT INTO 自分の条件の記録 (条件, 対象回, 数字, 記録時刻, 塩, 前の鎖, 鎖)"
            " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
        insert.bind(1, DbValue::fromText(record.rule));
        insert.bindInt(2, record.target);
        insert.bind(3, DbValue::fromText(recordNumbersText(record.tickets)));
        insert.bind(4, DbValue::fromText(storedTimeText(record.recorded)));
        insert.bind(5, DbValue::fromText(record.salt));
        insert.bind(6, DbValue::fromText(record.previous));
        insert.bind(7, DbValue::fromText(record.hash));
        tx.run(insert);
        previous = record.hash;
        ++written;
    }
    return written;
}

std::vector<std::string> savedRuleTexts(const WriteTransaction& tx)
{
    std::vector<std::string> rules;
    sqlite::Statement st = tx.prepare("SELECT 条件 FROM 自分の条件 ORDER BY 番号");
    int rc = SQLITE_OK;
    while ((rc = st.step()) == SQLITE_ROW)
        rules.push_back(st.columnText(0));
    tx.check(rc);
    return rules;
}

int recordWith(const DrawDatabaseRef& database, const std::optional<Rule>& rule, const DrawHistory& history)
{
    const sqlite::Connection db = openDurableDatabase(database, true);
    WriteTransaction tx(db.get(), database.path);
    tx.exec(kRecordSchema);
    if (rule) {
        sqlite::Statement insert = tx.prepare("INSERT OR IGNORE INTO 自分の条件 (条件, 保存時刻) VALUES (?1, ?2)");
        insert.bind(1, DbValue::fromText(ruleText(*rule)));
        insert.bind(2, DbValue::fromText(storedTimeText(storedTimeNow())));
        tx.run(insert);
    }
    const int written = recordNextDraw(tx, savedRuleTexts(tx), history);
    tx.commit();
    return written;
}

}  // namespace

std::string recordNumbersText(const std::vector<Ticket>& tickets)
{
    std::string text;
    for (const Ticket& t : tickets)
        text += (text.empty() ? "" : " ") + numberText(t.digits);
    return text;
}

std::string canonicalRecordText(std::string_view rule, int target, std::string_view numbers, std::string_view recorded,
                                std::string_view salt)
{
    return "rule\t" + std::string(rule) + "\ntarget\t" + std::to_string(target) + "\nnumbers\t" + std::string(numbers) +
           "\nrecorded\t" + std::string(recorded) + "\nsalt\t" + std::string(salt) + "\n";
}

std::string RuleRecord::canonicalText() const
{
    return canonicalRecordText(rule, target, recordNumbersText(tickets), storedTimeText(recorded), salt);
}

std::string RuleRecord::fingerprint() const
{
    return fingerprintOf(canonicalText());
}

RuleRecordsRead readRuleRecords(const DrawDatabaseRef& database)
{
    const sqlite::Connection db = openKeyedDatabase(database, OpenAccess::ReadOnly);
    RuleRecordsRead read;
    if (!sqlite::hasTable(db.get(), database.path, "自分の条件"))
        return read;
    sqlite::Statement rules(db.get(), "SELECT 条件, 保存時刻 FROM 自分の条件 ORDER BY 番号");
    if (!rules.ok())
        throw storeErrorFor(rules.prepareCode(), database.path, false);
    int rulesRc = SQLITE_OK;
    while ((rulesRc = rules.step()) == SQLITE_ROW)
        if (const auto saved = parseStoredTime(rules.columnText(1)))
            read.rules.push_back({rules.columnText(0), *saved});
    if (rulesRc != SQLITE_DONE)  // a failed read is said, not shown as fewer rules
        throw storeErrorFor(rulesRc, database.path, false);
    const std::map<int, StoredTime> firstEntries = readFirstEntries(db.get(), database.path);
    sqlite::Statement st(db.get(),
                         "SELECT 条件, 対象回, 数字, 記録時刻, 塩, 前の鎖, 鎖 FROM 自分の条件の記録 ORDER BY 番号");
    if (!st.ok())
        throw storeErrorFor(st.prepareCode(), database.path, false);
    std::string previous;
    int rc = SQLITE_OK;
    while ((rc = st.step()) == SQLITE_ROW) {
        RuleRecord r;
        r.rule = st.columnText(0);
        r.target = static_cast<int>(st.columnInt(1));
        const auto tickets = parseNumbers(st.columnText(2), typeOfRule(r.rule));
        const auto recorded = parseStoredTime(st.columnText(3));
        r.salt = st.columnText(4);
        r.previous = st.columnText(5);
        r.hash = st.columnText(6);
        const std::string name = "第" + std::to_string(r.target) + "回の記録（" + r.rule + "）";
        if (r.previous != previous)
            read.leftOut.push_back(name + "の前で記録の鎖が切れています（記録が取り除かれたか、間に加えられました）。");
        previous = r.hash;
        if (!tickets || !recorded) {
            read.leftOut.push_back(name + "を読めません。");
            continue;
        }
        r.tickets = *tickets;
        r.recorded = *recorded;
        if (chainHashOf(r.canonicalText(), r.previous) != r.hash) {
            read.leftOut.push_back(name + "は記録の後で変えられています。");
            continue;
        }
        if (recordedAfterTheDraw(firstEntries, r.target, r.recorded)) {
            read.leftOut.push_back(name + "は抽せん結果の入力より後に記録されています。");
            continue;
        }
        read.records.push_back(std::move(r));
    }
    if (rc != SQLITE_DONE)
        throw storeErrorFor(rc, database.path, false);
    return read;
}

int saveRule(const DrawDatabaseRef& database, const Rule& rule, const DrawHistory& history)
{
    return recordWith(database, rule, history);
}

int recordSavedRules(const DrawDatabaseRef& database, const DrawHistory& history)
{
    return recordWith(database, std::nullopt, history);
}

std::vector<SavedRuleScore> scoreSavedRules(const RuleRecordsRead& read, const DrawHistory& history)
{
    std::map<int, FourDigits> drawn;
    for (const Draw& d : history.completeDraws())
        drawn[d.number] = d.digits;
    std::vector<SavedRuleScore> scores;
    for (const SavedRule& saved : read.rules) {
        SavedRuleScore score;
        score.rule = saved.rule;
        score.saved = saved.saved;
        for (const RuleRecord& r : read.records) {
            if (r.rule != saved.rule)
                continue;
            score.latest = &r;
            const auto d = drawn.find(r.target);
            if (d == drawn.end())
                continue;
            ++score.targets;
            score.tickets += static_cast<long>(r.tickets.size());
            int chance = 0;
            for (const Ticket& t : r.tickets) {
                chance += t.type == kBoxTicket ? orderingsOf(t.digits) : 1;
                if (const auto kind = prizeKindWon(t, d->second)) {
                    ++score.wins;
                    score.paid += theoreticalPrize(*kind, d->second);
                }
            }
            score.winTrials.add(chance);
        }
        score.cost = score.tickets * kTicketPrice;
        scores.push_back(std::move(score));
    }
    return scores;
}

std::string savedRulesText(const std::vector<SavedRuleScore>& scores)
{
    if (scores.empty())
        return "保存した条件はありません。条件を保存すると、次の回からの購入が抽せんの前に記録されます。";
    std::string text;
    for (const SavedRuleScore& s : scores) {
        const CountFigures wins = s.winFigures();
        char expected[32];
        std::snprintf(expected, sizeof expected, "%.1f", wins.expected);
        text += "「" + s.rule + "」" + localTimeText(s.saved) + "に保存。保存後の記録: " + std::to_string(s.targets) +
                "回、購入" + groupedNumber(s.tickets) + "枚、当せん" + std::to_string(s.wins) + "回（偶然なら期待" +
                expected + "回、95%の範囲" + std::to_string(wins.low) + "〜" + std::to_string(wins.high) +
                "回）、損益" + yenText(s.paid - s.cost) + "。";
        if (s.latest)
            text += "第" + std::to_string(s.latest->target) + "回の記録の指紋 " + s.latest->fingerprint() + "。";
        text += "\n";
    }
    return text +
           "公正な試験になるのは、保存してから抽せんの前に記録したこの成績だけです。過去での検証は、条件を"
           "過去に合わせて選べるため公正な試験ではありません。";
}

}  // namespace rumone
