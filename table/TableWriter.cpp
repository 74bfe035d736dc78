#include "table/TableWriter.h"

#include <charconv>
#include <cstring>
#include <memory>
#include <string_view>

namespace tablor {
namespace {

constexpr char CtrlZ = 26;
constexpr std::string_view BlankedBytes{"\n\x1A", 2};

// Gathers the lines into one large buffer and hands it to the sink when full.
class LineBuffer {
public:
    explicit LineBuffer(ByteSink& sink)
        : sink_(sink), buf_(std::make_unique_for_overwrite<char[]>(Size)) {}

    void number(long long v) {
        room(24);
        used_ =
            std::size_t(std::to_chars(buf_.get() + used_, buf_.get() + Size, v).ptr - buf_.get());
        lineEnd();
    }

    void text(std::string_view s) {
        // A cell never holds a line feed; should one get there, it must not split the cell
        // into two lines and shift every line after it. A Ctrl-Z would end the file for the
        // reader and lose every line after it. Both are written as blanks.
        if (s.find_first_of(BlankedBytes) != std::string_view::npos) {
            std::string safe(s);
            for (char& c : safe)
                if (c == '\n' || c == CtrlZ) c = ' ';
            return text(safe);
        }
        if (s.size() + 2 > Size) {
            flush();
            sink_.write(s.data(), s.size());
        } else {
            room(s.size() + 2);
            std::memcpy(buf_.get() + used_, s.data(), s.size());
            used_ += s.size();
        }
        lineEnd();
    }

    void flush() {
        if (used_ > 0) sink_.write(buf_.get(), used_);
        used_ = 0;
    }

private:
    static constexpr std::size_t Size = std::size_t{1} << 20;

    void room(std::size_t n) {
        if (Size - used_ < n) flush();
    }
    void lineEnd() {
        room(2);
        buf_[used_++] = '\r';
        buf_[used_++] = '\n';
    }

    ByteSink& sink_;
    std::unique_ptr<char[]> buf_;
    std::size_t used_ = 0;
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
            out.text(cellText(cols[c][r]));
    out.flush();
}

} // namespace tablor
