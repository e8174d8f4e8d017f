#include "pbrain-quintrel/Brain.h"

#include "board/BoardQueries.h"
#include "search/Analysis.h"
#include "search/MasterPlayer.h"
#include "search/TreePlayer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string_view>

namespace quintrel::pbrain {

namespace {

using namespace std::chrono_literals;

// A searching player posts its statistics right after its move; this is how
// long the answer may wait for them.
constexpr auto LOG_LINE_GRACE = 200ms;

bool postsSearchLog(CPlayer* player) {
    return dynamic_cast<CTreePlayer*>(player) != nullptr ||
           dynamic_cast<CMasterPlayer*>(player) != nullptr;
}

// A player with a clock is given the time to the stop deadline, less a
// little for its thread to start and its answer to travel, so that it ends
// its own search and the stop stays a backstop. At least 1 ms: 0 would
// mean its stored time.
int clockTimeUntil(Clock::time_point stop) {
    const long long left =
        std::chrono::duration_cast<std::chrono::milliseconds>(stop - Clock::now()).count();
    const long long safety = std::min(100LL, 5 + std::max(0LL, left) / 20);
    return static_cast<int>(std::clamp(left - safety, 1LL, 24LL * 3600 * 1000));
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The command word (as sent) and the rest of the line.
std::pair<std::string, std::string> splitCommand(std::string_view line) {
    line = trim(line);
    std::size_t end = 0;
    while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end])))
        ++end;
    return {std::string(line.substr(0, end)), std::string(trim(line.substr(end)))};
}

// A whole decimal number, sign allowed, at most 12 digits so it cannot overflow.
bool parseNumber(std::string_view s, long long& out) {
    s = trim(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 12) return false;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = negative ? -v : v;
    return true;
}

// Exactly n comma-separated numbers.
bool parseNumbers(std::string_view s, std::size_t n, long long* out) {
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t comma = i + 1 < n ? s.find(',') : std::string_view::npos;
        if (i + 1 < n && comma == std::string_view::npos) return false;
        if (!parseNumber(s.substr(0, comma), out[i])) return false;
        s = comma == std::string_view::npos ? std::string_view{} : s.substr(comma + 1);
    }
    return true;
}

std::string coordinates(long long x, long long y) {
    return std::to_string(x) + "," + std::to_string(y);
}

// One best move as the analysis messages give it: "9,9 +0.4 pv 9,9 10,10 ...".
std::string lineText(const master::Line& line) {
    std::string text = coordinates(line.move.x, line.move.y) + " " + scoreText(line.score, line.proved) + " pv";
    for (const master::Point p : line.pv) text += " " + coordinates(p.x, p.y);
    return text;
}

// A completed iteration, as the live message tells it.
std::string iterationText(const master::Result& r) {
    std::string text = " depth " + std::to_string(r.depth) + " nodes " + std::to_string(r.nodes);
    if (!r.lines.empty()) text += " best " + lineText(r.lines.front());
    return text;
}

// A board size the engine plays, 5 to 22.
bool playableSize(long long n) { return n >= master::MIN_SIDE && n <= master::MAX_SIDE; }

std::string malformed(std::string_view args, const char* expected) {
    return "malformed coordinates \"" + std::string(args) + "\", expected " + expected;
}

} // namespace

// ---------------------------------------------------------------------------
// Time

TimeControl::Deadlines TimeControl::forMove(Clock::time_point since) const {
    long long limit = std::max(0LL, turnMs);
    if (matchMs > 0) {
        // A share of what is left, so a long game still has time for its end.
        const long long left = leftMs >= 0 ? leftMs : matchMs;
        limit = std::min(limit, left / 12);
    }
    // The margin covers unwinding the search, answering and the pipe; the
    // fallback comes just before the limit, for a search slow to unwind.
    const long long margin = std::min(250LL, 12 + limit / 20);
    return Deadlines{
        since + std::chrono::milliseconds(std::max(0LL, limit - margin)),
        since + std::chrono::milliseconds(std::max(15LL, limit - std::max(3LL, margin / 4)))};
}

