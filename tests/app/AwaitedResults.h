#pragma once
// The window's result queue as a test takes from it: waiting for the next result as the
// window waits for its wake-up message.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "app/WindowResults.h"

class AwaitedResults {
  public:
    AwaitedResults() {
        queue->Open([this] {
            std::lock_guard lock(mutex_);
            ++wakes_;
            woken_.notify_all();
        });
    }

    // The next result; none, with a failure, after a long wait.
    std::optional<WindowResult> Next() {
        for (;;) {
            std::unique_lock lock(mutex_);
            const int seen = wakes_;
            lock.unlock();
            if (std::optional<WindowResult> result = queue->Take()) {
                return result;
            }
            lock.lock();
            if (!woken_.wait_for(lock, std::chrono::seconds(10), [&] { return wakes_ != seen; })) {
                ADD_FAILURE() << "no result came";
                return std::nullopt;
            }
        }
    }
    // The next result of type Result, skipping none; a failure when another type comes.
    template <typename Result>
    std::optional<Result> Next() {
        const std::optional<WindowResult> result = Next();
        if (!result || !std::holds_alternative<Result>(*result)) {
            ADD_FAILURE() << "expected another result than " << (result ? result->index() : -1);
            return std::nullopt;
        }
        return std::get<Result>(*result);
    }

    const SharedWindowResults queue = std::make_shared<WindowResults>();

  private:
    std::mutex mutex_;
    std::condition_variable woken_;
    int wakes_ = 0;
};
