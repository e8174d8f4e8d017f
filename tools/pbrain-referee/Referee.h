#pragma once
// A small referee for pbrain programs: it starts brains as child processes
// talking over pipes, plays them against each other on its own board (5 x 5
// to 22 x 22, freestyle, standard or renju) and judges every answer (legal
// field, a five by the rule, black's forbidden moves under renju, full
// board, time). It judges with the strong engine's rule code but knows
// nothing of its search, so it judges ours like any other brain.
// Used by pbrain-referee and by the protocol tests. POSIX only.

#include "app/ChildProcess.h"
#include "master/Position.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace quintrel::referee {

using Clock = std::chrono::steady_clock;
using quintrel::CChildProcess;

// One brain behind two pipes (CChildProcess). Lines it writes that begin
// with MESSAGE or DEBUG are collected in `messages`; readAnswer() skips them.
class BrainProcess {
public:
    explicit BrainProcess(const std::vector<std::string>& argv) { process_.start(argv); }

    bool started() const { return process_.started(); }

    // Some brains drop a command that arrives in the instant after they
    // print a line; send() holds each command back until this long after the
    // brain's last line.
    std::chrono::milliseconds relayDelay{0};

    // Writes the bytes as they are; false when the brain no longer reads.
    bool sendRaw(std::string_view bytes) { return process_.writeRaw(bytes); }
    bool send(const std::string& line) {
        const auto ready = process_.lastLineAt() + relayDelay;
        if (Clock::now() < ready) std::this_thread::sleep_until(ready);
        return process_.writeLine(line);
    }
    void closeInput() { process_.closeInput(); }

    // The next line (CR LF, LF or CR ended); nullopt at the deadline or when
    // the brain closed its output.
    std::optional<std::string> readLine(Clock::time_point deadline) {
        std::string line;
        if (process_.readLine(line, deadline) != CChildProcess::Read::LINE) return std::nullopt;
        return line;
    }

    // The next line that is an answer, not a MESSAGE or DEBUG line.
    std::optional<std::string> readAnswer(Clock::time_point deadline) {
        for (;;) {
            auto line = readLine(deadline);
            if (!line) return line;
            if (line->rfind("MESSAGE", 0) == 0 || line->rfind("DEBUG", 0) == 0) {
                messages.push_back(std::move(*line));
                continue;
            }
            return line;
        }
    }

    // The exit code once the brain has ended by the deadline; nullopt when it
    // is still running (or was killed by a signal).
    std::optional<int> waitExit(Clock::time_point deadline) { return process_.waitExit(deadline); }

    std::vector<std::string> messages;

private:
    CChildProcess process_;
};

// ---------------------------------------------------------------------------
// Judging

struct PlayedMove {
    int x = 0, y = 0; // 0-based, as the protocol sends them
    int brain = 0;    // 0 the brain that began, 1 the other
    long long ms = 0; // from the command sent to the answer read
    std::vector<std::string> messages;
};

struct GameRecord {
    int winner = -1;    // 0 the brain that began, 1 the other, -1 a draw or no result
    std::string reason; // "five", "full board", or what went wrong
    std::vector<std::pair<int, int>> opening; // as placed: repeats and points off the board left out
    std::vector<PlayedMove> moves;
    std::vector<std::string> transcript; // "A> TURN 9,9", "B< 10,10" in order
};

struct GameOptions {
    int size = 19;
    long long rule = 0; // as INFO rule sends it: 0 freestyle, 1 standard, 4 (or 2) renju
    long long timeoutTurn = 1000;
    long long timeoutMatch = 0;
    // An answer later than timeoutTurn + this is taken as no answer at all.
    long long hangMs = 5000;
    // Stones on the board before the first move, 0-based x,y, laid in turn
    // from the brain that begins; a brain meets them in a BOARD block.
    std::vector<std::pair<int, int>> opening;
    // Extra "INFO key value" lines, "key value" each, for the brain that
    // begins ([0]) and the other ([1]), sent after the limits.
    std::vector<std::string> info[2];
};

// The board as the referee keeps it: 0 empty, b + 1 brain b's stone (brain
// 0 has the first stone, black), and the rule's judge beside it.
class Grid {
public:
    Grid(int size, master::Rule rule) : size_(size), judge_(std::make_unique<master::Position>()) {
        master::Setup setup;
        setup.width = setup.height = size;
        setup.rule = rule;
        judge_->setUp(setup);
    }
    int size() const { return size_; }
    bool onBoard(int x, int y) const { return x >= 0 && y >= 0 && x < size_ && y < size_; }
    int at(int x, int y) const { return cells_[x][y]; }
    // What the stone of the side to move (brain b, alternating from black)
    // on the empty x,y makes; the stone is then placed.
    master::Verdict play(int x, int y) {
        const int c = master::cellOf(x, y);
        const master::Verdict v = judge_->judge(c);
        cells_[x][y] = judge_->toMove() + 1;
        judge_->play(c);
        played_.emplace_back(x, y);
        return v;
    }
    const std::vector<std::pair<int, int>>& played() const { return played_; }

private:
    int size_;
    int cells_[master::MAX_SIDE][master::MAX_SIDE] = {};
    std::unique_ptr<master::Position> judge_;
    std::vector<std::pair<int, int>> played_;
};

// "x,y" with both on a board of `size`, or nullopt.
inline std::optional<std::pair<int, int>> parseMove(const std::string& s, int size = 19) {
    int x = -1, y = -1;
    char tail = 0;
    if (std::sscanf(s.c_str(), "%d,%d%c", &x, &y, &tail) != 2) return std::nullopt;
    if (x < 0 || y < 0 || x >= size || y >= size) return std::nullopt;
    return std::make_pair(x, y);
}

