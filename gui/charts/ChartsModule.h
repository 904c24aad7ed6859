// The program's charts come from a module of their own (rumone-charts.so),
// opened the first time a chart is made. Linked into the program, Qt Charts
// and the OpenGL libraries it brings are loaded and relocated at every start:
// on one core 2.7 ms for an empty window linked with them against the same
// window without them, and 3.8 ms of the program's CPU time to its first
// paint, the program linked with them against the program with the module
// (each pair in one run).
#pragma once

#include <QString>

class QWidget;

namespace rumone {

struct ChanceFigures;
struct ExcessTrack;
struct YenTrack;

// The picture of a view's figures beside chance (ChanceChart).
class ChancePicture {
public:
    virtual QWidget* widget() = 0;
    virtual void showFigures(const ChanceFigures& figures) = 0;
    virtual void setTitle(const QString& title) = 0;
    // Points drawn for items outside their range, and the items drawn.
    virtual int outsidePoints() const = 0;
    virtual int itemCount() const = 0;

protected:
    ~ChancePicture() = default;  // the widget goes with its parent
};

// A chart of the verification view (ExcessChart).
class ExcessPicture {
public:
    virtual QWidget* widget() = 0;
    // Predictor `index` of the track; an empty track clears the chart.
    virtual void showTrack(const ExcessTrack& track, int index) = 0;
    virtual void showYen(const YenTrack& track, int index) = 0;
    // The same picture for a line of another name (a player's rule).
    virtual void showNetYen(const YenTrack& track, int index, const QString& lineName) = 0;
    // Points drawn for the line.
    virtual int pointCount() const = 0;

protected:
    ~ExcessPicture() = default;
};

// What the module hands out: each maker returns a new widget of `parent`.
struct ChartMakers {
    ChancePicture* (*makeChancePicture)(QWidget* parent);
    ExcessPicture* (*makeExcessPicture)(QWidget* parent);
};

// The module's entry: a data symbol, read before anything of the module is
// called. `mark` tells an entry from other bytes under the same name (a
// function, say); `abiVersion` changes with every change of the classes
// above or of ChartMakers, so makers of another layout are never called.
inline constexpr unsigned long long kChartsEntryMark = 0x52554d4f4e454348ULL;
inline constexpr int kChartsAbiVersion = 3;
struct ChartsModuleEntry {
    unsigned long long mark;
    int abiVersion;
    int entrySize;  // sizeof(ChartsModuleEntry) as the module was built
    ChartMakers makers;
};
inline constexpr const char* kChartsEntrySymbol = "rumoneChartsModule";

// The makers of the module at `path`, or why there are none: `reason` is a
// Japanese sentence (no file, not loadable, no entry, another version).
struct OpenedChartsModule {
    const ChartMakers* makers = nullptr;
    QString reason;
};
OpenedChartsModule openChartsModule(const QString& path);

// The module's makers, the module opened on the first call: beside the
// program, else in ../lib/rumone/modules. Where it cannot be opened, makers of a
// plain text that says so stand in for every chart.
const ChartMakers& chartMakers();

}  // namespace rumone
