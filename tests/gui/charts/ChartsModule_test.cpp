// The charts module is read before it is trusted: a module without the
// entry, with a function under the entry's name or of another version is
// refused with its reason in Japanese, and none of its code is called.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "gui/charts/ChartsModule.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

const QString kModules = QStringLiteral(RUMONE_TEST_MODULES_DIR);

TEST(ChartsModule, OpensTheBuiltModule)
{
    const OpenedChartsModule opened = openChartsModule(QStringLiteral(RUMONE_BIN_DIR "/rumone-charts.so"));
    ASSERT_NE(opened.makers, nullptr) << opened.reason.toStdString();
    EXPECT_NE(opened.makers->makeChancePicture, nullptr);
}

TEST(ChartsModule, RefusesAModuleItCannotTrustAndSaysWhy)
{
    const test::TempDir dir;
    const QString text = QString::fromStdString(dir.file("text.so"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a library\n");
    file.close();
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {kModules + "/charts-old-entry.so", "入口「rumoneChartsModule」がありません。古い版か、別のファイルです。"},
        {kModules + "/charts-function-entry.so", "入口「rumoneChartsModule」がグラフの部品の入口ではありません。"},
        {kModules + "/charts-other-version.so", QStringLiteral("部品の版（%1）がこのプログラムの版（%2）と合いません。")
                                                    .arg(kChartsAbiVersion + 1)
                                                    .arg(kChartsAbiVersion)},
        {kModules + "/none.so", "ファイルがありません。"},
        {text, "読み込めません（"},
    };
    for (const auto& c : cases) {
        const OpenedChartsModule opened = openChartsModule(c.path);
        EXPECT_EQ(opened.makers, nullptr) << c.path.toStdString();
        EXPECT_TRUE(opened.reason.startsWith(c.path)) << opened.reason.toStdString();
        EXPECT_TRUE(opened.reason.contains(c.reason)) << opened.reason.toStdString();
    }
}

}  // namespace
}  // namespace rumone