// The lines of an openings file, each "x,y x,y ..." on a board of `size`
// (a '#' starts a comment); empty, with the reason in `error`, when it cannot
// be read, a line is not such a list, or no line holds an opening.
inline std::vector<std::vector<std::pair<int, int>>> readOpenings(const std::string& path, int size,
                                                                  std::string& error) {
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f) {
        error = "cannot read the openings file " + path;
        return {};
    }
    std::vector<std::vector<std::pair<int, int>>> openings;
    char buffer[4096];
    for (int line = 1; std::fgets(buffer, sizeof buffer, f); ++line) {
        std::string text(buffer);
        text = text.substr(0, text.find('#'));
        std::vector<std::pair<int, int>> stones;
        std::size_t at = 0;
        while ((at = text.find_first_not_of(" \t\r\n", at)) != std::string::npos) {
            const std::size_t end = text.find_first_of(" \t\r\n", at);
            const auto xy = parseMove(text.substr(at, end - at), size);
            if (!xy) {
                std::fclose(f);
                error = path + ":" + std::to_string(line) + ": not a list of x,y fields";
                return {};
            }
            stones.push_back(*xy);
            at = end;
        }
        if (!stones.empty()) openings.push_back(std::move(stones));
    }
    std::fclose(f);
    if (openings.empty()) error = "the openings file " + path + " holds no opening";
    return openings;
}

// One game: brains[0] begins. Both must have been started and not yet told START.
inline GameRecord playGame(BrainProcess* brains[2], const GameOptions& o) {
    GameRecord g;
    const char tag[2] = {'A', 'B'};
    auto send = [&](int b, const std::string& line) {
        g.transcript.push_back(std::string(1, tag[b]) + "> " + line);
        return brains[b]->send(line);
    };
    auto answer = [&](int b, Clock::time_point deadline) {
        auto line = brains[b]->readAnswer(deadline);
        for (auto& m : brains[b]->messages)
            g.transcript.push_back(std::string(1, tag[b]) + "< " + m);
        if (line) g.transcript.push_back(std::string(1, tag[b]) + "< " + *line);
        return line;
    };
    auto fail = [&](int b, const std::string& why) {
        g.winner = 1 - b;
        g.reason = std::string("brain ") + tag[b] + ": " + why;
        return g;
    };

    master::Rule rule = master::Rule::FREESTYLE;
    master::ruleFromProtocol(o.rule, rule);
    const std::string start = "START " + std::to_string(o.size);
    for (int b = 0; b < 2; ++b) {
        brains[b]->messages.clear();
        if (!send(b, start)) return fail(b, "does not read its input");
        const auto ok = answer(b, Clock::now() + std::chrono::milliseconds(o.hangMs));
        if (!ok || *ok != "OK")
            return fail(b, start + " answered " + (ok ? "\"" + *ok + "\"" : "nothing"));
        send(b, "INFO timeout_turn " + std::to_string(o.timeoutTurn));
        send(b, "INFO timeout_match " + std::to_string(o.timeoutMatch));
        send(b, "INFO rule " + std::to_string(o.rule));
        send(b, "INFO game_type 1");
        for (const auto& line : o.info[b])
            send(b, "INFO " + line);
    }

    Grid grid(o.size, rule);
    int stones = 0;
    for (const auto& [x, y] : o.opening) {
        if (!grid.onBoard(x, y) || grid.at(x, y) != 0) continue;
        grid.play(x, y);
        g.opening.emplace_back(x, y);
        ++stones;
    }
    long long left[2] = {o.timeoutMatch, o.timeoutMatch};
    bool knowsPosition[2] = {false, false};
    std::string last;
    for (int ply = stones;; ++ply) {
        const int b = ply % 2;
        brains[b]->messages.clear();
        if (o.timeoutMatch > 0) send(b, "INFO time_left " + std::to_string(left[b]));
        // A brain that has seen the game so far hears of the last move only.
        std::string command = ply == 0 ? "BEGIN" : "TURN " + last;
        if (!knowsPosition[b] && ply > 0 && (ply > 1 || last.empty())) {
            send(b, "BOARD");
            // In the order played: renju judges each black stone on those before it.
            for (const auto& [x, y] : grid.played())
                send(b, std::to_string(x) + "," + std::to_string(y) + "," + (grid.at(x, y) == b + 1 ? "1" : "2"));
            command = "DONE";
        }
        knowsPosition[b] = true;
        if (!send(b, command)) return fail(b, "does not read its input");
        const auto sent = Clock::now();
        const auto line = answer(b, sent + std::chrono::milliseconds(o.timeoutTurn + o.hangMs));
        PlayedMove m;
        m.brain = b;
        m.ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count();
        if (!line) return fail(b, "no answer to " + command);
        const auto xy = parseMove(*line, grid.size());
        if (!xy) return fail(b, "answered \"" + *line + "\" to " + command);
        if (grid.at(xy->first, xy->second) != 0)
            return fail(b, "played on the occupied field " + *line);
        m.x = xy->first;
        m.y = xy->second;
        m.messages = std::move(brains[b]->messages);
        brains[b]->messages.clear();
        g.moves.push_back(std::move(m));
        left[b] -= g.moves.back().ms;
        const master::Verdict verdict = grid.play(xy->first, xy->second);
        if (master::isFoul(verdict))
            return fail(b, "played " + *line + ", forbidden to black (" + master::foulName(verdict) + ")");
        if (verdict == master::Verdict::WIN) {
            g.winner = b;
            g.reason = "five";
            return g;
        }
        if (ply + 1 == grid.size() * grid.size()) {
            g.reason = "full board";
            return g;
        }
        last = *line;
    }
}

} // namespace quintrel::referee
