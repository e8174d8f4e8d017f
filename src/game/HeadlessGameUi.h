#pragma once
// A game UI without a window: it records everything the document shows, so
// tests can check texts to the character and tools can print the log exactly
// as the log window would hold it. Message boxes are answered with a
// configurable answer; the dialog seams run optional callbacks.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/GameUi.h"

namespace quintrel {

class HeadlessGameUi : public GameUi, public BoardUi, public LogUi {
public:
    BoardUi& boardUi() override { return *this; }
    LogUi& logUi() override { return *this; }

    struct Box {
        std::string text;
        std::string caption;
        MessageIcon icon;
    };

    // View state as the document left it.
    int flags = INPUT_KEYBOARD | INPUT_MOUSE;
    std::optional<Field> mark;
    std::optional<Field> cursorField;
    bool blinking = false;
    Field fiveEnds[2]{};
    bool allExamined = false;
    bool worthOfFields = false;
    bool examinedFieldDisplay = false;
    int repaints = 0;
    int pointerRefreshes = 0;
    int beeps = 0;
    bool replayTimerRunning = false;
    unsigned replayPeriodMs = 0;
    std::string pane1, pane2;

    // Message boxes shown so far, in order; askYesNoCancel records its question too.
    std::vector<Box> boxes;
    MessageAnswer answer = MessageAnswer::No;
    std::optional<std::string> savePath; // answer of chooseSavePath

    // The log as lines; logText() is what the log window shows.
    std::vector<std::string> log;
    bool muted = false;
    // Called with each line as it becomes final (a new line closes the one before).
    std::function<void(const std::string&)> echo;
    // Runs while a message box is open, as a modal loop would dispatch the
    // messages waiting meanwhile (a player's log line after its winning move).
    std::function<void()> whileModal;

    std::function<bool(PlayerSelection&)> whoPlays;
    std::function<bool(OptionValues&, CPlayerDatabase&)> options;

    void setInputFlags(int f) override { flags = f; }
    int inputFlags() const override { return flags; }
    void markField(Field f) override { mark = f; cursorField = f; }
    void clearMark() override { mark.reset(); }
    void resetMarks() override { blinking = false; cursorField.reset(); }
    void clearBlinking() override { blinking = false; }
    void showWinningFive(Field end1, Field end2) override {
        flags = INPUT_NONE;
        fiveEnds[0] = end1;
        fiveEnds[1] = end2;
        blinking = true;
    }
    void showExaminedField(Field f) override {
        if (examinedFieldDisplay) markField(f);
    }
    bool showsAllExamined() const override { return allExamined; }
    bool showsWorthOfFields() const override { return worthOfFields; }
    void repaint() override { ++repaints; }
    void refreshPointer() override { ++pointerRefreshes; }

    void startReplayTimer(unsigned periodMs) override {
        replayTimerRunning = true;
        replayPeriodMs = periodMs;
    }
    void stopReplayTimer() override { replayTimerRunning = false; }

    void setStatusText(int pane, const std::string& text) override {
        (pane == PANE_TURN ? pane1 : pane2) = text;
    }

    void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) override {
        boxes.push_back({text, caption, icon});
        if (whileModal) whileModal();
    }
    MessageAnswer askYesNoCancel(const std::string& text, const std::string& caption) override {
        boxes.push_back({text, caption, MessageIcon::Question});
        if (whileModal) whileModal();
        return answer;
    }
    void beep() override { ++beeps; }

    void logClear() override {
        flushEcho();
        log.clear();
        echoed = 0;
    }
    void logAddSeparator() override { logAppendLine(LOG_SEPARATOR); }
    void logAppendLine(const std::string& text) override {
        log.push_back(text);
        flushEcho(1);
    }
    void logWriteHeader() override {
        logAddSeparator();
        logAppendLine(LOG_HEADER);
        logAddSeparator();
    }
    void logAppendToLastLine(const std::string& text) override {
        for (auto it = log.rbegin(); it != log.rend(); ++it) {
            if (!it->empty()) {
                *it += text;
                return;
            }
        }
        logAppendLine(text);
    }
    void setLogMuted(bool m) override { muted = m; }
    bool logMuted() const override { return muted; }

    std::optional<std::string> chooseSavePath(const std::string&) override { return savePath; }

    bool runWhoPlays(PlayerSelection& p) override { return whoPlays && whoPlays(p); }
    bool runOptions(OptionValues& o, CPlayerDatabase& d) override { return options && options(o, d); }

    // The log window's text, each line closed by a line end.
    std::string logText() const {
        std::string out;
        for (const auto& line : log) out += line + "\n";
        return out;
    }
    // Hands every line not yet echoed to echo, including the last one.
    void flushEcho() { flushEcho(0); }

    const Box* lastBox() const { return boxes.empty() ? nullptr : &boxes.back(); }

private:
    // The last keep lines may still grow, so they are held back.
    void flushEcho(std::size_t keep) {
        if (!echo) return;
        while (echoed + keep < log.size()) echo(log[echoed++]);
    }
    std::size_t echoed = 0;
};

} // namespace quintrel
