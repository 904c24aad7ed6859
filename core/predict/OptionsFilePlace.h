// Where the options file "ルモーネ.ini" lives. A copy that keeps its
// database in its own folder (a portable copy, the build folder) keeps the
// file in the working folder; an installed copy keeps it in the user's
// configuration folder ($XDG_CONFIG_HOME/rumone, else ~/.config/rumone),
// whatever folder it was started from.
#pragma once

#include <string>

#include "core/store/DatabaseLocation.h"

namespace rumone {

// The path of the options file for a program whose database is at
// `location`; the two variables as the environment has them (nullptr for
// unset). The bare file name (the working folder) for a portable copy, and
// when neither variable is set.
std::string optionsFilePath(const DatabaseLocation& location, const char* xdgConfigHome, const char* home);

// Makes the folder of `path` (0700 when it is new) and moves a file at `workingCopy` (the
// working folder's, from before the file had its own place) there when
// `path` has none yet: it is read once more, from its new place. Never
// throws; a file that cannot be moved stays where it is and is read there
// no more. True when a file was moved.
bool moveOptionsFileInto(const std::string& path, const std::string& workingCopy);

}  // namespace rumone
