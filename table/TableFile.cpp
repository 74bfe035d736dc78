#include "table/TableFile.h"

#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/MemoryStatus.h"
#include "table/ByteSinks.h"
#include "table/StartThread.h"
#include "table/TableReader.h"
#include "table/TableWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace tablor {
namespace {

class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path) : file_(path) {}
    std::size_t read(char* buffer, std::size_t size) override {
        const std::size_t n = file_.read(buffer, size);
        done_ += n;
        return n;
    }
    std::size_t sizeHint() const override {
        return file_.size() > done_ ? std::size_t(file_.size() - done_) : 0;
    }
    bool readsAtAnyPlace() const override { return true; }
    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t size) override {
        return file_.readAt(offset, buffer, size);
    }

private:
    InputFile file_;
    std::uint64_t done_ = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(std::string_view bytes, std::size_t block)
        : bytes_(bytes), rest_(bytes), block_(block) {}
    std::size_t read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min({size, block_, rest_.size()});
        std::memcpy(buffer, rest_.data(), n);
        rest_.remove_prefix(n);
        return n;
    }
    std::size_t sizeHint() const override { return rest_.size(); }
    bool readsAtAnyPlace() const override { return true; }
    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t size) override {
        if (offset >= bytes_.size()) return 0;
        const std::size_t n = std::min({size, block_, std::size_t(bytes_.size() - offset)});
        std::memcpy(buffer, bytes_.data() + offset, n);
        return n;
    }

private:
    std::string_view bytes_;
    std::string_view rest_;
    std::size_t block_;
};

// Reads the whole table; the document is not touched.
TableContent readContent(ByteSource& source, std::uint64_t memoryBudget,
                         std::uint64_t twoThreadsFrom = TwoThreadsFrom) {
    try {
        return readTable(source, memoryBudget, twoThreadsFrom);
    } catch (const std::bad_alloc&) {
        throw TablorError("Mémoire insuffisante pour ouvrir ce fichier");
    } catch (const std::length_error&) {
        throw TablorError("Mémoire insuffisante pour ouvrir ce fichier");
    }
}

// The document takes a table read whole, by steps that cannot fail.
void adopt(TableDocument& doc, TableContent&& t, std::string fileName) {
    const int F = t.grid->ColCount();
    doc.StringGrid1.assign(std::move(*t.grid));
    doc.FileName.swap(fileName);
    doc.Modified = false;
    doc.RecordCount = doc.StringGrid1.RowCount() - 1;
    doc.SortField = t.SortField;
    doc.CardWidth = t.CardWidth;
    doc.CardHeight = t.CardHeight;
    std::copy_n(t.CardLeft.begin(), F, doc.CardLeft.begin());
    std::copy_n(t.CardTop.begin(), F, doc.CardTop.begin());
    std::copy_n(t.CopyFlags.begin(), F, doc.CopyFlags.begin());
}

TableContent readFile(const std::string& path) {
    FileSource source(path);
    return readContent(source, availableMemory());
}

} // namespace

std::uint64_t availableMemory() {
    if (const std::uint64_t bytes = readMemoryStatus().availableBytes; bytes > 0) return bytes;
    // No MemAvailable (an old or unusual kernel): the free pages.
    const long pages = sysconf(_SC_AVPHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? std::uint64_t(pages) * std::uint64_t(pageSize)
                                     : std::uint64_t(-1);
}

void LoadTable(TableDocument& doc, const std::string& path) {
    TableContent t = readFile(path);
    adopt(doc, std::move(t), path);
}

TableReadAhead::TableReadAhead(std::string path) : path_(std::move(path)) {
    struct stat st {};
    // Only a regular file: reading a pipe ahead would take its bytes from whoever reads it next.
    if (::stat(path_.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    // Without a thread to spare, the table is read when asked for, as usual.
    startThread(content_, [path = path_] { return readFile(path); });
}

TableReadAhead::~TableReadAhead() = default;

void TableReadAhead::load(TableDocument& doc) {
    if (!content_.valid()) return LoadTable(doc, path_);
    TableContent t = content_.get();
    adopt(doc, std::move(t), path_);
}

void LoadTableFromBytes(TableDocument& doc, std::string_view bytes, const std::string& path,
                        std::uint64_t memoryBudget, std::size_t blockSize,
                        std::uint64_t twoThreadsFrom) {
    MemorySource source(bytes, std::max<std::size_t>(blockSize, 1));
    TableContent t = readContent(source, memoryBudget, twoThreadsFrom);
    adopt(doc, std::move(t), path);
}

void SaveTable(const TableDocument& doc, const CardLayoutSource& card, const std::string& path) {
    writeFileSafely(path, [&](ByteSink& sink) { writeTable(doc, card, sink); });
}

std::string SaveTableToBytes(const TableDocument& doc, const CardLayoutSource& card) {
    StringSink sink;
    writeTable(doc, card, sink);
    return std::move(sink.bytes);
}

} // namespace tablor