void TimeControl::spent(Clock::duration d) {
    if (matchMs <= 0) return;
    const long long used = std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
    leftMs = std::max(0LL, (leftMs >= 0 ? leftMs : matchMs) - used);
}

// ---------------------------------------------------------------------------
// Life cycle

Brain::Brain(std::unique_ptr<CPlayer> player, std::shared_ptr<Inbox> inbox, Output out)
    : player_(std::move(player)), inbox_(std::move(inbox)), out_(std::move(out)) {
    player_->window = inbox_;
    isMaster_ = dynamic_cast<CMasterPlayer*>(player_.get()) != nullptr;
    if (isMaster_)
        static_cast<CMasterPlayer*>(player_.get())->setIterationReport([this](const master::Result& r) {
            if (!detail_.load()) return;
            PortMessage m;
            m.id = MSG_LOG_LINE;
            m.text = iterationText(r);
            inbox_->post(std::move(m));
        });
    setStones({});
}

Brain::~Brain() {
    settlePlayer();
}

void Brain::run() {
    while (!outputBroken_) {
        const auto e = inbox_->next(std::nullopt, false);
        if (e.kind != Inbox::Event::LINE) return;
        if (dispatch(e.line) == Flow::QUIT) return;
    }
}

void Brain::reply(const std::string& line) {
    if (!out_(line)) outputBroken_ = true;
}

// ---------------------------------------------------------------------------
// Commands

Brain::Flow Brain::dispatch(const InputLine& line) {
    const auto [word, args] = splitCommand(line.text);
    const std::string command = upper(word);
    if (command.empty()) return Flow::CONTINUE;
    if (command == "START" || command == "RECTSTART") {
        long long size[2];
        const bool square = command == "START";
        if (!(square ? parseNumber(args, size[0]) : parseNumbers(args, 2, size)) || !playableSize(size[0]) ||
            (!square && !playableSize(size[1]))) {
            reply("ERROR unsupported size");
            return Flow::CONTINUE;
        }
        return start(static_cast<int>(size[0]), static_cast<int>(size[square ? 0 : 1]));
    }
    if (command == "RESTART") return start(width_, height_);
    if (command == "BEGIN") return begin(line.received);
    if (command == "TURN") return turn(args, line.received);
    if (command == "BOARD") return boardBlock(true);
    if (command == "YXBOARD") return boardBlock(false);
    if (command == "TAKEBACK") return takeBack(args);
    if (command == "END") return Flow::QUIT;
    if (command == "ABOUT") {
        reply(ABOUT);
    } else if (command == "INFO") {
        info(args); // never answered: a reply would be taken for the next command's
    } else if (command == "YXSTOP") {
        // Nothing is being thought about.
    } else if (command == "YXSHOWFORBID") {
        showForbidden();
    } else if (command == "YXNBEST") {
        return bestMoves(args, line.received);
    } else {
        reply("UNKNOWN command " + word + " is not supported");
    }
    return Flow::CONTINUE;
}

Brain::Flow Brain::start(int width, int height) {
    // The rule comes after START: only the board is the player's to refuse here.
    if (auto refusal = boardRefusal(width, height, master::Rule::FREESTYLE)) {
        reply("ERROR " + *refusal);
        return Flow::CONTINUE;
    }
    settlePlayer();
    if (isMaster_) static_cast<CMasterPlayer*>(player_.get())->prepare();
    width_ = width;
    height_ = height;
    setStones({});
    ours_ = SIDE_O;
    started_ = true;
    time_.leftMs = -1;
    reply("OK");
    return Flow::CONTINUE;
}

std::optional<std::string> Brain::boardRefusal(int width, int height, master::Rule rule) const {
    if (isMaster_ || (width == BOARD_SIZE && height == BOARD_SIZE && rule == master::Rule::FREESTYLE))
        return std::nullopt;
    const std::string name = player_->name();
    return (name.empty() ? std::string(player_->className()) : name) + " plays only the 19 x 19 freestyle board";
}

std::optional<std::string> Brain::moveRefusal() const {
    if (!started_) return std::string("no game started: send START 19 first");
    if (unplayedRule_)
        return "rule " + std::to_string(*unplayedRule_) +
               " is not played here; only 0 (freestyle), 1 (standard) and 4 (renju, also sent as 2)";
    return boardRefusal(width_, height_, rule_);
}

