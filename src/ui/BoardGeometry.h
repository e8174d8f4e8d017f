#pragma once
// CBoardGeometry: where every part of the board view lies, in widget pixels,
// at one zoom. The design gives the view in 100% units (394 x 394, field
// (c, r) at x = 17c + 24, y = 17r + 14, one-unit grid lines); a unit
// coordinate v lies at px(v) = round(v * zoom / 100), and the unit cells
// [a, b) cover the pixels [px(a), px(b)). So at 100% every rectangle is
// exactly the design's, and at any zoom neighbouring lines and fields tile
// the board without gaps or overlaps. Painting and hit testing both read
// this one object, so a click always lands on the field drawn under it.

#include "board/Types.h"

#include <QPoint>
#include <QRect>

#include <array>

namespace quintrel::ui {

class CBoardGeometry {
public:
    static constexpr std::array<int, 5> ZOOMS = {100, 150, 200, 250, 300};
    static bool isZoom(int percent);

    explicit CBoardGeometry(int zoomPercent = 100);
    int zoom() const { return zoomPercent; }

    // Unit coordinates to pixels.
    int px(int units) const { return (units * zoomPercent + 50) / 100; }
    // A rectangle of unit cells (QRect's inclusive edges) as pixels.
    QRect map(const QRect& units) const;
    // The unit cell holding pixel p: the inverse of px().
    int unitAt(int p) const;

    int viewSize() const { return px(394); }
    QRect fieldSquare(int c, int r) const;
    Field fieldAt(QPoint p) const; // {0, 0} when the point is off the board
    QRect boardArea() const;       // the fields and the grid between them
    QRect columnLabelBox(int c) const;
    QRect rowLabelBox(int r) const;
    // Text centred on unit x with its top at unit y.
    QRect textBox(int x, int y) const { return map(QRect(x - 15, y, 30, 16)); }
    int labelFontPixels() const { return px(12); }
    int worthFontPixels() const { return px(10); }

private:
    int zoomPercent;
};

} // namespace quintrel::ui
