// Lines pasted from a results page or a spreadsheet without a header: each
// line that holds a draw (第7055回, 7055回, or a plain number first on the
// line) takes the first four-digit word after it as its winning number.
// Lines without a draw (headings, dates) are passed over.
#include "core/store/SourceShapes.h"
#include "core/text/TextParts.h"

namespace rumone::shapes {

namespace {

bool isDrawWord(std::string_view w)
{
    const bool marked = w.substr(0, 3) == "第" || (w.size() > 3 && w.substr(w.size() - 3) == "回");
    return marked && readDrawNumber(w) >= 0;
}

std::optional<SourceDraw> readLine(std::string_view line, int lineNo)
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
    SourceDraw draw;
    draw.line = lineNo;
    draw.number = static_cast<int>(readDrawNumber(words[at]));
    for (std::size_t k = at + 1; k < words.size(); ++k)
        if (words[k].size() == 4 && allAsciiDigits(words[k])) {
            for (int p = 0; p < 4; ++p)
                draw.digits[p] = words[k][p] - '0';
            return draw;
        }
    throw DrawSourceError(lineNo, "第" + std::to_string(draw.number) + "回の 4 桁の当せん番号がありません。");
}

}  // namespace

std::vector<SourceDraw> readDrawLines(std::string_view text, const SourceProgress& progress)
{
    ProgressTicker ticker(progress, text.size());
    std::vector<SourceDraw> draws;
    std::map<int, int> seen;
    int lineNo = 0;
    for (const std::string_view line : splitLines(text)) {
        ++lineNo;
        ticker.at(static_cast<std::size_t>(line.data() - text.data()));
        if (std::optional<SourceDraw> draw = readLine(line, lineNo)) {
            if (const auto it = seen.find(draw->number); it != seen.end())
                throw DrawSourceError(lineNo, "第" + std::to_string(draw->number) + "回は " +
                                                  std::to_string(it->second) + "行目と重複しています。");
            seen.emplace(draw->number, lineNo);
            draws.push_back(std::move(*draw));
        }
    }
    return draws;
}

}  // namespace rumone::shapes
