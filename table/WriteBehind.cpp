#include "table/WriteBehind.h"

#include <utility>

namespace tablor {

WriteBehind::~WriteBehind() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void WriteBehind::write(const char* data, std::size_t size) {
    wait();
    {
        std::lock_guard lock(mutex_);
        data_ = data;
        size_ = size;
        pending_ = true;
    }
    if (!thread_.joinable())
        thread_ = std::thread([this] { run(); });
    else
        changed_.notify_all();
}

void WriteBehind::wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_; });
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void WriteBehind::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return pending_ || stop_; });
        if (!pending_) return;
        lock.unlock();
        std::exception_ptr failure;
        try {
            sink_.write(data_, size_);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        failure_ = failure;
        pending_ = false;
        changed_.notify_all();
    }
}

} // namespace tablor
