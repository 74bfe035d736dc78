#pragma once
// Opening and saving table files (.tbr). Qt-free; the callers show the busy cursor, refresh the
// title, status bar and record card, and report errors through the general error handler.

#include "table/TableDocument.h"
#include "table/TableReader.h"

#include <cstddef>
#include <cstdint>
#include <future>
#include <string>
#include <string_view>

namespace tablor {

// Reads the table file into a fresh grid and swaps it into doc only when the whole file read
// well: on success doc's grid (StringGrid1.assign), SortField, CardWidth/Height, CardLeft/Top,
// CopyFlags, FileName = path, Modified = false, RecordCount = R-1, current cell (0,1).
// On failure throws TablorError and doc is untouched.
void LoadTable(TableDocument& doc, const std::string& path);

// A table file read on a thread of its own from the moment this is made, so that the reading
// and the program's start overlap. Only a regular file is read ahead; anything else is read
// (and refused) by load() as LoadTable would.
class TableReadAhead {
public:
    explicit TableReadAhead(std::string path);
    ~TableReadAhead(); // waits for a read still running
    TableReadAhead(const TableReadAhead&) = delete;
    TableReadAhead& operator=(const TableReadAhead&) = delete;

    const std::string& path() const { return path_; }
    // LoadTable(doc, path()), with the bytes read ahead: once only.
    void load(TableDocument& doc);

private:
    std::string path_;
    std::future<TableContent> content_;
};

// Writes the table to path (atomically: temp file beside it, fsync, rename over the target,
// keeping its permissions, following a symbolic link; falling back to writing in place only
// where the folder refuses a new file). Takes the card layout from `card`. Throws TablorError;
// does not touch doc.Modified (the caller clears it after success).
void SaveTable(const TableDocument& doc, const CardLayoutSource& card, const std::string& path);

// LoadTable over bytes in memory, handed to the reader `blockSize` bytes at a time, with the
// cells limited to `memoryBudget` bytes, and shared between two threads from `twoThreadsFrom`
// bytes on. For the tests and the fuzzer.
void LoadTableFromBytes(TableDocument& doc, std::string_view bytes, const std::string& path,
                        std::uint64_t memoryBudget, std::size_t blockSize = SIZE_MAX,
                        std::uint64_t twoThreadsFrom = UINT64_MAX);
// The bytes SaveTable writes.
std::string SaveTableToBytes(const TableDocument& doc, const CardLayoutSource& card);

// Memory the system can still give without swapping (MemAvailable), in bytes.
std::uint64_t availableMemory();

} // namespace tablor
