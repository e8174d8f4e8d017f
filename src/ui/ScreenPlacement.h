#pragma once
// Keeping top-level windows where the user can reach them. A stored position
// may come from a screen that is gone or from a hand-edited file; a window
// counts as reachable while part of its title bar lies on some screen's
// available area, and one that is not comes back onto the nearest screen.

#include <QRect>

namespace quintrel::ui {

// frame is a window's outer rectangle. Answers it unchanged when reachable,
// else moved into the available area of the nearest screen (top-left first
// when it is larger than that area).
QRect reachableFrame(const QRect& frame);

// frame moved, and shrunk where it is larger, to lie wholly inside area.
QRect fitInside(const QRect& frame, const QRect& area);

} // namespace quintrel::ui
