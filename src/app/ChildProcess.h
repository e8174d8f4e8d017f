#pragma once
// CChildProcess: one program run as a child process, its standard input and
// output behind two pipes, read line by line with deadlines.
//
// Invariant: a child that start() made is killed (with any process group it
// leads) and reaped before the object is gone, on every path; the kernel also
// kills it when the thread that started it ends, so a crash of ours leaves
// no brain behind. Start children from a thread that lives as long as they
// should (the user-interface or main thread), never from a short worker.
//
// Threads: one thread at a time uses an object.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace quintrel {

class CChildProcess {
public:
    using Clock = std::chrono::steady_clock;
    enum class Read { LINE, TIMEOUT, CLOSED, WOKEN };

    CChildProcess() = default;
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Runs argv[0] (searched on PATH when it has no '/') with the arguments.
    // False when it cannot be run; error() then tells why.
    bool start(const std::vector<std::string>& argv);
    bool started() const { return pid_ > 0; }
    const std::string& error() const { return error_; }

    // Writes the bytes as they are; false when the child no longer reads.
    bool writeRaw(std::string_view bytes);
    bool writeLine(const std::string& line) { return writeRaw(line + "\r\n"); }
    void closeInput();

    // The next line (CR LF, LF or CR ended, empty lines skipped) into `line`.
    // WOKEN when `wake` turned true first (it is asked every 10 ms).
    Read readLine(std::string& line, Clock::time_point deadline,
                  const std::function<bool()>& wake = {});
    // When the last line was read: a pause after it may be owed to the child.
    Clock::time_point lastLineAt() const { return lastLineAt_; }

    // The exit code once the child has ended by the deadline; nullopt while
    // it runs or when a signal ended it.
    std::optional<int> waitExit(Clock::time_point deadline);
    // "ended with exit code 3", "was killed by signal 11 (Segmentation fault)".
    std::string exitDescription();
    // Closes its input, gives it `grace` to end, then kills and reaps it.
    void finish(std::chrono::milliseconds grace);

private:
    std::optional<std::string> takeBufferedLine();
    void reap(bool block);

    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string buffer_;
    bool eof_ = false;
    bool exited_ = false;
    int status_ = 0;
    std::string error_;
    Clock::time_point lastLineAt_{};
};

// A command line split into words: blanks separate, "..." and '...' group,
// a backslash outside single quotes takes the next character as it is.
std::vector<std::string> splitCommandLine(const std::string& line);

} // namespace quintrel
