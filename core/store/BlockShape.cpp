// A results page copied with the mouse: one block per draw, one label and
// its values a line (回別 第7073回 / 抽せん日 2026年9月17日 / 抽せん数字 6916 /
// ストレート 18口 986,400円 ...). A label's values may stand on the lines
// after it; lines without a label (headings, notes) are passed over.
#include "core/store/SourceShapes.h"
#include "core/text/TextParts.h"

namespace rumone::shapes {

namespace {

const char* const kDrawLabels[] = {"回別", "回号"};
constexpr std::string_view kDateLabel = "抽せん日";

bool isLabel(std::string_view word)
{
    return isOneOf(word, kDrawLabels) || isOneOf(word, kNumberLabels) || word == kDateLabel || prizeKindOf(word) >= 0;
}

bool isDrawWord(std::string_view word)
{
    return word.substr(0, 3) == "第" && readDrawNumber(word) >= 0;
}

std::string joined(const std::vector<std::string_view>& words)
{
    std::string out;
    for (const std::string_view w : words)
        out += (out.empty() ? "" : " ") + std::string(w);
    return printableText(out);
}

class BlockReader {
public:
    explicit BlockReader(std::string_view text) : lines_(splitLines(text)) {}

    std::vector<SourceDraw> read(const SourceProgress& progress, std::size_t total)
    {
        ProgressTicker ticker(progress, total);
        for (at_ = 0; at_ < lines_.size(); ++at_) {
            ticker.at(static_cast<std::size_t>(lines_[at_].data() - lines_.front().data()));
            const std::vector<std::string_view> words = wordsOf(lines_[at_]);
            if (!words.empty() && isLabel(words[0]))
                readLabel(words);
        }
        finishBlock();
        return std::move(draws_);
    }

private:
    int lineNo() const { return static_cast<int>(at_) + 1; }

    // The values after a label: the rest of its line, or else the words
    // of the next lines (at most `lines` of them, none with a label) until
    // they are whole: a value, or for a prize its units and amount.
    std::vector<std::string_view> valuesAfter(const std::vector<std::string_view>& words, bool prize)
    {
        std::vector<std::string_view> values(words.begin() + 1, words.end());
        const auto whole = [&] { return prize ? readPrizeWords(values).has_value() : !values.empty(); };
        const std::size_t lines = prize ? 2 : 1;
        for (std::size_t taken = 0; !whole() && taken < lines && at_ + 1 < lines_.size(); ++taken) {
            const std::vector<std::string_view> next = wordsOf(lines_[at_ + 1]);
            if (!next.empty() && isLabel(next[0]))
                break;
            ++at_;
            values.insert(values.end(), next.begin(), next.end());
        }
        return values;
    }

    void readLabel(const std::vector<std::string_view>& words)
    {
        const int labelLine = lineNo();
        const std::string label(words[0]);
        if (isOneOf(words[0], kDrawLabels)) {
            const std::vector<std::string_view> values = valuesAfter(words, false);
            if (values.empty() || !isDrawWord(values[0]))
                throw DrawSourceError(labelLine, label + "の後に「第N回」がありません（「" + joined(values) + "」）。");
            finishBlock();
            current_ = SourceDraw{};
            current_->number = static_cast<int>(readDrawNumber(values[0]));
            current_->line = labelLine;
            return;
        }
        if (!current_)
            throw DrawSourceError(labelLine, label + "の前に「回別 第N回」の行がありません。");
        if (words[0] == kDateLabel) {
            const std::vector<std::string_view> values = valuesAfter(words, false);
            const std::string text = joined(values);
            current_->details.date = readDate(text);
            if (!current_->details.date)
                throw DrawSourceError(labelLine, label + "「" + text + "」を日付として読めません。");
        } else if (isOneOf(words[0], kNumberLabels)) {
            const std::vector<std::string_view> values = valuesAfter(words, false);
            const auto digits = readSpacedNumber(values);
            if (!digits)
                throw DrawSourceError(labelLine, label + "「" + joined(values) + "」は 4 桁の数字ではありません。");
            for (int p = 0; p < 4; ++p)
                current_->digits[p] = (*digits)[p];
        } else {
            const std::vector<std::string_view> values = valuesAfter(words, true);
            const auto prize = readPrizeWords(values);
            if (!prize)
                throw DrawSourceError(labelLine,
                                      label + "「" + joined(values) +
                                          "」に口数（N口）と当せん金（N円）、または「該当なし」がありません。");
            current_->details.prizes[prizeKindOf(words[0])] = *prize;
        }
    }

    void finishBlock()
    {
        if (!current_)
            return;
        if (!current_->digits[0])
            throw DrawSourceError(
                current_->line, "第" + std::to_string(current_->number) + "回の抽せん数字（当せん番号）がありません。");
        if (const auto it = seen_.find(current_->number); it != seen_.end())
            throw DrawSourceError(current_->line, "第" + std::to_string(current_->number) + "回は " +
                                                      std::to_string(it->second) + "行目と重複しています。");
        seen_.emplace(current_->number, current_->line);
        draws_.push_back(std::move(*current_));
        current_.reset();
    }

    std::vector<std::string_view> lines_;
    std::size_t at_ = 0;
    std::optional<SourceDraw> current_;
    std::vector<SourceDraw> draws_;
    std::map<int, int> seen_;
};

}  // namespace

bool looksLikeBlocks(std::string_view text)
{
    const std::vector<std::string_view> lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::vector<std::string_view> words = wordsOf(lines[i]);
        if (words.empty() || !isOneOf(words[0], kDrawLabels))
            continue;
        if (words.size() == 2 && isDrawWord(words[1]))
            return true;
        if (words.size() == 1 && i + 1 < lines.size()) {
            const std::vector<std::string_view> next = wordsOf(lines[i + 1]);
            if (next.size() == 1 && isDrawWord(next[0]))
                return true;
        }
    }
    return false;
}

std::vector<SourceDraw> readDrawBlocks(std::string_view text, const SourceProgress& progress)
{
    return BlockReader(text).read(progress, text.size());
}

}  // namespace rumone::shapes
