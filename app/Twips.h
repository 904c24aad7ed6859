// Window sizes are given in twips (1440 per inch).
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace rumone {

inline double LogicalDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

inline int TwipsToPixels(int twips)
{
    return static_cast<int>(std::lround(twips * LogicalDpi() / 1440.0));
}

}  // namespace rumone
