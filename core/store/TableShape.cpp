// A table with a header line: a draw column (回数, 回号, 回別 or 回: 7055,
// 第7055回 or 7055回) and either the columns 第1数字 to 第4数字 or one
// winning-number column (当せん番号, 当選番号, 当選数字 or 抽せん数字; in a
// table of both games, the game's column whose heading ends in 4), in any
// positions. A 抽せん日 column gives the date where it reads as one, and
// columns headed by a prize kind and 口数 or 当せん金 give the prizes;
// other columns are passed over. Commas, tabs or | between fields; a
// quoted field may hold commas, doubled quotes and line breaks.
#include <algorithm>
#include <iterator>

#include "core/store/SourceShapes.h"
#include "core/text/TextParts.h"

namespace rumone::shapes {

namespace {

// The names a draw column and a single winning-number column go by.
const char* const kDrawColumns[] = {"回数", "回号", "回別", "回"};
const char* const kDateColumns[] = {"抽せん日", "抽選日"};

struct CsvRecord {
    int line = 0;         // where the record starts
    std::size_t end = 0;  // the offset after it
    std::vector<std::string> fields;
    bool blank = false;  // nothing but blanks on the line
};

// Records separated by `sep`; a field in double quotes may hold the
// separator, doubled quotes and line breaks (as the writer quotes them).
class RecordReader {
public:
    RecordReader(std::string_view text, char sep) : text_(text), sep_(sep) {}
    bool atEnd() const { return at_ >= text_.size(); }

    CsvRecord next()
    {
        CsvRecord record;
        record.line = line_;
        const std::size_t begin = at_;
        while (true) {
            record.fields.push_back(field(record.line));
            if (atEnd())
                break;
            const char c = text_[at_++];
            if (c == sep_)
                continue;
            if (c == '\r' && at_ < text_.size() && text_[at_] == '\n')
                ++at_;
            ++line_;
            break;
        }
        record.blank = record.fields.size() == 1 && record.fields[0].empty() &&
                       trim(text_.substr(begin, at_ - begin), " \t\r\n").empty();
        record.end = at_;
        return record;
    }

private:
    std::string_view blanks() const { return sep_ == '\t' ? " " : " \t"; }
    bool isBlank(char c) const { return c == ' ' || (c == '\t' && sep_ != '\t'); }
    bool endsField(char c) const { return c == sep_ || c == '\n' || c == '\r'; }

    std::string field(int recordLine)
    {
        std::size_t j = at_;
        while (j < text_.size() && isBlank(text_[j]))
            ++j;
        if (j >= text_.size() || text_[j] != '"') {
            while (at_ < text_.size() && !endsField(text_[at_]))
                ++at_;
            return std::string(trim(text_.substr(j, at_ - j), blanks()));
        }
        std::string out;
        ++j;
        while (true) {
            if (j >= text_.size())
                throw DrawSourceError(recordLine, "引用符 \" が閉じていません。");
            const char c = text_[j];
            if (c == '"' && j + 1 < text_.size() && text_[j + 1] == '"') {
                out += '"';
                j += 2;
                continue;
            }
            if (c == '"') {
                ++j;
                break;
            }
            if (c == '\n')
                ++line_;
            out += c;
            ++j;
        }
        while (j < text_.size() && isBlank(text_[j]))
            ++j;
        if (j < text_.size() && !endsField(text_[j]))
            throw DrawSourceError(line_, "引用符の後に余分な文字があります。");
        at_ = j;
        return out;
    }

