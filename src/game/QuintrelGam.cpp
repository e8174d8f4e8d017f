#include "game/QuintrelGam.h"

#include <cstdio>
#include <filesystem>

#include "players/HumanPlayer.h"
#include "players/Player.h"
#include "catalogue/PlayerDatabase.h"
#include "players/PlayerDefinition.h"

namespace quintrel {

namespace {

// Stands in for the view until one is attached: shows nothing, asks nobody.
class DetachedUi final : public GameUi, public BoardUi, public LogUi {
public:
    BoardUi& boardUi() override { return *this; }
    LogUi& logUi() override { return *this; }
    void setInputFlags(int) override {}
    void refreshPointer() override {}
    int inputFlags() const override { return INPUT_NONE; }
    void markField(Field) override {}
    void clearMark() override {}
    void resetMarks() override {}
    void clearBlinking() override {}
    void showWinningFive(Field, Field) override {}
    void showExaminedField(Field) override {}
    bool showsAllExamined() const override { return false; }
    bool showsWorthOfFields() const override { return false; }
    void repaint() override {}
    void startReplayTimer(unsigned) override {}
    void stopReplayTimer() override {}
    void setStatusText(int, const std::string&) override {}
    void messageBox(const std::string&, const std::string&, MessageIcon) override {}
    MessageAnswer askYesNoCancel(const std::string&, const std::string&) override { return MessageAnswer::Cancel; }
    void beep() override {}
    void logClear() override {}
    void logAddSeparator() override {}
    void logAppendLine(const std::string&) override {}
    void logWriteHeader() override {}
    void logAppendToLastLine(const std::string&) override {}
    void setLogMuted(bool) override {}
    bool logMuted() const override { return false; }
    std::optional<std::string> chooseSavePath(const std::string&) override { return std::nullopt; }
};

DetachedUi detachedUi;

constexpr const char* APP_TITLE = "Quintrel++";

template <typename... Args>
std::string format(const char* fmt, Args... args) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, fmt, args...);
    return buffer;
}

// The input devices of the human on move; a player of another kind takes none.
int inputDeviceOf(const CPlayer* p) {
    const auto* human = dynamic_cast<const CHumanPlayer*>(p);
    return human ? human->inputDevice() : INPUT_NONE;
}

char columnLetter(Side s) { return s == SIDE_O ? 'A' : 'B'; }
char fieldLetter(Field f) { return static_cast<char>(f.x + 64); }

} // namespace

// Set-up

CQuintrelGam::CQuintrelGam(CPlayerDatabase& database, const OptionValues& options)
    : ui_(&detachedUi), database_(database), players_(database), options_(options) {
    historyFlags_ = HISTORY_FRESH;
    copyOptions();
    options_.database = &database;
    players_.setPriority(options_.threadPriority());
    newGame();
}

CQuintrelGam::~CQuintrelGam() {
    if (!thinking_) return;
    if (adviceRequested_) {
        if (database_.expertPlayer()) database_.expertPlayer()->stopThinking();
    } else if (CPlayer* p = onMovePlayer(); p && p->isComputer == 1) {
        p->stopThinking();
    }
}

void CQuintrelGam::attachView(GameUi& ui, const WindowHandle& window) {
    const ChangeNotice notice{*this};
    ui_ = &ui;
    if (viewKnown_) return;
    viewKnown_ = true;
    players_.setWindow(window);
}

void CQuintrelGam::copyOptions() {
    askIfSave_ = options_.ask != 0;
    replayPauseMs_ = options_.pause;
}

// Messages

