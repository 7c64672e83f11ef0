// The LED pictures of the studio clock, drawn rather than stored.
#pragma once

#include <QColor>
#include <QPixmap>

namespace quillon::clock {

// A round LED of `size` pixels: a dark rim, the lit colour, a highlight.
QPixmap drawLed(const QColor& lit, int size);

}  // namespace quillon::clock
