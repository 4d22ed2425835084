#pragma once
// DOLV's own logo, 386 x 146 pixels, drawn here: the table pages print it in their
// information strip.

#include <QImage>

QImage DolvLogo();
