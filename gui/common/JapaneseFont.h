// The program's Japanese face, for its grids and its windows alike.
#pragma once

#include <QFont>

namespace rumone {

// A font of the program's Gothic face at `pointSize`. Its family is the
// first of the program's faces installed on this machine, named as the
// font database names it, so that Qt finds it at once; only where none of
// them is installed does it carry the whole list and leave the choice to
// Qt's fallbacks. (Naming an absent face first makes Qt ask fontconfig for
// a sorted list of every font on each use, ~1 ms a time at the start.)
QFont japaneseFont(int pointSize);

// The windows' own texts (menus, labels, buttons) in that face at Qt's
// default size: Japanese and Latin from one face, without the fallback
// search a Latin-only default face needs for every Japanese string.
void useJapaneseFontForWindows();

}  // namespace rumone
