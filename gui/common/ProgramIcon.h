// The program's own icon, four digit tiles, for the frame and every child
// window.
#pragma once

#include <QIcon>

namespace rumone {

QIcon programIcon();

}  // namespace rumone
