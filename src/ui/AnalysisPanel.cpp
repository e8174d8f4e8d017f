#include "ui/AnalysisPanel.h"

#include "app/RegistryKey.h"
#include "app/SettingsStore.h"
#include "search/MasterPlayer.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace quintrel::ui {

namespace {
const char KEY_ANALYSIS[] = "Analysis";
constexpr int REFRESH_MS = 250;

// A score from O's side on the graph's scale: proved results at the edges.
double graphValue(const master::Result& r, int toMove) {
    const int sign = toMove == SIDE_O ? 1 : -1;
    if (r.proved != 0) return r.proved > 0 ? sign : -sign;
    return sign * r.score / (std::abs(r.score) + 400.0);
}

QString sideName(int side) { return side == SIDE_O ? QStringLiteral("O") : QStringLiteral("X"); }
} // namespace

QString boardName(Field f) { return QChar('A' + f.x - 1) + QString::number(f.y); }

// ---- The graph ----

CEvalGraph::CEvalGraph(QWidget* parent) : QWidget(parent)
{
    setMinimumHeight(80);
    setToolTip(tr("The evaluation from O's side after each move; a click goes to that move"));
}

void CEvalGraph::setValues(std::vector<double> values, std::vector<bool> mistakes)
{
    points = std::move(values);
    wrong = std::move(mistakes);
    wrong.resize(points.size());
    update();
}

void CEvalGraph::setCurrent(int moves)
{
    if (moves == current)
        return;
    current = moves;
    update();
}

int CEvalGraph::moveAt(int x) const
{
    if (points.empty())
        return 0;
    const double step = static_cast<double>(width()) / static_cast<double>(points.size());
    return std::clamp(static_cast<int>(x / step) + 1, 1, static_cast<int>(points.size()));
}

void CEvalGraph::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const int h = height(), mid = h / 2;
    p.setPen(QColor(190, 190, 190));
    p.drawLine(0, mid, width(), mid);
    if (points.empty())
        return;
    const double step = static_cast<double>(width()) / static_cast<double>(points.size());
    const auto at = [&](std::size_t i) {
        return QPointF((static_cast<double>(i) + 0.5) * step, mid - points[i] * (mid - 3));
    };
    if (current >= 1 && current <= static_cast<int>(points.size())) {
        p.setPen(QColor(120, 160, 220));
        p.drawLine(at(static_cast<std::size_t>(current - 1)).x(), 0, at(static_cast<std::size_t>(current - 1)).x(), h);
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    for (std::size_t i = 1; i < points.size(); ++i)
        p.drawLine(at(i - 1), at(i));
    for (std::size_t i = 0; i < points.size(); ++i) {
        p.setBrush(wrong[i] ? QColor(Qt::red) : QColor(Qt::black));
        p.setPen(Qt::NoPen);
        const double r = wrong[i] ? 3.5 : 1.5;
        p.drawEllipse(at(i), r, r);
    }
}

void CEvalGraph::mousePressEvent(QMouseEvent* event)
{
    if (!points.empty())
        emit moveClicked(moveAt(static_cast<int>(event->position().x())));
}

// ---- The panel ----

