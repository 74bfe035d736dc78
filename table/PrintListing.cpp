#include "table/PrintListing.h"

#include <algorithm>
#include <string>

namespace tablor {

GridRect printRange(const StringGrid& grid, bool selectionOnly) {
    if (selectionOnly) return grid.Selection();
    return {0, 1, grid.ColCount() - 1, grid.RowCount() - 1};
}

void writeListing(PrinterTextStream& out, const StringGrid& grid, const GridRect& range,
                  std::string_view heading, int copies) {
    // The range as the grid holds it, whatever a stale selection says.
    const int left = std::max(range.Left, 0);
    const int right = std::min(range.Right, grid.ColCount() - 1);
    const int top = std::max(range.Top, 1);
    const int bottom = std::min(range.Bottom, grid.RowCount() - 1);

    std::string line;
    for (int copy = 1; copy <= copies; ++copy) {
        out.write(heading);
        out.write("\r\n");
        out.write("\r\n");
        for (int r = top; r <= bottom; ++r) {
            line.clear();
            for (int c = left; c <= right; ++c) {
                line += grid.cell(c, r);
                line += ' ';
            }
            line += "\r\n";
            out.write(line);
        }
        if (copy < copies) out.newPage();
    }
    out.flush();
}

} // namespace tablor
