// Feeds arbitrary bytes to the table file reader. A file is either refused with a TablorError
// or loaded; a loaded table must save and load back to the very same bytes.

#include "platform/Errors.h"
#include "table/TableFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tablor;

namespace {

// Small enough that every accepted file loads quickly: 32768 cells.
constexpr std::uint64_t Budget = std::uint64_t{256} << 10;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The reader gets the bytes in blocks of a size taken from the input, so that lines
    // straddle blocks in every way.
    static constexpr std::size_t Blocks[] = {SIZE_MAX, 1, 2, 3, 5, 7, 16, 64};
    const std::size_t block = size == 0 ? SIZE_MAX : Blocks[data[size - 1] % 8];
    // Every other input is shared between two threads, however small.
    const std::uint64_t twoThreadsFrom = size > 1 && data[size - 2] % 2 ? 0 : UINT64_MAX;

    TableDocument doc;
    try {
        LoadTableFromBytes(doc, bytes, "fuzz.tbr", Budget, block, twoThreadsFrom);
    } catch (const TablorError&) {
        return 0;
    }
    if (doc.RecordCount != doc.StringGrid1.RowCount() - 1 || doc.StringGrid1.ColCount() < 1 ||
        doc.StringGrid1.ColCount() > MaxFields)
        std::abort();

    const std::string saved = SaveTableToBytes(doc, DocumentCardLayout(doc));
    TableDocument again;
    // The saved file may be longer than the input (line ends written out): give its bytes room.
    LoadTableFromBytes(again, saved, "again.tbr", Budget + saved.size());
    if (SaveTableToBytes(again, DocumentCardLayout(again)) != saved) {
        std::fprintf(stderr, "the table did not come back as it was saved\n");
        std::abort();
    }
    return 0;
}