void CQuintrelGam::handleMessage(const PortMessage& msg) {
    const ChangeNotice notice{*this};
    if (msg.wParam != MSG_TAG) return;
    switch (msg.id) {
    case MSG_MOVE:
        onMoveDelivered(GameMove::unpack(msg.lParam));
        break;
    case MSG_LOG:
        if (!ui().logUi().logMuted()) ui().logUi().logAppendToLastLine(msg.text);
        break;
    case MSG_PROGRESS:
        ui().setStatusText(PANE_COUNTER, msg.text);
        break;
    case MSG_EXAMINED:
        ui().boardUi().showExaminedField(Field::unpack(msg.lParam & 0xFFFF));
        break;
    case MSG_LOG_LINE:
        if (!ui().logUi().logMuted()) ui().logUi().logAppendLine(msg.text);
        break;
    case MSG_FORFEIT:
        onForfeit(static_cast<Side>(msg.lParam), msg.text);
        break;
    default:
        break;
    }
}

void CQuintrelGam::onReplayTimer() {
    const ChangeNotice notice{*this};
    if (!replaying_) ui().boardUi().stopReplayTimer();
    replayStep();
}

// Starting games

bool CQuintrelGam::onNewDocument() {
    replaying_ = false;
    path_.clear();
    modified_ = false;
    historyFlags_ = HISTORY_FRESH;
    ui().boardUi().resetMarks();
    ui().boardUi().clearMark();
    // Undo any swap, hand-over or Autoplay.
    players_.playerO = players_.firstPlayer.get();
    players_.playerX = players_.secondPlayer.get();
    players_.savedO = players_.savedX = nullptr;
    haltAutoplay_ = false;
    newGame();
    ui().boardUi().repaint();
    requestNextMove();
    if (isHuman(players_.playerO)) {
        ui().boardUi().setInputFlags(inputDeviceOf(players_.playerO));
        ui().boardUi().refreshPointer();
    }
    return true;
}

bool CQuintrelGam::commandNew() {
    const ChangeNotice notice{*this};
    if (!askBeforeDiscard()) return false;
    return onNewDocument();
}

void CQuintrelGam::newGame() {
    board_.clear();
    players_.playerO->reset();
    players_.playerX->reset();
    sideToMove_ = SIDE_O;
    current_ = 0;
    last_ = -1;
    const std::string text = "New game:  " + players_.playerO->name() + "  vs  " + players_.playerX->name();
    ui().logUi().logClear();
    ui().logUi().logAddSeparator();
    ui().logUi().logAppendLine(text);
    ui().logUi().logWriteHeader();
}

// The turn cycle

void CQuintrelGam::showCounter() {
    ui().setStatusText(PANE_COUNTER,
                       format("%3u. %c", static_cast<unsigned>(current_ / 2 + 1), columnLetter(sideToMove_)));
}

void CQuintrelGam::requestNextMove() {
    CPlayer* p = onMovePlayer();
    p->requestMove(board_, sideToMove_);
    thinking_ = true;
    if (isHuman(p)) {
        ui().setStatusText(PANE_TURN, p->name() + " on move.");
        showCounter();
    } else {
        ui().boardUi().setInputFlags(INPUT_NONE);
        ui().boardUi().refreshPointer();
        ui().setStatusText(PANE_TURN, format("%c: %s is thinking...", sideLetter(sideToMove_), p->name().c_str()));
    }
}

void CQuintrelGam::recordMove(GameMove m) {
    board_.place(m.field, m.side);
    moves_[current_] = m;
    last_ = current_;
    ++current_;
    ui().boardUi().markField(m.field);
    modified_ = true;
}

