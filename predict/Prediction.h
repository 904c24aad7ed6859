// Placeholder until the prediction methods land.
#pragma once

#include <memory>

#include "history/DrawHistory.h"
#include "predict/PredictionOptions.h"
#include "ui/ResultGrid.h"

namespace rumone {

class Prediction {
public:
    void ReadInitFile() {}
    bool WriteInitFile() const { return true; }
    const PredictionOptions& Options() const { return options_; }
    bool Flag(int index) const { return options_.flags[index]; }
    void SetFlag(int index, bool reflect) { options_.flags[index] = reflect; }
    std::shared_ptr<ResultGrid> Grid(int index) const { return grids_[index]; }
    void LayOutGrids() {}
    void ScanDraws(const DrawHistory&) {}

private:
    PredictionOptions options_;
    std::array<std::shared_ptr<ResultGrid>, 4> grids_{std::make_shared<ResultGrid>(), std::make_shared<ResultGrid>(),
                                                      std::make_shared<ResultGrid>(), std::make_shared<ResultGrid>()};
};

}  // namespace rumone
