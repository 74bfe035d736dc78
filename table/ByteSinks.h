#pragma once
// The sinks the writers write into: a safe output file, a counter and a string for the tests.

#include "platform/FileErrors.h"
#include "table/TableWriter.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tablor {

class FileSink : public ByteSink {
public:
    explicit FileSink(OutputFile& out) : out_(out) {}
    void write(const char* data, std::size_t size) override { out_.write(data, size); }

private:
    OutputFile& out_;
};

// Counts the bytes the writer gives, for reserving the room a file written in place needs.
class CountingSink : public ByteSink {
public:
    void write(const char*, std::size_t size) override { bytes += size; }
    std::uint64_t bytes = 0;
};

class StringSink : public ByteSink {
public:
    void write(const char* data, std::size_t size) override { bytes.append(data, size); }
    std::string bytes;
};

// Writes a file through OutputFile: `write` gives the whole content to the sink it is handed
// (twice when the file is written in place, first to measure the room to reserve).
inline void writeFileSafely(const std::string& path, const std::function<void(ByteSink&)>& write) {
    OutputFile out(path);
    if (out.writesInPlace()) {
        CountingSink size;
        write(size);
        out.reserve(size.bytes);
    }
    FileSink sink(out);
    write(sink);
    out.commit();
}

} // namespace tablor
