#include "shell/ImageList.h"

#include "platform/IconPalette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

using namespace IconPalette;

// Every icon is drawn on a 24 x 24 grid; the painter is scaled to the wanted size.
void drawSheet(QPainter &p)
{
    QPainterPath sheet;
    sheet.moveTo(5, 2.5);
    sheet.lineTo(14.5, 2.5);
    sheet.lineTo(19.5, 7.5);
    sheet.lineTo(19.5, 21.5);
    sheet.lineTo(5, 21.5);
    sheet.closeSubpath();
    p.setPen(ink());
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF({QPointF(14.5, 2.5), QPointF(14.5, 7.5), QPointF(19.5, 7.5)}));
}

void drawCylinder(QPainter &p, double x, double w, const QColor &body, const QColor &shoulder)
{
    p.setPen(ink(1.3));
    p.setBrush(shoulder);
    p.drawRoundedRect(QRectF(x, 6, w, 5), w / 2.5, 2.5);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(x, 8.5, w, 13), 2, 2);
    p.setBrush(kInk);
    p.drawRect(QRectF(x + w / 2 - 1.2, 3, 2.4, 3));           // valve
    p.drawRect(QRectF(x + w / 2 - 1.2, 2.2, 4.2, 1.6));
}

void drawNew(QPainter &p)
{
    drawSheet(p);
    p.setPen(QPen(kGreen, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.2, 11), QPointF(12.2, 19));
    p.drawLine(QPointF(8.2, 15), QPointF(16.2, 15));
}

void drawOpen(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(QColor(228, 186, 92));
    QPainterPath back;
    back.moveTo(2.5, 5.5);
    back.lineTo(9, 5.5);
    back.lineTo(11, 7.5);
    back.lineTo(19.5, 7.5);
    back.lineTo(19.5, 19.5);
    back.lineTo(2.5, 19.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(248, 212, 120));
    p.drawPolygon(QPolygonF({QPointF(2.5, 19.5), QPointF(6, 10.5), QPointF(22.5, 10.5), QPointF(19.5, 19.5)}));
}

void drawSave(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(kWater);
    QPainterPath disk;
    disk.moveTo(3.5, 3.5);
    disk.lineTo(17.5, 3.5);
    disk.lineTo(20.5, 6.5);
    disk.lineTo(20.5, 20.5);
    disk.lineTo(3.5, 20.5);
    disk.closeSubpath();
    p.drawPath(disk);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 3.5, 9, 6));
    p.setBrush(kInk);
    p.drawRect(QRectF(12.5, 4.5, 2, 4));
    p.setBrush(kPaper);
    p.drawRect(QRectF(6.5, 13, 11, 7.5));
}

// Gradient factors: a dial whose needle stands at a conservative setting.
void drawConservatism(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(kPaper);
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.setPen(QPen(kGreen, 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(5.5, 5.5, 13, 13), 90 * 16, 90 * 16);
    p.setPen(QPen(kYellow, 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(5.5, 5.5, 13, 13), 45 * 16, 45 * 16);
    p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(5.5, 5.5, 13, 13), 0, 45 * 16);
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 12), QPointF(8, 7.5));
    p.setBrush(kInk);
    p.drawEllipse(QPointF(12, 12), 1.6, 1.6);
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 5, QFont::Bold));
    p.drawText(QRectF(6, 14, 12, 6), Qt::AlignCenter, QStringLiteral("GF"));
}

// The ascent: a staircase of decompression stops rising to the surface.
void drawAscent(QPainter &p)
{
    p.setPen(QPen(kWater, 1.2));
    p.drawLine(QPointF(2, 4), QPointF(22, 4));
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(2.5, 20.5), QPointF(8, 20.5), QPointF(10, 15.5), QPointF(13, 15.5),
                              QPointF(14.5, 11.5), QPointF(17, 11.5), QPointF(18, 8)}));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawPolygon(QPolygonF({QPointF(18, 3.5), QPointF(21.8, 9.5), QPointF(14.2, 9.5)}));
}

void drawInfo(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(kWater);
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 7.5), 1.8, 1.8);
    p.drawRoundedRect(QRectF(10.3, 10.5, 3.4, 8.5), 1, 1);
}

// Settings of the dive: three sliders.
void drawTemplate(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(2.5, 3.5, 19, 17), 2, 2);
    const double knobs[3] = {8, 15, 11};
    for (int i = 0; i < 3; ++i) {
        const double y = 7.5 + i * 4.5;
        p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5.5, y), QPointF(18.5, y));
        p.setPen(ink(1.1));
        p.setBrush(kOrange);
        p.drawRect(QRectF(knobs[i] - 1.5, y - 2, 3, 4));
    }
}

