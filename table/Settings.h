#pragma once
// The settings file: the last table, the main window's place and size and
// the record card's place, read at start-up and written when the main window closes. Values
// missing or unreadable take their defaults, silently. Qt-free.

#include "platform/UserFolders.h"

#include <string>

namespace tablor {

// The executable's path with its extension replaced by ".ini" (added when it has none).
std::string settingsPathFor(const std::string& executablePath);

// Where a program at executablePath keeps its settings: beside itself when its folder can be
// written (a build folder, a copy on a USB key), otherwise the user's own
// <configFolder>/tablor/tablor.ini. Without a known configuration folder, beside itself.
std::string settingsPlace(const std::string& executablePath, bool folderWritable,
                          const std::string& configFolder);
// The same, asking the system whether the folder can be written and the environment for the
// user's configuration folder.
std::string settingsPathForUser(const std::string& executablePath,
                                const EnvironmentLookup& env = processEnvironment);

struct MainWindowSettings {
    std::string lastFile; // native bytes of the path; empty when none
    bool maximised = false;
    // Read only when not maximised; otherwise these defaults: the whole screen.
    int x = 0, y = 0, w, h;
};
MainWindowSettings readMainWindowSettings(const std::string& iniPath, int screenW, int screenH);

struct CardPosition {
    int x = 100, y = 30;
};
// The card reads "x" and "y" in "Fiche"; names compare without regard to case, so the "X" and
// "Y" that the main window writes are the ones found.
CardPosition readCardPosition(const std::string& iniPath);

struct SettingsAtClose {
    // Native bytes; stored in the file as Windows-1252, and also as they are when that code
    // page cannot hold them.
    std::string lastFile;
    int x, y, w, h;
    bool maximised;
    int cardX, cardY;
};
// Each of the sections "DernierFichier", "Fenêtre" and "Fiche" is removed whole and written
// anew, and "Colonnes" is removed; any other section is left alone. A missing folder of the
// file (the user's own, at the first close) is created first.
// Throws TablorError("Impossible d'écrire dans " + iniPath) when the file cannot be written.
void writeSettingsAtClose(const std::string& iniPath, const SettingsAtClose& s);

} // namespace tablor
