// The benchmark program: runs one workload on a table file and prints its figure alone on a
// line (seconds, or MB for memory), for scripts/bench to compare with the system's own tools.
//
//   tablor_bench generate RECORDS FILE   writes a table of RECORDS records of 10 fields
//   tablor_bench WORKLOAD FILE [OUT]     runs a workload on the table in FILE
//
// A workload is one function below and one entry in `Workloads`; the table is loaded before
// the clock starts unless loading is what is measured.

#include "platform/Errors.h"
#include "table/CopyText.h"
#include "table/DelimitedFile.h"
#include "table/RecordEditing.h"
#include "table/SearchScan.h"
#include "table/SortRecords.h"
#include "table/TableFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

using namespace tablor;

namespace {

struct Args {
    std::string file; // the table
    std::string out;  // where a workload may write, when it writes
};

class Stopwatch {
public:
    double seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// A field of /proc/self/status, in MB.
double statusMB(std::string_view field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(field))
            return std::strtod(line.c_str() + field.size(), nullptr) * 1024 / 1e6;
    return 0;
}

// Peak resident memory of this process so far, in MB.
double peakMemoryMB() {
    return statusMB("VmHWM:");
}

double workloadLoad(const Args& a) {
    TableDocument doc;
    Stopwatch clock;
    LoadTable(doc, a.file);
    return clock.seconds();
}

double timedSave(const TableDocument& doc, const Args& a) {
    Stopwatch clock;
    SaveTable(doc, DocumentCardLayout(doc), a.out);
    return clock.seconds();
}

double workloadSave(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    return timedSave(doc, a);
}

// The save right after a sort on the first field: the records are no longer in file order.
double workloadSaveAfterSort(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    sortRecordsOn(doc.StringGrid1, 0);
    return timedSave(doc, a);
}

double workloadMemory(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    return peakMemoryMB();
}

// The records sorted on the first field, where most keys come many times over.
double workloadSort(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    Stopwatch clock;
    sortRecordsOn(doc.StringGrid1, 0);
    return clock.seconds();
}

// The MB the sort adds to the peak, over what the loaded table holds.
double workloadSortMemory(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    const double loaded = statusMB("VmRSS:");
    std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from here
    sortRecordsOn(doc.StringGrid1, 0);
    return peakMemoryMB() - loaded;
}

// A block of 1,000 records deleted from the middle.
double workloadDelete(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    StringGrid& g = doc.StringGrid1;
    const int count = std::min(1000, doc.RecordCount);
    const int top = 1 + (doc.RecordCount - count) / 2;
    g.moveTo(0, top);
    g.setSelection({0, top, 0, top + count - 1});
    Stopwatch clock;
    DeleteSelectedRecords(doc);
    return clock.seconds();
}

// Seconds per record added at the end, over as many records as the table holds, so that the
// growth of the columns is paid as often as it would be in use.
double appendPerRecord(TableDocument& doc, int records) {
    Stopwatch clock;
    for (int i = 0; i < records; ++i)
        AppendRecord(doc);
    return clock.seconds() / records;
}

double workloadAppend(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    return appendPerRecord(doc, doc.RecordCount);
}

// The first record added after a load: the columns have room for it.
double workloadAppendFirst(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    return appendPerRecord(doc, 1);
}

// The same number of records added to a table of one record: the time per record should not
// depend on the size of the table.
double workloadAppendToEmpty(const Args& a) {
    int records;
    {
        TableDocument loaded;
        LoadTable(loaded, a.file);
        records = loaded.RecordCount;
    }
    TableDocument doc;
    return appendPerRecord(doc, records);
}

// The clipboard text of the whole table, in UTF-8, as the copy command builds it.
double workloadCopy(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    Stopwatch clock;
    const CopyRange range = copyRangeOf(doc.StringGrid1);
    // Written into memory left unset, as the window's copy does.
    const CopiedText copied({}, doc.StringGrid1.snapshot(range.cells));
    const std::unique_ptr<char[]> text(new char[copied.size()]);
    copied.write(text.get());
    const double seconds = clock.seconds();
    if (copied.size() < std::size_t(doc.RecordCount)) throw TablorError("copy text too short");
    return seconds;
}

// The first cell edited after a copy of the whole table, which takes its column back from the
// copy's snapshot.
double workloadEditAfterCopy(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    StringGrid& g = doc.StringGrid1;
    const GridSnapshot copied = g.snapshot(copyRangeOf(g).cells);
    Stopwatch clock;
    g.setCell(0, 1, "modifi\xE9");
    const double seconds = clock.seconds();
    if (copied.cell(0, 1) == g.cell(0, 1)) throw TablorError("the copy changed with the table");
    return seconds;
}

// Keywords for the searches; the words of the generated table are made of syllables that hold
// none of the letters g, q, w, x or z, so neither keyword occurs by chance.
constexpr std::string_view MissingKeyword = "zqxw";
constexpr std::string_view LastKeyword = "aiguille";

// The search from the first record for a keyword in no cell: every cell is looked at.
double timedSearchMiss(const TableDocument& doc) {
    Stopwatch clock;
    const std::optional<SearchHit> hit = scanForKeyword(doc.StringGrid1, MissingKeyword, 0, 1);
    const double seconds = clock.seconds();
    if (hit) throw TablorError("the search found a keyword that is in no cell");
    return seconds;
}

double workloadSearchMiss(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    return timedSearchMiss(doc);
}

// The same search right after a sort on the first field.
double workloadSearchAfterSort(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    sortRecordsOn(doc.StringGrid1, 0);
    return timedSearchMiss(doc);
}

// The search from the first record for a keyword only in the last field of the last record.
double workloadSearchLast(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    StringGrid& g = doc.StringGrid1;
    const SearchHit last{g.ColCount() - 1, g.RowCount() - 1};
    g.setCell(last.col, last.row, LastKeyword);
    Stopwatch clock;
    const std::optional<SearchHit> hit = scanForKeyword(g, LastKeyword, 0, 1);
    const double seconds = clock.seconds();
    if (hit != last) throw TablorError("search-last did not end on the last record");
    return seconds;
}

// The table file loaded and written as UTF-8 CSV (what the converter does).
double workloadExportCsv(const Args& a) {
    Stopwatch clock;
    TableDocument doc;
    LoadTable(doc, a.file);
    ExportDelimited(doc, DelimitedFormat{}, a.out);
    return clock.seconds();
}

// A delimited file (FILE) read into a table.
double workloadImportCsv(const Args& a) {
    TableDocument doc;
    Stopwatch clock;
    ImportDelimited(doc, a.file);
    return clock.seconds();
}

struct Workload {
    std::string_view name;
    double (*run)(const Args&);
    int decimals; // 3 for seconds, 0 for MB
};

constexpr Workload Workloads[] = {
    {"load", workloadLoad, 3},
    {"save", workloadSave, 3},
    {"save-after-sort", workloadSaveAfterSort, 3},
    {"memory", workloadMemory, 0},
    {"sort", workloadSort, 3},
    {"sort-memory", workloadSortMemory, 0},
    {"delete", workloadDelete, 3},
    {"append", workloadAppend, 9},
    {"append-empty", workloadAppendToEmpty, 9},
    {"append-first", workloadAppendFirst, 6},
    {"copy", workloadCopy, 3},
    {"edit-after-copy", workloadEditAfterCopy, 6},
    {"search-miss", workloadSearchMiss, 3},
    {"search-after-sort", workloadSearchAfterSort, 3},
    {"search-last", workloadSearchLast, 3},
    {"export-csv", workloadExportCsv, 3},
    {"import-csv", workloadImportCsv, 3},
};

// French-looking words of two to four syllables, some accented (Windows-1252), mostly 4 to 7
// bytes, so that a cell and its line end take about 8 bytes. The same every time.
class WordMaker {
public:
    std::string_view next() {
        static constexpr const char* Syllables[] = {"ma",
                                                    "ri",
                                                    "lo",
                                                    "pe",
                                                    "tu",
                                                    "an",
                                                    "on",
                                                    "le",
                                                    "ne",
                                                    "si",
                                                    "vo",
                                                    "ch",
                                                    "au",
                                                    "ou",
                                                    "de",
                                                    "\xE9",
                                                    "r\xE9",
                                                    "m\xE8",
                                                    "\xE7"
                                                    "a",
                                                    "\xE0",
                                                    "b\xF4",
                                                    "ti",
                                                    "ra",
                                                    "no"};
        word_.clear();
        const int count = 2 + int(random() % 3);
        for (int i = 0; i < count; ++i)
            word_ += Syllables[random() % std::size(Syllables)];
        return word_;
    }

private:
    std::uint32_t random() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return std::uint32_t(state_ >> 33);
    }
    std::uint64_t state_ = 20240611;
    std::string word_;
};

