// The pointer shown over the about window's links: a drawn 32 x 32 hand.
#pragma once

#include <QCursor>

namespace quillon::about {

QCursor linkCursor();

}  // namespace quillon::about