void CQuintrelGam::onMoveDelivered(GameMove m) {
    const ChangeNotice notice{*this};
    // Moves that do not fit are dropped silently. A finished game and a
    // running replay take no move either: recording one would cut the record.
    if (m.side != sideToMove_ || !m.field.onBoard() || !board_.isEmpty(m.field)) return;
    if ((historyFlags_ & HISTORY_GAME_OVER) || replaying_) return;
    if (adviceRequested_) {
        showAdvice(m);
        return;
    }
    thinking_ = false;
    CPlayer* mover = onMovePlayer();
    recordMove(m);
    ui().logUi().logAppendLine(format("%3u. %12s  %c %2u", static_cast<unsigned>((current_ + 1) / 2), mover->name().c_str(),
                              fieldLetter(m.field), static_cast<unsigned>(m.field.y)));

    int ends[4];
    if (board_.findFive(m.side, ends)) {
        historyFlags_ = HISTORY_FINISHED;
        ui().boardUi().showWinningFive(Field{static_cast<std::uint8_t>(ends[0]), static_cast<std::uint8_t>(ends[1])},
                             Field{static_cast<std::uint8_t>(ends[2]), static_cast<std::uint8_t>(ends[3])});
        const char* title = isHuman(mover) ? "Congratulation!" : "Game Over";
        ui().setStatusText(PANE_TURN, format("Player %c has won.", sideLetter(m.side)));
        ui().setStatusText(PANE_COUNTER, "");
        const std::string text = format(" Player %c (%s) has won.", sideLetter(m.side), mover->name().c_str());
        ui().messageBox(text, title, MessageIcon::Information);
        ui().logUi().logAddSeparator();
        ui().logUi().logAppendLine(text);
        ui().logUi().logAddSeparator();
        finishDelivered();
        return;
    }
    // A full board has no field left for five, so it ends here as a draw too.
    if (board_.noFivePossible() || current_ >= BOARD_SIZE * BOARD_SIZE) {
        historyFlags_ = HISTORY_FINISHED;
        ui().setStatusText(PANE_TURN, "Board too full. Draw.");
        ui().setStatusText(PANE_COUNTER, "");
        ui().messageBox("Board too full. Draw.", "Game Over", MessageIcon::Information);
        ui().logUi().logAddSeparator();
        ui().logUi().logAppendLine(" Draw.");
        ui().logUi().logAddSeparator();
        finishDelivered();
        return;
    }

    historyFlags_ = HISTORY_AT_END;
    const bool halt = haltAutoplay_ && otherPlayer()->isComputer == 1;
    if (halt) haltAutoplay_ = false;
    sideToMove_ = otherSide(sideToMove_);
    repaintIfOverlays();
    if (halt) {
        restoreAutoplayPlayers();
        handOverSideToMove();
        if (!replaying_) requestNextMove();
        ui().boardUi().refreshPointer();
    } else {
        requestNextMove();
    }
}

// A computer player that cannot go on loses the game, no move recorded; as
// advisor it only says why no advice comes. Late news of an earlier request
// (the side no longer on move, nobody thinking) is dropped like a late move.
void CQuintrelGam::onForfeit(Side side, const std::string& what) {
    if (side != sideToMove_ || !thinking_ || (historyFlags_ & HISTORY_GAME_OVER) || replaying_) return;
    thinking_ = false;
    if (adviceRequested_) {
        endAdvice();
        ui().logUi().setLogMuted(false);
        ui().messageBox(what, "No advice", MessageIcon::Exclamation);
        return;
    }
    CPlayer* loser = onMovePlayer();
    historyFlags_ = HISTORY_FINISHED;
    ui().setStatusText(PANE_TURN, format("Player %c has lost.", sideLetter(side)));
    ui().setStatusText(PANE_COUNTER, "");
    const std::string text = format(" Player %c (%s) has lost: ", sideLetter(side), loser->name().c_str()) + what;
    ui().messageBox(text, "Game Over", MessageIcon::Exclamation);
    ui().logUi().logAddSeparator();
    ui().logUi().logAppendLine(text);
    ui().logUi().logAddSeparator();
    restoreAutoplayPlayers();
    ui().boardUi().refreshPointer();
}

// After a win or a draw the turn still passes, so sideToMove keeps matching
// current and navigation finds the last mover on 1 - sideToMove.
void CQuintrelGam::finishDelivered() {
    sideToMove_ = otherSide(sideToMove_);
    repaintIfOverlays();
    restoreAutoplayPlayers();
    ui().boardUi().refreshPointer();
}

void CQuintrelGam::restoreAutoplayPlayers() {
    if (!players_.savedO) return;
    players_.playerO = players_.savedO;
    players_.playerX = players_.savedX;
    players_.savedO = players_.savedX = nullptr;
}

