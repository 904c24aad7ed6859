#include "core/history/DrawHistory.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "core/text/TextParts.h"

namespace rumone {

namespace {

enum class Reading { Missing, Whole, NotWhole, NotANumber };

struct Number {
    Reading reading = Reading::Missing;
    long long value = 0;
};

Number fromReal(double v)
{
    // The range is checked before the conversion, which is undefined for a
    // real beyond the integer's range.
    if (!std::isfinite(v) || std::floor(v) != v || std::fabs(v) > 1e15)
        return {Reading::NotWhole, 0};
    return {Reading::Whole, static_cast<long long>(v)};
}

bool plainDecimal(const std::string& t)
{
    const std::size_t start = !t.empty() && (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (t.size() == start || t.size() - start > 15)
        return false;
    for (std::size_t i = start; i < t.size(); ++i)
        if (t[i] < '0' || t[i] > '9')
            return false;
    return true;
}

// How a stored value reads as a whole number, the way the original
// provider converted field values: numbers as they are, texts parsed.
Number readNumber(const DbValue& v)
{
    switch (v.type) {
        case DbValue::Type::Null:
            return {};
        case DbValue::Type::Integer:
            return {Reading::Whole, v.integer};
        case DbValue::Type::Real:
            return fromReal(v.real);
        case DbValue::Type::Text: {
            const std::string t(trim(v.text));
            if (t.empty())
                return {};  // an empty text stands for no value
            char* end = nullptr;
            const double d = std::strtod(t.c_str(), &end);
            if (end != t.c_str() + t.size())
                return {Reading::NotANumber, 0};
            return fromReal(d);
        }
        case DbValue::Type::Blob:
            return {Reading::NotANumber, 0};
    }
    return {};
}

// A draw number read from a text counts only when it is a plain decimal
// integer; other numeric texts ("1e3", "12.0") are not whole draw numbers.
Number readDrawNumber(const DbValue& v)
{
    const Number n = readNumber(v);
    if (v.type != DbValue::Type::Text || n.reading != Reading::Whole)
        return n;
    const std::string t(trim(v.text));
    if (!plainDecimal(t))
        return {Reading::NotWhole, 0};
    return {Reading::Whole, std::stoll(t)};
}

}  // namespace

std::string printableText(std::string_view text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}

std::string valueText(const DbValue& value)
{
    switch (value.type) {
        case DbValue::Type::Null:
            return {};
        case DbValue::Type::Integer:
            return std::to_string(value.integer);
        case DbValue::Type::Real: {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.15g", value.real);
            return buf;
        }
        case DbValue::Type::Text:
        case DbValue::Type::Blob:
            break;
    }
    return value.text;
}

std::optional<int> drawNumberOf(const DbValue& value)
{
    const Number n = readDrawNumber(value);
    if (n.reading != Reading::Whole || n.value < 0 || n.value > kMaxDrawNumber)
        return std::nullopt;
    return static_cast<int>(n.value);
}

std::optional<int> digitOf(const DbValue& value)
{
    const Number d = readNumber(value);
    if (d.reading != Reading::Whole || d.value < 0 || d.value > 9)
        return std::nullopt;
    return static_cast<int>(d.value);
}

bool isNoValue(const DbValue& value)
{
    return readNumber(value).reading == Reading::Missing;
}

DrawHistory DrawHistory::fromRecords(const std::vector<DrawRecord>& records)
{
    DrawHistoryBuilder builder;
    builder.reserve(records.size());
    for (const DrawRecord& rec : records)
        builder.add(rec);
    return builder.finish();
}

void DrawHistoryBuilder::add(const DrawRecord& rec)
{
    const Number n = readDrawNumber(rec.number);
    if (n.reading == Reading::NotANumber)
        throw std::runtime_error("回数「" + printableText(rec.number.text) + "」を数値として読めません。");
    if (n.reading != Reading::Whole || n.value < 0 || n.value > kMaxDrawNumber)
        return;  // outside the model: skipped everywhere
    StoredRow row;
    row.number = static_cast<int>(n.value);
    row.complete = true;
    for (int p = 0; p < 4; ++p) {
        if (const std::optional<int> d = digitOf(rec.digits[p]))
            row.digits[p] = *d;
        else
            row.complete = false;
    }
    history_.stored_.push_back(row);
}

DrawHistory DrawHistoryBuilder::finish()
{
    history_.deriveFigures();
    return std::move(history_);
}

void DrawHistory::deriveFigures()
{
    complete_.clear();
    latestDrawNumber_ = 0;
    digitCounts_.fill(0);
    maxDigitCount_ = 0;
    digitsByCount_.clear();
    distinctCountRows_ = 0;
    if (stored_.empty())
        return;  // every figure keeps its initial value

    complete_.reserve(stored_.size());
    for (const StoredRow& row : stored_) {
        if (!row.complete)
            continue;
        Draw d;
        d.number = row.number;
        for (int p = 0; p < 4; ++p) {
            d.digits[p] = *row.digits[p];
            ++digitCounts_[d.digits[p]];
        }
        latestDrawNumber_ = row.number;
        complete_.push_back(d);
    }

    maxDigitCount_ = *std::max_element(digitCounts_.begin(), digitCounts_.end());
    for (int i = 0; i <= 9; ++i) {
        const int c = digitCounts_[i];
        const auto at = std::lower_bound(digitsByCount_.begin(), digitsByCount_.end(), c,
                                         [](const auto& entry, int count) { return entry.first < count; });
        if (at == digitsByCount_.end() || at->first != c) {
            digitsByCount_.emplace(at, c, std::to_string(i));
        } else {
            at->second += ',';
            at->second += std::to_string(i);
        }
    }
    // A heading row, then one row for each count some digit has.
    distinctCountRows_ = static_cast<int>(digitsByCount_.size()) + 1;
}

const std::string& DrawHistory::digitsByCount(int count) const
{
    static const std::string empty;
    const auto at = std::lower_bound(digitsByCount_.begin(), digitsByCount_.end(), count,
                                     [](const auto& entry, int c) { return entry.first < c; });
    return at != digitsByCount_.end() && at->first == count ? at->second : empty;
}

void DrawHistory::releaseDrawHistory() noexcept
{
    stored_.clear();
    stored_.shrink_to_fit();
    complete_.clear();
    complete_.shrink_to_fit();
}

}  // namespace rumone
