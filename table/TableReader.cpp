#include "table/TableReader.h"

#include "platform/Errors.h"
#include "platform/NumberText.h"
#include "table/LineReader.h"
#include "table/StartThread.h"

#include <algorithm>
#include <future>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

namespace tablor {
namespace {

// The longest line read as a number. A number is at most 32 characters, and what follows it on
// its line is ignored; a longer line is no table file, and is refused before it is read whole.
constexpr std::size_t MaxNumberLine = 4096;

// A number line: blanks and blank lines before it are passed over, the number is the first
// word (at most 32 characters of it), the rest of its line is ignored. Nothing at the end of
// the file.
std::optional<std::int32_t> readNumber(LineReader& lines) {
    std::string_view line;
    for (;;) {
        const LineReader::Result got = lines.next(line, MaxNumberLine);
        if (got == LineReader::Result::End) return std::nullopt;
        if (got == LineReader::Result::TooLong) throw TablorError("Saisie numérique incorrecte");
        auto isText = [](char c) { return static_cast<unsigned char>(c) > 32; };
        std::size_t i = 0;
        while (i < line.size() && !isText(line[i]))
            ++i;
        if (i == line.size()) continue;
        std::size_t j = i;
        while (j < line.size() && isText(line[j]) && j - i < 32)
            ++j;
        const auto v = parseInt32(line.substr(i, j - i), HexPrefixes::DollarAnd0xAndX);
        if (!v) throw TablorError("Saisie numérique incorrecte");
        return v;
    }
}

// The cells of the file, in its order: record by record, field by field, one line each.
class CellFiller {
public:
    CellFiller(StringGrid& grid) : fields_(grid.ColCount()) {
        for (int c = 0; c < fields_; ++c)
            cols_.push_back(grid.unsetColumn(c));
    }

    // Sets up to `count` cells from cell `first` on from the next lines; returns how many
    // lines there were.
    std::size_t fill(LineReader& lines, std::size_t first, std::size_t count,
                     TextArena& texts) const {
        std::size_t row = first / std::size_t(fields_);
        int col = int(first % std::size_t(fields_));
        std::string_view line;
        for (std::size_t i = 0; i < count; ++i) {
            const LineReader::Result got = lines.next(line, MaxCellLength);
            if (got == LineReader::Result::End) return i;
            if (got == LineReader::Result::TooLong) throw std::length_error("cell text too long");
            cols_[col][row] = makeCellPadded(line, texts);
            if (++col == fields_) {
                col = 0;
                ++row;
            }
        }
        return count;
    }

