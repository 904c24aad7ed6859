#include "gui/common/JapaneseFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

namespace rumone {

namespace {

// In order of preference: the face the grids were designed in, then the
// free Gothic faces of a Linux desktop.
QStringList gothicFamilies()
{
    return {QStringLiteral("ＭＳ Ｐゴシック"),    QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
            QStringLiteral("IPA Pゴシック"),      QStringLiteral("VL PGothic"), QStringLiteral("Noto Sans CJK JP"),
            QStringLiteral("Droid Sans Fallback")};
}

QStringList installedGothicFamily()
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : gothicFamilies())
        if (installed.contains(family, Qt::CaseInsensitive))
            return {family};
    return gothicFamilies();
}

}  // namespace

QFont japaneseFont(int pointSize)
{
    QFont font;
    font.setFamilies(installedGothicFamily());
    font.setPointSize(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

void useJapaneseFontForWindows()
{
    QFont font = QApplication::font();
    font.setFamilies(installedGothicFamily());
    QApplication::setFont(font);
}

}  // namespace rumone
