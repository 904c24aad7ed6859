// The picture beside an analysis table: opened by グラフ, beside the
// table, following the period chosen, saved as an image.
#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <filesystem>

#include "core/analysis/AnalysisView.h"
#include "gui/MainWindow.h"
#include "gui/analysis/ChanceChartWindow.h"
#include "gui/charts/ChartsModule.h"
#include "support/TestSupport.h"

using namespace rumone;

namespace {

// The frame writes its options file on exit: into a folder of its own.
class FrameInTempFolder {
public:
    explicit FrameInTempFolder(DrawHistory history) : old_(std::filesystem::current_path())
    {
        std::filesystem::current_path(dir_.path());
        frame_ = std::make_unique<MainWindow>();
        frame_->resize(1800, 1000);
        frame_->loadWithHistory(std::move(history));
        frame_->show();
    }
    ~FrameInTempFolder()
    {
        frame_.reset();
        std::filesystem::current_path(old_);
    }
    MainWindow& frame() { return *frame_; }
    const test::TempDir& dir() const { return dir_; }

private:
    test::TempDir dir_;
    std::filesystem::path old_;
    std::unique_ptr<MainWindow> frame_;
};

ChanceChartWindow* openPicture(MainWindow& frame, const QString& view)
{
    ChildView* table = frame.showView(view);
    auto* button = table ? table->findChild<QPushButton*>("CmdChart") : nullptr;
    if (!button)
        return nullptr;
    button->click();
    QApplication::processEvents();
    return qobject_cast<ChanceChartWindow*>(frame.findView(view + QStringLiteral("グラフ")));
}

}  // namespace

TEST(ChanceChartWindow, EveryAnalysisViewOpensItsPicture)
{
    FrameInTempFolder f(test::randomHistory(120, 7));
    for (const AnalysisViewSpec& spec : analysisViews()) {
        SCOPED_TRACE(spec.objectName);
        ChanceChartWindow* picture = openPicture(f.frame(), QString::fromStdString(spec.objectName));
        ASSERT_NE(picture, nullptr);
        EXPECT_GT(picture->chartView()->itemCount(), 0);
        EXPECT_EQ(picture->chartView()->itemCount(), static_cast<int>(picture->figures().items.size()));
        EXPECT_FALSE(picture->verdictText().isEmpty());
        f.frame().mdiArea()->closeAllSubWindows();
        QApplication::processEvents();
    }
}

TEST(ChanceChartWindow, RealHistoryShowsDigitNineOutsideBesideTheTable)
{
    const auto rows = test::realDraws();
    ASSERT_TRUE(rows) << "the real history is missing: " << test::realDrawsPath();
    FrameInTempFolder f(test::historyOf(*rows));
    ChanceChartWindow* picture = openPicture(f.frame(), QStringLiteral("出現頻度分析"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->chartView()->outsidePoints(), 1);
    EXPECT_TRUE(picture->verdictText().startsWith(QStringLiteral("数字9の出現数は偶然の範囲より多い")))
        << picture->verdictText().toStdString();

    // Beside the table, and one picture per view however often it is asked for.
    auto* table = qobject_cast<QMdiSubWindow*>(f.frame().findView(QStringLiteral("出現頻度分析"))->parentWidget());
    auto* frameOfPicture = qobject_cast<QMdiSubWindow*>(picture->parentWidget());
    EXPECT_GT(frameOfPicture->x(), table->geometry().right());
    EXPECT_EQ(openPicture(f.frame(), QStringLiteral("出現頻度分析")), picture);
    EXPECT_EQ(picture->buildCount(), 1);

    // The latest 50 draws: fewer trials, a wider range relative to them.
    const ChanceItem all = picture->figures().items[9];
    picture->choosePeriod(2);
    EXPECT_EQ(picture->figures().draws, 50);
    const ChanceItem recent = picture->figures().items[9];
    EXPECT_GT(double(recent.range.high - recent.range.low) / double(recent.trials),
              double(all.range.high - all.range.low) / double(all.trials));

    const std::string path = f.dir().file("picture.png");
    ASSERT_TRUE(picture->savePicture(QString::fromStdString(path)));
    const QImage saved(QString::fromStdString(path));
    EXPECT_GE(saved.height(), picture->chartView()->widget()->height());
}
