#include "players/ThinkingThread.h"

#include <cerrno>
#include <system_error>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace quintrel {

namespace {

// Thread priorities -1..2 (low, middle, high, aggressive) as nice steps
// relative to the process. Lowering always works; raising needs a privilege
// the program may not have, and the worker then runs at normal priority.
void applyThreadPriority(int priority) {
#ifdef __linux__
    static constexpr int NICE_STEP[4] = {+5, 0, -2, -5};
    if (priority < -1 || priority > 2 || priority == 0) return;
    errno = 0;
    const int base = getpriority(PRIO_PROCESS, 0);
    if (errno != 0) return;
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    // Refused (raising without the privilege): the worker keeps the
    // process's own priority.
    (void)setpriority(PRIO_PROCESS, tid, base + NICE_STEP[priority + 1]);
#else
    (void)priority;
#endif
}

} // namespace

bool ThinkingThread::start(std::function<void()> job, int priority) {
    finish();
    stop.store(0); // a stop that came after the last job is not for this one
    try {
        thread = std::thread([this, job = std::move(job), priority] {
            applyThreadPriority(priority);
            thinking.store(1);
            job();
            thinking.store(0);
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void ThinkingThread::finish() {
    if (!thread.joinable()) return;
    abort.store(1);
    thread.join();
    abort.store(0);
    stop.store(0);
}

} // namespace quintrel
