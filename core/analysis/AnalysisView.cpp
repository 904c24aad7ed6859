#include "core/analysis/AnalysisView.h"

namespace rumone {

LegendItem legendBall(std::string objectName, int left, int top, int width, int height, Rgb body, Rgb highlight,
                      int ballPixels)
{
    LegendItem item;
    item.kind = LegendItem::Kind::Ball;
    item.objectName = std::move(objectName);
    item.left = left;
    item.top = top;
    item.width = width;
    item.height = height;
    item.body = body;
    item.highlight = highlight;
    item.ballPixels = ballPixels;
    return item;
}

LegendItem legendSwatch(std::string objectName, int left, int top, int width, int height, Rgb colour)
{
    LegendItem item;
    item.kind = LegendItem::Kind::Swatch;
    item.objectName = std::move(objectName);
    item.left = left;
    item.top = top;
    item.width = width;
    item.height = height;
    item.body = colour;
    return item;
}

LegendItem legendLabel(std::string objectName, int left, int top, int width, int height, std::string text)
{
    LegendItem item;
    item.kind = LegendItem::Kind::Label;
    item.objectName = std::move(objectName);
    item.left = left;
    item.top = top;
    item.width = width;
    item.height = height;
    item.text = std::move(text);
    return item;
}

}  // namespace rumone