    std::string_view text_;
    char sep_;
    std::size_t at_ = 0;
    int line_ = 1;
};

// Tab-separated when the header holds a tab and no comma; |-separated
// when it starts with |.
char separatorOf(std::string_view text)
{
    const std::string_view header = text.substr(0, text.find('\n'));
    if (trim(header, " \t").substr(0, 1) == "|")
        return '|';
    return header.find('\t') != std::string_view::npos && header.find(',') == std::string_view::npos ? '\t' : ',';
}

// A table drawn with | (| a | b |): the outer bars taken off each line and
// the rule lines (|---|:--|) left blank, so that the lines keep their numbers.
std::string withoutOuterBars(std::string_view text)
{
    std::string out;
    for (const std::string_view raw : splitLines(text)) {
        std::string_view line = trim(raw, " \t");
        if (line.find_first_not_of("|-: \t") == std::string_view::npos)
            line = {};
        if (line.substr(0, 1) == "|")
            line.remove_prefix(1);
        if (!line.empty() && line.back() == '|')
            line.remove_suffix(1);
        out += std::string(line) + "\n";
    }
    return out;
}

// Where the columns stand: the draw column, and either four digit columns
// or one winning-number column (the four win when both are there).
struct Columns {
    int draw = -1;
    std::string drawName;
    std::array<int, 4> digits{-1, -1, -1, -1};
    int winning = -1;
    std::string winningName;
    int date = -1;
    // Per PrizeKind: the units column and the amount column.
    std::array<std::array<int, 2>, kPrizeKindCount> prizes{};
};

// The game's column in a table of both games: the one heading that ends
// in 4 and is none of the digit columns.
int fourDigitGameColumn(const std::vector<std::string>& names)
{
    int at = -1;
    for (int c = 0; c < static_cast<int>(names.size()); ++c) {
        const std::string& n = names[c];
        const bool digitColumn =
            std::find(kDrawColumnNames.begin(), kDrawColumnNames.end(), n) != kDrawColumnNames.end();
        if (!n.empty() && n.back() == '4' && !digitColumn) {
            if (at >= 0)
                return -1;
            at = c;
        }
    }
    return at;
}

// The prize columns: a heading that starts with a kind's name and says
// 口 (units) or 金 / 円 (the amount per unit).
void readPrizeColumns(const std::vector<std::string>& names, Columns& columns)
{
    for (auto& kind : columns.prizes)
        kind = {-1, -1};
    for (int c = 0; c < static_cast<int>(names.size()); ++c) {
        int kind = -1;
        std::size_t longest = 0;
        for (int k = 0; k < kPrizeKindCount; ++k) {
            const std::string_view name = kPrizeKindNames[k];
            if (names[c].substr(0, name.size()) == name && name.size() > longest) {
                kind = k;
                longest = name.size();
            }
        }
        if (kind < 0)
            continue;
        const std::string rest = names[c].substr(longest);
        if (rest.find("口") != std::string::npos)
            columns.prizes[kind][0] = c;
        else if (rest.find("金") != std::string::npos || rest.find("円") != std::string::npos)
            columns.prizes[kind][1] = c;
    }
}

int findColumn(const std::vector<std::string>& names, const char* const* wanted, std::size_t count, std::string& found,
               int line)
{
    int at = -1;
    for (int c = 0; c < static_cast<int>(names.size()); ++c)
        for (std::size_t k = 0; k < count; ++k)
            if (names[c] == wanted[k]) {
                if (at >= 0)
                    throw DrawSourceError(line, "見出しに列「" + found + "」と「" + names[c] + "」の両方があります。");
                at = c;
                found = names[c];
            }
    return at;
}

Columns readHeader(const std::vector<std::string>& names, int line)
{
    Columns columns;
    columns.draw = findColumn(names, kDrawColumns, std::size(kDrawColumns), columns.drawName, line);
    if (columns.draw < 0)
        throw DrawSourceError(line, "見出しに列「回数」（または「回号」「回」）がありません。");
    bool allDigits = true;
    for (int p = 0; p < 4; ++p) {
        std::string name;
        columns.digits[p] = findColumn(names, &kDrawColumnNames[p + 1], 1, name, line);
        allDigits = allDigits && columns.digits[p] >= 0;
    }
    std::string dateName;
    columns.date = findColumn(names, kDateColumns, std::size(kDateColumns), dateName, line);
    readPrizeColumns(names, columns);
    if (allDigits)
        return columns;
    columns.winning = findColumn(names, kNumberLabels, std::size(kNumberLabels), columns.winningName, line);
    if (columns.winning < 0 && (columns.winning = fourDigitGameColumn(names)) >= 0)
        columns.winningName = names[columns.winning];
    if (columns.winning >= 0)
        return columns;
    for (int p = 0; p < 4; ++p)
        if (columns.digits[p] < 0)
            throw DrawSourceError(line, std::string("見出しに列「") + kDrawColumnNames[p + 1] +
                                            "」がありません（「当せん番号」の列でも読めます）。");
    return columns;
}

// A units or amount cell: 18, 18口, 986400, 986,400円; nullopt for one
// that is none of these.
std::optional<long long> readPrizeCell(const std::string& cell, const char* unit)
{
    if (const auto n = readCount(cell, unit))
        return n;
    if (const auto n = readCount(cell + unit, unit))
        return n;
    return std::nullopt;
}

// The date where the cell reads as one (other texts in a date column are
// passed over, as they always were), and the prize lines given whole.
void readDetails(const CsvRecord& r, const Columns& columns, DrawDetails& details)
{
    if (columns.date >= 0)
        details.date = readDate(r.fields[columns.date]);
    for (int k = 0; k < kPrizeKindCount; ++k) {
        const auto [unitsAt, amountAt] = columns.prizes[k];
        if (unitsAt < 0 || amountAt < 0 || (r.fields[unitsAt].empty() && r.fields[amountAt].empty()))
            continue;
        if (r.fields[amountAt] == "該当なし" || r.fields[unitsAt] == "該当なし") {
            details.prizes[k] = PrizeLine{0, 0, true};
            continue;
        }
        const auto units = readPrizeCell(r.fields[unitsAt], "口");
        const auto amount = readPrizeCell(r.fields[amountAt], "円");
        if (!units || !amount)
            throw DrawSourceError(r.line, std::string(kPrizeKindNames[k]) + "の口数「" +
                                              printableText(r.fields[unitsAt]) + "」と当せん金「" +
                                              printableText(r.fields[amountAt]) + "」を読めません。");
        details.prizes[k] = PrizeLine{*units, *amount, false};
    }
}

SourceDraw readRecord(const CsvRecord& r, const Columns& columns)
{
    SourceDraw draw;
    readDetails(r, columns, draw.details);
    draw.line = r.line;
    const std::string& numberText = r.fields[columns.draw];
    const long long number = readDrawNumber(numberText);
    if (number < 0)
        throw DrawSourceError(
            r.line, columns.drawName + "「" + printableText(numberText) + "」は 0 から 32767 の整数ではありません。");
    draw.number = static_cast<int>(number);
    if (columns.winning >= 0) {
        const std::string& t = r.fields[columns.winning];
        const auto digits = readWinningNumber(t);
        if (!digits)
            throw DrawSourceError(r.line,
                                  columns.winningName + "「" + printableText(t) + "」は 4 桁の数字ではありません。");
        for (int p = 0; p < 4; ++p)
            draw.digits[p] = (*digits)[p];
        return draw;
    }
    for (int p = 0; p < 4; ++p) {
        const std::string& t = r.fields[columns.digits[p]];
        if (t.empty())
            continue;  // not yet drawn: no value
        const long long d = readWhole(t, 9);
        if (d < 0)
            throw DrawSourceError(r.line, std::string(kDrawColumnNames[p + 1]) + "「" + printableText(t) +
                                              "」は 0 から 9 の数字ではありません。");
        draw.digits[p] = static_cast<int>(d);
    }
    return draw;
}

}  // namespace

bool looksLikeTableHeader(std::string_view text)
{
    const std::string_view first = trim(text.substr(0, text.find('\n')), " \t\r");
    RecordReader reader(first, separatorOf(first));
    const CsvRecord header = reader.next();
    return std::any_of(header.fields.begin(), header.fields.end(),
                       [](const std::string& name) { return isOneOf(name, kDrawColumns); });
}

std::vector<SourceDraw> readDrawTable(std::string_view text, const SourceProgress& progress)
{
    const char separator = separatorOf(text);
    const std::string unbarred = separator == '|' ? withoutOuterBars(text) : std::string();
    if (separator == '|')
        text = unbarred;
    RecordReader reader(text, separator);
    CsvRecord header;
    while (!reader.atEnd() && (header = reader.next()).blank) {
    }
    if (header.fields.empty() || header.blank)
        throw DrawSourceError(1, "見出しの行がありません。");
    const Columns columns = readHeader(header.fields, header.line);
    const std::size_t width = header.fields.size();

    ProgressTicker ticker(progress, text.size());
    std::vector<SourceDraw> draws;
    std::map<int, int> seen;  // draw number -> line
    while (!reader.atEnd()) {
        const CsvRecord r = reader.next();
        ticker.at(r.end);
        if (r.blank)
            continue;
        if (r.fields.size() != width)
            throw DrawSourceError(r.line, "項目が " + std::to_string(r.fields.size()) + " 個あります（見出しは " +
                                              std::to_string(width) + " 個）。");
        SourceDraw draw = readRecord(r, columns);
        if (const auto it = seen.find(draw.number); it != seen.end())
            throw DrawSourceError(r.line, "回数 " + std::to_string(draw.number) + " は " + std::to_string(it->second) +
                                              "行目と重複しています。");
        seen.emplace(draw.number, r.line);
        draws.push_back(std::move(draw));
    }
    return draws;
}

}  // namespace rumone::shapes
