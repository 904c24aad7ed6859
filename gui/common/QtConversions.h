// Conversions from the core's plain types to Qt's.
#pragma once

#include <QColor>
#include <QString>
#include <string>

#include "core/grid/ResultGrid.h"

namespace rumone {

inline QColor toQColor(const Rgb& c)
{
    return QColor(c.r, c.g, c.b);
}

inline QString toQString(const std::string& s)
{
    return QString::fromStdString(s);
}

}  // namespace rumone
