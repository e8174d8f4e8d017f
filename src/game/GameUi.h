#pragma once
// What the game document asks of its surroundings: the board view, the two
// status panes, message boxes, the beep, the log window and the replay timer.
//
// The document produces every text itself and hands it over finished, so an
// implementation only shows what it is given. The Qt window implements this
// in src/ui; HeadlessGameUi records it for tests and tools. Every call comes
// from the thread that owns the document. Operations on a log window that is
// not open, or on a status bar that is hidden, quietly do nothing.

#include <optional>
#include <string>

#include "board/Types.h"
#include "players/HumanPlayer.h"

namespace quintrel {

class CPlayerDatabase;
struct OptionValues;
class PlayerSelection;

// The log window's fixed lines.
inline constexpr const char* LOG_SEPARATOR =
    "-----------------------------------------------------------------------------------------------------------";
inline constexpr const char* LOG_HEADER =
    " Num       Player  Move SeenPos Time ms Pos/sec Branch MaxDepth  Breaks  SavedWork Score  Remark  ";

// The status bar panes the game writes: who is on move or the result, and the
// move counter (or a search's progress).
constexpr int PANE_TURN = 1;
constexpr int PANE_COUNTER = 2;

enum class MessageIcon { Information, Exclamation, Stop, Question };
enum class MessageAnswer { Yes, No, Cancel };

// The board view, which is also the human player's BoardInput:
// setInputFlags() takes the INPUT_* bits (0 = no human move awaited) and
// refreshPointer() makes the pointer shape follow inputFlags and the
// thinking state at once.
class BoardUi : public BoardInput {
public:
    virtual int inputFlags() const = 0;
    virtual void markField(Field f) = 0;   // the square mark on f, shown at once
    virtual void clearMark() = 0;          // no mark
    virtual void resetMarks() = 0;         // forget the drawn mark, stop blinking, no cursor field
    virtual void clearBlinking() = 0;      // the winning five stops blinking at the next tick
    // Blinks the five between the two end fields and sets inputFlags to 0.
    virtual void showWinningFive(Field end1, Field end2) = 0;
    virtual void showExaminedField(Field f) = 0; // a search reports f; shown only when that display is on
    virtual bool showsAllExamined() const = 0;   // "All Examined Fields" display on
    virtual bool showsWorthOfFields() const = 0; // "Worth Of Fields" display on
    virtual void repaint() = 0;

    // The replay timer: each tick calls CQuintrelGam::onReplayTimer().
    virtual void startReplayTimer(unsigned periodMs) = 0;
    virtual void stopReplayTimer() = 0;
};

// The log window. Lines are given without their line end.
class LogUi {
public:
    virtual ~LogUi() = default;
    virtual void logClear() = 0;
    virtual void logAddSeparator() = 0;                        // LOG_SEPARATOR
    virtual void logAppendLine(const std::string& text) = 0;
    virtual void logWriteHeader() = 0;                         // separator, LOG_HEADER, separator
    virtual void logAppendToLastLine(const std::string& text) = 0; // continues the last non-empty line
    // While muted, lines posted by searching players are dropped (during advice).
    virtual void setLogMuted(bool muted) = 0;
    virtual bool logMuted() const = 0;
};

// Everything the document asks of its surroundings: the view and the log
// each serve their own part; the frame the rest.
class GameUi {
public:
    virtual ~GameUi() = default;
    virtual BoardUi& boardUi() = 0;
    virtual LogUi& logUi() = 0;

    // The status bar.
    virtual void setStatusText(int pane, const std::string& text) = 0; // PANE_TURN or PANE_COUNTER

    // Message boxes over the view and the system beep.
    virtual void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    virtual MessageAnswer askYesNoCancel(const std::string& text, const std::string& caption) = 0;
    virtual void beep() = 0;

    // Asks for a file name to save under ("&Save" without a name, ask-before-discard).
    // No value means the user cancelled.
    virtual std::optional<std::string> chooseSavePath(const std::string& suggestedName) = 0;

    // Dialog seams: each runs its modal dialog and answers whether it ended
    // with OK. The defaults stand for a surrounding without such a dialog.
    // (Edit Players and the players' settings dialogs are reached through
    // CPlayerDatabase::setEditPlayersDialog and the catalogue's editors.)
    // Who Plays sets the selection's indices and players on OK.
    virtual bool runWhoPlays(PlayerSelection& players) { (void)players; return false; }
    // On OK the dialog has written the new values into options and the store.
    virtual bool runOptions(OptionValues& options, CPlayerDatabase& database) {
        (void)options; (void)database; return false;
    }

    // What the commands' enabling reads (busy, the history, the players) may
    // have changed: called as each of the document's entry points returns.
    virtual void stateChanged() {}
};

} // namespace quintrel
