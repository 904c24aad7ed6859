#include "gui/analysis/ChanceChartWindow.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <algorithm>
#include <array>

#include "gui/charts/ChartsModule.h"
#include "gui/common/FileDialogs.h"
#include "gui/common/Messages.h"
#include "gui/common/PictureFile.h"
#include "gui/common/PrintDialog.h"
#include "gui/common/QtConversions.h"
#include "gui/common/Twips.h"

namespace rumone {

namespace {

constexpr int kMarginTwips = 120;
constexpr int kWidthTwips = 10800;
constexpr int kHeightTwips = 8400;

struct Period {
    const char* caption;
    int lastDraws;  // 0: every draw
};
constexpr std::array<Period, 3> kPeriods = {{{"全期間", 0}, {"最近100回", 100}, {"最近50回", 50}}};

}  // namespace

ChanceChartWindow::ChanceChartWindow(ViewHost& host, const AnalysisViewSpec& spec, QWidget* parent)
    : ChildView(host, windowNameFor(spec), toQString(spec.caption) + QStringLiteral("（グラフ）"), parent), spec_(spec)
{
    period_ = new QComboBox(this);
    period_->setObjectName("CboPeriod");
    for (const Period& p : kPeriods)
        period_->addItem(QString::fromUtf8(p.caption));
    periodNote_ = new QLabel(this);
    periodNote_->setObjectName("LblPeriod");
    periodNote_->setWordWrap(true);
    chart_ = chartMakers().makeChancePicture(this);
    chart_->widget()->setObjectName("ChartChance");
    verdict_ = new QLabel(this);
    verdict_->setObjectName("LblVerdict");
    verdict_->setWordWrap(true);
    verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setObjectName("CmdClose");
    connect(close_, &QPushButton::clicked, this, [this] { closeWindow(); });
    print_ = new QPushButton(QStringLiteral("印刷"), this);
    print_->setObjectName("CmdPrint");
    connect(print_, &QPushButton::clicked, this, [this] { onPrintClicked(); });
    save_ = new QPushButton(QStringLiteral("PNG保存"), this);
    save_->setObjectName("CmdSave");
    connect(save_, &QPushButton::clicked, this, [this] { onSaveClicked(); });
    connect(period_, &QComboBox::currentIndexChanged, this, [this] { showPeriod(); });
}

QString ChanceChartWindow::windowNameFor(const AnalysisViewSpec& spec)
{
    return toQString(spec.objectName) + QStringLiteral("グラフ");
}

void ChanceChartWindow::choosePeriod(int index)
{
    period_->setCurrentIndex(index);
}

QString ChanceChartWindow::verdictText() const
{
    return verdict_->text();
}

QSize ChanceChartWindow::sizeInTwips() const
{
    return QSize(kWidthTwips, kHeightTwips);
}

void ChanceChartWindow::build()
{
    showPeriod();
    arrangeControls();
}

void ChanceChartWindow::showPeriod()
{
    const int index = std::clamp(period_->currentIndex(), 0, static_cast<int>(kPeriods.size()) - 1);
    const int last = kPeriods[static_cast<std::size_t>(index)].lastDraws;
    const DrawHistory& history = host().drawHistory();
    figures_ = spec_.chance ? spec_.chance(latestDraws(history, last)) : ChanceFigures{};
    chart_->showFigures(figures_);
    chart_->setTitle(toQString(spec_.caption) + QStringLiteral("：") +
                     QString::fromUtf8(kPeriods[static_cast<std::size_t>(index)].caption));
    periodNote_->setText(toQString(periodNote(figures_)));
    verdict_->setText(toQString(chanceVerdictLine(figures_, chanceOverview(history, last))));
    arrangeControls();
}

void ChanceChartWindow::resizeEvent(QResizeEvent* event)
{
    ChildView::resizeEvent(event);
    arrangeControls();
}

void ChanceChartWindow::arrangeControls()
{
    const int margin = twipsToPixels(kMarginTwips);
    const int inner = std::max(width() - 2 * margin, 0);
    const QSize combo = period_->sizeHint();
    period_->setGeometry(margin, margin, combo.width(), combo.height());
    const int noteLeft = margin * 2 + combo.width();
    const int noteWidth = std::max(width() - margin - noteLeft, 0);
    periodNote_->setGeometry(noteLeft, margin, noteWidth,
                             std::max(periodNote_->heightForWidth(noteWidth), combo.height()));
    const int chartTop = std::max(period_->geometry().bottom(), periodNote_->geometry().bottom()) + margin / 2;

    const QSize button = close_->sizeHint().expandedTo(save_->sizeHint());
    const int buttonTop = height() - margin / 2 - button.height();
    int x = width() - margin;
    for (QPushButton* b : {close_, print_, save_}) {
        x -= button.width();
        b->setGeometry(x, buttonTop, button.width(), button.height());
        x -= margin / 2;
    }
    const int verdictHeight = verdict_->heightForWidth(inner);
    const int verdictTop = buttonTop - margin / 2 - verdictHeight;
    verdict_->setGeometry(margin, verdictTop, inner, verdictHeight);
    chart_->widget()->setGeometry(margin, chartTop, inner, std::max(verdictTop - margin / 2 - chartTop, 0));
}

QImage ChanceChartWindow::pictureImage() const
{
    const QPixmap chart = chart_->widget()->grab();
    const int margin = twipsToPixels(kMarginTwips);
    QFont font = verdict_->font();
    QFontMetrics metrics(font);
    const QRect textBox(margin, 0, chart.width() - 2 * margin, 0);
    const QRect needed = metrics.boundingRect(textBox, Qt::TextWordWrap, verdict_->text());
    QImage image(chart.width(), chart.height() + needed.height() + 2 * margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, chart);
    painter.setFont(font);
    painter.drawText(QRect(margin, chart.height() + margin, textBox.width(), needed.height()), Qt::TextWordWrap,
                     verdict_->text());
    return image;
}

bool ChanceChartWindow::savePicture(const QString& path, QString* problem) const
{
    const QString why = writePngFile(pictureImage(), path);
    if (problem)
        *problem = why;
    return why.isEmpty();
}

void ChanceChartWindow::onSaveClicked()
{
    const QString path = chooseFile(this, true, QStringLiteral("PNG保存"), windowTitle() + QStringLiteral(".png"),
                                    QStringLiteral("PNG画像 (*.png)"))
                             .path;
    if (path.isEmpty())
        return;
    QString problem;
    if (!savePicture(path, &problem))
        showMessage(this, QMessageBox::Critical, messageCaption(), problem);
}

void ChanceChartWindow::onPrintClicked()
{
    const QImage image = pictureImage();
    printThroughDialog(this, windowTitle(), [image](QPrinter& printer, const PrintProgress&) {
        QPainter painter;
        if (!painter.begin(&printer))
            return PrintResult::Failed;
        const QRect page = painter.viewport();
        const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
        painter.setViewport(page.x(), page.y(), size.width(), size.height());
        painter.setWindow(image.rect());
        painter.drawImage(0, 0, image);
        return painter.end() ? PrintResult::Printed : PrintResult::Failed;
    });
}

}  // namespace rumone
