#include "players/MasterSettings.h"

#include <algorithm>
#include <thread>

namespace quintrel {

bool MasterSettings::isValid() const {
    return timeMs >= MIN_TIME_MS && timeMs <= MAX_TIME_MS && maxDepth >= 1 && maxDepth <= MAX_DEPTH &&
           threads >= 1 && threads <= MAX_THREADS && hashMb >= MIN_HASH_MB && hashMb <= MAX_HASH_MB;
}

PlayerSettings MasterSettings::toBlock() const {
    PlayerSettings block;
    block.tag = CLASS_NAME;
    for (std::int32_t v : {VERSION, timeMs, maxDepth, threads, hashMb})
        appendInt32(block.data, v);
    return block;
}

namespace {
MasterSettings record(const PlayerSettings& block) {
    return MasterSettings{block.int32At(4), block.int32At(8), block.int32At(12), block.int32At(16)};
}
} // namespace

MasterSettings MasterSettings::fromBlock(const PlayerSettings& block) {
    if (!validateMasterSettings(block, CLASS_NAME)) return MasterSettings{};
    return record(block);
}

int MasterSettings::usableThreads() const { return std::clamp(threads, 1, machineCores()); }

int MasterSettings::machineCores() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

bool validateMasterSettings(const PlayerSettings& block, const std::string& className) {
    if (block.tag != className || block.size() != MasterSettings::SIZE) return false;
    return block.int32At(0) == MasterSettings::VERSION && record(block).isValid();
}

void initMasterSettings(PlayerSettings& block, const std::string& className) {
    block = MasterSettings{}.toBlock();
    block.tag = className;
}

} // namespace quintrel
