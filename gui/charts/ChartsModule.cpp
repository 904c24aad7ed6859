#include "gui/charts/ChartsModule.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLibrary>
#include <QStringList>

namespace rumone {

namespace {

constexpr const char* kModuleFile = "rumone-charts.so";

// Where the module was not found: a text in the chart's place saying so,
// which takes every figure and shows none.
class MissingChart final : public QLabel, public ChancePicture, public ExcessPicture {
public:
    MissingChart(const QString& text, QWidget* parent) : QLabel(text, parent)
    {
        setWordWrap(true);
        setAlignment(Qt::AlignCenter);
        setFrameShape(QFrame::StyledPanel);
    }
    QWidget* widget() override { return this; }
    void showFigures(const ChanceFigures&) override {}
    void setTitle(const QString&) override {}
    int outsidePoints() const override { return 0; }
    int itemCount() const override { return 0; }
    void showTrack(const ExcessTrack&, int) override {}
    void showYen(const YenTrack&, int) override {}
    int pointCount() const override { return 0; }
};

// Why the module could not be opened, for the stand-ins' text (set once,
// when the makers are first asked for).
QString& missingModuleReason()
{
    static QString reason;
    return reason;
}

QString missingModuleText()
{
    return QStringLiteral("グラフの部品（%1）を読み込めないため、グラフを表示できません。\n%2")
        .arg(QString::fromUtf8(kModuleFile), missingModuleReason());
}

ChancePicture* missingChancePicture(QWidget* parent)
{
    return new MissingChart(missingModuleText(), parent);
}

ExcessPicture* missingExcessPicture(QWidget* parent)
{
    return new MissingChart(missingModuleText(), parent);
}

ChartMakers openChartMakers()
{
    const QString folder = QCoreApplication::applicationDirPath();
    QStringList failures;
    for (const QString& path : {folder + QLatin1Char('/') + QString::fromUtf8(kModuleFile),
                                folder + QStringLiteral("/../lib/rumone/modules/") + QString::fromUtf8(kModuleFile)}) {
        // The library stays loaded for the rest of the run: the charts it
        // made live as long as their windows.
        QLibrary module(path);
        if (const auto entry = reinterpret_cast<ChartMakersEntry>(module.resolve(kChartMakersSymbol)))
            if (const ChartMakers* makers = entry(); makers && makers->makeChancePicture && makers->makeExcessPicture)
                return *makers;
        failures << module.errorString();
    }
    missingModuleReason() = failures.join(QLatin1Char('\n'));
    return {missingChancePicture, missingExcessPicture};
}

}  // namespace

const ChartMakers& chartMakers()
{
    static const ChartMakers makers = openChartMakers();
    return makers;
}

}  // namespace rumone
