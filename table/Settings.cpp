#include "table/Settings.h"

#include "platform/Ansi.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"

#include <unistd.h>

namespace tablor {
namespace {

// Names as the file holds them, in Windows-1252 ("Fenêtre" has the byte 0xEA).
constexpr const char* LastFileSection = "DernierFichier";
// "Fichier" holds the path in Windows-1252; a path that code page cannot hold is kept whole,
// as its own bytes, under this second key, which is read first.
constexpr const char* LastFileNativeKey = "FichierUTF8";
constexpr const char* WindowSection = "Fen\xEAtre";
constexpr const char* CardSection = "Fiche";
constexpr const char* ColumnsSection = "Colonnes";

} // namespace

std::string settingsPathFor(const std::string& executablePath) {
    const auto slash = executablePath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = executablePath.rfind('.');
    // A dot that starts the name makes a hidden file, not an extension.
    if (dot == std::string::npos || dot <= nameStart) return executablePath + ".ini";
    return executablePath.substr(0, dot) + ".ini";
}

std::string settingsPlace(const std::string& executablePath, bool folderWritable,
                          const std::string& configFolder) {
    if (folderWritable || configFolder.empty()) return settingsPathFor(executablePath);
    return configFolder + "/tablor/tablor.ini";
}

std::string settingsPathForUser(const std::string& executablePath, const EnvironmentLookup& env) {
    const auto slash = executablePath.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : executablePath.substr(0, slash + 1);
    return settingsPlace(executablePath, ::access(folder.c_str(), W_OK) == 0, configFolder(env));
}

MainWindowSettings readMainWindowSettings(const std::string& iniPath, int screenW, int screenH) {
    const IniFile ini(iniPath);
    MainWindowSettings s;
    s.lastFile = ini.readString(LastFileSection, LastFileNativeKey, "");
    if (s.lastFile.empty())
        s.lastFile = ansi::toUtf8(ini.readString(LastFileSection, "Fichier", ""));
    s.maximised = ini.readBool(WindowSection, "Maxi", false);
    s.w = screenW;
    s.h = screenH;
    if (!s.maximised) {
        s.x = ini.readInteger(WindowSection, "X", 0);
        s.y = ini.readInteger(WindowSection, "Y", 0);
        s.w = ini.readInteger(WindowSection, "W", screenW);
        s.h = ini.readInteger(WindowSection, "H", screenH);
    }
    return s;
}

CardPosition readCardPosition(const std::string& iniPath) {
    const IniFile ini(iniPath);
    CardPosition p;
    p.x = ini.readInteger(CardSection, "x", p.x);
    p.y = ini.readInteger(CardSection, "y", p.y);
    return p;
}

void writeSettingsAtClose(const std::string& iniPath, const SettingsAtClose& s) {
    try {
        const auto slash = iniPath.rfind('/');
        if (slash != std::string::npos && slash > 0) makeUserFolder(iniPath.substr(0, slash));
        IniFile ini(iniPath);
        // One write of the whole file at the end: the same content, with one flush to disk.
        ini.holdWrites();
        ini.eraseSection(LastFileSection);
        const std::string ansiPath = ansi::fromUtf8(s.lastFile);
        ini.writeString(LastFileSection, "Fichier", ansiPath);
        if (ansi::toUtf8(ansiPath) != s.lastFile)
            ini.writeString(LastFileSection, LastFileNativeKey, s.lastFile);
        ini.eraseSection(ColumnsSection);
        ini.eraseSection(WindowSection);
        ini.writeInteger(WindowSection, "X", s.x);
        ini.writeInteger(WindowSection, "Y", s.y);
        ini.writeInteger(WindowSection, "W", s.w);
        ini.writeInteger(WindowSection, "H", s.h);
        ini.writeString(WindowSection, "Maxi", s.maximised ? "1" : "0");
        ini.eraseSection(CardSection);
        ini.writeInteger(CardSection, "X", s.cardX);
        ini.writeInteger(CardSection, "Y", s.cardY);
        ini.writeHeld();
    } catch (const TablorError&) {
        throw TablorError("Impossible d'écrire dans " + iniPath);
    }
}

} // namespace tablor
