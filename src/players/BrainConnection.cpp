#include "players/BrainConnection.h"

#include "board/Board.h"

#include <cctype>
#include <cstdio>
#include <thread>

namespace quintrel {

namespace {

// Some brains drop a command that arrives in the instant after they print.
constexpr std::chrono::milliseconds RELAY_DELAY{10};
// START may load a brain's tables: it gets longer than a move.
constexpr std::chrono::milliseconds START_TIME{10000};
constexpr std::chrono::milliseconds END_TIME{500};

bool startsWithWord(const std::string& line, const char* word) {
    std::size_t i = 0;
    for (; word[i]; ++i)
        if (i >= line.size() ||
            std::toupper(static_cast<unsigned char>(line[i])) != static_cast<unsigned char>(word[i]))
            return false;
    return i == line.size() || line[i] == ' ' || line[i] == '\t';
}

std::string quoted(const std::string& s) {
    return "\"" + (s.size() > 200 ? s.substr(0, 200) + "..." : s) + "\"";
}

} // namespace

bool CBrainConnection::launch() {
    end();
    begun_ = false;
    fault_.clear();
    const auto argv = splitCommandLine(commandLine_);
    process_ = std::make_unique<CChildProcess>();
    if (argv.empty()) {
        fault_ = "has no command line";
        return false;
    }
    if (!process_->start(argv)) {
        fault_ = "could not be started: " + process_->error();
        process_.reset();
        return false;
    }
    return true;
}

bool CBrainConnection::send(const std::string& line) {
    const auto ready = process_->lastLineAt() + RELAY_DELAY;
    if (Clock::now() < ready) std::this_thread::sleep_until(ready);
    return process_->writeLine(line);
}

std::string CBrainConnection::silence(const std::string& command) {
    const std::string how = process_->exitDescription();
    if (how != "is still running") return how + " after " + command;
    return "gave no answer to " + command + " in time";
}

bool CBrainConnection::begin() {
    if (!running()) return false;
    std::string line;
    if (!send("START 19")) {
        fault_ = silence("START 19");
        return false;
    }
    for (;;) {
        const auto r = process_->readLine(line, Clock::now() + START_TIME);
        if (r != CChildProcess::Read::LINE) {
            fault_ = silence("START 19");
            return false;
        }
        if (startsWithWord(line, "MESSAGE") || startsWithWord(line, "DEBUG")) continue;
        if (line != "OK") {
            fault_ = "answered " + quoted(line) + " to START 19";
            return false;
        }
        break;
    }
    begun_ = true;
    return true;
}

CBrainConnection::Answer CBrainConnection::faultAnswer(std::string what) {
    fault_ = std::move(what);
    Answer a;
    a.kind = Answer::FAULT;
    a.fault = fault_;
    return a;
}

CBrainConnection::Answer CBrainConnection::requestMove(const CBoard& board, Side side,
                                                       const BrainLimits& limits, int timeLeftMs,
                                                       Clock::time_point deadline,
                                                       const std::function<bool()>& stop,
                                                       const std::function<bool()>& abort,
                                                       const MessageHandler& onMessage) {
    if (!running() || !begun_) return faultAnswer(fault_.empty() ? "is not running" : fault_);
    std::string line;
    // Lines left from before (a note printed while idle) belong to no request.
    while (process_->readLine(line, Clock::now()) == CChildProcess::Read::LINE) {
    }
    // The limits go with every request: the time per move may change between them.
    send("INFO timeout_turn " + std::to_string(limits.turnMs));
    send("INFO timeout_match " + std::to_string(limits.matchMs));
    if (limits.matchMs > 0 && timeLeftMs >= 0) send("INFO time_left " + std::to_string(timeLeftMs));
    send("INFO rule 0");
    send("INFO game_type 1");
    for (const auto& info : limits.info)
        send("INFO " + info);
    int stones = 0;
    std::string command = "BEGIN";
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y) {
            const int c = board.cell(x, y);
            if (c == EMPTY) continue;
            if (stones++ == 0) send("BOARD");
            send(std::to_string(x - 1) + "," + std::to_string(y - 1) + "," +
                 (c == side ? "1" : "2"));
        }
    if (stones > 0) command = "DONE";
    if (!send(command)) return faultAnswer(silence(command));

    bool stopping = false;
    for (;;) {
        const auto wake = [&] { return abort() || (!stopping && stop()); };
        const auto r = process_->readLine(line, deadline, wake);
        if (r == CChildProcess::Read::WOKEN) {
            if (abort()) return Answer{Answer::ABORTED, {}, {}};
            stopping = true;
            send("yxstop");
            deadline = std::min(deadline, Clock::now() + GRACE);
            continue;
        }
        if (r == CChildProcess::Read::TIMEOUT && stopping)
            return Answer{Answer::STOPPED_WITHOUT_MOVE, {}, {}};
        if (r != CChildProcess::Read::LINE) return faultAnswer(silence(command));
        if (startsWithWord(line, "MESSAGE")) {
            const std::size_t text = line.find_first_not_of(" \t", 7);
            if (onMessage) onMessage(text == std::string::npos ? "" : line.substr(text));
            continue;
        }
        if (startsWithWord(line, "DEBUG")) continue;
        int x = -1, y = -1;
        char tail = 0;
        if (std::sscanf(line.c_str(), "%d,%d%c", &x, &y, &tail) != 2)
            return faultAnswer("answered " + quoted(line) + " to " + command);
        const Field f{static_cast<std::uint8_t>(x + 1), static_cast<std::uint8_t>(y + 1)};
        if (x < 0 || y < 0 || x >= BOARD_SIZE || y >= BOARD_SIZE)
            return faultAnswer("played " + line + ", a field off the board");
        if (!board.isEmpty(f)) return faultAnswer("played " + line + ", a field already taken");
        return Answer{Answer::MOVE, f, {}};
    }
}

void CBrainConnection::end(bool graceful) {
    if (!process_) return;
    if (process_->started()) {
        if (graceful) send("END");
        process_->finish(graceful ? END_TIME : std::chrono::milliseconds(0));
    }
    process_.reset();
    begun_ = false;
}

} // namespace quintrel
