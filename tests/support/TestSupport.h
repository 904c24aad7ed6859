// Helpers for building histories in tests and for reading the real one.
#pragma once

#include <array>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"
#include "core/store/DrawStore.h"

namespace rumone::test {

// A row for historyOf: a draw number and four digits, -1 for "no value".
struct Row {
    int number;
    std::array<int, 4> digits;
};

// A history built from rows in the given order, as if loaded from a store.
DrawHistory historyOf(std::initializer_list<Row> rows);
DrawHistory historyOf(const std::vector<Row>& rows);
// Draws 1..count with seeded pseudo-random digits (sampleDraws).
DrawHistory randomHistory(int count, unsigned seed = 1);
// The rows as the store takes them, -1 as NULL.
EditRow editRowOf(const Row& r);
std::vector<EditRow> editRowsOf(const std::vector<Row>& rows);

// The real winning numbers from the project's copy, data/draws.csv; nullopt
// only when that file cannot be read, which the caller reports as a failure.
std::optional<std::vector<Row>> realDraws();
std::string realDrawsPath();

// Short forms for checks on a grid.
std::string colourOf(const OptColour& c);  // "#rrggbb" or "-"
// The tables' colours as colourOf writes them; kNone for no colour.
namespace hex {
inline const std::string kRedText = "#ff0000";
inline const std::string kBlueText = "#0000ff";
inline const std::string kYellow = "#ffffc8";
inline const std::string kPaleCyanBack = "#defefd";
inline const std::string kLine = "#88c4ff";
inline const std::string kMarkColour = "#3e9eff";
inline const std::string kCyan = "#c8ffff";
inline const std::string kGreen = "#c8ffc8";
inline const std::string kMagenta = "#ffc8ff";
inline const std::string kLavender = "#c8c8ff";
inline const std::string kPink = "#ffc8c8";
inline const std::string kWhite = "#ffffff";
inline const std::string kNone = "-";
}  // namespace hex
std::string backOf(const ResultGrid& g, int col, int row);
std::string textColourOf(const ResultGrid& g, int col, int row);
std::vector<std::string> rowTexts(const ResultGrid& g, int row);  // columns 1..columns()

// The whole file at `path` ("" when there is none), and a file made to
// hold exactly `bytes`.
std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// A fresh empty folder under the system's temporary folder, removed by the
// destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The environment variable `name` set to `value` (unset for nullptr) until
// the destructor puts the earlier value back; TZ takes effect at once.
class EnvForTest {
public:
    EnvForTest(const char* name, const char* value);
    ~EnvForTest();
    EnvForTest(const EnvForTest&) = delete;
    EnvForTest& operator=(const EnvForTest&) = delete;

private:
    std::string name_;
    std::optional<std::string> earlier_;
};

}  // namespace rumone::test
