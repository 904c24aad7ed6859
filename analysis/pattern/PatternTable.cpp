#include "analysis/pattern/PatternTable.h"

#include <iterator>
#include <optional>

#include "analysis/Common.h"

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
    {"A", std::nullopt},
    {"B", kLightCyan},
    {"C", kLightGreen},
    {"D", kLightYellow},
    {"E", kLightMagenta},
};

}  // namespace

void SetupPatternGrid(ResultGrid& g, int rows)
{
    LayOutGrid(g, kColumns, rows, 8, 51, ScrollBars::Vertical, 0, 1);
    g.SetRowHeight(-1, 10);
    g.SetRowHeight(1, 20);
    g.SetColumnWidth(-1, 5);
    g.SetColumnWidth(1, 6);
    g.SetColumnWidth(kLetterColumn, 7);
    g.RestrictToDataRows(true);
    CentreAllCells(g);

    g.SetTextColour({1, 2, 1, -1}, kRed);
    g.SetBackColour({1, 2, 1, -1}, kLightYellow);
    g.SetTextColour({kFirstCountColumn, 2, kFirstCountColumn, -1}, kBlue);
    g.SetBackColour({kFirstCountColumn, 2, kFirstCountColumn, -1}, kLightCyan);
    g.SetTextColour({kSecondCountColumn, 2, kSecondCountColumn, -1}, kBlue);
    g.SetBackColour({kSecondCountColumn, 2, kSecondCountColumn, -1}, kWhite);
    g.SetBorder({1, 1, kColumns, -1}, BorderSides::All, std::nullopt);
    g.SetActiveCell(0, 0);
}

void WritePatternHeader(ResultGrid& g, int row, const char* firstCaption, const char* secondCaption)
{
    g.SetBorder({2, row, 5, row}, BorderSides::None, std::nullopt);
    g.SetBorder({2, row, 5, row}, BorderSides::Outline, std::nullopt);
    g.SetTextColour({1, row, kColumns, row}, kBlue);
    g.SetBackColour({1, row, kColumns, row}, kPink);

    g.SetOverflow(true);
    g.SetAlignment(Block::Cell(3, row), HAlign::Left, VAlign::Centre);
    g.SetText(3, row, kTitle);
    g.SetRowHeight(row, 20);

    g.SetText(1, row, "回数");
    g.SetText(kFirstCountColumn, row, firstCaption);
    g.SetText(kSecondCountColumn, row, secondCaption);
    g.SetText(kLetterColumn, row, "パターン");
}

void FillPatternTable(ResultGrid& g, const DrawHistory& history, const PatternRule& rule)
{
    int row = 2;
    for (const Draw& draw : history.CompleteDraws()) {
        g.SetText(1, row, static_cast<long>(draw.number));
        int firstCount = 0;
        for (int k = 0; k < 4; ++k) {
            const int digit = draw.digits[k];
            g.SetText(k + 2, row, static_cast<long>(digit));
            rule.markDigit(g, digit, k + 2, row);
            if (rule.inFirstClass(digit))
                ++firstCount;
        }
        const int secondCount = 4 - firstCount;
        g.SetText(kFirstCountColumn, row, static_cast<long>(firstCount));
        g.SetText(kSecondCountColumn, row, static_cast<long>(secondCount));
        ShowPatternLetter(g, rule.letterBySecondCount ? secondCount : firstCount, kLetterColumn, row);
        ++row;
    }
}

void ShowPatternLetter(ResultGrid& g, int count, int column, int row)
{
    if (count < 0 || count >= static_cast<int>(std::size(kLetters)))
        return;
    const PatternLetter& letter = kLetters[count];
    if (letter.back)
        g.SetBackColour(Block::Cell(column, row), letter.back);
    g.SetText(column, row, letter.text);
}

}  // namespace rumone
