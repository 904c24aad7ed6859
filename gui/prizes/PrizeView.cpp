#include "gui/prizes/PrizeView.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "core/grid/ResultGrid.h"
#include "core/store/DrawDetailsStore.h"
#include "gui/common/Twips.h"
#include "gui/grid/GridWidget.h"

namespace rumone {

namespace {

constexpr int kMarginTwips = 120;
constexpr int kPictureHeightTwips = 2400;

}  // namespace

void RatioPicture::setPoints(std::vector<RatioPoint> points)
{
    points_ = std::move(points);
    update();
}

void RatioPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QFontMetrics fm = p.fontMetrics();
    const int left = fm.horizontalAdvance(QStringLiteral("0.00")) + 8;
    const int top = fm.height() + 4;
    const QRect plot(left, top, width() - left - 8, height() - top - fm.height() - 6);
    p.setPen(Qt::gray);
    p.drawRect(plot);
    p.setPen(Qt::black);
    p.drawText(4, fm.ascent() + 2, QStringLiteral("ストレートの当せん金 ÷ 理論値（900,000円）、回ごと"));
    if (points_.empty() || plot.width() < 2 || plot.height() < 2) {
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("当せん金が記録された回がありません"));
        return;
    }
    double highest = 2.0;
    for (const RatioPoint& pt : points_)
        highest = std::max(highest, pt.ratio);
    const auto yOf = [&](double ratio) { return plot.bottom() - static_cast<int>(ratio / highest * plot.height()); };
    const int first = points_.front().number, last = points_.back().number;
    const auto xOf = [&](int number) {
        return last == first ? plot.center().x()
                             : plot.left() + static_cast<int>(static_cast<double>(number - first) / (last - first) *
                                                              plot.width());
    };
    for (double r : {0.0, 1.0, highest})
        p.drawText(QRect(0, yOf(r) - fm.height() / 2, left - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(r, 'f', 2));
    p.setPen(QPen(Qt::darkGreen, 1, Qt::DashLine));
    p.drawLine(plot.left(), yOf(1.0), plot.right(), yOf(1.0));
    p.drawText(plot.left() + 4, yOf(1.0) - 3, QStringLiteral("理論値"));
    p.setPen(QPen(Qt::blue, 1));
    for (const RatioPoint& pt : points_)
        p.drawLine(xOf(pt.number), yOf(0), xOf(pt.number), yOf(pt.ratio));
    p.setPen(Qt::black);
    const int textTop = plot.bottom() + 2;
    p.drawText(QRect(plot.left(), textTop, plot.width(), fm.height()), Qt::AlignLeft,
               QStringLiteral("第%1回").arg(first));
    p.drawText(QRect(plot.left(), textTop, plot.width(), fm.height()), Qt::AlignRight,
               QStringLiteral("第%1回").arg(last));
}

QString PrizeView::windowName()
{
    return QStringLiteral("当せん金");
}

PrizeView::PrizeView(ViewHost& host, DrawDatabaseRef database, QWidget* parent)
    : ChildView(host, windowName(), windowName(), parent), database_(std::move(database))
{
    note_ = new QLabel(this);
    note_->setObjectName("LabelNote");
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid_ = new GridWidget(this);
    grid_->setObjectName("fpSpread1");
    picture_ = new RatioPicture(this);
    picture_->setObjectName("RatioPicture");
    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setObjectName("Command1");
    connect(close_, &QPushButton::clicked, this, [this] { closeWindow(); });
}

PrizeView::~PrizeView() = default;

QSize PrizeView::sizeInTwips() const
{
    return QSize(15600, 10000);
}

void PrizeView::build()
{
    std::map<int, DrawDetails> details;
    QString problem;
    try {
        details = readStoredDetails(database_);
    } catch (const StoreError& e) {
        problem = QStringLiteral("\n当せん金を読めませんでした：") + QString::fromStdString(e.what());
    }
    const std::vector<PrizedDraw> draws = prizedDraws(host().drawHistory(), details);
    model_ = std::make_shared<ResultGrid>();
    fillPrizeTable(*model_, draws);
    grid_->setGrid(model_);
    grid_->scrollToLastRows();
    picture_->setPoints(straightRatios(draws));
    QString text = QString::fromUtf8(kPrizeTableNote);
    if (draws.empty())
        text += QStringLiteral(
            "\nまだ当せん金が記録された回はありません。当せん金のある結果を「データ管理 › 当選データ入力」"
            "の CSV取込・貼り付けて取込で取り込むと、ここに表示されます。");
    note_->setText(text + problem);
    arrangeControls();
}

void PrizeView::resizeEvent(QResizeEvent* event)
{
    ChildView::resizeEvent(event);
    arrangeControls();
}

void PrizeView::arrangeControls()
{
    const int margin = twipsToPixels(kMarginTwips);
    const int inner = width() - 2 * margin;
    note_->setGeometry(margin, margin, inner, note_->heightForWidth(inner));
    const QSize button = close_->sizeHint();
    const int buttonTop = height() - margin / 2 - button.height();
    close_->setGeometry(width() - margin - button.width(), buttonTop, button.width(), button.height());
    const int pictureHeight = twipsToPixels(kPictureHeightTwips);
    const int pictureTop = buttonTop - margin / 2 - pictureHeight;
    picture_->setGeometry(margin, pictureTop, inner, pictureHeight);
    const int gridTop = note_->geometry().bottom() + margin / 2;
    grid_->setGeometry(margin, gridTop, inner, std::max(pictureTop - margin / 2 - gridTop, 0));
}

}  // namespace rumone