// Open circuit: a cylinder breathing bubbles out into the water.
void drawOpenCircuit(QPainter &p)
{
    drawCylinder(p, 3, 8.5, kYellow, kPaper);
    p.setPen(QPen(kWater, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(17, 15), 2.2, 2.2);
    p.drawEllipse(QPointF(19, 9), 1.8, 1.8);
    p.drawEllipse(QPointF(16.5, 4), 1.4, 1.4);
}

// Constant ppO2: the breathing loop of a rebreather.
void drawRebreather(QPainter &p)
{
    p.setPen(QPen(kGreen, 2.6, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 4, 16, 16), 110 * 16, 280 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawPolygon(QPolygonF({QPointF(7.2, 1.5), QPointF(12.5, 4.2), QPointF(7.6, 7.8)}));
    p.setPen(ink(1.2));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(8.5, 9, 7, 6), 1.5, 1.5);
    p.setPen(QPen(kInk, 1));
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 4, QFont::Bold));
    p.drawText(QRectF(8.5, 9, 7, 6), Qt::AlignCenter, QStringLiteral("O2"));
}

void drawReport(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 2.5, 10, 7));
    p.setBrush(QColor(120, 130, 140));
    p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 14.5, 10, 7));
    p.setPen(QPen(kInk, 1));
    p.drawLine(QPointF(8.5, 17), QPointF(15.5, 17));
    p.drawLine(QPointF(8.5, 19.3), QPointF(14, 19.3));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(18.5, 11), 1, 1);
}

// Bail-out: an open-circuit cylinder with a warning mark.
void drawBailout(QPainter &p)
{
    drawCylinder(p, 2.5, 8.5, kOrange, kPaper);
    p.setPen(ink(1.3));
    p.setBrush(kYellow);
    p.drawPolygon(QPolygonF({QPointF(17, 6.5), QPointF(22.5, 20.5), QPointF(11.5, 20.5)}));
    p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17, 11), QPointF(17, 15.5));
    p.drawPoint(QPointF(17, 18.3));
}

void drawTable(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 3.5, 19, 17));
    p.setBrush(kWater);
    p.drawRect(QRectF(2.5, 3.5, 19, 4));
    p.setPen(QPen(kInk, 1));
    for (double y : {11.5, 15.5})
        p.drawLine(QPointF(2.5, y), QPointF(21.5, y));
    for (double x : {8.5, 15.0})
        p.drawLine(QPointF(x, 3.5), QPointF(x, 20.5));
}

// The next dive after a surface interval: two dives with the interval between them.
void drawMultilevel(QPainter &p)
{
    p.setPen(QPen(kWater, 1.2));
    p.drawLine(QPointF(1.5, 5), QPointF(22.5, 5));
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(2, 5), QPointF(4, 17), QPointF(7.5, 17), QPointF(9.5, 5)}));
    p.setPen(QPen(kGreen, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(14.5, 5), QPointF(16.5, 14), QPointF(20, 14), QPointF(22, 5)}));
    p.setPen(QPen(kOrange, 1.4, Qt::DotLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 5), QPointF(13.5, 5));
}

// The blending calculator: a cylinder filled layer by layer with oxygen, helium and air,
// and the gas flowing in.
void drawMixer(QPainter &p)
{
    const QRectF body(9.5, 7.5, 10, 14.5);
    QPainterPath cylinder;
    cylinder.addRoundedRect(body, 3, 3);
    p.save();
    p.setClipPath(cylinder);
    const QColor layers[3] = {QColor(150, 200, 240), QColor(170, 120, 70), kPaper}; // air, helium, O2
    for (int i = 0; i < 3; ++i)
        p.fillRect(QRectF(body.left(), body.bottom() - (i + 1) * body.height() / 3, body.width(),
                          body.height() / 3 + 0.5),
                   layers[i]);
    p.restore();
    p.setPen(ink(1.3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cylinder);
    p.setBrush(kInk);
    p.drawRect(QRectF(13.3, 4.5, 2.4, 3));
    p.setPen(QPen(kGreen, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(2.5, 9), QPointF(2.5, 3.5), QPointF(10.5, 3.5)}));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawPolygon(QPolygonF({QPointF(13, 3.5), QPointF(9.5, 0.8), QPointF(9.5, 6.2)}));
}

// A dive window: a profile with descent, bottom and stops.
void drawDive(QPainter &p)
{
    p.setPen(ink(1.2));
    p.setBrush(QColor(225, 238, 250));
    p.drawRect(QRectF(1.5, 3.5, 21, 17));
    p.setPen(QPen(kWater, 1));
    p.drawLine(QPointF(1.5, 6), QPointF(22.5, 6));
    p.setPen(QPen(kRed, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(3, 6), QPointF(6, 17), QPointF(12, 17), QPointF(14, 12),
                              QPointF(16.5, 12), QPointF(17.5, 9), QPointF(20, 9), QPointF(21, 6)}));
}

