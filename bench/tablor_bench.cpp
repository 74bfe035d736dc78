// The benchmark program: runs one workload on a table file and prints its figure alone on a
// line (seconds, or MB for memory), for scripts/bench to compare with the system's own tools.
//
//   tablor_bench generate RECORDS FILE   writes a table of RECORDS records of 10 fields
//   tablor_bench WORKLOAD FILE [OUT]     runs a workload on the table in FILE
//
// A workload is one function below and one entry in `Workloads`; the table is loaded before
// the clock starts unless loading is what is measured.

#include "platform/Errors.h"
#include "table/TableFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
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

// Peak resident memory of this process so far, in MB.
double peakMemoryMB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:")) return std::strtod(line.c_str() + 6, nullptr) * 1024 / 1e6;
    return 0;
}

double workloadLoad(const Args& a) {
    TableDocument doc;
    Stopwatch clock;
    LoadTable(doc, a.file);
    return clock.seconds();
}

double workloadSave(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    Stopwatch clock;
    SaveTable(doc, DocumentCardLayout(doc), a.out);
    return clock.seconds();
}

double workloadMemory(const Args& a) {
    TableDocument doc;
    LoadTable(doc, a.file);
    return peakMemoryMB();
}

struct Workload {
    std::string_view name;
    double (*run)(const Args&);
    int decimals; // 3 for seconds, 0 for MB
};

constexpr Workload Workloads[] = {
    {"load", workloadLoad, 3},
    {"save", workloadSave, 3},
    {"memory", workloadMemory, 0},
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
