#include "table/TableReader.h"

#include "platform/Errors.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace tablor {
namespace {

constexpr char CtrlZ = 26;

// The longest line read as a number. A number is at most 32 characters, and what follows it on
// its line is ignored; a longer line is no table file, and is refused before it is read whole.
constexpr std::size_t MaxNumberLine = 4096;

// Splits the source into lines ended by LF or CR LF, reading large blocks and keeping only the
// unfinished last line between two blocks. A final line without a line end is a line too.
// Byte 26 (Ctrl-Z) is the end-of-file mark of old text files: the first one ends the file.
class LineReader {
public:
    explicit LineReader(ByteSource& source)
        : source_(source), size_(bufferSizeFor(source.sizeHint())),
          buf_(static_cast<char*>(std::malloc(size_))) {
        if (!buf_) throw std::bad_alloc();
    }

    enum class Result { Line, End, TooLong };

    // The next line without its line end. A line longer than `maxLength` is not read further.
    Result next(std::string_view& line, std::size_t maxLength) {
        for (;;) {
            // Only the bytes not searched yet: a long line is searched once, not at each block.
            if (const void* lf = std::memchr(buf_.get() + scanned_, '\n', end_ - scanned_)) {
                const char* from = buf_.get() + begin_;
                const char* to = static_cast<const char*>(lf);
                begin_ = scanned_ = std::size_t(to - buf_.get()) + 1;
                if (to > from && to[-1] == '\r') --to;
                line = {from, std::size_t(to - from)};
                return line.size() > maxLength ? Result::TooLong : Result::Line;
            }
            scanned_ = end_;
            // One more byte may be the CR of the line end.
            if (end_ - begin_ > maxLength + 1) return Result::TooLong;
            if (eof_) {
                if (begin_ == end_) return Result::End;
                line = {buf_.get() + begin_, end_ - begin_};
                begin_ = scanned_ = end_;
                return line.size() > maxLength ? Result::TooLong : Result::Line;
            }
            fill();
        }
    }

    // The bytes not read yet, when the source knows how many it has left.
    std::uint64_t bytesLeft() const {
        const std::size_t rest = source_.sizeHint();
        return rest == SIZE_MAX ? 0 : std::uint64_t(rest) + (end_ - begin_);
    }

private:
    // A block, or less for a source known to be smaller (one byte more than it holds, so the
    // buffer is not full when the end comes).
    static std::size_t bufferSizeFor(std::size_t hint) {
        return hint >= BlockSize ? BlockSize : std::max<std::size_t>(hint + 1, 64);
    }

    void fill() {
        if (begin_ > 0) {
            std::memmove(buf_.get(), buf_.get() + begin_, end_ - begin_);
            end_ -= begin_;
            scanned_ -= begin_;
            begin_ = 0;
        }
        if (end_ == size_) grow();
        // A block at a time, so a long line costs no more memory than its own bytes.
        const std::size_t n = source_.read(buf_.get() + end_, std::min(size_ - end_, BlockSize));
        if (n == 0) eof_ = true;
        if (const void* z = std::memchr(buf_.get() + end_, CtrlZ, n)) {
            end_ = std::size_t(static_cast<const char*>(z) - buf_.get());
            eof_ = true;
        } else {
            end_ += n;
        }
    }

    // One line longer than the buffer: make room for it, twice as much, but not much more than
    // the source still holds. Large blocks are moved by the system, not copied.
    void grow() {
        const std::size_t rest = source_.sizeHint();
        std::size_t bigger = size_ * 2;
        if (rest < bigger - size_) bigger = size_ + std::max(rest + 1, BlockSize);
        char* p = static_cast<char*>(std::realloc(buf_.get(), bigger));
        if (!p) throw std::bad_alloc();
        (void)buf_.release();
        buf_.reset(p);
        size_ = bigger;
    }

    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    static constexpr std::size_t BlockSize = std::size_t{1} << 20;

    ByteSource& source_;
    std::size_t size_;
    std::unique_ptr<char, Free> buf_;
    std::size_t begin_ = 0, scanned_ = 0, end_ = 0;
    bool eof_ = false;
};

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

} // namespace

TableContent readTable(ByteSource& source, std::uint64_t memoryBudget) {
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

    t.grid = std::make_unique<StringGrid>(F, R);
    StringGrid& g = *t.grid;
    for (int c = 0; c < F; ++c)
        g.setColWidth(c, widths[c]);
    std::string_view line;
    for (int r = 0; r < R; ++r) {
        for (int c = 0; c < F; ++c) {
            const LineReader::Result got = lines.next(line, MaxCellLength);
            if (got == LineReader::Result::End) return t; // cut short: the rest stays empty
            if (got == LineReader::Result::TooLong) throw std::length_error("cell text too long");
            g.fillEmptyCell(c, r, line);
        }
    }
    return t;
}

} // namespace tablor
