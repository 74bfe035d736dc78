#include "table/TableReader.h"

#include "platform/Errors.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

namespace tablor {
namespace {

constexpr char CtrlZ = 26;

// Splits the source into lines ended by LF or CR LF, reading large blocks and keeping only the
// unfinished last line between two blocks. A final line without a line end is a line too.
//
// Byte 26 (Ctrl-Z) is the end-of-file mark of old text files: the run of them that ends the
// file is dropped. Elsewhere it is an ordinary byte of a cell, so that whatever a cell holds
// reads back as it was written.
class LineReader {
public:
    explicit LineReader(ByteSource& source)
        : source_(source), size_(bufferSizeFor(source.sizeHint())),
          buf_(std::make_unique_for_overwrite<char[]>(size_)) {}

    // The next line without its line end; false at the end of the file.
    bool next(std::string_view& line) {
        for (;;) {
            if (begin_ < end_) {
                const char* from = buf_.get() + begin_;
                if (const void* lf = std::memchr(from, '\n', end_ - begin_)) {
                    const char* to = static_cast<const char*>(lf);
                    begin_ = std::size_t(to - buf_.get()) + 1;
                    if (to > from && to[-1] == '\r') --to;
                    line = {from, std::size_t(to - from)};
                    return true;
                }
            }
            if (eof_) return lastLine(line);
            fill();
        }
    }

private:
    // A block, or less for a source known to be smaller (one byte more than it holds, so the
    // buffer is not full when the end comes).
    static std::size_t bufferSizeFor(std::size_t hint) {
        return hint >= BlockSize ? BlockSize : std::max<std::size_t>(hint + 1, 64);
    }

    bool lastLine(std::string_view& line) {
        std::size_t end = end_;
        while (end > begin_ && buf_[end - 1] == CtrlZ)
            --end;
        if (end == begin_) return false;
        line = {buf_.get() + begin_, end - begin_};
        begin_ = end_;
        return true;
    }

    void fill() {
        if (begin_ > 0) {
            std::memmove(buf_.get(), buf_.get() + begin_, end_ - begin_);
            end_ -= begin_;
            begin_ = 0;
        }
        if (end_ == size_) {
            // One line longer than the buffer: make room for it.
            auto bigger = std::make_unique_for_overwrite<char[]>(size_ * 2);
            std::memcpy(bigger.get(), buf_.get(), end_);
            buf_ = std::move(bigger);
            size_ *= 2;
        }
        const std::size_t n = source_.read(buf_.get() + end_, size_ - end_);
        if (n == 0) eof_ = true;
        end_ += n;
    }

    static constexpr std::size_t BlockSize = std::size_t{1} << 20;

    ByteSource& source_;
    std::size_t size_;
    std::unique_ptr<char[]> buf_;
    std::size_t begin_ = 0, end_ = 0;
    bool eof_ = false;
};

// A number line: blanks and blank lines before it are passed over, the number is the first
// word (at most 32 characters of it), the rest of its line is ignored. Nothing at the end of
// the file.
std::optional<std::int32_t> readNumber(LineReader& lines) {
    std::string_view line;
    while (lines.next(line)) {
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
    return std::nullopt;
}

} // namespace

TableContent readTable(ByteSource& source, std::uint64_t memoryBudget) {
    LineReader lines(source);
    const auto fields = readNumber(lines);
    if (!fields) throw TablorError("Fichier vide");
    const std::int32_t F = *fields;
    if (F < 1 || F > MaxFields)
        throw TablorError("Nombre de champs incorrect dans ce fichier : " + std::to_string(F) +
                          ", il en faut de 1 à 40");
    const std::int32_t R = readNumber(lines).value_or(0);
    if (R < 2)
        throw TablorError("Nombre de lignes incorrect dans ce fichier : " + std::to_string(R) +
                          ", il en faut au moins 2");
    // The cells' words alone; F <= 40 and R < 2^31, so this cannot overflow.
    const std::uint64_t cellBytes = std::uint64_t(F) * std::uint64_t(R) * sizeof(CellWord);
    if (cellBytes > memoryBudget)
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

    t.grid = std::make_unique<StringGrid>(F, R);
    StringGrid& g = *t.grid;
    for (int c = 0; c < F; ++c)
        g.setColWidth(c, widths[c]);
    std::string_view line;
    for (int r = 0; r < R; ++r) {
        for (int c = 0; c < F; ++c) {
            if (!lines.next(line)) return t; // cut short: the rest stays empty
            g.fillEmptyCell(c, r, line);
        }
    }
    return t;
}

} // namespace tablor