std::optional<std::string> Brain::toField(long long x, long long y, Field& f) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return "field " + coordinates(x, y) + " is off the board (" +
               (width_ == height_ ? "0.." + std::to_string(width_ - 1)
                                  : "x 0.." + std::to_string(width_ - 1) + ", y 0.." + std::to_string(height_ - 1)) +
               ")";
    f = Field{static_cast<std::uint8_t>(x + 1), static_cast<std::uint8_t>(y + 1)};
    return std::nullopt;
}

std::optional<std::string> Brain::foul(Field f, Side side) const {
    if (rule_ != master::Rule::RENJU || side != SIDE_O) return std::nullopt;
    const master::Verdict v = master::judgeMove(setup(SIDE_O), pointOf(f));
    if (!master::isFoul(v)) return std::nullopt;
    return "field " + coordinates(f.x - 1, f.y - 1) + " is forbidden to black (" + master::foulName(v) + ")";
}

void Brain::place(Field f, Side side) {
    cells_[f.x - 1][f.y - 1] = side;
    stones_.push_back({pointOf(f), side});
}

void Brain::remove(Field f) {
    cells_[f.x - 1][f.y - 1] = -1;
    stones_.erase(std::find_if(stones_.begin(), stones_.end(),
                               [&](const master::Stone& s) { return s.at == pointOf(f); }));
}

master::Setup Brain::setup(Side toMove) const {
    master::Setup s;
    s.width = width_;
    s.height = height_;
    s.rule = rule_;
    s.stones = stones_;
    s.toMove = toMove;
    return s;
}

CBoard Brain::windowBoard() const {
    CBoard b;
    b.clear();
    for (const auto& s : stones_)
        b.place(fieldOf(s.at), static_cast<Side>(s.side));
    return b;
}

// "FORBID " and black's forbidden points as xxyy, then "."; black is to move
// when both sides have as many stones.
void Brain::showForbidden() {
    const auto black = std::count_if(stones_.begin(), stones_.end(), [](const auto& s) { return s.side == 0; });
    std::string line = "FORBID ";
    if (2 * black == static_cast<long>(stones_.size()))
        for (const master::Point p : master::forbiddenPoints(setup(SIDE_O))) {
            char xy[8];
            std::snprintf(xy, sizeof xy, "%02d%02d", p.x, p.y);
            line += xy;
        }
    reply(line + ".");
}

Brain::Flow Brain::begin(Clock::time_point since) {
    if (auto refusal = moveRefusal()) {
        reply("ERROR " + *refusal);
        return Flow::CONTINUE;
    }
    if (stoneCount() != 0) {
        reply("ERROR BEGIN needs an empty board");
        return Flow::CONTINUE;
    }
    ours_ = SIDE_O;
    return answerMove(since);
}

Brain::Flow Brain::turn(const std::string& args, Clock::time_point since) {
    if (auto refusal = moveRefusal()) {
        reply("ERROR " + *refusal);
        return Flow::CONTINUE;
    }
    long long xy[2];
    Field f;
    if (!parseNumbers(args, 2, xy)) {
        reply("ERROR " + malformed(args, "x,y"));
        return Flow::CONTINUE;
    }
    if (auto off = toField(xy[0], xy[1], f)) {
        reply("ERROR " + *off);
        return Flow::CONTINUE;
    }
    if (!isEmpty(f)) {
        reply("ERROR field " + coordinates(xy[0], xy[1]) + " is occupied");
        return Flow::CONTINUE;
    }
    const int stones = stoneCount();
    if (stones + 1 >= width_ * height_) {
        reply("ERROR no empty field would be left for an answer");
        return Flow::CONTINUE;
    }
    // The opponent opened the game: we play second.
    const Side theirs = stones == 0 ? SIDE_O : otherSide(ours_);
    if (auto why = foul(f, theirs)) {
        reply("ERROR " + *why);
        return Flow::CONTINUE;
    }
    ours_ = otherSide(theirs);
    place(f, theirs);
    return answerMove(since);
}