CAnalysisPanel::CAnalysisPanel(SettingsBackend& settings, QWidget* parent)
    : QWidget(parent), store(settings), summary(new QLabel(this)), lines(new QLabel(this)),
      bestBox(new QSpinBox(this)), secondsBox(new QDoubleSpinBox(this)), graph(new CEvalGraph(this)),
      progress(new QProgressBar(this)), cancel(new QPushButton(tr("Cancel"), this))
{
    summary->setObjectName("analysisSummary");
    lines->setObjectName("analysisLines");
    lines->setTextFormat(Qt::PlainText);
    lines->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    lines->setMinimumHeight(5 * fontMetrics().height());
    lines->setWordWrap(true);
    bestBox->setObjectName("analysisBestMoves");
    bestBox->setRange(1, 5);
    secondsBox->setObjectName("analysisSeconds");
    secondsBox->setRange(0.1, 10);
    secondsBox->setSingleStep(0.1);
    secondsBox->setDecimals(1);
    CRegistryKey key(store, KEY_ANALYSIS);
    std::int32_t best = 3, ms = 500;
    key.readNumber("iBestMoves", best);
    key.readNumber("iGameMs", ms);
    bestBox->setValue(std::clamp(best, 1, 5));
    secondsBox->setValue(std::clamp(ms, 100, 10000) / 1000.0);
    cancel->setObjectName("analysisCancel");
    progress->setObjectName("analysisProgress");
    progress->hide();
    cancel->hide();

    auto* form = new QFormLayout;
    form->addRow(tr("Best moves:"), bestBox);
    form->addRow(tr("Seconds a move (game):"), secondsBox);
    auto* bar = new QHBoxLayout;
    bar->addWidget(progress);
    bar->addWidget(cancel);
    auto* column = new QVBoxLayout(this);
    column->addWidget(summary);
    column->addWidget(lines);
    column->addLayout(form);
    column->addWidget(new QLabel(tr("The game, from O's side:"), this));
    column->addWidget(graph, 1);
    column->addLayout(bar);
    setMinimumWidth(250);

    timer.setInterval(REFRESH_MS);
    connect(&timer, &QTimer::timeout, this, &CAnalysisPanel::refresh);
    connect(cancel, &QPushButton::clicked, this, &CAnalysisPanel::cancelGame);
    connect(graph, &CEvalGraph::moveClicked, this, &CAnalysisPanel::goToMove);
    // A new count of best moves restarts the live search with it.
    connect(bestBox, &QSpinBox::valueChanged, this, [this] {
        if (liveRunning()) {
            const std::vector<Field> moves = position;
            stopLive();
            analyse(moves, liveLimits);
        }
    });
}

CAnalysisPanel::~CAnalysisPanel()
{
    analysis.stop();
    storeSettings();
}

void CAnalysisPanel::storeSettings()
{
    CRegistryKey key(store, KEY_ANALYSIS);
    key.writeNumber("iBestMoves", static_cast<std::int32_t>(bestMoves()));
    key.writeNumber("iGameMs", static_cast<std::int32_t>(gameMs()));
}

int CAnalysisPanel::bestMoves() const { return bestBox->value(); }
int CAnalysisPanel::gameMs() const { return static_cast<int>(std::lround(secondsBox->value() * 1000)); }

void CAnalysisPanel::analyse(const std::vector<Field>& moves, const master::Limits& limits)
{
    if (gameRun || (live && moves == position))
        return;
    position = moves;
    live = true;
    liveLimits = limits;
    result = master::Result{};
    master::Limits l = limits;
    l.timeMs = 0;
    l.multiPv = bestMoves();
    analysis.start({setupAfter(moves, moves.size())}, l);
    seenSerial = 0;
    summary->setText(tr("Analysing..."));
    lines->clear();
    timer.start();
    emit marksChanged();
}

void CAnalysisPanel::stopLive()
{
    if (!live)
        return;
    live = false;
    analysis.stop();
    timer.stop();
    result = master::Result{};
    summary->setText(tr("Analysis paused"));
    lines->clear();
    emit marksChanged();
}

void CAnalysisPanel::analyseGame(const std::vector<Field>& moves, bool won, master::Limits limits)
{
    stopLive();
    gameMoves = moves;
    gameWon = won;
    // A won game's last position is not searched: its result is known.
    std::vector<master::Setup> positions;
    for (std::size_t k = 0; k + (won ? 1 : 0) <= moves.size(); ++k) positions.push_back(setupAfter(moves, k));
    limits.timeMs = gameMs();
    limits.multiPv = 1;
    gameRun = true;
    graph->setValues({}, {});
    progress->setRange(0, static_cast<int>(positions.size()));
    progress->setValue(0);
    progress->show();
    cancel->show();
    summary->setText(tr("Analysing the game..."));
    lines->clear();
    analysis.start(std::move(positions), limits);
    seenSerial = 0;
    timer.start();
}

void CAnalysisPanel::cancelGame()
{
    if (!gameRun)
        return;
    analysis.stop();
    finishGame(analysis.snapshot());
}

