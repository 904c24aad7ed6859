// Lines pasted from a results page or a spreadsheet without a header: each
// line that holds a draw (第7055回, 7055回, or a plain number first on the
// line) holds its winning number after it. Lines without a draw (headings,
// dates) are passed over. The winning number is the word after a label
// (当せん番号, 抽せん数字) where there is one; otherwise the one word after
// the draw that could be a winning number, and a line with more than one
// such word (a year, a date's parts, a count, a number that lost its zeros)
// is refused, never guessed.
#include "core/store/SourceShapes.h"
#include "core/text/TextParts.h"

namespace rumone::shapes {

namespace {

constexpr std::string_view kDateLabel = "抽せん日";

bool isDrawWord(std::string_view w)
{
    const bool marked = w.substr(0, 3) == "第" || (w.size() > 3 && w.substr(w.size() - 3) == "回");
    return marked && readDrawNumber(w) >= 0;
}

// A word that could be a winning number: one to four digits (fewer than
// four when its leading zeros were lost).
bool couldBeTheNumber(std::string_view w)
{
    return w.size() <= 4 && allAsciiDigits(w);
}

std::string quotedWords(const std::vector<std::string_view>& words)
{
    std::string out;
    for (const std::string_view w : words)
        out += "「" + std::string(w) + "」";
    return out;
}

using Words = std::vector<std::string_view>;

// The words after `from` up to the next word that is no digit run.
Words digitRunAfter(const Words& words, std::size_t from)
{
    Words run;
    for (std::size_t k = from; k < words.size() && allAsciiDigits(words[k]) && run.size() < 4; ++k)
        run.push_back(words[k]);
    return run;
}

// The first date that starts at a word from `from` on (the rest of the
// line read from there; a date reads only a few words, so the line is
// read once over).
std::optional<CivilDate> dateAfter(std::string_view line, const Words& words, std::size_t from)
{
    for (std::size_t k = from; k < words.size(); ++k)
        if (words[k] != kDateLabel)
            if (auto date = readDate(line.substr(static_cast<std::size_t>(words[k].data() - line.data()))))
                return date;
    return std::nullopt;
}

std::array<int, 4> numberOf(const Words& words, std::size_t drawAt, const SourceDraw& draw)
{
    const std::string drawText = "第" + std::to_string(draw.number) + "回";
    for (std::size_t k = drawAt + 1; k < words.size(); ++k)
        if (isOneOf(words[k], kNumberLabels)) {
            const Words run = digitRunAfter(words, k + 1);
            if (const auto digits = readSpacedNumber(run))
                return *digits;
            throw DrawSourceError(draw.line, drawText + "の" + std::string(words[k]) + quotedWords(run) +
                                                 "は 4 桁の数字ではありません。");
        }
    Words candidates;
    for (std::size_t k = drawAt + 1; k < words.size(); ++k)
        if (couldBeTheNumber(words[k]))
            candidates.push_back(words[k]);
    if (candidates.size() == 1 && candidates[0].size() == 4)
        return *readWinningNumber(candidates[0]);
    if (const auto spaced = readSpacedNumber(candidates))
        return *spaced;
    if (candidates.empty() || (candidates.size() == 1 && candidates[0].size() < 4))
        throw DrawSourceError(draw.line, drawText + "の 4 桁の当せん番号がありません。");
    throw DrawSourceError(draw.line,
                          drawText + "の当せん番号がどれか決められません（" + quotedWords(candidates) +
                              "のどれも当せん番号になりえます）。「当せん番号」の見出しか札を付けてください。");
}

std::optional<SourceDraw> readLine(std::string_view line, int lineNo)
{
    const Words words = wordsOf(line);
    std::size_t at = 0;
    while (at < words.size() && !isDrawWord(words[at]))
        ++at;
    if (at == words.size()) {
        if (words.empty() || readWhole(words[0], kMaxDrawNumber) < 0)
            return std::nullopt;  // no draw on this line (a heading, a date line)
        if (words.size() == 1)
            throw DrawSourceError(
                lineNo, "「" + std::string(words[0]) +
                            "」だけの行です。回か当せん番号か決められません（「第N回 NNNN」の形で読めます）。");
        at = 0;
    }
    SourceDraw draw;
    draw.line = lineNo;
    draw.number = static_cast<int>(readDrawNumber(words[at]));
    const std::array<int, 4> digits = numberOf(words, at, draw);
    for (int p = 0; p < 4; ++p)
        draw.digits[p] = digits[p];
    draw.details.date = dateAfter(line, words, at + 1);
    return draw;
}

}  // namespace

bool looksLikeMarkedLines(std::string_view text)
{
    for (const std::string_view line : splitLines(text))
        for (const std::string_view w : wordsOf(line))
            if (isDrawWord(w))
                return true;
    return false;
}

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
