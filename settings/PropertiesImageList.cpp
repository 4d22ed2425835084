#include "settings/PropertiesImageList.h"

#include "platform/IconPalette.h"

#include <QPainter>
#include <QPainterPath>

namespace {

using namespace IconPalette;

// Every icon is drawn on a 24 x 24 grid; the painter is scaled to the wanted size.

// Rates: a green arrow up beside an orange arrow down.
void drawRates(QPainter &p)
{
    const auto arrow = [&p](double x, bool up, const QColor &c) {
        p.setPen(QPen(c, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const double tip = up ? 3 : 21, tail = up ? 21 : 3, head = up ? 4.5 : -4.5;
        p.drawLine(QPointF(x, tail), QPointF(x, tip));
        p.drawPolyline(QPolygonF({QPointF(x - 4, tip + head), QPointF(x, tip), QPointF(x + 4, tip + head)}));
    };
    arrow(7, true, kGreen);
    arrow(17, false, kOrange);
}

// Decompression: a dive profile with its stops as steps up to the surface.
void drawDeco(QPainter &p)
{
    p.setPen(QPen(kWater, 1.2));
    p.drawLine(QPointF(2, 4), QPointF(22, 4)); // the surface
    p.setPen(ink(2));
    p.drawPolyline(QPolygonF({QPointF(2, 4), QPointF(6, 20), QPointF(11, 20), QPointF(13, 14), QPointF(16, 14),
                              QPointF(17, 10), QPointF(19, 10), QPointF(20, 7), QPointF(22, 7)}));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(14.5, 14), 1.6, 1.6);
    p.drawEllipse(QPointF(18, 10), 1.6, 1.6);
}

// Units: a ruler with metre and foot marks.
void drawUnits(QPainter &p)
{
    p.save();
    p.translate(12, 12);
    p.rotate(-35);
    p.setPen(ink(1.4));
    p.setBrush(kYellow);
    p.drawRect(QRectF(-11, -4, 22, 8));
    for (int i = 0; i < 9; ++i) {
        const double x = -9 + i * 2.25;
        p.drawLine(QPointF(x, -4), QPointF(x, i % 2 ? -1.5 : 0.5));
    }
    p.restore();
}

// Gases: two cylinders, green and blue.
void drawGases(QPainter &p)
{
    const auto cylinder = [&p](double x, const QColor &shoulder) {
        p.setPen(ink(1.3));
        p.setBrush(shoulder);
        p.drawRoundedRect(QRectF(x, 5.5, 8, 6), 3.5, 3);
        p.setBrush(kPaper);
        p.drawRoundedRect(QRectF(x, 9, 8, 13), 2, 2);
        p.setBrush(kInk);
        p.drawRect(QRectF(x + 2.8, 2.5, 2.4, 3));
    };
    cylinder(2.5, kGreen);
    cylinder(13.5, kWater);
}

// Altitude: a mountain with a snow cap over a lake.
void drawAltitude(QPainter &p)
{
    p.setPen(ink(1.4));
    p.setBrush(kGrey);
    p.drawPolygon(QPolygonF({QPointF(1.5, 18), QPointF(10, 4), QPointF(14, 10), QPointF(16.5, 7), QPointF(22.5, 18)}));
    p.setBrush(kPaper);
    p.drawPolygon(QPolygonF({QPointF(7.6, 8), QPointF(10, 4), QPointF(12.4, 8), QPointF(10, 9.5)}));
    p.setPen(Qt::NoPen);
    p.setBrush(kWater);
    p.drawRoundedRect(QRectF(1.5, 18.5, 21, 4), 1.5, 1.5);
}

// Rebreather: the breathing loop with its arrows, set-point in the middle.
void drawRebreather(QPainter &p)
{
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 18, 18), 20 * 16, 140 * 16);
    p.drawArc(QRectF(3, 3, 18, 18), 200 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({QPointF(3.2, 12.8), QPointF(1, 8.8), QPointF(6.4, 9.6)}));
    p.drawPolygon(QPolygonF({QPointF(20.8, 11.2), QPointF(23, 15.2), QPointF(17.6, 14.4)}));
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(12, 12), 3.2, 3.2);
}

// Gas limits: a gauge whose needle stands short of the red band.
void drawLimits(QPainter &p)
{
    const QRectF dial(2.5, 4, 19, 19);
    p.setPen(ink(1.4));
    p.setBrush(kPaper);
    p.drawEllipse(dial);
    p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(dial.adjusted(2.5, 2.5, -2.5, -2.5), 0, 45 * 16);
    p.setPen(QPen(kGreen, 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(dial.adjusted(2.5, 2.5, -2.5, -2.5), 45 * 16, 135 * 16);
    p.setPen(ink(1.8));
    p.drawLine(dial.center(), dial.center() + QPointF(5, -5));
    p.setBrush(kInk);
    p.drawEllipse(dial.center(), 1.4, 1.4);
}

// Warnings: the yellow triangle with its exclamation mark.
void drawWarnings(QPainter &p)
{
    p.setPen(ink(1.5));
    p.setBrush(kYellow);
    p.drawPolygon(QPolygonF({QPointF(12, 2.5), QPointF(22.5, 21), QPointF(1.5, 21)}));
    p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 9), QPointF(12, 15));
    p.drawPoint(QPointF(12, 18.3));
}

} // namespace

QPixmap PropertiesImageList::draw(int index, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    if (index < 1 || index > Count)
        return pm;
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    switch (index) {
    case 1: drawRates(p); break;
    case 2: drawDeco(p); break;
    case 3: drawUnits(p); break;
    case 4: drawGases(p); break;
    case 5: drawAltitude(p); break;
    case 6: drawRebreather(p); break;
    case 7: drawLimits(p); break;
    case 8: drawWarnings(p); break;
    }
    return pm;
}

QIcon PropertiesImageList::image(int index)
{
    if (index < 1 || index > Count)
        return QIcon();
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(draw(index, size));
    return icon;
}
