#pragma once
// The table file writer: the field and row counts, the sort field, the record card's size,
// four lines per field (column width, label left and top on the card, copy flag), then every
// cell, row by row, one per line, each line ended by CR LF. Works into any sink of bytes
// through one large buffer. Qt-free.

#include "table/TableDocument.h"

#include <cstddef>

namespace tablor {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Takes all the bytes or throws TablorError.
    virtual void write(const char* data, std::size_t size) = 0;
};

// The card layout comes from `card`, everything else from the document.
void writeTable(const TableDocument& doc, const CardLayoutSource& card, ByteSink& sink);

} // namespace tablor
