#include "app/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quintrel {

namespace {

void closeFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

// The program file exec would run, found before fork: the child may only
// make async-signal-safe calls, and a PATH search allocates.
std::string resolveProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) return name;
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t from = 0;
    while (from <= dirs.size()) {
        const std::size_t to = std::min(dirs.find(':', from), dirs.size());
        std::string candidate = dirs.substr(from, to - from);
        candidate = (candidate.empty() ? "." : candidate) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        from = to + 1;
    }
    return name;
}

} // namespace

CChildProcess::~CChildProcess() { finish(std::chrono::milliseconds(0)); }

bool CChildProcess::start(const std::vector<std::string>& argv) {
    if (argv.empty() || argv[0].empty()) {
        error_ = "no program given";
        return false;
    }
    std::signal(SIGPIPE, SIG_IGN); // a child that died must not take us with it
    int in[2], out[2], report[2];
    if (pipe2(in, O_CLOEXEC) != 0) {
        error_ = std::strerror(errno);
        return false;
    }
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(report, O_CLOEXEC) != 0) {
        error_ = std::strerror(errno);
        close(in[0]);
        close(in[1]);
        return false;
    }
    const std::string program = resolveProgram(argv[0]);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t parent = getpid();

    pid_ = fork();
    if (pid_ == 0) {
        // The child: its own process group, so killing the group ends what
        // a wrapper script started too; killed when its starter ends.
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        std::signal(SIGPIPE, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        execv(program.c_str(), args.data());
        const int e = errno;
        (void)!write(report[1], &e, sizeof e);
        _exit(127);
    }
    const int forkError = errno;
    close(in[0]);
    close(out[1]);
    close(report[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
    if (pid_ < 0) {
        error_ = std::strerror(forkError);
        closeFd(report[0]);
        finish(std::chrono::milliseconds(0));
        return false;
    }
    // The report pipe closes at exec; an errno on it means exec failed.
    int execError = 0;
    ssize_t n;
    while ((n = read(report[0], &execError, sizeof execError)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    if (n > 0) {
        error_ = "cannot run " + argv[0] + ": " + std::strerror(execError);
        finish(std::chrono::milliseconds(0));
        pid_ = -1;
        return false;
    }
    fcntl(fromChild_, F_SETFL, fcntl(fromChild_, F_GETFL) | O_NONBLOCK);
    return true;
}

bool CChildProcess::writeRaw(std::string_view bytes) {
    while (!bytes.empty()) {
        if (toChild_ < 0) return false;
        const ssize_t n = write(toChild_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void CChildProcess::closeInput() { closeFd(toChild_); }

std::optional<std::string> CChildProcess::takeBufferedLine() {
    for (;;) {
        const std::size_t end = buffer_.find_first_of("\r\n");
        if (end == std::string::npos) return std::nullopt;
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        if (!line.empty()) {
            lastLineAt_ = Clock::now();
            return line;
        }
    }
}

CChildProcess::Read CChildProcess::readLine(std::string& line, Clock::time_point deadline,
                                            const std::function<bool()>& wake) {
    for (;;) {
        if (auto taken = takeBufferedLine()) {
            line = std::move(*taken);
            return Read::LINE;
        }
        if (fromChild_ < 0 || eof_) return Read::CLOSED;
        if (wake && wake()) return Read::WOKEN;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left < 0) return Read::TIMEOUT;
        pollfd p{fromChild_, POLLIN, 0};
        const int slice = static_cast<int>(std::min<long long>(left + 1, wake ? 10 : 60000));
        const int ready = poll(&p, 1, slice);
        if (ready <= 0) continue; // EINTR or the slice ended: deadline and wake are asked again
        char chunk[4096];
        const ssize_t n = read(fromChild_, chunk, sizeof chunk);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) {
            eof_ = true;
            if (!buffer_.empty()) buffer_ += '\n';
            continue;
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

void CChildProcess::reap(bool block) {
    if (pid_ <= 0 || exited_) return;
    int status = 0;
    pid_t r;
    while ((r = waitpid(pid_, &status, block ? 0 : WNOHANG)) < 0 && errno == EINTR) {
    }
    if (r == pid_ || r < 0) {
        exited_ = true;
        status_ = r == pid_ ? status : 0;
    }
}

std::optional<int> CChildProcess::waitExit(Clock::time_point deadline) {
    for (;;) {
        reap(false);
        if (exited_ || pid_ <= 0 || Clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (exited_ && WIFEXITED(status_)) return WEXITSTATUS(status_);
    return std::nullopt;
}

std::string CChildProcess::exitDescription() {
    waitExit(Clock::now() + std::chrono::milliseconds(200));
    if (!exited_) return "is still running";
    if (WIFSIGNALED(status_))
        return "was killed by signal " + std::to_string(WTERMSIG(status_)) + " (" +
               strsignal(WTERMSIG(status_)) + ")";
    return "ended with exit code " + std::to_string(WEXITSTATUS(status_));
}

void CChildProcess::finish(std::chrono::milliseconds grace) {
    closeInput();
    if (pid_ > 0 && !exited_) {
        waitExit(Clock::now() + grace);
        if (!exited_) {
            kill(-pid_, SIGKILL);
            kill(pid_, SIGKILL);
            reap(true);
        }
    }
    closeFd(fromChild_);
}

std::vector<std::string> splitCommandLine(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            else if (c == '\\' && quote == '"' && i + 1 < line.size())
                word += line[++i];
            else
                word += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            inWord = true;
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

} // namespace quintrel
