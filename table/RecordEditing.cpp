#include "table/RecordEditing.h"

#include <string>

namespace tablor {

void AppendRecord(TableDocument& doc) {
    StringGrid& g = doc.StringGrid1;
    g.setRowCount(g.RowCount() + 1);
    g.setCol(0);
    g.setRow(g.RowCount() - 1);
    doc.RecordCount = g.RowCount() - 1;
    doc.Modified = true;
}

void DeleteSelectedRecords(TableDocument& doc) {
    StringGrid& g = doc.StringGrid1;
    const GridRect sel = g.Selection();
    g.removeRows(sel.Top, sel.Bottom - sel.Top + 1, 2);
    doc.Modified = true;
    doc.RecordCount = g.RowCount() - 1;
}

std::string newFieldName(int fieldCount) {
    return "Champ " + std::to_string(fieldCount);
}

bool AppendField(TableDocument& doc) {
    StringGrid& g = doc.StringGrid1;
    if (g.ColCount() >= MaxFields) return false;
    const int added = g.ColCount();
    g.setColCount(added + 1);
    g.setCell(added, 0, newFieldName(added + 1));
    g.setCol(added);
    doc.Modified = true;
    return true;
}

void DeleteSelectedFields(TableDocument& doc) {
    StringGrid& g = doc.StringGrid1;
    const GridRect sel = g.Selection();
    g.removeCols(sel.Left, sel.Right - sel.Left + 1, 1);
    doc.Modified = true;
}

void BlankRecords(TableDocument& doc) {
    doc.StringGrid1.blankRecords();
    doc.Modified = true;
}

bool RenameField(TableDocument& doc, int col, std::string_view name) {
    StringGrid& g = doc.StringGrid1;
    if (g.cell(col, 0) == name) return false;
    g.setCell(col, 0, name);
    doc.Modified = true;
    return true;
}

} // namespace tablor
