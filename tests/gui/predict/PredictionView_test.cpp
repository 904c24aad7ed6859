// The prediction window 一発ルモーネ: its controls where they belong, the
// switches showing the flags, a click recomputing the grids, and the
// switches kept over closing and reopening.
#include <gtest/gtest.h>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/backtest/Comparisons.h"
#include "core/grid/GridDump.h"
#include "core/predict/Prediction.h"
#include "gui/common/PhraseWrap.h"
#include "gui/common/Twips.h"
#include "gui/grid/GridWidget.h"
#include "gui/predict/PredictionView.h"
#include "support/TestSupport.h"

using namespace rumone;

namespace {

class FakeHost : public ViewHost {
public:
    void setPropEnd(bool value) override { propEnd = value; }
    const DrawHistory& drawHistory() const override { return history; }
    bool propEnd = true;
    DrawHistory history = test::randomHistory(300, 5);
};

// The view in an MDI area of its own, loaded as the main window does it.
class Hosted {
public:
    Hosted(FakeHost& host, Prediction& prediction)
    {
        area_.resize(1000, 900);
        area_.show();
        view_ = new PredictionView(host, prediction);
        sub_ = area_.addSubWindow(view_);
        view_->load();
        sub_->show();
        QApplication::processEvents();
    }
    PredictionView& view() const { return *view_; }
    QMdiSubWindow* sub() const { return sub_; }
    template <typename T>
    T* find(const QString& name) const
    {
        auto* w = view_->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    // A child's rectangle in the view's coordinates.
    QRect rectOf(const QWidget* w) const { return QRect(w->mapTo(view_, QPoint(0, 0)), w->size()); }

private:
    QMdiArea area_;
    PredictionView* view_ = nullptr;
    QMdiSubWindow* sub_ = nullptr;
};

QRect twips(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

// A label's text without the line breaks the view put into it.
QString sentenceOf(const QLabel* label)
{
    return label->text().remove(u'\n');
}

std::vector<std::string> gridTexts(const Prediction& p)
{
    std::vector<std::string> out;
    for (int g = 0; g < kPredictionGridCount; ++g)
        out.push_back(dumpGrid(*p.grid(g)));
    return out;
}

TEST(PredictionView, FramesSwitchesAndLabelsSitWhereTheyBelong)
{
    FakeHost host;
    Prediction prediction;
    Hosted h(host, prediction);
    EXPECT_EQ(h.view().objectName(), QStringLiteral("一発ルモーネ"));
    EXPECT_EQ(h.view().windowTitle(), QStringLiteral("一発ルモーネ予想"));

    auto* options = h.find<QGroupBox>(QStringLiteral("Frame3"));
    auto* predictions = h.find<QGroupBox>(QStringLiteral("Frame2"));
    ASSERT_TRUE(options && predictions);
    EXPECT_EQ(options->title(), QStringLiteral("データ分析オプション"));
    EXPECT_EQ(options->geometry(), twips(120, 480, 3855, 7272));
    EXPECT_EQ(predictions->title(), QStringLiteral("当選予想"));
    EXPECT_EQ(predictions->x(), twipsToPixels(4080));
    EXPECT_EQ(predictions->width(), twipsToPixels(5055));
    EXPECT_EQ(predictions->height(), twipsToPixels(7272));
    EXPECT_LE(predictions->geometry().right(), h.view().width());
    EXPECT_LE(predictions->geometry().bottom(), h.view().height());

    auto* label15 = h.find<QLabel>(QStringLiteral("Label15"));
    ASSERT_NE(label15, nullptr);
    EXPECT_EQ(label15->parentWidget(), options);
    EXPECT_EQ(sentenceOf(label15), QStringLiteral("各データ分析の分析結果を当選予想へ反映するかを設定します。"));

    for (int i = 0; i < kOptionCount; ++i) {
        SCOPED_TRACE(i);
        auto* frame = h.find<QGroupBox>(QStringLiteral("Frame%1").arg(4 + i));
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->parentWidget(), options);
        EXPECT_EQ(frame->title(), QString::fromUtf8(kOptionCaptions[static_cast<std::size_t>(i)]));
        EXPECT_EQ(frame->y(), twipsToPixels(720 + 540 * i));
        EXPECT_EQ(frame->size(), twips(0, 0, 3615, 495).size());
        EXPECT_GE(frame->y(), label15->geometry().bottom());

        auto* on = h.find<QRadioButton>(QStringLiteral("Opt反映する(%1)").arg(i));
        auto* off = h.find<QRadioButton>(QStringLiteral("Opt反映しない(%1)").arg(i));
        ASSERT_TRUE(on && off);
        EXPECT_EQ(on->text(), QStringLiteral("反映する"));
        EXPECT_EQ(off->text(), QStringLiteral("反映しない"));
        EXPECT_EQ(on->parentWidget(), frame);
        EXPECT_EQ(off->parentWidget(), frame);
        EXPECT_LT(on->geometry().right(), off->geometry().left());
        // Both buttons whole inside their frame.
        EXPECT_TRUE(frame->rect().contains(on->geometry())) << on->geometry().y() << "+" << on->height();
        EXPECT_TRUE(frame->rect().contains(off->geometry()));
    }

    auto* label19 = h.find<QLabel>(QStringLiteral("Label19"));
    ASSERT_NE(label19, nullptr);
    EXPECT_EQ(sentenceOf(label19),
              QStringLiteral("各データ分析の結果を元に周期法、消去法、連発ルモーネ、一発ルモーネの各手法を"
                             "用いて当選数字を予想します。"));
    const char* const gridLabels[4] = {
        "●周期法による予想(この予想数字を組合わせて購入します)",
        "●消去法による予想(この予想数字を組合わせて購入します)",
        "●連発ルモーネ予想(この予想数字を組む合わせて購入します)",
        "●一発ルモーネ予想",
    };
    // Top to bottom: Label19, then each label above its grid, all inside
    // the frame and none on top of another.
    int below = h.rectOf(label19).bottom();
    const QRect frameRect = h.rectOf(predictions);
    for (int g = 0; g < 4; ++g) {
        SCOPED_TRACE(g);
        auto* label = h.find<QLabel>(QStringLiteral("Label%1").arg(g + 1));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(sentenceOf(label), QString::fromUtf8(gridLabels[g]));
        GridWidget* grid = h.view().gridWidget(g);
        EXPECT_EQ(grid->grid(), prediction.grid(g).get());
        const QRect labelRect = h.rectOf(label);
        const QRect gridRect = h.rectOf(grid);
        EXPECT_GT(labelRect.top(), below);
        EXPECT_GT(gridRect.top(), labelRect.bottom());
        EXPECT_TRUE(frameRect.contains(labelRect));
        EXPECT_TRUE(frameRect.contains(gridRect)) << gridRect.bottom() << " > " << frameRect.bottom();
        EXPECT_EQ(gridRect.size(), grid->sizeHint());
        below = gridRect.bottom();
    }

    auto* print = h.find<QPushButton>(QStringLiteral("Command2"));
    auto* close = h.find<QPushButton>(QStringLiteral("Cmd閉じる"));
    ASSERT_TRUE(print && close);
    EXPECT_EQ(print->text(), QStringLiteral("印刷"));
    EXPECT_EQ(close->text(), QStringLiteral("閉じる"));
    EXPECT_FALSE(print->geometry().intersects(close->geometry()));
}

TEST(PredictionView, SwitchesShowTheFlagsAndAClickRecomputes)
{
    FakeHost host;
    Prediction prediction;
    prediction.setFlag(2, true);  // as if read from the options file
    Hosted h(host, prediction);
    EXPECT_FALSE(host.propEnd);
    for (int i = 0; i < kOptionCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(h.view().reflectButton(i)->isChecked(), i == 2);
        EXPECT_EQ(h.view().doNotReflectButton(i)->isChecked(), i != 2);
    }

    // The same history with two switches set, computed apart.
    const Prediction two = predictionOf(host.history, 2);
    ASSERT_NE(gridTexts(two), gridTexts(prediction));

    QTest::mouseClick(h.view().reflectButton(7), Qt::LeftButton);
    EXPECT_TRUE(prediction.flag(7));
    EXPECT_TRUE(h.view().reflectButton(7)->isChecked());
    EXPECT_FALSE(h.view().doNotReflectButton(7)->isChecked());
    EXPECT_EQ(gridTexts(prediction), gridTexts(two));

    // Back to one switch: the grids as they were opened.
    const Prediction one = predictionOf(host.history, 1);
    QTest::mouseClick(h.view().doNotReflectButton(7), Qt::LeftButton);
    EXPECT_FALSE(prediction.flag(7));
    EXPECT_TRUE(h.view().doNotReflectButton(7)->isChecked());
    EXPECT_EQ(gridTexts(prediction), gridTexts(one));
}

TEST(PredictionView, ClosingKeepsTheSwitchesForTheNextOpening)
{
    FakeHost host;
    Prediction prediction;
    {
        Hosted h(host, prediction);
        QTest::mouseClick(h.view().reflectButton(0), Qt::LeftButton);
        QTest::mouseClick(h.view().reflectButton(5), Qt::LeftButton);
        QTest::mouseClick(h.view().doNotReflectButton(5), Qt::LeftButton);
        QTest::mouseClick(h.view().reflectButton(8), Qt::LeftButton);
        h.find<QPushButton>(QStringLiteral("Cmd閉じる"))->click();
        QApplication::processEvents();
        EXPECT_TRUE(host.propEnd);
    }
    const std::vector<std::string> before = gridTexts(prediction);
    Hosted again(host, prediction);
    EXPECT_FALSE(host.propEnd);
    for (int i = 0; i < kOptionCount; ++i) {
        SCOPED_TRACE(i);
        const bool set = i == 0 || i == 8;
        EXPECT_EQ(again.view().reflectButton(i)->isChecked(), set);
        EXPECT_EQ(again.view().doNotReflectButton(i)->isChecked(), !set);
    }
    // Reopening scans again and shows the same predictions.
    EXPECT_EQ(gridTexts(prediction), before);
}

}  // namespace

// Qt breaks Japanese anywhere and left "す)" alone on a line. Every label
// of the view breaks between phrases only, and each line fits the label.
TEST(PredictionView, LabelsBreakBetweenPhrasesAndEveryLineFits)
{
    FakeHost host;
    Prediction prediction;
    Hosted h(host, prediction);
    int wrapped = 0;
    for (const QLabel* label : h.view().findChildren<QLabel*>()) {
        if (!label->wordWrap())
            continue;
        SCOPED_TRACE(label->objectName().toStdString());
        const QStringList lines = label->text().split(u'\n');
        wrapped += lines.size() > 1;
        QStringList boundaries;  // the text up to each place a line may end
        QString upTo;
        for (const QString& phrase : japanesePhrases(sentenceOf(label), PhraseLevel::Word))
            boundaries << (upTo += phrase);
        QString shown;
        for (const QString& line : lines) {
            EXPECT_LE(label->fontMetrics().horizontalAdvance(line), label->contentsRect().width())
                << line.toStdString();
            shown += line;
            EXPECT_TRUE(boundaries.contains(shown)) << "broken inside a phrase: " << line.toStdString();
        }
    }
    EXPECT_GE(wrapped, 3);  // the three long grid labels at least
}

// The walk waits for the first paint: on one core it would hold it up.
TEST(PredictionView, TheCheckWalkStartsOnlyOnceTheViewHasPainted)
{
    FakeHost host;
    Prediction prediction;
    QMdiArea area;
    auto* view = new PredictionView(host, prediction);
    QMdiSubWindow* sub = area.addSubWindow(view);
    view->load();
    QApplication::processEvents();
    EXPECT_TRUE(view->checkLabel()->text().isEmpty()) << "walked before the view was on screen";
    area.show();
    sub->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->checking(); }, 20000));
    EXPECT_FALSE(view->checkLabel()->text().isEmpty());
}

// The line under the grids comes from the walk with the switches' reflect
// count, once the window is up, and follows a switch.
TEST(PredictionView, TheCheckLineFollowsTheWalkOfTheReflectCount)
{
    FakeHost host;
    Prediction prediction;
    prediction.setFlag(0, true);
    Hosted h(host, prediction);
    const auto lineFor = [&](int reflect) {
        return QString::fromStdString(
            predictionCheckText(compareAll(runBacktest(host.history, reflect, {})->boards), reflect));
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !h.view().checking(); }, 20000));
    EXPECT_EQ(h.view().checkLabel()->text().remove(u'\n'), lineFor(1));
    QTest::mouseClick(h.view().reflectButton(5), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !h.view().checking(); }, 20000));
    EXPECT_EQ(h.view().checkLabel()->text().remove(u'\n'), lineFor(2));
}
