#pragma once
// CQuintrelView: the board of the main window. It paints the 19 x 19 board
// (at 100%: field (c, r) at x = 17c + 24, y = 17r + 14; other zooms scale
// that through CBoardGeometry), the labels, the stones, one sunken mark, a
// blinking winning five and, on request, the worth of empty fields, the
// fields a search examines, the move numbers, a last-move marker and an
// analysis's best moves and line. It
// takes the human's move from the mouse or the keyboard cursor and turns the
// moves and examined fields that players post into calls on the game.
//
// The view owns display state only; everything it shows is read through
// ViewGame, so the painting and input can be driven by a test double.

#include "app/MessagePort.h"
#include "board/Types.h"
#include "game/GameUi.h"
#include "ui/BoardGeometry.h"

#include <QCursor>
#include <QEvent>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace quintrel {
class SettingsBackend;
}

namespace quintrel::ui {

// What the view reads from and hands to the game document.
class ViewGame {
public:
    virtual ~ViewGame() = default;
    virtual int cell(int x, int y) const = 0;             // SIDE_O, SIDE_X or EMPTY
    virtual int worth(int x, int y, Side side) const = 0; // the field's worth byte
    virtual Side sideToMove() const = 0;
    // thinking and (advice requested or a computer on move)
    virtual bool computing() const = 0;
    // Autoplay runs or both sides are computers
    virtual bool computersPlayEachOther() const = 0;
    virtual bool isExamined(int x, int y) const = 0;
    virtual bool replaying() const = 0;
    virtual void deliverMove(GameMove move) = 0;             // the human's move
    virtual void handleMessage(const PortMessage& msg) = 0;  // a player's move or examined field
    virtual void replayStep() = 0;
    // The stones on the board in the order they were played.
    virtual std::vector<Field> movesOnBoard() const { return {}; }
};

// A message of the port travelling as a Qt event to the view or the frame.
class PortEvent : public QEvent {
public:
    explicit PortEvent(PortMessage msg) : QEvent(eventType()), message(std::move(msg)) {}
    static QEvent::Type eventType();
    PortMessage message;
};

// What the board shows of an analysis: the best line from the side to move
// (its first move marked, the rest as numbered ghost stones), and the best
// moves with their scores written on their fields.
struct AnalysisMarks {
    std::vector<Field> line;
    Side mover = SIDE_O;
    std::vector<std::pair<Field, QString>> scores;
};

// The design's geometry at 100%, client pixels.
constexpr int VIEW_SIZE = 394;
constexpr int BOARD_LEFT = 40, BOARD_TOP = 30, BOARD_RIGHT = 363, BOARD_BOTTOM = 353;
constexpr int FIELD_PITCH = 17;

// At 100%; the view's own geometry() gives them at its zoom.
QRect fieldSquare(int c, int r);
// The field under a client point; {0, 0} when the point is off the board.
Field fieldAt(QPoint p);

// The view serves the document's board calls itself (BoardUi).
class CQuintrelView : public QWidget, public BoardUi {
    Q_OBJECT
public:
    // Reads the display flags and the zoom from the store; the destructor writes them back.
    explicit CQuintrelView(SettingsBackend& store, QWidget* parent = nullptr);
    ~CQuintrelView() override;
    void storeSettings();

    void setGame(ViewGame* game);

    // Operations the game document calls
    void markField(Field f) override;
    void clearMark() override;
    void resetMarks() override;
    void showWinningFive(Field end1, Field end2) override;
    void setInputFlags(int flags) override { inputBits = flags; }
    int inputFlags() const override { return inputBits; }
    int getInputFlags() const { return inputBits; }
    void refreshPointer() override;
    void showExaminedField(Field f) override;
    bool showsAllExamined() const override { return showAllExamined(); }
    bool showsWorthOfFields() const override { return showWorthOfFields(); }
    void repaint() override { update(); }
    void repaintBoard();
    // While the queue is drained before a computer's move, the players' later
    // messages (to the view or the frame) wait until that move is played.
    bool deferWhileDraining(QObject* target, const PortMessage& msg);
    void startReplayTimer(unsigned ms) override;
    void stopReplayTimer() override { replayTimer.stop(); }
    bool replayTimerActive() const { return replayTimer.isActive(); }
    bool isBlinking() const { return blinking != 0; }
    void clearBlinking() override { blinking = 0; }

