#include "print/PageSurface.h"

#include <QPainter>

PageSurface::PageSurface(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetPageSize(QSize(1, 1));
}

void PageSurface::SetPageSize(const QSize &size)
{
    const QSize s = size.expandedTo(QSize(1, 1));
    if (image_.size() != s) {
        image_ = QImage(s, QImage::Format_RGB32);
        image_.fill(Qt::white);
    }
    resize(s);
}

void PageSurface::Cls()
{
    image_.fill(Qt::white);
    update();
}

void PageSurface::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, image_);
}
