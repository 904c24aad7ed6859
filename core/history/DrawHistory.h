// The one in-memory copy of the draw table that every analysis reads.
// Loaded once at start-up, never refreshed while the program runs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/history/DbValue.h"

namespace rumone {

// A row as the store delivers it, before it is judged.
struct DrawRecord {
    DbValue number;
    std::array<DbValue, 4> digits;
};

// The five columns of a row, as the draw table, its query and the CSV
// files name them: 回数, then the digits first to fourth.
inline constexpr std::array<const char*, 5> kDrawColumnNames = {"回数", "第1数字", "第2数字", "第3数字", "第4数字"};

// A complete draw: the draw number and its four digits, first to fourth.
struct Draw {
    int number = 0;
    std::array<int, 4> digits{};
};

// Every stored row whose draw number is usable, complete or not.
struct StoredRow {
    int number = 0;
    std::array<std::optional<int>, 4> digits;  // empty where no valid digit is stored
    bool complete = false;
};

// Draw numbers are 16-bit: 0 to 32767.
inline constexpr int kMaxDrawNumber = 32767;

// The draw number a stored 回数 stands for: an integer, a real without a
// fraction, or a text that is a plain decimal integer (spaces around it
// allowed), each within 0-32767. Anything else (null, "1e3", "12.0", out
// of range) is no usable draw number. The history and the database check
// both judge 回数 by this one rule.
std::optional<int> drawNumberOf(const DbValue& value);
// A stored digit as the history reads it: 0-9 held as a number or as a
// numeric text ("5", " 5 ", "5.0"); nullopt for no value or anything else.
std::optional<int> digitOf(const DbValue& value);
// Whether a stored value stands for no value: NULL or a blank text.
bool isNoValue(const DbValue& value);

class DrawHistory {
public:
    DrawHistory() = default;

    // Judges the records (in ascending draw-number order, as the store
    // delivers them) and derives the shared figures. A record whose draw
    // number is null, not a whole number or outside 0-32767 is dropped; a
    // digit that is missing, empty, not a whole number or outside 0-9 makes
    // its row incomplete. Throws std::runtime_error for a draw number stored
    // as a text that is not a number at all; a text number that is not a
    // plain decimal integer ("1e3") is dropped like any unusable number.
    static DrawHistory fromRecords(const std::vector<DrawRecord>& records);

    // Drops the rows; never fails. The store loads a history with
    // loadDrawHistory (core/store/DrawStore.h).
    void releaseDrawHistory() noexcept;

    const std::vector<Draw>& completeDraws() const { return complete_; }
    const std::vector<StoredRow>& storedRows() const { return stored_; }

    int latestDrawNumber() const { return latestDrawNumber_; }
    int digitCounts(int digit) const { return digit >= 0 && digit <= 9 ? digitCounts_[digit] : 0; }
    int maxDigitCount() const { return maxDigitCount_; }
    // Entry c (0..maxDigitCount) names the digits drawn exactly c times,
    // e.g. "3,7"; empty text when none. Out of range: empty text.
    const std::string& digitsByCount(int count) const;
    int digitsByCountSize() const { return digitsByCount_.empty() ? 0 : maxDigitCount_ + 1; }
    int distinctCountRows() const { return distinctCountRows_; }

private:
    friend class DrawHistoryBuilder;
    void deriveFigures();

    std::vector<StoredRow> stored_;
    std::vector<Draw> complete_;
    int latestDrawNumber_ = 0;
    std::array<int, 10> digitCounts_{};
    int maxDigitCount_ = 0;
    // Only the counts some digit has, in ascending order: at most ten
    // entries, where a table of every count up to the highest would hold
    // one text per draw.
    std::vector<std::pair<int, std::string>> digitsByCount_;
    int distinctCountRows_ = 0;
};

// A history made one record at a time, in the store's order, by the same
// rules as DrawHistory::fromRecords: a load keeps the judged rows only,
// never the records themselves.
class DrawHistoryBuilder {
public:
    // Throws std::runtime_error as fromRecords does.
    void add(const DrawRecord& record);
    void reserve(std::size_t records) { history_.stored_.reserve(records); }
    DrawHistory finish();

private:
    DrawHistory history_;
};

}  // namespace rumone
