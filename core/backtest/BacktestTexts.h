// Fixed texts and size of the verification view 予想検証.
#pragma once

namespace rumone {

inline constexpr const char* kBacktestObjectName = "予想検証";
inline constexpr const char* kBacktestCaption = "予想の検証";
inline constexpr int kBacktestWidthTwips = 12000;
inline constexpr int kBacktestHeightTwips = 11400;

inline constexpr const char* kBacktestExplanation =
    "各予想手法を過去の回で検証します。各回の予想は、その回より前の当選データだけから予想画面と同じ方法で"
    "計算します。的中率の隣には偶然の率（予想数字の個数÷10）を示し、判定は偶然の範囲（95%）から決めます。";
inline constexpr const char* kLogHeading = "■記録した予想の成績（当選数字が入力された回のみ）";
inline constexpr const char* kRecordCaption = "予想を記録";

}  // namespace rumone
