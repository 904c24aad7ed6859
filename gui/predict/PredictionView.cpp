#include "gui/predict/PredictionView.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "core/backtest/BacktestTexts.h"
#include "core/backtest/Comparisons.h"
#include "core/backtest/PredictionLog.h"
#include "core/backtest/PredictorSets.h"
#include "core/backtest/Scoring.h"
#include "core/backtest/WalkKeeper.h"
#include "core/calendar/HistoryDates.h"
#include "core/predict/EqualChance.h"
#include "core/predict/Prediction.h"
#include "core/predict/PredictionOptions.h"
#include "core/predict/PredictionTexts.h"
#include "core/store/DrawStore.h"
#include "gui/common/Messages.h"
#include "gui/common/PhraseWrap.h"
#include "gui/common/PrintDialog.h"
#include "gui/common/Twips.h"
#include "gui/grid/GridPrinter.h"
#include "gui/grid/GridWidget.h"

namespace rumone {

namespace {

// The check line while its walk is under way or waits for every draw.
QString checkingText()
{
    return QStringLiteral("これまでの検証：計算しています…");
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

// Frame positions on the window, in twips.
constexpr int kFrameTop = 480;
constexpr int kFrameHeight = 7272;
constexpr int kOptionsLeft = 120, kOptionsWidth = 3855;
constexpr int kPredictionLeft = 4080, kPredictionWidth = 5055;
// The switch frames inside the options frame.
constexpr int kSwitchLeft = 120, kSwitchTop = 720, kSwitchStep = 540;
constexpr int kSwitchWidth = 3615, kSwitchHeight = 495;
// The check line under the frames, two lines of text.
constexpr int kCheckGap = 60, kLineHeight = 255;

}  // namespace

PredictionView::PredictionView(ViewHost& host, Prediction& prediction, QWidget* parent)
    : ChildView(host, QString::fromUtf8(kPredictionObjectName), QString::fromUtf8(kPredictionCaption), parent),
      prediction_(prediction)
{
    optionsFrame_ = createOptionsFrame();
    optionsFrame_->setGeometry(twipsRect(kOptionsLeft, kFrameTop, kOptionsWidth, kFrameHeight));
    predictionFrame_ = createPredictionFrame();
    predictionFrame_->setGeometry(twipsRect(kPredictionLeft, kFrameTop, kPredictionWidth, kFrameHeight));

    auto* print = new QPushButton(QString::fromUtf8(kPrintCaption), this);
    print->setObjectName("Command2");
    connect(print, &QPushButton::clicked, this, [this] { onPrintClicked(); });
    auto* close = new QPushButton(QString::fromUtf8(kCloseCaption), this);
    close->setObjectName("Cmd閉じる");
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(); });
    const QSize button = close->sizeHint();
    const int right = twipsToPixels(kPredictionLeft + kPredictionWidth);
    const int top = (twipsToPixels(kFrameTop) - button.height()) / 2;
    close->setGeometry(right - button.width(), top, button.width(), button.height());
    print->setGeometry(right - 2 * button.width() - 8, top, button.width(), button.height());

    // Under both frames, across the window: two lines at most.
    check_ = new QLabel(this);
    check_->setObjectName("LabelCheck");
    check_->setGeometry(twipsRect(kOptionsLeft, kFrameTop + kFrameHeight + kCheckGap,
                                  kPredictionLeft + kPredictionWidth - kOptionsLeft, 2 * kLineHeight));

    auto* record = new QPushButton(QString::fromUtf8(kRecordCaption), this);
    record->setObjectName("Cmd予想記録");
    connect(record, &QPushButton::clicked, this, [this] { recordShownPrediction(); });
    const int recordWidth = std::max(button.width(), record->sizeHint().width());
    record->setGeometry(print->x() - recordWidth - 8, top, recordWidth, button.height());
    auto* buy = new QPushButton(QStringLiteral("購入記録へ"), this);
    buy->setObjectName("Cmd購入記録へ");
    buy->setToolTip(QStringLiteral("この予想で買う組み合わせを確かめて、購入記録に記録します"));
    connect(buy, &QPushButton::clicked, this, [this] { this->host().offerPurchases(setsOfPrediction(prediction_)); });
    const int buyWidth = std::max(button.width(), buy->sizeHint().width());
    buy->setGeometry(record->x() - buyWidth - 8, top, buyWidth, button.height());
}

