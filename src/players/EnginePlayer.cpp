#include "players/EnginePlayer.h"

#include "board/Board.h"
#include "board/BoardQueries.h"
#include "players/BrainConnection.h"
#include "players/BrainReport.h"
#include "players/PlayerDefinition.h"

#include <chrono>
#include <cstdio>

namespace quintrel {

CEnginePlayer::CEnginePlayer() = default;

CEnginePlayer::~CEnginePlayer() {
    worker.finish();
    brain.reset(); // END, then the child is killed if it lingers
}

void CEnginePlayer::reset() { worker.finish(); }

void CEnginePlayer::stopThinking() { worker.requestStop(); }

EngineSettings CEnginePlayer::loadSettings() const {
    EngineSettings s = definition ? EngineSettings::fromBlock(definition->settings) : EngineSettings{};
    if (commandOverride) s.command = *commandOverride;
    if (turnTimeMs > 0) s.turnMs = turnTimeMs;
    return s;
}

std::string CEnginePlayer::brainLabel() const {
    const std::string command = loadSettings().command;
    return "\"" + (command.empty() ? name() : command) + "\"";
}

void CEnginePlayer::postLine(int id, std::string text) const {
    PortMessage m;
    m.id = id;
    m.text = std::move(text);
    postMessage(requestWindow, std::move(m));
}

void CEnginePlayer::forfeit(const std::string& what) const {
    PortMessage m;
    m.id = MSG_FORFEIT;
    m.lParam = sideToMove;
    m.text = "The brain " + requestLabel + " " + what + ".";
    postMessage(requestWindow, std::move(m));
}

int CEnginePlayer::requestMove(const CBoard& gameBoard, Side side) {
    worker.finish();
    board = std::make_unique<CBoard>(gameBoard);
    sideToMove = side;
    requestWindow = window;
    // The worker never reads the definition, which the user may edit meanwhile.
    settings = loadSettings();
    requestLabel = brainLabel();
    requestName = name().empty() ? "Engine" : name();
    // Started here, on the long-lived thread, so the kernel ends the brain with it.
    if (!brain || brain->commandLine() != settings.command || !brain->running()) {
        brain = std::make_unique<CBrainConnection>(settings.command);
        if (!brain->launch()) {
            forfeit(brain->fault());
            brain.reset();
            return 1;
        }
    }
    return worker.start([this] { threadProcedure(); }) ? 1 : 0;
}

void CEnginePlayer::threadProcedure() {
    using Clock = std::chrono::steady_clock;
    int stones = 0;
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y)
            stones += board->cell(x, y) != EMPTY;
    if (stones < lastStones) usedMs = 0;
    lastStones = stones;

    const std::string& who = requestName;
    auto onMessage = [&](const std::string& text) {
        postLine(MSG_LOG_LINE, "      " + who + ": " + text);
        if (const auto r = parseBrainReport(text)) {
            std::string progress = "depth " + std::to_string(r->depth);
            if (r->eval) progress += "  ev " + std::to_string(*r->eval);
            if (r->speed) progress += "  " + std::to_string(*r->speed) + " pos/s";
            postLine(MSG_PROGRESS, progress);
        }
    };
    const auto stop = [this] { return worker.stopped(); };
    const auto abort = [this] { return worker.aborted(); };

    BrainLimits limits{settings.turnMs, settings.matchMs, settings.infoLines()};
    if (!brain->begun() && !brain->begin()) {
        forfeit(brain->fault());
        brain.reset();
        return;
    }
    const auto since = Clock::now();
    const int timeLeft = settings.matchMs > 0 ? static_cast<int>(std::max(0LL, settings.matchMs - usedMs)) : -1;
    const auto deadline = since + std::chrono::milliseconds(settings.turnMs) + CBrainConnection::GRACE;
    const auto answer = brain->requestMove(*board, sideToMove, limits, timeLeft, deadline, stop, abort, onMessage);
    usedMs += std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();

    switch (answer.kind) {
    case CBrainConnection::Answer::MOVE:
        deliverMove(GameMove{answer.field, sideToMove});
        break;
    case CBrainConnection::Answer::STOPPED_WITHOUT_MOVE: {
        // The brain may still answer later: a fresh one serves the next request.
        brain->end(false);
        postLine(MSG_LOG_LINE, "      " + who +
                                   ": no move within a second of Stop Thinking; played the most "
                                   "valuable empty field instead");
        deliverMove(GameMove{mostValuableField(*board, sideToMove), sideToMove});
        break;
    }
    case CBrainConnection::Answer::ABORTED:
        brain->end(false); // it is still thinking about a position that is gone
        break;
    case CBrainConnection::Answer::FAULT:
        brain->end(false);
        forfeit(answer.fault);
        break;
    }
}

} // namespace quintrel