void CAnalysisPanel::refresh()
{
    const CAnalysis::Snapshot s = analysis.snapshot();
    if (s.serial == seenSerial)
        return;
    seenSerial = s.serial;
    if (gameRun) {
        progress->setValue(static_cast<int>(s.finished.size()));
        finishGame(s); // the graph grows as positions are done
        return;
    }
    result = s.finished.empty() ? s.live : s.finished.back();
    resultMs = s.liveMs;
    if (!s.running)
        timer.stop();
    showResult();
    emit marksChanged();
}

void CAnalysisPanel::showResult()
{
    const std::uint64_t perSecond = resultMs > 0 ? result.nodes * 1000 / static_cast<std::uint64_t>(resultMs) : 0;
    summary->setText(tr("Depth %1   Positions %2   %3 k/s")
                         .arg(result.depth)
                         .arg(result.nodes)
                         .arg(perSecond / 1000));
    QStringList text;
    for (std::size_t i = 0; i < result.lines.size(); ++i) {
        const master::Line& l = result.lines[i];
        QString pv;
        for (const master::Point p : l.pv) pv += ' ' + boardName(fieldOf(p));
        text << QStringLiteral("%1. %2  %3   %4")
                    .arg(i + 1)
                    .arg(boardName(fieldOf(l.move)))
                    .arg(QString::fromStdString(scoreText(l.score, l.proved)))
                    .arg(pv.trimmed());
    }
    lines->setText(text.join('\n'));
}

void CAnalysisPanel::finishGame(const CAnalysis::Snapshot& s)
{
    // Point k (0-based) is the position after move k + 1.
    std::vector<double> values;
    std::vector<bool> mistakes;
    QStringList notes;
    std::vector<master::Result> results = s.finished;
    if (gameWon && !s.running && results.size() == gameMoves.size()) {
        master::Result lost; // the side to move has lost
        lost.score = -master::WIN_SCORE;
        lost.proved = -1;
        lost.forced = true;
        results.push_back(lost);
    }
    for (std::size_t k = 1; k < results.size(); ++k) {
        const master::Result& before = results[k - 1];
        const master::Result& after = results[k];
        // A forced answer carries no score of its own: the graph keeps its level.
        const bool unscored = after.forced && after.proved == 0;
        values.push_back(unscored && !values.empty() ? values.back() : graphValue(after, static_cast<int>(k % 2)));
        // The mover's score before its move against the same side's after it.
        const int drop = before.score + after.score;
        const bool mistake = drop > MISTAKE_DROP && !before.forced && !unscored;
        mistakes.push_back(mistake);
        if (mistake)
            notes << tr("Move %1, %2 %3: a mistake, %4 before it and %5 after; %6 was better")
                         .arg(k)
                         .arg(sideName(static_cast<int>((k - 1) % 2)))
                         .arg(boardName(gameMoves[k - 1]))
                         .arg(QString::fromStdString(scoreText(before.score, before.proved)))
                         .arg(QString::fromStdString(scoreText(-after.score, -after.proved)))
                         .arg(boardName(fieldOf(before.move)));
    }
    graph->setValues(std::move(values), std::move(mistakes));
    if (s.running)
        return;
    gameRun = false;
    timer.stop();
    progress->hide();
    cancel->hide();
    summary->setText(tr("The game: %1 of %2 moves analysed, %3 mistakes")
                         .arg(graph->values().size())
                         .arg(gameMoves.size())
                         .arg(notes.size()));
    emit gameAnalysed(notes);
}

AnalysisMarks CAnalysisPanel::marks() const
{
    AnalysisMarks m;
    if (!live || result.lines.empty())
        return m;
    m.mover = static_cast<Side>(position.size() % 2);
    for (const master::Point p : result.lines.front().pv) m.line.push_back(fieldOf(p));
    for (const master::Line& l : result.lines)
        m.scores.push_back({fieldOf(l.move), QString::fromStdString(scoreText(l.score, l.proved))});
    return m;
}

} // namespace quintrel::ui
