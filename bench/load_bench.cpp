// Start-up load of the draw history: the whole loadDrawHistory from a
// database of the real draws and from one of the most draws the model
// holds (32767), and the opening and keying of the database on its own
// (the key derivation is most of the cost of an open).
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/history/DrawHistory.h"
#include "core/store/DatabaseKey.h"
#include "core/store/DrawCsv.h"
#include "core/store/DrawDatabase.h"
#include "core/store/DrawStore.h"
#include "core/store/SampleDatabase.h"

namespace {

using namespace rumone;

// The benchmark databases, made once in a temporary folder removed at exit.
class BenchDatabases {
public:
    BenchDatabases()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "rumone-bench-XXXXXX").string();
        if (mkdtemp(tmpl.data()))
            folder_ = tmpl;
        makeMaxHistory();
        makeRealHistory();
    }
    ~BenchDatabases()
    {
        std::error_code ec;
        if (!folder_.empty())
            std::filesystem::remove_all(folder_, ec);
    }
    const std::string& real() const { return real_; }
    const std::string& max() const { return max_; }
    const std::string& realMissing() const { return realMissing_; }

private:
    void makeMaxHistory()
    {
        max_ = folder_ + "/max.mdb";
        createDrawDatabase(max_);
        openDrawEditSet(drawDatabaseAt(max_)).importDraws(sampleDraws(kMaxDrawNumber));
    }

    void makeRealHistory()
    {
        const std::string csv = RUMONE_DRAWS_CSV;
        std::ifstream in(csv, std::ios::binary);
        if (!in) {
            realMissing_ = "real history absent: " + csv;
            return;
        }
        std::ostringstream text;
        text << in.rdbuf();
        real_ = folder_ + "/real.mdb";
        createDrawDatabase(real_);
        openDrawEditSet(drawDatabaseAt(real_)).importDraws(parseDrawCsv(text.str()));
    }

    std::string folder_;
    std::string real_;
    std::string max_;
    std::string realMissing_;
};

const BenchDatabases& databases()
{
    static const BenchDatabases databases;
    return databases;
}

void loadHistory(benchmark::State& state, const std::string& path)
{
    int latest = 0;
    for (auto _ : state) {
        DrawHistory history;
        history = loadDrawHistory(drawDatabaseAt(path));  // the key derived, as at a start
        latest = history.latestDrawNumber();
        benchmark::DoNotOptimize(latest);
    }
    state.counters["latestDrawNumber"] = latest;
}

void BM_LoadDrawHistory_Real7054(benchmark::State& state)
{
    if (databases().real().empty()) {
        state.SkipWithError(databases().realMissing().c_str());
        return;
    }
    loadHistory(state, databases().real());
}

void BM_LoadDrawHistory_Max32767(benchmark::State& state)
{
    loadHistory(state, databases().max());
}

// Opening and keying only: the key is proved by reading the first page,
// which is where SQLCipher derives the key from the password.
void BM_OpenAndKeyOnly(benchmark::State& state)
{
    for (auto _ : state) {
        sqlite::Connection db = openKeyedDatabase(drawDatabaseAt(databases().max()), OpenAccess::ReadOnly);
        benchmark::DoNotOptimize(db.get());
    }
}

// What the entry view reads before it shows a row: the editable set, its
// checks of the saved query and its triggers, and every row.
void BM_OpenDrawEditSet_Max32767(benchmark::State& state)
{
    const DrawDatabaseRef database = drawDatabaseAt(databases().max());
    for (auto _ : state) {
        DrawEditSet set = openDrawEditSet(database);
        benchmark::DoNotOptimize(set.recordCount());
    }
}

// The program's own derivation of the same key (what a start does instead
// of SQLCipher's), beside SQLCipher's open with the password above.
void BM_DeriveKeyOnly(benchmark::State& state)
{
    const DatabaseSalt salt{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const std::string password = drawDatabaseAt(databases().max()).password;
    for (auto _ : state)
        benchmark::DoNotOptimize(deriveRawKey(password, salt));
}

// The same key by OpenSSL's own PBKDF2 (its HMAC through EVP each round),
// in the same run.
void BM_DeriveKeyOpenSsl(benchmark::State& state)
{
    const DatabaseSalt salt{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const std::string password = drawDatabaseAt(databases().max()).password;
    unsigned char key[32];
    for (auto _ : state) {
        PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(), salt.size(), 64000,
                          EVP_sha1(), sizeof key, key);
        benchmark::DoNotOptimize(key);
    }
}

BENCHMARK(BM_OpenAndKeyOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeriveKeyOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeriveKeyOpenSsl)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDrawEditSet_Max32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDrawHistory_Real7054)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDrawHistory_Max32767)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
