// The data the benchmarks run on: the real draws (RUMONE_DRAWS_CSV, set by
// bench/CMakeLists.txt), 32,767 seeded random draws, databases of either in
// a temporary folder removed at exit, and the medians they report.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/history/DrawHistory.h"
#include "core/store/DrawCsv.h"
#include "core/store/DrawDatabase.h"
#include "core/store/DrawStore.h"
#include "core/store/SampleDatabase.h"

namespace rumone::bench {

inline const char* realDrawsCsv()
{
    return RUMONE_DRAWS_CSV;
}

// The real draws as rows of the store, or nothing when the file is absent.
inline std::optional<std::vector<EditRow>> realDrawRows()
{
    std::ifstream in(realDrawsCsv(), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return parseDrawCsv(text.str());
}

inline DrawHistory historyOf(const std::vector<EditRow>& rows)
{
    std::vector<DrawRecord> records;
    records.reserve(rows.size());
    for (const EditRow& r : rows) {
        DrawRecord rec;
        rec.number = r.number;
        rec.digits = r.digits;
        records.push_back(rec);
    }
    return DrawHistory::fromRecords(records);
}

// The real history, or nothing when the CSV is absent.
inline const std::optional<DrawHistory>& realHistory()
{
    static const std::optional<DrawHistory> history = [] {
        const auto rows = realDrawRows();
        return rows ? std::optional<DrawHistory>(historyOf(*rows)) : std::nullopt;
    }();
    return history;
}

// The most draws the tables hold, random digits.
inline const DrawHistory& maxHistory()
{
    static const DrawHistory history = historyOf(sampleDraws(kMaxDrawNumber));
    return history;
}

// A temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "rumone-bench-XXXXXX").string();
        if (mkdtemp(tmpl.data()))
            path_ = tmpl;
    }
    ~TempFolder()
    {
        std::error_code ec;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A draw database at `path` holding `rows`.
inline void makeDatabase(const std::string& path, const std::vector<EditRow>& rows)
{
    createDrawDatabase(path);
    openDrawEditSet(drawDatabaseAt(path)).importDraws(rows);
}

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace rumone::bench
