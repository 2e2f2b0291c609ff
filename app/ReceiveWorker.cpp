#include "app/ReceiveWorker.h"

#include <new>
#include <utility>

ReceiveWorker::ReceiveWorker() : thread_([this] { Run(); }) {}

ReceiveWorker::~ReceiveWorker() {
    Abandon();
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void ReceiveWorker::Post(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void ReceiveWorker::Receive(Steps steps) {
    receiving_ = true;
    Post([this, steps = std::move(steps)] { RunReceiving(steps); });
}

void ReceiveWorker::Abandon() {
    receiving_ = false;
    std::lock_guard lock(mutex_);
    jobs_.clear();
}

void ReceiveWorker::Run() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || !jobs_.empty(); });
            if (quit_) {
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

void ReceiveWorker::RunReceiving(const Steps& steps) {
    while (receiving_) {
        End end = End::ReadFailed;
        // An exception ends receiving like a failed read instead of ending the program, and
        // what was recorded stays.
        try {
            if (steps.readFrame()) {
                steps.frameRead();
                continue;
            }
        } catch (const std::bad_alloc&) {
            end = End::OutOfMemory;
        } catch (...) {
        }
        receiving_ = false;
        steps.ended(end);
        return;
    }
}