void CQuintrelGam::handOverSideToMove() {
    CPlayer* p = onMovePlayer();
    if (isHuman(p)) return;
    CPlayer*& slot = sideToMove_ == SIDE_O ? players_.playerO : players_.playerX;
    if (isHuman(otherPlayer()))
        std::swap(players_.playerO, players_.playerX);
    else if (database_.humanPlayer())
        slot = database_.humanPlayer();
}

void CQuintrelGam::resumeAfterNavigation() {
    int ends[4];
    if (board_.findFive(otherSide(sideToMove_), ends)) {
        thinking_ = false;
        historyFlags_ = HISTORY_FINISHED;
        ui().boardUi().showWinningFive(Field{static_cast<std::uint8_t>(ends[0]), static_cast<std::uint8_t>(ends[1])},
                             Field{static_cast<std::uint8_t>(ends[2]), static_cast<std::uint8_t>(ends[3])});
        ui().setStatusText(PANE_TURN, format("Player %c has won.", sideLetter(otherSide(sideToMove_))));
        ui().setStatusText(PANE_COUNTER, "");
        ui().boardUi().refreshPointer();
        return;
    }
    if (board_.noFivePossible() || current_ >= BOARD_SIZE * BOARD_SIZE) {
        historyFlags_ = HISTORY_FINISHED;
        thinking_ = false;
        ui().boardUi().setInputFlags(INPUT_NONE);
        ui().boardUi().refreshPointer();
        ui().setStatusText(PANE_TURN, "Draw.");
        ui().setStatusText(PANE_COUNTER, "");
        return;
    }
    handOverSideToMove();
    if (!replaying_) requestNextMove();
    ui().boardUi().refreshPointer();
}

// The advisor is done: the player on move gets the board back.
void CQuintrelGam::endAdvice() {
    adviceRequested_ = false;
    CPlayer* p = onMovePlayer();
    ui().boardUi().setInputFlags(inputDeviceOf(p));
    ui().boardUi().refreshPointer();
    ui().setStatusText(PANE_TURN, p->name() + " on move.");
    showCounter();
}

void CQuintrelGam::showAdvice(GameMove m) {
    endAdvice();
    const std::string advisor = database_.expertPlayer() ? database_.expertPlayer()->name() : std::string();
    ui().messageBox(format("Try move  %c %d ...", fieldLetter(m.field), static_cast<int>(m.field.y)),
                    "Advice from " + advisor, MessageIcon::Information);
    ui().boardUi().markField(m.field);
    ui().logUi().setLogMuted(false);
}

void CQuintrelGam::replayStep() {
    if (!replaying_) {
        if (historyFlags_ == HISTORY_FINISHED) return;
        handOverSideToMove();
        requestNextMove();
        ui().boardUi().refreshPointer();
        return;
    }
    if (current_ <= last_) {
        placeRecorded(current_);
        historyFlags_ = current_ == last_ + 1 ? HISTORY_AT_END : 0;
        resumeAfterNavigation();
    }
    if (historyFlags_ != HISTORY_FINISHED) showCounter();
    if (last_ < current_) replaying_ = false;
}

// History

void CQuintrelGam::placeRecorded(int index) {
    const GameMove& m = moves_[index];
    board_.place(m.field, m.side);
    ui().boardUi().markField(m.field);
    current_ = index + 1;
    sideToMove_ = otherSide(sideToMove_);
    repaintIfOverlays();
}

void CQuintrelGam::repaintIfOverlays() {
    if (ui().boardUi().showsAllExamined() || ui().boardUi().showsWorthOfFields()) ui().boardUi().repaint();
}

void CQuintrelGam::moveBack() {
    const ChangeNotice notice{*this};
    if (current_ < 1) return;
    ui().boardUi().clearBlinking();
    --current_;
    board_.remove(moves_[current_].field);
    sideToMove_ = otherSide(sideToMove_);
    historyFlags_ = current_ == 0 ? HISTORY_AT_START : 0;
    ui().boardUi().markField(moves_[current_].field);
    repaintIfOverlays();
    handOverSideToMove();
    if (!replaying_) requestNextMove();
    ui().boardUi().refreshPointer();
}

