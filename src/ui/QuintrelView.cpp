#include "ui/QuintrelView.h"

#include "app/RegistryKey.h"
#include "ui/Artwork.h"
#include "ui/UiHooks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPainterPath>

#include <algorithm>

namespace quintrel::ui {

namespace {
const QColor LIGHT_GREY(192, 192, 192);
const QColor DARK_GREY(128, 128, 128);
const QColor BOTH_ON_LIGHT(127, 127, 127);
const QColor BOTH_ON_DARK(63, 63, 63);
const QColor YELLOW(255, 255, 0);

const char COLUMN_LETTERS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const char NUMBER_PAIRS[] = " 1 2 3 4 5 6 7 8 910111213141516171819202122232425262728293031323334353637383940";

// The hidden key sequence, each character stored plus one so that it does
// not show up in the binary as plain text.
const char GREETING_KEYS[] = "{flub"; // "zekta"

QString numberText(int n)
{
    if (n >= 1 && n <= 40)
        return QString::fromLatin1(NUMBER_PAIRS + 2 * (n - 1), 2);
    return QString::number(n); // beyond the table: plain digits
}

// Text centred on unit x with its top at unit y.
void drawCentredText(QPainter& p, const CBoardGeometry& geo, int x, int y, const QString& text)
{
    p.drawText(geo.textBox(x, y), Qt::AlignHCenter | Qt::AlignTop, text);
}

QFont pixelFont(int pixels, bool bold = false)
{
    QFont f = QApplication::font();
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// The colour of the other side's stones, which stands out on this side's.
QColor contrastColour(int cell)
{
    return cell == SIDE_X ? QColor(0, 0, 255) : QColor(255, 0, 0);
}
} // namespace

QEvent::Type PortEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QRect fieldSquare(int c, int r)
{
    return CBoardGeometry().fieldSquare(c, r);
}

Field fieldAt(QPoint p)
{
    return CBoardGeometry().fieldAt(p);
}

CQuintrelView::CQuintrelView(SettingsBackend& settings, QWidget* parent) : QWidget(parent), store(settings)
{
    CRegistryKey key(store, KEY_APPLICATION);
    const std::pair<const char*, std::int32_t*> flags[] = {{"bShowAllExamined", &bShowAllExamined},
                                                           {"bShowExaminedField", &bShowExaminedField},
                                                           {"bShowWorthOfFields", &bShowWorthOfFields},
                                                           {"bShowLastMove", &bShowLastMove},
                                                           {"bShowMoveNumbers", &bShowMoveNumbers}};
    for (auto [name, member] : flags) {
        if (!key.readNumber(name, *member)) {
            *member = 0;
            key.writeNumber(name, std::int32_t{0});
        }
    }
    if (!key.readNumber("bShowAnalysis", bShowAnalysis))
        bShowAnalysis = 1; // on unless turned off: it shows only while analysing
    std::int32_t zoom = 0;
    if (!key.readNumber("iZoom", zoom) || !CBoardGeometry::isZoom(zoom)) {
        zoom = 100;
        key.writeNumber("iZoom", zoom);
    }
    geo = CBoardGeometry(zoom);

    for (int side = 0; side < 2; ++side)
        sideCursors[side] = makeSideCursor(side, geo.px(STONE_SIZE));
    setFixedSize(geo.viewSize(), geo.viewSize());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    blinkTimer.setInterval(400);
    hoverTimer.setInterval(1000);
    connect(&blinkTimer, &QTimer::timeout, this, &CQuintrelView::onBlinkTick);
    connect(&replayTimer, &QTimer::timeout, this, &CQuintrelView::onReplayTick);
    connect(&hoverTimer, &QTimer::timeout, this, &CQuintrelView::onHoverTick);
}

CQuintrelView::~CQuintrelView()
{
    storeSettings();
}

void CQuintrelView::storeSettings()
{
    CRegistryKey key(store, KEY_APPLICATION);
    key.writeNumber("bShowAllExamined", bShowAllExamined);
    key.writeNumber("bShowExaminedField", bShowExaminedField);
    key.writeNumber("bShowWorthOfFields", bShowWorthOfFields);
    key.writeNumber("bShowLastMove", bShowLastMove);
    key.writeNumber("bShowMoveNumbers", bShowMoveNumbers);
    key.writeNumber("bShowAnalysis", bShowAnalysis);
    key.writeNumber("iZoom", static_cast<std::int32_t>(geo.zoom()));
}

void CQuintrelView::setGame(ViewGame* g)
{
    game = g;
    update();
}

// ---- Operations the game document calls ----

void CQuintrelView::markField(Field f)
{
    cursorField = f;
    moveMarkTo(f);
    historyShown();
}

void CQuintrelView::moveMarkTo(Field f)
{
    if (!drawnMarkRect.isNull())
        update(drawnMarkRect);
    markedField = f;
    markRect = geo.fieldSquare(f.x, f.y);
    update(markRect);
}

void CQuintrelView::clearMark()
{
    if (!markRect.isNull())
        update(markRect);
    if (!drawnMarkRect.isNull())
        update(drawnMarkRect);
    markRect = QRect();
    historyShown();
}

// The game marks the field of every move played, taken back or replayed; the
// marker and the numbers it implies may change anywhere on the board.
void CQuintrelView::historyShown()
{
    if (bShowLastMove || bShowMoveNumbers)
        repaintBoard();
}

void CQuintrelView::resetMarks()
{
    drawnMarkRect = QRect();
    blinking = 0;
    cursorField = Field{};
}

void CQuintrelView::showWinningFive(Field a, Field b)
{
    inputBits = 0;
    for (Field f : winningFive)
        hiddenStone[f.x][f.y] &= ~1;
    // Start from the end with the smaller column; a vertical line starts at a.
    Field from = a, to = b;
    if (b.x < a.x)
        std::swap(from, to);
    const int dx = to.x > from.x ? 1 : 0;
    const int dy = to.y > from.y ? 1 : (to.y < from.y ? -1 : 0);
    for (int i = 0; i < 5; ++i)
        winningFive[i] = Field{static_cast<std::uint8_t>(from.x + i * dx), static_cast<std::uint8_t>(from.y + i * dy)};
    fiveRect = geo.fieldSquare(winningFive[0].x, winningFive[0].y)
             | geo.fieldSquare(winningFive[4].x, winningFive[4].y);
    blinking = 1;
    blinkTimer.start();
}

void CQuintrelView::repaintBoard()
{
    update(geo.boardArea());
}

void CQuintrelView::startReplayTimer(unsigned ms)
{
    replayTimer.start(static_cast<int>(ms));
}

// ---- Display commands ----

void CQuintrelView::toggleAllExamined()
{
    bShowAllExamined = !bShowAllExamined;
    repaintBoard();
    emit displayChanged();
}

void CQuintrelView::toggleExaminedField()
{
    bShowExaminedField = !bShowExaminedField; // no pixel changes until the next mark
    emit displayChanged();
}

void CQuintrelView::toggleWorthOfFields()
{
    bShowWorthOfFields = !bShowWorthOfFields;
    repaintBoard();
    emit displayChanged();
}

void CQuintrelView::cycleWorthMode()
{
    worthMode = (worthMode + 1) % 3;
    repaintBoard();
    emit displayChanged();
}

void CQuintrelView::toggleLastMove()
{
    bShowLastMove = !bShowLastMove;
    repaintBoard();
    emit displayChanged();
}

void CQuintrelView::setAnalysisMarks(AnalysisMarks marks)
{
    analysis = std::move(marks);
    update();
}

void CQuintrelView::toggleAnalysisMarks()
{
    bShowAnalysis = !bShowAnalysis;
    update();
    emit displayChanged();
}

// The best move framed in red with its score, the other best moves' scores
// on their fields, and over them the line after the best move as faint
// numbered stones.
void CQuintrelView::paintAnalysis(QPainter& p)
{
    if (!bShowAnalysis || !game)
        return;
    const auto empty = [&](Field f) { return f.onBoard() && game->cell(f.x, f.y) == EMPTY; };
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QFont scoreFont = pixelFont(geo.px(6), true);
    p.setFont(scoreFont);
    for (std::size_t i = 0; i < analysis.scores.size(); ++i) {
        const auto& [f, score] = analysis.scores[i];
        if (!empty(f))
            continue;
        const QRect square = geo.fieldSquare(f.x, f.y);
        p.fillRect(square.adjusted(1, 1, -1, -1), i == 0 ? QColor(255, 215, 205) : QColor(215, 230, 255));
        if (i == 0) {
            p.setPen(QPen(QColor(200, 0, 0), geo.px(2)));
            p.drawRect(QRectF(square).adjusted(1, 1, -1, -1));
        }
        // "Win in 7" does not fit a field: its number does, with W or L.
        QString shown = score;
        if (score.startsWith("Win in "))
            shown = "W" + score.mid(7);
        else if (score.startsWith("Loss in "))
            shown = "L" + score.mid(8);
        p.setPen(Qt::black);
        p.drawText(square, Qt::AlignCenter, shown);
    }
    for (std::size_t i = 1; i < analysis.line.size(); ++i) {
        const Field f = analysis.line[i];
        if (!empty(f))
            continue;
        const int side = (analysis.mover + static_cast<int>(i)) % 2;
        const QRect square = geo.fieldSquare(f.x, f.y);
        p.setOpacity(0.45);
        paintStone(p, square, side);
        p.setOpacity(1);
        const QString text = QString::number(i + 1);
        const QFont font = pixelFont(geo.px(8), true);
        QPainterPath path;
        path.addText(QRectF(square).center() - QFontMetrics(font).tightBoundingRect(text).center(), font, text);
        p.strokePath(path, QPen(Qt::white, geo.px(2)));
        p.fillPath(path, QColor(20, 20, 160));
    }
    p.restore();
}

void CQuintrelView::toggleMoveNumbers()
{
    bShowMoveNumbers = !bShowMoveNumbers;
    repaintBoard();
    emit displayChanged();
}

void CQuintrelView::setZoom(int percent)
{
    if (!CBoardGeometry::isZoom(percent) || percent == geo.zoom())
        return;
    geo = CBoardGeometry(percent);
    setFixedSize(geo.viewSize(), geo.viewSize());
    for (int side = 0; side < 2; ++side)
        sideCursors[side] = makeSideCursor(side, geo.px(STONE_SIZE));
    if (!markRect.isNull())
        markRect = geo.fieldSquare(markedField.x, markedField.y);
    drawnMarkRect = QRect();
    if (winningFive[0].x != 0)
        fiveRect = geo.fieldSquare(winningFive[0].x, winningFive[0].y)
                 | geo.fieldSquare(winningFive[4].x, winningFive[4].y);
    hotLabel = drawnHotLabel = Field{};
    update();
    emit zoomChanged();
    emit displayChanged();
}

void CQuintrelView::zoomIn()
{
    const auto& z = CBoardGeometry::ZOOMS;
    const auto next = std::upper_bound(z.begin(), z.end(), geo.zoom());
    if (next != z.end())
        setZoom(*next);
}

void CQuintrelView::zoomOut()
{
    const auto& z = CBoardGeometry::ZOOMS;
    const auto below = std::lower_bound(z.begin(), z.end(), geo.zoom());
    if (below != z.begin())
        setZoom(*(below - 1));
}

QString CQuintrelView::worthModeText() const
{
    switch (worthMode) {
    case 0:
        return QStringLiteral("Follow Side Not On Move\tCtrl+I");
    case 1:
        return QStringLiteral("Follow Maximum Of Both\tCtrl+I");
    default:
        return QStringLiteral("Follow Side On Move\tCtrl+I");
    }
}

// ---- Painting ----

void CQuintrelView::paintEvent(QPaintEvent* event)
{
    if (!hoverTimer.isActive())
        hoverTimer.start(); // pointer tracking runs from the first paint on
    QPainter p(this);
    p.setClipRegion(event->region());
    paintBackground(p);
    paintFields(p, event->rect());
    paintAnalysis(p);
    paintMark(p);
    paintLabels(p);
}

void CQuintrelView::paintUnitLine(QPainter& p, QPoint from, QPoint to, const QColor& colour)
{
    p.fillRect(geo.map(QRect(from, to).normalized()), colour);
}

void CQuintrelView::paintBackground(QPainter& p)
{
    p.fillRect(rect(), LIGHT_GREY);
    // A raised bevel of four rings around the board, inside a black rectangle.
    for (int i = 1; i <= 4; ++i) {
        const int l = BOARD_LEFT - i, t = BOARD_TOP - i, r = 362 + i, b = 352 + i;
        paintUnitLine(p, {l, t}, {r, t}, Qt::white);
        paintUnitLine(p, {l, t}, {l, b}, Qt::white);
        paintUnitLine(p, {r, t}, {r, b}, Qt::black);
        paintUnitLine(p, {l, b}, {r, b}, Qt::black);
    }
    const int l = 35, t = 25, r = 367, b = 357;
    paintUnitLine(p, {l, t}, {r, t}, Qt::black);
    paintUnitLine(p, {l, t}, {l, b}, Qt::black);
    paintUnitLine(p, {r, t}, {r, b}, Qt::black);
    paintUnitLine(p, {l, b}, {r, b}, Qt::black);

    for (int k = 0; k <= 19; ++k) {
        const int x = BOARD_LEFT + FIELD_PITCH * k;
        paintUnitLine(p, {x, BOARD_TOP}, {x, BOARD_BOTTOM - 1}, Qt::black);
    }
    for (int k = 0; k <= 19; ++k) {
        const int y = BOARD_TOP + FIELD_PITCH * k;
        paintUnitLine(p, {BOARD_LEFT, y}, {BOARD_RIGHT - 1, y}, Qt::black);
    }
    p.setPen(Qt::black);
    p.setFont(pixelFont(geo.labelFontPixels()));
    for (int c = 1; c <= 19; ++c)
        drawCentredText(p, geo, 17 * c + 32, BOARD_BOTTOM + 8, QString(QChar(COLUMN_LETTERS[c - 1])));
    for (int r = 1; r <= 19; ++r)
        drawCentredText(p, geo, BOARD_LEFT - 18, 17 * r + 14, numberText(r));
}

void CQuintrelView::paintFields(QPainter& p, const QRect& clip)
{
    // Which move placed each stone, when the history is shown on the board.
    int number[20][20] = {};
    Field last;
    if (game && (bShowLastMove || bShowMoveNumbers)) {
        const std::vector<Field> moves = game->movesOnBoard();
        for (std::size_t i = 0; i < moves.size(); ++i)
            number[moves[i].x][moves[i].y] = static_cast<int>(i + 1);
        if (!moves.empty())
            last = moves.back();
    }
    for (int r = 1; r <= 19; ++r) {
        for (int c = 1; c <= 19; ++c) {
            const QRect square = geo.fieldSquare(c, r);
            if (!square.intersects(clip))
                continue;
            const int cell = game ? game->cell(c, r) : EMPTY;
            if (cell == EMPTY || (hiddenStone[c][r] & 1)) {
                const bool darkened = bShowAllExamined && game && game->isExamined(c, r);
                p.fillRect(square, darkened ? DARK_GREY : LIGHT_GREY);
                if (bShowWorthOfFields && cell == EMPTY)
                    paintWorth(p, c, r, darkened);
                continue;
            }
            paintStone(p, square, cell);
            const bool isLast = bShowLastMove && last.x == c && last.y == r;
            if (bShowMoveNumbers && number[c][r] != 0)
                paintMoveNumber(p, square, cell, number[c][r], isLast);
            else if (isLast)
                p.fillRect(geo.map(QRect(17 * c + 29, 17 * r + 19, 6, 6)), contrastColour(cell));
        }
    }
}

void CQuintrelView::paintStone(QPainter& p, const QRect& square, int cell)
{
    // The design's 16 x 16 images at 100% on an ordinary screen; otherwise
    // the same drawing made afresh at the device's own resolution.
    const qreal ratio = devicePixelRatioF();
    if (stoneZoom != geo.zoom() || stoneRatio != ratio) {
        for (int side = 0; side < 2; ++side)
            stoneImages[side] = makeStoneImage(side, square.width(), ratio);
        stoneZoom = geo.zoom();
        stoneRatio = ratio;
    }
    p.drawPixmap(square.topLeft(), stoneImages[cell == SIDE_X ? 1 : 0]);
}

// The number is outlined in white so that it reads on a ring and on a cross
// alike; on the last move, with its marker on, it sits on the marker's square.
void CQuintrelView::paintMoveNumber(QPainter& p, const QRect& square, int cell, int number, bool last)
{
    const QString text = QString::number(number);
    const QFont font = pixelFont(geo.px(text.size() > 2 ? 7 : 9), true);
    const QRect box = QFontMetrics(font).tightBoundingRect(text);
    const QPoint centre = QRectF(square).center().toPoint();
    if (last) {
        const int margin = geo.px(1);
        p.fillRect(QRect(centre - QPoint(box.width() / 2 + margin, box.height() / 2 + margin),
                         box.size() + QSize(2 * margin, 2 * margin)),
                   contrastColour(cell));
    }
    QPainterPath path;
    path.addText(centre - box.center(), font, text);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (!last)
        p.strokePath(path, QPen(Qt::white, geo.px(3), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(path, last ? QColor(Qt::white) : QColor(Qt::black));
    p.restore();
}

void CQuintrelView::paintWorth(QPainter& p, int c, int r, bool darkened)
{
    if (!game)
        return;
    const Side s = game->sideToMove();
    const Side other = otherSide(s);
    int w = 0;
    int owner = s; // 2 stands for both sides
    if (worthMode == 0) {
        w = game->worth(c, r, s);
    } else if (worthMode == 1) {
        w = game->worth(c, r, other);
        owner = other;
    } else {
        const int a = game->worth(c, r, s), b = game->worth(c, r, other);
        if (a < b) {
            w = b;
            owner = other;
        } else {
            w = a;
            owner = a == b ? 2 : s;
        }
    }
    if (w == 0)
        return;
    QColor colour = owner == SIDE_O ? QColor(0, 0, 255) : owner == SIDE_X ? QColor(255, 0, 0)
                                                        : (darkened ? BOTH_ON_DARK : BOTH_ON_LIGHT);
    p.setPen(colour);
    p.setFont(pixelFont(geo.worthFontPixels()));
    drawCentredText(p, geo, 17 * c + 32, 17 * r + 14, numberText(w));
}

void CQuintrelView::paintMark(QPainter& p)
{
    drawnMarkRect = QRect();
    if (markRect.isNull())
        return;
    // A sunken square: dark on the left and top, white on the right and bottom.
    const int l = 17 * markedField.x + 24, t = 17 * markedField.y + 14, r = l + 15, b = t + 15;
    paintUnitLine(p, {l, t}, {l, b}, DARK_GREY);
    paintUnitLine(p, {l, t}, {r, t}, DARK_GREY);
    paintUnitLine(p, {r, t}, {r, b}, Qt::white);
    paintUnitLine(p, {l, b}, {r, b}, Qt::white);
    drawnMarkRect = markRect;
}

void CQuintrelView::paintLabels(QPainter& p)
{
    drawnHotLabel = Field{};
    if (inputBits == 0 || hotLabel.x == 0)
        return;
    p.setFont(pixelFont(geo.labelFontPixels()));
    p.setPen(YELLOW);
    drawCentredText(p, geo, 17 * hotLabel.x + 32, BOARD_BOTTOM + 8, QString(QChar(COLUMN_LETTERS[hotLabel.x - 1])));
    drawCentredText(p, geo, BOARD_LEFT - 18, 17 * hotLabel.y + 14, numberText(hotLabel.y));
    drawnHotLabel = hotLabel;
}

void CQuintrelView::invalidateLabels(Field pair)
{
    if (pair.x == 0 || pair.y == 0)
        return;
    update(geo.columnLabelBox(pair.x));
    update(geo.rowLabelBox(pair.y));
}

// ---- Input ----

void CQuintrelView::handMoveOver(Field f)
{
    inputBits = 0;
    invalidateLabels(drawnHotLabel);
    if (game)
        game->deliverMove(GameMove{f, game->sideToMove()});
}

void CQuintrelView::mousePressEvent(QMouseEvent* event)
{
    if (editHandler && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        if (const Field f = geo.fieldAt(event->position().toPoint()); f.onBoard())
            editHandler(f, event->button() == Qt::LeftButton);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (!(inputBits & 2)) {
        beep();
        QWidget::mousePressEvent(event);
        return;
    }
    const Field f = geo.fieldAt(event->position().toPoint());
    if (!f.onBoard() || !game || game->cell(f.x, f.y) != EMPTY)
        return;
    handMoveOver(f);
}

void CQuintrelView::keyPressEvent(QKeyEvent* event)
{
    if (!event->text().isEmpty())
        typedCharacter(event->text().at(0));
    if (inputBits == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    int dc = 0, dr = 0;
    switch (event->key()) {
    case Qt::Key_PageUp: dc = 1; dr = -1; break;
    case Qt::Key_PageDown: dc = 1; dr = 1; break;
    case Qt::Key_End: dc = -1; dr = 1; break;
    case Qt::Key_Home: dc = -1; dr = -1; break;
    case Qt::Key_Left: dc = -1; break;
    case Qt::Key_Up: dr = -1; break;
    case Qt::Key_Right: dc = 1; break;
    case Qt::Key_Down: dr = 1; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!cursorField.onBoard()) {
            cursorField = Field{10, 10}; // unmarked: the next arrow steps from here
            beep();
        } else if ((inputBits & 1) && game && game->cell(cursorField.x, cursorField.y) == EMPTY) {
            const Field f = cursorField;
            handMoveOver(f);
            moveMarkTo(cursorField);
        } else {
            beep();
        }
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (cursorField.x == 0) {
        cursorField = Field{10, 10}; // the first step only shows the cursor
    } else {
        auto wrap = [](int v) { return v < 1 ? 19 : (v > 19 ? 1 : v); };
        cursorField = Field{static_cast<std::uint8_t>(wrap(cursorField.x + dc)),
                            static_cast<std::uint8_t>(wrap(cursorField.y + dr))};
    }
    moveMarkTo(cursorField);
}

void CQuintrelView::typedCharacter(QChar ch)
{
    typedKeys.append(QChar(ch.unicode() + 1));
    if (typedKeys.size() > 5)
        typedKeys.remove(0, typedKeys.size() - 5);
    if (typedKeys == QLatin1String(GREETING_KEYS)) {
        typedKeys.clear();
        // Only a display with more than 256 colours shows the picture well.
        if (depth() > 8)
            emit greetingRequested();
        else
            beep();
    }
}

void CQuintrelView::mouseMoveEvent(QMouseEvent* event)
{
    updatePointer(event->position().toPoint(), rect().contains(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void CQuintrelView::leaveEvent(QEvent* event)
{
    hotLabel = Field{};
    invalidateLabels(drawnHotLabel);
    QWidget::leaveEvent(event);
}

void CQuintrelView::refreshPointer()
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    updatePointer(p, rect().contains(p) && underMouse());
}

// The pointer shape and the highlighted labels for a pointer at p.
void CQuintrelView::updatePointer(QPoint p, bool inside)
{
    const Field f = inside ? geo.fieldAt(p) : Field{};
    if (inputBits != 0 && inside) {
        hotLabel = f;
        if (!(hotLabel == drawnHotLabel)) {
            invalidateLabels(drawnHotLabel);
            invalidateLabels(hotLabel);
        }
        if (f.onBoard() && game) {
            setCursor(sideCursors[game->sideToMove() == SIDE_X ? 1 : 0]);
            return;
        }
    } else {
        hotLabel = Field{};
        invalidateLabels(drawnHotLabel);
    }
    if (game && game->computing() && f.onBoard()) {
        setCursor(Qt::WaitCursor);
        return;
    }
    unsetCursor();
}

// ---- Messages from players ----

void CQuintrelView::customEvent(QEvent* event)
{
    if (event->type() == PortEvent::eventType())
        onPortMessage(static_cast<PortEvent*>(event)->message);
    else
        QWidget::customEvent(event);
}

void CQuintrelView::onPortMessage(const PortMessage& msg)
{
    if (msg.wParam != MSG_TAG)
        return; // not ours
    if (!game || deferWhileDraining(this, msg))
        return;
    if (msg.id == MSG_MOVE && game->computersPlayEachOther()) {
        // Let waiting input (Esc, a menu, the close box) run before the move.
        drainInput();
        if (!game || !isVisible() || QCoreApplication::closingDown()) {
            deferred.clear();
            return; // the window is going; the move is dropped
        }
        game->handleMessage(msg);
        // What players posted after this move follows it, ahead of anything newer.
        for (auto& [target, later] : deferred)
            if (target)
                QCoreApplication::postEvent(target, new PortEvent(std::move(later)), Qt::HighEventPriority);
        deferred.clear();
        return;
    }
    if (msg.id == MSG_MOVE || msg.id == MSG_EXAMINED || msg.id == MSG_FORFEIT)
        game->handleMessage(msg);
}

bool CQuintrelView::deferWhileDraining(QObject* target, const PortMessage& msg)
{
    if (!draining)
        return false;
    deferred.emplace_back(target, msg);
    return true;
}

void CQuintrelView::showExaminedField(Field f)
{
    if (!bShowExaminedField)
        return;
    cursorField = f;
    moveMarkTo(f);
}

void CQuintrelView::drainInput()
{
    draining = true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    draining = false;
}

// ---- Timers ----

void CQuintrelView::onBlinkTick()
{
    if (blinking) {
        for (Field f : winningFive)
            hiddenStone[f.x][f.y] ^= 1;
    } else {
        blinkTimer.stop();
        for (Field f : winningFive)
            hiddenStone[f.x][f.y] &= ~1;
    }
    update(fiveRect);
}

void CQuintrelView::onReplayTick()
{
    if (!game || !game->replaying())
        replayTimer.stop();
    if (game)
        game->replayStep();
}

void CQuintrelView::onHoverTick()
{
    if (inputBits != 0 && drawnHotLabel.x != 0 && QApplication::widgetAt(QCursor::pos()) != this) {
        hotLabel = Field{};
        invalidateLabels(drawnHotLabel);
    }
}

} // namespace quintrel::ui
