#include "table/CopyText.h"

#include <algorithm>
#include <cstring>

namespace tablor {

CopyRange copyRangeOf(const StringGrid& grid) {
    const GridRect& sel = grid.Selection();
    if (sel.Top == sel.Bottom && sel.Left == sel.Right)
        return {{0, 1, grid.ColCount() - 1, grid.RowCount() - 1}, false};
    return {sel, true};
}

std::string copiedLines(const StringGrid& grid, const GridRect& cells) {
    // Measured first, so a million records fill one buffer without growing it.
    const int rows = cells.Bottom - cells.Top + 1;
    std::size_t size = 2 + std::size_t(rows) * 2;
    for (int c = cells.Left; c <= cells.Right; ++c)
        for (const CellWord& w : grid.column(c).subspan(cells.Top, rows)) {
            const std::size_t n = cellText(w).size();
            if (n > 0) size += n + 2;
        }

    std::string out(size, '\0');
    char* at = out.data();
    auto endLine = [&at] {
        *at++ = '\r';
        *at++ = '\n';
    };
    endLine();
    for (int r = cells.Top; r <= cells.Bottom; ++r) {
        for (int c = cells.Left; c <= cells.Right; ++c) {
            const std::string_view text = grid.cell(c, r);
            if (text.empty()) continue;
            std::memcpy(at, text.data(), text.size());
            at += text.size();
            endLine();
        }
        endLine();
    }
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
