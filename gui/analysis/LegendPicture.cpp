#include "gui/analysis/LegendPicture.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

#include "gui/common/QtConversions.h"

namespace rumone {

LegendPicture::LegendPicture(const LegendItem& item, QWidget* parent) : QWidget(parent), item_(item)
{
    setObjectName(toQString(item.objectName));
}

void LegendPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (item_.kind == LegendItem::Kind::Swatch) {
        p.fillRect(rect(), toQColor(item_.body));
        return;
    }
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    const int d = std::min({item_.ballPixels, width(), height()});
    const QRectF ball((width() - d) / 2.0, (height() - d) / 2.0, d, d);
    QRadialGradient shade(ball.center() - QPointF(d / 5.0, d / 5.0), d * 0.6);
    shade.setColorAt(0.0, toQColor(item_.highlight));
    shade.setColorAt(1.0, toQColor(item_.body));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(ball);
}

}  // namespace rumone
