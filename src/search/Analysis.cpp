#include "search/Analysis.h"

#include <cstdio>

namespace quintrel {

std::string scoreText(int score, int proved) {
    if (proved > 0) return "Win in " + std::to_string((proved + 1) / 2);
    if (proved < 0) return "Loss in " + std::to_string(-proved / 2);
    char text[16];
    std::snprintf(text, sizeof text, "%+.1f", score / 100.0);
    return text;
}

CAnalysis::CAnalysis() : engine(std::make_unique<master::Engine>()) {}

CAnalysis::~CAnalysis() { worker.finish(); }

void CAnalysis::start(std::vector<master::Setup> list, const master::Limits& searchLimits) {
    worker.finish();
    positions = std::move(list);
    limits = searchLimits;
    {
        const std::lock_guard lock(mutex);
        const std::uint64_t serial = state.serial + 1;
        state = Snapshot{};
        state.serial = serial;
        state.running = true;
    }
    if (!worker.start([this] { run(); })) {
        const std::lock_guard lock(mutex);
        state.running = false;
    }
}

void CAnalysis::stop() { worker.finish(); }

CAnalysis::Snapshot CAnalysis::snapshot() const {
    const std::lock_guard lock(mutex);
    return state;
}

void CAnalysis::run() {
    using Clock = std::chrono::steady_clock;
    for (std::size_t i = 0; i < positions.size() && !worker.aborted(); ++i) {
        const auto start = Clock::now();
        const master::Result r = engine->search(positions[i], limits, worker.abortFlag(), {},
                                                [&](const master::Result& report) {
                                                    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                                        Clock::now() - start);
                                                    const std::lock_guard lock(mutex);
                                                    state.live = report;
                                                    state.liveMs = ms.count();
                                                    ++state.serial;
                                                });
        if (worker.aborted()) break;
        const std::lock_guard lock(mutex);
        state.finished.push_back(r);
        state.index = static_cast<int>(i + 1);
        ++state.serial;
    }
    const std::lock_guard lock(mutex);
    state.running = false;
    ++state.serial;
}

} // namespace quintrel