void generate(long records, const std::string& path) {
    constexpr int Fields = 10;
    std::string text;
    auto line = [&](std::string_view s) {
        text += s;
        text += "\r\n";
    };
    line(std::to_string(Fields));
    line(std::to_string(records + 1));
    line("0");
    line(std::to_string(DefaultCardWidth));
    line(std::to_string(DefaultCardHeight));
    for (int c = 0; c < Fields; ++c) {
        line(std::to_string(StringGrid::DefaultColWidth));
        line(std::to_string(defaultCardLeft(c)));
        line(std::to_string(defaultCardTop(c)));
        line("1");
    }
    for (int c = 0; c < Fields; ++c)
        line("Colonne " + std::to_string(c + 1));

    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw TablorError("cannot create " + path);
    WordMaker words;
    for (long r = 0; r < records; ++r) {
        for (int c = 0; c < Fields; ++c)
            line(words.next());
        if (text.size() > (1u << 20)) {
            std::fwrite(text.data(), 1, text.size(), f);
            text.clear();
        }
    }
    std::fwrite(text.data(), 1, text.size(), f);
    if (std::fclose(f) != 0) throw TablorError("cannot write " + path);
}

int usage() {
    std::cerr << "usage: tablor_bench generate RECORDS FILE\n       tablor_bench WORKLOAD FILE "
                 "[OUT]\nworkloads:";
    for (const Workload& w : Workloads)
        std::cerr << ' ' << w.name;
    std::cerr << '\n';
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string_view command = argv[1];
    try {
        if (command == "generate") {
            if (argc != 4) return usage();
            generate(std::atol(argv[2]), argv[3]);
            return 0;
        }
        for (const Workload& w : Workloads) {
            if (w.name != command) continue;
            const Args args{argv[2], argc > 3 ? argv[3] : std::string(argv[2]) + ".out"};
            std::printf("%.*f\n", w.decimals, w.run(args));
            return 0;
        }
    } catch (const std::exception& e) {
        std::cerr << "tablor_bench " << command << ": " << e.what() << '\n';
        return 1;
    }
    return usage();
}
