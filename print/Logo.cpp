#include "print/Logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QImage DolvLogo()
{
    QImage logo(386, 146, QImage::Format_RGB32);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);

    // Water, light at the surface and dark at depth.
    QLinearGradient water(0, 0, 0, 146);
    water.setColorAt(0, QColor(64, 160, 210));
    water.setColorAt(1, QColor(8, 40, 88));
    p.fillRect(logo.rect(), water);

    // The surface: a gentle wave.
    QPainterPath wave;
    wave.moveTo(0, 14);
    for (int x = 0; x <= 386; x += 24)
        wave.quadTo(x + 6, 8, x + 12, 14), wave.quadTo(x + 18, 20, x + 24, 14);
    p.setPen(QPen(QColor(230, 245, 255), 2));
    p.drawPath(wave);

    // A dive: down, along the bottom, and up by its stops.
    const QPointF dive[] = {{14, 16},  {46, 122}, {120, 122}, {150, 84}, {170, 84}, {178, 70},
                            {196, 70}, {202, 58}, {226, 58},  {230, 48}, {262, 48}, {268, 16}};
    p.setPen(QPen(QColor(255, 204, 0), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(dive, static_cast<int>(std::size(dive)));
    p.setBrush(QColor(255, 204, 0));
    p.setPen(Qt::NoPen);
    for (const QPointF &stop : {dive[4], dive[6], dive[8], dive[10]})
        p.drawEllipse(stop, 4, 4);

    // The name.
    QFont name(QStringLiteral("Liberation Sans"));
    name.setPixelSize(58);
    name.setBold(true);
    p.setFont(name);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRectF(200, 66, 176, 72), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("DOLV"));
    return logo;
}
