#include "core/analysis/group/GroupDivision.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "core/analysis/chance/ChanceLaws.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

// ---- the member table

// One group of a division: a run of neighbouring digit values, the label
// written over its columns in row 2 (blanks place it) and its band colour.
struct DigitGroup {
    int firstDigit;
    int lastDigit;
    std::string_view label;
    OptColour band;  // nullopt: the grid's default background
};

struct GroupMember {
    std::string_view objectName;
    std::string_view caption;
    std::string_view menuAction;
    std::string_view menuCaption;  // also the help keyword of the view's page
    std::string_view label1;
    std::array<DigitGroup, 10> groups;
    int groupCount;
    int blueLabelBlocks;  // row-3 digit labels in blue: leading blocks
    ChanceFigures (*chance)(std::span<const Draw> draws);
};

constexpr std::array<GroupMember, 3> kGroupMembers = {{
    {"分割3データ分析",
     "3分割データ分析",
     "mnu3BunkatsuData",
     "3分割データ分析",
     "過去の当選番号の第１～４数字をＡ～Ｃの３グループに分類して分析します",
     {{{0, 2, "　　 Ａ ", kLightCyan}, {3, 5, "　　 Ｂ ", std::nullopt}, {6, 9, "　　　 Ｃ 　　", kLightGreen}}},
     3,
     1,
     groupDivision3Chance},
    {"分割5データ分析",
     "5分割データ分析",
     "mnu6BunkatsuData",
     "5分割データ分析",
     "過去の当選番号の第１～４数字をＡ～Ｅの５グループに分類して分析します",
     {{{0, 1, "　Ａ ", kLightCyan},
       {2, 3, "　Ｂ ", std::nullopt},
       {4, 5, "　Ｃ ", kLightGreen},
       {6, 7, "　Ｄ ", std::nullopt},
       {8, 9, "　Ｅ ", kLightMagenta}}},
     5,
     1,
     groupDivision5Chance},
    {"分割10データ分析",
     "10分割データ分析",
     "mnu11BunkatsuData",
     "10分割データ分析",
     "過去の当選番号の第１～４数字をＡ～Ｊの１０グループに分類して分析します",
     {{{0, 0, "Ａ", kLightCyan},
       {1, 1, "Ｂ", kLightGreen},
       {2, 2, "Ｃ", kLightMagenta},
       {3, 3, "Ｄ", kLavender},
       {4, 4, "Ｅ", std::nullopt},
       {5, 5, "Ｆ", kLightCyan},
       {6, 6, "Ｇ", kLightGreen},
       {7, 7, "Ｈ", kLightMagenta},
       {8, 8, "Ｉ", kLavender},
       {9, 9, "Ｊ", std::nullopt}}},
     10,
     4,
     groupDivision10Chance},
}};

// ---- the table's geometry

constexpr int kColumns = 42;
constexpr int kHeaderRows = 3;
constexpr int kFirstDrawRow = 4;
constexpr int kRightNumberColumn = 42;
constexpr int kBlocks = 4;  // one per digit position

constexpr std::array<std::string_view, kBlocks> kBlockTitles = {
    "　　　　当選数字(第1数字)　　　　",
    "　　　　当選数字(第2数字)　　　　",
    "　　　　当選数字(第3数字)　　　　",
    "　　　　当選数字(第4数字)　　　　",
};

// Position p (1-4) owns columns 10(p - 1) + 2 to 10(p - 1) + 11.
constexpr int blockFirstColumn(int position)
{
    return 10 * (position - 1) + 2;
}
constexpr int blockLastColumn(int position)
{
    return blockFirstColumn(position) + 9;
}
constexpr int digitColumn(int position, int digit)
{
    return blockFirstColumn(position) + digit;
}

// ---- the operations, in the order the build runs them

void setupGroupGrid(ResultGrid& g, const GroupMember& member, int drawRows)
{
    layOutGrid(g, kColumns, drawRows + kHeaderRows, kColumns, 53, ScrollBars::Both, 0, kHeaderRows);
    g.restrictToDataRows(true);
    centreAllCells(g);

    g.setRowHeight(-1, 9);
    g.setRowHeight(1, 15);
    g.setRowHeight(2, 12);
    g.setColumnWidth(-1, 2);
    g.setColumnWidth(1, 6);
    g.setColumnWidth(kRightNumberColumn, 6);

    g.setBorder({1, 3, kColumns, -1}, BorderSides::All, kLineBlue);
    for (int p = 1; p <= kBlocks; ++p)
        g.setBorder({blockFirstColumn(p), 1, blockLastColumn(p), 1}, BorderSides::Outline, kLineBlue);

    g.setOverflow(true);
    for (int p = 1; p <= kBlocks; ++p)
        g.setText(blockFirstColumn(p), 1, kBlockTitles[p - 1]);

    const Block titleBand{blockFirstColumn(1), 1, blockLastColumn(kBlocks), 1};
    g.setAlignment(titleBand, HAlign::Left, VAlign::Centre);
    g.setBackColour(titleBand, kPink);

    for (int column : {1, kRightNumberColumn}) {
        g.setTextColour({column, 1, column, -1}, kRed);
        g.setBackColour({column, 1, column, -1}, kLightYellow);
    }

    // A band is coloured column by column: a block one column wide keeps
    // every cell of a long table on the grid's fast path.
    for (int p = 1; p <= kBlocks; ++p)
        for (int i = 0; i < member.groupCount; ++i) {
            const DigitGroup& group = member.groups[i];
            if (!group.band)
                continue;
            for (int d = group.firstDigit; d <= group.lastDigit; ++d)
                g.setBackColour({digitColumn(p, d), 2, digitColumn(p, d), -1}, group.band);
        }

    g.setActiveCell(0, 0);
}

