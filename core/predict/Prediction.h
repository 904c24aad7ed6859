// The prediction view object: the ten reflect flags, the methods' state
// and the four grids that show what the methods offer (PredictionRules.h):
// grid 0 the cycle digits, grid 1 the elimination digits, grid 2 the
// rapid-fire digits and grid 3 the one-shot digits. It lives from start-up
// to exit; the window only shows what it holds.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"
#include "core/predict/PredictionOptions.h"
#include "core/predict/PredictionRules.h"

namespace rumone {

inline constexpr int kPredictionGridCount = 4;

class Prediction {
public:
    // Grid indices.
    enum GridIndex { kCycleGrid = 0, kEliminationGrid = 1, kRapidFireGrid = 2, kOneShotGrid = 3 };

    Prediction();

    // --- the reflect flags and their file "ルモーネ.ini", in the current
    // working directory unless set elsewhere (optionsFilePath). A missing
    // or unusable file keeps the flags as they are; writeInitFile returns
    // false when the file cannot be written.
    void setInitFilePath(std::string path) { initFilePath_ = std::move(path); }
    const std::string& initFilePath() const { return initFilePath_; }
    void readInitFile();
    bool writeInitFile() const;
    // True when the file is read-only, so that the switches are not saved.
    bool initFileReadOnly() const;
    const PredictionOptions& options() const { return options_; }
    bool flag(int index) const;
    // A click on a switch: sets flag `index` (0-9) and recomputes at once,
    // from the draws last scanned.
    void setFlag(int index, bool reflect);
    int countReflectedOptions() const;

    // --- the grids (shown by the view; the objects stay the same for the
    // life of this object).
    std::shared_ptr<ResultGrid> grid(int index) const;
    void layOutGrids();

    // Walks the complete draws of `history` afresh and computes the
    // prediction for the draw after its latest.
    void scanDraws(const DrawHistory& history);
    // The same from the latest draws alone, when they settle it (the
    // start's prediction, before the rest is read); false, and nothing
    // changed, when they do not.
    bool scanLatestDraws(const LatestDraws& latest);
    // What the grids show.
    const PredictedDigits& digits() const { return digits_; }
    int latestDrawNumber() const { return state_.latestDrawNumber(); }

private:
    void computePredictions();
    void fillGrids() const;

    PredictionOptions options_;
    std::string initFilePath_ = kOptionsFileName;
    MethodState state_;
    PredictedDigits digits_;
    std::array<std::shared_ptr<ResultGrid>, kPredictionGridCount> grids_;
};

// Whether the latest draws alone settle the prediction (at any reflect
// count): what the start's load asks before it reads the rest.
bool latestDrawsSettlePrediction(const LatestDraws& latest);

// The prediction of `history` with the first `reflect` (0-10) switches set,
// laid out as the view lays it out; the options file is not read.
Prediction predictionOf(const DrawHistory& history, int reflect);

}  // namespace rumone
