#include "core/store/PartlyFilled.h"

namespace rumone {

namespace {

// "第1数字", "第1数字と第4数字", "第1数字、第2数字と第4数字".
std::string namesOfFilled(const EditRow& row)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < row.digits.size(); ++i)
        if (!row.digits[i].isNull())
            names.push_back(kDrawColumnNames[i + 1]);
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += i + 1 == names.size() ? "と" : "、";
        out += names[i];
    }
    return out;
}

}  // namespace

std::optional<PartlyFilledRow> firstPartlyFilledRow(const std::vector<EditRow>& rows)
{
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const EditRow& row = rows[r];
        int filled = 0;
        int firstEmpty = 0;
        for (std::size_t i = 0; i < row.digits.size(); ++i) {
            if (!row.digits[i].isNull())
                ++filled;
            else if (firstEmpty == 0)
                firstEmpty = static_cast<int>(i) + 1;
        }
        if (filled == 0 || filled == static_cast<int>(row.digits.size()))
            continue;
        return PartlyFilledRow{
            r, firstEmpty,
            "第" + printableText(valueText(row.number)) + "回は" + namesOfFilled(row) + "だけが入っています。"};
    }
    return std::nullopt;
}

}  // namespace rumone
