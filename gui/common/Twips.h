// Window sizes are given in twips (1440 per inch).
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace rumone {

inline double logicalDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

inline int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(twips * logicalDpi() / 1440.0));
}

}  // namespace rumone
