#pragma once
// Writing into a sink from a second thread: the writer fills its next buffer while the last
// one is being written. Qt-free.

#include "table/TableWriter.h"

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>

namespace tablor {

class WriteBehind {
public:
    explicit WriteBehind(ByteSink& sink) : sink_(sink) {}
    // Waits for the bytes being written; a failure is then no longer reported.
    ~WriteBehind();
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    // Has the bytes written in the second thread, once the earlier ones are written; they must
    // stay as they are until the next call returns. Throws what writing the earlier ones threw.
    void write(const char* data, std::size_t size);
    // Waits until every byte is written, or throws what writing them threw.
    void wait();

private:
    void run();

    ByteSink& sink_;
    std::mutex mutex_;
    std::condition_variable changed_;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    bool pending_ = false; // data_ waits to be written, or is being written
    bool stop_ = false;
    std::exception_ptr failure_;
    std::thread thread_; // started by the first write
};

} // namespace tablor
