#include "ui/Artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace quintrel::ui {

namespace {
const QColor LIGHT_GREY(192, 192, 192);
const QColor BLUE(0, 0, 255);
const QColor RED(255, 0, 0);

void drawRing(QPainter& p, QRectF box, const QColor& colour, qreal width)
{
    p.setPen(QPen(colour, width));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(box);
}

void drawCross(QPainter& p, QPointF a, QPointF b, QPointF c, QPointF d, const QColor& colour, qreal width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(a, b);
    p.drawLine(c, d);
}

QPixmap blank(int w, int h, const QColor& ground)
{
    QPixmap pm(w, h);
    pm.fill(ground);
    return pm;
}
} // namespace

QPixmap makeStoneImage(int side, int size, qreal ratio)
{
    const int pixels = qRound(size * ratio);
    QPixmap pm = blank(pixels, pixels, LIGHT_GREY);
    pm.setDevicePixelRatio(ratio);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (size != STONE_SIZE)
        p.scale(qreal(size) / STONE_SIZE, qreal(size) / STONE_SIZE);
    if (side == 0)
        drawRing(p, QRectF(2.25, 2.25, 11.5, 11.5), BLUE, 2.5); // 12 across, centred
    else
        drawCross(p, {2.5, 2.5}, {13.5, 13.5}, {13.5, 2.5}, {2.5, 13.5}, RED, 2.5);
    return pm;
}

QCursor makeSideCursor(int side, int size)
{
    // Transparent ground with a black outline around the coloured shape, so the
    // pointer stays visible over stones of its own colour.
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (size != STONE_SIZE)
        p.scale(qreal(size) / STONE_SIZE, qreal(size) / STONE_SIZE);
    if (side == 0) {
        drawRing(p, QRectF(1.5, 1.5, 12, 12), Qt::black, 3.5);
        drawRing(p, QRectF(1.5, 1.5, 12, 12), BLUE, 1.8);
    } else {
        drawCross(p, {2, 2}, {13, 13}, {13, 2}, {2, 13}, Qt::black, 3.5);
        drawCross(p, {2, 2}, {13, 13}, {13, 2}, {2, 13}, RED, 1.8);
    }
    p.end();
    return QCursor(pm, 7 * size / STONE_SIZE, 7 * size / STONE_SIZE);
}

namespace {
// Small drawings for the toolbar: arrows, bars, a page, a folder, a disk...
void arrow(QPainter& p, int dir, int x)
{
    // dir -1 points left, +1 points right; x is the tip column.
    QPolygon tri;
    tri << QPoint(x, 7) << QPoint(x - 5 * dir, 2) << QPoint(x - 5 * dir, 12);
    p.drawPolygon(tri);
}

void bar(QPainter& p, int x)
{
    p.drawRect(x, 2, 1, 10);
}
} // namespace

QIcon makeCommandIcon(int id)
{
    QPixmap pm(16, 15);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setBrush(Qt::black);
    switch (id) {
    case 57600: // New: a blank page with a folded corner
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(3, 14)}));
        p.drawLine(10, 1, 10, 4);
        p.drawLine(10, 4, 13, 4);
        break;
    case 57601: // Open: a yellow folder
        p.setBrush(QColor(230, 200, 60));
        p.drawRect(1, 4, 13, 9);
        p.drawRect(1, 2, 5, 2);
        break;
    case 57603: // Save: a disk
        p.setBrush(QColor(40, 60, 160));
        p.drawRect(1, 1, 13, 12);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 5);
        p.drawRect(4, 9, 7, 4);
        break;
    case 32782: // Switch Sides: O and X with a swap
        p.setRenderHint(QPainter::Antialiasing);
        drawRing(p, QRectF(1, 1, 6, 6), BLUE, 1.5);
        drawCross(p, {9, 8}, {14, 13}, {14, 8}, {9, 13}, RED, 1.5);
        p.setPen(Qt::black);
        p.drawLine(QPointF(10, 2), QPointF(14, 5));
        p.drawLine(QPointF(2, 10), QPointF(5, 14));
        break;
    case 32795: // Stop Thinking: a red octagon
        p.setBrush(RED);
        p.setPen(Qt::darkRed);
        p.drawPolygon(QPolygon({QPoint(5, 1), QPoint(10, 1), QPoint(14, 5), QPoint(14, 10), QPoint(10, 14),
                                QPoint(5, 14), QPoint(1, 10), QPoint(1, 5)}));
        break;
    case 32778: // Undo All: bar and arrow to the left
        bar(p, 2);
        arrow(p, -1, 5);
        arrow(p, -1, 10);
        break;
    case 32775: // Back
        arrow(p, -1, 5);
        break;
    case 32779: // Replay: a play triangle
        p.setBrush(QColor(0, 128, 0));
        p.drawPolygon(QPolygon({QPoint(4, 1), QPoint(12, 7), QPoint(4, 13)}));
        break;
    case 32777: // Forward
        arrow(p, 1, 11);
        break;
    case 32789: // Redo All
        arrow(p, 1, 6);
        arrow(p, 1, 11);
        bar(p, 12);
        break;
    case 32774: // Opponent's Settings: a slider panel
        p.setBrush(Qt::white);
        p.drawRect(1, 2, 13, 10);
        p.setBrush(Qt::black);
        p.drawRect(3, 4, 9, 0);
        p.drawRect(3, 9, 9, 0);
        p.drawRect(5, 3, 2, 2);
        p.drawRect(9, 8, 2, 2);
        break;
    case 32781: // Advice: a light bulb
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(255, 230, 0));
        p.drawEllipse(QRectF(3, 0.5, 9, 9));
        p.setBrush(Qt::gray);
        p.drawRect(5, 10, 5, 3);
        break;
    case 32850: // Analyse: a magnifying glass over a line of the graph
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0, 128, 0), 1.2));
        p.drawPolyline(QPolygonF({QPointF(1, 12), QPointF(4, 9), QPointF(7, 11), QPointF(10, 6)}));
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(6, 1, 6.5, 6.5));
        p.drawLine(QPointF(11.5, 7), QPointF(14.5, 10.5));
        break;
    default:
        break;
    }
    p.end();
    return QIcon(pm);
}

QPixmap makeAppPicture(int size)
{
    QPixmap pm = blank(size, size, LIGHT_GREY);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(QPen(Qt::black, std::max<qreal>(1, s / 48)));
    for (int k = 1; k < 4; ++k) {
        p.drawLine(QPointF(k * s / 4, 0), QPointF(k * s / 4, s));
        p.drawLine(QPointF(0, k * s / 4), QPointF(s, k * s / 4));
    }
    const qreal w = s / 12;
    drawRing(p, QRectF(s * 0.08, s * 0.08, s * 0.34, s * 0.34), BLUE, w);
    drawCross(p, {s * 0.58, s * 0.58}, {s * 0.92, s * 0.92}, {s * 0.92, s * 0.58}, {s * 0.58, s * 0.92}, RED, w);
    return pm;
}

QIcon makeAppIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(makeAppPicture(size));
    return icon;
}

} // namespace quintrel::ui
