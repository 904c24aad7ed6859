#include "core/store/DrawCsv.h"

#include <iterator>
#include <map>
#include <optional>

#include "core/calendar/CivilDays.h"
#include "core/text/TextEncoding.h"
#include "core/text/TextParts.h"

namespace rumone {

namespace {

// The names a draw column and a single winning-number column go by.
const char* const kDrawColumns[] = {"回数", "回号", "回"};
const char* const kWinningColumns[] = {"当せん番号", "当選番号", "当選数字"};
const char* const kDateColumns[] = {"抽せん日", "抽選日"};

// Full-width digits, comma and space as a spreadsheet or a results page
// may give them, in their ASCII forms.
std::string narrowed(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        if (i + 2 < text.size() && b(0) == 0xEF && b(1) == 0xBC && b(2) >= 0x90 && b(2) <= 0x99) {
            out += static_cast<char>('0' + (b(2) - 0x90));  // U+FF10-FF19
            i += 2;
        } else if (i + 2 < text.size() && b(0) == 0xEF && b(1) == 0xBC && b(2) == 0x8C) {
            out += ',';  // U+FF0C
            i += 2;
        } else if (i + 2 < text.size() && b(0) == 0xE3 && b(1) == 0x80 && b(2) == 0x80) {
            out += ' ';  // U+3000
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

struct CsvRecord {
    int line = 0;  // where the record starts
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
                throw DrawCsvError(recordLine, "引用符 \" が閉じていません。");
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
            throw DrawCsvError(line_, "引用符の後に余分な文字があります。");
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

bool allAsciiDigits(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Whole number of at most `maxValue`, or -1.
long long readWhole(std::string_view s, long long maxValue)
{
    if (!allAsciiDigits(s) || s.size() > 9)
        return -1;
    const long long v = std::stoll(std::string(s));
    return v <= maxValue ? v : -1;
}

// A draw number written 7055, 第7055回 or 7055回; -1 when it is none.
long long readDrawNumber(std::string_view s)
{
    if (s.substr(0, 3) == "第")
        s.remove_prefix(3);
    if (s.size() >= 3 && s.substr(s.size() - 3) == "回")
        s.remove_suffix(3);
    return readWhole(s, kMaxDrawNumber);
}

// Where the columns stand: the draw column, and either four digit columns
// or one winning-number column (the four win when both are there).
struct Columns {
    int draw = -1;
    std::string drawName;
    std::array<int, 4> digits{-1, -1, -1, -1};
    int winning = -1;
    std::string winningName;
    int date = -1;  // read only when the dates are asked for
    std::string dateName;
};

int findColumn(const std::vector<std::string>& names, const char* const* wanted, std::size_t count, std::string& found)
{
    int at = -1;
    for (int c = 0; c < static_cast<int>(names.size()); ++c)
        for (std::size_t k = 0; k < count; ++k)
            if (names[c] == wanted[k]) {
                if (at >= 0)
                    throw DrawCsvError(1, "見出しに列「" + found + "」と「" + names[c] + "」の両方があります。");
                at = c;
                found = names[c];
            }
    return at;
}

Columns readHeader(const std::vector<std::string>& names, bool withDates)
{
    Columns columns;
    if (withDates)
        columns.date = findColumn(names, kDateColumns, std::size(kDateColumns), columns.dateName);
    columns.draw = findColumn(names, kDrawColumns, std::size(kDrawColumns), columns.drawName);
    if (columns.draw < 0)
        throw DrawCsvError(1, "見出しに列「回数」（または「回号」「回」）がありません。");
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
            throw DrawCsvError(1, std::string("見出しに列「") + kDrawColumnNames[p + 1] +
                                      "」がありません（「当せん番号」の列でも読めます）。");
    return columns;
}

// A four-digit winning number; three, two or one digits are the same
// number with its leading zeros lost by a spreadsheet.
std::optional<std::array<int, 4>> readWinningNumber(std::string_view s)
{
    if (!allAsciiDigits(s) || s.size() > 4)
        return std::nullopt;
    std::array<int, 4> digits{};
    const std::size_t pad = 4 - s.size();
    for (std::size_t p = 0; p < s.size(); ++p)
        digits[pad + p] = s[p] - '0';
    return digits;
}

EditRow readRecord(const CsvRecord& r, const Columns& columns)
{
    EditRow row;
    const std::string& numberText = r.fields[columns.draw];
    const long long number = readDrawNumber(numberText);
    if (number < 0)
        throw DrawCsvError(
            r.line, columns.drawName + "「" + printableText(numberText) + "」は 0 から 32767 の整数ではありません。");
    row.number = DbValue::fromInt(number);
    if (columns.winning >= 0) {
        const std::string& t = r.fields[columns.winning];
        const auto digits = readWinningNumber(t);
        if (!digits)
            throw DrawCsvError(r.line,
                               columns.winningName + "「" + printableText(t) + "」は 4 桁の数字ではありません。");
        for (int p = 0; p < 4; ++p)
            row.digits[p] = DbValue::fromInt((*digits)[p]);
        return row;
    }
    for (int p = 0; p < 4; ++p) {
        const std::string& t = r.fields[columns.digits[p]];
        if (t.empty())
            continue;  // not yet drawn: no value
        const long long d = readWhole(t, 9);
        if (d < 0)
            throw DrawCsvError(r.line, std::string(kDrawColumnNames[p + 1]) + "「" + printableText(t) +
                                           "」は 0 から 9 の数字ではありません。");
        row.digits[p] = DbValue::fromInt(d);
    }
    return row;
}

// The text of the bytes, decoded and narrowed.
std::string decodedText(std::string_view bytes)
{
    const DecodedText decoded = decodeUtf8OrCp932(bytes);
    if (!decoded.ok())
        throw DrawCsvError(lineOfOffset(bytes, *decoded.badOffset),
                           "文字コードが UTF-8 でも Shift-JIS (CP932) でもない文字があります。");
    return narrowed(decoded.text);
}

// The date of a row's date column; none when the column is absent or the
// field empty.
std::optional<CivilDate> readDate(const CsvRecord& r, const Columns& columns)
{
    if (columns.date < 0 || r.fields[columns.date].empty())
        return std::nullopt;
    const std::string& t = r.fields[columns.date];
    const std::optional<CivilDate> date = parseDateText(t);
    if (!date)
        throw DrawCsvError(r.line, columns.dateName + "「" + printableText(t) +
                                       "」は日付（2026-08-21 または 2026/08/21）ではありません。");
    return date;
}

DrawsWithDetails parseTable(std::string_view text, bool withDates)
{
    RecordReader reader(text, separatorOf(text));
    if (reader.atEnd())
        throw DrawCsvError(1, "見出しの行がありません。");
    const CsvRecord header = reader.next();
    if (header.blank)
        throw DrawCsvError(1, "見出しの行がありません。");
    const Columns columns = readHeader(header.fields, withDates);
    const std::size_t width = header.fields.size();

    DrawsWithDetails read;
    std::vector<EditRow>& rows = read.rows;
    std::map<long long, int> seen;  // draw number -> line
    while (!reader.atEnd()) {
        const CsvRecord r = reader.next();
        if (r.blank)
            continue;
        if (r.fields.size() != width)
            throw DrawCsvError(r.line, "項目が " + std::to_string(r.fields.size()) + " 個あります（見出しは " +
                                           std::to_string(width) + " 個）。");
        EditRow row = readRecord(r, columns);
        const long long number = row.number.integer;
        if (const auto it = seen.find(number); it != seen.end())
            throw DrawCsvError(r.line, "回数 " + std::to_string(number) + " は " + std::to_string(it->second) +
                                           "行目と重複しています。");
        seen.emplace(number, r.line);
        if (const std::optional<CivilDate> date = readDate(r, columns))
            read.details.emplace_back(static_cast<int>(number), DrawDetails{date, {}});
        rows.push_back(std::move(row));
    }
    return read;
}

// A pasted line without a header: the draw is the word 第N回 (or N回), or
// else a plain number at the start of the line; the winning number is the
// first four-digit word after it.
std::vector<std::string_view> wordsOf(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        const auto start = line.find_first_not_of(" \t,\r", i);
        if (start == std::string_view::npos)
            break;
        auto end = line.find_first_of(" \t,\r", start);
        if (end == std::string_view::npos)
            end = line.size();
        words.push_back(line.substr(start, end - start));
        i = end;
    }
    return words;
}

bool isDrawWord(std::string_view w)
{
    const bool marked = w.substr(0, 3) == "第" || (w.size() > 3 && w.substr(w.size() - 3) == "回");
    return marked && readDrawNumber(w) >= 0;
}

std::optional<EditRow> readPastedLine(std::string_view line, int lineNo)
{
    const std::vector<std::string_view> words = wordsOf(line);
    std::size_t at = 0;
    while (at < words.size() && !isDrawWord(words[at]))
        ++at;
    if (at == words.size()) {
        if (words.empty() || readWhole(words[0], kMaxDrawNumber) < 0)
            return std::nullopt;  // no draw on this line (a heading, a date line)
        at = 0;
    }
    EditRow row;
    row.number = DbValue::fromInt(readDrawNumber(words[at]));
    for (std::size_t k = at + 1; k < words.size(); ++k)
        if (words[k].size() == 4 && allAsciiDigits(words[k])) {
            for (int p = 0; p < 4; ++p)
                row.digits[p] = DbValue::fromInt(words[k][p] - '0');
            return row;
        }
    throw DrawCsvError(lineNo, "第" + std::to_string(row.number.integer) + "回の 4 桁の当せん番号がありません。");
}

bool looksLikeHeader(std::string_view text)
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

std::string quoteIfNeeded(const std::string& s)
{
    if (s.find_first_of(",\"\r\n") == std::string::npos)
        return s;
    std::string q = "\"";
    for (char c : s) {
        if (c == '"')
            q += '"';
        q += c;
    }
    return q + "\"";
}

std::string field(const DbValue& v)
{
    const bool text = v.type == DbValue::Type::Text || v.type == DbValue::Type::Blob;
    return text ? quoteIfNeeded(v.text) : valueText(v);
}

}  // namespace

DrawCsvError::DrawCsvError(int line, const std::string& reason)
    : std::runtime_error(std::to_string(line) + "行目: " + reason), line_(line), reason_(reason)
{
}

std::vector<EditRow> parseDrawCsv(std::string_view bytes)
{
    return parseTable(decodedText(bytes), false).rows;
}

DrawsWithDetails parseDrawCsvWithDetails(std::string_view bytes)
{
    return parseTable(decodedText(bytes), true);
}

std::vector<EditRow> parsePastedDraws(std::string_view bytes)
{
    const std::string text = decodedText(bytes);
    const std::size_t firstLine = text.find_first_not_of(" \t\r\n");
    if (firstLine == std::string::npos)
        return {};
    if (looksLikeHeader(std::string_view(text).substr(text.rfind('\n', firstLine) + 1)))
        return parseTable(std::string_view(text).substr(text.rfind('\n', firstLine) + 1), false).rows;
    std::vector<EditRow> rows;
    std::map<long long, int> seen;
    int lineNo = 0;
    for (const std::string_view line : splitLines(text)) {
        ++lineNo;
        if (std::optional<EditRow> row = readPastedLine(line, lineNo)) {
            const long long number = row->number.integer;
            if (const auto it = seen.find(number); it != seen.end())
                throw DrawCsvError(lineNo, "第" + std::to_string(number) + "回は " + std::to_string(it->second) +
                                               "行目と重複しています。");
            seen.emplace(number, lineNo);
            rows.push_back(std::move(*row));
        }
    }
    return rows;
}

std::string writeDrawCsv(const std::vector<EditRow>& rows)
{
    std::string out = std::string(kDrawCsvHeader) + "\n";
    for (const EditRow& r : rows) {
        out += field(r.number);
        for (const DbValue& d : r.digits) {
            out += ',';
            out += field(d);
        }
        out += "\n";
    }
    return out;
}

std::string writeDrawCsvWithDetails(const std::vector<EditRow>& rows, const StoredDetails& details,
                                    DetailColumns columns)
{
    std::string out = kDrawCsvHeader;
    if (columns.dates)
        out.insert(out.find(',') + 1, std::string(kDrawDateColumn) + ",");
    if (columns.prizes)
        for (const char* kind : kPrizeKindNames)
            out += std::string(",") + kind + "口数," + kind + "当せん金";
    out += "\n";
    for (const EditRow& r : rows) {
        const std::optional<int> number = drawNumberOf(r.number);
        const auto it = number ? details.find(*number) : details.end();
        const DrawDetails* d = it == details.end() ? nullptr : &it->second;
        out += field(r.number);
        if (columns.dates)
            out += "," + (d && d->date ? isoDateText(*d->date) : std::string());
        for (const DbValue& digit : r.digits)
            out += "," + field(digit);
        if (columns.prizes)
            for (int k = 0; k < kPrizeKindCount; ++k) {
                const auto& p = d ? d->prizes[k] : std::nullopt;
                if (!p)
                    out += ",,";
                else if (p->notApplicable)
                    out += ",0,該当なし";
                else
                    out += "," + std::to_string(p->units) + "," + std::to_string(p->yenPerUnit);
            }
        out += "\n";
    }
    return out;
}

std::string drawCsvFile(const std::vector<EditRow>& rows, CsvEncoding encoding)
{
    return encodedCsvFile(writeDrawCsv(rows), encoding);
}

std::string encodedCsvFile(const std::string& text, CsvEncoding encoding)
{
    if (encoding == CsvEncoding::Utf8WithBom)
        return std::string(kUtf8Bom) + text;
    const Conversion c = utf8ToCp932(text);
    if (!c.ok())
        throw DrawCsvError(lineOfOffset(text, *c.badOffset), "Shift-JIS (CP932) で表せない文字があります。");
    return c.text;
}

}  // namespace rumone
