#include "table/DelimitedFile.h"

#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/HugePages.h"
#include "table/ByteSinks.h"
#include "table/TableFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

namespace tablor {
namespace {

const char* const OutOfMemory = "Mémoire insuffisante pour ouvrir ce fichier";

// The whole file in memory, refused when it alone would not fit in `budget`.
struct WholeFile {
    BigBytes bytes;
    std::size_t size = 0;
    std::string_view view() const { return {bytes.data(), size}; }
};

WholeFile readWholeFile(const std::string& path, std::uint64_t budget) {
    InputFile in(path);
    if (in.size() > budget) throw TablorError(OutOfMemory);
    // One byte more than the file holds, so that the end shows as a read of nothing.
    WholeFile f{BigBytes(std::size_t(in.size()) + 1)};
    for (;;) {
        if (f.size == f.bytes.size()) {
            // The file grew while it was read.
            if (f.size > budget) throw TablorError(OutOfMemory);
            BigBytes bigger(f.size * 2);
            std::memcpy(bigger.data(), f.bytes.data(), f.size);
            f.bytes = std::move(bigger);
        }
        const std::size_t n = in.read(f.bytes.data() + f.size, f.bytes.size() - f.size);
        if (n == 0) break;
        f.size += n;
    }
    return f;
}

std::string importBytes(TableDocument& doc, std::string_view bytes, std::uint64_t memoryBudget,
                        BigBytes* owner) {
    DelimitedTable t;
    try {
        t = readDelimited(bytes, memoryBudget, owner);
    } catch (const std::bad_alloc&) {
        throw TablorError(OutOfMemory);
    } catch (const std::length_error&) {
        throw TablorError(OutOfMemory);
    }
    // From here on nothing can fail.
    doc.StringGrid1.assign(std::move(*t.grid));
    doc.resetMembers();
    doc.FileName.clear();
    doc.RecordCount = doc.StringGrid1.RowCount() - 1;
    return replacementNotice(t);
}

} // namespace

bool isDelimitedFileName(std::string_view path) {
    if (path.size() < 4) return false;
    std::string ext(path.substr(path.size() - 4));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return ext == ".csv" || ext == ".tsv" || ext == ".txt";
}

std::string ImportDelimitedFromBytes(TableDocument& doc, std::string_view bytes,
                                     std::uint64_t memoryBudget) {
    return importBytes(doc, bytes, memoryBudget, nullptr);
}

std::string ImportDelimited(TableDocument& doc, const std::string& path) {
    const std::uint64_t budget = availableMemory();
    WholeFile file;
    try {
        file = readWholeFile(path, budget);
    } catch (const std::bad_alloc&) {
        throw TablorError(OutOfMemory);
    } catch (const std::length_error&) {
        throw TablorError(OutOfMemory);
    }
    return importBytes(doc, file.view(), budget - std::min<std::uint64_t>(budget, file.size),
                       &file.bytes);
}

void ExportDelimited(const TableDocument& doc, const DelimitedFormat& format,
                     const std::string& path) {
    writeFileSafely(path, [&](ByteSink& sink) { writeDelimited(doc.StringGrid1, format, sink); });
}

std::string ExportDelimitedToBytes(const TableDocument& doc, const DelimitedFormat& format) {
    StringSink sink;
    writeDelimited(doc.StringGrid1, format, sink);
    return std::move(sink.bytes);
}

} // namespace tablor
