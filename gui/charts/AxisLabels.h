// What a chart's axes say, decided without a window: which category labels
// a category axis has room for, and how a yen value reads.
#pragma once

#include <string>

namespace rumone {

// Every how many categories a label stands so that no label is cut: 1 where
// all fit, else the first of 2, 5, 10, 20, 50 ... whose labels do.
// `axisLength` is the axis's length, `widestLabel` the widest label's width
// (the same unit), `count` the number of categories.
int categoryLabelStride(int count, double axisLength, double widestLabel);

// A yen value as an axis label: "-3,000円" below 10,000 yen either way,
// "-300万円" from there on (one decimal where the ten-thousands are not
// whole: "1.5万円").
std::string yenAxisLabel(double yen);

}  // namespace rumone