    // Cells [from, to) empty: those of a file cut short.
    void empty(std::size_t from, std::size_t to) const {
        for (std::size_t i = from; i < to; ++i)
            cols_[i % std::size_t(fields_)][i / std::size_t(fields_)] = EmptyCell;
    }

private:
    int fields_;
    std::vector<CellWord*> cols_;
};

// Bytes [from, to) of a source that reads at any place, as a source of their own.
class SourceStretch : public ByteSource {
public:
    SourceStretch(ByteSource& source, std::uint64_t from, std::uint64_t to)
        : source_(source), at_(from), to_(to) {}
    std::size_t read(char* buffer, std::size_t size) override {
        const std::size_t n =
            source_.readAt(at_, buffer, std::size_t(std::min<std::uint64_t>(size, to_ - at_)));
        at_ += n;
        return n;
    }
    std::size_t sizeHint() const override { return std::size_t(to_ - at_); }

private:
    ByteSource& source_;
    std::uint64_t at_, to_;
};

// Reads the cells with two threads: the lines of the first half of the file are counted (by
// both), then each thread fills the cells of its half. False when the file does not split:
// nothing was read then.
bool fillInTwo(StringGrid& grid, const CellFiller& cells, std::size_t cellCount, LineReader& lines,
               ByteSource& source, std::uint64_t twoThreadsFrom) {
    const std::size_t rest = source.sizeHint();
    if (!source.readsAtAnyPlace() || lines.metEnd() || rest == SIZE_MAX) return false;
    const std::uint64_t from = lines.position(), to = from + lines.bytesLeft();
    if (to - from < twoThreadsFrom) return false;
    const std::uint64_t half = nextLineStart(source, from + (to - from) / 2, to);
    if (half >= to) return false;

    const std::uint64_t quarter = from + (half - from) / 2;
    std::future<LineCount> secondQuarter;
    if (!startThread(secondQuarter, [&] { return countLineEnds(source, quarter, half); }))
        return false;
    const LineCount firstQuarter = countLineEnds(source, from, quarter);
    const LineCount second = secondQuarter.get();
    const std::uint64_t firstLines = firstQuarter.lineEnds + second.lineEnds;
    // A Ctrl-Z ends the file in the first half; or the first half holds every cell.
    if (firstQuarter.ctrlZ || second.ctrlZ || firstLines >= cellCount) return false;

    SourceStretch secondHalf(source, half, to);
    TextArena secondTexts;
    // Declared last, so that leaving by an exception waits for the thread first.
    std::future<std::size_t> filledSecond;
    if (!startThread(filledSecond, [&] {
            LineReader secondLines(secondHalf);
            return cells.fill(secondLines, firstLines, cellCount - firstLines, secondTexts);
        }))
        return false;
    // The first half's lines stop at its last line end, unless the file changed meanwhile.
    const std::size_t filledFirst = cells.fill(lines, 0, firstLines, grid.texts());
    const std::size_t secondEnd = firstLines + filledSecond.get();
    cells.empty(filledFirst, firstLines);
    cells.empty(secondEnd, cellCount);
    grid.adoptTexts(std::move(secondTexts));
    return true;
}

} // namespace

TableContent readTable(ByteSource& source, std::uint64_t memoryBudget,
                       std::uint64_t twoThreadsFrom) {
    LineReader lines(source);
    const auto fields = readNumber(lines);
    if (!fields) throw TablorError("Fichier vide");
    const std::int32_t F = *fields;
    if (F < 1 || F > MaxFields)
        throw TablorError("Nombre de champs incorrect dans ce fichier : " + std::to_string(F) +
                          ", il en faut de 1 à " + std::to_string(MaxFields));
    const std::int32_t R = readNumber(lines).value_or(0);
    if (R < 2)
        throw TablorError("Nombre de lignes incorrect dans ce fichier : " + std::to_string(R) +
                          ", il en faut au moins 2");
    // The cells' words and, at most, every byte left in the file as their text; F <= 40 and
    // R < 2^31, so this cannot overflow.
    const std::uint64_t cellBytes = std::uint64_t(F) * std::uint64_t(R) * sizeof(CellWord);
    if (cellBytes > memoryBudget || lines.bytesLeft() > memoryBudget - cellBytes)
        throw TablorError("Mémoire insuffisante pour ouvrir ce fichier de " +
                          std::to_string(R - 1) + " enregistrements de " + std::to_string(F) +
                          " champs");

    TableContent t;
    t.SortField = readNumber(lines).value_or(0);
    t.CardWidth = readNumber(lines).value_or(0);
    t.CardHeight = readNumber(lines).value_or(0);
    std::array<std::int32_t, MaxFields> widths{};
    for (int c = 0; c < F; ++c) {
        widths[c] = readNumber(lines).value_or(0);
        t.CardLeft[c] = readNumber(lines).value_or(0);
        t.CardTop[c] = readNumber(lines).value_or(0);
        t.CopyFlags[c] = static_cast<std::uint16_t>(readNumber(lines).value_or(0));
    }

    t.grid = std::make_unique<StringGrid>(F, R, StringGrid::ForFilling{});
    StringGrid& g = *t.grid;
    g.sizeUnset();
    for (int c = 0; c < F; ++c)
        g.setColWidth(c, widths[c]);
    // Every cell is set once: from its line, or empty when the file is cut short.
    const CellFiller cells(g);
    const std::size_t cellCount = std::size_t(F) * std::size_t(R);
    if (!fillInTwo(g, cells, cellCount, lines, source, twoThreadsFrom))
        cells.empty(cells.fill(lines, 0, cellCount, g.texts()), cellCount);
    g.finishFilling();
    return t;
}

} // namespace tablor
