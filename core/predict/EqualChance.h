// The line beside the predictions that says what chance each number has:
// a draw's digits are uniform and independent, so every digit at every
// position, and every four-digit number, has the same chance whatever the
// methods show.
#pragma once

#include <string>

namespace rumone {

// "各位置にどの数字も10分の1、4桁の並びはどれも10000分の1の確率で出ます。…"
std::string equalChanceText();

}  // namespace rumone
