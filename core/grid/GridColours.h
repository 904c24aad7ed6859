// The named colours of the program's tables, each defined once.
#pragma once

#include "core/grid/ResultGrid.h"

namespace rumone {

inline constexpr Rgb kRed = RGB(255, 0, 0);
inline constexpr Rgb kBlue = RGB(0, 0, 255);
inline constexpr Rgb kBlack = RGB(0, 0, 0);
inline constexpr Rgb kWhite = RGB(255, 255, 255);
inline constexpr Rgb kLightYellow = RGB(255, 255, 200);
inline constexpr Rgb kPink = RGB(255, 200, 200);
inline constexpr Rgb kLightCyan = RGB(200, 255, 255);
inline constexpr Rgb kLightGreen = RGB(200, 255, 200);
inline constexpr Rgb kLightMagenta = RGB(255, 200, 255);
inline constexpr Rgb kPaleCyan = RGB(222, 254, 253);
inline constexpr Rgb kLineBlue = RGB(136, 196, 255);
inline constexpr Rgb kMarkBlue = RGB(62, 158, 255);
inline constexpr Rgb kGrey = RGB(225, 225, 225);
inline constexpr Rgb kLavender = RGB(200, 200, 255);

}  // namespace rumone
