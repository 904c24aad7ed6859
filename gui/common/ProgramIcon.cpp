#include "gui/common/ProgramIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <array>

// The resource file is compiled into a static library: its initialiser
// must be called by name, outside any namespace.
static void initialiseProgramResources()
{
    Q_INIT_RESOURCE(rumone);
}

namespace rumone {

namespace {

constexpr std::array<int, 4> kDrawnSizes = {16, 32, 64, 256};

// The icon drawn at four sizes, each file decoded only when a window first
// asks for a size it serves: a start that shows the 16-pixel title-bar icon
// never decodes the 256-pixel one.
class ProgramIconEngine : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        (void)state;
        const int wanted = std::max(size.width(), size.height());
        std::size_t chosen = kDrawnSizes.size() - 1;
        for (std::size_t i = 0; i < kDrawnSizes.size(); ++i)
            if (kDrawnSizes[i] >= wanted) {
                chosen = i;
                break;
            }
        QPixmap& drawn = decoded_[chosen];
        if (drawn.isNull())
            drawn.load(QStringLiteral(":/rumone/rumone-%1.png").arg(kDrawnSizes[chosen]));
        QPixmap result =
            drawn.size() == size ? drawn : drawn.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal && qApp) {
            QStyleOption option;
            option.palette = QApplication::palette();
            result = QApplication::style()->generatedIconPixmap(mode, result, &option);
        }
        return result;
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = pixmap(rect.size() * ratio, mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, pm);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return QSize(side, side);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int s : kDrawnSizes)
            sizes.push_back(QSize(s, s));
        return sizes;
    }
    QIconEngine* clone() const override { return new ProgramIconEngine(*this); }
    QString key() const override { return QStringLiteral("rumone-program-icon"); }

private:
    std::array<QPixmap, kDrawnSizes.size()> decoded_;
};

}  // namespace

QIcon programIcon()
{
    static const bool registered = (initialiseProgramResources(), true);
    (void)registered;
    return QIcon(new ProgramIconEngine);
}

}  // namespace rumone
