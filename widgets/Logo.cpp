#include "widgets/Logo.h"

#include <QApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>

#include <functional>
#include <utility>

namespace {

// A picture drawn at a given size in device pixels.
using Drawing = std::function<QPixmap(const QSize &)>;

// The kept drawing of a size, or a new one. The pixmap cache goes with the application.
QPixmap drawnOnce(const QString &name, const QSize &size, const Drawing &draw)
{
    const QString key = QStringLiteral("verbarium-%1-%2x%3").arg(name).arg(size.width()).arg(size.height());
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = draw(size);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

// An icon that draws a size only when a window or a button first needs it: a
// window that is never given an icon by its platform draws nothing.
class DrawnIconEngine : public QIconEngine
{
public:
    DrawnIconEngine(QString name, QList<QSize> sizes, Drawing draw)
        : m_name(std::move(name)), m_sizes(std::move(sizes)), m_draw(std::move(draw))
    {
    }

    QIconEngine *clone() const override { return new DrawnIconEngine(*this); }
    QString key() const override { return QStringLiteral("verbarium-drawn"); }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return m_sizes; }

    // The pictures are square: the largest square that fits.
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return side > 0 ? QSize(side, side) : QSize();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const QSize square = actualSize(size, mode, state);
        if (square.isEmpty())
            return {};
        QPixmap pixmap = drawnOnce(m_name, square, m_draw);
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        return pixmap;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        const QSize shown = drawn.deviceIndependentSize().toSize();
        painter->drawPixmap(QRect(QPoint(), shown).translated(rect.center() - QRect(QPoint(), shown).center()), drawn);
    }

private:
    QString m_name;
    QList<QSize> m_sizes;
    Drawing m_draw;
};

QList<QSize> squares(std::initializer_list<int> sides)
{
    QList<QSize> sizes;
    for (int side : sides)
        sizes.append(QSize(side, side));
    return sizes;
}

QPixmap drawLogo(const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r(1, 1, size.width() - 2, size.height() - 2);

    // A book in deep blue with a gold "V" on its cover.
    QLinearGradient cover(r.topLeft(), r.bottomRight());
    cover.setColorAt(0, QColor(0x2b, 0x4c, 0x9a));
    cover.setColorAt(1, QColor(0x16, 0x2a, 0x5e));
    painter.setPen(QPen(QColor(0x0e, 0x1c, 0x40), r.width() / 40));
    painter.setBrush(cover);
    painter.drawRoundedRect(r, r.width() / 8, r.width() / 8);
    painter.fillRect(QRectF(r.left() + r.width() * 0.1, r.top(), r.width() * 0.06, r.height()), QColor(0xe9, 0xdc, 0xb0));

    QPainterPath v;
    v.moveTo(r.left() + r.width() * 0.30, r.top() + r.height() * 0.22);
    v.lineTo(r.left() + r.width() * 0.58, r.top() + r.height() * 0.80);
    v.lineTo(r.left() + r.width() * 0.86, r.top() + r.height() * 0.22);
    QPen pen(QColor(0xf2, 0xc2, 0x4b), r.width() * 0.12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(v);
    return pixmap;
}

} // namespace

namespace Logo {

QPixmap pixmap(const QSize &size, qreal devicePixelRatio)
{
    QPixmap pixmap = drawnOnce(QStringLiteral("logo"), size * devicePixelRatio, drawLogo);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon icon()
{
    return QIcon(new DrawnIconEngine(QStringLiteral("logo"), squares({16, 24, 32, 48, 64, 128, 256}), drawLogo));
}

QIcon letterIcon(const QString &letters, const QColor &ink)
{
    const QString name = QStringLiteral("letters-%1-%2").arg(letters, ink.name(QColor::HexArgb));
    return QIcon(new DrawnIconEngine(name, squares({16, 24, 32}), [letters, ink](const QSize &size) {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        QFont font(QStringLiteral("Serif"));
        font.setPixelSize(size.height() * 3 / 4);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, letters);
        return pixmap;
    }));
}

QIcon playIcon(const QColor &ink)
{
    const QString name = QStringLiteral("play-%1").arg(ink.name(QColor::HexArgb));
    return QIcon(new DrawnIconEngine(name, squares({16, 24, 32}), [ink](const QSize &size) {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(QPointF(0, 0), QSizeF(size))
                             .adjusted(size.width() * 0.22, size.height() * 0.16, -size.width() * 0.16,
                                       -size.height() * 0.16);
        const QPointF points[] = {r.topLeft(), {r.right(), r.center().y()}, r.bottomLeft()};
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawPolygon(points, 3);
        return pixmap;
    }));
}

} // namespace Logo
