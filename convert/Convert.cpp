#include "convert/Convert.h"

#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "table/DelimitedFile.h"
#include "table/TableFile.h"

#include <cerrno>
#include <new>
#include <optional>
#include <unistd.h>

namespace tablor {
namespace {

constexpr const char* Usage =
    "Usage : tablor-convert [options] ENTRÉE SORTIE\n"
    "        tablor-convert --check FICHIER\n"
    "Convertit entre tables Tablor (.tbr) et texte délimité (.csv, .tsv, .txt) selon les\n"
    "extensions ; « - » désigne l'entrée ou la sortie standard.\n"
    "  --to FORMAT          format de la sortie : tbr, csv, tsv ou txt (requis pour « - »)\n"
    "  --from FORMAT        format de l'entrée standard (csv par défaut)\n"
    "  --separator SEP      séparateur du texte écrit : « ; », « , » ou « tab »\n"
    "  --encoding CODAGE    codage du texte écrit : utf-8 (par défaut) ou windows-1252\n"
    "  --check FICHIER      lit le fichier et donne ses nombres de champs et d'enregistrements\n"
    "Statut de sortie : 0 fait, 1 entrée refusée (rien n'est écrit), 2 usage incorrect.\n";

struct UsageError {
    std::string message;
};

std::string lowered(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return s;
}

// A file format: a table file, or delimited text with its usual separator.
struct Format {
    bool table = false;
    char separator = ';';
};

std::optional<Format> formatNamed(const std::string& name) {
    const std::string n = lowered(name);
    if (n == "tbr") return Format{true};
    if (n == "csv") return Format{false, ';'};
    if (n == "tsv" || n == "txt") return Format{false, '\t'};
    return std::nullopt;
}

Format formatOf(const std::string& path, const std::optional<Format>& given) {
    if (given) return *given;
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        if (auto f = formatNamed(path.substr(dot + 1))) return *f;
    throw UsageError{"extension inconnue : " + path + " (tbr, csv, tsv ou txt, ou --to)"};
}

// Standard output, for "-".
class StandardOutput : public ByteSink {
public:
    void write(const char* data, std::size_t size) override {
        while (size > 0) {
            const ssize_t n = ::write(STDOUT_FILENO, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throwFileError(errno, FileAccess::Write, "-");
            data += n;
            size -= std::size_t(n);
        }
    }
};

struct Options {
    std::optional<Format> from, to;
    std::optional<char> separator;
    std::optional<TextEncoding> encoding;
    std::optional<std::string> check;
    bool help = false;
    std::vector<std::string> files;
};

Options parse(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i], value;
        const bool option = arg.size() > 2 && arg.starts_with("--");
        if (option && arg.find('=') != std::string::npos) {
            value = arg.substr(arg.find('=') + 1);
            arg = arg.substr(0, arg.find('='));
        } else if (option && arg != "--help") {
            if (i + 1 == args.size()) throw UsageError{arg + " attend une valeur"};
            value = args[++i];
        }
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--to" || arg == "--from") {
            const auto f = formatNamed(value);
            if (!f) throw UsageError{"format inconnu : " + value + " (tbr, csv, tsv ou txt)"};
            (arg == "--to" ? o.to : o.from) = f;
        } else if (arg == "--separator") {
            if (value == ";" || value == ",")
                o.separator = value[0];
            else if (value == "\t" || lowered(value) == "tab")
                o.separator = '\t';
            else
                throw UsageError{"séparateur inconnu : " + value + " (« ; », « , » ou « tab »)"};
        } else if (arg == "--encoding") {
            const std::string e = lowered(value);
            if (e == "utf-8" || e == "utf8")
                o.encoding = TextEncoding::Utf8;
            else if (e == "windows-1252" || e == "cp1252")
                o.encoding = TextEncoding::Windows1252;
            else
                throw UsageError{"codage inconnu : " + value + " (utf-8 ou windows-1252)"};
        } else if (arg == "--check") {
            o.check = value;
        } else if (option) {
            throw UsageError{"option inconnue : " + arg};
        } else {
            o.files.push_back(args[i]);
        }
    }
    return o;
}

// Standard input is delimited text unless --from says otherwise.
Format inputFormat(const std::string& path, const Options& o) {
    return formatOf(path, path == "-" ? o.from.value_or(Format{}) : o.from);
}

// Standard input, read whole.
std::string readStandardInput() {
    std::string bytes;
    char block[1 << 16];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throwFileError(errno, FileAccess::Read, "-");
        if (n == 0) return bytes;
        bytes.append(block, std::size_t(n));
    }
}

// Reads the input into doc; returns the notice of what was replaced.
std::string readInput(TableDocument& doc, const std::string& path, const Format& format) {
    if (path == "-") {
        const std::string bytes = readStandardInput();
        if (!format.table) return ImportDelimitedFromBytes(doc, bytes, availableMemory());
        LoadTableFromBytes(doc, bytes, path, availableMemory());
        return {};
    }
    if (format.table) {
        LoadTable(doc, path);
        return {};
    }
    return ImportDelimited(doc, path);
}

void writeOutput(const TableDocument& doc, const std::string& path, const Format& format,
                 const DelimitedFormat& text) {
    const DocumentCardLayout layout(doc);
    if (path == "-") {
        StandardOutput sink;
        if (format.table)
            writeTable(doc, layout, sink);
        else
            writeDelimited(doc.StringGrid1, text, sink);
    } else if (format.table) {
        SaveTable(doc, layout, path);
    } else {
        ExportDelimited(doc, text, path);
    }
}

int convert(const Options& o, std::ostream& out, std::ostream& err) {
    TableDocument doc;
    if (o.check) {
        const std::string notice = readInput(doc, *o.check, inputFormat(*o.check, o));
        out << doc.StringGrid1.ColCount() << " champs, " << doc.RecordCount << " enregistrements\n";
        if (!notice.empty()) out << notice << '\n';
        return ConvertDone;
    }
    const std::string &in = o.files[0], &outPath = o.files[1];
    const Format inFormat = inputFormat(in, o);
    const Format outFormat = formatOf(outPath, o.to);
    if (outFormat.table && (o.separator || o.encoding))
        throw UsageError{"--separator et --encoding ne valent que pour le texte délimité"};
    const DelimitedFormat text{o.separator.value_or(outFormat.separator),
                               o.encoding.value_or(TextEncoding::Utf8)};
    const std::string notice = readInput(doc, in, inFormat);
    writeOutput(doc, outPath, outFormat, text);
    if (!notice.empty()) err << "tablor-convert : " << notice << '\n';
    return ConvertDone;
}

} // namespace

int runConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        const Options o = parse(args);
        if (o.help) {
            out << Usage;
            return ConvertDone;
        }
        if (o.check ? !o.files.empty() : o.files.size() != 2)
            throw UsageError{o.files.size() < 2 ? "il faut une entrée et une sortie"
                                                : "trop de fichiers"};
        return convert(o, out, err);
    } catch (const UsageError& e) {
        err << "tablor-convert : " << e.message << "\n\n" << Usage;
        return ConvertUsage;
    } catch (const TablorError& e) {
        err << "tablor-convert : " << withFullStop(e.what()) << '\n';
    } catch (const std::bad_alloc&) {
        err << "tablor-convert : Mémoire insuffisante.\n";
    }
    return ConvertRefused;
}

} // namespace tablor
