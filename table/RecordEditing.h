#pragma once
// The commands that reshape the table as a whole: a record added at the end, the selected
// records or fields deleted, a field added, every record blanked, a field renamed. Each works on
// the document alone and sets RecordCount and Modified; the window refreshes its title, status
// and record card around them. Moving the current cell to a new place fires the grid's click
// notification, as the user's own moves do. Qt-free.

#include "table/TableDocument.h"

#include <string_view>

namespace tablor {

// Adds an empty record at the end, whatever the current cell, and makes its first cell current.
void AppendRecord(TableDocument& doc);

// Deletes the records the selection covers, whichever of their columns are selected. One record
// always remains: deleting every record leaves a single empty one. The current row keeps its
// index, or moves up to the new last record.
void DeleteSelectedRecords(TableDocument& doc);

// The name of the field added to a table of `fieldCount` fields: "Champ " and its number.
std::string newFieldName(int fieldCount);

// Adds an empty field at the end, named by newFieldName, and makes it the current column.
// Refused (false, nothing changed) when the table already has MaxFields fields.
bool AppendField(TableDocument& doc);

// Deletes the fields the selection covers, names included, whichever rows are selected. One field
// always remains: deleting every field leaves a single one with an empty name and empty cells.
// Widths and the card's per-field settings stay with their positions, not with the fields.
void DeleteSelectedFields(TableDocument& doc);

// Empties every record cell; the records and the field names stay.
void BlankRecords(TableDocument& doc);

// Gives field `col` the name `name`; false when it already had that name (nothing changed).
bool RenameField(TableDocument& doc, int col, std::string_view name);

} // namespace tablor
