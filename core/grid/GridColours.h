// The named colours of the program's tables, each defined once.
#pragma once

#include "core/grid/ResultGrid.h"

namespace rumone {

inline constexpr Rgb kRed = rgb(255, 0, 0);
inline constexpr Rgb kBlue = rgb(0, 0, 255);
inline constexpr Rgb kBlack = rgb(0, 0, 0);
inline constexpr Rgb kWhite = rgb(255, 255, 255);
inline constexpr Rgb kLightYellow = rgb(255, 255, 200);
inline constexpr Rgb kPink = rgb(255, 200, 200);
inline constexpr Rgb kLightCyan = rgb(200, 255, 255);
inline constexpr Rgb kLightGreen = rgb(200, 255, 200);
inline constexpr Rgb kLightMagenta = rgb(255, 200, 255);
inline constexpr Rgb kPaleCyan = rgb(222, 254, 253);
inline constexpr Rgb kLineBlue = rgb(136, 196, 255);
inline constexpr Rgb kMarkBlue = rgb(62, 158, 255);
inline constexpr Rgb kGrey = rgb(225, 225, 225);
inline constexpr Rgb kLavender = rgb(200, 200, 255);

}  // namespace rumone
