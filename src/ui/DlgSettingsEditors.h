#pragma once
// Connects each player kind's edit-settings operation to its modal dialog:
// the human's input device, Light, Medium, the three tree kinds and Master.

namespace quintrel {

// Registers the dialogs with the player catalogue. Call once at start-up,
// before any "Settings..." button can be pressed; calling again is harmless.
void installSettingsEditors();

} // namespace quintrel