PredictionView::~PredictionView()
{
    stopCheck();
}

QWidget* PredictionView::createOptionsFrame()
{
    auto* frame = new QGroupBox(QString::fromUtf8(kOptionsFrameCaption), this);
    frame->setObjectName("Frame3");
    auto* label = new QLabel(QString::fromUtf8(kOptionsFrameLabel), frame);
    label->setObjectName("Label15");
    label->setWordWrap(true);
    label->setGeometry(twipsRect(kSwitchLeft, 240, kSwitchWidth, kSwitchTop - 240));
    for (int i = 0; i < kOptionCount; ++i) {
        auto* box = new QGroupBox(QString::fromUtf8(kOptionCaptions[i]), frame);
        box->setObjectName(QStringLiteral("Frame%1").arg(4 + i));
        box->setToolTip(QString::fromUtf8(kReflectSwitchTip));
        box->setGeometry(twipsRect(kSwitchLeft, kSwitchTop + i * kSwitchStep, kSwitchWidth, kSwitchHeight));
        reflect_[i] = new QRadioButton(QString::fromUtf8(kReflectCaption), box);
        reflect_[i]->setObjectName(QStringLiteral("Opt反映する(%1)").arg(i));
        doNotReflect_[i] = new QRadioButton(QString::fromUtf8(kDoNotReflectCaption), box);
        doNotReflect_[i]->setObjectName(QStringLiteral("Opt反映しない(%1)").arg(i));
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(twipsToPixels(120), 0, twipsToPixels(120), 0);
        row->addWidget(reflect_[i]);
        row->addStretch();
        row->addWidget(doNotReflect_[i]);
        row->addStretch();
        connect(reflect_[i], &QRadioButton::clicked, this, [this, i] { onSwitchClicked(i, true); });
        connect(doNotReflect_[i], &QRadioButton::clicked, this, [this, i] { onSwitchClicked(i, false); });
    }
    // Under the switches: what chance each number has, whatever they say.
    auto* chance = new QLabel(QString::fromStdString(equalChanceText()), frame);
    chance->setObjectName("LabelChance");
    chance->setWordWrap(true);
    chance->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int chanceTop = kSwitchTop + kOptionCount * kSwitchStep + kSwitchStep / 2;
    chance->setGeometry(twipsRect(kSwitchLeft, chanceTop, kSwitchWidth, kFrameHeight - chanceTop - kSwitchLeft));
    return frame;
}

QWidget* PredictionView::createPredictionFrame()
{
    auto* frame = new QGroupBox(QString::fromUtf8(kPredictionFrameCaption), this);
    frame->setObjectName("Frame2");
    auto* column = new QVBoxLayout(frame);
    // Which draw the grids are for, under the frame's caption.
    target_ = new QLabel(frame);
    target_->setObjectName("LabelTarget");
    QFont bold = target_->font();
    bold.setBold(true);
    target_->setFont(bold);
    column->addWidget(target_);
    auto* label = new QLabel(QString::fromUtf8(kPredictionFrameLabel), frame);
    label->setObjectName("Label19");
    label->setWordWrap(true);
    column->addWidget(label);
    for (int g = 0; g < 4; ++g) {
        auto* caption = new QLabel(QString::fromUtf8(kGridLabels[g]), frame);
        caption->setObjectName(QStringLiteral("Label%1").arg(g + 1));
        caption->setWordWrap(true);
        grids_[g] = new GridWidget(frame);
        grids_[g]->setObjectName(QStringLiteral("fpSpread1(%1)").arg(g));
        column->addSpacing(twipsToPixels(60));
        column->addWidget(caption);
        column->addWidget(grids_[g], 0, Qt::AlignLeft);
    }
    column->addStretch();
    return frame;
}

QSize PredictionView::sizeInTwips() const
{
    return QSize(kPredictionWidthTwips, kPredictionHeightTwips);
}

