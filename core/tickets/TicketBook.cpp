#include "core/tickets/TicketBook.h"

#include "core/store/DrawDatabase.h"
#include "core/store/StoreFailure.h"
#include "core/store/WriteTransaction.h"

namespace rumone {

namespace {

const char* const kPurchaseSchema =
    "CREATE TABLE IF NOT EXISTS 購入記録 (番号 INTEGER PRIMARY KEY AUTOINCREMENT,"
    " 最初の回数 INTEGER NOT NULL, 継続 INTEGER NOT NULL, 数字 TEXT NOT NULL,"
    " 種類 INTEGER NOT NULL, 口数 INTEGER NOT NULL, 記録時刻 TEXT NOT NULL)";
const char* const kClaimedSchema =
    "CREATE TABLE IF NOT EXISTS 受取済み (購入番号 INTEGER NOT NULL, 回数 INTEGER NOT NULL,"
    " PRIMARY KEY (購入番号, 回数))";
const char* const kBudgetSchema = "CREATE TABLE IF NOT EXISTS 購入予算 (月額 INTEGER NOT NULL)";

// Runs `sql` over the table `table` when it exists, handing each row on.
template <typename Take>
void readRows(const DrawDatabaseRef& database, const char* table, const std::string& sql, Take take)
{
    const sqlite::Connection db = openKeyedDatabase(database, OpenAccess::ReadOnly);
    if (!sqlite::hasTable(db.get(), database.path, table))
        return;
    sqlite::Statement st(db.get(), sql);
    if (!st.ok())
        throw storeErrorFor(st.prepareCode(), database.path, false);
    int rc = SQLITE_OK;
    while ((rc = st.step()) == SQLITE_ROW)
        take(st);
    if (rc != SQLITE_DONE)
        throw storeErrorFor(rc, database.path, false);
}

}  // namespace

std::string numberText(const FourDigits& digits)
{
    std::string text;
    for (const int d : digits)
        text += static_cast<char>('0' + d);
    return text;
}

std::optional<FourDigits> parseNumberText(const std::string& text)
{
    if (text.size() != 4)
        return std::nullopt;
    FourDigits digits{};
    for (std::size_t i = 0; i < 4; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        digits[i] = text[i] - '0';
    }
    return digits;
}

std::optional<std::string> purchaseProblem(const Purchase& purchase)
{
    if (purchase.draws < 1 || purchase.draws > kMaxPurchaseDraws)
        return "継続は 1 から 20 回です。";
    if (purchase.firstDraw < 1 || purchase.firstDraw + purchase.draws - 1 > kMaxDrawNumber)
        return "回数は 1 から 32767 の範囲です。";
    if (purchase.units < 1 || purchase.units > kMaxPurchaseUnits)
        return "口数は 1 から 9999 です。";
    if (purchase.ticket.type >= kTicketTypeCount)
        return "購入の種類はストレート・ボックス・セットのどれかです。";
    for (const int d : purchase.ticket.digits)
        if (d < 0 || d > 9)
            return "数字は 0 から 9 の 4 桁です。";
    if (!isSold(purchase.ticket))
        return std::string("4 つとも同じ数字は") + kTicketTypes[purchase.ticket.type].name +
               "では販売されません（ストレートのみ）。";
    return std::nullopt;
}

std::vector<Purchase> readPurchases(const DrawDatabaseRef& database)
{
    std::vector<Purchase> book;
    readRows(database, "購入記録",
             "SELECT 番号, 最初の回数, 継続, 数字, 種類, 口数, 記録時刻 FROM 購入記録 ORDER BY 番号",
             [&](const sqlite::Statement& st) {
                 Purchase p;
                 p.id = st.columnInt(0);
                 p.firstDraw = static_cast<int>(st.columnInt(1));
                 p.draws = static_cast<int>(st.columnInt(2));
                 const auto digits = parseNumberText(st.columnText(3));
                 const long long type = st.columnInt(4);
                 p.units = static_cast<int>(st.columnInt(5));
                 const auto recorded = parseStoredTime(st.columnText(6));
                 if (!digits || type < 0 || type >= static_cast<long long>(kTicketTypeCount) || !recorded)
                     return;  // a row no version of the program writes
                 p.ticket = Ticket{static_cast<std::size_t>(type), *digits};
                 p.recorded = *recorded;
                 if (!purchaseProblem(p))
                     book.push_back(p);
             });
    return book;
}

Purchase recordPurchase(const DrawDatabaseRef& database, Purchase purchase)
{
    return recordPurchases(database, {purchase}).front();
}

std::vector<Purchase> recordPurchases(const DrawDatabaseRef& database, std::vector<Purchase> purchases)
{
    for (const Purchase& p : purchases)
        if (const auto problem = purchaseProblem(p))
            throw StoreError(StoreError::Cause::Constraint, database.path, *problem);
    const StoredTime now = storedTimeNow();
    const sqlite::Connection db = openDurableDatabase(database, true);
    WriteTransaction tx(db.get(), database.path);
    tx.exec(kPurchaseSchema);
    auto insert = tx.prepare(
        "INSERT INTO 購入記録 (最初の回数, 継続, 数字, 種類, 口数, 記録時刻) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    for (Purchase& p : purchases) {
        p.recorded = now;
        insert.bindInt(1, p.firstDraw);
        insert.bindInt(2, p.draws);
        insert.bind(3, DbValue::fromText(numberText(p.ticket.digits)));
        insert.bindInt(4, static_cast<long long>(p.ticket.type));
        insert.bindInt(5, p.units);
        insert.bind(6, DbValue::fromText(storedTimeText(p.recorded)));
        tx.run(insert);
        p.id = sqlite3_last_insert_rowid(db.get());
    }
    tx.commit();
    return purchases;
}

ClaimedPrizes readClaimedPrizes(const DrawDatabaseRef& database)
{
    ClaimedPrizes claimed;
    readRows(database, "受取済み", "SELECT 購入番号, 回数 FROM 受取済み",
             [&](const sqlite::Statement& st) { claimed.emplace(st.columnInt(0), static_cast<int>(st.columnInt(1))); });
    return claimed;
}

void storeClaimedPrize(const DrawDatabaseRef& database, long long purchaseId, int draw, bool claimed)
{
    const sqlite::Connection db = openDurableDatabase(database, true);
    WriteTransaction tx(db.get(), database.path);
    tx.exec(kClaimedSchema);
    auto st = tx.prepare(claimed ? "INSERT OR IGNORE INTO 受取済み (購入番号, 回数) VALUES (?1, ?2)"
                                 : "DELETE FROM 受取済み WHERE 購入番号 = ?1 AND 回数 = ?2");
    st.bindInt(1, purchaseId);
    st.bindInt(2, draw);
    tx.run(st);
    tx.commit();
}

std::optional<long long> readMonthlyBudget(const DrawDatabaseRef& database)
{
    std::optional<long long> budget;
    readRows(database, "購入予算", "SELECT 月額 FROM 購入予算 LIMIT 1", [&](const sqlite::Statement& st) {
        const long long yen = st.columnInt(0);
        if (yen > 0 && yen <= kMaxMonthlyBudget)
            budget = yen;
    });
    return budget;
}

void storeMonthlyBudget(const DrawDatabaseRef& database, std::optional<long long> yen)
{
    if (yen && (*yen <= 0 || *yen > kMaxMonthlyBudget))
        throw StoreError(StoreError::Cause::Constraint, database.path, "月の予算は 1 円から 1 億円までです。");
    const sqlite::Connection db = openDurableDatabase(database, true);
    WriteTransaction tx(db.get(), database.path);
    tx.exec(kBudgetSchema);
    tx.exec("DELETE FROM 購入予算");
    if (yen) {
        auto st = tx.prepare("INSERT INTO 購入予算 (月額) VALUES (?1)");
        st.bindInt(1, *yen);
        tx.run(st);
    }
    tx.commit();
}

}  // namespace rumone
