#include "ui/BoardGeometry.h"

#include <algorithm>

namespace quintrel::ui {

namespace {
constexpr int LEFT = 40, TOP = 30, RIGHT = 363, BOTTOM = 353, PITCH = 17;
}

bool CBoardGeometry::isZoom(int percent)
{
    return std::find(ZOOMS.begin(), ZOOMS.end(), percent) != ZOOMS.end();
}

CBoardGeometry::CBoardGeometry(int zoom) : zoomPercent(isZoom(zoom) ? zoom : 100) {}

QRect CBoardGeometry::map(const QRect& u) const
{
    return QRect(QPoint(px(u.left()), px(u.top())), QPoint(px(u.right() + 1) - 1, px(u.bottom() + 1) - 1));
}

int CBoardGeometry::unitAt(int p) const
{
    int u = p * 100 / zoomPercent;
    while (u > 0 && px(u) > p)
        --u;
    while (px(u + 1) <= p)
        ++u;
    return u;
}

QRect CBoardGeometry::fieldSquare(int c, int r) const
{
    return map(QRect(PITCH * c + 24, PITCH * r + 14, 16, 16));
}

Field CBoardGeometry::fieldAt(QPoint p) const
{
    if (p.x() < 0 || p.y() < 0)
        return Field{};
    const int x = unitAt(p.x()), y = unitAt(p.y());
    if (x < LEFT || x >= RIGHT || y < TOP || y >= BOTTOM)
        return Field{};
    return Field{static_cast<std::uint8_t>((x - LEFT) / PITCH + 1),
                 static_cast<std::uint8_t>((y - TOP) / PITCH + 1)};
}

QRect CBoardGeometry::boardArea() const
{
    return map(QRect(QPoint(LEFT, TOP), QPoint(RIGHT, BOTTOM)));
}

QRect CBoardGeometry::columnLabelBox(int c) const
{
    return map(QRect(QPoint(PITCH * c + 24, BOTTOM + 8), QPoint(PITCH * c + 40, BOTTOM + 24)));
}

QRect CBoardGeometry::rowLabelBox(int r) const
{
    return map(QRect(QPoint(LEFT - 32, PITCH * r + 14), QPoint(LEFT - 2, PITCH * r + 30)));
}

} // namespace quintrel::ui
