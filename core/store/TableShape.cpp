// A table with a header line: a draw column (回数, 回号 or 回: 7055,
// 第7055回 or 7055回) and either the columns 第1数字 to 第4数字 or one
// winning-number column (当せん番号, 当選番号 or 当選数字), in any positions;
// other columns are passed over. Commas or tabs between fields; a quoted
// field may hold commas, doubled quotes and line breaks.
#include <iterator>

#include "core/store/SourceShapes.h"
#include "core/text/TextParts.h"

namespace rumone::shapes {

namespace {

// The names a draw column and a single winning-number column go by.
const char* const kDrawColumns[] = {"回数", "回号", "回"};
const char* const kWinningColumns[] = {"当せん番号", "当選番号", "当選数字"};

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

// Tab-separated when the header holds a tab and no comma.
char separatorOf(std::string_view text)
{
    const std::string_view header = text.substr(0, text.find('\n'));
    return header.find('\t') != std::string_view::npos && header.find(',') == std::string_view::npos ? '\t' : ',';
}

// Where the columns stand: the draw column, and either four digit columns
// or one winning-number column (the four win when both are there).
struct Columns {
    int draw = -1;
    std::string drawName;
    std::array<int, 4> digits{-1, -1, -1, -1};
    int winning = -1;
    std::string winningName;
};

int findColumn(const std::vector<std::string>& names, const char* const* wanted, std::size_t count, std::string& found)
{
    int at = -1;
    for (int c = 0; c < static_cast<int>(names.size()); ++c)
        for (std::size_t k = 0; k < count; ++k)
            if (names[c] == wanted[k]) {
                if (at >= 0)
                    throw DrawSourceError(1, "見出しに列「" + found + "」と「" + names[c] + "」の両方があります。");
                at = c;
                found = names[c];
            }
    return at;
}

Columns readHeader(const std::vector<std::string>& names)
{
    Columns columns;
    columns.draw = findColumn(names, kDrawColumns, std::size(kDrawColumns), columns.drawName);
    if (columns.draw < 0)
        throw DrawSourceError(1, "見出しに列「回数」（または「回号」「回」）がありません。");
    bool allDigits = true;
    for (int p = 0; p < 4; ++p) {
        std::string name;
        columns.digits[p] = findColumn(names, &kDrawColumnNames[p + 1], 1, name);
        allDigits = allDigits && columns.digits[p] >= 0;
    }
    if (allDigits)
        return columns;
    columns.winning = findColumn(names, kWinningColumns, std::size(kWinningColumns), columns.winningName);
    if (columns.winning >= 0)
        return columns;
    for (int p = 0; p < 4; ++p)
        if (columns.digits[p] < 0)
            throw DrawSourceError(1, std::string("見出しに列「") + kDrawColumnNames[p + 1] +
                                         "」がありません（「当せん番号」の列でも読めます）。");
    return columns;
}

SourceDraw readRecord(const CsvRecord& r, const Columns& columns)
{
    SourceDraw draw;
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
    for (const std::string& name : header.fields)
        for (const char* wanted : kDrawColumns)
            if (name == wanted)
                return true;
    return false;
}

std::vector<SourceDraw> readDrawTable(std::string_view text, const SourceProgress& progress)
{
    RecordReader reader(text, separatorOf(text));
    if (reader.atEnd())
        throw DrawSourceError(1, "見出しの行がありません。");
    const CsvRecord header = reader.next();
    if (header.blank)
        throw DrawSourceError(1, "見出しの行がありません。");
    const Columns columns = readHeader(header.fields);
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