// BOARD or YXBOARD, then "x,y,who" lines (1 ours, 2 the opponent's, in the
// order they were played), then DONE. One answer for the whole block: the
// move (none after YXBOARD), or the first fault found. Under renju each of
// black's stones is judged on the stones before it.
Brain::Flow Brain::boardBlock(bool answer) {
    std::vector<std::pair<Field, int>> stones;
    int count[3] = {0, 0, 0};
    std::optional<std::string> fault;
    Clock::time_point since;
    bool taken[master::MAX_SIDE + 1][master::MAX_SIDE + 1] = {};
    for (;;) {
        const auto e = inbox_->next(std::nullopt, false);
        if (e.kind != Inbox::Event::LINE) return Flow::QUIT;
        const std::string_view text = trim(e.line.text);
        if (text.empty()) continue;
        const std::string word = upper(splitCommand(text).first);
        if (word == "DONE") {
            since = e.line.received;
            break;
        }
        if (word == "END") return Flow::QUIT;
        if (word == "YXSTOP" || fault) continue; // nothing is being thought about yet
        long long v[3];
        Field f;
        if (!parseNumbers(text, 3, v)) {
            fault = "malformed board line \"" + std::string(text) + "\", expected x,y,who";
        } else if (auto off = toField(v[0], v[1], f)) {
            fault = *off;
        } else if (v[2] != 1 && v[2] != 2) {
            fault = "board line \"" + std::string(text) +
                    "\": who must be 1 (ours) or 2 (the opponent's)";
        } else if (taken[f.x][f.y]) {
            fault = "field " + coordinates(v[0], v[1]) + " is given twice";
        } else {
            taken[f.x][f.y] = true;
            stones.emplace_back(f, static_cast<int>(v[2]));
            ++count[v[2]];
        }
    }
    if (!fault) fault = moveRefusal();
    if (!fault && answer && stones.size() + 1 > static_cast<std::size_t>(width_ * height_))
        fault = "no empty field is left";
    // O moves first: with more opponent stones than ours, the opponent is O.
    const Side ours = count[2] > count[1] ? SIDE_X : SIDE_O;
    master::Setup block = setup(SIDE_O);
    block.stones.clear();
    for (const auto& [f, who] : stones)
        block.stones.push_back({pointOf(f), who == 1 ? ours : otherSide(ours)});
    master::Verdict why;
    if (const int i = master::firstFoul(block, why); !fault && i >= 0) {
        const master::Point p = block.stones[static_cast<std::size_t>(i)].at;
        fault = "field " + coordinates(p.x, p.y) + " is forbidden to black (" + master::foulName(why) + ")";
    }
    if (fault) {
        reply("ERROR " + *fault);
        return Flow::CONTINUE;
    }
    setStones(block.stones);
    ours_ = ours;
    if (!answer) return Flow::CONTINUE;
    return answerMove(since);
}

void Brain::setStones(const std::vector<master::Stone>& stones) {
    std::fill(&cells_[0][0], &cells_[0][0] + master::MAX_SIDE * master::MAX_SIDE, -1);
    stones_.clear();
    for (const auto& s : stones)
        place(fieldOf(s.at), static_cast<Side>(s.side));
}

Brain::Flow Brain::takeBack(const std::string& args) {
    long long xy[2];
    Field f;
    if (!started_) {
        reply("ERROR no game started: send START 19 first");
    } else if (!parseNumbers(args, 2, xy)) {
        reply("ERROR " + malformed(args, "x,y"));
    } else if (auto off = toField(xy[0], xy[1], f)) {
        reply("ERROR " + *off);
    } else if (isEmpty(f)) {
        reply("ERROR field " + coordinates(xy[0], xy[1]) + " is empty");
    } else {
        remove(f);
        reply("OK");
    }
    return Flow::CONTINUE;
}

