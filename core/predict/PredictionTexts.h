// Fixed texts and sizes of the prediction view 一発ルモーネ: window, frames,
// labels, buttons and the cells of its four prediction grids.
#pragma once

#include <array>

namespace rumone {

inline constexpr const char* kPredictionObjectName = "一発ルモーネ";
inline constexpr const char* kPredictionCaption = "一発ルモーネ予想";
inline constexpr int kPredictionWidthTwips = 9360;
inline constexpr int kPredictionHeightTwips = 8844;

// Left frame: the ten reflect switches.
inline constexpr const char* kOptionsFrameCaption = "データ分析オプション";  // Frame3
inline constexpr const char* kOptionsFrameLabel =                            // Label15
    "各データ分析の分析結果を当選予想へ反映するかを設定します。";
inline constexpr const char* kReflectCaption = "反映する";         // Opt反映する(i)
inline constexpr const char* kDoNotReflectCaption = "反映しない";  // Opt反映しない(i)
// The tooltip of every switch: what the switches change.
inline constexpr const char* kReflectSwitchTip =
    "予想に効くのは「反映する」にしたスイッチの数だけで、どの分析を選んだかは関係しません。\n1つ増えるごとに、"
    "消去法が使う当選番号が1回ずつ過去へずれます。\n分析の結果そのものは予想に使われません。";

// Right frame: the four prediction grids under their labels.
inline constexpr const char* kPredictionFrameCaption = "当選予想";  // Frame2
inline constexpr const char* kPredictionFrameLabel =                // Label19
    "各データ分析の結果を元に周期法、消去法、連発ルモーネ、一発ルモーネの各手法を用いて当選数字を予想します。";
// Label1 to Label4, the captions above grids 0 to 3.
inline constexpr std::array<const char*, 4> kGridLabels = {
    "●周期法による予想(この予想数字を組合わせて購入します)",
    "●消去法による予想(この予想数字を組合わせて購入します)",
    "●連発ルモーネ予想(この予想数字を組む合わせて購入します)",
    "●一発ルモーネ予想",
};

inline constexpr const char* kPrintCaption = "印刷";    // Command2
inline constexpr const char* kCloseCaption = "閉じる";  // Cmd閉じる

// Header of every prediction grid, in column 2 of row 1 (13 blanks before,
// 19 after).
inline constexpr const char* kPredictionHeader = "             予 想 数 字                   ";
// Column 1 of grid 0, rows 2-5: the four cycle methods.
inline constexpr std::array<const char*, 4> kCycleMethodLabels = {" 7回周期法", " 9回周期法", "11回周期法",
                                                                  "12回周期法"};
inline constexpr const char* kEliminationLabel = "消去法";  // grid 1, row 3
inline constexpr const char* kRapidFireLabel = "連発予想";  // grid 2, row 2
inline constexpr const char* kOneShotLabel = "１発予想";    // grid 3, row 2

}  // namespace rumone