void drawSpeaker(QPainter &p, bool on)
{
    p.setPen(ink(1.3));
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(7, 9), QPointF(12, 4.5), QPointF(12, 19.5),
                             QPointF(7, 15), QPointF(3, 15)}));
    p.setBrush(Qt::NoBrush);
    if (on) {
        p.setPen(QPen(kGreen, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(9, 8, 8, 8), -50 * 16, 100 * 16);
        p.drawArc(QRectF(7, 4.5, 14, 15), -50 * 16, 100 * 16);
    } else {
        p.setPen(QPen(kRed, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 8.5), QPointF(21, 15.5));
        p.drawLine(QPointF(21, 8.5), QPointF(15, 15.5));
    }
}

void drawHelp(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(kGreen);
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 13, QFont::Bold));
    p.drawText(QRectF(2.5, 2.5, 19, 19), Qt::AlignCenter, QStringLiteral("?"));
}

// A repetitive dive: two links of a chain.
void drawRepetitive(QPainter &p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 2.4));
    p.drawRoundedRect(QRectF(2.5, 8, 11, 8), 4, 4);
    p.setPen(QPen(kWater, 2.4));
    p.drawRoundedRect(QRectF(10.5, 8, 11, 8), 4, 4);
}

} // namespace

QPixmap ImageList::draw(int index, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    if (index < 1 || index > Count)
        return pixmap;
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 24.0, size / 24.0);
    switch (index) {
    case New: drawNew(p); break;
    case Open: drawOpen(p); break;
    case Save: drawSave(p); break;
    case Conservatism: drawConservatism(p); break;
    case Ascent: drawAscent(p); break;
    case AscentInfo: drawInfo(p); break;
    case Template: drawTemplate(p); break;
    case OpenCircuit: drawOpenCircuit(p); break;
    case Rebreather: drawRebreather(p); break;
    case Report: drawReport(p); break;
    case Bailout: drawBailout(p); break;
    case TableExpert: drawTable(p); break;
    case Multilevel: drawMultilevel(p); break;
    case Mixer: drawMixer(p); break;
    case Dive: drawDive(p); break;
    case SoundOn: drawSpeaker(p, true); break;
    case SoundOff: drawSpeaker(p, false); break;
    case Help: drawHelp(p); break;
    case Repetitive: drawRepetitive(p); break;
    }
    return pixmap;
}

QIcon ImageList::image(int index) const
{
    if (index < 1 || index > Count)
        return {};
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(draw(index, size));
    return icon;
}

QIcon ImageList::image(const QString &key) const
{
    if (key == QLatin1String("OpenCircuit"))
        return image(OpenCircuit);
    if (key == QLatin1String("Rebreather"))
        return image(Rebreather);
    return {};
}

QPixmap ImageList::splashPicture()
{
    const int w = 480, h = 300;
    QPixmap pixmap(w, h);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sea(0, 0, 0, h);
    sea.setColorAt(0, QColor(120, 190, 235));
    sea.setColorAt(0.25, QColor(40, 120, 190));
    sea.setColorAt(1, QColor(8, 30, 70));
    p.fillRect(pixmap.rect(), sea);
    // The surface and a dive drawn into the water: descent, bottom, the stops of the ascent.
    p.setPen(QPen(QColor(255, 255, 255, 140), 1.5));
    p.drawLine(0, 60, w, 60);
    QPolygonF dive({QPointF(40, 60), QPointF(90, 230), QPointF(220, 230), QPointF(250, 170),
                    QPointF(290, 170), QPointF(305, 140), QPointF(345, 140), QPointF(358, 115),
                    QPointF(410, 115), QPointF(420, 90), QPointF(450, 90), QPointF(460, 60)});
    p.setPen(QPen(QColor(255, 210, 80), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(dive);
    p.setPen(QPen(QColor(255, 255, 255, 110), 1.5, Qt::DashLine));
    p.drawPolyline(QPolygonF({QPointF(220, 200), QPointF(250, 150), QPointF(300, 125), QPointF(350, 100),
                              QPointF(460, 75)}));
    for (const auto &b : {QPointF(120, 200), QPointF(128, 180), QPointF(123, 160), QPointF(131, 142)}) {
        p.setPen(QPen(QColor(255, 255, 255, 150), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(b, 4, 4);
    }
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 40, QFont::Bold));
    p.drawText(QRect(0, 8, w - 24, 50), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("DOLV"));
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 11));
    p.drawText(QRect(0, 255, w - 24, 30), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Decompression planning for technical divers"));
    return pixmap;
}
