#pragma once
// The table a new window starts with and the "Nouveau" command gives back. Qt-free.

#include "table/TableDocument.h"

namespace tablor {

inline constexpr int StartFields = 10;

// Ten fields "Colonne 1" to "Colonne 10" of the default width and one blank record, the current
// cell at its start; no file, not modified, sorted on field 0, every field ticked for copying,
// the default card layout and size.
void resetToStartTable(TableDocument& doc);

} // namespace tablor
