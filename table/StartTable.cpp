#include "table/StartTable.h"

#include <string>

namespace tablor {

void resetToStartTable(TableDocument& doc) {
    StringGrid& g = doc.StringGrid1;
    {
        StringGrid::Batch batch(g);
        g.setRowCount(2);
        g.setColCount(StartFields);
        for (int r = 0; r < 2; ++r)
            g.clearRow(r);
    }
    doc.FileName.clear();
    doc.resetMembers();
    g.setCol(0);
    g.setRow(1);
    doc.RecordCount = 1;
    for (int c = 0; c < StartFields; ++c) {
        g.setCell(c, 0, "Colonne " + std::to_string(c + 1));
        g.setColWidth(c, StringGrid::DefaultColWidth);
    }
}

} // namespace tablor
