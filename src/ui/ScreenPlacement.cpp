#include "ui/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace quintrel::ui {

namespace {

// The strip of the frame a user grabs to move it, and how much of it must
// show: enough to take hold of with the mouse.
constexpr int TITLE_STRIP = 24;
constexpr int MIN_GRIP = 40;

long long distanceSquared(const QPoint& p, const QRect& r)
{
    const long long dx = p.x() < r.left() ? r.left() - p.x() : p.x() > r.right() ? p.x() - r.right() : 0;
    const long long dy = p.y() < r.top() ? r.top() - p.y() : p.y() > r.bottom() ? p.y() - r.bottom() : 0;
    return dx * dx + dy * dy;
}

} // namespace

QRect fitInside(const QRect& frame, const QRect& area)
{
    QRect r(frame.topLeft(), frame.size().boundedTo(area.size()));
    r.moveLeft(std::clamp(r.left(), area.left(), area.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), area.top(), area.bottom() + 1 - r.height()));
    return r;
}

QRect reachableFrame(const QRect& frame)
{
    const QRect strip(frame.left(), frame.top(), frame.width(), TITLE_STRIP);
    QRect nearest;
    long long best = std::numeric_limits<long long>::max();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        const QRect shown = strip.intersected(area);
        if (shown.width() >= std::min(MIN_GRIP, frame.width()) && shown.height() >= TITLE_STRIP / 3)
            return frame;
        const long long d = distanceSquared(frame.center(), area);
        if (d < best) {
            best = d;
            nearest = area;
        }
    }
    return nearest.isValid() ? fitInside(frame, nearest) : frame;
}

} // namespace quintrel::ui