void CQuintrelGam::moveForward() {
    const ChangeNotice notice{*this};
    if (current_ > last_) return;
    placeRecorded(current_);
    historyFlags_ = current_ == last_ + 1 ? HISTORY_AT_END : 0;
    resumeAfterNavigation();
}

void CQuintrelGam::rewindToStart() {
    ui().boardUi().clearBlinking();
    board_.clear();
    current_ = 0;
    historyFlags_ = HISTORY_AT_START;
    sideToMove_ = SIDE_O;
    handOverSideToMove();
    if (!replaying_) requestNextMove();
    ui().boardUi().refreshPointer();
    ui().boardUi().markField(moves_[0].field);
    ui().boardUi().repaint();
}

void CQuintrelGam::undoAll() {
    const ChangeNotice notice{*this};
    if (last_ < 0) return;
    rewindToStart();
}

void CQuintrelGam::redoAll() { goToMove(last_ + 1); }

void CQuintrelGam::goToMove(int n) {
    const ChangeNotice notice{*this};
    if (n > last_ + 1) n = last_ + 1;
    while (current_ < n) {
        const GameMove& m = moves_[current_];
        board_.place(m.field, m.side);
        ++current_;
        sideToMove_ = otherSide(sideToMove_);
    }
    if (current_ == 0)
        historyFlags_ = last_ == -1 ? HISTORY_FRESH : HISTORY_AT_START;
    else
        historyFlags_ = current_ == last_ + 1 ? HISTORY_AT_END : 0;
    resumeAfterNavigation();
    if (last_ >= 0) ui().boardUi().markField(moves_[current_ > 0 ? current_ - 1 : 0].field);
    ui().boardUi().repaint();
}

// Commands steering the cycle

void CQuintrelGam::stopThinking() {
    const ChangeNotice notice{*this};
    if (replaying_) {
        replaying_ = false;
        return;
    }
    if (!thinking_) return;
    CPlayer* p = onMovePlayer();
    if (!adviceRequested_ && p->isComputer != 1) return;
    if (players_.playerO->isComputer == 1 && players_.playerX->isComputer == 1) haltAutoplay_ = true;
    if (adviceRequested_) {
        if (database_.expertPlayer()) database_.expertPlayer()->stopThinking();
    } else {
        p->stopThinking();
    }
}

void CQuintrelGam::autoplay() {
    const ChangeNotice notice{*this};
    CPlayer* expert = database_.expertPlayer();
    if (!expert) return;
    players_.savedO = players_.playerO;
    players_.savedX = players_.playerX;
    haltAutoplay_ = false;
    players_.playerO = players_.playerX = expert;
    if (historyFlags_ == HISTORY_FINISHED) {
        replaying_ = false;
        historyFlags_ = HISTORY_FRESH;
        ui().boardUi().resetMarks();
        ui().boardUi().clearMark();
        newGame();
        modified_ = true;
        ui().boardUi().repaint();
    }
    requestNextMove();
}

void CQuintrelGam::switchSides() {
    const ChangeNotice notice{*this};
    if (!isHuman(onMovePlayer())) return;
    std::swap(players_.playerO, players_.playerX);
    requestNextMove();
}

void CQuintrelGam::advice() {
    const ChangeNotice notice{*this};
    CPlayer* a = database_.expertPlayer();
    if (!a) return;
    a->reset();
    ui().logUi().setLogMuted(true);
    adviceRequested_ = true;
    a->requestMove(board_, sideToMove_);
    thinking_ = true;
    ui().boardUi().setInputFlags(INPUT_NONE);
    ui().boardUi().refreshPointer();
    ui().setStatusText(PANE_TURN, "Thinking about advice...");
}

