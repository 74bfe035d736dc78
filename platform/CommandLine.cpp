#include "platform/CommandLine.h"

#include "platform/ProgramName.h"

#include <sys/stat.h>

namespace tablor {

namespace {

constexpr const char* Usage =
    "Usage : tablor [FICHIER]\n"
    "Éditeur de tables de texte (fichiers .tbr).\n"
    "\n"
    "  FICHIER        la table à ouvrir au démarrage ; sans elle, Tablor rouvre\n"
    "                 la dernière table de la session précédente\n"
    "  -debug         écrit le rapport de diagnostic de l'aide (HHDebug.txt)\n"
    "  -h, --help     affiche cette aide et quitte\n"
    "  -V, --version  affiche la version et quitte\n";

} // namespace

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::optional<std::string> commandLineAnswer(const std::vector<std::string>& arguments,
                                             const FileExists& exists) {
    if (arguments.empty()) return std::nullopt;
    const std::string& first = arguments.front();
    const bool help = first == "-h" || first == "--help";
    const bool version = first == "-V" || first == "--version";
    if ((!help && !version) || exists(first)) return std::nullopt;
    return help ? std::string(Usage) : std::string(ProgramName) + "\n";
}

} // namespace tablor
