// A legend picture of an analysis window.
#pragma once

#include <QWidget>

#include "core/analysis/AnalysisView.h"

namespace rumone {

// A legend picture: a shaded ball or a plain swatch.
class LegendPicture : public QWidget {
    Q_OBJECT
public:
    LegendPicture(const LegendItem& item, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LegendItem item_;
};

}  // namespace rumone
