#include "app/OptionValues.h"

#include "app/RegistryKey.h"

namespace quintrel {

void OptionValues::load(SettingsBackend& store) {
    CRegistryKey key(store, KEY_APPLICATION);

    std::int32_t value = 0;
    if (!key.readNumber("bAskIfSave", value)) {
        value = 0;
        key.writeNumber("bAskIfSave", value);
    }
    ask = value;

    if (!key.readNumber("iDefaultPlayer", value)) {
        value = 2;
        key.writeNumber("iDefaultPlayer", value);
    }
    expertChoice = value - 1;

    if (!key.readNumber("iPriority", value) || value < 0 || value > 3) {
        value = DEFAULT_PRIORITY;
        key.writeNumber("iPriority", value);
    }
    priority = value;

    // The slider only offers 100..5000; anything else would stall or race the replay.
    std::uint32_t ms = 0;
    if (!key.readNumber("uPause", ms) || ms < MIN_PAUSE || ms > MAX_PAUSE) {
        ms = DEFAULT_PAUSE;
        key.writeNumber("uPause", ms);
    }
    pause = ms;
}

bool OptionValues::save(SettingsBackend& store) const {
    CRegistryKey key(store, KEY_APPLICATION);
    return key.writeNumber("bAskIfSave", static_cast<std::int32_t>(ask)) &&
           key.writeNumber("iDefaultPlayer", static_cast<std::int32_t>(expertChoice + 1)) &&
           key.writeNumber("iPriority", static_cast<std::int32_t>(priority)) &&
           key.writeNumber("uPause", pause);
}

} // namespace quintrel
