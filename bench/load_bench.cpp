// Start-up load of the draw history: the whole LoadDrawHistory from a
// database of the real draws and from one of the most draws the model
// holds (32767), and the opening and keying of the database on its own
// (the key derivation is most of the cost of an open).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "history/DrawCsv.h"
#include "history/DrawDatabase.h"
#include "history/DrawHistory.h"
#include "history/DrawStore.h"

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
        MakeMaxHistory();
        MakeRealHistory();
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
    void MakeMaxHistory()
    {
        max_ = folder_ + "/max.mdb";
        std::mt19937 gen(1);
        std::uniform_int_distribution<int> digit(0, 9);
        std::vector<EditRow> draws;
        for (int n = 1; n <= kMaxDrawNumber; ++n) {
            EditRow r;
            r.number = DbValue::Int(n);
            for (DbValue& d : r.digits)
                d = DbValue::Int(digit(gen));
            draws.push_back(std::move(r));
        }
        CreateDrawDatabase(max_);
        OpenDrawEditSet(ConnectionStringFor(max_)).ImportDraws(draws);
    }

    void MakeRealHistory()
    {
        const std::string csv = std::string(RUMONE_SHARED_DIR) + "/data/draws.csv";
        std::ifstream in(csv, std::ios::binary);
        if (!in) {
            realMissing_ = "real history absent: " + csv;
            return;
        }
        std::ostringstream text;
        text << in.rdbuf();
        real_ = folder_ + "/real.mdb";
        CreateDrawDatabase(real_);
        OpenDrawEditSet(ConnectionStringFor(real_)).ImportDraws(ParseDrawCsv(text.str()));
    }

    std::string folder_;
    std::string real_;
    std::string max_;
    std::string realMissing_;
};

const BenchDatabases& Databases()
{
    static const BenchDatabases databases;
    return databases;
}

void LoadHistory(benchmark::State& state, const std::string& path)
{
    const std::string cs = ConnectionStringFor(path);
    int latest = 0;
    for (auto _ : state) {
        DrawHistory history;
        history.LoadDrawHistory(cs);
        latest = history.latestDrawNumber();
        benchmark::DoNotOptimize(latest);
    }
    state.counters["latestDrawNumber"] = latest;
}

void BM_LoadDrawHistory_Real7054(benchmark::State& state)
{
    if (Databases().real().empty()) {
        state.SkipWithError(Databases().realMissing().c_str());
        return;
    }
    LoadHistory(state, Databases().real());
}

void BM_LoadDrawHistory_Max32767(benchmark::State& state)
{
    LoadHistory(state, Databases().max());
}

// Opening and keying only: the key is proved by reading the first page,
// which is where SQLCipher derives the key from the password.
void BM_OpenAndKeyOnly(benchmark::State& state)
{
    const ConnectionInfo info = ParseConnectionString(ConnectionStringFor(Databases().max()));
    for (auto _ : state) {
        sqlite::Connection db = OpenKeyedDatabase(info, OpenAccess::ReadOnly);
        benchmark::DoNotOptimize(db.get());
    }
}

BENCHMARK(BM_OpenAndKeyOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDrawHistory_Real7054)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDrawHistory_Max32767)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