// The open sequence after the window is placed: the flags shown on the
// switches, the grids laid out, the draws scanned.
void PredictionView::build()
{
    breakLabelsBetweenPhrases();
    showFlagsOnSwitches();
    prediction_.layOutGrids();
    for (int g = 0; g < 4; ++g)
        grids_[g]->setGrid(prediction_.grid(g));
    const LatestDraws* latest = host().latestDrawsAtStart();
    const bool fromLatest = latest && prediction_.scanLatestDraws(*latest);
    if (!fromLatest)
        prediction_.scanDraws(host().drawHistory());
    const int next = prediction_.latestDrawNumber() + 1;
    target_->setText(QString::fromStdString(predictionTitleText(next, host().drawDateOf(next))));
    refreshGrids();
    if (fromLatest)
        check_->setText(checkingText());
    checkStart_ = fromLatest ? CheckStart::RestAfterPaint : CheckStart::AfterPaint;
    update();
}

// The walk starts once the view is on screen: on a single core it would
// otherwise hold up the first paint.
void PredictionView::paintEvent(QPaintEvent* event)
{
    ChildView::paintEvent(event);
    if (checkStart_ == CheckStart::AfterPaint) {
        checkStart_ = CheckStart::Queued;
        QTimer::singleShot(0, this, [this] {
            if (checkStart_ == CheckStart::Queued)
                startCheck();
        });
    } else if (checkStart_ == CheckStart::RestAfterPaint) {
        checkStart_ = CheckStart::AwaitingRest;
        QTimer::singleShot(0, this, [this] { host().readRestOfStart(); });
    }
}

// A walk under way is stopped for a fresh one. The walk runs on a thread
// of its own; its line arrives as a queued call, only from the latest walk.
void PredictionView::startCheck()
{
    if (checkStart_ == CheckStart::RestAfterPaint || checkStart_ == CheckStart::AwaitingRest)
        return;  // the rebuild on every draw walks them
    checkStart_ = CheckStart::None;
    stopCheck();
    if (closing_)
        return;
    const int generation = ++checkGeneration_;
    const int reflect = prediction_.countReflectedOptions();
    check_->setText(checkingText());
    auto stop = std::make_shared<std::atomic<bool>>(false);
    checkStop_ = stop;
    const DrawHistory& history = host().drawHistory();
    QPointer<PredictionView> self(this);
    checkThread_ = std::thread([stop, self, generation, reflect, &history, keeper = host().walkKeeper()] {
        ReflectBoards boards;
        SameRows same;
        if (!walkEveryReflect(
                keeper.get(), history, TargetRange{}, [&stop](int, int) { return !*stop; }, boards, same) ||
            *stop)
            return;
        const QString line = QString::fromStdString(predictionCheckText(compareAll(boards, same), reflect));
        QMetaObject::invokeMethod(
            self.data(),
            [self, generation, line] {
                if (self && generation == self->checkGeneration_) {
                    // Two lines at most, broken between phrases.
                    self->check_->setText(wrapAtPhrases(line, self->check_->fontMetrics(), self->check_->width() - 2));
                    self->stopCheck();
                }
            },
            Qt::QueuedConnection);
    });
}

void PredictionView::stopCheck()
{
    if (checkStop_)
        *checkStop_ = true;
    if (checkThread_.joinable())
        checkThread_.join();
    checkStop_.reset();
}

// A hidden or closing window walks no more: the history may go next.
void PredictionView::hideEvent(QHideEvent* event)
{
    if (checkStart_ == CheckStart::Queued)
        checkStart_ = CheckStart::AfterPaint;
    if (checkThread_.joinable()) {
        stopCheck();
        ++checkGeneration_;
    }
    ChildView::hideEvent(event);
}

void PredictionView::closeEvent(QCloseEvent* event)
{
    closing_ = true;
    if (checkThread_.joinable()) {
        stopCheck();
        ++checkGeneration_;
    }
    ChildView::closeEvent(event);
}

void PredictionView::breakLabelsBetweenPhrases()
{
    constexpr int kSlack = 2;  // rounding of the text widths
    for (QLabel* label : findChildren<QLabel*>()) {
        if (!label->wordWrap())
            continue;
        int width = label->width();
        if (QWidget* frame = label->parentWidget(); frame && frame->layout()) {
            const QMargins m = frame->layout()->contentsMargins();
            width = frame->contentsRect().width() - m.left() - m.right();
        }
        const QString sentence = label->text().remove(u'\n');
        label->setText(wrapAtPhrases(sentence, label->fontMetrics(), width - kSlack));
    }
}

