#pragma once
// Work handed to a thread of its own, for the readers and the search that share their work with
// a second thread. Qt-free.

#include <future>
#include <system_error>
#include <utility>

namespace tablor {

// Runs the work on a thread of its own, its result in `result`; false, with nothing started,
// when the system has no thread to give: the caller then does the work itself.
template <class Result, class Work> bool startThread(std::future<Result>& result, Work work) {
    try {
        result = std::async(std::launch::async, std::move(work));
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

} // namespace tablor
