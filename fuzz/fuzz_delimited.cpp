// Feeds arbitrary bytes to the delimited text reader. A text is either refused with a
// TablorError or imported; an imported table must export as UTF-8 and import back to the very
// same cells, with nothing replaced the second time.

#include "platform/Errors.h"
#include "table/DelimitedFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tablor;

namespace {

// Small enough that every accepted text imports quickly.
constexpr std::uint64_t Budget = std::uint64_t{256} << 10;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TableDocument doc;
    try {
        ImportDelimitedFromBytes(doc, bytes, Budget);
    } catch (const TablorError&) {
        return 0;
    }
    const StringGrid& g = doc.StringGrid1;
    if (doc.RecordCount != g.RowCount() - 1 || g.RowCount() < 2 || g.ColCount() < 1 ||
        g.ColCount() > MaxFields)
        std::abort();

    // The separator of the export follows the input's last byte.
    static constexpr char Separators[] = {';', '\t', ','};
    const DelimitedFormat format{Separators[size % 3]};
    const std::string text = ExportDelimitedToBytes(doc, format);
    TableDocument again;
    const bool same = ImportDelimitedFromBytes(again, text, Budget * 4).empty() &&
                      again.StringGrid1.ColCount() == g.ColCount() &&
                      again.StringGrid1.RowCount() == g.RowCount();
    for (int r = 0; same && r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            if (again.StringGrid1.cell(c, r) != g.cell(c, r)) {
                std::fprintf(stderr, "cell %d, %d did not come back as it was exported\n", c, r);
                std::abort();
            }
    if (!same) {
        std::fprintf(stderr, "the table did not come back as it was exported\n");
        std::abort();
    }
    return 0;
}
