#pragma once
// The four general options: ask before discarding an unsaved game, the
// Expert, the thinking-thread priority and the replay pause. Loaded once when
// the game document is built, kept between uses of the Options dialog and
// written back when the dialog is confirmed.

#include <cstdint>

namespace quintrel {

class CPlayerDatabase;
class SettingsBackend;

struct OptionValues {
    static constexpr std::uint32_t DEFAULT_PAUSE = 800;
    static constexpr std::uint32_t MIN_PAUSE = 100;
    static constexpr std::uint32_t MAX_PAUSE = 5000;
    static constexpr int DEFAULT_PRIORITY = 1; // Middle

    CPlayerDatabase* database = nullptr; // set by the document
    std::uint32_t pause = DEFAULT_PAUSE; // "uPause", milliseconds
    int ask = 1;                         // "bAskIfSave"
    int expertChoice = -1;               // "iDefaultPlayer" - 1: index in the Expert combo
    int priority = 0;                    // "iPriority": 0 Low, 1 Middle, 2 High, 3 Agressive

    // Reads the four values; each missing or invalid one takes its default,
    // which is written back at once.
    void load(SettingsBackend& store);
    // Writes all four, as the Options dialog does on OK.
    bool save(SettingsBackend& store) const;

    // The thread priority players use: -1 Low .. 2 Agressive.
    int threadPriority() const { return priority - 1; }
    // The Expert's index in the player list.
    int expertIndex() const { return expertChoice + 1; }
};

} // namespace quintrel
