// The per-draw results file the lottery's bank offers (CSV in CP932): a
// line "第7073回<game>,…,令和8年9月17日,…", the 抽せん数字 line of each game
// in the file, and the prize lines after each. The four-digit game is the
// one whose 抽せん数字 has four digits; its prize lines follow it up to the
// next game's 抽せん数字 line.
#include "core/store/SourceShapes.h"
#include "core/text/TextParts.h"

namespace rumone::shapes {

namespace {

constexpr std::string_view kDrawnLabel = "抽せん数字";

std::vector<std::string_view> fieldsOf(std::string_view line)
{
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t comma = line.find(',');
        fields.push_back(trim(line.substr(0, comma), " \t"));
        if (comma == std::string_view::npos)
            return fields;
        line.remove_prefix(comma + 1);
    }
}

bool isDrawnLine(const std::vector<std::string_view>& fields)
{
    const std::string_view first = fields[0];
    return fields.size() >= 2 && first.size() >= kDrawnLabel.size() &&
           first.substr(first.size() - kDrawnLabel.size()) == kDrawnLabel;
}

// The draw number at the start of "第7073回<game>", or -1.
long long leadingDrawNumber(std::string_view field)
{
    if (field.substr(0, 3) != "第")
        return -1;
    const std::size_t end = field.find("回");
    return end == std::string_view::npos ? -1 : readDrawNumber(field.substr(0, end + 3));
}

}  // namespace

bool looksLikeBankFile(std::string_view text)
{
    // A game's name stands before its 抽せん数字.
    for (const std::string_view line : splitLines(text)) {
        const std::vector<std::string_view> fields = fieldsOf(line);
        if (isDrawnLine(fields) && fields[0].size() > kDrawnLabel.size())
            return true;
    }
    return false;
}

std::vector<SourceDraw> readBankFile(std::string_view text)
{
    const std::vector<std::string_view> lines = splitLines(text);
    SourceDraw draw;
    draw.number = -1;
    bool inFourDigitGame = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineNo = static_cast<int>(i) + 1;
        const std::vector<std::string_view> fields = fieldsOf(lines[i]);
        if (draw.number < 0 && leadingDrawNumber(fields[0]) >= 0) {
            draw.number = static_cast<int>(leadingDrawNumber(fields[0]));
            draw.line = lineNo;
            for (std::size_t f = 1; f < fields.size() && !draw.details.date; ++f)
                draw.details.date = readDate(fields[f]);
            continue;
        }
        if (isDrawnLine(fields)) {
            inFourDigitGame = fields[1].size() == 4 && allAsciiDigits(fields[1]) && !draw.digits[0];
            if (inFourDigitGame)
                for (int p = 0; p < 4; ++p)
                    draw.digits[p] = fields[1][p] - '0';
            continue;
        }
        const int kind = prizeKindOf(fields[0]);
        if (!inFourDigitGame || kind < 0)
            continue;
        const auto prize = readPrizeWords(std::vector<std::string_view>(fields.begin() + 1, fields.end()));
        if (!prize)
            throw DrawSourceError(lineNo, std::string(fields[0]) +
                                              "の行に口数（N口）と当せん金（N円）、または「該当なし」がありません。");
        draw.details.prizes[kind] = *prize;
    }
    if (draw.number < 0)
        throw DrawSourceError(1, "「第N回」で始まる行がありません。");
    if (!draw.digits[0])
        throw DrawSourceError(draw.line, "第" + std::to_string(draw.number) +
                                             "回の 4 桁の抽せん数字の行（…抽せん数字,NNNN）がありません。");
    return {draw};
}

}  // namespace rumone::shapes