void CQuintrelGam::replay() {
    const ChangeNotice notice{*this};
    replaying_ = true;
    if (current_ > last_) rewindToStart();
    ui().setStatusText(PANE_TURN, "Replaying...");
    ui().setStatusText(PANE_COUNTER, "");
    ui().boardUi().setInputFlags(INPUT_NONE);
    ui().boardUi().refreshPointer();
    ui().boardUi().startReplayTimer(replayPauseMs_);
}

void CQuintrelGam::whoPlays() {
    const ChangeNotice notice{*this};
    if (!ui().runWhoPlays(players_)) return;
    if (ui().boardUi().showsAllExamined()) ui().boardUi().repaint();
    if (historyFlags_ != HISTORY_FINISHED) requestNextMove();
}

void CQuintrelGam::editPlayers() {
    const ChangeNotice notice{*this};
    if (!database_.editPlayers(players_.firstIndex, players_.secondIndex, players_.firstPlayer.get(),
                               players_.secondPlayer.get()))
        return;
    CPlayer* p = onMovePlayer();
    if (isHuman(p)) {
        ui().boardUi().setInputFlags(inputDeviceOf(p));
        ui().boardUi().refreshPointer();
    }
}

void CQuintrelGam::options() {
    const ChangeNotice notice{*this};
    if (!ui().runOptions(options_, database_)) return;
    copyOptions();
    players_.setPriority(options_.threadPriority());
    // Compared with the database's own Expert: an Edit Players removal may have
    // moved it since the options were last confirmed.
    const auto chosen = static_cast<std::uint32_t>(options_.expertIndex());
    if (chosen != database_.expertIndex()) database_.setExpert(chosen);
}

void CQuintrelGam::opponentSettings() {
    const ChangeNotice notice{*this};
    if (!canOpponentSettings()) return;
    // The player links to its definition read-only; the list entry itself is edited.
    const PlayerDefinition* linked = otherPlayer()->definition;
    for (std::uint32_t i = 0; i < database_.count(); ++i) {
        if (database_.definition(i) == linked) {
            database_.definition(i)->runSettingsDialog();
            break;
        }
    }
    if (ui().boardUi().showsAllExamined()) ui().boardUi().repaint();
}

// Command enabling

bool CQuintrelGam::isHuman(const CPlayer* p) const { return p && p->isComputer == 0; }

bool CQuintrelGam::computing() const {
    return thinking_ && (adviceRequested_ || onMovePlayer()->isComputer == 1);
}
bool CQuintrelGam::busy() const { return computing() || replaying_; }
bool CQuintrelGam::canMoveBack() const { return !busy() && !(historyFlags_ & HISTORY_AT_START); }
bool CQuintrelGam::canMoveForward() const { return !busy() && !(historyFlags_ & HISTORY_AT_END); }
bool CQuintrelGam::canUndoAll() const { return !(historyFlags_ & HISTORY_AT_START) && !computing(); }
bool CQuintrelGam::canSave() const { return !busy() && !(historyFlags_ & HISTORY_EMPTY); }
bool CQuintrelGam::canReplay() const { return !busy() && !(historyFlags_ & HISTORY_EMPTY); }
bool CQuintrelGam::canAdvice() const { return !busy() && !(historyFlags_ & HISTORY_GAME_OVER); }
bool CQuintrelGam::canStartOver() const { return !busy(); }
bool CQuintrelGam::canStopThinking() const { return busy(); }

bool CQuintrelGam::canOpponentSettings() const {
    if (computing() || replaying_) return false;
    if (!isHuman(onMovePlayer())) return false;
    const CPlayer* opponent = otherPlayer();
    return opponent->isComputer == 1 && opponent->definition && opponent->definition->hasSettingsDialog;
}

// Files

std::string CQuintrelGam::title() const {
    if (path_.empty()) return "Untitled";
    return std::filesystem::path(path_).filename().string();
}

std::vector<std::uint8_t> CQuintrelGam::storeBytes() const { return encodeGame(moves_, last_, current_); }

