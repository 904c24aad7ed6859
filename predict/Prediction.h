// Placeholder until the prediction methods land.
#pragma once

#include "predict/PredictionOptions.h"

namespace rumone {

class Prediction {
public:
    PredictionOptions options;
    void ReadInitFile() {}
    bool WriteInitFile() { return true; }
};

}  // namespace rumone
