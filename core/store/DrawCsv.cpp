#include "core/store/DrawCsv.h"

#include <cstdio>
#include <map>

#include "core/text/TextEncoding.h"

namespace rumone {

namespace {

const char* const kColumns[5] = {"回数", "第1数字", "第2数字", "第3数字", "第4数字"};

std::string_view trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Comma-separated fields; a field in double quotes may hold commas and
// doubled quotes.
std::vector<std::string> splitFields(std::string_view line, int lineNo)
{
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (true) {
        std::string field;
        std::size_t j = i;
        while (j < line.size() && (line[j] == ' ' || line[j] == '\t'))
            ++j;
        if (j < line.size() && line[j] == '"') {
            ++j;
            while (true) {
                if (j >= line.size())
                    throw DrawCsvError(lineNo, "引用符 \" が閉じていません。");
                if (line[j] == '"') {
                    if (j + 1 < line.size() && line[j + 1] == '"') {
                        field += '"';
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                field += line[j++];
            }
            while (j < line.size() && (line[j] == ' ' || line[j] == '\t'))
                ++j;
            if (j < line.size() && line[j] != ',')
                throw DrawCsvError(lineNo, "引用符の後に余分な文字があります。");
        } else {
            const auto comma = line.find(',', i);
            j = comma == std::string_view::npos ? line.size() : comma;
            field = std::string(trim(line.substr(i, j - i)));
        }
        fields.push_back(std::move(field));
        if (j >= line.size())
            return fields;
        i = j + 1;  // past the comma
    }
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

std::array<int, 5> readHeader(std::string_view line)
{
    const std::vector<std::string> names = splitFields(line, 1);
    std::array<int, 5> index{-1, -1, -1, -1, -1};
    for (int c = 0; c < static_cast<int>(names.size()); ++c)
        for (int k = 0; k < 5; ++k)
            if (names[c] == kColumns[k]) {
                if (index[k] >= 0)
                    throw DrawCsvError(1, std::string("見出しに列「") + kColumns[k] + "」が二つあります。");
                index[k] = c;
            }
    for (int k = 0; k < 5; ++k)
        if (index[k] < 0)
            throw DrawCsvError(1, std::string("見出しに列「") + kColumns[k] + "」がありません。");
    return index;
}

std::string formatReal(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

std::string QuoteIfNeeded(const std::string& s)
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
    switch (v.type) {
        case DbValue::Type::Null:
            return {};
        case DbValue::Type::Integer:
            return std::to_string(v.integer);
        case DbValue::Type::Real:
            return formatReal(v.real);
        case DbValue::Type::Text:
        case DbValue::Type::Blob:
            return QuoteIfNeeded(v.text);
    }
    return {};
}

}  // namespace

DrawCsvError::DrawCsvError(int line, const std::string& reason)
    : std::runtime_error(std::to_string(line) + "行目: " + reason), line_(line), reason_(reason)
{
}

std::vector<EditRow> parseDrawCsv(std::string_view bytes)
{
    const DecodedText decoded = decodeUtf8OrCp932(bytes);
    if (!decoded.ok())
        throw DrawCsvError(lineOfOffset(bytes, *decoded.badOffset),
                           "文字コードが UTF-8 でも Shift-JIS (CP932) でもない文字があります。");
    const std::vector<std::string_view> lines = splitLines(decoded.text);
    if (lines.empty() || trim(lines[0]).empty())
        throw DrawCsvError(1, "見出しの行がありません。");
    const std::array<int, 5> index = readHeader(lines[0]);
    const std::size_t width = splitFields(lines[0], 1).size();

    std::vector<EditRow> rows;
    std::map<long long, int> seen;  // draw number -> line
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const int lineNo = static_cast<int>(n) + 1;
        if (trim(lines[n]).empty())
            continue;
        const std::vector<std::string> f = splitFields(lines[n], lineNo);
        if (f.size() != width)
            throw DrawCsvError(lineNo, "項目が " + std::to_string(f.size()) + " 個あります（見出しは " +
                                           std::to_string(width) + " 個）。");

        EditRow row;
        const std::string& numberText = f[index[0]];
        const long long number = readWhole(numberText, kMaxDrawNumber);
        if (number < 0)
            throw DrawCsvError(lineNo,
                               "回数「" + printableText(numberText) + "」は 0 から 32767 の整数ではありません。");
        if (const auto it = seen.find(number); it != seen.end())
            throw DrawCsvError(lineNo, "回数 " + std::to_string(number) + " は " + std::to_string(it->second) +
                                           "行目と重複しています。");
        seen.emplace(number, lineNo);
        row.number = DbValue::fromInt(number);

        for (int p = 0; p < 4; ++p) {
            const std::string& t = f[index[p + 1]];
            if (t.empty())
                continue;  // not yet drawn: no value
            const long long d = readWhole(t, 9);
            if (d < 0)
                throw DrawCsvError(lineNo, std::string(kColumns[p + 1]) + "「" + printableText(t) +
                                               "」は 0 から 9 の数字ではありません。");
            row.digits[p] = DbValue::fromInt(d);
        }
        rows.push_back(std::move(row));
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

std::string drawCsvFile(const std::vector<EditRow>& rows, CsvEncoding encoding)
{
    const std::string text = writeDrawCsv(rows);
    if (encoding == CsvEncoding::Utf8WithBom)
        return std::string(kUtf8Bom) + text;
    const Conversion c = utf8ToCp932(text);
    if (!c.ok())
        throw DrawCsvError(lineOfOffset(text, *c.badOffset), "Shift-JIS (CP932) で表せない文字があります。");
    return c.text;
}

}  // namespace rumone
