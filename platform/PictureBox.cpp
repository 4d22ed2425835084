#include "platform/PictureBox.h"

#include "platform/Twips.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

int buttonCode(Qt::MouseButtons b)
{
    int code = 0;
    if (b & Qt::LeftButton)
        code |= 1;
    if (b & Qt::RightButton)
        code |= 2;
    if (b & Qt::MiddleButton)
        code |= 4;
    return code;
}

int shiftCode(Qt::KeyboardModifiers m)
{
    int code = 0;
    if (m & Qt::ShiftModifier)
        code |= 1;
    if (m & Qt::ControlModifier)
        code |= 2;
    if (m & Qt::AltModifier)
        code |= 4;
    return code;
}

QPoint pixelOf(float x, float y)
{
    return QPoint(TwipsToPixels(x), TwipsToPixels(y));
}

// The pixels from one corner to the other, both included, whichever way round they are
// given (QRect::normalized would drop a row and a column of a reversed rectangle).
QRect cornersRect(float x1, float y1, float x2, float y2)
{
    const QPoint a = pixelOf(x1, y1);
    const QPoint b = pixelOf(x2, y2);
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

} // namespace

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSize(8);
    setFont(f);
    SetBorderStyle(0);
    fitImage();
}

float PictureBox::Left() const { return PixelsToTwips(x()); }
float PictureBox::Top() const { return PixelsToTwips(y()); }
float PictureBox::Width() const { return PixelsToTwips(width()); }
float PictureBox::Height() const { return PixelsToTwips(height()); }

void PictureBox::Move(float left, float top)
{
    move(TwipsToPixels(left), TwipsToPixels(top));
}

// A hidden widget gets its resize event only when it is shown again, so the drawing
// area follows every change of size at once: what is drawn next is not lost.
void PictureBox::Move(float left, float top, float width, float height)
{
    setGeometry(TwipsToPixels(left), TwipsToPixels(top), std::max(0, TwipsToPixels(width)),
                std::max(0, TwipsToPixels(height)));
    fitImage();
}

void PictureBox::SetWidth(float width)
{
    resize(std::max(0, TwipsToPixels(width)), height());
    fitImage();
}

void PictureBox::SetHeight(float height)
{
    resize(width(), std::max(0, TwipsToPixels(height)));
    fitImage();
}

float PictureBox::ScaleWidth() const { return PixelsToTwips(image_.width()); }
float PictureBox::ScaleHeight() const { return PixelsToTwips(image_.height()); }

void PictureBox::SetBorderStyle(int style)
{
    if (style == 0) {
        setFrameStyle(QFrame::NoFrame);
    } else {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(1);
    }
    fitImage();
}

void PictureBox::SetBackColor(const QColor &c)
{
    backColor_ = c;
    Cls();
}

void PictureBox::SetFontBold(bool bold)
{
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void PictureBox::Cls()
{
    image_.fill(backColor_);
    CurrentX = 0;
    CurrentY = 0;
    update();
}

void PictureBox::beginPaint(QPainter &p, const QColor &penColor) const
{
    p.setRenderHint(QPainter::Antialiasing, false);
    if (DrawMode == XorPen)
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(penColor);
    pen.setWidth(std::max(1, DrawWidth));
    pen.setStyle(DrawStyle == DrawDot ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
}

void PictureBox::Line(float x1, float y1, float x2, float y2, const QColor &color)
{
    {
        QPainter p(&image_);
        beginPaint(p, color);
        const QPoint a = pixelOf(x1, y1);
        const QPoint b = pixelOf(x2, y2);
        if (a == b)
            p.drawPoint(a);
        else
            p.drawLine(a, b);
    }
    CurrentX = x2;
    CurrentY = y2;
    update();
}

void PictureBox::Box(float x1, float y1, float x2, float y2, const QColor &color)
{
    {
        QPainter p(&image_);
        beginPaint(p, color);
        // The outline runs along the corner pixels themselves.
        p.drawRect(cornersRect(x1, y1, x2, y2).adjusted(0, 0, -1, -1));
    }
    CurrentX = x2;
    CurrentY = y2;
    update();
}

void PictureBox::BoxFilled(float x1, float y1, float x2, float y2, const QColor &color)
{
    {
        QPainter p(&image_);
        beginPaint(p, color);
        p.fillRect(cornersRect(x1, y1, x2, y2), color);
    }
    CurrentX = x2;
    CurrentY = y2;
    update();
}

void PictureBox::Circle(float x, float y, float radius, const QColor &color)
{
    {
        QPainter p(&image_);
        beginPaint(p, color);
        if (FillStyle == FillSolid)
            p.setBrush(FillColor);
        const QPoint c = pixelOf(x, y);
        const int r = TwipsToPixels(radius);
        p.drawEllipse(c, r, r);
    }
    CurrentX = x;
    CurrentY = y;
    update();
}

void PictureBox::Print(const QString &text)
{
    {
        QPainter p(&image_);
        beginPaint(p, ForeColor);
        p.setFont(font());
        const QFontMetrics fm(font());
        const QPoint at = pixelOf(CurrentX, CurrentY);
        p.drawText(at.x(), at.y() + fm.ascent(), text);
    }
    CurrentX = 0;
    CurrentY += TextHeight(text);
    update();
}

float PictureBox::TextWidth(const QString &text) const
{
    return PixelsToTwips(QFontMetrics(font()).horizontalAdvance(text));
}

float PictureBox::TextHeight(const QString &) const
{
    return PixelsToTwips(QFontMetrics(font()).height());
}

QColor PictureBox::PointColor(float x, float y) const
{
    const QPoint pt = pixelOf(x, y);
    if (!image_.rect().contains(pt))
        return QColor();
    return QColor(image_.pixel(pt));
}

void PictureBox::fitImage()
{
    const QSize size = contentsRect().size().expandedTo(QSize(1, 1));
    if (image_.size() == size)
        return;
    QImage next(size, QImage::Format_RGB32);
    next.fill(backColor_);
    if (!image_.isNull()) {
        QPainter p(&next);
        p.drawImage(0, 0, image_);
    }
    image_ = next;
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    {
        QPainter p(this);
        p.drawImage(contentsRect().topLeft(), image_);
    }
    QFrame::paintEvent(event);
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    fitImage();
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    const QPointF at = twipsOf(event);
    emit MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), at.x(), at.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF at = twipsOf(event);
    emit MouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()), at.x(), at.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF at = twipsOf(event);
    emit MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), at.x(), at.y());
}

QPointF PictureBox::twipsOf(const QMouseEvent *event) const
{
    const QPointF at = event->position() - contentsRect().topLeft();
    return QPointF(PixelsToTwips(at.x()), PixelsToTwips(at.y()));
}
