// What an analysis view is: its window, its legend and how it fills its
// grid. The analysis code decides everything the view shows; the window
// code (gui/analysis/AnalysisWindow) only draws what is declared here.
//
// Adding a view: one source pair under core/analysis/<group>/ whose
// AnalysisViewSpec says everything about it (its menu command and submenu,
// its help keyword, its figures beside chance), and its name in the list of
// core/analysis/AnalysisRegistry.cpp.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/chance/ChanceFigures.h"
#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"

namespace rumone {

// A fixed picture or label placed at design time, in twips from the
// window's top-left corner.
struct LegendItem {
    enum class Kind {
        Ball,    // a shaded ball of `ballPixels` pixels on white: body and highlight colours
        Swatch,  // a plain rectangle in `body`
        Label,   // `text` in the window's font
    };
    Kind kind = Kind::Label;
    std::string objectName;  // "Picture1", "Label2" ...
    int left = 0, top = 0, width = 0, height = 0;
    Rgb body{}, highlight{};
    int ballPixels = 13;
    std::string text;
};

// Legend items, positions and sizes in twips.
LegendItem legendBall(std::string objectName, int left, int top, int width, int height, Rgb body, Rgb highlight,
                      int ballPixels);
LegendItem legendSwatch(std::string objectName, int left, int top, int width, int height, Rgb colour);
LegendItem legendLabel(std::string objectName, int left, int top, int width, int height, std::string text);

// The blue ball that stands for a drawn digit in every legend.
inline constexpr Rgb kBallBlueBody = rgb(51, 51, 204);
inline constexpr Rgb kBallBlueHighlight = rgb(153, 153, 255);

// A submenu of the data-analysis menu; an empty objectName stands for the
// menu itself.
struct AnalysisSubmenu {
    std::string objectName;  // e.g. mnuHindo
    std::string caption;     // e.g. 頻度分析
};

inline const AnalysisSubmenu kTopLevelMenu{};
inline const AnalysisSubmenu kFrequencySubmenu{"mnuHindo", "頻度分析"};
inline const AnalysisSubmenu kIntervalSubmenu{"mnuKankaku", "間隔分析"};
inline const AnalysisSubmenu kPatternSubmenu{"mnuPattern", "組合せパターン分析"};
inline const AnalysisSubmenu kDivisionSubmenu{"mnuBunkatsuData", "分割データ分析"};

struct AnalysisViewSpec {
    std::string objectName;   // window name, e.g. 出現頻度分析
    std::string caption;      // window caption
    std::string menuAction;   // the main window's command, e.g. mnuSyutugenHindo
    std::string menuCaption;  // the command's caption
    AnalysisSubmenu submenu;  // where the command stands
    std::string helpKeyword;  // the help index's keyword of the view's page (F1)
    std::string label1;       // description text
    int widthTwips = 0;
    int heightTwips = 0;
    bool hasPrintButton = false;  // Command2 "印刷": prints the table
    // The load step lets pending window messages run after the table is
    // built rather than before it.
    bool letMessagesRunAfterBuild = false;
    std::vector<LegendItem> legend;
    // Lays out and fills the grid from the history, in the view's own order
    // of operations.
    void (*build)(ResultGrid& grid, const DrawHistory& history) = nullptr;
    // The view's figures beside chance, from the complete draws to count
    // (oldest first); nullptr for a view without them.
    ChanceFigures (*chance)(std::span<const Draw> draws) = nullptr;
};

// Every analysis view, in the order of the data-analysis menu.
const std::vector<AnalysisViewSpec>& analysisViews();
// The view with that window name, or nullptr.
const AnalysisViewSpec* findAnalysisView(std::string_view objectName);

}  // namespace rumone