void writeGroupHeader(ResultGrid& g, const GroupMember& member)
{
    for (int p = 1; p <= kBlocks; ++p)
        for (int i = 0; i < member.groupCount; ++i) {
            const DigitGroup& group = member.groups[i];
            const Block cells{digitColumn(p, group.firstDigit), 2, digitColumn(p, group.lastDigit), 2};
            g.setBorder(cells, BorderSides::None, std::nullopt);
            g.setBorder(cells, BorderSides::Outline, kLineBlue);
        }

    for (int p = 1; p <= kBlocks; ++p)
        for (int i = 0; i < member.groupCount; ++i) {
            const DigitGroup& group = member.groups[i];
            const int column = digitColumn(p, group.firstDigit);
            g.setText(column, 2, group.label);
            g.setAlignment(Block::cell(column, 2), HAlign::Left, VAlign::Centre);
        }

    g.setText(1, 3, "回数");
    g.setDrawColumn(1);
    g.setText(kRightNumberColumn, 3, "回数");
    for (int p = 1; p <= kBlocks; ++p)
        for (int d = 0; d <= 9; ++d)
            g.setText(digitColumn(p, d), 3, static_cast<long>(d));

    g.setTextColour({blockFirstColumn(1), 3, blockLastColumn(member.blueLabelBlocks), 3}, kBlue);
}

// One row per complete draw from row 4 on: the draw number at both ends
// and a mark in the column of each digit.
void fillGroupTable(ResultGrid& g, const DrawHistory& history)
{
    const ResultGrid::SharedText mark = g.shareText(kMark);
    const OptColour markColour = kMarkBlue;
    int row = kFirstDrawRow;
    for (const Draw& draw : history.completeDraws()) {
        g.setText(1, row, static_cast<long>(draw.number));
        g.setText(kRightNumberColumn, row, static_cast<long>(draw.number));
        for (int p = 1; p <= kBlocks; ++p)
            g.setText(digitColumn(p, draw.digits[p - 1]), row, mark);
        for (int p = 1; p <= kBlocks; ++p)
            g.setTextColour(Block::cell(digitColumn(p, draw.digits[p - 1]), row), markColour);
        ++row;
    }
}

// The table has one row per complete draw below the header, so a history
// that does not start at draw 1 or has gaps leaves no empty rows and loses
// no draw.
void buildGroupDivision(ResultGrid& g, const DrawHistory& history, const GroupMember& member)
{
    const int drawRows = static_cast<int>(history.completeDraws().size());
    setupGroupGrid(g, member, drawRows);
    writeGroupHeader(g, member);
    fillGroupTable(g, history);
}

template <std::size_t Member>
void buildMember(ResultGrid& g, const DrawHistory& history)
{
    buildGroupDivision(g, history, kGroupMembers[Member]);
}

// The legend of the marks, at the right end of the top band.
std::vector<LegendItem> markLegend()
{
    return {legendBall("Picture1", 10680, 120, 285, 285, kBallBlueBody, kBallBlueHighlight, 19),
            legendLabel("Label2", 11010, 120, 1080, 255, "：当選数字")};
}

template <std::size_t Member>
AnalysisViewSpec memberView()
{
    const GroupMember& m = kGroupMembers[Member];
    return {
        .objectName = std::string(m.objectName),
        .caption = std::string(m.caption),
        .menuAction = std::string(m.menuAction),
        .menuCaption = std::string(m.menuCaption),
        .submenu = kDivisionSubmenu,
        .helpKeyword = std::string(m.menuCaption),
        .label1 = std::string(m.label1),
        .widthTwips = 12300,
        .heightTwips = 12400,
        .hasPrintButton = false,
        .letMessagesRunAfterBuild = false,
        .legend = markLegend(),
        .build = &buildMember<Member>,
        .chance = m.chance,
    };
}

}  // namespace

AnalysisViewSpec groupDivision3View()
{
    return memberView<0>();
}
AnalysisViewSpec groupDivision5View()
{
    return memberView<1>();
}
AnalysisViewSpec groupDivision10View()
{
    return memberView<2>();
}

}  // namespace rumone
