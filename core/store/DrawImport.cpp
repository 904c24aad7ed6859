#include "core/store/DrawImport.h"

#include <algorithm>
#include <map>

namespace rumone {

namespace {

bool sameValue(const DbValue& a, const DbValue& b)
{
    if (a.type != b.type)
        return false;
    switch (a.type) {
        case DbValue::Type::Null:
            return true;
        case DbValue::Type::Integer:
            return a.integer == b.integer;
        case DbValue::Type::Real:
            return a.real == b.real;
        case DbValue::Type::Text:
        case DbValue::Type::Blob:
            return a.text == b.text;
    }
    return false;
}

bool sameDigits(const EditRow& a, const EditRow& b)
{
    for (int p = 0; p < 4; ++p)
        if (!sameValue(a.digits[p], b.digits[p]))
            return false;
    return true;
}

std::string digitText(const DbValue& v)
{
    if (v.isNull())
        return "-";
    return v.type == DbValue::Type::Integer ? valueText(v) : "[" + printableText(valueText(v)) + "]";
}

std::string digitsText(const EditRow& row)
{
    std::string out;
    for (const DbValue& d : row.digits)
        out += digitText(d);
    return out;
}

bool byNumber(const EditRow& a, const EditRow& b)
{
    return a.number.integer < b.number.integer;
}

}  // namespace

std::vector<EditRow> ImportPreview::rowsToWrite() const
{
    std::vector<EditRow> rows = added;
    for (const auto& change : changed)
        rows.push_back(change.second);
    std::sort(rows.begin(), rows.end(), byNumber);
    return rows;
}

ImportPreview previewImport(const std::vector<EditRow>& incoming, const std::vector<EditRow>& stored)
{
    std::map<long long, const EditRow*> byDraw;
    for (const EditRow& r : stored)
        if (r.number.type == DbValue::Type::Integer)
            byDraw.emplace(r.number.integer, &r);
    ImportPreview preview;
    for (const EditRow& row : incoming) {
        const auto it = row.number.type == DbValue::Type::Integer ? byDraw.find(row.number.integer) : byDraw.end();
        if (it == byDraw.end())
            preview.added.push_back(row);
        else if (sameDigits(*it->second, row))
            ++preview.unchanged;
        else
            preview.changed.emplace_back(*it->second, row);
    }
    std::sort(preview.added.begin(), preview.added.end(), byNumber);
    std::sort(preview.changed.begin(), preview.changed.end(),
              [](const auto& a, const auto& b) { return byNumber(a.second, b.second); });
    return preview;
}

ImportPreview previewImport(const std::vector<EditRow>& incoming, const DrawDetailsList& incomingDetails,
                            const std::vector<EditRow>& stored, const StoredDetails& storedDetails)
{
    ImportPreview preview = previewImport(incoming, stored);
    preview.details = previewDetails(incomingDetails, storedDetails);
    return preview;
}

std::string importCountsLine(const ImportPreview& preview)
{
    return "new " + std::to_string(preview.added.size()) + " changed " + std::to_string(preview.changed.size()) +
           " unchanged " + std::to_string(preview.unchanged);
}

std::string drawLineText(const EditRow& row)
{
    return "第" + std::to_string(row.number.integer) + "回 " + digitsText(row);
}

std::vector<std::string> changedLines(const ImportPreview& preview)
{
    std::vector<std::string> lines;
    for (const auto& [old, incoming] : preview.changed)
        lines.push_back(drawLineText(old) + " → " + digitsText(incoming));
    return lines;
}

}  // namespace rumone
