#include "core/store/DrawCsv.h"

#include "core/calendar/CivilDays.h"
#include "core/text/TextEncoding.h"

namespace rumone {

namespace {

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

std::vector<EditRow> parseDrawCsv(std::string_view bytes)
{
    return editRowsFrom(parseDrawSourceBytes(bytes));
}

DrawsWithDetails parseDrawCsvWithDetails(std::string_view bytes)
{
    const std::vector<SourceDraw> draws = parseDrawSourceBytes(bytes);
    return {editRowsFrom(draws), detailsFrom(draws)};
}

std::vector<EditRow> parsePastedDraws(std::string_view bytes)
{
    const DecodedText decoded = decodeUtf8OrCp932(bytes);
    if (!decoded.ok())
        throw DrawCsvError(lineOfOffset(bytes, *decoded.badOffset),
                           "文字コードが UTF-8 でも Shift-JIS (CP932) でもない文字があります。");
    return editRowsFrom(parseDrawSource(decoded.text, SourceKind::Pasted));
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
