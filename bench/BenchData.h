// The data the benchmarks run on: the real draws (RUMONE_DRAWS_CSV, set by
// bench/CMakeLists.txt), 32,767 seeded random draws or as many as a bench's
// `--draws=` asks for, databases of either in a temporary folder removed at
// exit, and the medians they report.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
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

// The draws a bench runs on, in place of its own, when it is given
// `--draws=N` (N seeded random draws, those of sampleDraws, N from 1 to
// kMaxDrawNumber) or `--draws=real` (the real draws), one or more times:
// what bench/growth.sh compares.
struct ChosenDraws {
    std::string name;  // "1000 draws", "7054 real draws"
    std::string tag;   // "1000", "real"
    std::vector<EditRow> rows;
};

// The draws `value` names, or nothing (with the reason on stderr).
inline std::optional<ChosenDraws> drawsNamed(const std::string& value)
{
    if (value == "real") {
        auto rows = realDrawRows();
        if (!rows || rows->empty()) {
            std::fprintf(stderr, "--draws=real: no draws in %s\n", realDrawsCsv());
            return std::nullopt;
        }
        const std::string count = std::to_string(rows->size());
        return ChosenDraws{count + " real draws", "real", std::move(*rows)};
    }
    long long count = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, count);
    if (error != std::errc() || stop != end || count < 1 || count > kMaxDrawNumber) {
        std::fprintf(stderr, "--draws=%s: give a count from 1 to %d, or real\n", value.c_str(), kMaxDrawNumber);
        return std::nullopt;
    }
    return ChosenDraws{std::to_string(count) + (count == 1 ? " draw" : " draws"), std::to_string(count),
                       sampleDraws(count)};
}

// Takes every `--draws=` out of the arguments, so that the bench reads the
// others as it always has; the draws each names, in their order (none when
// there is no such argument). A value that names no draws ends the process
// (status 2).
inline std::vector<ChosenDraws> takeDrawsOptions(int& argc, char** argv)
{
    constexpr std::string_view kOption = "--draws=";
    std::vector<ChosenDraws> chosen;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!arg.starts_with(kOption)) {
            argv[kept++] = argv[i];
            continue;
        }
        auto draws = drawsNamed(std::string(arg.substr(kOption.size())));
        if (!draws)
            std::exit(2);
        chosen.push_back(std::move(*draws));
    }
    argc = kept;
    argv[argc] = nullptr;
    return chosen;
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