void PredictionView::showFlagsOnSwitches()
{
    for (int i = 0; i < kOptionCount; ++i) {
        if (prediction_.flag(i))
            reflect_[i]->setChecked(true);
        else
            doNotReflect_[i]->setChecked(true);
    }
}

void PredictionView::onSwitchClicked(int index, bool reflect)
{
    (reflect ? reflect_ : doNotReflect_)[index]->setChecked(true);
    prediction_.setFlag(index, reflect);
    refreshGrids();
    startCheck();
}

void PredictionView::refreshGrids()
{
    for (GridWidget* g : grids_) {
        g->refresh();
        g->setFixedSize(g->sizeHint());
    }
}

// The prediction on show, for the draw after the latest, as it stands now.
// A draw already entered, a second record for the same draw and a file
// that cannot be written are refused with the store's message.
void PredictionView::recordShownPrediction()
{
    if (!recordRefusal_.isEmpty()) {
        showMessage(this, QMessageBox::Warning, messageCaption(), recordRefusal_);
        return;
    }
    if (logDatabase_.path.empty()) {
        showMessage(this, QMessageBox::Warning, messageCaption(),
                    QStringLiteral("予想を記録するデータベースがありません。"));
        return;
    }
    const LoggedPrediction entry{prediction_.latestDrawNumber() + 1, storedTimeNow(),
                                 prediction_.countReflectedOptions(), setsOfPrediction(prediction_)};
    std::string fingerprint;
    try {
        fingerprint = recordPrediction(logDatabase_, entry);
    } catch (const std::exception& e) {
        showMessage(this, QMessageBox::Warning, messageCaption(), QString::fromStdString(e.what()));
        return;
    }
    showMessage(this, QMessageBox::Information, messageCaption(),
                QStringLiteral("第%1回の予想を記録しました（記録日時 %3、反映数 %2）。この記録の指紋は %4 です。"
                               "抽せんの前に指紋を公開しておけば、書き出した予想記録で、その時点で数字が決まっていた"
                               "ことをほかの人が確かめられます。当選数字を入力すると、"
                               "「予想の検証」で記録した予想の成績を確かめられます。")
                    .arg(entry.target)
                    .arg(entry.reflect)
                    .arg(QString::fromStdString(localTimeText(entry.recordedAt)), QString::fromStdString(fingerprint)));
}

void PredictionView::onPrintClicked()
{
    printThroughDialog(this, windowTitle(), [this](QPrinter& printer, const PrintProgress&) {
        return printTo(printer) ? PrintResult::Printed : PrintResult::Failed;
    });
}

bool PredictionView::printTo(QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    paintPrintPage(painter, device);
    return painter.end();
}

// The two frames drawn by the widgets themselves into a picture of up to
// four times their size on screen (the grids' cached texts come out right
// only on a raster surface), then placed on the page: as large as on
// screen at most.
void PredictionView::paintPrintPage(QPainter& painter, const QPaintDevice& device)
{
    const PageFrame frame(device, windowTitle(), QDate::currentDate());
    frame.paint(painter, 1, 1);
    const QRect source = optionsFrame_->geometry().united(predictionFrame_->geometry());
    const QRect body = frame.body();
    if (source.isEmpty() || body.isEmpty())
        return;
    const double scale = std::min({device.logicalDpiX() / double(logicalDpiX()), body.width() / double(source.width()),
                                   body.height() / double(source.height())});
    constexpr double kMaxDetail = 4.0;
    const double detail = std::clamp(scale, 1.0, kMaxDetail);
    QImage picture((QSizeF(source.size()) * detail).toSize(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(detail);
    picture.fill(Qt::white);
    {
        QPainter onPicture(&picture);
        render(&onPicture, QPoint(0, 0), QRegion(source), QWidget::DrawChildren);
    }
    const QSizeF placed = QSizeF(source.size()) * scale;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(body.topLeft()), placed), picture);
    painter.restore();
}

}  // namespace rumone
