#pragma once
// The one way results come back to the window's thread from the threads that work for it. Any
// thread posts; the window's thread takes the results in the order they were posted. The
// posting threads share the queue, so a thread that finishes after the window has gone posts
// into a queue that still exists, and after Close() nothing it posts reaches anyone.
//
// wake runs once per result posted, on the posting thread, and the window takes one result per
// wake-up, as it would take a posted message: a result that arrives while the window shows a
// message box for an earlier one is taken by the box's message loop. The threads post a few
// results per command, per percent of a file read or per evaluation, never per frame. wake
// runs under the queue's lock, so once Close() has returned it runs no more. Standard C++ only.

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>

template <typename Result>
class ResultQueue {
  public:
    // From now on every result posted calls wake.
    void Open(std::function<void()> wake) {
        std::lock_guard lock(mutex_);
        wake_ = std::move(wake);
        closed_ = false;
    }
    // Drops what waits and everything posted from now on.
    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        wake_ = nullptr;
        results_.clear();
    }

    void Post(Result result) {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return;
        }
        results_.push_back(std::move(result));
        if (wake_) {
            wake_();
        }
    }

    // The oldest result not yet taken; none once the queue is empty.
    std::optional<Result> Take() {
        std::lock_guard lock(mutex_);
        if (results_.empty()) {
            return std::nullopt;
        }
        std::optional<Result> oldest(std::move(results_.front()));
        results_.pop_front();
        return oldest;
    }

  private:
    std::mutex mutex_;
    std::function<void()> wake_;
    bool closed_ = false;
    std::deque<Result> results_;
};