void Brain::info(const std::string& args) {
    const auto [word, value] = splitCommand(args);
    const std::string key = lower(word);
    long long v = 0;
    if (!parseNumber(value, v))
        return; // folder, evaluate and the unknown keys carry no number we use
    if (key == "show_detail")
        detail_.store(v != 0);
    else if (key == "timeout_turn" && v >= 0)
        time_.turnMs = v;
    else if (key == "timeout_match" && v >= 0)
        time_.matchMs = v;
    else if (key == "time_left")
        time_.leftMs = std::max(0LL, v);
    else if (key == "rule") {
        master::Rule rule;
        if (master::ruleFromProtocol(v, rule)) {
            rule_ = rule;
            unplayedRule_.reset();
            // Built now (up to a tenth of a second), not in the first move's time.
            (void)master::tablesFor(rule);
        } else {
            unplayedRule_ = v;
        }
    }
    // max_memory: a search needs a few hundred kilobytes, below any limit a
    // manager sets; game_type changes nothing in how we play.
}

// ---------------------------------------------------------------------------
// Thinking

Brain::Flow Brain::answerMove(Clock::time_point since) {
    const auto thought = think(since);
    if (!thought) return Flow::QUIT;
    for (const auto& text : thought->logLines)
        reply("MESSAGE" + text);
    place(thought->move, ours_);
    reply(coordinates(thought->move.x - 1, thought->move.y - 1));
    return Flow::CONTINUE;
}

