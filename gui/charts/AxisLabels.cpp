#include "gui/charts/AxisLabels.h"

#include <cmath>
#include <cstdlib>

namespace rumone {

namespace {

// The room between two labels, as a share of the widest label.
constexpr double kLabelGap = 0.25;

// 1, 2, 5, 10, 20, 50 ...: the step after `stride`.
int nextStride(int stride)
{
    int scale = 1;
    while (stride >= 10 * scale)
        scale *= 10;
    const int lead = stride / scale;
    return lead == 1 ? 2 * scale : lead == 2 ? 5 * scale : 10 * scale;
}

// Digits of a whole number in threes: 3000000 -> "3,000,000".
std::string grouped(long long value)
{
    std::string digits = std::to_string(std::llabs(value));
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return value < 0 ? "-" + digits : digits;
}

}  // namespace

int categoryLabelStride(int count, double axisLength, double widestLabel)
{
    if (count <= 1 || !(axisLength > 0) || !(widestLabel > 0))
        return 1;
    const double slot = axisLength / count;
    const double needed = widestLabel * (1 + kLabelGap);
    int stride = 1;
    while (stride < count && slot * stride < needed)
        stride = nextStride(stride);
    return stride;
}

std::string yenAxisLabel(double yen)
{
    const long long whole = std::llround(yen);
    if (std::llabs(whole) < 10000)
        return grouped(whole) + "円";
    const long long tenths = std::llround(yen / 1000.0);  // in thousands of yen, that is tenths of 万
    if (tenths % 10 == 0)
        return grouped(tenths / 10) + "万円";
    const std::string sign = tenths < 0 ? "-" : "";
    return sign + grouped(std::llabs(tenths) / 10) + "." + std::to_string(std::llabs(tenths) % 10) + "万円";
}

}  // namespace rumone