    // Display commands
    void toggleAllExamined();
    void toggleExaminedField();
    void toggleWorthOfFields();
    void cycleWorthMode();
    QString worthModeText() const;
    bool showAllExamined() const { return bShowAllExamined != 0; }
    bool showExaminedField() const { return bShowExaminedField != 0; }
    bool showWorthOfFields() const { return bShowWorthOfFields != 0; }
    int getWorthMode() const { return worthMode; }
    void toggleLastMove();
    void toggleMoveNumbers();
    bool showLastMove() const { return bShowLastMove != 0; }
    bool showMoveNumbers() const { return bShowMoveNumbers != 0; }
    // The analysis on the board: shown while there is one and the option is on.
    void setAnalysisMarks(AnalysisMarks marks);
    const AnalysisMarks& analysisMarks() const { return analysis; }
    void toggleAnalysisMarks();
    // While set, a click on a field goes here (left or right button) and
    // is no move: the position is being edited.
    void setEditHandler(std::function<void(Field, bool left)> handler) { editHandler = std::move(handler); }
    bool showAnalysisMarks() const { return bShowAnalysis != 0; }

    // Zoom: one of CBoardGeometry::ZOOMS; the view's fixed size follows it.
    void setZoom(int percent);
    void zoomIn();
    void zoomOut();
    int zoom() const { return geo.zoom(); }
    const CBoardGeometry& geometry() const { return geo; }

    // State seen by the frame and by tests
    Field getCursorField() const { return cursorField; }
    Field getHotLabel() const { return hotLabel; }
    bool isStoneHidden(Field f) const { return (hiddenStone[f.x][f.y] & 1) != 0; }
    const std::array<Field, 5>& getWinningFive() const { return winningFive; }
    QRect getMarkRect() const { return markRect; }

    QSize sizeHint() const override { return {geo.viewSize(), geo.viewSize()}; }

signals:
    void greetingRequested();
    void displayChanged();
    void zoomChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void customEvent(QEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }

private:
    // Painting
    void paintBackground(QPainter& p);
    void paintFields(QPainter& p, const QRect& clip);
    void paintWorth(QPainter& p, int c, int r, bool darkened);
    void paintStone(QPainter& p, const QRect& square, int cell);
    void paintMoveNumber(QPainter& p, const QRect& square, int cell, int number, bool last);
    void paintMark(QPainter& p);
    void paintAnalysis(QPainter& p);
    void paintUnitLine(QPainter& p, QPoint from, QPoint to, const QColor& colour);
    void paintLabels(QPainter& p);
    void invalidateLabels(Field pair);
    void updatePointer(QPoint p, bool inside);
    void moveMarkTo(Field f);
    void historyShown();

    // Input
    void handMoveOver(Field f);
    void onPortMessage(const PortMessage& msg);
    void drainInput();
    void onBlinkTick();
    void onReplayTick();
    void onHoverTick();
    void typedCharacter(QChar ch);

    SettingsBackend& store;
    ViewGame* game = nullptr;

    std::int32_t bShowAllExamined = 0;
    std::int32_t bShowExaminedField = 0;
    std::int32_t bShowWorthOfFields = 0;
    std::int32_t bShowLastMove = 0;
    std::int32_t bShowMoveNumbers = 0;
    std::int32_t bShowAnalysis = 1;
    AnalysisMarks analysis;
    std::function<void(Field, bool)> editHandler;
    CBoardGeometry geo;
    int worthMode = 2;
    int blinking = 0;
    int inputBits = 3;
    Field cursorField;
    Field markedField;   // where markRect lies
    QRect markRect;      // null when there is no mark
    QRect drawnMarkRect; // where the mark was last drawn
    std::array<QPixmap, 2> stoneImages; // for the zoom and pixel ratio below
    int stoneZoom = 0;
    qreal stoneRatio = 0;
    std::array<QCursor, 2> sideCursors;
    std::uint8_t hiddenStone[20][20] = {};
    std::array<Field, 5> winningFive{};
    QRect fiveRect;
    Field hotLabel;
    Field drawnHotLabel;

    QTimer blinkTimer;  // timer 1
    QTimer replayTimer; // timer 2
    QTimer hoverTimer;  // timer 3
    bool draining = false;
    std::vector<std::pair<QPointer<QObject>, PortMessage>> deferred;
    QString typedKeys;
};

} // namespace quintrel::ui
