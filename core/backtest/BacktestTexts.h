// Fixed texts and size of the verification view 予想検証.
#pragma once

namespace rumone {

inline constexpr const char* kBacktestObjectName = "予想検証";
inline constexpr const char* kBacktestCaption = "予想の検証";
inline constexpr int kBacktestWidthTwips = 16200;
inline constexpr int kBacktestHeightTwips = 11400;

inline constexpr const char* kBacktestExplanation =
    "各予想手法を過去の回で検証します。各回の予想は、その回より前の当選データだけから予想画面と同じ方法で"
    "計算します。的中率の隣には偶然の率（予想数字の個数÷10）を示し、判定は偶然の範囲（95%）から決めます。"
    "判定はマスごとに95%の範囲で行うので、判定するマスが多いと、偶然だけでもどれかが色付きになることはよく"
    "あります（その確率は表の上に示します）。";
inline constexpr const char* kHitLegend =
    "的中：当選数字がその位置の予想数字の中にあったこと（1回につき4つの位置を数えます）。4桁的中：4つの位置が"
    "すべて的中した回数。偶然の範囲：予想と関係なく数字が出たとき95%の確率で入る回数の範囲で、正確な分布から"
    "計算します。検証回数が30回に満たないときは判定しません。";
inline constexpr const char* kChartNote =
    "帯は各時点での偶然の範囲です。時点ごとに95%なので、線が途中のどこかで帯を出ることは偶然だけでもよく"
    "あります。判定は表の最終の値で行います。";
inline constexpr const char* kHitsTab = "的中の検証";
inline constexpr const char* kTicketsTab = "購入シミュレーション";
inline constexpr const char* kLogTab = "記録した予想";
inline constexpr const char* kOutlookTab = "見通し";
inline constexpr const char* kTicketExplanation =
    "各回の予想どおりに1枚200円で購入した場合です。周期の行は4つの位置がそろった回にストレートとボックスを"
    "1枚ずつ（4桁が同じ数字のときはストレートだけ）、消去法・連発は予想数字から異なる4つを選ぶすべての組合わせの"
    "ボックス、一発は4つの数字のボックスを1枚買います。配当は払戻率45%としたときの理論配当（ストレート900,000円、"
    "ボックス37,500〜225,000円）で、実際の配当は回ごとに変わります。ストレートの1回の当せんは4,500枚分ですが、"
    "どの買い方でも理論配当の期待値は1枚90円（購入額の45%）で、1枚あたり平均110円の損になります。";
inline constexpr const char* kLogHeading = "■記録した予想の成績（当選数字が入力された回のみ）";
inline constexpr const char* kRecordCaption = "予想を記録";

}  // namespace rumone
