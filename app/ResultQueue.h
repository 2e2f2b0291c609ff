#pragma once
// The one way results come back to the window's thread from the threads that work for it. Any
// thread posts; the window's thread takes the results in the order they were posted. The
// posting threads share the queue, so a thread that finishes after the window has gone posts
// into a queue that still exists, and after Close() nothing it posts reaches anyone.
//
// The window is woken once per batch: wake runs when a result arrives in an empty queue, so a
// thread reporting faster than the window takes its results cannot flood the window's message
// queue. It runs on the posting thread under the queue's lock, so once Close() has returned it
// runs no more. Standard C++ only.

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>

template <typename Result>
class ResultQueue {
  public:
    // From now on a result arriving in an empty queue calls wake.
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
        if (results_.size() == 1 && wake_) {
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
