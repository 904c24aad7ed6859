// The program's Japanese face is named as installed, so that drawing a
// Japanese text needs no search of every font for a fallback.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>

#include "gui/common/JapaneseFont.h"

namespace rumone {
namespace {

TEST(JapaneseFont, NamesOneInstalledFaceAndTheWindowsUseItAtTheirOwnSize)
{
    const QFont font = japaneseFont(9);
    if (font.families().size() > 1)
        GTEST_SKIP() << "none of the program's Gothic faces is installed here";
    const QString family = font.families().front();
    EXPECT_TRUE(QFontDatabase::families().contains(family, Qt::CaseInsensitive)) << family.toStdString();
    EXPECT_EQ(QFontInfo(font).family(), family);  // the face drawn is the one named
    EXPECT_EQ(font.pointSize(), 9);

    const QFont before = QApplication::font();
    useJapaneseFontForWindows();
    EXPECT_EQ(QApplication::font().families(), QStringList{family});
    EXPECT_EQ(QApplication::font().pointSizeF(), before.pointSizeF());
    QApplication::setFont(before);
}

}  // namespace
}  // namespace rumone
