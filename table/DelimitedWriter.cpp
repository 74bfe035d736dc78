#include "table/DelimitedWriter.h"

#include "platform/Ansi.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

namespace tablor {
namespace {

// The bytes that make a field need quotes.
constexpr std::array<bool, 256> QuoteTriggers = [] {
    std::array<bool, 256> t{};
    for (unsigned char c : {'"', '\r', '\n', '\t', ';', ','})
        t[c] = true;
    return t;
}();

bool needsQuotes(std::string_view text) {
    bool any = false;
    for (char c : text)
        any |= QuoteTriggers[static_cast<unsigned char>(c)];
    return any;
}

// Gathers the fields into one large buffer and hands it to the sink when full.
class FieldWriter {
public:
    FieldWriter(ByteSink& sink, const DelimitedFormat& f)
        : sink_(sink), format_(f), buf_(std::make_unique_for_overwrite<char[]>(FirstSize)) {}

    void field(std::string_view text, bool first) {
        // At most: the separator, two quotes, and three bytes for each byte (UTF-8) or two
        // (a doubled quote).
        room(3 + 3 * text.size());
        if (!first) buf_[used_++] = format_.separator;
        if (!needsQuotes(text)) {
            append(text);
            return;
        }
        buf_[used_++] = '"';
        for (std::size_t from = 0;;) {
            const std::size_t q = text.find('"', from);
            if (q == std::string_view::npos) {
                append(text.substr(from));
                break;
            }
            append(text.substr(from, q + 1 - from));
            buf_[used_++] = '"';
            from = q + 1;
        }
        buf_[used_++] = '"';
    }
    void lineEnd() {
        room(2);
        buf_[used_++] = '\r';
        buf_[used_++] = '\n';
    }
    void raw(std::string_view bytes) {
        room(bytes.size());
        std::memcpy(buf_.get() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    void flush() {
        if (used_ > 0) sink_.write(buf_.get(), used_);
        used_ = 0;
    }

private:
    static constexpr std::size_t FirstSize = 4096, Size = std::size_t{1} << 20;

    // The buffer starts small, for small tables, and grows up to its full size; a field longer
    // than that gets a buffer of its own size.
    void room(std::size_t n) {
        if (size_ - used_ >= n) return;
        if (size_ >= Size) flush();
        if (size_ - used_ >= n) return;
        const std::size_t bigger = std::max(size_ * 2, used_ + n);
        auto grown = std::make_unique_for_overwrite<char[]>(bigger);
        std::memcpy(grown.get(), buf_.get(), used_);
        buf_ = std::move(grown);
        size_ = bigger;
    }
    void append(std::string_view text) {
        if (format_.encoding == TextEncoding::Utf8) {
            used_ += ansi::encodeUtf8(text, buf_.get() + used_);
        } else {
            std::memcpy(buf_.get() + used_, text.data(), text.size());
            used_ += text.size();
        }
    }

    ByteSink& sink_;
    const DelimitedFormat& format_;
    std::unique_ptr<char[]> buf_;
    std::size_t size_ = FirstSize, used_ = 0;
};

} // namespace

void writeDelimited(const StringGrid& g, const DelimitedFormat& format, ByteSink& sink) {
    FieldWriter out(sink, format);
    if (format.encoding == TextEncoding::Utf8) out.raw("\xEF\xBB\xBF");
    const int F = g.ColCount(), R = g.RowCount();
    std::vector<std::span<const CellWord>> cols;
    for (int c = 0; c < F; ++c)
        cols.push_back(g.column(c));
    for (int r = 0; r < R; ++r) {
        for (int c = 0; c < F; ++c)
            out.field(cellText(cols[c][r]), c == 0);
        out.lineEnd();
    }
    out.flush();
}

} // namespace tablor
