#pragma once
// CBrainConnection: the manager's side of the Gomocup "pbrain" protocol with
// one brain run as a child process. It sends the whole position with every
// request (BOARD ... DONE, or BEGIN on an empty board), so take-backs and
// loaded games need nothing special, and judges every answer: a field that
// is off the board or taken, ERROR, UNKNOWN, other text, silence past the
// deadline and a brain that died are each a Fault with a sentence that says
// what the brain did.
//
// Threads: launch() runs on the owner's long-lived thread (see
// CChildProcess); the exchange may then run on a worker, one thread at a time.

#include "app/ChildProcess.h"
#include "board/Types.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quintrel {

class CBoard;

struct BrainLimits {
    int turnMs = 1000;
    int matchMs = 0;                // 0: no match limit
    std::vector<std::string> info;  // "key value" lines of the brain's own options
};

class CBrainConnection {
public:
    using Clock = std::chrono::steady_clock;
    // Past the time per move a brain gets this long before it is taken as silent.
    static constexpr std::chrono::milliseconds GRACE{1000};

    struct Answer {
        enum Kind { MOVE, FAULT, STOPPED_WITHOUT_MOVE, ABORTED } kind = FAULT;
        Field field;       // MOVE
        std::string fault; // FAULT: "answered \"ERROR bad\" to DONE"
    };
    // Called with the text of every MESSAGE line (without "MESSAGE ").
    using MessageHandler = std::function<void(const std::string&)>;

    explicit CBrainConnection(std::string commandLine) : commandLine_(std::move(commandLine)) {}
    ~CBrainConnection() { end(); }

    // Starts the brain; false with fault() set when it cannot run.
    bool launch();
    bool running() const { return process_ && process_->started(); }
    // START 19; false with fault() set when not answered OK.
    bool begin();
    bool begun() const { return begun_; }

    // The brain's move for `side` on `board`, the limits and (with a match
    // limit) the time left told first. At the deadline the brain is
    // late (a fault). When `stop` turns true, yxstop is sent and the brain
    // has GRACE to answer; `abort` ends the wait at once with ABORTED.
    Answer requestMove(const CBoard& board, Side side, const BrainLimits& limits, int timeLeftMs,
                       Clock::time_point deadline,
                       const std::function<bool()>& stop, const std::function<bool()>& abort,
                       const MessageHandler& onMessage);

    // END and a moment to leave (without `graceful`, none), then the child
    // is killed if it has not left.
    void end(bool graceful = true);
    const std::string& fault() const { return fault_; }
    const std::string& commandLine() const { return commandLine_; }

private:
    bool send(const std::string& line);
    Answer faultAnswer(std::string what);
    std::string silence(const std::string& command);

    std::string commandLine_;
    std::unique_ptr<CChildProcess> process_;
    bool begun_ = false;
    std::string fault_;
};

} // namespace quintrel
