#include "platform/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *arrowButton(Qt::ArrowType arrow, const char *name, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus); // the field keeps the focus while the diver spins
    b->setFixedSize(18, 12);
    return b;
}

} // namespace

UpDown::UpDown(QWidget *parent)
    : QWidget(parent),
      up_(arrowButton(Qt::UpArrow, "up", this)),
      down_(arrowButton(Qt::DownArrow, "down", this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, &UpDown::UpClick);
    connect(down_, &QToolButton::clicked, this, &UpDown::DownClick);
}