bool CQuintrelGam::loadBytes(const std::vector<std::uint8_t>& bytes) {
    const auto game = decodeGame(bytes);
    if (!game) return false;
    install(*game);
    return true;
}

void CQuintrelGam::install(const LoadedGame& game) {
    replaying_ = false;
    haltAutoplay_ = false;
    ui().boardUi().clearBlinking();
    newGame();
    last_ = game.last;
    current_ = 0;
    for (int i = 0; i <= last_; ++i) moves_[i] = game.moves[static_cast<std::size_t>(i)];
    goToMove(game.current);
}

bool CQuintrelGam::openFile(const std::string& path) {
    // A FIFO, a device or a folder is no game file; reading it could block or never end.
    const FileRead file = readRegularFile(path, MAX_GAME_FILE_SIZE);
    if (file.status == FileReadStatus::Missing || file.status == FileReadStatus::Unreadable) {
        const char* text = file.status == FileReadStatus::Unreadable
                               ? "Unable to read from %s, it is opened by someone else."
                               : "Unable to open %s, the file was not found.";
        ui().messageBox(format(text, path.c_str()), APP_TITLE, MessageIcon::Exclamation);
        return false;
    }
    if (file.status == FileReadStatus::Ok && file.bytes.empty()) {
        ui().messageBox(format("File  %s  is empty.\nIt is not a valid Quintrel++ game.", path.c_str()), APP_TITLE,
                        MessageIcon::Exclamation);
        return false;
    }
    if (file.status != FileReadStatus::Ok || !loadBytes(file.bytes)) {
        ui().messageBox("Unexpected file format.", APP_TITLE, MessageIcon::Exclamation);
        return false;
    }
    path_ = path;
    modified_ = false;
    return true;
}

bool CQuintrelGam::commandPaste(const std::vector<Field>& fields) {
    const ChangeNotice notice{*this};
    if (fields.empty() || fields.size() > static_cast<std::size_t>(MAX_RECORDED_MOVES) || !askBeforeDiscard())
        return false;
    std::vector<GameMove> record;
    for (std::size_t i = 0; i < fields.size(); ++i) record.push_back(GameMove{fields[i], static_cast<Side>(i % 2)});
    const int last = static_cast<int>(record.size()) - 1;
    if (!loadBytes(encodeGame(record.data(), last, last + 1))) return false;
    // A new record, not the file's: saving asks for a name.
    path_.clear();
    modified_ = true;
    return true;
}

bool CQuintrelGam::commandOpen(const std::string& path) {
    const ChangeNotice notice{*this};
    if (!askBeforeDiscard()) return false;
    return openFile(path);
}

bool CQuintrelGam::writeFile(const std::string& path) {
    if (writeFileAtomically(path, storeBytes())) return true;
    ui().messageBox(format("Unable to write to %s, it is read-only or opened by someone else.", path.c_str()),
                    APP_TITLE, MessageIcon::Exclamation);
    return false;
}

bool CQuintrelGam::saveAs(const std::string& path) {
    const ChangeNotice notice{*this};
    if (last_ < 0 || !writeFile(path)) return false;
    path_ = path;
    modified_ = false;
    return true;
}

bool CQuintrelGam::save() {
    const ChangeNotice notice{*this};
    if (!path_.empty()) return saveAs(path_);
    const auto chosen = ui().chooseSavePath(title());
    if (!chosen) return false;
    return saveAs(*chosen);
}

bool CQuintrelGam::askBeforeDiscard() {
    // An empty record has nothing worth keeping (and would not load again).
    if (!askIfSave_ || !modified_ || last_ < 0) return true;
    switch (ui().askYesNoCancel("Save changes to " + title() + "?", APP_TITLE)) {
    case MessageAnswer::Cancel:
        return false;
    case MessageAnswer::Yes:
        return save();
    case MessageAnswer::No:
        return true;
    }
    return false;
}

} // namespace quintrel
