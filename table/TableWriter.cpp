#include "table/TableWriter.h"

#include "table/WriteBehind.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace tablor {
namespace {

constexpr char CtrlZ = 26;
constexpr std::uint64_t EveryByte = 0x0101010101010101;

// Whether any of the eight bytes of `v` is zero.
constexpr bool hasZeroByte(std::uint64_t v) {
    return ((v - EveryByte) & ~v & (EveryByte << 7)) != 0;
}

// Whether the eight bytes of `v` hold a line feed or a Ctrl-Z. A cell never holds a line
// feed; should one get there, it must not split the cell into two lines and shift every line
// after it. A Ctrl-Z would end the file for the reader and lose every line after it. Both are
// written as blanks.
constexpr bool hasBlanked(std::uint64_t v) {
    return hasZeroByte(v ^ ('\n' * EveryByte)) || hasZeroByte(v ^ (CtrlZ * EveryByte));
}

std::uint64_t load8(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// The first `n` (0 to 7) bytes of `v`, the others zero.
constexpr std::uint64_t firstBytes(std::uint64_t v, std::size_t n) {
    return v & ((std::uint64_t{1} << (8 * n)) - 1);
}

// Blanks the line feeds and Ctrl-Z among the `n` bytes at `p`, which may be read 8 bytes
// past their end.
void blankLineBreaks(char* p, std::size_t n) {
    std::size_t i = 0;
    bool found = false;
    for (; i + 8 <= n && !found; i += 8)
        found = hasBlanked(load8(p + i));
    found = found || hasBlanked(firstBytes(load8(p + i), n - i));
    if (!found) return;
    for (i = 0; i < n; ++i)
        if (p[i] == '\n' || p[i] == CtrlZ) p[i] = ' ';
}

// Gathers the lines into a large buffer; a full one is written by a second thread while the
// next one fills. The buffers keep some slack past their end, so that short texts are copied
// 8 bytes at a time.
class LineBuffer {
public:
    explicit LineBuffer(ByteSink& sink)
        : sink_(sink), buf_(newBuffer()), next_(newBuffer()), behind_(sink) {}

    void number(long long v) {
        room(24);
        used_ =
            std::size_t(std::to_chars(buf_.get() + used_, buf_.get() + Size, v).ptr - buf_.get());
        lineEnd();
    }

    void cell(CellWord w) {
        if (!isInline(w)) return text(cellText(w));
        // The text's bytes follow the length byte in the word: all seven are copied, the line
        // end then goes over the ones past the text.
        const std::size_t n = (w >> 1) & 7;
        const std::uint64_t bytes = firstBytes(w >> 8, n);
        if (hasBlanked(bytes)) return text(cellText(w));
        room(8 + 2);
        char* p = buf_.get() + used_;
        std::memcpy(p, &bytes, 8);
        std::memcpy(p + n, "\r\n", 2);
        used_ += n + 2;
    }

    void text(std::string_view s) {
        // The buffer is filled to its end: a text longer than the room left goes in pieces.
        while (s.size() > Size - used_) {
            const std::size_t piece = Size - used_;
            put(s.substr(0, piece));
            s.remove_prefix(piece);
            flush();
        }
        put(s);
        lineEnd();
    }

    // Every byte is written once this returns. A table that fits in one buffer needs no
    // second thread.
    void finish() {
        if (!passedOn_) {
            if (used_ > 0) sink_.write(buf_.get(), used_);
            used_ = 0;
            return;
        }
        flush();
        behind_.wait();
    }

private:
    static constexpr std::size_t Size = std::size_t{1} << 20;
    static constexpr std::size_t Slack = 16;

    static std::unique_ptr<char[]> newBuffer() {
        return std::make_unique_for_overwrite<char[]>(Size + Slack);
    }
    void flush() {
        if (used_ == 0) return;
        behind_.write(buf_.get(), used_);
        // The other buffer was written already once the write above returns.
        std::swap(buf_, next_);
        used_ = 0;
        passedOn_ = true;
    }

    void room(std::size_t n) {
        if (Size - used_ < n) flush();
    }
    // Copies bytes that fit in the buffer.
    void put(std::string_view s) {
        char* p = buf_.get() + used_;
        std::memcpy(p, s.data(), s.size());
        blankLineBreaks(p, s.size());
        used_ += s.size();
    }
    void lineEnd() {
        room(2);
        buf_[used_++] = '\r';
        buf_[used_++] = '\n';
    }

    ByteSink& sink_;
    std::unique_ptr<char[]> buf_, next_;
    std::size_t used_ = 0;
    bool passedOn_ = false; // a buffer went to the second thread
    WriteBehind behind_;    // last, so that it is done with the buffers before they go
};

} // namespace

void writeTable(const TableDocument& doc, const CardLayoutSource& card, ByteSink& sink) {
    const StringGrid& g = doc.StringGrid1;
    const int F = g.ColCount(), R = g.RowCount();
    LineBuffer out(sink);
    out.number(F);
    out.number(R);
    out.number(doc.SortField);
    out.number(card.cardWidth());
    out.number(card.cardHeight());
    for (int c = 0; c < F; ++c) {
        out.number(g.colWidth(c));
        out.number(card.labelLeft(c));
        out.number(card.labelTop(c));
        out.number(c < MaxFields ? doc.CopyFlags[c] : 1);
    }
    std::vector<std::span<const CellWord>> cols;
    for (int c = 0; c < F; ++c)
        cols.push_back(g.column(c));
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < F; ++c)
            out.cell(cols[c][r]);
    out.finish();
}

} // namespace tablor
