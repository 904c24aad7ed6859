#include "core/analysis/pattern/PatternTable.h"

#include <array>
#include <iterator>
#include <optional>

#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr int kColumns = 8;
constexpr int kFirstCountColumn = 6;
constexpr int kSecondCountColumn = 7;
constexpr int kLetterColumn = 8;
constexpr const char* kTitle = "    当 選 数 字      ";

struct PatternLetter {
    const char* text;
    std::optional<Rgb> back;  // nullopt: the cell keeps its background
};

// Indexed by count. "E" covers the draws whose four digits all fall in the
// counted class, so that every draw gets a letter.
constexpr PatternLetter kLetters[] = {
    {"A", std::nullopt}, {"B", kLightCyan}, {"C", kLightGreen}, {"D", kLightYellow}, {"E", kLightMagenta},
};

// The pattern letter for count 0-3 ("A" to "D") with its background; count
// 4 gets "E" on its own background. Other counts write nothing. The letters'
// texts are shared once per table.
class PatternLetters {
public:
    explicit PatternLetters(ResultGrid& g) : g_(g)
    {
        for (std::size_t i = 0; i < std::size(kLetters); ++i)
            texts_[i] = g.shareText(kLetters[i].text);
    }

    void show(int count, int column, int row)
    {
        if (count < 0 || count >= static_cast<int>(std::size(kLetters)))
            return;
        const auto i = static_cast<std::size_t>(count);
        if (kLetters[i].back)
            g_.setBackColour(Block::cell(column, row), kLetters[i].back);
        g_.setText(column, row, texts_[i]);
    }

private:
    ResultGrid& g_;
    std::array<ResultGrid::SharedText, std::size(kLetters)> texts_{};
};

}  // namespace

void setupPatternGrid(ResultGrid& g, int rows)
{
    layOutGrid(g, kColumns, rows, 8, 51, ScrollBars::Vertical, 0, 1);
    g.setRowHeight(-1, 10);
    g.setRowHeight(1, 20);
    g.setColumnWidth(-1, 5);
    g.setColumnWidth(1, 6);
    g.setColumnWidth(kLetterColumn, 7);
    g.restrictToDataRows(true);
    centreAllCells(g);

    g.setTextColour({1, 2, 1, -1}, kRed);
    g.setBackColour({1, 2, 1, -1}, kLightYellow);
    g.setTextColour({kFirstCountColumn, 2, kFirstCountColumn, -1}, kBlue);
    g.setBackColour({kFirstCountColumn, 2, kFirstCountColumn, -1}, kLightCyan);
    g.setTextColour({kSecondCountColumn, 2, kSecondCountColumn, -1}, kBlue);
    g.setBackColour({kSecondCountColumn, 2, kSecondCountColumn, -1}, kWhite);
    g.setBorder({1, 1, kColumns, -1}, BorderSides::All, std::nullopt);
    g.setActiveCell(0, 0);
}

void writePatternHeader(ResultGrid& g, int row, const char* firstCaption, const char* secondCaption)
{
    g.setBorder({2, row, 5, row}, BorderSides::None, std::nullopt);
    g.setBorder({2, row, 5, row}, BorderSides::Outline, std::nullopt);
    g.setTextColour({1, row, kColumns, row}, kBlue);
    g.setBackColour({1, row, kColumns, row}, kPink);

    g.setOverflow(true);
    g.setAlignment(Block::cell(3, row), HAlign::Left, VAlign::Centre);
    g.setText(3, row, kTitle);
    g.setRowHeight(row, 20);

    g.setText(1, row, "回数");
    g.setDrawColumn(1);
    g.setText(kFirstCountColumn, row, firstCaption);
    g.setText(kSecondCountColumn, row, secondCaption);
    g.setText(kLetterColumn, row, "パターン");
}

void fillPatternTable(ResultGrid& g, const DrawHistory& history, const PatternRule& rule)
{
    PatternLetters letters(g);
    int row = 2;
    for (const Draw& draw : history.completeDraws()) {
        g.setText(1, row, static_cast<long>(draw.number));
        int firstCount = 0;
        for (int k = 0; k < 4; ++k) {
            const int digit = draw.digits[k];
            g.setText(k + 2, row, static_cast<long>(digit));
            rule.markDigit(g, digit, k + 2, row);
            if (rule.inFirstClass(digit))
                ++firstCount;
        }
        const int secondCount = 4 - firstCount;
        g.setText(kFirstCountColumn, row, static_cast<long>(firstCount));
        g.setText(kSecondCountColumn, row, static_cast<long>(secondCount));
        letters.show(rule.letterBySecondCount ? secondCount : firstCount, kLetterColumn, row);
        ++row;
    }
}

}  // namespace rumone
