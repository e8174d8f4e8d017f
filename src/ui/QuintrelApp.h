#pragma once
// CQuintrelApp: starts the program. It owns the settings store, the player
// database, the game document and the main frame, in that order of birth, so
// they die in the reverse order: the frame first (it stops any thinking),
// then the document, then the database, which saves the player list.

#include <QString>

#include <memory>

namespace quintrel {
class CPlayerDatabase;
class CQuintrelGam;
class SettingsBackend;
} // namespace quintrel

namespace quintrel::ui {

class CMainFrame;

class CQuintrelApp {
public:
    // store: the settings backend the whole run uses (not owned).
    explicit CQuintrelApp(SettingsBackend& store);
    ~CQuintrelApp();
    CQuintrelApp(const CQuintrelApp&) = delete;
    CQuintrelApp& operator=(const CQuintrelApp&) = delete;

    // Builds the document and the window and opens the first game: an empty
    // one, or the file named. False when that file cannot be opened.
    bool start(const QString& file = QString());

    CMainFrame* frame() const { return mainFrame.get(); }
    CQuintrelGam* document() const { return doc.get(); }
    CPlayerDatabase& database() { return *players; }

private:
    void reportRepairedPlayers();

    SettingsBackend& store;
    std::unique_ptr<CPlayerDatabase> players;
    std::unique_ptr<CQuintrelGam> doc;
    std::unique_ptr<CMainFrame> mainFrame;
};

} // namespace quintrel::ui
