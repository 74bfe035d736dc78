#pragma once
// The help viewer binding. At start-up, before any window exists, LoadHelpControl finds the
// viewer module (libhhctrl.so beside the executable, else in the installed library folder),
// loads it and binds its entry points; the help command and the close-all request at the main
// window's end call it; UnloadHelpControl releases it as the last step of the program. Without
// a module nothing is bound, the program runs as usual and the help command has nothing to
// call.

#include "hhctrl/HtmlHelpApi.h"

#include <QString>

namespace tablor {

// The viewer module's path, or empty when there is none.
QString GetHelpControlPath();
// Loads and binds the viewer; does nothing when it is already loaded or can't be found.
void LoadHelpControl();
// Releases the viewer and empties every entry point; does nothing when none is loaded.
void UnloadHelpControl();

// The bound default entry point (HtmlHelpA), or null when none.
HtmlHelpAFunc HtmlHelp();
// The two exports as bound, each null when the module lacks it.
HtmlHelpAFunc BoundHtmlHelpA();
HtmlHelpWFunc BoundHtmlHelpW();

// The help command's work: asks the viewer for the help file (HH_DISPLAY_TOPIC);
// returns false when no viewer is bound.
bool ShowHelpFile(const QString& executablePath);
// Close-all request (HH_CLOSE_ALL) if bound.
void CloseAllHelp();

// Where the viewer module is looked for, in order, for a program at executablePath.
QStringList HelpControlCandidates(const QString& executablePath);
// The help file that the help command opens for a program at executablePath: Tablor.chm beside
// it, else the installed share/tablor/Tablor.chm; beside it when neither exists.
QString HelpFilePath(const QString& executablePath);
// The running program's full path, read from the system (no QApplication needed).
QString RunningExecutablePath();

} // namespace tablor