std::optional<Brain::Thought> Brain::think(Clock::time_point since) {
    settlePlayer();
    inbox_->dropMessages();
    const auto deadlines = time_.forMove(since);
    const bool searches = postsSearchLog(player_.get());

    playerBusy_ = true;
    player_->setTurnTime(clockTimeUntil(deadlines.stop));
    if (isMaster_)
        static_cast<CMasterPlayer*>(player_.get())->requestPosition(setup(ours_));
    else
        player_->requestMove(windowBoard(), ours_);

    std::optional<Field> move;
    bool moveArrived = false;
    bool logArrived = false;
    bool stopping = false;
    bool inputOpen = true;
    Clock::time_point logDeadline;
    std::deque<InputLine> deferred;
    std::vector<std::string> logLines;
    while (!(moveArrived && (logArrived || !searches))) {
        Clock::time_point deadline = stopping ? deadlines.fallback : deadlines.stop;
        // A player without search posts everything before requestMove returns.
        if (moveArrived) deadline = searches ? logDeadline : Clock::now();
        const auto e = inbox_->next(deadline, true, inputOpen);
        if (e.kind == Inbox::Event::TIMEOUT) {
            if (moveArrived || stopping) break;
            stopPlayer();
            stopping = true;
        } else if (e.kind == Inbox::Event::CLOSED) {
            inputOpen = false; // still answer; the loop ends after the reply
        } else if (e.kind == Inbox::Event::LINE) {
            const std::string command = upper(splitCommand(e.line.text).first);
            // END aborts the search, unless commands sent before it still wait
            // their turn (a script that did not wait for the answer).
            if (command == "END" && deferred.empty()) return std::nullopt;
            if (command == "YXSTOP") {
                if (!stopping && !moveArrived) stopPlayer();
                stopping = true;
            } else {
                deferred.push_back(e.line);
            }
        } else if (e.message.id == MSG_MOVE && !moveArrived) {
            const GameMove m = GameMove::unpack(e.message.lParam);
            if (m.side != ours_) continue;
            moveArrived = true;
            logDeadline = std::min(deadlines.fallback, Clock::now() + LOG_LINE_GRACE);
            if (isPlayable(m.field)) move = m.field;
        } else if (e.message.id == MSG_LOG_LINE && !moveArrived) {
            reply("MESSAGE" + e.message.text);
        } else if (e.message.id == MSG_LOG && moveArrived) {
            std::string text = e.message.text;
            std::replace_if(
                text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
            if (text.empty() || text.front() != ' ') text.insert(text.begin(), ' ');
            logLines.push_back(std::move(text));
            logArrived = true;
        }
    }
    inbox_->unread(std::move(deferred));
    time_.spent(Clock::now() - since);
    if (move) return Thought{*move, std::move(logLines)};
    // The manager should see why this move is weaker than the player's.
    const char* why =
        moveArrived ? " The player's move was not playable: played the field of most worth instead"
                    : " The search did not stop in time: played the field of most worth instead";
    return Thought{fallbackMove(), {why}};
}

Brain::Flow Brain::bestMoves(const std::string& args, Clock::time_point since) {
    long long n = 0;
    if (!parseNumber(args, n) || n < 1 || n > 10) {
        reply("ERROR YXNBEST needs the number of moves, 1 to 10");
        return Flow::CONTINUE;
    }
    if (auto refusal = moveRefusal()) {
        reply("ERROR " + *refusal);
        return Flow::CONTINUE;
    }
    if (!isMaster_) {
        reply("ERROR " + std::string(player_->className()) + " gives no best moves; Master does");
        return Flow::CONTINUE;
    }
    settlePlayer();
    const Side toMove = stoneCount() % 2 ? SIDE_X : SIDE_O;
    const MasterSettings s = static_cast<CMasterPlayer*>(player_.get())->loadSettings();
    // The clock is kept here, so that a stop ends it with its last full iteration.
    // One analyst serves every request: its tables and table memory are made once.
    if (!analysis_) analysis_ = std::make_unique<CAnalysis>();
    CAnalysis& analysis = *analysis_;
    analysis.start({setup(toMove)}, master::Limits{0, s.maxDepth, s.usableThreads(), s.hashMb, static_cast<int>(n)});
    const auto stopAt = time_.forMove(since).stop;
    std::deque<InputLine> deferred;
    int toldDepth = 0;
    bool quit = false;
    for (;;) {
        const CAnalysis::Snapshot now = analysis.snapshot();
        if (detail_.load() && now.live.depth > toldDepth) {
            toldDepth = now.live.depth;
            reply("MESSAGE" + iterationText(now.live));
        }
        if (!now.running || Clock::now() >= stopAt) break;
        const auto e = inbox_->next(std::min(stopAt, Clock::now() + std::chrono::milliseconds(20)), false);
        if (e.kind != Inbox::Event::LINE) continue;
        const std::string command = upper(splitCommand(e.line.text).first);
        if (command == "YXSTOP") break;
        if (command == "END" && deferred.empty()) {
            quit = true;
            break;
        }
        deferred.push_back(e.line);
    }
    analysis.stop();
    inbox_->unread(std::move(deferred));
    if (quit) return Flow::QUIT;
    const CAnalysis::Snapshot done = analysis.snapshot();
    const master::Result& r = done.finished.empty() ? done.live : done.finished.back();
    for (std::size_t i = 0; i < r.lines.size(); ++i)
        reply("MESSAGE NBEST " + std::to_string(i + 1) + " " + lineText(r.lines[i]));
    const Field best = r.lines.empty() ? fallbackMove() : fieldOf(r.lines.front().move);
    reply(coordinates(best.x - 1, best.y - 1));
    return Flow::CONTINUE;
}

void Brain::stopPlayer() {
    if (stopper_.joinable()) return;
    stopper_ = std::thread([player = player_.get()] { player->stopThinking(); });
}

// Before the player is touched again: its stop has ended and its search too.
void Brain::settlePlayer() {
    if (stopper_.joinable()) stopper_.join();
    if (playerBusy_) player_->reset();
    playerBusy_ = false;
}

bool Brain::isPlayable(Field f) const {
    return f.x >= 1 && f.x <= width_ && f.y >= 1 && f.y <= height_ && isEmpty(f) && !foul(f, ours_);
}

// On the window's board its field of most worth; elsewhere the playable
// field nearest the centre.
Field Brain::fallbackMove() const {
    if (windowGame()) return mostValuableField(windowBoard(), ours_);
    const auto forbidden = master::forbiddenPoints(setup(ours_));
    Field best{};
    long long bestDistance = -1;
    for (int y = 1; y <= height_; ++y)
        for (int x = 1; x <= width_; ++x) {
            const Field f{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)};
            const long long dx = 2 * x - width_ - 1, dy = 2 * y - height_ - 1;
            const bool banned = std::find(forbidden.begin(), forbidden.end(), pointOf(f)) != forbidden.end();
            if (isEmpty(f) && !banned && (bestDistance < 0 || dx * dx + dy * dy < bestDistance)) {
                best = f;
                bestDistance = dx * dx + dy * dy;
            }
        }
    return best;
}

} // namespace quintrel::pbrain
