#include "table/CopyText.h"

#include "platform/Ansi.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace tablor {

namespace {

// Calls line(text) for every line under the heading, in order.
template <class Line> void forEachCopiedLine(const GridSnapshot& snapshot, Line line) {
    const GridRect& cells = snapshot.cells();
    line(std::string_view());
    for (int r = cells.Top; r <= cells.Bottom; ++r) {
        for (int c = cells.Left; c <= cells.Right; ++c)
            if (const std::string_view text = snapshot.cell(c, r); !text.empty()) line(text);
        line(std::string_view());
    }
}

} // namespace

CopyRange copyRangeOf(const StringGrid& grid) {
    const GridRect& sel = grid.Selection();
    if (sel.Top == sel.Bottom && sel.Left == sel.Right)
        return {{0, 1, grid.ColCount() - 1, grid.RowCount() - 1}, false};
    return {sel, true};
}

CopiedText::CopiedText(std::string heading, GridSnapshot cells)
    : heading_(std::move(heading)), cells_(std::move(cells)) {}

std::size_t CopiedText::size() const {
    std::size_t size = heading_.size();
    forEachCopiedLine(cells_, [&size](std::string_view text) { size += ansi::utf8Size(text) + 2; });
    return size;
}

void CopiedText::write(char* out) const {
    out = std::copy(heading_.begin(), heading_.end(), out);
    // encodeUtf8 may write a byte past a text's end, where its line end goes next.
    forEachCopiedLine(cells_, [&out](std::string_view text) {
        out += ansi::encodeUtf8(text, out);
        *out++ = '\r';
        *out++ = '\n';
    });
}

std::string CopiedText::text() const {
    std::string out(size(), '\0');
    write(out.data());
    return out;
}

bool copiedOnDemand(const StringGrid& grid, const GridRect& cells) {
    const auto cellsIn = [](const GridRect& r) {
        return std::size_t(r.Right - r.Left + 1) * std::size_t(r.Bottom - r.Top + 1);
    };
    const std::size_t copied = cellsIn(cells);
    return copied > CopiedAtOnceCells &&
           copied >= cellsIn({0, 1, grid.ColCount() - 1, grid.RowCount() - 1}) / 4;
}

std::string copyChosenFields(TableDocument& doc, const std::vector<bool>& chosen) {
    const StringGrid& g = doc.StringGrid1;
    const int fields = std::min(g.ColCount(), MaxFields);
    const int r = g.Row();
    std::string text;
    for (int i = 0; i < fields; ++i) {
        const bool take = i < int(chosen.size()) && chosen[i];
        if (take) {
            text += g.cell(i, r);
            text += "\r\n";
        }
        doc.CopyFlags[i] = take ? 1 : 0;
    }
    return text;
}

} // namespace tablor
