#pragma once
// The analysis panel beside the board: Master's live view of the position
// on the board (depth, positions, speed and the best moves with their
// scores and lines), the settings of the analysis, and a whole game's
// evaluation as a graph with its mistakes. It owns the analysis worker and
// reads its snapshot a few times a second on a timer, so the window never
// waits for the search.

#include "board/Types.h"
#include "master/Engine.h"
#include "search/Analysis.h"
#include "ui/QuintrelView.h"

#include <QWidget>
#include <QTimer>

#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QDoubleSpinBox;

namespace quintrel {
class SettingsBackend;
}

namespace quintrel::ui {

// The evaluation over a game from O's side, one point a move; a click goes
// to that move.
class CEvalGraph : public QWidget {
    Q_OBJECT
public:
    explicit CEvalGraph(QWidget* parent = nullptr);
    // values[i]: after move i + 1, from -1 (X has won) to +1 (O has won).
    void setValues(std::vector<double> values, std::vector<bool> mistakes);
    void setCurrent(int moves); // the moves on the board, marked on the graph
    const std::vector<double>& values() const { return points; }
    const std::vector<bool>& mistakes() const { return wrong; }
    // The move a click at x goes to.
    int moveAt(int x) const;
    QSize sizeHint() const override { return {220, 110}; }

signals:
    void moveClicked(int moves);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::vector<double> points;
    std::vector<bool> wrong;
    int current = 0;
};

class CAnalysisPanel : public QWidget {
    Q_OBJECT
public:
    CAnalysisPanel(SettingsBackend& store, QWidget* parent = nullptr);
    ~CAnalysisPanel() override;
    void storeSettings();

    // Analyses the position after `moves` (O first) until stopped; the
    // same position again leaves the running search alone.
    void analyse(const std::vector<Field>& moves, const master::Limits& limits);
    void stopLive();
    bool liveRunning() const { return live && !gameRun; }

    // Every position of a game, each for the set time; the graph fills as
    // it goes. Cancel (or cancelGame) stops it with the points found.
    // A won game (`won`) ends with the mover's five.
    void analyseGame(const std::vector<Field>& moves, bool won, master::Limits limits);
    void cancelGame();
    bool gameRunning() const { return gameRun; }
    void setCurrentMove(int moves) { graph->setCurrent(moves); }

    int bestMoves() const;
    int gameMs() const;
    AnalysisMarks marks() const;
    const master::Result& shown() const { return result; }
    CEvalGraph* evalGraph() const { return graph; }
    // A mistake's drop in the mover's score, in centi-stones.
    static constexpr int MISTAKE_DROP = 150;

signals:
    void marksChanged();
    void goToMove(int moves);
    // Lines for the log: the game's mistakes, when its analysis ends.
    void gameAnalysed(const QStringList& mistakes);

private:
    void refresh();
    void showResult();
    void finishGame(const CAnalysis::Snapshot& s);

    SettingsBackend& store;
    CAnalysis analysis;
    QTimer timer;
    std::uint64_t seenSerial = 0;
    std::vector<Field> position; // the live analysis's moves
    master::Limits liveLimits;
    std::vector<Field> gameMoves;
    bool gameWon = false;
    bool live = false;
    bool gameRun = false;
    master::Result result;
    std::int64_t resultMs = 0;

    QLabel* summary;
    QLabel* lines;
    QSpinBox* bestBox;
    QDoubleSpinBox* secondsBox;
    CEvalGraph* graph;
    QProgressBar* progress;
    QPushButton* cancel;
};

// A point of the engine in board coordinates, as the labels name it: "J10".
QString boardName(Field f);

} // namespace quintrel::ui
