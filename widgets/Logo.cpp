#include "widgets/Logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Logo {

QPixmap pixmap(const QSize &size, qreal devicePixelRatio)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
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

QIcon icon()
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(pixmap(QSize(side, side)));
    return icon;
}

QIcon letterIcon(const QString &letters)
{
    QIcon icon;
    for (int side : {16, 24, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        QFont font(QStringLiteral("Serif"));
        font.setPixelSize(side * 3 / 4);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(0x2b, 0x4c, 0x9a));
        painter.drawText(pixmap.rect(), Qt::AlignCenter, letters);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace Logo
