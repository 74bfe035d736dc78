#include "table/CopyText.h"

#include "platform/Ansi.h"

#include <algorithm>
#include <string_view>

namespace tablor {

namespace {

// Calls line(text) for every line under the heading, in order.
template <class Line>
void forEachCopiedLine(const StringGrid& grid, const GridRect& cells, Line line) {
    line(std::string_view());
    for (int r = cells.Top; r <= cells.Bottom; ++r) {
        for (int c = cells.Left; c <= cells.Right; ++c)
            if (const std::string_view text = grid.cell(c, r); !text.empty()) line(text);
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

std::size_t copiedLinesSize(const StringGrid& grid, const GridRect& cells) {
    std::size_t size = 0;
    forEachCopiedLine(grid, cells,
                      [&size](std::string_view text) { size += ansi::utf8Size(text) + 2; });
    return size;
}

char* writeCopiedLines(const StringGrid& grid, const GridRect& cells, char* out) {
    // encodeUtf8 may write a byte past a text's end, where its line end goes next.
    forEachCopiedLine(grid, cells, [&out](std::string_view text) {
        out += ansi::encodeUtf8(text, out);
        *out++ = '\r';
        *out++ = '\n';
    });
    return out;
}

std::string copiedLines(const StringGrid& grid, const GridRect& cells) {
    std::string out(copiedLinesSize(grid, cells), '\0');
    writeCopiedLines(grid, cells, out.data());
    return out;
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
