#pragma once
// Every picture the program shows, drawn in code at start-up: the two stone
// images, the two side pointers, the toolbar buttons and the program icon.
// Nothing is read from disk, so the game runs from any directory.

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace quintrel::ui {

constexpr int STONE_SIZE = 16;

// size x size on light grey: O a blue ring, X a red diagonal cross. At 16 and
// a pixel ratio of 1 these are the design's images; other sizes draw the same
// shapes scaled, at ratio device pixels per pixel.
QPixmap makeStoneImage(int side, int size = STONE_SIZE, qreal ratio = 1.0);

// The pointer over the board for the side on move, size x size; hot spot at
// (7, 7) of the 16 x 16 design.
QCursor makeSideCursor(int side, int size = STONE_SIZE);

// Toolbar images (16 x 15) keyed by the command id of their button.
QIcon makeCommandIcon(int commandId);

// The program's icon: an O and an X on a small board.
QIcon makeAppIcon();
QPixmap makeAppPicture(int size);

} // namespace quintrel::ui
