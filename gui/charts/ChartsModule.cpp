#include "gui/charts/ChartsModule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>
#include <QStringList>

#include <cstring>

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
    void showNetYen(const YenTrack&, int, const QString&) override {}
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

// The entry read as plain bytes, its mark first: nothing of the module is
// called, nor read as an entry, before its mark, version and size are known
// to match the program's (under the entry's name may stand a function, at
// any alignment).
QString entryProblem(const void* symbol)
{
    unsigned long long mark = 0;
    std::memcpy(&mark, symbol, sizeof mark);
    if (mark != kChartsEntryMark)
        return QStringLiteral("入口「%1」がグラフの部品の入口ではありません。")
            .arg(QString::fromUtf8(kChartsEntrySymbol));
    ChartsModuleEntry entry{};
    std::memcpy(&entry, symbol, sizeof entry);
    if (entry.abiVersion != kChartsAbiVersion || entry.entrySize != static_cast<int>(sizeof(ChartsModuleEntry)))
        return QStringLiteral("部品の版（%1）がこのプログラムの版（%2）と合いません。")
            .arg(entry.abiVersion)
            .arg(kChartsAbiVersion);
    if (!entry.makers.makeChancePicture || !entry.makers.makeExcessPicture)
        return QStringLiteral("部品の入口にグラフの作り手がありません。");
    return {};
}

ChartMakers openChartMakers()
{
    const QString folder = QCoreApplication::applicationDirPath();
    QStringList failures;
    for (const QString& path : {folder + QLatin1Char('/') + QString::fromUtf8(kModuleFile),
                                folder + QStringLiteral("/../lib/rumone/modules/") + QString::fromUtf8(kModuleFile)}) {
        OpenedChartsModule opened = openChartsModule(path);
        if (opened.makers)
            return *opened.makers;
        failures << opened.reason;
    }
    missingModuleReason() = failures.join(QLatin1Char('\n'));
    return {missingChancePicture, missingExcessPicture};
}

}  // namespace

OpenedChartsModule openChartsModule(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {nullptr, QStringLiteral("%1：ファイルがありません。").arg(path)};
    // The library stays loaded for the rest of the run: the charts it made
    // live as long as their windows.
    QLibrary module(path);
    if (!module.load())
        return {nullptr, QStringLiteral("%1：読み込めません（%2）。").arg(path, module.errorString())};
    const QFunctionPointer symbol = module.resolve(kChartsEntrySymbol);
    if (!symbol)
        return {nullptr, QStringLiteral("%1：入口「%2」がありません。古い版か、別のファイルです。")
                             .arg(path, QString::fromUtf8(kChartsEntrySymbol))};
    const auto* bytes = reinterpret_cast<const void*>(symbol);
    if (const QString problem = entryProblem(bytes); !problem.isEmpty())
        return {nullptr, path + QStringLiteral("：") + problem};
    return {&static_cast<const ChartsModuleEntry*>(bytes)->makers, {}};
}

const ChartMakers& chartMakers()
{
    static const ChartMakers makers = openChartMakers();
    return makers;
}

}  // namespace rumone
