#pragma once
// What the help diagnostics report about the machine they run on. Linux has no operating
// system family, locale identifier or browser control of the kind the report was made for, so
// each fact is the nearest true one: the kernel's name and version, the Windows locale
// identifier of the user's locale, and the version of the library that draws the help pages.

#include "help/FileVersion.h"

#include <QString>

#include <cstdint>

namespace tablor {

struct MachineFacts {
    QString dateTime; // now: the locale's short date, a blank, its long time
    QString osName;   // "Linux"
    int osMajor = 0;
    int osMinor = 0;
    int osBuild = 0;
    std::uint32_t localeId = 0; // Windows locale identifier (0x040C for fr_FR)
    QString decimalSeparator;
    // The user's own folder for the report when the program's folder refuses it: the runtime
    // folder, else the cache folder; never a folder other users share, such as /tmp.
    QString privateDir;
    FileVersion viewer;  // of the help viewer module
    FileVersion browser; // of the page-drawing library, adjusted
};

// The facts of this machine, now. Needs no QApplication.
MachineFacts ReadMachineFacts();

// The Windows locale identifier of a locale named like "fr_FR" or "fr_FR.UTF-8@euro":
// the language's neutral identifier when only the language is known, 0x007F (invariant) for
// the C and POSIX locales, 0x1000 (a locale without identifier) for any other.
std::uint32_t WindowsLocaleId(const QString& localeName);

// The library that draws the help viewer's pages (Qt Widgets, home of its text browser), as the
// program has loaded it.
QString BrowserLibraryPath();
// That library's version, with the browser version adjustment.
FileVersion ReadBrowserVersion();

} // namespace tablor
