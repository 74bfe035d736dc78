#pragma once
// Lines of a table file: the splitting of a byte source into lines, and the count of the line
// ends in a stretch of it, both with vector instructions. Qt-free.

#include "table/ByteSource.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace tablor {

// Splits the source into lines ended by LF or CR LF, reading large blocks and keeping only the
// unfinished last line between two blocks. A final line without a line end is a line too.
// Byte 26 (Ctrl-Z) is the end-of-file mark of old text files: the first one ends the file.
// Every line handed out is followed by at least 32 readable bytes of the buffer (makeCellPadded).
class LineReader {
public:
    explicit LineReader(ByteSource& source);

    enum class Result { Line, End, TooLong };

    // The next line without its line end. A line longer than `maxLength` is not read further.
    Result next(std::string_view& line, std::size_t maxLength) {
        for (;;) {
            if (ends_ != 0) {
                const std::size_t lf = endsBase_ + std::size_t(__builtin_ctzll(ends_));
                ends_ &= ends_ - 1;
                const char* from = buf_.get() + begin_;
                const char* to = buf_.get() + lf;
                begin_ = lf + 1;
                if (to > from && to[-1] == '\r') --to;
                line = {from, std::size_t(to - from)};
                return line.size() > maxLength ? Result::TooLong : Result::Line;
            }
            // Only the bytes not searched yet: a long line is searched once, not at each block.
            if (scanned_ < end_) {
                scanWindow();
                continue;
            }
            // One more byte may be the CR of the line end.
            if (end_ - begin_ > maxLength + 1) return Result::TooLong;
            if (eof_) {
                if (begin_ == end_) return Result::End;
                line = {buf_.get() + begin_, end_ - begin_};
                begin_ = end_;
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
    // Where the next line starts, counted from the start of the source.
    std::uint64_t position() const { return taken_ - (end_ - begin_); }
    // Whether the end of the source (or a Ctrl-Z) has been met.
    bool metEnd() const { return eof_; }

private:
    // The line ends in the next 64 bytes from scanned_ (fewer at the end of the buffer).
    void scanWindow();
    void fill();
    void grow();

    struct Free {
        void operator()(char* p) const;
    };

    ByteSource& source_;
    std::size_t size_;
    std::unique_ptr<char, Free> buf_;
    std::size_t begin_ = 0, scanned_ = 0, end_ = 0;
    // One bit for each LF among the 64 bytes from endsBase_ not yet handed out as a line end.
    std::uint64_t ends_ = 0;
    std::size_t endsBase_ = 0;
    std::uint64_t taken_ = 0; // bytes read from the source
    bool eof_ = false;
};

// The line ends (LF) in bytes [from, to) of a source that reads at any place, and whether a
// Ctrl-Z is among them.
struct LineCount {
    std::uint64_t lineEnds = 0;
    bool ctrlZ = false;
};
LineCount countLineEnds(ByteSource& source, std::uint64_t from, std::uint64_t to);

// Where the first line that starts at or after `from` starts: just after the next LF, or `to`
// when there is none before it.
std::uint64_t nextLineStart(ByteSource& source, std::uint64_t from, std::uint64_t to);

} // namespace tablor
