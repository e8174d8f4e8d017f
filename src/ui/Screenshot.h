#pragma once
// The --screenshot run: the program starts as usual on the given settings
// store, opens the game if one is named, renders its main window at the stored
// zoom and display options into a PNG file and ends. Nothing waits for a user:
// a message the game would show in a box is handed back as the error instead.
// The run reads the store but leaves it as it was. With analyseMs above 0
// the position is first analysed that long, its analysis shown.

#include <QString>

namespace quintrel {
class SettingsBackend;
}

namespace quintrel::ui {

// 0 when the PNG was written; 2 with error set to what went wrong otherwise.
int writeScreenshot(SettingsBackend& store, const QString& pngPath, const QString& gamePath, QString& error,
                    int analyseMs = 0);

} // namespace quintrel::ui
